// The program's one entry point for all three start modes: standalone, integrated and
// silent. A silent run works on the dialog's model alone: it starts no GUI application, so no
// box can be opened and nothing waits for a person. An interactive run loads the window, which
// runs the start-up sequence on the model it shows.

#include "app/CommandLineHelp.h"
#include "app/OptionsCommand.h"
#include "diag/ErrorProtocol.h"
#include "dialog/Dialog.h"
#include "platform/MachinePlatform.h"
#include "run/RunFacts.h"
#include "window/DesktopPlatform.h"
#include "window/frm_415_MainPicture_Config_Exe.h"

#include <QApplication>
#include <QSessionManager>

#include <csignal>
#include <cstdio>

namespace {
// Qt's platform plugin used when a display cannot be reached: it lets the program see that
// there is none and say so, instead of the toolkit aborting.
constexpr char NoDisplayFallback[] = "offscreen";

QtMessageHandler toolkitHandler = nullptr;

// While the toolkit looks for a display, its own complaints about an unreachable one are
// replaced by the program's single line.
void quietPlatformMessages(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (context.category != nullptr && qstrncmp(context.category, "qt.qpa", 6) == 0)
        return;
    if (message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    toolkitHandler(type, context, message);
}

int sayNoDisplay(const QString& executable) {
    std::fprintf(stderr,
                 "%s: no display to show the dialog on (set DISPLAY, or start with "
                 "/EXTERNAL=SILENT)\n",
                 qPrintable(executable));
    return platform::ExitNoDisplay;
}

// The interactive run: the real machine with a screen, the toolkit, the window.
int runWithWindow(int argc, char** argv) {
    window::DesktopPlatform desktop(argc, argv);
    platform::install(&desktop);
    installRunFacts(factsOf(desktop));
    const bool platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (!platformChosen) {
        if (qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            return sayNoDisplay(desktop.executableFileName());
        qputenv("QT_QPA_PLATFORM", QByteArray("wayland;xcb;") + NoDisplayFallback);
    }
    toolkitHandler = qInstallMessageHandler(quietPlatformMessages);
    QApplication application(argc, argv);
    qInstallMessageHandler(toolkitHandler);
    if (!platformChosen && QGuiApplication::platformName() == NoDisplayFallback)
        return sayNoDisplay(desktop.executableFileName());
    frm_415_MainPicture_Config_Exe window;
#ifndef QT_NO_SESSIONMANAGER
    // The session ending asks the window to close like its close button does.
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [&window](QSessionManager& manager) {
                         if (!manager.allowsInteraction())
                             return;
                         const bool closed = window.close();
                         manager.release();
                         if (!closed)
                             manager.cancel();
                     });
#endif
    window.Form_Load();
    window.show();
    return application.exec();
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit then fails the write that crosses it, which the save reports, instead
    // of killing the program in the middle of a save.
    std::signal(SIGXFSZ, SIG_IGN);
    platform::MachinePlatform machine(argc, argv);
    platform::install(&machine);
    installRunFacts(factsOf(machine));
    // "--help" and "--version" are answered before anything looks for a display or a file;
    // "--show" and "--set" without any window.
    if (const int status = answerInformationRequest(argc, argv); status >= 0)
        return status;
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const std::optional<int> status = answerOptionsRequest(arguments))
        return *status;
    // The start mode is decided later, by the start-up sequence; here it only chooses whether
    // a screen is needed at all. A silent run stores and ends inside the start-up; one that
    // comes back stored nothing (its start mode could not be decided).
    if (runFacts().unattended) {
        Dialog dialog;
        dialog.Form_Load();
        endRun(platform::ExitNotStored);
    }
    return runWithWindow(argc, argv);
}
