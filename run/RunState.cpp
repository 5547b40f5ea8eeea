#include "run/RunState.h"

RunState Run;

void resetRunState() {
    Run = RunState();
}
