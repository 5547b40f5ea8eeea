// The start-up sequence that loading the window runs.

#include "dialog/Dialog.h"

#include "diag/Procedure.h"
#include "dialog/StartMode.h"
#include "i18n/ControlTexts.h"
#include "run/RunFacts.h"
#include "store/FileLocations.h"
#include "store/MachineList.h"

Dialog::Dialog() {
    model.setClickNotification([this](int index) { CheckBox_Click(index); });
}

void Dialog::Form_Load() {
    Procedure procedure("Form_Load");
    // Captions and the host's file come before the start mode is known: a failure in them is
    // handled as in a standalone run (a silent run still shows no box).
    procedure.step([&] { LoadToolTipTexts(model); });
    procedure.step([&] { model.ConfigurationIniFile = GetJX5ConfigurationIniPath().value; });
    const QString title = QStringLiteral("Erweiterte Konfiguration ");
    if (procedure.test([] { return GetStartModeIntegrated(); })) {
        procedure.step([&] {
            model.setTitle(title + GetFileNameOnly(runFacts().programFolder) +
                           QStringLiteral(" - integriert"));
        });
    } else {
        procedure.step([&] {
            model.setTitle(title + GetFileNameOnly(runFacts().programFolder) +
                           QStringLiteral(" - standalone"));
        });
    }
    procedure.step([&] { model.machines = GetExistingMachines(model.ConfigurationIniFile).value; });
    procedure.step([&] { static_cast<void>(SetupUserInterFace()); });
    if (procedure.test([] { return !StartModeSilent; })) {
        procedure.step([&] { model.control("CommandOK").setEnabled(true); });
        procedure.step([&] { model.control("CommandCancel").setEnabled(true); });
    } else {
        // A silent run confirms at once: it stores and ends, and the window is never shown.
        procedure.step([&] { CommandOK_Click(); });
    }
}

void Dialog::Form_Activate() {
    Procedure procedure("Form_Activate");
    procedure.step([&] { model.control("CommandOK").setEnabled(true); });
}

void Dialog::Form_Resize() {
    Procedure procedure("Form_Resize");
    // Nothing to do: the controls keep their designed places and sizes.
}
