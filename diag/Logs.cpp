#include "diag/Logs.h"

#include "core/Cp1252.h"
#include "core/Failure.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "run/HostPath.h"
#include "run/RunFacts.h"
#include "run/RunState.h"

namespace {
const QByteArray EntryEnd = QByteArrayLiteral("\r\n");

// The fixed place of the service log, unless the environment names another.
const QString ServiceLogDefault = QStringLiteral("/OstrelServicePack.log");

void appendEntry(const QString& path, const QString& text) {
    if (path.isEmpty())
        raiseFailure(BadFileName);
    if (const int error = platform::current().appendToFile(path, core::toCp1252(text) + EntryEnd))
        raiseLogFailure(error);
}
} // namespace

QString errorLogPath() {
    if (StartModeIntegrated)
        return runFacts().logFile;
    return runFacts().installationFolder + QStringLiteral("/JX5cfglog.txt");
}

QString serviceLogPath() {
    const std::optional<QString> configured =
        platform::current().environmentValue(QStringLiteral("MAINPICTURE_SERVICE_LOG"));
    return configured && !configured->isEmpty() ? *configured : onDiskSpelling(ServiceLogDefault);
}

QString WriteErrorLog(const QString& text, bool announce) {
    const QString logPath = errorLogPath();
    // The host's LOGFILE value is an upper-cased path in its own form; find the real folder.
    // Our own log is found as the installation spells it, like every installation file.
    const QString file =
        StartModeIntegrated ? resolveHostPathIgnoringCase(logPath) : onDiskSpelling(logPath);
    if (file.isEmpty())
        raiseFailure(logPath.isEmpty() ? BadFileName : PathNotFound);
    appendEntry(file, text);
    const QString confirmation = QStringLiteral("Error logged to ") + MessageLineBreak +
                                 core::printablePath(core::upperCase(logPath));
    if (announce) {
        ReportFault(confirmation);
        return QString();
    }
    return confirmation;
}

void WriteServiceLog(const QString& text) {
    appendEntry(serviceLogPath(), QStringLiteral("! Fault ") + runFacts().executableName +
                                      QStringLiteral(": ") + text);
}

void ReportFault(const QString& text) {
    if (StartModeSilent || runFacts().unattended) {
        WriteServiceLog(text);
        return;
    }
    platform::current().messageBox(text, runFacts().executableName, platform::Icon::Critical,
                                   platform::Buttons::Ok, platform::Answer::Ok);
}
