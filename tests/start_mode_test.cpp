// Command-line switches, the start-mode decision and the names derived from the executable.

#include "env/ProgramFolders.h"
#include "env/StartMode.h"
#include "support/ProgramFixture.h"

using namespace Qt::StringLiterals;

namespace {

using StartModeTest = ProgramFixture;

TEST_F(StartModeTest, ReadCommandTakesTheTextAfterOneSeparatorUpToTheNextSlash) {
    const char* const cases[][3] = {
        {"/external=jx5cfg", "EXTERNAL", "JX5CFG"},
        {"EXTERNAL  JX5CFG", "external", "JX5CFG"},
        {"EXTERNAL = JX5CFG", "EXTERNAL", "= JX5CFG"},
        {"/EXTERNAL=JX5CFG/LOGFILE=C:\\TEMP\\A.LOG", "EXTERNAL", "JX5CFG"},
        {"/EXTERNAL=SILENT /LOGFILE=c:\\temp\\a.log", "LOGFILE", "C:\\TEMP\\A.LOG"},
        {"/EXTERNAL", "EXTERNAL", ""},
        {"/LOGFILE=C:\\EXTERNAL\\A.LOG /EXTERNAL=JX5CFG", "EXTERNAL", "A.LOG"},
        {"/LOGFILE=\"C:\\My Logs\\a.log\"", "LOGFILE", "\"C:\\MY LOGS\\A.LOG\""},
        {"/LOGFILE=C:/TEMP/A.LOG", "LOGFILE", "C:"},
        {"/EXTERNAL=Grüße", "EXTERNAL", "GRÜSSE"},
        {"/LOGFILE=C:\\Straße\\a.log /EXTERNAL=JX5CFG", "EXTERNAL", "JX5CFG"}, // ß stays one letter
    };
    for (const auto& [line, name, value] : cases)
        EXPECT_EQ(ReadCommand(QString::fromUtf8(line), QString::fromUtf8(name)),
                  QString::fromUtf8(value))
            << line;
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(StartModeTest, SetsBothFlagsFromExternalAndClearsEarlierOnes) {
    const struct {
        const char* commandLine;
        bool integrated, silent;
    } cases[] = {{"/EXTERNAL=JX5CFG", true, false},
                 {"/EXTERNAL=JX5CFGX", false, false},
                 {"/external=silent /LOGFILE=C:\\A", false, true},
                 {"/EXTERNAL=SILENTLY", false, false},
                 {"", false, false},
                 {"/EXTERNAL=SILENT", false, true}};
    for (const auto& c : cases) {
        platform.arguments = QString::fromUtf8(c.commandLine);
        EXPECT_EQ(GetStartModeIntegrated(), c.integrated) << c.commandLine;
        EXPECT_EQ(StartModeIntegrated, c.integrated) << c.commandLine;
        EXPECT_EQ(StartModeSilent, c.silent) << c.commandLine;
    }
    // A command line that cannot be read leaves a standalone run.
    platform.arguments = u"/EXTERNAL=JX5CFG"_s;
    platform.failNext(u"commandLineArguments"_s, 5);
    EXPECT_FALSE(GetStartModeIntegrated());
    EXPECT_FALSE(StartModeSilent);
    EXPECT_EQ(errorLogEntries().size(), 1);
}

TEST_F(StartModeTest, FoldersAndComponentNameComeFromTheExecutable) {
    platform.folder = u"/HMI/415_MainPicture"_s;
    EXPECT_EQ(installationFolder(), u"/HMI"_s);
    EXPECT_EQ(GetFileNameOnly(programFolder()), u"415_MainPicture"_s);
    platform.folder = u"/"_s; // the drive root
    EXPECT_EQ(installationFolder(), QString());
    EXPECT_EQ(GetFileNameOnly(programFolder()), QString());
    EXPECT_EQ(GetOCXName(), u"415_MainPicture"_s); // the executable's name less "_Config"
    platform.name = u"_Confi"_s;
    EXPECT_EQ(GetOCXName(), QString());
}

} // namespace
