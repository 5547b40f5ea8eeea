#include "diag/ErrorProtocol.h"

#include "diag/Logs.h"
#include "diag/Procedure.h"
#include "platform/Failure.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "run/ProgramFolders.h"
#include "run/RunState.h"
#include "run/Switches.h"

#include <cstdio>

namespace {

// True while HandleError runs: a failure that arises meanwhile (an unwritable log, a box that
// cannot be shown) must not be handled again, or the protocol would recurse on itself.
bool handlingFailure = false;

class HandlingGuard {
public:
    HandlingGuard() { handlingFailure = true; }
    ~HandlingGuard() { handlingFailure = false; }
    HandlingGuard(const HandlingGuard&) = delete;
    HandlingGuard& operator=(const HandlingGuard&) = delete;
};

void sayOnStderr(const QString& what) {
    QString shown = currentExecutableName() + QStringLiteral(": ") + what;
    const QByteArray line = shown.replace(MessageLineBreak, QStringLiteral(" ")).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
}
} // namespace

QString currentExecutableName() {
    try {
        return platform::current().executableName();
    } catch (const Failure&) {
        return QString();
    }
}

qint32 HandleError(qint32 number, const QString& source, const QString& description,
                   const QString& procedureName, bool fatal) {
    if (handlingFailure) {
        sayOnStderr(QStringLiteral("failure while handling a failure: %1 (Nr. %2) :%3")
                        .arg(procedureName)
                        .arg(number)
                        .arg(description));
        return 2;
    }
    const HandlingGuard guard;

    // Read as the operation GetOCXName always read it, so that a failure in reading it is
    // handled as one while handling a failure.
    QString component;
    Procedure("GetOCXName").step([&] { component = componentName(); });
    const QString logLine = QStringLiteral("Fehler in ") + component + QStringLiteral(" / ") +
                            source + QStringLiteral(" / ") + procedureName +
                            QStringLiteral(" (Nr. ") + QString::number(number) +
                            QStringLiteral(") :") + description;
    QString confirmation;
    try {
        confirmation = WriteErrorLog(logLine, false);
    } catch (const Failure& failure) {
        // Telling the user "logged" when nothing was logged would hide the failure for good.
        sayOnStderr(
            QStringLiteral("error log not written (%1): %2").arg(failure.description, logLine));
        confirmation = QStringLiteral("Error could not be logged to ") + MessageLineBreak +
                       platform::printablePath(platform::upperCase(errorLogPath()));
    }
    const QString message = QStringLiteral("Unexpected error!") + MessageLineBreak + description +
                            MessageLineBreak + confirmation;

    qint32 decision = 2;
    try {
        // Before the start mode is decided, a silent run is already one that nobody watches.
        if (StartModeSilent || unattendedRun()) {
            WriteServiceLog(message);
        } else if (!fatal) {
            const platform::Answer answer = platform::current().messageBox(
                message + MessageLineBreak + QStringLiteral("Resume?"),
                QStringLiteral("Unexpected error"), platform::Icon::Critical,
                platform::Buttons::YesNo, platform::Answer::Yes);
            decision = answer == platform::Answer::No ? 1 : 2;
        } else {
            platform::current().messageBox(message, QStringLiteral("Fatal error"),
                                           platform::Icon::Critical, platform::Buttons::Ok,
                                           platform::Answer::Ok);
            decision = 1;
        }
    } catch (const Failure& failure) {
        sayOnStderr(QStringLiteral("failure not reported (%1): %2")
                        .arg(failure.description, QString(message).replace(MessageLineBreak, " ")));
        if (fatal)
            decision = 1;
    }
    return decision;
}

void EndProgram() {
    platform::endAtOnce(platform::ExitEndProgram);
}
