#pragma once
// What a run's stores rest on and whether they landed. A read that could not read its file
// and a store that did not land are failures the user hears of; nothing is stored on a value
// that was not read, and the exit status tells it too.

#include <QString>

// For a SaveIni result of a store the run is for: 0 notes that the store did not land and
// raises the failure that names the file and the system's reason (no space left, permission
// denied, read-only file system, not found, ...).
void requireStored(qint16 saveResult, const QString& file);

// Notes that a store the run is for cannot be made and raises the failure that names the file
// and the system's reason.
[[noreturn]] void refuseStore(const QString& file, int systemError);

// The lock of the folder a store goes to, held from reading the value to storing it, so that
// another tool that honours the lock cannot change the file in between and lose its change to
// ours. Let go when the holder ends.
class StoreLock {
public:
    StoreLock() = default;
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    // Takes the lock of the folder file lies in; a lock another program keeps beyond the
    // run's bound refuses the store (the failure names the folder).
    void take(const QString& file);

private:
    bool held_ = false;
};

// Right after a profile read of file: raises the failure of a file that could not be read (no
// permission, I/O error, too many open files, not an ordinary file, ...), naming the file and
// the reason. The error protocol tells each such file once a run (diag/Procedure.h).
void requireRead(const QString& file);

// Notes whether the last INI read gave a value that may be built on.
void noteReadOutcome(bool read);

// Whether the last INI read (LoadIniString, LoadIniInteger) failed: its value is no entry's
// value, and no store may be built on it.
bool lastReadFailed();

// Whether every read and every store of this run so far succeeded.
bool everyStoreLanded();
