#include "files/Leftovers.h"

#include "files/FolderWalk.h"
#include "files/InPlaceSave.h"
#include "files/SystemCalls.h"

#include <QRandomGenerator>

#include <cerrno>
#include <sys/file.h>
#include <unistd.h>

namespace files {
namespace {

const QByteArray Marker = ".mainpicture-save.";
const QByteArray CopySuffix = ".copy";
constexpr qsizetype RandomWidth = 16;

bool isRandomPart(QByteArrayView part) {
    return part.size() == RandomWidth && std::all_of(part.begin(), part.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// The saved file's name when entry is one of our names, else an empty name; isCopy tells which.
QByteArray savedName(const QByteArray& entry, bool& isCopy) {
    isCopy = entry.endsWith(CopySuffix);
    const QByteArray stem = isCopy ? entry.chopped(CopySuffix.size()) : entry;
    const qsizetype marker = stem.size() - RandomWidth - Marker.size();
    if (marker <= 0 || stem.sliced(marker, Marker.size()) != Marker ||
        !isRandomPart(QByteArrayView(stem).sliced(marker + Marker.size())))
        return {};
    return stem.first(marker);
}

// Reads an open file to its end; false with errno set when a read fails.
bool readAll(int fd, QByteArray& bytes) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = sys::calls().read(fd, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0 && errno != EINTR)
            return false;
        if (got > 0)
            bytes.append(buffer, got);
    }
}

// Puts the old file back from the copy an in-place save kept: into the file itself, which
// keeps its owner and permissions, or under its name when the file has gone meanwhile.
int putBack(int folderFd, int copyFd, const QByteArray& copy, const QByteArray& name) {
    const int fd = sys::calls().openat(folderFd, name.constData(),
                                       O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0);
    if (fd < 0) {
        if (errno != ENOENT)
            return errno;
        return sys::calls().renameat2(folderFd, copy.constData(), folderFd, name.constData(),
                                      RENAME_NOREPLACE) == 0
                   ? 0
                   : errno;
    }
    QByteArray bytes;
    struct stat status {};
    int error = 0;
    if (sys::calls().fstat(fd, &status) != 0 || !readAll(copyFd, bytes))
        error = errno;
    else if (!S_ISREG(status.st_mode))
        error = EINVAL;
    else
        error = replaceContent(fd, bytes);
    sys::calls().close(fd);
    if (error == 0 && sys::calls().unlinkat(folderFd, copy.constData(), 0) != 0)
        error = errno;
    return error;
}

} // namespace

bool isLeftoverName(const QByteArray& entry) {
    bool isCopy = false;
    return !savedName(entry, isCopy).isEmpty();
}

QByteArray temporaryName(const QByteArray& name) {
    const quint64 random = QRandomGenerator::global()->generate64();
    return name + Marker + QByteArray::number(random, 16).rightJustified(RandomWidth, '0');
}

QByteArray copyName(const QByteArray& name) {
    return temporaryName(name) + CopySuffix;
}

int recoverFolder(int folderFd) {
    QByteArrayList entries;
    // A folder that cannot be listed may hold a torn file's only good copy: nothing is built
    // on it until it can be.
    if (const int error = listFolder(folderFd, ".", entries); error != 0)
        return error;
    int result = 0;
    for (const QByteArray& leftover : entries) {
        bool isCopy = false;
        const QByteArray name = savedName(leftover, isCopy);
        if (name.isEmpty())
            continue;
        struct stat status {};
        if (sys::calls().fstatat(folderFd, leftover.constData(), &status, AT_SYMLINK_NOFOLLOW) !=
                0 ||
            !S_ISREG(status.st_mode))
            continue;
        // Another user's in-place save was cut short: its file may be torn, but the copy is not
        // ours to write into it (anyone could have planted it). No save builds on that file
        // in this folder until that user's next run has put it back.
        if (status.st_uid != ::geteuid()) {
            if (isCopy)
                result = EBUSY;
            continue;
        }
        const int fd = sys::calls().openat(folderFd, leftover.constData(),
                                           O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0);
        if (fd < 0)
            continue;
        // Ours, and no running save holds it (the lock is kept until this file is gone).
        if (sys::calls().fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
            status.st_uid == ::geteuid() && sys::calls().flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (!isCopy)
                sys::calls().unlinkat(folderFd, leftover.constData(), 0);
            else if (const int error = putBack(folderFd, fd, leftover, name); error != 0)
                result = error;
        }
        sys::calls().close(fd);
    }
    return result;
}

} // namespace files
