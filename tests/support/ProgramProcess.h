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

// The program under test: the one MAINPICTURE_PROGRAM names (an installed one), else the
// build's own.
inline QString programUnderTest() {
    return qEnvironmentVariable("MAINPICTURE_PROGRAM", QStringLiteral(MAINPICTURE_EXECUTABLE));
}

struct ProgramProcess {
    explicit ProgramProcess(const TempInstallation& installation)
        : executable(installation.programFolder() + QLatin1Char('/') +
                     QFileInfo(programUnderTest()).fileName()) {
        QFile::copy(programUnderTest(), executable);
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(variable));
        environment.insert(QStringLiteral("MAINPICTURE_SERVICE_LOG"),
                           installation.path(QStringLiteral("service.log")));
    }

    // A run started and left running, for runs at once and runs killed; of the program, or of
    // another command that starts it (strace).
    std::unique_ptr<QProcess> start(const QStringList& arguments,
                                    const std::function<void()>& inChild = nullptr,
                                    const QString& command = {}) const {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        if (inChild)
            process->setChildProcessModifier(inChild);
        process->start(command.isEmpty() ? executable : command, arguments);
        return process;
    }

    ProcessResult run(const QStringList& arguments, int timeoutMs = 30000,
                      const std::function<void()>& inChild = nullptr,
                      const QString& command = {}) const {
        const std::unique_ptr<QProcess> started = start(arguments, inChild, command);
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
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        const ProcessResult result = strace.isEmpty()
                                         ? ProcessResult{}
                                         : run(QStringList{u"-f"_s, u"-qq"_s} + straceOptions +
                                                   QStringList{u"--"_s, executable} + arguments,
                                               60000, nullptr, strace);
        if (result.exitCode < 0 || result.standardError.contains("ptrace"))
            return std::nullopt;
        return result;
    }

    const QString executable;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};
