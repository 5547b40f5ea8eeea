#pragma once
// Saving a file by writing into it, for the files a new file could not stand in for: a new file
// belongs to the saver, so when someone else owns the file, or its group or an extended
// attribute is one the saver may not give, a rename would change who may read or write it.
// Like mature editors in that case, the save writes the file in place, but only after a
// complete, synced copy of the old file lies beside it under our own name: a save cut short at
// any step leaves that copy, and the next run that takes the folder's lock puts it back.

#include "files/SafeFile.h"

#include <QByteArray>

namespace files {

// Replaces the whole content of an open file: written from the start, cut to its new length and
// synced. Returns 0 or the system's error number.
int replaceContent(int fd, QByteArrayView bytes);

// Writes content into the file name in the folder, which must still be the file old was read
// from. Returns 0 when done, -1 when the file changed meanwhile (nothing written), or the
// system's error number, with the old content back in the file (or, when even that failed, its
// copy left for the next run).
int saveInPlace(int folderFd, const QByteArray& name, const Snapshot& old,
                const QByteArray& content);

} // namespace files
