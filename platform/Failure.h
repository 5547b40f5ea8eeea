#pragma once
// An unexpected failure of a step: what the error protocol receives. Thrown by the platform
// and by the program's own operations; caught only by the error protocol (diag/Procedure.h).

#include <QString>

struct Failure {
    qint32 number = 0;
    QString source;
    QString description;
};

// The failure numbers the program raises itself, with the texts the platform has always
// given them.
enum FailureNumber : qint32 {
    InvalidArgument = 5,   // "Invalid procedure call or argument"
    Overflow = 6,          // "Overflow"
    OutOfMemory = 7,       // "Out of memory"
    InternalError = 51,    // "Internal error"
    BadFileName = 52,      // "Bad file name or number"
    FileNotFound = 53,     // "File not found"
    DeviceIOError = 57,    // "Device I/O error"
    DiskFull = 61,         // "Disk full"
    PermissionDenied = 70, // "Permission denied"
    PathFileAccess = 75,   // "Path/File access error"
    PathNotFound = 76,     // "Path not found"
};

// Raises a failure with the standard description of its number; the source is the program.
[[noreturn]] void raiseFailure(FailureNumber number);
[[noreturn]] void raiseFailure(FailureNumber number, const QString& description);
QString failureDescription(FailureNumber number);

// Raises the failure of a file that could not be written, from the system's error number:
// its number (disk full, permission denied, file not found, ...) and a description that names
// the file and the reason the system gave.
[[noreturn]] void raiseWriteFailure(const QString& file, int systemError);
