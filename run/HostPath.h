#pragma once
// Paths on this machine: those that the configuration host hands over in its own form, with a
// drive letter and "\" (C:\TEMP\CFG.LOG), and the installation's own, both found on disk
// without regard to case as the host's file system finds them.

#include <QString>

// The path with a leading drive letter ("C:") dropped and each "\" turned into "/". A drive
// without "\" after it ("C:TEMP") leaves a path relative to the current folder, as it is
// relative to the drive's current folder on the host.
QString fromHostPath(const QString& hostPath);

// The path as it is spelled on disk (files::existingSpelling). A name that cannot be looked
// at, or a folder that cannot be listed, raises the failure of a file that could not be read.
QString onDiskSpelling(const QString& path);

// A file to write to: as fromHostPath, spelled as on disk, but empty text when the path is
// empty, when its folder does not exist, or when it holds a character no file name on the
// host may hold (< > " | ? * or a control character; so a LOGFILE value in quotation marks,
// which keeps them, names no file).
QString resolveHostPathIgnoringCase(const QString& hostPath);
