// The options from a script: --show and --set on the real program, and --set in-process with
// each of its system calls failing in turn.

#include "app/OptionsCommand.h"
#include "ini/IniEngine.h"
#include "support/CountedCalls.h"
#include "support/ProgramFixture.h"
#include "support/ProgramProcess.h"

#include <cerrno>

namespace {

using T = TempInstallation;
// Bits 0, 1 and 4 of the options, 5 to 9 of other tools.
const QByteArray Stored = "; kept\r\n[Machine1]\r\nMainPictureStatus=1011\r\n";
const QByteArray Shown = "labelling-unit=on\nbobbins-left=on\nno-bobbins=off\n"
                         "bobbins-right-thread-at-machine=off\nno-thread=on\n"
                         "MainPictureStatus=1011\n";

class OptionsCommandTest : public testing::Test {
protected:
    OptionsCommandTest() {
        installation.write(T::ProgramIni, Stored);
        installation.write(T::Cfg, "[Project]\r\n");
    }
    ProcessResult run(const QStringList& arguments) { return program.run(arguments); }
    QByteArray status() const {
        return ini::findValue(installation.read(T::ProgramIni), "Machine1", "MainPictureStatus")
            .value_or("missing");
    }

    TempInstallation installation;
    ProgramProcess program{installation};
};

// --show reads as a silent run reads, and writes nothing: no language file, no edit record, no
// log. A value that could not be read is not shown.
TEST_F(OptionsCommandTest, ShowPrintsTheOptionsAndWritesNothing) {
    const struct {
        QByteArray programIni;
        QStringList arguments;
        int exitCode;
        QByteArray output;
    } cases[] = {{Stored, {u"--show"_s}, 0, Shown},
                 {Stored,
                  {u"--show"_s, u"--json"_s},
                  0,
                  "{\"labelling-unit\":true,\"bobbins-left\":true,\"no-bobbins\":false,"
                  "\"bobbins-right-thread-at-machine\":false,\"no-thread\":true,"
                  "\"MainPictureStatus\":1011}\n"},
                 {"[Machine1]\r\nMainPictureStatus=-5\r\n",
                  {u"--show"_s},
                  0,
                  QByteArray(Shown).replace("=on", "=off").replace("1011", "0")},
                 {"\xFF\xFE[\0M", {u"--show"_s}, 4, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString() + " " + c.programIni.toStdString());
        installation.write(T::ProgramIni, c.programIni);
        const QMap<QString, QByteArray> before = installation.snapshot();
        const ProcessResult result = run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.standardError.constData();
        EXPECT_EQ(result.standardOutput, c.output);
        QMap<QString, QByteArray> after = installation.snapshot();
        if (c.exitCode == 4) // a read that fails is told in the logs
            after.remove(T::ErrorLog), after.remove(T::ServiceLog);
        EXPECT_EQ(after, before);
    }
}

// --set stores through OK's path: the bits asked for, the others and bits 5 to 14 as the file
// has them, the edit record; "unchanged" writes nothing at all.
TEST_F(OptionsCommandTest, SetStoresTheBitsAskedForAndSaysWhetherTheyChanged) {
    const struct {
        const char* list;
        const char* output;
        QByteArray status;
    } cases[] = {{"no-bobbins=on", "changed\n", "1015"},
                 {"no-bobbins=on", "unchanged\n", "1015"},
                 {"labelling-unit=off,no-thread=off,bobbins-right-thread-at-machine=on",
                  "changed\n", "1006"}};
    for (const auto& c : cases) {
        const QMap<QString, QByteArray> before = installation.snapshot();
        const ProcessResult result = run({u"--set"_s, QString::fromLatin1(c.list)});
        EXPECT_EQ(result.exitCode, 0) << result.standardError.constData();
        EXPECT_EQ(result.standardOutput, c.output);
        EXPECT_EQ(status(), c.status);
        EXPECT_TRUE(installation.read(T::Cfg).contains("S_Prog=2.0.0 - Standalone"));
        if (qstrcmp(c.output, "unchanged\n") == 0) {
            EXPECT_EQ(installation.snapshot(), before);
        }
    }
    EXPECT_TRUE(installation.read(T::ProgramIni).startsWith("; kept\r\n"));
}

TEST_F(OptionsCommandTest, ABadCommandLineIsRefusedAndWritesNothing) {
    const QMap<QString, QByteArray> before = installation.snapshot();
    const QStringList cases[] = {{u"--set"_s},
                                 {u"--set"_s, u""_s},
                                 {u"--set"_s, u"thread=on"_s},
                                 {u"--set"_s, u"no-thread=yes"_s},
                                 {u"--set"_s, u"no-thread=on,no-thread=off"_s},
                                 {u"--set"_s, u"no-thread=on"_s, u"x"_s},
                                 {u"--show"_s, u"--xml"_s}};
    for (const QStringList& arguments : cases) {
        const ProcessResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 64) << arguments.join(u' ').toStdString();
        EXPECT_EQ(result.standardError.count('\n'), 1) << result.standardError.constData();
        EXPECT_EQ(installation.snapshot(), before);
    }
}

// Each system call of --set failing in turn: the store lands, or it is told and ends with 4,
// the file holding its old value.
TEST_F(ProgramFixture, SetUnderFaultsStoresNothingWrong) {
    const auto run = [&](int failAt) {
        nextRun();
        installation.write(T::ProgramIni, Stored);
        installation.write(T::Cfg, "[Project]\r\n");
        platform.endedWith.reset();
        const CountedCalls counting;
        callFaults().failAt = failAt;
        callFaults().failWith = EIO;
        EXPECT_THROW(answerOptionsRequest({u"--set"_s, u"no-bobbins=on"_s}), EndAtOnce);
        return callFaults().calls;
    };
    const int calls = run(0);
    for (int failAt = 1; failAt <= calls; ++failAt) {
        run(failAt);
        const QByteArray now =
            ini::findValue(installation.read(T::ProgramIni), "Machine1", "MainPictureStatus")
                .value_or("missing");
        EXPECT_TRUE(now == "1015" || (now == "1011" && platform.endedWith == 4))
            << failAt << " " << now.constData();
    }
}

} // namespace
