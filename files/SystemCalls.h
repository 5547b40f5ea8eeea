#pragma once
// The system calls that reading a file, replacing it, appending to a log and looking a name up
// make, one pointer each: every call of theirs goes through here. The program uses the real
// calls; a test replaces any of them to make the n-th call fail (no space, I/O error, read-only
// file system, too many files, a short write) and checks that the file stays as it was and that
// the failure is told.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace files::sys {

struct Calls {
    int (*openat)(int folder, const char* path, int flags, mode_t mode);
    ssize_t (*read)(int fd, void* buffer, size_t size);
    ssize_t (*write)(int fd, const void* buffer, size_t size);
    int (*fstat)(int fd, struct stat* status);
    int (*fstatat)(int folder, const char* path, struct stat* status, int flags);
    int (*fchmod)(int fd, mode_t mode);
    int (*fchown)(int fd, uid_t owner, gid_t group);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*flock)(int fd, int operation);
    int (*renameat2)(int fromFolder, const char* from, int toFolder, const char* to,
                     unsigned int flags);
    ssize_t (*readlinkat)(int folder, const char* path, char* buffer, size_t size);
    int (*unlinkat)(int folder, const char* path, int flags);
    ssize_t (*pwrite)(int fd, const void* buffer, size_t size, off_t offset);
    int (*ftruncate)(int fd, off_t length);
    ssize_t (*flistxattr)(int fd, char* names, size_t size);
    ssize_t (*fgetxattr)(int fd, const char* name, void* value, size_t size);
    int (*fsetxattr)(int fd, const char* name, const void* value, size_t size, int flags);
    int (*fremovexattr)(int fd, const char* name);
    int (*dup)(int fd);
    int (*faccessat)(int folder, const char* path, int mode, int flags);
    ssize_t (*getdents64)(int fd, void* buffer, size_t size);
};

// The calls in use; tests may replace entries and must put the real ones back.
Calls& calls();
// The real calls of the C library.
const Calls& realCalls();

} // namespace files::sys
