#pragma once
// Reading and replacing whole files so that no fault harms them. A read never blocks and
// takes only ordinary files. A rewrite goes through a temporary file beside the file, given
// the file's owner, group, mode, ACL and attributes, and an atomic rename (or, where a new file
// could not carry these, writes in place behind a complete copy: InPlaceSave.h); every step is
// checked, and any failure leaves the file byte for byte as it was and removes what it made.

#include "core/Outcome.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>

namespace files {

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

// The identity of the ordinary file at path (links followed), or none. The error is 0 when the
// file is simply not there, else the system's reason why it could not be looked at: EISDIR for
// a folder, EINVAL for a pipe, socket or device in the file's place (it is there, and no file
// to read), ELOOP, EACCES, EIO, ... Opens nothing, so it cannot block.
FileOutcome<std::optional<Identity>> identityOf(const QString& path);

// The bytes of the ordinary file at path, with the identity of the file they were read from,
// or none when it is missing (error 0) or could not be read (the system's reason; EISDIR /
// EINVAL for a folder or a pipe, socket or device in the file's place). The file is opened
// without blocking and its kind is checked on the open handle, so a pipe swapped in after any
// earlier test cannot block the read.
FileOutcome<std::optional<Snapshot>> readOrdinaryFile(const QString& path);

// What a rewrite puts in place of the bytes [from, to) of the content.
struct Splice {
    qsizetype from = 0;
    qsizetype to = 0;
    QByteArray text;
};

// The time a wait for a lock sees pass, and the pause between two tries: the steady clock and
// a sleep, or a test's own.
struct WaitClock {
    std::function<std::chrono::steady_clock::time_point()> now;
    std::function<void(std::chrono::milliseconds)> pause;
    static WaitClock real();
};

// The folder locks of one run. A rewrite takes an exclusive flock on the file's folder, held
// from reading the file to the rename that replaces it: the locking rule every tool that shares
// these files may follow. An update may hold a folder's lock from reading a value to storing it
// (hold); saves into that folder meanwhile use it instead of taking it again. All waits for a
// lock share one bound, so that a lock another program keeps cannot stall the run once per
// save; once it has run out, every later save tries once without waiting.
class FolderLocks {
public:
    static constexpr std::chrono::milliseconds DefaultBound{20000};

    explicit FolderLocks(std::chrono::milliseconds bound = DefaultBound,
                         WaitClock clock = WaitClock::real());
    ~FolderLocks();
    FolderLocks(const FolderLocks&) = delete;
    FolderLocks& operator=(const FolderLocks&) = delete;

    // Called again and again while a save waits for a lock: the window repaints meanwhile.
    void setWhileWaiting(std::function<void()> whileWaiting);

    // Takes the lock of the folder that file lies in (links followed as a save follows them)
    // and keeps it until release(). True when taken; else the system's error number (ETIMEDOUT
    // when another program kept the folder locked, which is then named).
    FileOutcome<bool> hold(const QString& file);
    void release();

    // For a save: whether this run holds the lock of the open folder (an error when the folder
    // cannot be told apart), and the lock taken within what is left of the bound.
    FileOutcome<bool> holdsLockOf(int folderFd) const;
    FileOutcome<bool> lock(int folderFd);

private:
    std::chrono::milliseconds left_;
    WaitClock clock_;
    std::function<void()> whileWaiting_;
    int heldFd_ = -1;
    dev_t heldDevice_ = 0;
    ino_t heldInode_ = 0;
};

// Applies change to the file's current content and puts the result in place. change gets
// the content (empty for a missing file, which is then created) and returns the splice, or
// nullopt when nothing is to change. A save that changes nothing neither waits for the lock
// nor takes it. Before the rename the file must still be the one that was read; when another
// writer replaced it meanwhile, the content is read again and change applied afresh (a few
// times at most), so no other writer's change is overwritten by a stale copy. What a save cut
// short left is cleared first, once the lock is taken (Leftovers.h).
//
// True on success (also when nothing changed); otherwise the system's error number, with the
// file untouched: EACCES for a file or folder that grants nobody writing (refused even for
// root), a read-only file, or a link root must not follow; ENOENT for an empty path or a
// missing folder; EISDIR / EINVAL for a folder or another non-ordinary file; ENOSPC, EDQUOT,
// EFBIG, EIO, EROFS, ... as a step gave them; EAGAIN when the file kept changing; ETIMEDOUT
// when the folder stayed locked (named in the outcome). A failed sync of the folder after the
// rename is returned too, with the new file already in place.
FileOutcome<bool> rewrite(const QString& path,
                          const std::function<std::optional<Splice>(const QByteArray&)>& change,
                          FolderLocks& locks);

} // namespace files
