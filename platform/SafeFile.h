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

// The identity of the ordinary file at path (links followed), or nullopt when there is none.
// Opens nothing, so it is cheap and cannot block.
std::optional<Identity> identityOf(const QString& path);

// The bytes of the ordinary file at path, with the identity of the file they were read from,
// or nullopt when it is missing, no ordinary file (a folder, a pipe, a device) or unreadable.
// The file is opened without blocking and its kind is checked on the open handle, so a pipe
// swapped in after any earlier test cannot block the read.
std::optional<Snapshot> readOrdinaryFile(const QString& path);

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
// Saves of files in one folder by runs of this program are serialised by an advisory lock
// on the folder, held from reading the file to the rename. Before the rename the file must
// still be the one that was read; when another writer replaced it meanwhile, the content is
// read again and change applied afresh (a few times at most), so no other writer's change is
// overwritten by a stale copy. What a save cut short left is cleared first (Leftovers.h).
//
// Returns 0 on success (also when nothing changed), otherwise the system's error number,
// with the file untouched: EACCES for a file or folder that grants nobody writing (refused
// even for root), a read-only file, or a link root must not follow; ENOENT for an empty path
// or a missing folder; EISDIR / EINVAL for a folder or another non-ordinary file; ENOSPC,
// EDQUOT, EFBIG, EIO, EROFS, ... as a step gave them; EAGAIN when the file kept changing or
// the folder stayed locked.
int rewrite(const QString& path,
            const std::function<std::optional<Splice>(const QByteArray&)>& change);

} // namespace platform::file
