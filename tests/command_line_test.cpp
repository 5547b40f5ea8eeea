// The forms the built program answers without a window, each only as the whole command line:
// "--help", "--version", and the options from a script, "--show" and "--set" (whose fault loop
// is dialog_test's). Every other command line starts the program by the switch rules.

#include "ini/IniEngine.h"
#include "support/ProgramProcess.h"

#include <gtest/gtest.h>

namespace {

using T = TempInstallation;
// Bits 0, 1 and 4 of the options, 5 to 9 of other tools.
const QByteArray Stored = "; kept\r\n[Machine1]\r\nMainPictureStatus=1011\r\n";
const QByteArray Shown = "labelling-unit=on\nbobbins-left=on\nno-bobbins=off\n"
                         "bobbins-right-thread-at-machine=off\nno-thread=on\n"
                         "MainPictureStatus=1011\n";

class CommandLineTest : public testing::Test {
protected:
    CommandLineTest() {
        installation.write(T::ProgramIni, Stored);
        installation.write(T::Cfg, "[Project]\r\n");
    }
    QByteArray status() const {
        return ini::findValue(installation.read(T::ProgramIni), "Machine1", "MainPictureStatus")
            .value_or("-");
    }
    TempInstallation installation;
    ProgramProcess program{installation};
};

// Answered forms print what they print and touch no file; a form that is not well made is
// refused in one line with status 64; the others run (standalone finds no display here; a
// silent run stores).
TEST_F(CommandLineTest, EachFormAnswersOnlyAsTheWholeCommandLine) {
    const struct {
        QStringList arguments;
        int exitCode;
        QByteArray output; // the start of stdout
        int errorLines = 0;
    } cases[] = {
        {{u"--help"_s}, 0, "Usage: 415_MainPicture_Config [/EXTERNAL=JX5CFG [/LOGFILE=PATH]]\n"},
        {{u"--version"_s}, 0, "415_MainPicture_Config 2.00\n"},
        {{u"--show"_s}, 0, Shown},
        {{u"--show"_s, u"--json"_s},
         0,
         "{\"labelling-unit\":true,\"bobbins-left\":true,\"no-bobbins\":false,"
         "\"bobbins-right-thread-at-machine\":false,\"no-thread\":true,"
         "\"MainPictureStatus\":1011}\n"},
        {{u"--HELP"_s}, 3, "", 1},
        {{u"--help"_s, u"/EXTERNAL=SILENT"_s}, 0, ""},
        {{u"--set"_s}, 64, "", 1},
        {{u"--set"_s, u""_s}, 64, "", 1},
        {{u"--set"_s, u"thread=on"_s}, 64, "", 1},
        {{u"--set"_s, u"no-thread=yes"_s}, 64, "", 1},
        {{u"--set"_s, u"no-thread=on,no-thread=off"_s}, 64, "", 1},
        {{u"--set"_s, u"no-thread=on"_s, u"x"_s}, 64, "", 1},
        {{u"--show"_s, u"--xml"_s}, 64, "", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u'|').toStdString());
        const QMap<QString, QByteArray> before = installation.snapshot();
        const ProcessResult result = program.run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.standardError.constData();
        EXPECT_EQ(result.standardOutput.left(qMax(c.output.size(), 1)), c.output);
        EXPECT_EQ(result.standardError.count('\n'), c.errorLines);
        EXPECT_TRUE(c.arguments.contains(u"/EXTERNAL=SILENT"_s) ||
                    installation.snapshot() == before);
    }
    // The usage names the files of the installation the program lies in, and every exit status.
    const QByteArray usage = program.run({u"--help"_s}).standardOutput;
    for (const QString& expected :
         {installation.programIni(), installation.path(T::HostIni), installation.cfg(),
          installation.path(T::LanguageFile), installation.errorLog(),
          installation.path(T::ServiceLog), u"\n  0  "_s, u"\n  1  "_s,
          u"\n  2  415_MainPicture.cfg is missing"_s, u"\n  3  "_s, u"\n  4  "_s, u"\n  64 "_s})
        EXPECT_TRUE(QString::fromLocal8Bit(usage).contains(expected)) << expected.toStdString();
}

// --show reads as a silent run reads: a negative value as 0; a value that could not be read is
// not shown, and only the logs are written.
TEST_F(CommandLineTest, ShowTellsAValueThatCouldNotBeRead) {
    for (const auto& [programIni, exitCode, output] :
         {std::tuple{QByteArray("[Machine1]\r\nMainPictureStatus=-5\r\n"), 0,
                     QByteArray(Shown).replace("=on", "=off").replace("1011", "0")},
          std::tuple{QByteArray("\xFF\xFE[\0M", 5), 4, QByteArray()}}) {
        installation.write(T::ProgramIni, programIni);
        const QMap<QString, QByteArray> before = installation.snapshot();
        const ProcessResult result = program.run({u"--show"_s});
        EXPECT_EQ(result.exitCode, exitCode) << result.standardError.constData();
        EXPECT_EQ(result.standardOutput, output);
        QMap<QString, QByteArray> after = installation.snapshot();
        EXPECT_EQ(after.take(T::ServiceLog).isEmpty(), exitCode == 0);
        EXPECT_EQ(after.take(T::ErrorLog).isEmpty(), exitCode == 0);
        EXPECT_EQ(after, before);
    }
}

// --set stores through OK's path: the bits asked for, the others and bits 5 to 14 as the file
// has them, the edit record; "unchanged" writes nothing at all.
TEST_F(CommandLineTest, SetStoresTheBitsAskedForAndSaysWhetherTheyChanged) {
    const char* const cases[][3] = {
        {"no-bobbins=on", "changed\n", "1015"},
        {"no-bobbins=on", "unchanged\n", "1015"},
        {"labelling-unit=off,no-thread=off,bobbins-right-thread-at-machine=on", "changed\n",
         "1006"}};
    for (const auto& [list, output, value] : cases) {
        const QMap<QString, QByteArray> before = installation.snapshot();
        const ProcessResult result = program.run({u"--set"_s, QString::fromLatin1(list)});
        EXPECT_EQ(result.exitCode, 0) << result.standardError.constData();
        EXPECT_EQ(result.standardOutput, output);
        EXPECT_EQ(status(), value);
        EXPECT_TRUE(installation.read(T::Cfg).contains("S_Prog=2.0.0 - Standalone"));
        EXPECT_TRUE(qstrcmp(output, "changed\n") == 0 || installation.snapshot() == before);
    }
    EXPECT_TRUE(installation.read(T::ProgramIni).startsWith("; kept\r\n"));
}

} // namespace
