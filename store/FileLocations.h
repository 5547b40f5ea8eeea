#pragma once
// Full paths of the installation's files, computed afresh on every call. A path whose finding
// met a file or folder that could not be read comes back marked as not read.

#include "core/Outcome.h"

#include <QString>

// installation folder + "/parameter/jx5configuration.ini", or empty text when missing.
Read<QString> GetJX5ConfigurationIniPath();

// Selector 1 in an integrated run: the host's read copy below SaveAndRestore; otherwise the
// installation's own "/parameter/Program.ini". Empty text when the file does not exist.
Read<QString> GetProgramIniPath(qint32 selector);

// Where the installation's own Program.ini belongs, whether it exists or not: for messages.
QString installationProgramIniPath();

// The component's .cfg file. When it is missing, says "File not found: " and ends the
// program at once; it does not return then.
Read<QString> GetCFGPath();
