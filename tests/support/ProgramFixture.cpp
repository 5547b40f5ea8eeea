#include "support/ProgramFixture.h"

#include "env/MachineList.h"
#include "env/StartMode.h"
#include "i18n/InfoText.h"
#include "i18n/ToolTipTexts.h"

void resetProgramState() {
    resetStartMode();
    resetMachineList();
    resetInfoTextState();
    HelpTexts.clear();
}

ProgramFixture::ProgramFixture() {
    resetProgramState();
    platform.folder = installation.programFolder();
    platform.environment.insert(QStringLiteral("MAINPICTURE_SERVICE_LOG"),
                                installation.path(QStringLiteral("service.log")));
}

QByteArrayList ProgramFixture::errorLogEntries() const {
    const QByteArray bytes = installation.read(QStringLiteral("JX5cfglog.txt"));
    QByteArrayList entries;
    qsizetype start = 0;
    for (qsizetype end = bytes.indexOf("\r\n"); end >= 0; end = bytes.indexOf("\r\n", start)) {
        entries.append(bytes.mid(start, end - start));
        start = end + 2;
    }
    if (start < bytes.size())
        entries.append(bytes.mid(start)); // an entry without its line end would be a fault
    return entries;
}

void ProgramFixture::writeStandardFiles(int mainPictureStatus) const {
    installation.write(QStringLiteral("parameter/Program.ini"),
                       "[Machine1]\r\nMainPictureStatus=" + QByteArray::number(mainPictureStatus) +
                           "\r\n");
    installation.write(QStringLiteral("415_MainPicture/415_MainPicture.cfg"), "[Project]\r\n");
}
