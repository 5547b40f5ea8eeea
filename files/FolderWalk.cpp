#include "files/FolderWalk.h"

#include "files/SystemCalls.h"

#include <QByteArrayList>

#include <algorithm>

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <unistd.h>

namespace files {

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            sys::calls().close(fd_);
        fd_ = other.release();
    }
    return *this;
}

Descriptor::~Descriptor() {
    if (fd_ >= 0)
        sys::calls().close(fd_);
}

int Descriptor::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

namespace {

// The system gives up after this many links in one lookup.
constexpr int MaxLinks = 40;

// The parts of a path still to visit, the next one last. A part never holds a '/', so an entry
// that starts with one is a condition of a link whose text is still being walked (see below).
void pushParts(QByteArrayList& pending, const QByteArray& path) {
    const QByteArrayList parts = path.split('/');
    for (auto it = parts.crbegin(); it != parts.crend(); ++it) {
        if (!it->isEmpty() && *it != ".")
            pending.append(*it);
    }
}

bool isCondition(const QByteArray& entry) {
    return entry.startsWith('/');
}

bool onlyConditionsLeft(const QByteArrayList& pending) {
    return std::all_of(pending.cbegin(), pending.cend(), isCondition);
}

int openPath(int folder, const char* name, int flags) {
    return sys::calls().openat(folder, name, O_PATH | O_CLOEXEC | flags, 0);
}

QByteArray linkText(int link) {
    QByteArray text(PATH_MAX, '\0');
    const ssize_t length = sys::calls().readlinkat(link, "", text.data(), size_t(text.size()));
    if (length < 0 || length >= text.size())
        return {};
    text.truncate(length);
    return text;
}

Place refused(int error) {
    Place place;
    place.error = error;
    return place;
}

} // namespace

Place placeForWriting(const QByteArray& path) {
    if (path.isEmpty())
        return refused(ENOENT);
    QByteArrayList pending;
    pushParts(pending, path);
    const bool asRoot = ::geteuid() == 0;
    Descriptor folder(openPath(AT_FDCWD, path.startsWith('/') ? "/" : ".", O_DIRECTORY));
    if (folder.get() < 0)
        return refused(errno);
    Descriptor last; // the last part, once it is reached and exists
    QByteArray name;
    int links = 0;
    while (!pending.isEmpty()) {
        const QByteArray part = pending.takeLast();
        if (isCondition(part)) {
            // A link of someone else's has been walked to its end: root follows it only when
            // its owner owns what it led to, judged on the object the walk now holds.
            const uid_t owner = part.sliced(1).toUInt();
            const int object = name.isEmpty() ? folder.get() : last.get();
            struct stat status {};
            if (object < 0 || sys::calls().fstat(object, &status) != 0 || status.st_uid != owner)
                return refused(EACCES);
            continue;
        }
        const bool isLast = onlyConditionsLeft(pending);
        if (part == "..") {
            if (isLast)
                return refused(EISDIR);
            folder = Descriptor(openPath(folder.get(), "..", O_DIRECTORY));
            if (folder.get() < 0)
                return refused(errno);
            continue;
        }
        Descriptor opened(openPath(folder.get(), part.constData(), O_NOFOLLOW));
        if (opened.get() < 0) {
            // A missing last part is a file still to be created.
            if (errno != ENOENT || !isLast)
                return refused(errno);
            name = part;
            continue;
        }
        struct stat status {};
        if (sys::calls().fstat(opened.get(), &status) != 0)
            return refused(errno);
        if (S_ISLNK(status.st_mode)) {
            if (++links > MaxLinks)
                return refused(ELOOP);
            const QByteArray text = linkText(opened.get());
            if (text.isEmpty())
                return refused(ENOENT);
            if (asRoot && status.st_uid != 0)
                pending.append('/' + QByteArray::number(status.st_uid));
            if (text.startsWith('/')) {
                folder = Descriptor(openPath(AT_FDCWD, "/", O_DIRECTORY));
                if (folder.get() < 0)
                    return refused(errno);
            }
            pushParts(pending, text);
            continue;
        }
        if (isLast) {
            name = part;
            last = std::move(opened);
            continue;
        }
        if (!S_ISDIR(status.st_mode))
            return refused(ENOTDIR);
        folder = std::move(opened);
    }
    if (name.isEmpty())
        return refused(EISDIR);
    return {std::move(folder), name, 0};
}

int listFolder(int at, const char* path, QByteArrayList& names) {
    names.clear();
    const Descriptor folder(
        sys::calls().openat(at, path, O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC, 0));
    if (folder.get() < 0)
        return errno;
    alignas(dirent64) char buffer[1 << 15];
    for (;;) {
        const ssize_t got = sys::calls().getdents64(folder.get(), buffer, sizeof buffer);
        if (got == 0)
            return 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            names.clear();
            return errno != 0 ? errno : EIO;
        }
        for (ssize_t offset = 0; offset < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names.append(name);
            offset += entry->d_reclen;
        }
    }
}

} // namespace files
