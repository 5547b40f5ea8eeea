// Where the installation's files are found, and the edit record.

#include "core/Failure.h"
#include "diag/Logs.h"
#include "dialog/StartMode.h"
#include "store/EditRecord.h"
#include "store/FileLocations.h"
#include "store/IniAccess.h"
#include "store/MachineList.h"
#include "support/ProgramFixture.h"

#include <cerrno>

namespace {

using FileLocationsTest = ProgramFixture;

TEST_F(FileLocationsTest, AFolderIsNoFileButAFailedTestThatIsResumedCountsAsFound) {
    EXPECT_EQ(GetJX5ConfigurationIniPath().value, QString());
    QDir().mkpath(installation.programIni());
    EXPECT_EQ(GetProgramIniPath(2).value, QString());
    platform.failNext(u"isOrdinaryFile"_s, EIO);
    EXPECT_EQ(GetJX5ConfigurationIniPath().value, installation.path(TempInstallation::HostIni));
    EXPECT_EQ(platform.boxes.size(), 1u);
}

// The host names its read copy's folder (SaveAndRestore) and its log (LOGFILE) in its own form:
// any drive is the root, "\\" is "/", each part is found without regard to case ("ß" a letter
// of its own). "%1" is the installation's root as the host writes it, "%2" as the system does.
TEST_F(FileLocationsTest, HostPathsLeadToTheFilesThatExistWhateverTheirCase) {
    installation.write(u"Backup/Parameter/PROGRAM.ini"_s, "");
    installation.write(u"Logs/Existing.log"_s, "old\r\n");
    QDir().mkpath(installation.path(u"Straße"_s));
    const QString root = u"C:"_s + installation.root().toUpper().replace(u'/', u'\\');
    installation.writeStandard();
    const struct {
        const char* use;
        const char* hostPath;
        const char* found; // below the root; empty: no file
    } cases[] = {
        {"SaveAndRestore", "%1\\BACKUP\\", "Backup/Parameter/PROGRAM.ini"},
        {"SaveAndRestore", "%1\\backup", "Backup/Parameter/PROGRAM.ini"},
        {"SaveAndRestore", "\"%1\\Backup\\\"", "Backup/Parameter/PROGRAM.ini"}, // unquoted on read
        {"SaveAndRestore", "%1\\Missing\\", ""},
        {"SaveAndRestore", "%2/Backup/", "Backup/Parameter/PROGRAM.ini"}, // the local form
        {"SaveAndRestore", "", ""},
        {"LOGFILE", "%1\\LOGS\\EXISTING.LOG", "Logs/Existing.log"},
        {"LOGFILE", "%1\\logs\\new.log", "Logs/NEW.LOG"}, // a switch value is upper case
        {"LOGFILE", "%1\\STRAßE\\A.LOG", "Straße/A.LOG"},
        {"LOGFILE", "\"%1\\LOGS\\A.LOG\"", ""}, // the quotes stay, and no file name holds one
        {"LOGFILE", "%1\\MISSING\\A.LOG", ""},
        {"LOGFILE", "%1\\LOGS\\", ""}, // a folder
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hostPath);
        const QString hostPath = QString::fromUtf8(c.hostPath)
                                     .replace(u"%1"_s, root)
                                     .replace(u"%2"_s, installation.root());
        const QString found = *c.found ? installation.path(QString::fromUtf8(c.found)) : QString();
        if (qstrcmp(c.use, "SaveAndRestore") == 0) {
            installation.writeHostIni(hostPath);
            StartModeIntegrated = true;
            EXPECT_EQ(GetProgramIniPath(1).value, found);
            continue;
        }
        platform.arguments = u"/EXTERNAL=JX5CFG /LOGFILE="_s + hostPath;
        refreshFacts();
        if (found.isEmpty()) {
            EXPECT_THROW(WriteErrorLog(u"line"_s, false), Failure);
            continue;
        }
        const QByteArray before = TempInstallation::readFile(found);
        EXPECT_EQ(WriteErrorLog(u"line"_s, false), u"Error logged to \n\r"_s + GetPathLogfile());
        EXPECT_EQ(TempInstallation::readFile(found), before + "line\r\n");
    }
    EXPECT_FALSE(QFile::exists(installation.errorLog()));
}

// The installation's files are found as it spells them, and a write goes to that file.
TEST_F(FileLocationsTest, InstallationFilesAreFoundWithoutRegardToCase) {
    installation.write(u"PARAMETER/program.ini"_s, "[Machine1]\r\nMainPictureStatus=3\r\n");
    installation.write(u"PARAMETER/JX5Configuration.INI"_s,
                       "[Common]\r\nSaveAndRestore=" + installation.root().toUtf8());
    installation.write(u"415_MainPicture/415_mainpicture.CFG"_s, "");
    EXPECT_EQ(GetJX5ConfigurationIniPath().value,
              installation.path(u"PARAMETER/JX5Configuration.INI"_s));
    EXPECT_EQ(GetCFGPath().value, installation.path(u"415_MainPicture/415_mainpicture.CFG"_s));
    const QString programIni = installation.path(u"PARAMETER/program.ini"_s);
    EXPECT_EQ(GetProgramIniPath(2).value, programIni);
    StartModeIntegrated = true; // the read copy below SaveAndRestore, here the installation
    EXPECT_EQ(GetProgramIniPath(1).value, programIni);
    static_cast<void>(
        SaveIni(19, u"Machine1"_s, u"MainPictureStatus"_s, GetProgramIniPath(2).value));
    EXPECT_EQ(TempInstallation::readFile(programIni), "[Machine1]\r\nMainPictureStatus=19\r\n");
    EXPECT_EQ(QDir(installation.root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);
    EXPECT_EQ(QDir(installation.path(u"PARAMETER"_s)).count(), 4u); // ".", ".." and the two
}

TEST_F(FileLocationsTest, AMissingCfgIsReportedAndEndsTheProgram) {
    EXPECT_THROW(GetValidMachines(), EndAtOnce);
    EXPECT_EQ(platform.endedWith, platform::ExitFileMissing);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, u"File not found: \n\r"_s + installation.cfg().toUpper());
    EXPECT_EQ(platform.boxes[0].title, u"415_MainPicture_Config"_s);
    installation.write(u"415_MainPicture/415_MainPicture.cfg"_s,
                       "[Project]\r\nValidMachines=1;2\r\n");
    EXPECT_EQ(GetValidMachines().value, u"1;2"_s);
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
    installation.writeStandard();
    const auto cfg = [&] { return TempInstallation::readFile(installation.cfg()); };
    WriteEditInfo();
    EXPECT_EQ(cfg(), "[Project]\r\n[Info]\r\nS_Prog=2.0.0 - Standalone\r\nS_Editor=666768\r\n");
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
