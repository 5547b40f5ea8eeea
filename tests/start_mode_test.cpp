// Command-line switches, the start-mode decision and the names derived from the executable.

#include "dialog/StartMode.h"
#include "platform/Platform.h"
#include "run/RunFacts.h"
#include "support/ProgramFixture.h"

#include <tuple>

namespace {

using StartModeTest = ProgramFixture;

// The switch rule as switchValue (run/Switches.h) states it; each letter's upper case keeps the
// value's length.
TEST_F(StartModeTest, ReadCommandTakesTheUpperCasedTextAfterOneSeparatorUpToTheNextSlash) {
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
        {"/LOGFILE=C:\\Straße\\a.log /EXTERNAL=JX5CFG", "EXTERNAL", "JX5CFG"},
        {"/EXTERNAL=  jx5cfg  ", "external", "JX5CFG"},
        {"/EXTERNAL=C:\\Straße\\ /x", "external", "C:\\STRAßE\\"},
        {"/EXTERNAL=\u01c6\U00010428", "external", "\u01c4\U00010400"}, // dž, a Deseret letter
        {"/EXTERNAL=\uFB01x", "external", "\uFB01X"}, // the ligature fi has no one letter
        {"/EXTERNAL=\tSILENT", "external", "\tSILENT"},
        {"/EXTERNAL=SILENT\t/X", "external", "SILENT\t"},
        {"/EXTERNAL=\u00a0JX5CFG", "external", "\u00a0JX5CFG"},
        {"/EXTERNAL= JX5CFG\u00a0 ", "external", "JX5CFG\u00a0"},
    };
    for (const auto& [line, name, value] : cases)
        EXPECT_EQ(ReadCommand(QString::fromUtf8(line), QString::fromUtf8(name)),
                  QString::fromUtf8(value))
            << line;
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(StartModeTest, SetsBothFlagsFromExternalAndClearsEarlierOnes) {
    // command line, integrated, silent
    const std::tuple<const char*, bool, bool> cases[] = {
        {"/EXTERNAL=JX5CFG", true, false},
        {"/EXTERNAL=JX5CFGX", false, false},
        {"/EXTERNAL=SILENTLY", false, false},
        {"/EXTERNAL=\tSILENT", false, false},
        {"", false, false},
        {"/external=silent /LOGFILE=C:\\A", false, true},
        {"/EXTERNAL=SILENT", false, true}};
    for (const auto& [commandLine, integrated, silent] : cases) {
        platform.arguments = QString::fromUtf8(commandLine);
        refreshFacts();
        EXPECT_EQ(GetStartModeIntegrated(), integrated) << commandLine;
        EXPECT_TRUE(StartModeIntegrated == integrated && StartModeSilent == silent);
        EXPECT_EQ(runFacts().unattended, silent);
    }
}

// On Linux only a final ".exe" is no part of the executable's name; other dots belong to it.
TEST(ExecutableName, OnlyAFinalExeIsDropped) {
    for (const auto& [file, name] :
         {std::pair{"Line.2_Config", "Line.2_Config"},
          std::pair{"415_MainPicture_Config.exe", "415_MainPicture_Config"},
          std::pair{"A_Config.EXE", "A_Config"}, std::pair{"A_Config.exe.bak", "A_Config.exe.bak"}})
        EXPECT_EQ(platform::withoutExeExtension(QString::fromLatin1(file)),
                  QString::fromLatin1(name));
}

// The program in the drive root, and an executable name shorter than "_Config".
TEST_F(StartModeTest, FoldersAndComponentNameComeFromTheExecutable) {
    EXPECT_EQ(runFacts().installationFolder, installation.root());
    EXPECT_EQ(GetOCXName(), u"415_MainPicture"_s);
    platform.folder = u"/"_s;
    platform.name = u"_Confi"_s;
    refreshFacts();
    EXPECT_EQ(runFacts().installationFolder, QString());
    EXPECT_EQ(GetOCXName(), QString());
}

} // namespace
