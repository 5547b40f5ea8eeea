#include "support/ProgramFixture.h"

#include "diag/ErrorProtocol.h"
#include "run/RunFacts.h"
#include "run/RunState.h"

void resetRun() {
    resetStartMode();
    resetErrorProtocol();
}

ProgramFixture::ProgramFixture() {
    resetRun();
    platform.folder = installation.programFolder();
    platform.environment.insert(QStringLiteral("MAINPICTURE_SERVICE_LOG"),
                                installation.path(QStringLiteral("service.log")));
    refreshFacts();
}

void ProgramFixture::nextRun() {
    resetRun();
    platform.freshFiles();
}

void ProgramFixture::refreshFacts() {
    installRunFacts(factsOf(platform));
}

QByteArrayList ProgramFixture::errorLogEntries() const {
    // An entry without its line end would be a fault, so a last piece is an entry of its own.
    QByteArrayList entries =
        TempInstallation::readFile(installation.errorLog()).replace("\r\n", "\x01").split('\x01');
    if (entries.last().isEmpty())
        entries.removeLast();
    return entries;
}
