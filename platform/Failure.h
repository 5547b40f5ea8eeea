#pragma once
// An unexpected failure of a step: what the error protocol receives. Thrown by the platform
// and by the program's own operations; caught only by the error protocol (diag/Procedure.h).

#include <QString>

struct Failure {
    qint32 number = 0;
    QString source;
    QString description;
    // The file or folder that could not be read, when that is what failed. Nothing may be
    // built on what was not read: a run that meets such a failure stores nothing on it, tells
    // each unreadable file once, and ends with "not stored".
    QString unreadable = {};
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
    TooManyFiles = 67,     // "Too many files"
    PathFileAccess = 75,   // "Path/File access error"
    PathNotFound = 76,     // "Path not found"
};

// Raises a failure with the standard description of its number; the source is the program.
[[noreturn]] void raiseFailure(FailureNumber number);
[[noreturn]] void raiseFailure(FailureNumber number, const QString& description);
QString failureDescription(FailureNumber number);

// The failure number of a system error (errno) and the reason a message gives for it: the
// system's own text, or ours where the system's would mislead.
FailureNumber failureOfSystemError(int systemError);
QString reasonOfSystemError(int systemError);

// Raises the failure of a file that could not be written, or read, from the system's error
// number: its number (disk full, permission denied, file not found, ...) and a description
// that names the file and the reason ("Could not write <file>: No space left on device").
[[noreturn]] void raiseWriteFailure(const QString& file, int systemError);
[[noreturn]] void raiseReadFailure(const QString& file, int systemError);
