#include "platform/Failure.h"

#include "platform/Platform.h"

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
