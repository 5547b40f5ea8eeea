#pragma once
// Everything a run changes after it has started, in one place. resetRunState() puts all of it
// back to its start value at once, so new mutable state belongs here, with its start value as
// the member's initializer; the layer that owns a value names it by a reference into Run
// (StartModeIntegrated, HelpMode, ...).

#include "run/HelpTextTable.h"

#include <QSet>
#include <QString>
#include <QStringList>

struct RunState {
    // The start mode, decided once during start-up by GetStartModeIntegrated.
    bool startModeIntegrated = false;
    bool startModeSilent = false;
    // The machine list and the Program.ini it was read from (GetExistingMachines).
    QStringList existingMachines;
    QString programIniFile;
    // A store the run is for did not land, or a read failed (store/StoreCheck).
    bool storeMissed = false;
    // The last INI read failed; how many reads failed so far; the files whose read failure was
    // told (each is told once a run).
    bool lastReadFailed = false;
    int failedReads = 0;
    QSet<QString> unreadableFiles;
    // The help mode and the click it raises itself (InfoText).
    bool helpMode = false;
    bool ignoreNextClick = false;
    HelpTextTable helpTexts;
};

extern RunState Run;

// Every value back to program start, the platform's folder lock and its one bound on waiting
// for locks included.
void resetRunState();

// True only after an EXTERNAL switch with the value JX5CFG.
inline bool& StartModeIntegrated = Run.startModeIntegrated;
// True only after an EXTERNAL switch with the value SILENT.
inline bool& StartModeSilent = Run.startModeSilent;
