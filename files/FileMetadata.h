#pragma once
// What decides who may read or write a file besides its content: owner, group, mode and the
// extended attributes, which hold the POSIX ACL (system.posix_acl_access). A save that puts a
// new file in place of the old one gives it all of these, so that whoever could read or write
// the file before still can, and nobody else can.

#include <QByteArray>
#include <QList>
#include <QPair>

#include <sys/types.h>

namespace files {

struct FileMetadata {
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
    QList<QPair<QByteArray, QByteArray>> attributes; // name, value
};

// The metadata of an open file; false with errno set when a step fails.
bool readMetadata(int fd, FileMetadata& metadata);

enum class Kept { Yes, NotPossible, Failed };

// Gives the open new file fd the old file's metadata. NotPossible when the saver may not give
// them (someone else's file, a group the saver is not in, an attribute the saver may not set),
// so that the file must be saved in place; Failed with errno set when a step fails otherwise.
Kept keepMetadata(int fd, const FileMetadata& old);

// Whether a new file of ours cannot belong to whoever owns the old one.
bool ownerWouldChange(const FileMetadata& old);

} // namespace files
