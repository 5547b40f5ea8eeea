#pragma once
// The command line's switches, the start mode and the program's names as the operations that
// follow the error protocol: they read the run's facts (run/RunFacts.h), worked out at start.
// GetStartModeIntegrated sets the start-mode flags (run/RunState.h) once during start-up.

#include "run/RunState.h"

#include <QString>

// The value of a switch as switchValue (run/Switches.h) reads it, as an operation of its own.
QString ReadCommand(const QString& commandLine, const QString& switchName);

// Reads EXTERNAL, sets both start-mode flags and returns StartModeIntegrated.
bool GetStartModeIntegrated();

// The LOGFILE switch's value; empty when absent.
QString GetPathLogfile();

// The component's name: the executable's name without extension, less "_Config".
QString GetOCXName();

// The part after the last "/"; the whole text without "/"; empty text when it ends in "/".
QString GetFileNameOnly(const QString& path);
