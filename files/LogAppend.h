#pragma once
// Appending one entry to a log file so that it lands whole or not at all, even on a full disk
// or under a file-size limit: a torn entry would have the next one glued onto it.

#include <QByteArray>

namespace files {

// Appends entry to the log at path, creating it. The log is reached by the same walk and link
// rule as a save (see FolderWalk.h), opened without blocking and taken only when it is an
// ordinary file. Writers that append through here take turns by an flock on the log; an entry
// that cannot be written whole is cut off again. Returns 0 or the system's error number:
// ENOENT / ENOTDIR / ELOOP / EACCES from the walk, EISDIR, EINVAL for a pipe or a device,
// ENOSPC, EFBIG, EIO, ... from the write.
int appendWhole(const QByteArray& path, const QByteArray& entry);

} // namespace files
