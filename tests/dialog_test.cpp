// The whole dialog in-process, with scripted answers: start-up in each start mode, showing
// and storing the options, and every way out of the dialog.

#include "app/frm_415_MainPicture_Config_Exe.h"
#include "i18n/ControlTexts.h"
#include "i18n/InfoText.h"
#include "platform/SystemCalls.h"
#include "support/ProgramFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using platform::Answer;

namespace {

class DialogTest : public ProgramFixture {
protected:
    void start(const char* arguments = "", int status = 0) {
        installation.writeStandard(status);
        platform.arguments = QString::fromLatin1(arguments);
        window.Form_Load();
    }
    QByteArray stored(const QString& file = TempInstallation::ProgramIni) const {
        return platform::profile::findValue(installation.read(file), "Machine1",
                                            "MainPictureStatus")
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
        resetRunState();
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

TEST_F(DialogTest, IntegratedShowsTheReadCopyAndStoresIntoTheInstallation) {
    for (const auto& [own, saved] : {std::pair{96, "99"}, std::pair{40, "35"}}) {
        installation.writeHost(3);
        start("/EXTERNAL=JX5CFG", own);
        EXPECT_EQ(ticked(), 3);
        EXPECT_EQ(window.windowTitle(), u"Erweiterte Konfiguration 415_MainPicture - integriert"_s);
        EXPECT_THROW(window.CommandOK_Click(), EndAtOnce);
        EXPECT_EQ(stored(), saved);
        EXPECT_EQ(stored(u"Backup/parameter/program.ini"_s), "3");
        EXPECT_TRUE(cfg().contains("S_Prog=2.0.0 - Integrated"));
    }
}

TEST_F(DialogTest, InteractiveStartNamesTheFolderAndEnterRightAfterShowingStores) {
    platform.folder = u"/"_s; // the caption is set before the missing files end the run
    EXPECT_THROW(start(), EndAtOnce);
    EXPECT_EQ(window.windowTitle(), u"Erweiterte Konfiguration  - standalone"_s);
    platform.folder = installation.programFolder();
    platform.boxes.clear();
    start("", 19);
    EXPECT_EQ(window.windowTitle(), u"Erweiterte Konfiguration 415_MainPicture - standalone"_s);
    window.show();
    QApplication::processEvents();
    // Enter clicks the focused OK. What the click does (store and end) is the OK handler's; the
    // handler is called directly, since ending at once must not unwind through the toolkit.
    QObject::disconnect(window.CommandOK, &QPushButton::clicked, &window, nullptr);
    int clicks = 0;
    QObject::connect(window.CommandOK, &QPushButton::clicked, [&] { ++clicks; });
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(window.CommandOK, &enter);
    EXPECT_EQ(clicks, 1);
    EXPECT_THROW(window.CommandOK_Click(), EndAtOnce);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.endedWith, platform::ExitNormal);
    EXPECT_EQ(platform.pointers.back(), platform::Pointer::Default);
}

// A read that fails is no missing entry: it is reported, nothing is stored on it, and the
// run ends with status 4.
TEST_F(DialogTest, AFailedReadIsReportedAndNothingIsStoredOnIt) {
    start("", 1011);
    box(2)->click();
    using platform::sys::calls;
    calls().read = [](int, void*, size_t) -> ssize_t { return errno = EIO, -1; };
    calls().fstatat = [](int, const char*, struct stat*, int) { return errno = EIO, -1; };
    platform.boxes.clear();
    EXPECT_THROW(window.CommandOK_Click(), EndAtOnce);
    calls() = platform::sys::realCalls();
    const QString told = u"Could not read "_s + installation.programIni() + u": "_s +
                         QString::fromLocal8Bit(std::strerror(EIO));
    EXPECT_TRUE(std::any_of(platform.boxes.begin(), platform.boxes.end(),
                            [&](const RecordedBox& box) { return box.text.contains(told); }));
    EXPECT_EQ(stored(), "1011");
    EXPECT_EQ(platform.endedWith, platform::ExitNotStored);
}

// Both folders locked by another program: the run waits one bound in all, saves that change
// nothing do not wait, and each refused store names the locked folder.
TEST_F(DialogTest, FoldersLockedByAnotherProgramCostTheRunOneBound) {
    EXPECT_THROW(start("/EXTERNAL=SILENT", 19), EndAtOnce); // completes the language file
    resetRunState();
    platform::file::resetLockWait(1000);
    const QStringList folders = {installation.path(u"parameter"_s), installation.programFolder()};
    QList<int> locks;
    for (const QString& folder : folders) {
        locks.push_back(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY));
        ASSERT_EQ(::flock(locks.back(), LOCK_EX), 0);
    }
    QElapsedTimer run;
    run.start();
    EXPECT_THROW(start("/EXTERNAL=SILENT", 19), EndAtOnce);
    EXPECT_LT(run.elapsed(), 2000);
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
    HelpTexts[1] = u"OK stores"_s;
    window.CommandQuest->click();
    EXPECT_EQ(window.CommandQuest->backColor(), QColor(0, 255, 0));
    window.CommandOK->click();
    window.CommandCancel->click();
    // A check box's click is put back, whichever state it had.
    window.CheckFaden->click();
    window.CheckEtikette->click();
    EXPECT_TRUE(!window.CheckFaden->isChecked() && window.CheckEtikette->isChecked());
    EXPECT_FALSE(IgnoreNextClick);
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
