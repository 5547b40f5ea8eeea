#include "diag/ErrorProtocol.h"

#include "core/Failure.h"
#include "core/Text.h"
#include "diag/Logs.h"
#include "platform/Platform.h"
#include "run/RunFacts.h"
#include "run/RunState.h"

#include <QSet>

#include <cstdio>

namespace {

// True while HandleError runs: a failure that arises meanwhile (an unwritable log, a box that
// cannot be shown) must not be handled again, or the protocol would recurse on itself.
bool handlingFailure = false;

struct Record {
    bool readFailed = false;
    bool storeMissed = false;
    QSet<QString> toldUnreadable;
};
Record record;

class HandlingGuard {
public:
    HandlingGuard() { handlingFailure = true; }
    ~HandlingGuard() { handlingFailure = false; }
    HandlingGuard(const HandlingGuard&) = delete;
    HandlingGuard& operator=(const HandlingGuard&) = delete;
};

void sayOnStderr(const QString& what) {
    QString shown = runFacts().executableName + QStringLiteral(": ") + what;
    const QByteArray line = shown.replace(MessageLineBreak, QStringLiteral(" ")).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
}
} // namespace

bool noteFailure(const Failure& failure) {
    record.storeMissed = record.storeMissed || failure.notStored;
    if (failure.unreadable.isEmpty())
        return true;
    record.readFailed = true;
    if (record.toldUnreadable.contains(failure.unreadable))
        return false;
    record.toldUnreadable.insert(failure.unreadable);
    return true;
}

bool everythingReadAndStored() {
    return !record.readFailed && !record.storeMissed;
}

void resetErrorProtocol() {
    record = Record();
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

    // The component's name is one of the run's facts: reading it cannot fail, so the protocol
    // never calls itself through it.
    const QString component = runFacts().componentName;
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
                       core::printablePath(core::upperCase(errorLogPath()));
    }
    const QString message = QStringLiteral("Unexpected error!") + MessageLineBreak + description +
                            MessageLineBreak + confirmation;

    qint32 decision = 2;
    try {
        // Before the start mode is decided, a silent run is already one that nobody watches.
        if (StartModeSilent || runFacts().unattended) {
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

void endRun(int exitCode) {
    const bool told = exitCode == platform::ExitFileMissing || exitCode == platform::ExitNotStored;
    if (told && (StartModeSilent || runFacts().unattended)) {
        QString serviceLog;
        try {
            serviceLog = serviceLogPath();
        } catch (const Failure&) {
            serviceLog = QStringLiteral("/OstrelServicePack.log");
        }
        sayOnStderr(QStringLiteral("%1 (status %2); see the service log %3 and the error log %4")
                        .arg(exitCode == platform::ExitFileMissing
                                 ? QStringLiteral("the component's .cfg file is missing")
                                 : QStringLiteral("a file could not be read or a store did not "
                                                  "land"))
                        .arg(exitCode)
                        .arg(serviceLog, errorLogPath()));
    }
    platform::endAtOnce(exitCode);
}
