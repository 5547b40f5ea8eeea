// The program killed at random moments while it stores (MAINPICTURE_KILL_RUNS times, or 40):
// every file is old or new and complete, and the next run removes what a killed save left.

#include "support/ProgramProcess.h"

#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

namespace {

using T = TempInstallation;

// A complete earlier state of a file written entry by entry: a prefix that ends at a line end.
bool isCompleteEarlierState(const QByteArray& bytes, const QByteArray& final) {
    return final.startsWith(bytes) && (bytes.isEmpty() || bytes.endsWith("\r\n"));
}

TEST(CrashSafetyTest, AKilledStoreLeavesEveryFileOldOrNewAndComplete) {
    const TempInstallation installation;
    const ProgramProcess program{installation};
    const auto resetInstallation = [&] {
        QFile::remove(installation.path(T::LanguageFile));
        installation.writeTypical();
    };
    resetInstallation();
    ASSERT_EQ(program.run(Silent).exitCode, 0);
    const QByteArray newProgramIni = installation.read(T::ProgramIni);
    const QByteArray finalCfg = installation.read(T::Cfg);
    const QByteArray finalLanguage = installation.read(T::LanguageFile);
    ASSERT_NE(newProgramIni, T::TypicalProgramIni);

    const int runs = qEnvironmentVariableIntValue("MAINPICTURE_KILL_RUNS");
    int killedWhileRunning = 0;
    for (int run = 0; run < (runs > 0 ? runs : 40); ++run) {
        resetInstallation();
        const auto process = program.start(Silent);
        ASSERT_TRUE(process->waitForStarted());
        QThread::usleep(QRandomGenerator::global()->bounded(80000));
        if (process->state() == QProcess::Running) {
            ::kill(static_cast<pid_t>(process->processId()), SIGKILL);
            ++killedWhileRunning;
        }
        process->waitForFinished();

        const QByteArray programIni = installation.read(T::ProgramIni);
        EXPECT_TRUE(programIni == T::TypicalProgramIni || programIni == newProgramIni) << run;
        EXPECT_TRUE(isCompleteEarlierState(installation.read(T::Cfg), finalCfg)) << run;
        EXPECT_TRUE(isCompleteEarlierState(installation.read(T::LanguageFile), finalLanguage))
            << run;
        // A killed save may leave its temporary file; the next run clears it.
        if (!installation.leftovers().isEmpty()) {
            EXPECT_EQ(program.run(Silent).exitCode, 0) << run;
            EXPECT_EQ(installation.leftovers(), QStringList()) << run;
        }
    }
    EXPECT_GT(killedWhileRunning, 0);
    std::printf("%d kills while running\n", killedWhileRunning);
}

} // namespace
