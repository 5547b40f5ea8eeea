#include "support/ProgramProcess.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

ProgramProcess::ProgramProcess(const TempInstallation& installation)
    : executable_(installation.programFolder() + QLatin1Char('/') +
                  QFileInfo(QStringLiteral(MAINPICTURE_EXECUTABLE)).fileName()) {
    QFile::copy(QStringLiteral(MAINPICTURE_EXECUTABLE), executable_);
    environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("MAINPICTURE_SERVICE_LOG"),
                       installation.path(QStringLiteral("service.log")));
}

ProcessResult ProgramProcess::run(const QStringList& arguments, int timeoutMs) const {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(executable_, arguments);
    ProcessResult result;
    if (!process.waitForStarted(timeoutMs))
        return result;
    if (!process.waitForFinished(timeoutMs)) {
        result.timedOut = true;
        process.kill();
        process.waitForFinished();
    }
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    result.standardError = process.readAllStandardError();
    return result;
}
