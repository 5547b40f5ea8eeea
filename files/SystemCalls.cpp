#include "files/SystemCalls.h"

#include <cstdio>
#include <dirent.h>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace files::sys {
namespace {

int openAt(int folder, const char* path, int flags, mode_t mode) {
    return ::openat(folder, path, flags, mode);
}

const Calls Real = {openAt,         ::read,   ::write,     ::fstat,      ::fstatat,   ::fchmod,
                    ::fchown,       ::fsync,  ::close,     ::flock,      ::renameat2, ::readlinkat,
                    ::unlinkat,     ::pwrite, ::ftruncate, ::flistxattr, ::fgetxattr, ::fsetxattr,
                    ::fremovexattr, ::dup,    ::faccessat, ::getdents64};

Calls inUse = Real;

} // namespace

Calls& calls() {
    return inUse;
}

const Calls& realCalls() {
    return Real;
}

} // namespace files::sys
