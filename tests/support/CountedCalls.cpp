#include "support/CountedCalls.h"

#include "files/SystemCalls.h"

#include <algorithm>
#include <cerrno>
#include <type_traits>

namespace sys = files::sys;
using C = sys::Calls;

namespace {

CallFaults faults;

template <auto A, auto B> constexpr bool sameCall() {
    if constexpr (std::is_same_v<decltype(A), decltype(B)>)
        return A == B;
    else
        return false;
}

template <auto Call> struct Counted;
template <typename R, typename... Args, R (*C::*Call)(Args...)> struct Counted<Call> {
    static R call(Args... args) {
        const int number = ++faults.calls;
        if (number == faults.hookAt && faults.hook)
            faults.hook();
        if (number != faults.failAt) {
            const R result = (sys::realCalls().*Call)(args...);
            if constexpr (sameCall<Call, &C::renameat2>())
                if (result == 0)
                    faults.renamedAt = number;
            return result;
        }
        if constexpr (sameCall<Call, &C::close>())
            (sys::realCalls().*Call)(args...);
        errno = faults.failWith;
        return R(-1);
    }
};

template <auto Call> constexpr auto counted = Counted<Call>::call;

ssize_t shortWrite(int fd, const void* buffer, size_t size) {
    const size_t limit = faults.writeLimit > 0 ? faults.writeLimit : size;
    return counted<&C::write>(fd, buffer, std::min(size, limit));
}

const C Counting = {counted<&C::openat>,       counted<&C::read>,      shortWrite,
                    counted<&C::fstat>,        counted<&C::fstatat>,   counted<&C::fchmod>,
                    counted<&C::fchown>,       counted<&C::fsync>,     counted<&C::close>,
                    counted<&C::flock>,        counted<&C::renameat2>, counted<&C::readlinkat>,
                    counted<&C::unlinkat>,     counted<&C::pwrite>,    counted<&C::ftruncate>,
                    counted<&C::flistxattr>,   counted<&C::fgetxattr>, counted<&C::fsetxattr>,
                    counted<&C::fremovexattr>, counted<&C::dup>,       counted<&C::faccessat>,
                    counted<&C::getdents64>};

} // namespace

CallFaults& callFaults() {
    return faults;
}

CountedCalls::CountedCalls() {
    faults = {};
    sys::calls() = Counting;
}

CountedCalls::~CountedCalls() {
    sys::calls() = sys::realCalls();
}
