#include "diag/Logs.h"

#include "platform/Cp1252.h"
#include "platform/Failure.h"
#include "platform/PathCase.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "run/HostPath.h"
#include "run/ProgramFolders.h"
#include "run/RunState.h"
#include "run/Switches.h"

namespace {
const QByteArray EntryEnd = QByteArrayLiteral("\r\n");

// The fixed place of the service log, unless the environment names another.
const QString ServiceLogDefault = QStringLiteral("/OstrelServicePack.log");

void appendEntry(const QString& path, const QString& text) {
    platform::current().appendToFile(path, platform::toCp1252(text) + EntryEnd);
}
} // namespace

QString errorLogPath() {
    if (StartModeIntegrated)
        return hostLogFile();
    return installationFolder() + QStringLiteral("/JX5cfglog.txt");
}

QString serviceLogPath() {
    const std::optional<QString> configured =
        platform::current().environmentValue(QStringLiteral("MAINPICTURE_SERVICE_LOG"));
    return configured && !configured->isEmpty() ? *configured
                                                : platform::existingSpelling(ServiceLogDefault);
}

QString WriteErrorLog(const QString& text, bool announce) {
    const QString logPath = errorLogPath();
    // The host's LOGFILE value is an upper-cased path in its own form; find the real folder.
    // Our own log is found as the installation spells it, like every installation file.
    const QString file = StartModeIntegrated ? resolveHostPathIgnoringCase(logPath)
                                             : platform::existingSpelling(logPath);
    if (file.isEmpty())
        raiseFailure(logPath.isEmpty() ? BadFileName : PathNotFound);
    appendEntry(file, text);
    const QString confirmation = QStringLiteral("Error logged to ") + MessageLineBreak +
                                 platform::printablePath(platform::upperCase(logPath));
    if (announce) {
        ReportFault(confirmation);
        return QString();
    }
    return confirmation;
}

void WriteServiceLog(const QString& text) {
    appendEntry(serviceLogPath(), QStringLiteral("! Fault ") +
                                      platform::current().executableName() + QStringLiteral(": ") +
                                      text);
}

void ReportFault(const QString& text) {
    if (StartModeSilent || unattendedRun()) {
        WriteServiceLog(text);
        return;
    }
    platform::current().messageBox(text, platform::current().executableName(),
                                   platform::Icon::Critical, platform::Buttons::Ok,
                                   platform::Answer::Ok);
}
