// The whole dialog in-process, with scripted answers: start-up in each start mode, showing
// and storing the options, and every way out of the dialog.

#include "app/OptionsCommand.h"
#include "support/CountedCalls.h"
#include "support/ProgramFixture.h"
#include "window/frm_415_MainPicture_Config_Exe.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::Answer;

namespace {

class DialogTest : public ProgramFixture {
protected:
    void start(const char* arguments = "", int status = 0) {
        installation.writeStandard(status);
        platform.arguments = QString::fromLatin1(arguments);
        refreshFacts();
        window.Form_Load();
    }
    QByteArray stored(const QString& file = TempInstallation::ProgramIni) const {
        return ini::findValue(installation.read(file), "Machine1", "MainPictureStatus")
            .value_or("missing");
    }
    QByteArray cfg() const { return TempInstallation::readFile(installation.cfg()); }
    QCheckBox* box(int bit) const {
        return std::array{window.CheckEtikette, window.CheckBobbineLinks, window.CheckOhneBobinen,
                          window.CheckBobRechtsFadenAnMasch, window.CheckFaden}[bit];
    }
    int ticked() const {
        int bits = 0;
        for (int bit = 0; bit < 5; ++bit)
            bits |= box(bit)->isChecked() ? 1 << bit : 0;
        return bits;
    }
    bool close() {
        QCloseEvent event;
        QApplication::sendEvent(&window, &event);
        return event.isAccepted();
    }

    frm_415_MainPicture_Config_Exe window;
};

// Bits 0 to 4 are shown and stored back; the other bits are kept. An overflow resumed reads 0.
TEST_F(DialogTest, ShowsBitsZeroToFourAndStoresThemBack) {
    // stored status, boxes ticked after start-up, boxes clicked, stored after OK (bit n: box n)
    const int cases[][4] = {{19, 19, 0, 19}, {96, 0, 4, 100}, {-5, 0, 16, 16}, {40000, 0, 0, 0}};
    for (const auto& [status, shown, toggle, saved] : cases) {
        SCOPED_TRACE(status);
        nextRun();
        start("", status);
        EXPECT_EQ(ticked(), shown);
        for (int bit = 0; bit < 5; ++bit)
            if (toggle & (1 << bit))
                box(bit)->click();
        EXPECT_THROW(window.CommandOK_Click(), EndAtOnce);
        EXPECT_EQ(stored(), QByteArray::number(saved));
        EXPECT_TRUE(cfg().contains("S_Prog=2.0.0 - Standalone"));
    }
}

// The boxes show the read copy; a store keeps bits 5 to 14 of the installation's own file. A
// read copy that cannot be read shows no bit, and a box left alone keeps the bit of the
// installation's file instead of clearing it; a box the user ticked is stored ticked.
TEST_F(DialogTest, IntegratedShowsTheReadCopyAndStoresIntoTheInstallation) {
    const QByteArray unreadable = "\xFF\xFE[\0M\0";
    const struct {
        QByteArray readCopy;
        int own, shown;
        bool tickFaden;
        const char* saved;
    } cases[] = {{"[Machine1]\r\nMainPictureStatus=3", 96, 3, false, "99"},
                 {"[Machine1]\r\nMainPictureStatus=3", 40, 3, false, "35"},
                 {unreadable, 99, 0, false, "99"},
                 {unreadable, 99, 0, true, "115"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        const bool read = c.readCopy != unreadable;
        nextRun();
        platform.boxes.clear();
        installation.writeHost(0);
        installation.write(u"Backup/parameter/program.ini"_s, c.readCopy);
        start("/EXTERNAL=JX5CFG", c.own);
        EXPECT_EQ(ticked(), c.shown);
        EXPECT_EQ(window.windowTitle(), u"Erweiterte Konfiguration 415_MainPicture - integriert"_s);
        if (c.tickFaden)
            window.CheckFaden->click();
        EXPECT_THROW(window.CommandOK_Click(), EndAtOnce);
        EXPECT_EQ(stored(), c.saved);
        EXPECT_EQ(stored(u"Backup/parameter/program.ini"_s), read ? "3" : "missing");
        EXPECT_TRUE(cfg().contains("S_Prog=2.0.0 - Integrated"));
        EXPECT_EQ(platform.endedWith, read ? platform::ExitNormal : platform::ExitNotStored);
        EXPECT_EQ(platform.boxes.empty(), read);
    }
}

// (Enter on the focused OK is pressed by the interactive run of program_run_test.)
TEST_F(DialogTest, InteractiveStartNamesTheFolderAndOkRightAfterShowingStores) {
    platform.folder = u"/"_s; // the caption is set before the missing files end the run
    EXPECT_THROW(start(), EndAtOnce);
    EXPECT_EQ(window.windowTitle(), u"Erweiterte Konfiguration  - standalone"_s);
    platform.folder = installation.programFolder();
    platform.boxes.clear();
    start("", 19);
    EXPECT_EQ(window.windowTitle(), u"Erweiterte Konfiguration 415_MainPicture - standalone"_s);
    EXPECT_THROW(window.CommandOK_Click(), EndAtOnce);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.endedWith, platform::ExitNormal);
    EXPECT_EQ(platform.pointers.back(), platform::Pointer::Default);
}

// Each system call of a whole run fails in turn (a read, a save, a log entry), for OK and for
// --set: the store lands, or the failure is told (a box; --set: the service log), the run ends
// with 4 and the file keeps what it held. No bit is stored on a value that was not read: the
// box ticked is stored ticked, the others keep the file's bits. Permissions are kept.
TEST_F(DialogTest, EveryFailedCallOfARunIsToldAndLosesNoBit) {
    EXPECT_THROW(start("/EXTERNAL=SILENT", 1011), EndAtOnce); // completes the language file
    const auto run = [&](bool script, int failAt, int error) {
        nextRun();
        installation.writeStandard(1011);
        QFile::remove(installation.path(TempInstallation::ServiceLog));
        ::chmod(QFile::encodeName(installation.programIni()).constData(), 0664);
        platform.arguments.clear();
        refreshFacts();
        platform.boxes.clear();
        const CountedCalls counting;
        callFaults().failAt = failAt;
        callFaults().failWith = error;
        frm_415_MainPicture_Config_Exe dialog;
        if (script) {
            EXPECT_THROW(answerOptionsRequest({u"--set"_s, u"no-bobbins=on"_s}), EndAtOnce);
        } else {
            dialog.Form_Load();
            dialog.CheckOhneBobinen->click();
            EXPECT_THROW(dialog.CommandOK_Click(), EndAtOnce);
        }
        return callFaults().calls;
    };
    // Under valgrind only every n-th call (MAINPICTURE_FAULT_EVERY).
    const int every = qMax(1, qEnvironmentVariableIntValue("MAINPICTURE_FAULT_EVERY"));
    for (const bool script : {false, true}) {
        const int calls = run(script, 0, 0);
        ASSERT_EQ(stored(), "1015");
        for (const int error : {EIO, EMFILE, ENOSPC, EROFS}) {
            for (int failAt = 1; failAt <= calls; failAt += every) {
                run(script, failAt, error);
                const QByteArray now = stored();
                const bool told = !platform.boxes.empty() ||
                                  !installation.read(TempInstallation::ServiceLog).isEmpty();
                const std::string at = std::to_string(script) + " " + std::to_string(error) +
                                       " at " + std::to_string(failAt);
                EXPECT_TRUE(now == "1015" || (now == "1011" && told)) << at << " " << now.data();
                EXPECT_EQ(platform.endedWith == platform::ExitNotStored, told) << at;
                EXPECT_EQ(QFileInfo(installation.programIni()).permissions(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                              QFile::WriteGroup | QFile::ReadOther | QFile::ReadUser |
                              QFile::WriteUser)
                    << at;
            }
        }
    }
}

// Both folders locked by another program: the run waits one bound in all, saves that change
// nothing do not wait, and each refused store names the locked folder.
TEST_F(DialogTest, FoldersLockedByAnotherProgramCostTheRunOneBound) {
    EXPECT_THROW(start("/EXTERNAL=SILENT", 19), EndAtOnce); // completes the language file
    nextRun();
    // The waits, counted on a clock of the test's: each pause moves it on.
    std::chrono::steady_clock::time_point now{};
    std::chrono::milliseconds waited{0};
    const std::chrono::milliseconds bound{1000};
    platform.freshFiles(bound, {[&] { return now; },
                                [&](std::chrono::milliseconds pause) {
                                    now += pause;
                                    waited += pause;
                                }});
    const QStringList folders = {installation.path(u"parameter"_s), installation.programFolder()};
    QList<int> locks;
    for (const QString& folder : folders) {
        locks.push_back(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY));
        ASSERT_EQ(::flock(locks.back(), LOCK_EX), 0);
    }
    EXPECT_THROW(start("/EXTERNAL=SILENT", 19), EndAtOnce);
    EXPECT_GE(waited, bound);
    EXPECT_LE(waited, bound + std::chrono::milliseconds(2));
    EXPECT_EQ(platform.endedWith, platform::ExitNotStored);
    const QByteArray log = installation.read(u"service.log"_s);
    for (const QString& folder : folders)
        EXPECT_TRUE(log.contains("another program keeps the folder locked: " + folder.toUtf8()))
            << log.constData();
    for (const int fd : locks)
        ::close(fd);
}

TEST_F(DialogTest, CancelAsksAndNoKeepsEditingWhileYesLogsAndEndsWithoutStoring) {
    start("", 19);
    window.CheckFaden->click();
    platform.answers = {Answer::No, Answer::Yes};
    window.CommandCancel->click();
    ASSERT_EQ(platform.boxes.size(), 1u);
    const RecordedBox& box = platform.boxes[0];
    EXPECT_EQ(box.text, QStringLiteral("Cancel edits?\n\rRemark:\n\rUntil now no changes have been "
                                       "taken over "));
    EXPECT_TRUE(box.title == u"Cancel?"_s && box.icon == platform::Icon::Exclamation &&
                box.defaultButton == Answer::No);
    EXPECT_EQ(ticked(), 3);
    EXPECT_TRUE(errorLogEntries().isEmpty());
    EXPECT_THROW(window.CommandCancel_Click(), EndAtOnce);
    EXPECT_EQ(errorLogEntries(),
              QByteArrayList{"Konfigurations-EXE wurde abgebrochen:     415_MainPicture"});
    EXPECT_EQ(stored(), "19");
}

TEST_F(DialogTest, IntegratedCancelNamesTheExecutable) {
    installation.writeHost(0);
    start("/EXTERNAL=JX5CFG");
    // A program in the root folder shows two separators in a row, as the folder ends in one.
    for (const QString& folder : {installation.programFolder(), u"/"_s}) {
        platform.folder = folder;
        refreshFacts();
        platform.boxes.clear();
        window.CommandCancel->click(); // the box's default answer is No
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text,
                  QStringLiteral("Cancel edits?\n\rRemark:\n\rUntil now no changes have been "
                                 "taken over \n\r\"415_MainPicture\" has to be configured again "
                                 "in \"standalone-mode\" via \n\r\"") +
                      folder + u"/415_MainPicture_Config\""_s);
    }
}

TEST_F(DialogTest, HelpModeShowsInfoTextsInsteadOfActingButACloseStillAsks) {
    start("", 1);
    window.dialog().model.HelpTexts[1] = u"OK stores"_s;
    window.CommandQuest->click();
    EXPECT_EQ(window.CommandQuest->backColor(), QColor(0, 255, 0));
    window.CommandOK->click();
    window.CommandCancel->click();
    // A check box's click is put back, whichever state it had.
    window.CheckFaden->click();
    window.CheckEtikette->click();
    EXPECT_TRUE(!window.CheckFaden->isChecked() && window.CheckEtikette->isChecked());
    EXPECT_FALSE(window.dialog().model.IgnoreNextClick);
    ASSERT_EQ(platform.boxes.size(), 4u);
    EXPECT_EQ(platform.boxes[0].text, u"OK stores"_s);
    EXPECT_TRUE(platform.boxes[2].title == u"Info:"_s &&
                platform.boxes[2].icon == platform::Icon::Information);
    EXPECT_EQ(stored(), "1");
    platform.answers = {Answer::No};
    EXPECT_FALSE(close());
    EXPECT_EQ(platform.boxes.back().title, u"Cancel?"_s);
    window.CommandQuest->click();
    EXPECT_EQ(window.CommandQuest->backColor(), QColor(192, 192, 192));
    // A confirmed close lets the window go without ending the program itself.
    platform.answers = {Answer::Yes};
    EXPECT_TRUE(close());
    EXPECT_EQ(errorLogEntries().size(), 1);
    EXPECT_FALSE(platform.endedWith);
}

} // namespace
