// The start-up sequence that loading the window runs.

#include "app/frm_415_MainPicture_Config_Exe.h"

#include "diag/Procedure.h"
#include "env/ProgramNames.h"
#include "env/StartMode.h"
#include "i18n/ControlTexts.h"
#include "store/FileLocations.h"
#include "store/MachineList.h"

void frm_415_MainPicture_Config_Exe::Form_Load() {
    Procedure procedure("Form_Load");
    // Captions and the host's file come before the start mode is known: a failure in them is
    // shown in a box even in a silent run.
    procedure.step([] { LoadToolTipTexts(); });
    procedure.step([&] { ConfigurationIniFile = GetJX5ConfigurationIniPath(); });
    const QString title = QStringLiteral("Erweiterte Konfiguration ");
    if (procedure.test([] { return GetStartModeIntegrated(); })) {
        procedure.step([&] {
            setWindowTitle(title + GetFileNameOnly(programFolder()) +
                           QStringLiteral(" - integriert"));
        });
    } else {
        procedure.step([&] {
            setWindowTitle(title + GetFileNameOnly(programFolder()) +
                           QStringLiteral(" - standalone"));
        });
    }
    procedure.step([&] { GetExistingMachines(ConfigurationIniFile); });
    procedure.step([&] { SetupUserInterFace(); });
    if (procedure.test([] { return !StartModeSilent; })) {
        procedure.step([&] { CommandOK->setEnabled(true); });
        procedure.step([&] { CommandCancel->setEnabled(true); });
    } else {
        // A silent run confirms at once: it stores and ends, and the window is never shown.
        procedure.step([&] { CommandOK_Click(); });
    }
}
