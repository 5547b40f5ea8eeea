#pragma once
// An unexpected failure of a step: what the error protocol receives. Raised by the program's
// operations and by the layers below them; caught only by the error protocol
// (diag/Procedure.h), which names the source when the raiser left it empty.

#include <QString>

struct Failure {
    qint32 number = 0;
    QString source; // empty: the program itself
    QString description;
    // The file or folder that could not be read, when that is what failed. Nothing may be
    // built on what was not read; the protocol tells each such file once a run.
    QString unreadable = {};
    // A store the run is for did not land.
    bool notStored = false;
};

// The failure numbers the program raises itself, with the texts the platform has always
// given them.
enum FailureNumber : qint32 {
    InvalidArgument = 5, // "Invalid procedure call or argument"
    Overflow = 6,        // "Overflow"
    OutOfMemory = 7,     // "Out of memory"
    SubscriptOutOfRange = 9,
    InternalError = 51,    // "Internal error"
    BadFileName = 52,      // "Bad file name or number"
    FileNotFound = 53,     // "File not found"
    DeviceIOError = 57,    // "Device I/O error"
    DiskFull = 61,         // "Disk full"
    PermissionDenied = 70, // "Permission denied"
    TooManyFiles = 67,     // "Too many files"
    PathFileAccess = 75,   // "Path/File access error"
    PathNotFound = 76,     // "Path not found"
    InvalidPropertyValue = 380,
    PropertyNotSupported = 438,
};

// Raises a failure with the standard description of its number.
[[noreturn]] void raiseFailure(FailureNumber number);
[[noreturn]] void raiseFailure(FailureNumber number, const QString& description);
QString failureDescription(FailureNumber number);

// The failure number of a system error (errno) for a file that could not be read or written,
// for a log entry that could not be appended, and the reason a message gives for it: the
// system's own text, or ours where the system's would mislead. A lock that another program
// kept names the folder it kept locked.
FailureNumber failureOfSystemError(int systemError);
FailureNumber failureOfLogError(int systemError);
QString reasonOfSystemError(int systemError, const QString& lockedFolder = {});

// The failure of a file that could not be read, or of a store the run is for that could not be
// written: its number and a description that names the file and the reason ("Could not write
// <file>: No space left on device").
[[noreturn]] void raiseReadFailure(const QString& file, int systemError);
[[noreturn]] void raiseWriteFailure(const QString& file, int systemError,
                                    const QString& lockedFolder = {});
// The failure of a log entry that could not be appended.
[[noreturn]] void raiseLogFailure(int systemError);
