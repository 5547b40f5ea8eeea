#include "store/StoreCheck.h"

#include "platform/Failure.h"
#include "platform/Platform.h"
#include "run/RunState.h"

void requireStored(qint16 saveResult, const QString& file) {
    if (saveResult != 0)
        return;
    refuseStore(file, platform::current().lastWriteError());
}

void refuseStore(const QString& file, int systemError) {
    Run.storeMissed = true;
    raiseWriteFailure(file, systemError);
}

StoreLock::~StoreLock() {
    if (held_)
        platform::current().releaseFolderLock();
}

void StoreLock::take(const QString& file) {
    if (const int error = platform::current().holdFolderLock(file))
        refuseStore(file, error);
    held_ = true;
}

void requireRead(const QString& file) {
    if (const int error = platform::current().lastReadError(); error != 0)
        raiseReadFailure(file, error);
}

void noteReadOutcome(bool read) {
    Run.lastReadFailed = !read;
}

bool lastReadFailed() {
    return Run.lastReadFailed;
}

bool everyStoreLanded() {
    return !Run.storeMissed;
}
