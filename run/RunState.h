#pragma once
// Everything a run changes after it has started, in one place. resetRunState() puts all of it
// back to its start value at once, so new mutable state belongs here, with its start value as
// the member's initializer; the layer that owns a value names it by a reference into Run
// (StartModeIntegrated, HelpMode, ...).

#include "run/HelpTextTable.h"

#include <QString>
#include <QStringList>

struct RunState {
    // The start mode, decided once during start-up by GetStartModeIntegrated.
    bool startModeIntegrated = false;
    bool startModeSilent = false;
    // The machine list and the Program.ini it was read from (GetExistingMachines).
    QStringList existingMachines;
    QString programIniFile;
    // A store the run is for did not land (requireStored).
    bool storeMissed = false;
    // The help mode and the click it raises itself (InfoText).
    bool helpMode = false;
    bool ignoreNextClick = false;
    HelpTextTable helpTexts;
};

extern RunState Run;

// Every value back to program start.
void resetRunState();

// True only after an EXTERNAL switch with the value JX5CFG.
inline bool& StartModeIntegrated = Run.startModeIntegrated;
// True only after an EXTERNAL switch with the value SILENT.
inline bool& StartModeSilent = Run.startModeSilent;
