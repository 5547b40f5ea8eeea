#include "store/StoreCheck.h"

#include "platform/Failure.h"
#include "platform/Platform.h"

#include <QSet>

namespace {
bool storeMissed = false;
bool lastRead = true;
QSet<QString> unreadableFiles;
} // namespace

void requireStored(qint16 saveResult, const QString& file) {
    if (saveResult != 0)
        return;
    refuseStore(file, platform::current().lastWriteError());
}

void refuseStore(const QString& file, int systemError) {
    storeMissed = true;
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

bool requireRead(const QString& file) {
    const int error = platform::current().lastReadError();
    if (error == 0)
        return true;
    if (unreadableFiles.contains(file))
        return false;
    unreadableFiles.insert(file);
    raiseReadFailure(file, error);
}

void noteReadOutcome(bool read) {
    lastRead = read;
    if (!read)
        storeMissed = true;
}

bool lastReadFailed() {
    return !lastRead;
}

bool everyStoreLanded() {
    return !storeMissed;
}

void resetStoreOutcome() {
    storeMissed = false;
    lastRead = true;
    unreadableFiles.clear();
}
