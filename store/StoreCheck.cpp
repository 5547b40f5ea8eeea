#include "store/StoreCheck.h"

#include "platform/Failure.h"
#include "platform/Platform.h"

namespace {
bool storeMissed = false;
} // namespace

void requireStored(qint16 saveResult, const QString& file) {
    if (saveResult != 0)
        return;
    storeMissed = true;
    raiseWriteFailure(file, platform::current().lastWriteError());
}

bool everyStoreLanded() {
    return !storeMissed;
}

void resetStoreOutcome() {
    storeMissed = false;
}
