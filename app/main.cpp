// The program's one entry point for all three start modes: standalone, integrated and
// silent. Loading the window runs the start-up sequence; a silent run ends inside it.

#include "app/CommandLineHelp.h"
#include "app/frm_415_MainPicture_Config_Exe.h"
#include "platform/QtPlatform.h"
#include "run/Switches.h"

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
} // namespace

int main(int argc, char** argv) {
    // A file-size limit then fails the write that crosses it, which the save reports, instead
    // of killing the program in the middle of a save.
    std::signal(SIGXFSZ, SIG_IGN);
    platform::QtPlatform realPlatform(argc, argv);
    platform::install(&realPlatform);
    // "--help" and "--version" are answered before anything looks for a display or a file.
    if (const int status = answerInformationRequest(argc, argv); status >= 0)
        return status;

    // The start mode is decided later, by the start-up sequence; here it only chooses
    // whether a screen is needed at all. A silent run shows nothing, so it runs anywhere.
    const bool silent = unattendedRun();
    const bool platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (!platformChosen) {
        if (silent) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        } else if (qEnvironmentVariableIsEmpty("DISPLAY") &&
                   qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            return sayNoDisplay(realPlatform.executableFileName());
        } else {
            qputenv("QT_QPA_PLATFORM", QByteArray("wayland;xcb;") + NoDisplayFallback);
        }
    }

    toolkitHandler = qInstallMessageHandler(quietPlatformMessages);
    QApplication application(argc, argv);
    qInstallMessageHandler(toolkitHandler);
    if (!platformChosen && !silent && QGuiApplication::platformName() == NoDisplayFallback)
        return sayNoDisplay(realPlatform.executableFileName());
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
    // A silent run ends inside the start-up. One that comes back stored nothing (its start mode
    // could not be decided), and nobody would ever close the window it has not shown.
    if (silent)
        return platform::ExitNotStored;
    window.show();
    return application.exec();
}
