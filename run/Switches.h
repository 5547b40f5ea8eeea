#pragma once
// The switches on the command line, read without the error protocol: the error log needs the
// LOGFILE value while it handles a failure. ReadCommand (env/StartMode.h) is the same reading
// as an operation of its own.

#include <QString>

// The value of a switch: the text after the name and one separator character, cut at the
// next "/", without leading and trailing spaces (only spaces: a tab or a no-break space is
// part of the value) and upper-cased letter by letter ("ß" stays); empty text when the name
// does not occur. The name is found without regard to case.
QString switchValue(const QString& commandLine, const QString& switchName);

// The LOGFILE switch's value, in the host's form, read afresh from the command line; empty
// when absent.
QString hostLogFile();

// The command line asks for a silent run (EXTERNAL=SILENT): nobody is there to answer a box.
// True from the start, before the start mode is decided, so that not even a failure in the
// first steps of the start-up waits for a person.
bool unattendedRun();
