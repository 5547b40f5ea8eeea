// Where the installation's files are found, and the edit record.

#include "diag/EditRecord.h"
#include "env/FileLocations.h"
#include "env/MachineList.h"
#include "env/StartMode.h"
#include "support/ProgramFixture.h"

namespace {

using FileLocationsTest = ProgramFixture;

TEST_F(FileLocationsTest, AFolderIsNoFileButAFailedTestThatIsResumedCountsAsFound) {
    EXPECT_EQ(GetJX5ConfigurationIniPath(), QString());
    QDir().mkpath(installation.programIni());
    EXPECT_EQ(GetProgramIniPath(2), QString());
    platform.failNext(u"isOrdinaryFile"_s, 71);
    EXPECT_EQ(GetJX5ConfigurationIniPath(), installation.path(u"parameter/jx5configuration.ini"_s));
    EXPECT_EQ(platform.boxes.size(), 1u);
}

// The host's read copy of program.ini is taken only for selector 1 in an integrated run.
TEST_F(FileLocationsTest, ChoosesTheHostsReadCopyOnlyForSelectorOneWhenIntegrated) {
    installation.write(u"parameter/Program.ini"_s, "");
    installation.write(u"Backup/parameter/program.ini"_s, "");
    const QString copy = installation.path(u"Backup/parameter/program.ini"_s);
    const QString own = installation.programIni();
    const struct {
        const char* saveAndRestore; // %1: the backup folder
        qint32 selector;
        bool integrated;
        QString expected;
    } cases[] = {{"%1/", 1, true, copy},
                 {"%1", 1, false, own},
                 {"", 1, true, QString()},
                 {"%1/missing", 1, true, QString()}};
    for (const auto& c : cases) {
        installation.write(
            u"parameter/jx5configuration.ini"_s,
            "[Common]\r\nSaveAndRestore=" +
                QString::fromUtf8(c.saveAndRestore).arg(installation.path(u"Backup"_s)).toUtf8());
        StartModeIntegrated = c.integrated;
        EXPECT_EQ(GetProgramIniPath(c.selector), c.expected) << c.saveAndRestore << c.selector;
    }
}

TEST_F(FileLocationsTest, AMissingCfgIsReportedAndEndsTheProgram) {
    EXPECT_THROW(GetValidMachines(), EndAtOnce);
    EXPECT_EQ(platform.endedWith, platform::ExitFileMissing);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, u"File not found: \n\r"_s + installation.cfg().toUpper());
    EXPECT_EQ(platform.boxes[0].title, u"415_MainPicture_Config"_s);
    installation.write(u"415_MainPicture/415_MainPicture.cfg"_s,
                       "[Project]\r\nValidMachines=1;2\r\n");
    EXPECT_EQ(GetValidMachines(), u"1;2"_s);
}

// Codes 1 and 255, "€" as its code 128, a character outside the code page as "?" (63).
TEST(ScrambleEditorValue, WritesEachCodePlusFiveInHexadecimal) {
    const std::pair<QString, const char*> cases[] = {
        {u"abc"_s, "666768"}, {u"a-b_c"_s, "666768"}, {u"\x01"_s, "6"}, {u"\xff"_s, "104"},
        {u"€"_s, "85"},       {u"中"_s, "44"},        {u"-_-"_s, ""}};
    for (const auto& [editor, scrambled] : cases)
        EXPECT_EQ(scrambleEditorValue(editor), QString::fromLatin1(scrambled));
}

TEST_F(FileLocationsTest, TheEditRecordNamesVersionAndEditor) {
    writeStandardFiles();
    const auto cfg = [&] { return TempInstallation::readFile(installation.cfg()); };
    WriteEditInfo();
    EXPECT_EQ(cfg(), "[Project]\r\n[Info]\r\nS_Prog=2.0.0 - Standalone\r\nS_Editor=666768\r\n");
    platform.firstEnvironment = u"NAME=-_"_s;
    WriteEditInfo();
    EXPECT_TRUE(cfg().endsWith("\r\nS_Editor=\r\n")); // an empty value still writes the key
    platform.firstEnvironment = u"noequals"_s;
    WriteEditInfo();
    EXPECT_TRUE(cfg().endsWith("\r\nS_Editor=73746A767A667178\r\n"));
    // A failure in step 1 (the program text) still writes the editor.
    TempInstallation::writeFile(installation.cfg(), "[Project]\r\n");
    platform.firstEnvironment = u"USERNAME=abc"_s;
    platform.failNext(u"version"_s, 5);
    WriteEditInfo();
    EXPECT_EQ(cfg(), "[Project]\r\n[Info]\r\nS_Editor=666768\r\n");
    EXPECT_EQ(platform.boxes.size(), 1u);
}

} // namespace
