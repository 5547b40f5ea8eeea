#pragma once
// Command-line switches and the start mode, decided once during start-up. The flags it sets
// are kept in the run state (run/RunState.h), where the layers below read them.

#include "run/RunState.h"

#include <QString>

// The value of a switch as switchValue (run/Switches.h) reads it, as an operation of its own.
QString ReadCommand(const QString& commandLine, const QString& switchName);

// Reads EXTERNAL, sets both start-mode flags and returns StartModeIntegrated.
bool GetStartModeIntegrated();

// The LOGFILE switch's value, read afresh from the command line; empty when absent.
QString GetPathLogfile();
