// The whole dialog in-process, with scripted answers: start-up in each start mode, showing
// and storing the options, and every way out of the dialog.

#include "app/frm_415_MainPicture_Config_Exe.h"
#include "i18n/InfoText.h"
#include "i18n/ToolTipTexts.h"
#include "platform/ProfileFile.h"
#include "support/ProgramFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>

using platform::Answer;

namespace {

class DialogTest : public ProgramFixture {
protected:
    // Loads the window; false when the program ended during start-up.
    bool start(const QString& arguments = QString()) {
        platform.arguments = arguments;
        try {
            window.Form_Load();
            return true;
        } catch (const EndAtOnce&) {
            return false;
        }
    }
    // Clicks OK and expects the program to end.
    void confirm() { EXPECT_THROW(window.CommandOK->click(), EndAtOnce); }
    QByteArray stored(const QString& file) const {
        return platform::profile::findValue(TempInstallation::readFile(file), "Machine1",
                                            "MainPictureStatus")
            .value_or("missing");
    }
    int ticked() const {
        int bits = 0;
        const QCheckBox* boxes[] = {window.CheckEtikette, window.CheckBobbineLinks,
                                    window.CheckOhneBobinen, window.CheckBobRechtsFadenAnMasch,
                                    window.CheckFaden};
        for (int bit = 0; bit < 5; ++bit)
            bits |= boxes[bit]->isChecked() ? 1 << bit : 0;
        return bits;
    }
    // An integrated installation whose host keeps its read copy in <root>/Backup.
    void writeIntegratedFiles(int readCopy, int own) const {
        writeStandardFiles(own);
        installation.write(QStringLiteral("parameter/jx5configuration.ini"),
                           "[Common]\r\nSaveAndRestore=" +
                               installation.path(QStringLiteral("Backup")).toUtf8() + "\r\n");
        installation.write(QStringLiteral("Backup/parameter/program.ini"),
                           "[Machine1]\r\nMainPictureStatus=" + QByteArray::number(readCopy) +
                               "\r\n");
    }

    frm_415_MainPicture_Config_Exe window;
};

struct StoreCase {
    const char* name;
    QByteArray programIni; // empty: no Program.ini
    int shown;             // boxes ticked after start-up, bit n for box n
    int toggle;            // boxes the user clicks before OK
    const char* saved;
};

class StoreTest : public DialogTest, public testing::WithParamInterface<StoreCase> {};

TEST_P(StoreTest, ShowsBitsZeroToFourAndStoresThemBack) {
    const StoreCase& c = GetParam();
    writeStandardFiles();
    if (c.programIni.isEmpty())
        QFile::remove(installation.programIni());
    else
        installation.write(QStringLiteral("parameter/Program.ini"), c.programIni);
    ASSERT_TRUE(start());
    EXPECT_EQ(ticked(), c.shown);
    QCheckBox* boxes[] = {window.CheckEtikette, window.CheckBobbineLinks, window.CheckOhneBobinen,
                          window.CheckBobRechtsFadenAnMasch, window.CheckFaden};
    for (int bit = 0; bit < 5; ++bit)
        if (c.toggle & (1 << bit))
            boxes[bit]->click();
    confirm();
    EXPECT_EQ(stored(installation.programIni()), c.saved);
    EXPECT_TRUE(
        TempInstallation::readFile(installation.cfg()).contains("S_Prog=2.0.0 - Standalone"));
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoreTest,
    testing::Values(
        StoreCase{"Nineteen", "[Machine1]\r\nMainPictureStatus=19\r\n", 19, 0, "19"},
        StoreCase{"KeepsBitsFiveToFourteen", "[Machine1]\r\nMainPictureStatus=96\r\n", 0, 4, "100"},
        StoreCase{"NegativeReadsZero", "[Machine1]\r\nMainPictureStatus=-5\r\n", 0, 16, "16"},
        StoreCase{"ContradictionsAreKept", "[Machine1]\r\nMainPictureStatus=0\r\n", 0, 6, "6"},
        StoreCase{"MissingKey", "[Machine1]\r\nOther=3\r\n", 0, 1, "1"},
        StoreCase{"Overflow", "[Machine1]\r\nMainPictureStatus=40000\r\n", 0, 0, "0"},
        StoreCase{"NoProgramIni", "", 0, 1, "missing"}),
    [](const testing::TestParamInfo<StoreCase>& info) { return info.param.name; });

TEST_F(DialogTest, IntegratedShowsTheReadCopyAndStoresIntoTheInstallation) {
    for (const auto& [own, saved] : {std::pair{96, "99"}, std::pair{40, "35"}}) {
        writeIntegratedFiles(3, own);
        ASSERT_TRUE(start(QStringLiteral("/EXTERNAL=JX5CFG")));
        EXPECT_EQ(ticked(), 3);
        confirm();
        EXPECT_EQ(stored(installation.programIni()), saved);
        EXPECT_EQ(stored(installation.path(QStringLiteral("Backup/parameter/program.ini"))), "3");
        EXPECT_TRUE(
            TempInstallation::readFile(installation.cfg()).contains("S_Prog=2.0.0 - Integrated"));
    }
}

struct TitleCase {
    const char* arguments;
    const char* programFolder; // empty: the installation's
    const char* title;
};

class TitleTest : public DialogTest, public testing::WithParamInterface<TitleCase> {};

TEST_P(TitleTest, NamesTheFolderAndTheStartMode) {
    writeStandardFiles();
    if (*GetParam().programFolder != '\0')
        platform.folder = QString::fromLatin1(GetParam().programFolder);
    start(QString::fromLatin1(GetParam().arguments));
    EXPECT_EQ(window.windowTitle(), QString::fromLatin1(GetParam().title));
}

INSTANTIATE_TEST_SUITE_P(
    Titles, TitleTest,
    testing::Values(TitleCase{"", "", "Erweiterte Konfiguration 415_MainPicture - standalone"},
                    TitleCase{"/EXTERNAL=JX5CFG", "",
                              "Erweiterte Konfiguration 415_MainPicture - integriert"},
                    TitleCase{"", "/", "Erweiterte Konfiguration  - standalone"}));

TEST_F(DialogTest, InteractiveStartEnablesOkAndWaits) {
    writeStandardFiles();
    ASSERT_TRUE(start());
    EXPECT_TRUE(window.CommandOK->isEnabled());
    EXPECT_TRUE(window.CommandCancel->isEnabled());
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), window.CommandOK);
    // Enter right after showing confirms without a question.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    EXPECT_THROW(QApplication::sendEvent(window.CommandOK, &enter), EndAtOnce);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.endedWith, platform::ExitNormal);
    EXPECT_EQ(platform.pointers,
              (std::vector{platform::Pointer::Hourglass, platform::Pointer::Default}));
    EXPECT_EQ(platform.pendingEventRuns, 1);
}

TEST_F(DialogTest, SilentStartStoresAtOnceWithoutShowingTheWindow) {
    writeStandardFiles(-5);
    EXPECT_FALSE(start(QStringLiteral("/EXTERNAL=SILENT")));
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.CommandOK->isEnabled());
    EXPECT_EQ(stored(installation.programIni()), "0");
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(DialogTest, AMissingCfgEndsBeforeAnythingIsSetOrWritten) {
    writeStandardFiles(19);
    QFile::remove(installation.cfg());
    const QByteArray before = TempInstallation::readFile(installation.programIni());
    EXPECT_FALSE(start());
    EXPECT_EQ(platform.endedWith, platform::ExitFileMissing);
    EXPECT_EQ(ticked(), 0);
    EXPECT_EQ(TempInstallation::readFile(installation.programIni()), before);
}

TEST_F(DialogTest, CancelAskedNoKeepsEditsAndWritesNothing) {
    writeStandardFiles(19);
    ASSERT_TRUE(start());
    window.CheckFaden->click();
    platform.answers = {Answer::No};
    window.CommandCancel->click();
    ASSERT_EQ(platform.boxes.size(), 1u);
    const RecordedBox& box = platform.boxes[0];
    EXPECT_EQ(box.text, QStringLiteral("Cancel edits?\n\rRemark:\n\rUntil now no changes have been "
                                       "taken over "));
    EXPECT_EQ(box.title, QStringLiteral("Cancel?"));
    EXPECT_EQ(box.icon, platform::Icon::Exclamation);
    EXPECT_EQ(box.defaultButton, Answer::No);
    EXPECT_EQ(ticked(), 3);
    EXPECT_TRUE(window.CommandOK->isEnabled());
    EXPECT_TRUE(errorLogEntries().isEmpty());
}

TEST_F(DialogTest, CancelAnsweredYesLogsOneLineAndEndsWithoutStoring) {
    writeStandardFiles(19);
    ASSERT_TRUE(start());
    window.CheckFaden->click();
    platform.answers = {Answer::Yes};
    EXPECT_THROW(window.CommandCancel->click(), EndAtOnce);
    EXPECT_EQ(errorLogEntries(),
              QByteArrayList{"Konfigurations-EXE wurde abgebrochen:     415_MainPicture"});
    EXPECT_EQ(stored(installation.programIni()), "19");
}

TEST_F(DialogTest, IntegratedCancelNamesTheExecutable) {
    for (const QString& folder : {installation.programFolder(), QStringLiteral("/")}) {
        writeIntegratedFiles(0, 0);
        ASSERT_TRUE(start(QStringLiteral("/EXTERNAL=JX5CFG")));
        platform.folder = folder;
        platform.answers = {Answer::No};
        platform.boxes.clear();
        window.CommandCancel->click();
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text.split(QStringLiteral("\n\r")),
                  (QStringList{QStringLiteral("Cancel edits?"), QStringLiteral("Remark:"),
                               QStringLiteral("Until now no changes have been taken over "),
                               QStringLiteral("\"415_MainPicture\" has to be configured again in "
                                              "\"standalone-mode\" via "),
                               QLatin1Char('"') + folder + QLatin1Char('/') +
                                   QStringLiteral("415_MainPicture_Config\"")}));
    }
}

TEST_F(DialogTest, HelpModeShowsInfoTextsInsteadOfActing) {
    writeStandardFiles(0);
    ASSERT_TRUE(start());
    HelpTexts[1] = QStringLiteral("OK stores");
    window.CommandQuest->click();
    EXPECT_EQ(window.CommandQuest->backColor(), QColor(0, 255, 0));
    window.CommandOK->click();
    window.CommandCancel->click();
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[0].text, QStringLiteral("OK stores"));
    EXPECT_EQ(stored(installation.programIni()), "0");
    // The window frame's close still asks.
    platform.answers = {Answer::No};
    QCloseEvent close;
    QApplication::sendEvent(&window, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_EQ(platform.boxes.back().title, QStringLiteral("Cancel?"));
    window.CommandQuest->click();
    EXPECT_EQ(window.CommandQuest->backColor(), QColor(192, 192, 192));
    confirm();
}

TEST_F(DialogTest, AConfirmedCloseLetsTheWindowGo) {
    writeStandardFiles(0);
    ASSERT_TRUE(start());
    platform.answers = {Answer::Yes};
    QCloseEvent close;
    QApplication::sendEvent(&window, &close);
    EXPECT_TRUE(close.isAccepted());
    EXPECT_EQ(errorLogEntries().size(), 1);
    EXPECT_FALSE(platform.endedWith);
}

TEST_F(DialogTest, AFailedConfirmationEndsOnCancelButRefusesAClose) {
    writeStandardFiles(0);
    ASSERT_TRUE(start());
    platform.failNext(QStringLiteral("messageBox"), 5);
    QCloseEvent close;
    QApplication::sendEvent(&window, &close);
    EXPECT_FALSE(close.isAccepted());
    platform.failNext(QStringLiteral("messageBox"), 5);
    EXPECT_THROW(window.CommandCancel->click(), EndAtOnce);
    EXPECT_EQ(platform.endedWith, platform::ExitNormal);
}

TEST_F(DialogTest, AFailureWhileStoringStillEndsAndRestoresThePointer) {
    writeStandardFiles(0);
    ASSERT_TRUE(start());
    platform.failNext(QStringLiteral("writePrivateProfileString"), 75);
    confirm();
    EXPECT_EQ(platform.pointers.back(), platform::Pointer::Default);
    EXPECT_TRUE(TempInstallation::readFile(installation.cfg()).contains("S_Editor="));
}

} // namespace
