#include "files/LogAppend.h"

#include "files/FolderWalk.h"
#include "files/SystemCalls.h"

#include <cerrno>
#include <chrono>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace files {
namespace {

// A log that another writer keeps locked does not hold the program up for long: the entry is
// then refused rather than waited for.
constexpr auto LockWait = std::chrono::seconds(2);
constexpr auto LockRetry = std::chrono::milliseconds(2);

int currentSystemError() {
    return errno != 0 ? errno : EIO;
}

bool lock(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + LockWait;
    while (sys::calls().flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(LockRetry);
    }
    return true;
}

// Writes the entry at the end of the locked log; on failure the log is cut back to its size
// before, so that no part of the entry stays.
int appendTo(int fd, QByteArrayView entry) {
    struct stat status {};
    if (sys::calls().fstat(fd, &status) != 0)
        return currentSystemError();
    if (!S_ISREG(status.st_mode))
        return S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    for (qsizetype done = 0; done < entry.size();) {
        const ssize_t put =
            sys::calls().write(fd, entry.data() + done, size_t(entry.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            const int error = put < 0 ? currentSystemError() : ENOSPC;
            sys::calls().ftruncate(fd, status.st_size);
            return error;
        }
        done += put;
    }
    return 0;
}

} // namespace

int appendWhole(const QByteArray& path, const QByteArray& entry) {
    const Place place = placeForWriting(path);
    if (place.error != 0)
        return place.error;
    const int fd = sys::calls().openat(
        place.folder.get(), place.name.constData(),
        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == ELOOP ? EACCES
                              : currentSystemError(); // a link put in the log's place meanwhile
    int error = lock(fd) ? appendTo(fd, entry) : currentSystemError();
    if (sys::calls().close(fd) != 0 && error == 0)
        error = currentSystemError();
    return error;
}

} // namespace files
