#include "platform/SafeFile.h"

#include "platform/FileMetadata.h"
#include "platform/FolderWalk.h"
#include "platform/InPlaceSave.h"
#include "platform/Leftovers.h"
#include "platform/SystemCalls.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <climits>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace platform::file {

bool Identity::operator==(const Identity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modifiedSeconds == other.modifiedSeconds &&
           modifiedNanoseconds == other.modifiedNanoseconds;
}

namespace {

// Rereads when another writer replaced the file between our read and our rename.
constexpr int MaxAttempts = 16;
constexpr auto LockRetry = std::chrono::milliseconds(2);

// What is left of the run's one bound on waiting for folder locks.
std::chrono::milliseconds lockWaitLeft{20000};
std::function<void()> whileWaitingForLock;
QByteArray folderFoundLocked;

// The folder lock an update holds from its read to its store (holdFolderLock).
struct HeldLock {
    int fd = -1;
    dev_t device = 0;
    ino_t inode = 0;
};
HeldLock heldLock;

Identity identityFrom(const struct stat& status) {
    return {status.st_dev, status.st_ino, status.st_size, status.st_mtim.tv_sec,
            status.st_mtim.tv_nsec};
}

bool grantsWriting(const struct stat& status) {
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

// Reads an open file of about expectedSize bytes to its end; false with errno set when a read
// fails.
bool readAll(int fd, off_t expectedSize, QByteArray& bytes) {
    constexpr qsizetype Growth = 1 << 16;
    // One byte more than expected, so that the read that finds the end needs no new room.
    bytes.resize(qsizetype(expectedSize) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) // the file grew since it was measured
            bytes.resize(bytes.size() + Growth);
        const ssize_t got =
            sys::calls().read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        filled += got;
    }
    bytes.truncate(filled);
    return true;
}

// Writes all of the bytes, going on after a short write; false with errno set on failure.
bool writeAll(int fd, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const ssize_t put = sys::calls().write(fd, bytes.data(), size_t(bytes.size()));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (put == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes = bytes.sliced(put);
    }
    return true;
}

// The path of an open folder, for messages: the one the system knows it by.
QByteArray folderName(int folderFd) {
    QByteArray path(PATH_MAX, '\0');
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(folderFd);
    const ssize_t length =
        sys::calls().readlinkat(AT_FDCWD, link.constData(), path.data(), size_t(path.size()));
    path.truncate(length > 0 ? length : 0);
    return path;
}

// Takes the folder's lock, waiting at most what is left of the run's bound; 0 or the system's
// error number (ETIMEDOUT when the wait ran out, with the folder noted for the message).
int lockFolder(int folderFd) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto waited = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    };
    while (sys::calls().flock(folderFd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return errno;
        if (waited() >= lockWaitLeft) {
            lockWaitLeft = std::chrono::milliseconds(0);
            folderFoundLocked = folderName(folderFd);
            return ETIMEDOUT;
        }
        if (whileWaitingForLock)
            whileWaitingForLock();
        std::this_thread::sleep_for(LockRetry);
    }
    lockWaitLeft -= std::min(waited(), lockWaitLeft);
    return 0;
}

// One save of one file, holding its folder open and locked until it ends. Whatever it leaves
// unfinished (an open file, a temporary file) is undone when it ends.
class Save {
public:
    explicit Save(Place place) : place_(std::move(place)), name_(place_.name) {}
    ~Save() {
        dropTemporary();
        if (folderFd_ >= 0)
            sys::calls().close(folderFd_); // releases the lock
    }
    Save(const Save&) = delete;
    Save& operator=(const Save&) = delete;

    int run(const std::function<std::optional<Splice>(const QByteArray&)>& change) {
        if (!openFolder())
            return error_;
        // A save that changes nothing neither waits for the lock nor takes it.
        std::optional<Snapshot> current;
        if (!readCurrent(current))
            return error_;
        std::optional<Splice> splice = change(current ? current->bytes : QByteArray());
        if (!splice)
            return 0;
        if (!lockFolderUnlessHeld())
            return error_;
        for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
            // The file read before the lock, and its change, serve while it is the same file.
            if (attempt > 0 || checkUnchanged(current) != Outcome::Done) {
                if (!readCurrent(current))
                    return error_;
                splice = change(current ? current->bytes : QByteArray());
                if (!splice)
                    return 0;
            }
            if (!writeTemporary(current, *splice))
                return error_;
            const Outcome outcome = inPlace_ ? saveInPlace(*current, *splice) : publish(current);
            if (outcome == Outcome::Done)
                return 0;
            if (outcome == Outcome::Failed)
                return error_;
            dropTemporary(); // another writer came first: start again from its file
        }
        return EAGAIN;
    }

private:
    enum class Outcome { Done, Failed, ChangedMeanwhile };

    bool failed() { return refused(errno != 0 ? errno : EIO); }
    bool refused(int error) {
        error_ = error;
        return false;
    }

    bool openFolder() {
        // The folder the walk reached, not a second lookup of its path.
        folderFd_ =
            sys::calls().openat(place_.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
        if (folderFd_ < 0)
            return failed();
        struct stat status {};
        if (sys::calls().fstat(folderFd_, &status) != 0)
            return failed();
        // A folder that grants nobody writing keeps its files, even against root: a
        // replacement is a new file in it.
        if (!grantsWriting(status))
            return refused(EACCES);
        return sys::calls().faccessat(folderFd_, ".", W_OK, AT_EACCESS) == 0 || failed();
    }

    // An update of this run that holds the folder's lock already serves this save too. A
    // folder that cannot be told apart from it fails the save: waiting would be for our own lock.
    bool lockFolderUnlessHeld() {
        if (heldLock.fd >= 0) {
            struct stat status {};
            if (sys::calls().fstat(folderFd_, &status) != 0)
                return failed();
            if (status.st_dev == heldLock.device && status.st_ino == heldLock.inode)
                return true;
        }
        if (const int error = lockFolder(folderFd_))
            return refused(error);
        if (const int error = recoverFolder(folderFd_))
            return refused(error);
        return true;
    }

    // The file as it is now; nullopt in current when it does not exist yet.
    bool readCurrent(std::optional<Snapshot>& current) {
        const int fd = sys::calls().openat(folderFd_, name_.constData(),
                                           O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0);
        if (fd < 0) {
            current.reset();
            return errno == ENOENT || failed();
        }
        struct stat status {};
        QByteArray bytes;
        const bool read =
            sys::calls().fstat(fd, &status) == 0 ? readWritable(fd, status, bytes) : failed();
        const bool closed = sys::calls().close(fd) == 0;
        if (!read)
            return false;
        if (!closed)
            return failed();
        current = Snapshot{bytes, identityFrom(status)};
        return true;
    }

    // Reads an open file that a save may replace: an ordinary file that grants writing (even
    // root respects a file that grants nobody writing) and that we may write.
    bool readWritable(int fd, const struct stat& status, QByteArray& bytes) {
        if (!S_ISREG(status.st_mode))
            return refused(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
        if (!grantsWriting(status))
            return refused(EACCES);
        if (sys::calls().faccessat(folderFd_, name_.constData(), W_OK, AT_EACCESS) != 0)
            return failed();
        return (readAll(fd, status.st_size, bytes) && readMetadata(fd, metadata_)) || failed();
    }

    bool writeTemporary(const std::optional<Snapshot>& current, const Splice& splice) {
        inPlace_ = current && ownerWouldChange(metadata_);
        for (int tries = 0; temporaryFd_ < 0 && !inPlace_; ++tries) {
            temporary_ = temporaryName(name_);
            // A new file gets the usual permissions; a replacement those of the file.
            temporaryFd_ =
                sys::calls().openat(folderFd_, temporary_.constData(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, current ? 0600 : 0666);
            if (temporaryFd_ < 0 && (errno != EEXIST || tries > 10)) {
                temporary_.clear();
                return failed();
            }
            // Held while the temporary file exists: a running save's file is no leftover.
            if (temporaryFd_ >= 0 && (sys::calls().flock(temporaryFd_, LOCK_EX | LOCK_NB) != 0 ||
                                      (temporaryLock_ = sys::calls().dup(temporaryFd_)) < 0))
                return failed();
        }
        if (current && !inPlace_) {
            const Kept kept = keepMetadata(temporaryFd_, metadata_);
            if (kept == Kept::Failed)
                return failed();
            inPlace_ = kept == Kept::NotPossible;
        }
        if (inPlace_) {
            dropTemporary();
            return true;
        }
        const QByteArrayView content = current ? QByteArrayView(current->bytes) : QByteArrayView();
        if (!writeAll(temporaryFd_, content.first(splice.from)) ||
            !writeAll(temporaryFd_, splice.text) ||
            !writeAll(temporaryFd_, content.sliced(splice.to)))
            return failed();
        if (sys::calls().fsync(temporaryFd_) != 0)
            return failed();
        const int fd = temporaryFd_;
        temporaryFd_ = -1;
        return sys::calls().close(fd) == 0 || failed();
    }

    // Whether the file is still the one read (or still missing, when there was none).
    Outcome checkUnchanged(const std::optional<Snapshot>& current) {
        struct stat status {};
        if (sys::calls().fstatat(folderFd_, name_.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) {
                failed();
                return Outcome::Failed;
            }
            return current ? Outcome::ChangedMeanwhile : Outcome::Done;
        }
        return current && identityFrom(status) == current->identity ? Outcome::Done
                                                                    : Outcome::ChangedMeanwhile;
    }

    // Puts the temporary file in place of the file. The exchange swaps both names in one
    // step, so the file it took away can be checked too: another writer that renamed its
    // own file in place between our check and our rename gets its file back.
    Outcome publish(const std::optional<Snapshot>& current) {
        if (const Outcome check = checkUnchanged(current); check != Outcome::Done)
            return check;
        const char* from = temporary_.constData();
        const char* to = name_.constData();
        const unsigned int how = current ? RENAME_EXCHANGE : RENAME_NOREPLACE;
        if (sys::calls().renameat2(folderFd_, from, folderFd_, to, how) != 0) {
            if (errno == EEXIST || (errno == ENOENT && current))
                return Outcome::ChangedMeanwhile;
            // A file system without these renames gets the plain one, after the check above.
            if (errno != EINVAL || sys::calls().renameat2(folderFd_, from, folderFd_, to, 0) != 0) {
                failed();
                return Outcome::Failed;
            }
            temporary_.clear();
        } else if (current) {
            struct stat replaced {};
            if (sys::calls().fstatat(folderFd_, from, &replaced, AT_SYMLINK_NOFOLLOW) == 0 &&
                !(identityFrom(replaced) == current->identity)) {
                if (sys::calls().renameat2(folderFd_, from, folderFd_, to, RENAME_EXCHANGE) == 0)
                    return Outcome::ChangedMeanwhile;
                // The other writer's file stays beside ours rather than being dropped.
                failed();
                temporary_.clear();
                return Outcome::Failed;
            }
        } else {
            temporary_.clear();
        }
        dropTemporary(); // after an exchange: the old file
        // Without the folder's sync a power loss soon after could bring the old file back: the
        // new one is in place, but the store is not safe yet, and the caller must hear of it.
        if (sys::calls().fsync(folderFd_) != 0) {
            failed();
            return Outcome::Failed;
        }
        return Outcome::Done;
    }

    void dropTemporary() {
        if (temporaryFd_ >= 0)
            sys::calls().close(temporaryFd_);
        temporaryFd_ = -1;
        if (!temporary_.isEmpty())
            sys::calls().unlinkat(folderFd_, temporary_.constData(), 0);
        temporary_.clear();
        if (temporaryLock_ >= 0)
            sys::calls().close(temporaryLock_);
        temporaryLock_ = -1;
    }

    // The file written into, for a file that a new file could not stand in for.
    Outcome saveInPlace(const Snapshot& current, const Splice& splice) {
        const QByteArray content =
            current.bytes.first(splice.from) + splice.text + current.bytes.sliced(splice.to);
        const int result = file::saveInPlace(folderFd_, name_, current, content);
        if (result < 0)
            return Outcome::ChangedMeanwhile;
        return result == 0 ? Outcome::Done : (refused(result), Outcome::Failed);
    }

    Place place_;
    QByteArray name_, temporary_;
    int folderFd_ = -1;
    int temporaryFd_ = -1;
    int temporaryLock_ = -1;
    int error_ = 0;
    bool inPlace_ = false;
    FileMetadata metadata_;
};

} // namespace

bool meansMissing(int systemError) {
    return systemError == ENOENT || systemError == ENOTDIR;
}

int whyNoOrdinaryFile(const QString& path) {
    struct stat status {};
    if (path.isEmpty())
        return ENOENT;
    if (sys::calls().fstatat(AT_FDCWD, QFile::encodeName(path).constData(), &status, 0) != 0)
        return errno;
    if (S_ISREG(status.st_mode))
        return 0;
    return S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
}

std::optional<Identity> identityOf(const QString& path, int& error) {
    error = 0;
    struct stat status {};
    if (path.isEmpty())
        return std::nullopt;
    if (sys::calls().fstatat(AT_FDCWD, QFile::encodeName(path).constData(), &status, 0) != 0) {
        error = meansMissing(errno) ? 0 : errno;
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        return std::nullopt;
    }
    return identityFrom(status);
}

std::optional<Snapshot> readOrdinaryFile(const QString& path, int& error) {
    error = 0;
    if (path.isEmpty())
        return std::nullopt;
    const int fd = sys::calls().openat(AT_FDCWD, QFile::encodeName(path).constData(),
                                       O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd < 0) {
        error = meansMissing(errno) ? 0 : errno;
        return std::nullopt;
    }
    struct stat status {};
    Snapshot snapshot;
    bool ordinary = true;
    bool read = sys::calls().fstat(fd, &status) == 0;
    if (read) {
        ordinary = S_ISREG(status.st_mode);
        read = !ordinary || readAll(fd, status.st_size, snapshot.bytes);
    }
    if (!read)
        error = errno != 0 ? errno : EIO;
    else if (!ordinary)
        error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    if (sys::calls().close(fd) != 0 && read) {
        read = false;
        error = errno != 0 ? errno : EIO;
    }
    if (!read || !ordinary)
        return std::nullopt;
    snapshot.identity = identityFrom(status);
    return snapshot;
}

int rewrite(const QString& path,
            const std::function<std::optional<Splice>(const QByteArray&)>& change) {
    Place place = placeForWriting(QFile::encodeName(path));
    if (place.error != 0)
        return place.error;
    return Save(std::move(place)).run(change);
}

int holdFolderLock(const QString& file) {
    releaseFolderLock();
    const Place place = placeForWriting(QFile::encodeName(file));
    if (place.error != 0)
        return place.error;
    // The folder the walk reached, not a second lookup of its path.
    const int fd =
        sys::calls().openat(place.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0)
        return errno;
    struct stat status {};
    int error = sys::calls().fstat(fd, &status) == 0 ? lockFolder(fd) : errno;
    if (error == 0)
        error = recoverFolder(fd);
    if (error != 0) {
        sys::calls().close(fd);
        return error;
    }
    heldLock = {fd, status.st_dev, status.st_ino};
    return 0;
}

void releaseFolderLock() {
    if (heldLock.fd >= 0)
        sys::calls().close(heldLock.fd); // releases the lock
    heldLock = {};
}

QByteArray lockedFolder() {
    return folderFoundLocked;
}

void resetLockWait(int milliseconds) {
    lockWaitLeft = std::chrono::milliseconds(milliseconds);
    folderFoundLocked.clear();
}

void setWhileWaiting(std::function<void()> whileWaiting) {
    whileWaitingForLock = std::move(whileWaiting);
}

} // namespace platform::file
