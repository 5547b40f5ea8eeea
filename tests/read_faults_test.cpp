// The real program, silent, with one call on Program.ini or its folder failing at a time
// (strace's fault injection): the failed read is told, ends with 4, and nothing is stored.

#include "support/ProgramProcess.h"

#include <gtest/gtest.h>

namespace {

using T = TempInstallation;
// Bits 0, 1 and 4 of the options, 5 to 9 of other tools.
const QByteArray Stored = "; kept\r\n[Machine1]\r\nMainPictureStatus=1011\r\n[Machine2]\r\nx=1\r\n";

class ReadFaultsTest : public testing::Test {
protected:
    ReadFaultsTest() {
        installation.write(T::ProgramIni, Stored);
        installation.write(T::Cfg, "[Project]\r\n");
    }
    // How many calls of this kind the run makes on the file.
    int callsOn(const QString& kind, const QString& file) const {
        const std::optional<ProcessResult> dry =
            program.traced({u"-e"_s, u"trace="_s + kind, u"-P"_s, file}, Silent);
        return dry ? int(dry->standardError.count(QByteArray(kind.toLatin1() + '('))) : 0;
    }

    TempInstallation installation;
    ProgramProcess program{installation};
};

TEST_F(ReadFaultsTest, AFailedCallOnProgramIniIsToldAndLosesNoBit) {
    const QString file = installation.programIni();
    ASSERT_EQ(program.run(Silent).exitCode, 0); // completes the language file
    const std::pair<const char*, const char*> faults[] = {
        {"read", "EIO"}, {"openat", "EMFILE"}, {"openat", "EACCES"}, {"newfstatat", "EIO"}};
    for (const auto& [kind, error] : faults) {
        const int calls = callsOn(QString::fromLatin1(kind), file);
        if (calls == 0)
            GTEST_SKIP() << "strace cannot trace the program here";
        for (int when = 1; when <= calls; ++when) {
            const QString at = QStringLiteral("%1:error=%2:when=%3").arg(kind, error).arg(when);
            QFile::remove(installation.path(T::ServiceLog));
            const std::optional<ProcessResult> run = program.traced(
                {u"-o"_s, u"/dev/null"_s, u"-e"_s, u"inject="_s + at, u"-P"_s, file}, Silent);
            ASSERT_TRUE(run && !run->crashed) << qPrintable(at);
            EXPECT_EQ(installation.read(T::ProgramIni), Stored) << qPrintable(at);
            EXPECT_EQ(run->exitCode, 4) << qPrintable(at);
            EXPECT_TRUE(installation.read(T::ServiceLog).contains("Could not ")) << qPrintable(at);
        }
    }
}

// A folder that is there but cannot be listed is no folder without the file looked for.
TEST_F(ReadFaultsTest, AFolderThatCannotBeListedIsTold) {
    const QString folder = installation.path(u"parameter"_s);
    const std::optional<ProcessResult> run =
        program.traced({u"-o"_s, u"/dev/null"_s, u"-e"_s, u"inject=getdents64:error=EIO:when=1"_s,
                        u"-P"_s, folder},
                       Silent);
    if (!run)
        GTEST_SKIP() << "strace cannot trace the program here";
    EXPECT_EQ(run->exitCode, 4);
    EXPECT_TRUE(installation.read(T::ServiceLog)
                    .contains("Could not read " + folder.toUtf8() + ": Input/output error"));
    EXPECT_EQ(installation.read(T::ProgramIni), Stored);
}

} // namespace
