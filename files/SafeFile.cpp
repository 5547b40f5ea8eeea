#include "files/SafeFile.h"

#include "files/FileMetadata.h"
#include "files/FolderWalk.h"
#include "files/InPlaceSave.h"
#include "files/Leftovers.h"
#include "files/SystemCalls.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <climits>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace files {

bool Identity::operator==(const Identity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modifiedSeconds == other.modifiedSeconds &&
           modifiedNanoseconds == other.modifiedNanoseconds;
}

namespace {

// Rereads when another writer replaced the file between our read and our rename.
constexpr int MaxAttempts = 16;
constexpr auto LockRetry = std::chrono::milliseconds(2);

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

// One save of one file, holding its folder open and locked until it ends. Whatever it leaves
// unfinished (an open file, a temporary file) is undone when it ends.
class Save {
public:
    Save(Place place, FolderLocks& locks)
        : place_(std::move(place)), name_(place_.name), locks_(locks) {}
    ~Save() {
        dropTemporary();
        if (folderFd_ >= 0)
            sys::calls().close(folderFd_); // releases the lock
    }
    Save(const Save&) = delete;
    Save& operator=(const Save&) = delete;

    FileOutcome<bool> run(const std::function<std::optional<Splice>(const QByteArray&)>& change) {
        const int error = attempt(change);
        return {error == 0, error, lockedFolder_};
    }

private:
    int attempt(const std::function<std::optional<Splice>(const QByteArray&)>& change) {
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

    // An update of this run that holds the folder's lock already serves this save too.
    bool lockFolderUnlessHeld() {
        const FileOutcome<bool> held = locks_.holdsLockOf(folderFd_);
        if (held.error != 0)
            return refused(held.error);
        if (held.value)
            return true;
        const FileOutcome<bool> locked = locks_.lock(folderFd_);
        if (locked.error != 0) {
            lockedFolder_ = locked.lockedFolder;
            return refused(locked.error);
        }
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
        const int result = files::saveInPlace(folderFd_, name_, current, content);
        if (result < 0)
            return Outcome::ChangedMeanwhile;
        return result == 0 ? Outcome::Done : (refused(result), Outcome::Failed);
    }

    Place place_;
    QByteArray name_, temporary_;
    FolderLocks& locks_;
    QString lockedFolder_;
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

FileOutcome<std::optional<Identity>> identityOf(const QString& path) {
    struct stat status {};
    if (path.isEmpty())
        return {};
    if (sys::calls().fstatat(AT_FDCWD, QFile::encodeName(path).constData(), &status, 0) != 0)
        return {std::nullopt, meansMissing(errno) ? 0 : errno};
    if (!S_ISREG(status.st_mode))
        return {std::nullopt, S_ISDIR(status.st_mode) ? EISDIR : EINVAL};
    return {identityFrom(status)};
}

FileOutcome<std::optional<Snapshot>> readOrdinaryFile(const QString& path) {
    if (path.isEmpty())
        return {};
    const int fd = sys::calls().openat(AT_FDCWD, QFile::encodeName(path).constData(),
                                       O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd < 0)
        return {std::nullopt, meansMissing(errno) ? 0 : errno};
    struct stat status {};
    Snapshot snapshot;
    int error = 0;
    if (sys::calls().fstat(fd, &status) != 0)
        error = errno != 0 ? errno : EIO;
    else if (!S_ISREG(status.st_mode))
        error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    else if (!readAll(fd, status.st_size, snapshot.bytes))
        error = errno != 0 ? errno : EIO;
    if (sys::calls().close(fd) != 0 && error == 0)
        error = errno != 0 ? errno : EIO;
    if (error != 0)
        return {std::nullopt, error};
    snapshot.identity = identityFrom(status);
    return {std::move(snapshot)};
}

FileOutcome<bool> rewrite(const QString& path,
                          const std::function<std::optional<Splice>(const QByteArray&)>& change,
                          FolderLocks& locks) {
    Place place = placeForWriting(QFile::encodeName(path));
    if (place.error != 0)
        return {false, place.error};
    return Save(std::move(place), locks).run(change);
}

WaitClock WaitClock::real() {
    return {[] { return std::chrono::steady_clock::now(); },
            [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }};
}

FolderLocks::FolderLocks(std::chrono::milliseconds bound, WaitClock clock)
    : left_(bound), clock_(std::move(clock)) {}

FolderLocks::~FolderLocks() {
    release();
}

void FolderLocks::setWhileWaiting(std::function<void()> whileWaiting) {
    whileWaiting_ = std::move(whileWaiting);
}

FileOutcome<bool> FolderLocks::hold(const QString& file) {
    release();
    const Place place = placeForWriting(QFile::encodeName(file));
    if (place.error != 0)
        return {false, place.error};
    // The folder the walk reached, not a second lookup of its path.
    const int fd =
        sys::calls().openat(place.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0)
        return {false, errno};
    struct stat status {};
    FileOutcome<bool> locked = sys::calls().fstat(fd, &status) == 0
                                   ? lock(fd)
                                   : FileOutcome<bool>{false, errno != 0 ? errno : EIO};
    if (locked.error == 0) {
        if (const int error = recoverFolder(fd); error != 0)
            locked = {false, error};
    }
    if (locked.error != 0) {
        sys::calls().close(fd);
        return locked;
    }
    heldFd_ = fd;
    heldDevice_ = status.st_dev;
    heldInode_ = status.st_ino;
    return {true};
}

void FolderLocks::release() {
    if (heldFd_ >= 0)
        sys::calls().close(heldFd_); // releases the lock
    heldFd_ = -1;
}

FileOutcome<bool> FolderLocks::holdsLockOf(int folderFd) const {
    if (heldFd_ < 0)
        return {false};
    struct stat status {};
    // A folder that cannot be told apart fails the save: waiting would be for our own lock.
    if (sys::calls().fstat(folderFd, &status) != 0)
        return {false, errno != 0 ? errno : EIO};
    return {status.st_dev == heldDevice_ && status.st_ino == heldInode_};
}

FileOutcome<bool> FolderLocks::lock(int folderFd) {
    using std::chrono::milliseconds;
    const auto start = clock_.now();
    const auto waited = [&] {
        return std::chrono::duration_cast<milliseconds>(clock_.now() - start);
    };
    while (sys::calls().flock(folderFd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return {false, errno};
        if (waited() >= left_) {
            left_ = milliseconds(0);
            return {false, ETIMEDOUT, QFile::decodeName(folderName(folderFd))};
        }
        if (whileWaiting_)
            whileWaiting_();
        clock_.pause(LockRetry);
    }
    left_ -= std::min(waited(), left_);
    return {true};
}

} // namespace files
