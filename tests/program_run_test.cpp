// The built program as a process in temporary installations: silent runs without any
// display, an interactive start without one, and interactive runs on a virtual X display
// driven by key presses.

#include "support/ProgramProcess.h"

#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

const QByteArray Cfg = "[Project]\r\nValidMachines=1\r\n";
const QStringList Silent = {u"/EXTERNAL=SILENT"_s};

class ProgramRunTest : public testing::Test {
protected:
    void writeFiles(const QByteArray& programIni) {
        installation.write(u"parameter/Program.ini"_s, programIni);
        installation.write(u"415_MainPicture/415_MainPicture.cfg"_s, Cfg);
    }
    QByteArray read(const char* file) const { return installation.read(QString::fromLatin1(file)); }

    TempInstallation installation;
    ProgramProcess program{installation};
};

// The edit record scrambles the first entry of the environment the program was given: with
// none given, the value is empty (not the toolkit's platform, which the program sets itself).
TEST_F(ProgramRunTest, SilentRunStoresWritesTheEditRecordAndTheLanguageFile) {
    writeFiles("; kept\r\n[Machine1]\r\nMainPictureStatus=-5\r\n[Other]\r\nx=1");
    ProcessResult result = program.run(Silent);
    EXPECT_EQ(result.exitCode, 0) << result.standardError.constData();
    EXPECT_EQ(read("parameter/Program.ini"),
              "; kept\r\n[Machine1]\r\nMainPictureStatus=0\r\n[Other]\r\nx=1");
    EXPECT_TRUE(read("415_MainPicture/415_MainPicture.cfg")
                    .startsWith(Cfg + "[Info]\r\nS_Prog=2.0.0 - Standalone\r\nS_Editor="));
    EXPECT_TRUE(read("415_MainPicture/415_MainPicture_Config.ini")
                    .startsWith("[Language]\r\nLanguage=1031\r\n"));
    EXPECT_TRUE(read("service.log").isEmpty());
    program.environment = QProcessEnvironment();
    result = program.run(Silent);
    EXPECT_EQ(result.exitCode, 0) << result.standardError.constData();
    EXPECT_TRUE(read("415_MainPicture/415_MainPicture.cfg").endsWith("\r\nS_Editor=\r\n"));
}

TEST_F(ProgramRunTest, InteractiveStartWithoutADisplaySaysSoInOneLine) {
    writeFiles("[Machine1]\r\nMainPictureStatus=3\r\n");
    for (const char* display : {"", ":93"}) {
        if (*display != '\0')
            program.environment.insert(u"DISPLAY"_s, QString::fromLatin1(display));
        const ProcessResult result = program.run({});
        EXPECT_EQ(result.exitCode, 3);
        EXPECT_FALSE(result.crashed);
        EXPECT_EQ(result.standardError.count('\n'), 1) << result.standardError.constData();
    }
}

// On a virtual X display, real key presses go to the window once it is shown. The last key
// ends the program, so the typing may find the window gone; the program's exit code counts.
// Both are cut off after 20 s, so that a program left waiting fails instead of lingering.
// Escape does not answer the error box (No would end the program and lose the edits): the box
// stays open until Yes is chosen, and the run then goes on to store through OK.
TEST_F(ProgramRunTest, InteractiveRunsStoreThroughOkAndEscapeLeavesTheErrorBoxOpen) {
    if (QStandardPaths::findExecutable(u"xvfb-run"_s).isEmpty() ||
        QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
        GTEST_SKIP() << "xvfb-run and xdotool are needed";
    const QString errorBox =
        u"box='^Unexpected error$'; "
        "timeout 20 xdotool search --sync --name \"$box\" windowfocus --sync; "
        "xdotool key Escape; sleep 1; "
        "xdotool search --onlyvisible --name \"$box\" >/dev/null && echo open; "
        "xdotool key Return; "_s;
    // Focus starts on OK: Tab three times reaches "mit Etikettenapparat". 40000 overflows.
    const struct {
        const char *status, *arguments, *keys;
        bool errorBox;
        const char* saved;
    } cases[] = {{"96", "", "Tab Tab Tab space shift+Tab shift+Tab shift+Tab Return", false, "97"},
                 {"96", "/EXTERNAL=JX5CFG", "Return", false, "99"},
                 {"40000", "", "Return", true, "0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status + std::string(" ") + c.arguments);
        writeFiles("[Machine1]\r\nMainPictureStatus=" + QByteArray(c.status) + "\r\n");
        installation.write(u"parameter/jx5configuration.ini"_s,
                           "[Common]\r\nSaveAndRestore=" + installation.path(u"Backup"_s).toUtf8());
        installation.write(u"Backup/parameter/program.ini"_s, "[Machine1]\r\nMainPictureStatus=3");
        QProcess process;
        process.setProcessEnvironment(program.environment);
        process.start(u"xvfb-run"_s,
                      {u"-a"_s, u"-s"_s, u"-screen 0 1024x768x24 -noreset"_s, u"sh"_s, u"-c"_s,
                       u"timeout 20 \"$0\" $1 & "_s + (c.errorBox ? errorBox : QString()) +
                           u"timeout 20 xdotool search --sync --onlyvisible --name 'Erweiterte "
                           "Konfiguration' windowfocus --sync key --delay 100 $2; wait $!"_s,
                       program.executable, QString::fromLatin1(c.arguments),
                       QString::fromLatin1(c.keys)});
        ASSERT_TRUE(process.waitForFinished(40000));
        EXPECT_EQ(process.readAllStandardOutput().trimmed(), c.errorBox ? "open" : "");
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
        EXPECT_EQ(read("parameter/Program.ini"),
                  "[Machine1]\r\nMainPictureStatus=" + QByteArray(c.saved) + "\r\n");
        EXPECT_EQ(read("JX5cfglog.txt").endsWith("(Nr. 6) :Overflow\r\n"), c.errorBox);
    }
}

} // namespace
