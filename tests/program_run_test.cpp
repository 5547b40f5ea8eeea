// The built program as a process in temporary installations: a silent run, an interactive
// start without a display, and an interactive run on a virtual X display driven by keys.

#include "support/ProgramProcess.h"

#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

const QByteArray Cfg = "[Project]\r\nValidMachines=1\r\n";

class ProgramRunTest : public testing::Test {
protected:
    QByteArray read(const QString& file) const { return installation.read(file); }

    TempInstallation installation;
    ProgramProcess program{installation};
};

// The edit record scrambles the first entry of the environment the program was given: with
// none given, the value is empty (not the toolkit's platform, which the program sets itself).
TEST_F(ProgramRunTest, SilentRunStoresWritesTheEditRecordAndTheLanguageFile) {
    installation.writeStandard(0, Cfg);
    installation.write(TempInstallation::ProgramIni,
                       "; kept\r\n[Machine1]\r\nMainPictureStatus=-5\r\n[Other]\r\nx=1");
    ProcessResult result = program.run(Silent);
    EXPECT_EQ(result.exitCode, 0) << result.standardError.constData();
    EXPECT_EQ(read(TempInstallation::ProgramIni),
              "; kept\r\n[Machine1]\r\nMainPictureStatus=0\r\n[Other]\r\nx=1");
    EXPECT_TRUE(read(TempInstallation::Cfg)
                    .startsWith(Cfg + "[Info]\r\nS_Prog=2.0.0 - Standalone\r\nS_Editor="));
    EXPECT_TRUE(read(TempInstallation::LanguageFile).startsWith("[Language]\r\nLanguage=1031\r\n"));
    EXPECT_TRUE(read(TempInstallation::ServiceLog).isEmpty());
    program.environment = QProcessEnvironment();
    result = program.run(Silent);
    EXPECT_EQ(result.exitCode, 0) << result.standardError.constData();
    EXPECT_TRUE(read(TempInstallation::Cfg).endsWith("\r\nS_Editor=\r\n"));
}

// A display that cannot be reached is told in one line, as a missing one is.
TEST_F(ProgramRunTest, InteractiveStartWithAnUnreachableDisplaySaysSoInOneLine) {
    installation.writeStandard(3, Cfg);
    program.environment.insert(u"DISPLAY"_s, u":93"_s);
    const ProcessResult result = program.run({});
    EXPECT_TRUE(result.exitCode == 3 && !result.crashed);
    EXPECT_EQ(result.standardError.count('\n'), 1) << result.standardError.constData();
}

// Real key presses on a virtual X display, each once the window it types into has the focus
// (xdotool --sync), not after a time; all cut off after 20 s. Escape leaves the error box open
// and Return answers Yes; in the window Tab three times from OK reaches bit 0, and Enter on OK
// reads the value again, whose overflow box is answered Yes too. The exit code counts.
TEST_F(ProgramRunTest, AnInteractiveRunResumesAnErrorAndStoresWhatTheKeysTicked) {
    if (QStandardPaths::findExecutable(u"xvfb-run"_s).isEmpty() ||
        QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
        GTEST_SKIP() << "xvfb-run and xdotool are needed";
    installation.writeStandard(40000, Cfg); // an overflow, resumed as 0
    QProcess process;
    process.setProcessEnvironment(program.environment);
    process.start(
        u"xvfb-run"_s,
        {u"-a"_s, u"-s"_s, u"-screen 0 1024x768x24 -noreset"_s, u"sh"_s, u"-c"_s,
         u"timeout 20 \"$0\" & pid=$!; box='^Unexpected error$'; "
         "focus() { timeout 20 xdotool search --sync --onlyvisible --name \"$1\" windowfocus "
         "--sync; }; "
         "focus \"$box\"; xdotool key Escape; focus \"$box\"; xdotool key Return; "
         "focus 'Erweiterte Konfiguration'; "
         "xdotool key --delay 100 Tab Tab Tab space shift+Tab shift+Tab shift+Tab Return; "
         "focus \"$box\"; xdotool key Return; wait $pid"_s,
         program.executable});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
    EXPECT_EQ(read(TempInstallation::ProgramIni), "[Machine1]\r\nMainPictureStatus=1\r\n");
    EXPECT_TRUE(read(TempInstallation::ErrorLog).endsWith("(Nr. 6) :Overflow\r\n"));
}

} // namespace
