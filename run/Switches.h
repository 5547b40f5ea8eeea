#pragma once
// The switches on the command line, read without the error protocol: the run's facts are
// worked out from them before anything else runs. ReadCommand (dialog/StartMode.h) is the
// same reading as an operation of its own.

#include <QString>

// The value of a switch: the text after the name and one separator character, cut at the
// next "/", without leading and trailing spaces (only spaces: a tab or a no-break space is
// part of the value) and upper-cased letter by letter ("ß" stays); empty text when the name
// does not occur. The name is found without regard to case.
QString switchValue(const QString& commandLine, const QString& switchName);
