#pragma once
// The start mode, decided once during start-up by GetStartModeIntegrated (dialog/StartMode.h):
// both flags false until then, never both true. The dialog, the file locations, the logs and
// the error protocol read them.

struct StartMode {
    bool integrated = false;
    bool silent = false;
};

extern StartMode RunStartMode;

// True only after an EXTERNAL switch with the value JX5CFG.
inline bool& StartModeIntegrated = RunStartMode.integrated;
// True only after an EXTERNAL switch with the value SILENT.
inline bool& StartModeSilent = RunStartMode.silent;

// Both flags back to program start, for a test's next run.
void resetStartMode();
