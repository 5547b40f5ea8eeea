#include "run/RunState.h"

#include "platform/SafeFile.h"

RunState Run;

void resetRunState() {
    Run = RunState();
    platform::file::releaseFolderLock();
    platform::file::resetLockWait();
}
