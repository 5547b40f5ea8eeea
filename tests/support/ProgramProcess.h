#pragma once
// Runs the built program as a process in a temporary installation: the executable is copied
// into the installation's program folder, so the program finds its files as it would on a
// real machine. No display and no platform chosen, as on a server; a private service log.

#include "support/TempInstallation.h"

#include <QProcess>

struct ProcessResult {
    int exitCode = -1;
    bool crashed = false; // also when it had to be killed after the time-out
    QByteArray standardError, standardOutput = {};
};

struct ProgramProcess {
    explicit ProgramProcess(const TempInstallation& installation)
        : executable(installation.programFolder() + QLatin1Char('/') +
                     QFileInfo(QStringLiteral(MAINPICTURE_EXECUTABLE)).fileName()) {
        QFile::copy(QStringLiteral(MAINPICTURE_EXECUTABLE), executable);
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(variable));
        environment.insert(QStringLiteral("MAINPICTURE_SERVICE_LOG"),
                           installation.path(QStringLiteral("service.log")));
    }

    ProcessResult run(const QStringList& arguments, int timeoutMs = 30000) const {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(executable, arguments);
        if (!process.waitForStarted(timeoutMs))
            return {};
        if (!process.waitForFinished(timeoutMs))
            process.kill();
        process.waitForFinished();
        return {process.exitCode(), process.exitStatus() == QProcess::CrashExit,
                process.readAllStandardError(), process.readAllStandardOutput()};
    }

    const QString executable;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};
