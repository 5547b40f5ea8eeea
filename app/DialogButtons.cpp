// The dialog's buttons and its closing: OK stores and ends, Cancel and the window frame's
// close ask first, and the question-mark button switches the help mode.

#include "app/frm_415_MainPicture_Config_Exe.h"

#include "app/AccessibleWindow.h"
#include "diag/Logs.h"
#include "diag/Procedure.h"
#include "env/ProgramNames.h"
#include "env/StartMode.h"
#include "i18n/InfoText.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "store/StoreCheck.h"

#include <QCloseEvent>

namespace {
constexpr QColor HelpModeGreen{0, 255, 0};
} // namespace

void frm_415_MainPicture_Config_Exe::connectButtonClicks() {
    using Window = frm_415_MainPicture_Config_Exe;
    connect(CommandOK, &QPushButton::clicked, this, &Window::CommandOK_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &Window::CommandCancel_Click);
    connect(CommandQuest, &QPushButton::clicked, this, &Window::CommandQuest_Click);
}

void frm_415_MainPicture_Config_Exe::CommandQuest_Click() {
    // The switch has no failure handling of its own; it runs as a step so that no failure
    // can escape into the toolkit's event loop.
    Procedure procedure("CommandQuest_Click");
    procedure.step([&] {
        HelpMode = !HelpMode;
        CommandQuest->setBackColor(HelpMode ? HelpModeGreen : design::LightGrey);
        announceHelpModeSwitched(CommandQuest);
    });
}

void frm_415_MainPicture_Config_Exe::CommandOK_Click() {
    Procedure procedure("CommandOK_Click");
    if (procedure.test([] { return HelpMode; })) {
        procedure.step([&] { ShowInfoText(CommandOK); });
        return;
    }
    procedure.step([&] { CommandOK->setEnabled(false); });
    procedure.step([&] { CommandCancel->setEnabled(false); });
    procedure.step([&] { CloseMe(); });
}

void frm_415_MainPicture_Config_Exe::CloseMe() {
    Procedure procedure("CloseMe");
    procedure.step([] { platform::current().processPendingEvents(); });
    procedure.step([] { platform::current().setMousePointer(platform::Pointer::Hourglass); });
    procedure.step([&] { WriteInputs(); });
    procedure.step([] { platform::current().setMousePointer(platform::Pointer::Default); });
    platform::endAtOnce(everyStoreLanded() ? platform::ExitNormal : platform::ExitNotStored);
}

void frm_415_MainPicture_Config_Exe::CommandCancel_Click() {
    Procedure procedure("CommandCancel_Click");
    if (procedure.test([] { return HelpMode; })) {
        procedure.step([&] { ShowInfoText(CommandCancel); });
        return;
    }
    // A confirmation that fails and is resumed ends the program, as a confirmed one does.
    if (procedure.test([&] { return ConfirmCancel(); }))
        platform::endAtOnce(platform::ExitNormal);
}

void frm_415_MainPicture_Config_Exe::Form_QueryUnload(bool& cancel, int /*unloadMode*/) {
    Procedure procedure("Form_QueryUnload");
    // A confirmation that fails refuses the close: the window stays open.
    bool leave = false;
    procedure.step([&] { leave = ConfirmCancel(); });
    if (!leave)
        cancel = true;
}

bool frm_415_MainPicture_Config_Exe::ConfirmCancel() {
    QString text = QStringLiteral("Cancel edits?") + MessageLineBreak + QStringLiteral("Remark:") +
                   MessageLineBreak + QStringLiteral("Until now no changes have been taken over ");
    if (StartModeIntegrated) {
        text += MessageLineBreak + QLatin1Char('"') + GetOCXName() + QLatin1Char('"') +
                QStringLiteral(" has to be configured again in ") +
                QStringLiteral("\"standalone-mode\"") + QStringLiteral(" via ") + MessageLineBreak +
                QLatin1Char('"') +
                platform::printablePath(programFolder() + QLatin1Char('/') +
                                        platform::current().executableFileName()) +
                QLatin1Char('"');
    }
    if (StartModeSilent) {
        WriteServiceLog(text);
        return true;
    }
    const platform::Answer answer =
        platform::current().messageBox(text, QStringLiteral("Cancel?"), platform::Icon::Exclamation,
                                       platform::Buttons::YesNo, platform::Answer::No);
    if (answer != platform::Answer::Yes)
        return false;
    WriteErrorLog(QStringLiteral("Konfigurations-EXE wurde abgebrochen:     ") + GetOCXName(),
                  false);
    return true;
}

void frm_415_MainPicture_Config_Exe::closeEvent(QCloseEvent* event) {
    // Every close the window frame asks for (close button, system menu, Alt+F4, the session
    // ending) comes here; ending at once never does.
    bool cancel = false;
    Form_QueryUnload(cancel, 0);
    if (cancel)
        event->ignore();
    else
        event->accept();
}
