#include "core/Failure.h"

#include "core/Text.h"

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
    case SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
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
    case TooManyFiles:
        return QStringLiteral("Too many files");
    case PathFileAccess:
        return QStringLiteral("Path/File access error");
    case PathNotFound:
        return QStringLiteral("Path not found");
    case InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    case PropertyNotSupported:
        return QStringLiteral("Object doesn't support this property or method");
    }
    return QStringLiteral("Application-defined or object-defined error");
}

void raiseFailure(FailureNumber number) {
    raiseFailure(number, failureDescription(number));
}

void raiseFailure(FailureNumber number, const QString& description) {
    throw Failure{number, QString(), description};
}

namespace {
// The one table of what a system error means. A file's failure and a log entry's failure
// share their numbers but for ENOENT: a log is created when it is missing, so there the name
// that is not found is a folder on the way.
struct SystemErrorMeaning {
    int systemError;
    FailureNumber file;
    FailureNumber log;
    const char* reason; // none: the system's own text
};

constexpr SystemErrorMeaning Meanings[] = {
    {ENOSPC, DiskFull, DiskFull, nullptr},
    {EDQUOT, DiskFull, DiskFull, nullptr},
    {EFBIG, DiskFull, DiskFull, nullptr},
    {EACCES, PermissionDenied, PermissionDenied, nullptr},
    {EPERM, PermissionDenied, PermissionDenied, nullptr},
    {EROFS, PermissionDenied, PermissionDenied, nullptr},
    {ENOENT, FileNotFound, PathNotFound, nullptr},
    {ENOTDIR, PathNotFound, PathNotFound, nullptr},
    {EIO, DeviceIOError, DeviceIOError, nullptr},
    {EMFILE, TooManyFiles, TooManyFiles, nullptr},
    {ENFILE, TooManyFiles, TooManyFiles, nullptr},
    // A pipe, a device or a socket in the file's place.
    {EINVAL, PathFileAccess, PathFileAccess, "not an ordinary file"},
    {EILSEQ, PathFileAccess, PathFileAccess,
     "the file holds UTF-16 text, which is neither read nor written"},
    {ETIMEDOUT, PathFileAccess, PathFileAccess, "another program keeps the folder locked: "},
};

const SystemErrorMeaning* meaningOf(int systemError) {
    for (const SystemErrorMeaning& meaning : Meanings) {
        if (meaning.systemError == systemError)
            return &meaning;
    }
    return nullptr;
}

QString fileFailureText(const char* verb, const QString& file, int systemError,
                        const QString& lockedFolder = {}) {
    return QLatin1String(verb) + core::printablePath(file) + QStringLiteral(": ") +
           reasonOfSystemError(systemError, lockedFolder);
}
} // namespace

FailureNumber failureOfSystemError(int systemError) {
    const SystemErrorMeaning* meaning = meaningOf(systemError);
    return meaning ? meaning->file : PathFileAccess;
}

FailureNumber failureOfLogError(int systemError) {
    const SystemErrorMeaning* meaning = meaningOf(systemError);
    return meaning ? meaning->log : PathFileAccess;
}

QString reasonOfSystemError(int systemError, const QString& lockedFolder) {
    if (systemError == 0)
        return failureDescription(PathFileAccess);
    const SystemErrorMeaning* meaning = meaningOf(systemError);
    if (meaning == nullptr || meaning->reason == nullptr)
        return QString::fromLocal8Bit(std::strerror(systemError));
    QString reason = QString::fromLatin1(meaning->reason);
    if (systemError == ETIMEDOUT)
        reason += core::printablePath(lockedFolder);
    return reason;
}

void raiseReadFailure(const QString& file, int systemError) {
    throw Failure{failureOfSystemError(systemError), QString(),
                  fileFailureText("Could not read ", file, systemError), file};
}

void raiseWriteFailure(const QString& file, int systemError, const QString& lockedFolder) {
    throw Failure{failureOfSystemError(systemError), QString(),
                  fileFailureText("Could not write ", file, systemError, lockedFolder), QString(),
                  true};
}

void raiseLogFailure(int systemError) {
    raiseFailure(failureOfLogError(systemError));
}
