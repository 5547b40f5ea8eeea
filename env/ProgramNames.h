#pragma once
// The names the dialog and the file locations take from the executable, as operations that
// follow the error protocol.

#include "run/ProgramFolders.h"

#include <QString>

// componentName() (run/ProgramFolders.h) as the operation GetOCXName.
QString GetOCXName();

// The part after the last "/"; the whole text without "/"; empty text when it ends in "/".
QString GetFileNameOnly(const QString& path);
