#pragma once
// The names a save gives its own files beside the file it saves, and the clearing of what a
// save that was cut short left behind. A save's temporary file is
//   <file>.mainpicture-save.<16 hexadecimal digits>
// and the copy of the old file that an in-place save keeps until it is done is the same name
// with ".copy" after it. A save holds an flock on each of these files while it runs, so one
// whose lock can be taken has no living owner.

#include <QByteArray>

namespace files {

QByteArray temporaryName(const QByteArray& name);
QByteArray copyName(const QByteArray& name);
// Whether a folder entry is one of these names (of any file).
bool isLeftoverName(const QByteArray& entry);

// Clears a folder of what saves cut short left: removes their temporary files and puts back
// the old file of each in-place save from its complete copy. Only files of exactly our names,
// owned by the running user and locked by no running save, are touched; anything else stays.
// Returns 0, or the system's error number when a copy could not be put back (its file may be
// torn, so no save may build on it; the copy stays for the next run): EBUSY for another user's.
int recoverFolder(int folderFd);

} // namespace files
