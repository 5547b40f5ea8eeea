#include "platform/Failure.h"

#include "platform/Platform.h"

#include <cerrno>
#include <cstring>

QString failureDescription(FailureNumber number) {
    switch (number) {
    case InvalidArgument:
        return QStringLiteral("Invalid procedure call or argument");
    case Overflow:
        return QStringLiteral("Overflow");
    case OutOfMemory:
        return QStringLiteral("Out of memory");
    case InternalError:
        return QStringLiteral("Internal error");
    case BadFileName:
        return QStringLiteral("Bad file name or number");
    case FileNotFound:
        return QStringLiteral("File not found");
    case DeviceIOError:
        return QStringLiteral("Device I/O error");
    case DiskFull:
        return QStringLiteral("Disk full");
    case PermissionDenied:
        return QStringLiteral("Permission denied");
    case PathFileAccess:
        return QStringLiteral("Path/File access error");
    case PathNotFound:
        return QStringLiteral("Path not found");
    }
    return QStringLiteral("Application-defined or object-defined error");
}

void raiseFailure(FailureNumber number) {
    raiseFailure(number, failureDescription(number));
}

void raiseFailure(FailureNumber number, const QString& description) {
    // The source of a failure is the program itself, named as its executable.
    throw Failure{number, platform::current().executableName(), description};
}

namespace {
FailureNumber failureOfSystemError(int systemError) {
    switch (systemError) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return PermissionDenied;
    case ENOENT:
        return FileNotFound;
    case ENOTDIR:
        return PathNotFound;
    case EIO:
        return DeviceIOError;
    default:
        return PathFileAccess;
    }
}
} // namespace

void raiseWriteFailure(const QString& file, int systemError) {
    const FailureNumber number = failureOfSystemError(systemError);
    const QString reason = systemError != 0 ? QString::fromLocal8Bit(std::strerror(systemError))
                                            : failureDescription(number);
    raiseFailure(number, QStringLiteral("Could not write ") + file + QStringLiteral(": ") + reason);
}
