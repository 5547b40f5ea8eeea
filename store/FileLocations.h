#pragma once
// Full paths of the installation's files, computed afresh on every call.

#include <QString>

// installation folder + "/parameter/jx5configuration.ini", or empty text when missing.
QString GetJX5ConfigurationIniPath();

// Selector 1 in an integrated run: the host's read copy below SaveAndRestore; otherwise the
// installation's own "/parameter/Program.ini". Empty text when the file does not exist.
QString GetProgramIniPath(qint32 selector);

// Where the installation's own Program.ini belongs, whether it exists or not.
QString installationProgramIniPath();

// The component's .cfg file. When it is missing, says "File not found: " and ends the
// program at once; it does not return then.
QString GetCFGPath();
