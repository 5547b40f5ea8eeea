#pragma once
// Where a write really lands. Symbolic links are followed through the real folders, as the
// system's own lookup follows them, so that the file a save reads is the file it replaces:
// a relative link inside a linked folder counts from the folder the link really lies in, not
// from the text of the path that led there.

#include <QByteArray>

namespace platform {

struct RealPath {
    QByteArray path; // absolute, without links; the last part may not exist yet
    int error = 0;   // the system's error number when there is no such place
};

// The real path of a file about to be written. Refused, with the error the system gives:
// a missing folder on the way (ENOENT), a file where a folder should be (ENOTDIR), more than
// 40 links in one lookup (ELOOP, the system's own limit). When the program runs as root, a
// link is followed only when root owns it or its owner also owns what it leads to, so that
// a link planted by a user cannot aim a write at a file that user could not write (EACCES).
RealPath realPathForWriting(const QByteArray& path);

} // namespace platform
