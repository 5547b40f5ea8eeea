#include "files/InPlaceSave.h"

#include "files/Leftovers.h"
#include "files/SystemCalls.h"

#include <cerrno>
#include <sys/file.h>
#include <unistd.h>

namespace files {
namespace {

bool isIdentity(const struct stat& status, const Identity& identity) {
    return status.st_dev == identity.device && status.st_ino == identity.inode &&
           status.st_size == identity.size && status.st_mtim.tv_sec == identity.modifiedSeconds &&
           status.st_mtim.tv_nsec == identity.modifiedNanoseconds;
}

int currentSystemError() {
    return errno != 0 ? errno : EIO;
}

// The complete, synced copy of the old file, locked for as long as the save runs; its name
// reaches the disk (the folder is synced) before the file is touched.
class Copy {
public:
    Copy(int folderFd, const QByteArray& name) : folderFd_(folderFd) {
        int error = 0;
        for (int tries = 0; fd_ < 0 && tries < 10; ++tries) {
            name_ = copyName(name);
            fd_ = sys::calls().openat(folderFd, name_.constData(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            error = fd_ < 0 ? currentSystemError() : 0;
            if (error != EEXIST)
                break;
        }
        error_ = error;
    }
    ~Copy() {
        if (fd_ >= 0)
            sys::calls().close(fd_);
    }
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;

    int write(QByteArrayView bytes) {
        if (fd_ < 0)
            return error_;
        if (sys::calls().flock(fd_, LOCK_EX | LOCK_NB) != 0 || replaceContent(fd_, bytes) != 0 ||
            sys::calls().fsync(folderFd_) != 0) {
            const int error = currentSystemError();
            remove();
            return error;
        }
        return 0;
    }
    int remove() {
        const int error = sys::calls().unlinkat(folderFd_, name_.constData(), 0) == 0 ? 0 : errno;
        if (error != 0 && error != ENOENT)
            return error;
        return 0;
    }

private:
    int folderFd_;
    int fd_ = -1;
    int error_ = 0;
    QByteArray name_;
};

// Writes into the file once the copy is safe. Until the file is touched, any failure only
// removes the copy; after that, a failure puts the old content back first, and should that fail
// too, the copy stays for the next run to put back.
int writeInPlace(int folderFd, const QByteArray& name, const Snapshot& old,
                 const QByteArray& content, Copy& copy) {
    const int fd = sys::calls().openat(folderFd, name.constData(),
                                       O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0);
    struct stat status {};
    int error = fd < 0 ? (errno == ENOENT ? -1 : currentSystemError())
                : sys::calls().fstat(fd, &status) != 0 ? currentSystemError()
                : !isIdentity(status, old.identity)    ? -1
                                                       : 0;
    if (error != 0) {
        copy.remove();
    } else if ((error = replaceContent(fd, content)) != 0 || (error = copy.remove()) != 0) {
        if (replaceContent(fd, old.bytes) == 0)
            copy.remove();
    }
    if (fd >= 0)
        sys::calls().close(fd);
    return error;
}

} // namespace

int replaceContent(int fd, QByteArrayView bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t put =
            sys::calls().pwrite(fd, bytes.data() + done, size_t(bytes.size() - done), done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return put < 0 ? currentSystemError() : ENOSPC;
        done += put;
    }
    if (sys::calls().ftruncate(fd, bytes.size()) != 0 || sys::calls().fsync(fd) != 0)
        return currentSystemError();
    return 0;
}

int saveInPlace(int folderFd, const QByteArray& name, const Snapshot& old,
                const QByteArray& content) {
    Copy copy(folderFd, name);
    if (const int error = copy.write(old.bytes); error != 0)
        return error;
    return writeInPlace(folderFd, name, old, content, copy);
}

} // namespace files
