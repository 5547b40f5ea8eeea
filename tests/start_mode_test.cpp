// Command-line switches, the start-mode decision and the names derived from the executable.

#include "env/ProgramFolders.h"
#include "env/StartMode.h"
#include "support/ProgramFixture.h"

namespace {

struct SwitchCase {
    const char* commandLine;
    const char* switchName;
    const char* value;
};

class ReadCommandTest : public ProgramFixture, public testing::WithParamInterface<SwitchCase> {};

TEST_P(ReadCommandTest, ReadsTheValueAfterOneSeparator) {
    const SwitchCase& c = GetParam();
    EXPECT_EQ(ReadCommand(QString::fromUtf8(c.commandLine), QString::fromUtf8(c.switchName)),
              QString::fromUtf8(c.value));
    EXPECT_TRUE(platform.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Switches, ReadCommandTest,
    testing::Values(
        SwitchCase{"", "EXTERNAL", ""}, SwitchCase{"/EXTERNAL=JX5CFG", "EXTERNAL", "JX5CFG"},
        SwitchCase{"/external=jx5cfg", "EXTERNAL", "JX5CFG"},
        SwitchCase{"/EXTERNAL:JX5CFG", "external", "JX5CFG"},
        SwitchCase{"EXTERNAL  JX5CFG", "EXTERNAL", "JX5CFG"},
        SwitchCase{"EXTERNAL = JX5CFG", "EXTERNAL", "= JX5CFG"},
        SwitchCase{"/EXTERNAL=JX5CFG/LOGFILE=C:\\TEMP\\A.LOG", "EXTERNAL", "JX5CFG"},
        SwitchCase{"/EXTERNAL=JX5CFG/LOGFILE=C:\\TEMP\\A.LOG", "LOGFILE", "C:\\TEMP\\A.LOG"},
        SwitchCase{"/EXTERNAL=SILENT /LOGFILE=c:\\temp\\a.log", "LOGFILE", "C:\\TEMP\\A.LOG"},
        SwitchCase{"/EXTERNAL=", "EXTERNAL", ""}, SwitchCase{"/EXTERNAL", "EXTERNAL", ""},
        SwitchCase{"/LOGFILE=C:\\EXTERNAL\\A.LOG /EXTERNAL=JX5CFG", "EXTERNAL", "A.LOG"},
        SwitchCase{"/LOGFILE=\"C:\\My Logs\\a.log\"", "LOGFILE", "\"C:\\MY LOGS\\A.LOG\""},
        SwitchCase{"/LOGFILE=C:/TEMP/A.LOG", "LOGFILE", "C:"},
        SwitchCase{"/EXTERNAL=  jx5cfg   /LOGFILE=x", "EXTERNAL", "JX5CFG"},
        SwitchCase{"/EXTERNAL=Grüße", "EXTERNAL", "GRÜSSE"}));

struct StartModeCase {
    const char* commandLine;
    bool integrated;
    bool silent;
};

class StartModeTest : public ProgramFixture, public testing::WithParamInterface<StartModeCase> {};

TEST_P(StartModeTest, SetsBothFlagsFromExternal) {
    const StartModeCase& c = GetParam();
    platform.arguments = QString::fromUtf8(c.commandLine);
    EXPECT_EQ(GetStartModeIntegrated(), c.integrated);
    EXPECT_EQ(StartModeIntegrated, c.integrated);
    EXPECT_EQ(StartModeSilent, c.silent);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, StartModeTest,
    testing::Values(StartModeCase{"", false, false}, StartModeCase{"/EXTERNAL=JX5CFG", true, false},
                    StartModeCase{"/EXTERNAL=SILENT", false, true},
                    StartModeCase{"/external=silent /LOGFILE=C:\\A", false, true},
                    StartModeCase{"/EXTERNAL=JX5CFGX", false, false},
                    StartModeCase{"/EXTERNAL=SILENTLY", false, false},
                    StartModeCase{"/EXTERNAL=", false, false},
                    StartModeCase{"/LOGFILE=C:\\EXTERNAL\\A.LOG "
                                  "/EXTERNAL=JX5CFG",
                                  false, false}));

TEST_F(ProgramFixture, ASecondDecisionClearsTheEarlierFlags) {
    platform.arguments = QStringLiteral("/EXTERNAL=SILENT");
    GetStartModeIntegrated();
    platform.arguments = QStringLiteral("/EXTERNAL=JX5CFG");
    EXPECT_TRUE(GetStartModeIntegrated());
    EXPECT_FALSE(StartModeSilent);
}

TEST_F(ProgramFixture, ACommandLineThatCannotBeReadLeavesAStandaloneRun) {
    platform.arguments = QStringLiteral("/EXTERNAL=JX5CFG");
    platform.failNext(QStringLiteral("commandLineArguments"), 5);
    EXPECT_FALSE(GetStartModeIntegrated());
    EXPECT_FALSE(StartModeIntegrated);
    EXPECT_FALSE(StartModeSilent);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_TRUE(platform.boxes[0].text.contains(QStringLiteral("Invalid procedure call")));
}

TEST_F(ProgramFixture, LogfileIsReadAfreshEachTime) {
    EXPECT_EQ(GetPathLogfile(), QString());
    platform.arguments = QStringLiteral("/LOGFILE=c:\\temp\\a.log");
    EXPECT_EQ(GetPathLogfile(), QStringLiteral("C:\\TEMP\\A.LOG"));
}

struct FolderCase {
    const char* programFolder;
    const char* installationFolder;
    const char* folderName;
};

class FolderTest : public ProgramFixture, public testing::WithParamInterface<FolderCase> {};

TEST_P(FolderTest, DerivesInstallationFolderAndFolderName) {
    const FolderCase& c = GetParam();
    platform.folder = QString::fromUtf8(c.programFolder);
    EXPECT_EQ(installationFolder(), QString::fromUtf8(c.installationFolder));
    EXPECT_EQ(GetFileNameOnly(programFolder()), QString::fromUtf8(c.folderName));
}

INSTANTIATE_TEST_SUITE_P(Folders, FolderTest,
                         testing::Values(FolderCase{"/HMI/415_MainPicture", "/HMI",
                                                    "415_MainPicture"},
                                         FolderCase{"/HMI", "", "HMI"}, FolderCase{"/", "", ""},
                                         FolderCase{"/opt/my hmi/Bin", "/opt/my hmi", "Bin"}));

TEST(GetFileNameOnly, KeepsThePartAfterTheLastSeparator) {
    EXPECT_EQ(GetFileNameOnly(QStringLiteral("/HMI/415_MainPicture")),
              QStringLiteral("415_MainPicture"));
    EXPECT_EQ(GetFileNameOnly(QStringLiteral("no separator")), QStringLiteral("no separator"));
    EXPECT_EQ(GetFileNameOnly(QStringLiteral("/HMI/")), QString());
}

struct NameCase {
    const char* executable;
    const char* component;
};

class ComponentNameTest : public ProgramFixture, public testing::WithParamInterface<NameCase> {};

TEST_P(ComponentNameTest, DropsTheLastSevenCharacters) {
    platform.name = QString::fromUtf8(GetParam().executable);
    EXPECT_EQ(GetOCXName(), QString::fromUtf8(GetParam().component));
    EXPECT_TRUE(platform.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Names, ComponentNameTest,
                         testing::Values(NameCase{"415_MainPicture_Config", "415_MainPicture"},
                                         NameCase{"A_Config", "A"}, NameCase{"_Config", ""},
                                         NameCase{"abc", ""}, NameCase{"", ""}));

} // namespace
