#pragma once
// Paths that the configuration host hands over in its own form, with a drive letter and "\"
// (C:\TEMP\CFG.LOG), mapped onto this machine's folders: the drive root is "/", each "\" is
// "/".

#include <QString>

// The path with a leading drive letter ("C:") dropped and each "\" turned into "/".
QString fromHostPath(const QString& hostPath);

// As fromHostPath, and since switch values arrive upper-cased, each folder is found without
// regard to case among those that exist (the file as well, when it exists; a new file keeps
// the name as given). Empty text when the path is empty or its folder does not exist.
QString resolveHostPathIgnoringCase(const QString& hostPath);
