// Where the installation's files are found, the machine list and the edit record.

#include "diag/EditRecord.h"
#include "env/FileLocations.h"
#include "env/MachineList.h"
#include "env/StartMode.h"
#include "support/ProgramFixture.h"

#include <QDir>

namespace {

class FileLocationsTest : public ProgramFixture {};

TEST_F(FileLocationsTest, FindsTheFilesOfTheInstallation) {
    EXPECT_EQ(GetJX5ConfigurationIniPath(), QString());
    EXPECT_EQ(GetProgramIniPath(1), QString());
    installation.write(QStringLiteral("parameter/jx5configuration.ini"), "");
    installation.write(QStringLiteral("parameter/Program.ini"), "");
    EXPECT_EQ(GetJX5ConfigurationIniPath(), installation.configurationIni());
    EXPECT_EQ(GetProgramIniPath(1), installation.programIni());
    EXPECT_EQ(GetProgramIniPath(2), installation.programIni());
}

TEST_F(FileLocationsTest, AFolderIsNoFile) {
    QDir().mkpath(installation.programIni());
    EXPECT_EQ(GetProgramIniPath(2), QString());
}

struct ReadCopyCase {
    const char* saveAndRestore; // %1: a backup folder below the installation
    qint32 selector;
    bool integrated;
    const char* expected; // "copy", "own" or "" (none found)
};

class ReadCopyTest : public FileLocationsTest, public testing::WithParamInterface<ReadCopyCase> {};

TEST_P(ReadCopyTest, ChoosesTheHostsReadCopyOnlyForSelectorOneWhenIntegrated) {
    const ReadCopyCase& c = GetParam();
    installation.write(QStringLiteral("parameter/Program.ini"), "");
    installation.write(QStringLiteral("Backup/parameter/program.ini"), "");
    installation.write(QStringLiteral("parameter/jx5configuration.ini"),
                       "[Common]\r\nSaveAndRestore=" +
                           QString::fromUtf8(c.saveAndRestore)
                               .arg(installation.path(QStringLiteral("Backup")))
                               .toUtf8() +
                           "\r\n");
    StartModeIntegrated = c.integrated;
    const QString expected = QByteArray(c.expected) == "copy"
                                 ? installation.path(QStringLiteral("Backup/parameter/program.ini"))
                             : QByteArray(c.expected) == "own" ? installation.programIni()
                                                               : QString();
    EXPECT_EQ(GetProgramIniPath(c.selector), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Selectors, ReadCopyTest,
    testing::Values(ReadCopyCase{"%1/", 1, true, "copy"}, ReadCopyCase{"%1", 1, true, "copy"},
                    ReadCopyCase{"%1", 2, true, "own"}, ReadCopyCase{"%1", 1, false, "own"},
                    ReadCopyCase{"", 1, true, ""}, ReadCopyCase{"%1/missing", 1, true, ""}));

TEST_F(FileLocationsTest, AFailedExistenceTestThatIsResumedCountsAsFound) {
    platform.failNext(QStringLiteral("isOrdinaryFile"), 71);
    EXPECT_EQ(GetJX5ConfigurationIniPath(), installation.configurationIni());
    EXPECT_EQ(platform.boxes.size(), 1u);
}

TEST_F(FileLocationsTest, AMissingCfgIsReportedAndEndsTheProgram) {
    EXPECT_THROW(GetCFGPath(), EndAtOnce);
    EXPECT_EQ(platform.endedWith, platform::ExitFileMissing);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text,
              QStringLiteral("File not found: \n\r") + installation.cfg().toUpper());
    EXPECT_EQ(platform.boxes[0].title, QStringLiteral("415_MainPicture_Config"));
}

TEST_F(FileLocationsTest, AMissingCfgInASilentRunGoesToTheServiceLog) {
    StartModeSilent = true;
    EXPECT_THROW(GetValidMachines(), EndAtOnce);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(serviceLogBytes(), "! Fault 415_MainPicture_Config: File not found: \n\r" +
                                     installation.cfg().toUpper().toUtf8() + "\r\n");
}

TEST_F(FileLocationsTest, ValidMachinesIsReadFromTheCfg) {
    installation.write(QStringLiteral("415_MainPicture/415_MainPicture.cfg"),
                       "[Project]\r\nValidMachines=1;2\r\n");
    EXPECT_EQ(GetCFGPath(), installation.cfg());
    EXPECT_EQ(GetValidMachines(), QStringLiteral("1;2"));
}

struct MachineCase {
    const char* name;
    bool integrated;
    QByteArray configurationIni; // empty: no file
    QByteArray programIni;
    QStringList machines;
};

class MachineListTest : public FileLocationsTest,
                        public testing::WithParamInterface<MachineCase> {};

TEST_P(MachineListTest, ReadsTheNamesInOrder) {
    const MachineCase& c = GetParam();
    if (!c.configurationIni.isEmpty())
        installation.write(QStringLiteral("parameter/jx5configuration.ini"), c.configurationIni);
    installation.write(QStringLiteral("parameter/Program.ini"), c.programIni);
    StartModeIntegrated = c.integrated;
    GetExistingMachines(GetJX5ConfigurationIniPath());
    EXPECT_EQ(ExistingMachines, c.machines);
    EXPECT_TRUE(platform.boxes.empty());
}

const QByteArray fiveHostNames =
    "[Common]\r\nNameM1=A\r\nNameM2=B\r\nNameM3=C\r\nNameM4=D\r\nNameM5=E\r\nNameM6=F\r\n";

INSTANTIATE_TEST_SUITE_P(
    Lists, MachineListTest,
    testing::Values(
        MachineCase{"HostStopsAtDash",
                    true,
                    "[Common]\r\nNameM1=A\r\nNameM2=B\r\nNameM3=-\r\nNameM4=D\r\n",
                    "",
                    {"", "A", "B"}},
        MachineCase{"HostReadsFiveAtMost", true, fiveHostNames, "", {"", "A", "B", "C", "D", "E"}},
        MachineCase{"HostStopsAtEmpty", true, "[Common]\r\nNameM1=\r\nNameM2=B\r\n", "", {}},
        MachineCase{"HostFileMissing", true, "", "[Project]\r\nNumberOfMachines=2\r\n", {}},
        MachineCase{"ProgramIniKeepsEmptyNames",
                    false,
                    "",
                    "[Project]\r\nNumberOfMachines=3\r\n[Machine1]\r\nMachineName=M1\r\n"
                    "[Machine3]\r\nMachineName=M3\r\n",
                    {"", "M1", "", "M3"}},
        MachineCase{"ProgramIniCountMissing", false, "", "[Project]\r\n", {}},
        MachineCase{"ProgramIniCountZero", false, "", "[Project]\r\nNumberOfMachines=0\r\n", {}},
        MachineCase{"ProgramIniCountNegative",
                    false,
                    fiveHostNames,
                    "[Project]\r\nNumberOfMachines=-4\r\n",
                    {}}),
    [](const testing::TestParamInfo<MachineCase>& info) { return info.param.name; });

TEST_F(FileLocationsTest, TheHostsListKeepsTheProgramIniPath) {
    installation.write(QStringLiteral("parameter/Program.ini"), "");
    StartModeIntegrated = true;
    GetExistingMachines(QString());
    EXPECT_TRUE(ExistingMachines.isEmpty());
    EXPECT_EQ(ProgramIniFile, QString()); // no jx5configuration.ini: the read copy is not there
}

struct ScrambleCase {
    QString editorValue;
    const char* scrambled;
};

class ScrambleTest : public testing::TestWithParam<ScrambleCase> {};

TEST_P(ScrambleTest, WritesEachCodePlusFiveInHexadecimal) {
    EXPECT_EQ(scrambleEditorValue(GetParam().editorValue),
              QString::fromLatin1(GetParam().scrambled));
}

INSTANTIATE_TEST_SUITE_P(Editors, ScrambleTest,
                         testing::Values(ScrambleCase{QStringLiteral("abc"), "666768"},
                                         ScrambleCase{QStringLiteral("a-b_c"), "666768"},
                                         ScrambleCase{QString(QChar(1)), "6"},
                                         ScrambleCase{QString(QChar(0xff)), "104"},
                                         ScrambleCase{QString(QChar(0x20ac)), "85"}, // €: 128
                                         ScrambleCase{QString(QChar(0x4e2d)), "44"}, // "?"
                                         ScrambleCase{QStringLiteral("-_-"), ""},
                                         ScrambleCase{QString(), ""}));

class EditRecordTest : public FileLocationsTest {
protected:
    void SetUp() override { writeStandardFiles(); }
    QByteArray cfgBytes() const {
        return installation.read(QStringLiteral("415_MainPicture/415_MainPicture.cfg"));
    }
};

TEST_F(EditRecordTest, RecordsVersionStartModeAndEditor) {
    const struct {
        bool integrated;
        bool silent;
        const char* program;
    } modes[] = {{false, false, "2.0.0 - Standalone"},
                 {true, false, "2.0.0 - Integrated"},
                 {false, true, "2.0.0 - Standalone"}};
    for (const auto& mode : modes) {
        StartModeIntegrated = mode.integrated;
        StartModeSilent = mode.silent;
        WriteEditInfo();
        EXPECT_EQ(cfgBytes(), QByteArray("[Project]\r\n[Info]\r\nS_Prog=") + mode.program +
                                  "\r\nS_Editor=666768\r\n");
    }
}

TEST_F(EditRecordTest, AnEmptyEditorValueStillWritesTheKey) {
    platform.firstEnvironment = QStringLiteral("NAME=-_");
    WriteEditInfo();
    EXPECT_TRUE(cfgBytes().endsWith("\r\nS_Editor=\r\n"));
    platform.firstEnvironment = QStringLiteral("noequals");
    WriteEditInfo();
    EXPECT_TRUE(cfgBytes().endsWith("\r\nS_Editor=73746A767A667178\r\n"));
}

TEST_F(EditRecordTest, AFailureInTheProgramTextStillWritesTheEditor) {
    platform.failNext(QStringLiteral("version"), 5);
    WriteEditInfo();
    EXPECT_EQ(cfgBytes(), "[Project]\r\n[Info]\r\nS_Editor=666768\r\n");
    EXPECT_EQ(platform.boxes.size(), 1u);
}

} // namespace
