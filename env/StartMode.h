#pragma once
// Command-line switches and the start mode, decided once during start-up.

#include <QString>

// True only after an EXTERNAL switch with the value JX5CFG.
extern bool StartModeIntegrated;
// True only after an EXTERNAL switch with the value SILENT.
extern bool StartModeSilent;

// The value of a switch: the text after the name and one separator character, cut at the
// next "/", without leading and trailing spaces (only spaces: a tab or a no-break space is
// part of the value) and upper-cased letter by letter ("ß" stays); empty text when the name
// does not occur.
QString ReadCommand(const QString& commandLine, const QString& switchName);

// Reads EXTERNAL, sets both start-mode flags and returns StartModeIntegrated.
bool GetStartModeIntegrated();

// The LOGFILE switch's value, read afresh from the command line; empty when absent.
QString GetPathLogfile();

// Back to the state at program start (both flags false); for tests.
void resetStartMode();
