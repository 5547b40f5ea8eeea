// The program killed at random moments while it stores: program.ini, the .cfg file and the
// language file are always a complete old or new file (or, for a file written entry by entry,
// a complete earlier state of it), never a mix, and what a killed save leaves the next run
// removes.
// MAINPICTURE_KILL_RUNS sets the number of kills (the long form: 1000 or more).

#include "support/ProgramProcess.h"

#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

namespace {

const QByteArray OldProgramIni =
    "; line\r\n[Machine1]\r\nMainPictureStatus=-5\r\n[Machine2]\r\nx=1\r\n";
const QByteArray OldCfg = "[Project]\r\nValidMachines=1\r\n";
const QString ProgramIni = QStringLiteral("parameter/Program.ini");
const QString Cfg = QStringLiteral("415_MainPicture/415_MainPicture.cfg");
const QString LanguageFile = QStringLiteral("415_MainPicture/415_MainPicture_Config.ini");

const QStringList Silent = {QStringLiteral("/EXTERNAL=SILENT")};

// An earlier complete state of a file that is only ever extended entry by entry: a prefix of
// the final file that ends at a line end.
bool isCompleteEarlierState(const QByteArray& bytes, const QByteArray& final) {
    return final.startsWith(bytes) && (bytes.isEmpty() || bytes.endsWith("\r\n"));
}

class CrashSafetyTest : public testing::Test {
protected:
    // Temporary files of a save in every folder the program writes.
    int leftovers() const {
        int count = 0;
        for (const QString& folder : {u"parameter"_s, u"415_MainPicture"_s, QString()})
            count += QDir(installation.path(folder))
                         .entryList({u"*.mainpicture-save.*"_s}, QDir::Files | QDir::Hidden)
                         .size();
        return count;
    }
    void resetInstallation() const {
        QFile::remove(installation.path(LanguageFile));
        installation.write(ProgramIni, OldProgramIni);
        installation.write(Cfg, OldCfg);
    }

    TempInstallation installation;
    ProgramProcess program{installation};
};

TEST_F(CrashSafetyTest, AKilledStoreLeavesEveryFileOldOrNewAndComplete) {
    resetInstallation();
    ASSERT_EQ(program.run(Silent).exitCode, 0);
    const QByteArray newProgramIni = installation.read(ProgramIni);
    const QByteArray finalCfg = installation.read(Cfg);
    const QByteArray finalLanguage = installation.read(LanguageFile);
    ASSERT_NE(newProgramIni, OldProgramIni);

    const int runs = qEnvironmentVariableIntValue("MAINPICTURE_KILL_RUNS");
    int killedWhileRunning = 0;
    int leftBehind = 0;
    for (int run = 0; run < (runs > 0 ? runs : 40); ++run) {
        resetInstallation();
        QProcess process;
        process.setProcessEnvironment(program.environment);
        process.start(program.executable, Silent);
        ASSERT_TRUE(process.waitForStarted());
        QThread::usleep(QRandomGenerator::global()->bounded(80000));
        if (process.state() == QProcess::Running) {
            ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
            ++killedWhileRunning;
        }
        process.waitForFinished();

        const QByteArray programIni = installation.read(ProgramIni);
        EXPECT_TRUE(programIni == OldProgramIni || programIni == newProgramIni) << run;
        EXPECT_TRUE(isCompleteEarlierState(installation.read(Cfg), finalCfg)) << run;
        EXPECT_TRUE(isCompleteEarlierState(installation.read(LanguageFile), finalLanguage)) << run;
        // A killed save may leave its temporary file; the next run clears it.
        if (leftovers() > 0) {
            ++leftBehind;
            EXPECT_EQ(program.run(Silent).exitCode, 0) << run;
            EXPECT_EQ(leftovers(), 0) << run;
        }
        EXPECT_EQ(QDir(installation.path(u"parameter"_s)).entryList(QDir::Files | QDir::Hidden),
                  QStringList{u"Program.ini"_s})
            << run;
    }
    EXPECT_GT(killedWhileRunning, 0);
    std::printf("%d kills while running, %d left a temporary file that the next run removed\n",
                killedWhileRunning, leftBehind);
}

} // namespace
