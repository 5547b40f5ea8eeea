#pragma once
// Reading and replacing whole files so that no fault harms them. A read never blocks and
// takes only ordinary files. A rewrite goes through a temporary file beside the file, given
// the file's owner, group, mode, ACL and attributes, and an atomic rename (or, where a new file
// could not carry these, writes in place behind a complete copy: InPlaceSave.h); every step is
// checked, and any failure leaves the file byte for byte as it was and removes what it made.

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <sys/types.h>

namespace platform::file {

// Which file, in which state: device, inode, size and modification time. Two equal
// identities are, as far as the system tells, the same unchanged file.
struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;
    bool operator==(const Identity& other) const;
};

struct Snapshot {
    QByteArray bytes;
    Identity identity;
};

// Whether a failed look at a file means only that it is not there: the file or a folder on
// its way is missing. Every other error (no permission, I/O error, too many open files, a
// loop of links) is a read that failed, and nothing may be built on what it did not read.
bool meansMissing(int systemError);

// Why there is no ordinary file at path: the system's error number (ENOENT, ENOTDIR, EISDIR,
// ELOOP, EACCES, ...), EINVAL for a pipe, device or socket; 0 when there is one.
int whyNoOrdinaryFile(const QString& path);

// The identity of the ordinary file at path (links followed), or nullopt when there is none.
// error is 0 when the file is simply not there, else the system's reason why it could not be
// looked at: EISDIR for a folder, EINVAL for a pipe, socket or device in the file's place (it is
// there, and no file to read), ELOOP, EACCES, EIO, ... Opens nothing, so it cannot block.
std::optional<Identity> identityOf(const QString& path, int& error);

// The bytes of the ordinary file at path, with the identity of the file they were read from,
// or nullopt when it is missing (error 0) or could not be read: error is the system's reason,
// EISDIR / EINVAL for a folder or a pipe, socket or device in the file's place. The file is opened
// without blocking and its kind is checked on the open handle, so a pipe swapped in after any
// earlier test cannot block the read.
std::optional<Snapshot> readOrdinaryFile(const QString& path, int& error);

// What a rewrite puts in place of the bytes [from, to) of the content.
struct Splice {
    qsizetype from = 0;
    qsizetype to = 0;
    QByteArray text;
};

// Applies change to the file's current content and puts the result in place. change gets
// the content (empty for a missing file, which is then created) and returns the splice, or
// nullopt when nothing is to change.
//
// The locking rule, which every tool that shares these files may follow: an exclusive flock
// on the file's folder, held from reading the file to the rename that replaces it. A save
// that changes nothing neither waits for the lock nor takes it. Before the rename the file
// must still be the one that was read; when another writer replaced it meanwhile, the content
// is read again and change applied afresh (a few times at most), so no other writer's change
// is overwritten by a stale copy. What a save cut short left is cleared first, once the lock
// is taken (Leftovers.h).
//
// Returns 0 on success (also when nothing changed), otherwise the system's error number,
// with the file untouched: EACCES for a file or folder that grants nobody writing (refused
// even for root), a read-only file, or a link root must not follow; ENOENT for an empty path
// or a missing folder; EISDIR / EINVAL for a folder or another non-ordinary file; ENOSPC,
// EDQUOT, EFBIG, EIO, EROFS, ... as a step gave them; EAGAIN when the file kept changing;
// ETIMEDOUT when the folder stayed locked (lockedFolder() names it). A failed sync of the
// folder after the rename is returned too, with the new file already in place.
int rewrite(const QString& path,
            const std::function<std::optional<Splice>(const QByteArray&)>& change);

// Takes the lock of the folder that file lies in (links followed as a save follows them) and
// keeps it until releaseFolderLock(): saves into that folder meanwhile use it instead of
// taking it again, so that reading a value, changing it and storing it are one step for every
// tool that honours the lock. Returns 0 or the system's error number (ETIMEDOUT when another
// program kept the folder locked).
int holdFolderLock(const QString& file);
void releaseFolderLock();

// The folder whose lock a save or holdFolderLock last waited for in vain.
QByteArray lockedFolder();

// All waits for a folder's lock in one run share one bound, so that a lock another program
// keeps cannot stall the run once per save. Back to the full bound (for tests), or a shorter
// one.
void resetLockWait(int milliseconds = 20000);
// Called again and again while a save waits for a lock: the window repaints meanwhile.
void setWhileWaiting(std::function<void()> whileWaiting);

} // namespace platform::file
