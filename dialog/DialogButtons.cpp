// The dialog's buttons and its closing: OK stores and ends, Cancel and the window frame's
// close ask first, and the question-mark button switches the help mode.

#include "dialog/Dialog.h"

#include "core/Text.h"
#include "diag/ErrorProtocol.h"
#include "diag/Logs.h"
#include "diag/Procedure.h"
#include "dialog/StartMode.h"
#include "i18n/InfoText.h"
#include "platform/Platform.h"
#include "run/RunFacts.h"

void Dialog::CommandQuest_Click() {
    // The switch has no failure handling of its own; it runs as a step so that no failure
    // can escape into the toolkit's event loop.
    Procedure procedure("CommandQuest_Click");
    procedure.step([&] {
        model.HelpMode = !model.HelpMode;
        model.control("CommandQuest")
            .setBackColor(model.HelpMode ? design::HelpModeGreen : design::LightGrey);
    });
}

void Dialog::CommandOK_Click() {
    Procedure procedure("CommandOK_Click");
    if (procedure.test([&] { return model.HelpMode; })) {
        procedure.step([&] { ShowInfoText(model, model.control("CommandOK").index()); });
        return;
    }
    procedure.step([&] { model.control("CommandOK").setEnabled(false); });
    procedure.step([&] { model.control("CommandCancel").setEnabled(false); });
    procedure.step([&] { CloseMe(); });
}

void Dialog::CloseMe() {
    Procedure procedure("CloseMe");
    procedure.step([] { platform::current().processPendingEvents(); });
    procedure.step([] { platform::current().setMousePointer(platform::Pointer::Hourglass); });
    procedure.step([&] { WriteInputs(); });
    procedure.step([] { platform::current().setMousePointer(platform::Pointer::Default); });
    endRun(everythingReadAndStored() ? platform::ExitNormal : platform::ExitNotStored);
}

void Dialog::CommandCancel_Click() {
    Procedure procedure("CommandCancel_Click");
    if (procedure.test([&] { return model.HelpMode; })) {
        procedure.step([&] { ShowInfoText(model, model.control("CommandCancel").index()); });
        return;
    }
    // A confirmation that fails and is resumed ends the program, as a confirmed one does.
    if (procedure.test([&] { return ConfirmCancel(); }))
        platform::endAtOnce(platform::ExitNormal);
}

void Dialog::Form_QueryUnload(bool& cancel, int /*unloadMode*/) {
    Procedure procedure("Form_QueryUnload");
    // A confirmation that fails refuses the close: the window stays open.
    bool leave = false;
    procedure.step([&] { leave = ConfirmCancel(); });
    if (!leave)
        cancel = true;
}

bool Dialog::ConfirmCancel() {
    QString text = QStringLiteral("Cancel edits?") + MessageLineBreak + QStringLiteral("Remark:") +
                   MessageLineBreak + QStringLiteral("Until now no changes have been taken over ");
    if (StartModeIntegrated) {
        text += MessageLineBreak + QLatin1Char('"') + GetOCXName() + QLatin1Char('"') +
                QStringLiteral(" has to be configured again in ") +
                QStringLiteral("\"standalone-mode\"") + QStringLiteral(" via ") + MessageLineBreak +
                QLatin1Char('"') +
                core::printablePath(runFacts().programFolder + QLatin1Char('/') +
                                    runFacts().executableFileName) +
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
