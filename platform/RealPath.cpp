#include "platform/RealPath.h"

#include <QByteArrayList>

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// The system gives up after this many links in one lookup.
constexpr int MaxLinks = 40;

// The parts of a path still to visit, the next one last.
void pushParts(QByteArrayList& pending, const QByteArray& path) {
    const QByteArrayList parts = path.split('/');
    for (auto it = parts.crbegin(); it != parts.crend(); ++it) {
        if (!it->isEmpty() && *it != ".")
            pending.append(*it);
    }
}

QByteArray currentFolder() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray();
}

QByteArray linkText(const QByteArray& link) {
    QByteArray text(PATH_MAX, '\0');
    const ssize_t length = ::readlink(link.constData(), text.data(), size_t(text.size()));
    if (length < 0 || length >= text.size())
        return {};
    text.truncate(length);
    return text;
}

// Root follows a link only when root owns it or its owner owns what it leads to.
bool mayFollow(const QByteArray& link, const struct stat& linkStatus) {
    if (::geteuid() != 0 || linkStatus.st_uid == 0)
        return true;
    struct stat target {};
    return ::stat(link.constData(), &target) == 0 && target.st_uid == linkStatus.st_uid;
}

} // namespace

RealPath realPathForWriting(const QByteArray& path) {
    if (path.isEmpty())
        return {{}, ENOENT};
    QByteArrayList pending;
    pushParts(pending, path);
    // Everything in done is a real folder: no link on the way, so ".." is its parent.
    QByteArray done = path.startsWith('/') ? QByteArray() : currentFolder();
    int links = 0;
    while (!pending.isEmpty()) {
        const QByteArray part = pending.takeLast();
        if (part == "..") {
            done.truncate(qMax<qsizetype>(0, done.lastIndexOf('/')));
            continue;
        }
        const QByteArray candidate = done + '/' + part;
        struct stat status {};
        if (::lstat(candidate.constData(), &status) != 0) {
            // A missing last part is a file still to be created.
            if (errno == ENOENT && pending.isEmpty())
                return {candidate, 0};
            return {{}, errno};
        }
        if (S_ISLNK(status.st_mode)) {
            if (++links > MaxLinks)
                return {{}, ELOOP};
            if (!mayFollow(candidate, status))
                return {{}, EACCES};
            const QByteArray text = linkText(candidate);
            if (text.isEmpty())
                return {{}, ENOENT};
            if (text.startsWith('/'))
                done.clear();
            pushParts(pending, text);
            continue;
        }
        if (!pending.isEmpty() && !S_ISDIR(status.st_mode))
            return {{}, ENOTDIR};
        done = candidate;
    }
    return {done.isEmpty() ? QByteArray("/") : done, 0};
}

} // namespace platform
