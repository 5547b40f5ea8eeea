#pragma once
// Runs the built program, copied into a temporary installation's program folder, as a
// process: no display and no platform chosen, as on a server; a private service log.

#include "support/TempInstallation.h"

#include <QProcess>
#include <QStandardPaths>

#include <functional>
#include <memory>
#include <optional>

struct ProcessResult {
    int exitCode = -1;
    bool crashed = false; // also when it had to be killed after the time-out
    QByteArray standardError, standardOutput = {};
};

inline const QStringList Silent = {QStringLiteral("/EXTERNAL=SILENT")};

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

    // A run started and left running, for runs at once and runs killed.
    std::unique_ptr<QProcess> start(const QStringList& arguments,
                                    const std::function<void()>& inChild = nullptr) const {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        if (inChild)
            process->setChildProcessModifier(inChild);
        process->start(executable, arguments);
        return process;
    }

    ProcessResult run(const QStringList& arguments, int timeoutMs = 30000,
                      const std::function<void()>& inChild = nullptr) const {
        const std::unique_ptr<QProcess> started = start(arguments, inChild);
        QProcess& process = *started;
        if (!process.waitForStarted(timeoutMs))
            return {};
        if (!process.waitForFinished(timeoutMs))
            process.kill();
        process.waitForFinished();
        return {process.exitCode(), process.exitStatus() == QProcess::CrashExit,
                process.readAllStandardError(), process.readAllStandardOutput()};
    }

    // The same run under strace with its options (fault injection), or nullopt when strace
    // is missing or cannot trace here. What strace printed is in standardError.
    std::optional<ProcessResult> traced(const QStringList& straceOptions,
                                        const QStringList& arguments) const {
        if (QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty())
            return std::nullopt;
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral("strace"),
                      QStringList{QStringLiteral("-f"), QStringLiteral("-qq")} + straceOptions +
                          QStringList{QStringLiteral("--"), executable} + arguments);
        if (!process.waitForFinished(60000))
            process.kill();
        process.waitForFinished();
        const QByteArray errors = process.readAllStandardError();
        if (errors.contains("ptrace") && errors.contains("Operation not permitted"))
            return std::nullopt;
        return ProcessResult{process.exitCode(), process.exitStatus() == QProcess::CrashExit,
                             errors, process.readAllStandardOutput()};
    }

    const QString executable;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};
