#include "store/StoreCheck.h"

#include "core/Failure.h"
#include "platform/Platform.h"

void requireStored(const Saved& saved, const QString& file) {
    if (saved.value == 0)
        refuseStore(file, saved.error, saved.lockedFolder);
}

void refuseStore(const QString& file, int systemError, const QString& lockedFolder) {
    raiseWriteFailure(file, systemError, lockedFolder);
}

StoreLock::~StoreLock() {
    if (held_)
        platform::current().releaseFolderLock();
}

void StoreLock::take(const QString& file) {
    const FileOutcome<bool> held = platform::current().holdFolderLock(file);
    if (!held.value)
        refuseStore(file, held.error, held.lockedFolder);
    held_ = true;
}
