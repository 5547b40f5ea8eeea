#include "run/RunState.h"

StartMode RunStartMode;

void resetStartMode() {
    RunStartMode = StartMode();
}
