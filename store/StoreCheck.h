#pragma once
// Whether the stores a run is for landed. A store that did not land is a failure the user
// hears of, named with its file and the system's reason, and the exit status tells it too.

#include "store/IniAccess.h"

#include <QString>

// For the outcome of a store the run is for: one that did not land raises the failure that
// names the file and the system's reason (no space left, permission denied, read-only file
// system, not found, another program keeps the folder locked, ...).
void requireStored(const Saved& saved, const QString& file);

// Raises the failure of a store the run is for that cannot be made.
[[noreturn]] void refuseStore(const QString& file, int systemError,
                              const QString& lockedFolder = {});

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
