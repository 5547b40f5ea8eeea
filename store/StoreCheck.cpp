#include "store/StoreCheck.h"

#include "platform/Failure.h"
#include "platform/Platform.h"
#include "run/RunState.h"

void requireStored(qint16 saveResult, const QString& file) {
    if (saveResult != 0)
        return;
    Run.storeMissed = true;
    raiseWriteFailure(file, platform::current().lastWriteError());
}

bool everyStoreLanded() {
    return !Run.storeMissed;
}
