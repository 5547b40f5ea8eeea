// The built program as a process in temporary installations: silent runs without any
// display, an interactive start without one, and interactive runs on a virtual X display
// driven by key presses.

#include "support/ProgramProcess.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const QByteArray Cfg = "[Project]\r\nValidMachines=1\r\n";

class ProgramRunTest : public testing::Test {
protected:
    void writeFiles(const QByteArray& programIni) {
        installation.write(QStringLiteral("parameter/Program.ini"), programIni);
        installation.write(QStringLiteral("415_MainPicture/415_MainPicture.cfg"), Cfg);
    }
    QByteArray serviceLog() const { return installation.read(QStringLiteral("service.log")); }

    TempInstallation installation;
    ProgramProcess program{installation};
};

TEST_F(ProgramRunTest, SilentRunStoresWritesTheEditRecordAndTheLanguageFile) {
    const QByteArray programIni = "; kept\r\n[Machine1]\r\nMainPictureStatus=-5\r\n[Other]\r\nx=1";
    writeFiles(programIni);
    const ProcessResult result = program.run({QStringLiteral("/EXTERNAL=SILENT")});
    EXPECT_EQ(result.exitCode, 0) << result.standardError.constData();
    EXPECT_EQ(installation.read(QStringLiteral("parameter/Program.ini")),
              "; kept\r\n[Machine1]\r\nMainPictureStatus=0\r\n[Other]\r\nx=1");
    const QByteArray cfg = installation.read(QStringLiteral("415_MainPicture/415_MainPicture.cfg"));
    EXPECT_TRUE(cfg.startsWith(Cfg + "[Info]\r\nS_Prog=2.0.0 - Standalone\r\nS_Editor="))
        << cfg.constData();
    EXPECT_TRUE(installation.read(QStringLiteral("415_MainPicture/415_MainPicture_Config.ini"))
                    .startsWith("[Language]\r\nLanguage=1031\r\n"));
    EXPECT_TRUE(serviceLog().isEmpty());
}

TEST_F(ProgramRunTest, SilentRunWithoutCfgLogsAndEndsWithoutStoring) {
    writeFiles("[Machine1]\r\nMainPictureStatus=3\r\n");
    QFile::remove(installation.cfg());
    const ProcessResult result = program.run({QStringLiteral("/EXTERNAL=SILENT")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(serviceLog(), "! Fault 415_MainPicture_Config: File not found: \n\r" +
                                installation.cfg().toUpper().toUtf8() + "\r\n");
    EXPECT_EQ(installation.read(QStringLiteral("parameter/Program.ini")),
              "[Machine1]\r\nMainPictureStatus=3\r\n");
}

TEST_F(ProgramRunTest, SilentRunResumesAnOverflowAndLogsItTwice) {
    writeFiles("[Machine1]\r\nMainPictureStatus=40000\r\n");
    const ProcessResult result = program.run({QStringLiteral("/EXTERNAL=SILENT")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(installation.read(QStringLiteral("parameter/Program.ini")),
              "[Machine1]\r\nMainPictureStatus=0\r\n");
    const QByteArray entry = "Fehler in 415_MainPicture / 415_MainPicture_Config / LoadIniInteger "
                             "(Nr. 6) :Overflow\r\n";
    EXPECT_EQ(installation.read(QStringLiteral("JX5cfglog.txt")), entry + entry);
    EXPECT_EQ(serviceLog().count("! Fault 415_MainPicture_Config: Unexpected error!\n\rOverflow"),
              2);
}

TEST_F(ProgramRunTest, InteractiveStartWithoutADisplaySaysSoInOneLine) {
    writeFiles("[Machine1]\r\nMainPictureStatus=3\r\n");
    for (const char* display : {"", ":93"}) {
        ProgramProcess withDisplay(installation);
        if (*display != '\0')
            withDisplay.environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
        const ProcessResult result = withDisplay.run({});
        EXPECT_EQ(result.exitCode, 3);
        EXPECT_FALSE(result.crashed);
        EXPECT_EQ(result.standardError.count('\n'), 1) << result.standardError.constData();
    }
}

// A virtual X display for the runs that need a real window and real key presses.
class VirtualDisplay {
public:
    VirtualDisplay() {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            return;
        server_.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                               QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                               QStringLiteral("-screen"), QStringLiteral("0"),
                                               QStringLiteral("1024x768x24")});
        if (server_.waitForReadyRead(10000))
            name_ = QLatin1Char(':') + QString::fromLatin1(server_.readLine().trimmed());
    }
    ~VirtualDisplay() {
        server_.kill();
        server_.waitForFinished();
    }
    const QString& name() const { return name_; }

    // Waits for a window with the title and types the keys into it.
    bool type(const QString& title, const QStringList& keys) const {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), name_);
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral("xdotool"),
                   QStringList{QStringLiteral("search"), QStringLiteral("--sync"),
                               QStringLiteral("--name"), title, QStringLiteral("windowfocus"),
                               QStringLiteral("--sync"), QStringLiteral("key"),
                               QStringLiteral("--delay"), QStringLiteral("100")} +
                       keys);
        // The last key ends the program, so the tool may find its window gone: only a hang
        // counts against it.
        return tool.waitForFinished(20000);
    }

private:
    QProcess server_;
    QString name_;
};

struct InteractiveCase {
    const char* name;
    const char* arguments;
    QStringList keys;
    int saved;
};

class InteractiveRunTest : public ProgramRunTest,
                           public testing::WithParamInterface<InteractiveCase> {};

TEST_P(InteractiveRunTest, StoresThroughOk) {
    const VirtualDisplay display;
    if (display.name().isEmpty())
        GTEST_SKIP() << "Xvfb and xdotool are needed";
    writeFiles("[Machine1]\r\nMainPictureStatus=96\r\n");
    installation.write(QStringLiteral("parameter/jx5configuration.ini"),
                       "[Common]\r\nSaveAndRestore=" +
                           installation.path(QStringLiteral("Backup")).toUtf8() + "\r\n");
    installation.write(QStringLiteral("Backup/parameter/program.ini"),
                       "[Machine1]\r\nMainPictureStatus=3\r\n");
    ProgramProcess interactive(installation);
    interactive.environment.insert(QStringLiteral("DISPLAY"), display.name());
    QProcess process;
    process.setProcessEnvironment(interactive.environment);
    process.start(interactive.executable(), QStringList{QString::fromLatin1(GetParam().arguments)});
    ASSERT_TRUE(process.waitForStarted());
    EXPECT_TRUE(display.type(QStringLiteral("Erweiterte Konfiguration"), GetParam().keys));
    ASSERT_TRUE(process.waitForFinished(20000)) << process.readAllStandardError().constData();
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(installation.read(QStringLiteral("parameter/Program.ini")),
              "[Machine1]\r\nMainPictureStatus=" + QByteArray::number(GetParam().saved) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Modes, InteractiveRunTest,
                         testing::Values(
                             // Focus starts on OK: Tab three times reaches "mit Etikettenapparat".
                             InteractiveCase{"Standalone",
                                             "",
                                             {"Tab", "Tab", "Tab", "space", "shift+Tab",
                                              "shift+Tab", "shift+Tab", "Return"},
                                             97},
                             InteractiveCase{"Integrated", "/EXTERNAL=JX5CFG", {"Return"}, 99}),
                         [](const testing::TestParamInfo<InteractiveCase>& info) {
                             return info.param.name;
                         });

} // namespace
