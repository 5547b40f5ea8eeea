#pragma once
// Paths that the configuration host hands over in its own form, with a drive letter and "\"
// (C:\TEMP\CFG.LOG), mapped onto this machine's folders: any drive's root is "/", each "\" is
// "/", and since the host's file system ignores case (and switch values arrive upper-cased),
// each folder and file is found without regard to case.

#include <QString>

// The path with a leading drive letter ("C:") dropped and each "\" turned into "/". A drive
// without "\" after it ("C:TEMP") leaves a path relative to the current folder, as it is
// relative to the drive's current folder on the host.
QString fromHostPath(const QString& hostPath);

// A file to write to: as fromHostPath, with each existing folder and file spelled as on disk
// (platform::existingSpelling), but empty text when the path is empty, when
// its folder does not exist, or when it holds a character no file name on the host may hold
// (< > " | ? * or a control character; so a LOGFILE value in quotation marks, which keeps
// them, names no file).
QString resolveHostPathIgnoringCase(const QString& hostPath);
