#include "files/FileMetadata.h"

#include "files/SystemCalls.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace files {
namespace {

bool isRoot() {
    return ::geteuid() == 0;
}

bool notAllowed(int error) {
    return error == EPERM || error == EACCES || error == ENOTSUP;
}

Kept outcome() {
    return notAllowed(errno) ? Kept::NotPossible : Kept::Failed;
}

// The names of the open file's extended attributes; false with errno set on failure.
bool attributeNames(int fd, QList<QByteArray>& names) {
    QByteArray list;
    for (;;) {
        const ssize_t size = sys::calls().flistxattr(fd, nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP; // a file system without them: there are none
        list.resize(size);
        const ssize_t got = size == 0 ? 0 : sys::calls().flistxattr(fd, list.data(), size_t(size));
        if (got >= 0) {
            list.truncate(got);
            break;
        }
        if (errno != ERANGE) // ERANGE: the list grew meanwhile
            return false;
    }
    for (const QByteArray& name : list.split('\0')) {
        if (!name.isEmpty())
            names.append(name);
    }
    return true;
}

bool attributeValue(int fd, const QByteArray& name, QByteArray& value) {
    for (;;) {
        const ssize_t size = sys::calls().fgetxattr(fd, name.constData(), nullptr, 0);
        if (size < 0)
            return false;
        value.resize(size);
        const ssize_t got =
            size == 0 ? 0
                      : sys::calls().fgetxattr(fd, name.constData(), value.data(), size_t(size));
        if (got >= 0) {
            value.truncate(got);
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
}

} // namespace

bool readMetadata(int fd, FileMetadata& metadata) {
    struct stat status {};
    QList<QByteArray> names;
    if (sys::calls().fstat(fd, &status) != 0 || !attributeNames(fd, names))
        return false;
    metadata = {status.st_mode & 07777, status.st_uid, status.st_gid, {}};
    for (const QByteArray& name : names) {
        QByteArray value;
        if (!attributeValue(fd, name, value)) {
            if (errno == ENODATA) // removed meanwhile
                continue;
            return false;
        }
        metadata.attributes.append({name, value});
    }
    return true;
}

bool ownerWouldChange(const FileMetadata& old) {
    return !isRoot() && old.owner != ::geteuid();
}

Kept keepMetadata(int fd, const FileMetadata& old) {
    if (ownerWouldChange(old))
        return Kept::NotPossible;
    FileMetadata now;
    if (!readMetadata(fd, now))
        return Kept::Failed;
    // Root hands the file to its owner; anyone else can only set a group they are in. The
    // group comes first: a change of owner or group clears the set-ID bits.
    if ((isRoot() || now.group != old.group) &&
        sys::calls().fchown(fd, isRoot() ? old.owner : uid_t(-1), old.group) != 0)
        return outcome();
    if (sys::calls().fchmod(fd, old.mode) != 0)
        return Kept::Failed;
    // Attributes the new file got from its folder (a default ACL) but the old one lacked go.
    for (const auto& attribute : now.attributes) {
        const QByteArray& name = attribute.first;
        const bool kept = std::any_of(old.attributes.cbegin(), old.attributes.cend(),
                                      [&](const auto& entry) { return entry.first == name; });
        if (!kept && sys::calls().fremovexattr(fd, name.constData()) != 0)
            return outcome();
    }
    // The ACL after the mode: setting it sets the group bits to its mask, which is what the old
    // file's group bits were, whereas a later fchmod would set the mask to the mode instead.
    for (const auto& [name, value] : old.attributes) {
        if (sys::calls().fsetxattr(fd, name.constData(), value.constData(), size_t(value.size()),
                                   0) != 0)
            return outcome();
    }
    // Whatever the system made of these steps, the new file must now match the old one.
    FileMetadata result;
    if (!readMetadata(fd, result))
        return Kept::Failed;
    if (result.mode != old.mode || result.owner != old.owner || result.group != old.group)
        return Kept::NotPossible;
    return Kept::Yes;
}

} // namespace files
