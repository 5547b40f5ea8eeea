#pragma once
// Runs the built program as a process in a temporary installation: the executable is copied
// into the installation's program folder, so the program finds its files as it would on a
// real machine.

#include "support/TempInstallation.h"

#include <QProcessEnvironment>
#include <QStringList>

struct ProcessResult {
    int exitCode = -1;
    bool crashed = false;
    bool timedOut = false;
    QByteArray standardError;
};

class ProgramProcess {
public:
    // Copies the executable into installation's program folder.
    explicit ProgramProcess(const TempInstallation& installation);

    QString executable() const { return executable_; }
    // No display and no platform chosen, as on a server; a private service log.
    QProcessEnvironment environment;

    ProcessResult run(const QStringList& arguments, int timeoutMs = 30000) const;

private:
    QString executable_;
};
