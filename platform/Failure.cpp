#include "platform/Failure.h"

#include "platform/Platform.h"
#include "platform/SafeFile.h"
#include "platform/Text.h"

#include <QFile>

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
    case TooManyFiles:
        return QStringLiteral("Too many files");
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
// What a system error means for the user: the failure number, and our reason where the
// system's text would mislead (none: the system's text).
struct SystemErrorMeaning {
    int systemError;
    FailureNumber number;
    const char* reason;
};

constexpr SystemErrorMeaning Meanings[] = {
    {ENOSPC, DiskFull, nullptr},
    {EDQUOT, DiskFull, nullptr},
    {EFBIG, DiskFull, nullptr},
    {EACCES, PermissionDenied, nullptr},
    {EPERM, PermissionDenied, nullptr},
    {EROFS, PermissionDenied, nullptr},
    {ENOENT, FileNotFound, nullptr},
    {ENOTDIR, PathNotFound, nullptr},
    {EIO, DeviceIOError, nullptr},
    {EMFILE, TooManyFiles, nullptr},
    {ENFILE, TooManyFiles, nullptr},
    // A save refuses a pipe, a device or a socket in the file's place.
    {EINVAL, PathFileAccess, "not an ordinary file"},
    {EILSEQ, PathFileAccess, "the file holds UTF-16 text, which is neither read nor written"},
    {ETIMEDOUT, PathFileAccess, "another program keeps the folder locked: "},
};

const SystemErrorMeaning* meaningOf(int systemError) {
    for (const SystemErrorMeaning& meaning : Meanings) {
        if (meaning.systemError == systemError)
            return &meaning;
    }
    return nullptr;
}

QString fileFailureText(const char* verb, const QString& file, int systemError) {
    return QLatin1String(verb) + platform::printablePath(file) + QStringLiteral(": ") +
           reasonOfSystemError(systemError);
}
} // namespace

FailureNumber failureOfSystemError(int systemError) {
    const SystemErrorMeaning* meaning = meaningOf(systemError);
    return meaning ? meaning->number : PathFileAccess;
}

QString reasonOfSystemError(int systemError) {
    if (systemError == 0)
        return failureDescription(PathFileAccess);
    const SystemErrorMeaning* meaning = meaningOf(systemError);
    if (meaning == nullptr || meaning->reason == nullptr)
        return QString::fromLocal8Bit(std::strerror(systemError));
    QString reason = QString::fromLatin1(meaning->reason);
    // The wait that ran out names the folder it waited for.
    if (systemError == ETIMEDOUT)
        reason += platform::printablePath(QFile::decodeName(platform::file::lockedFolder()));
    return reason;
}

void raiseWriteFailure(const QString& file, int systemError) {
    raiseFailure(failureOfSystemError(systemError),
                 fileFailureText("Could not write ", file, systemError));
}

void raiseReadFailure(const QString& file, int systemError) {
    const FailureNumber number = failureOfSystemError(systemError);
    throw Failure{number, platform::current().executableName(),
                  fileFailureText("Could not read ", file, systemError), file};
}
