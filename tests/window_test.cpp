// The dialog window as the user sees it: places, containers, colours on an offscreen grab,
// pictures, fonts, focus and keys, the check boxes' click notification in help mode, and the
// message boxes of the real platform.

#include "app/ButtonPictures.h"
#include "app/ControlWalk.h"
#include "app/frm_415_MainPicture_Config_Exe.h"
#include "i18n/InfoText.h"
#include "i18n/ToolTipTexts.h"
#include "platform/Failure.h"
#include "platform/QtPlatform.h"
#include "support/ProgramFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace {

const QColor Grey(192, 192, 192);

class WindowTest : public ProgramFixture {
protected:
    WindowTest() {
        resetInfoTextState();
        HelpTexts.clear();
    }
    ~WindowTest() override {
        resetInfoTextState();
        HelpTexts.clear();
    }

    // Shown and active, as after an interactive start.
    void showWindow() {
        window.show();
        window.activateWindow();
        QApplication::processEvents();
    }
    QWidget* control(const char* name) const {
        return window.findChild<QWidget*>(QString::fromLatin1(name));
    }
    QImage grab() { return window.grab().toImage(); }

    frm_415_MainPicture_Config_Exe window;
};

// The pixels of exactly this colour inside a rectangle of an image: their bounding box.
QRect boundsOfColour(const QImage& image, const QRect& area, const QColor& colour) {
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

struct Placement {
    const char* name;
    const char* container;
    QRect geometry; // pixels
};

// Twips / 15, relative to the container.
const Placement Placements[] = {
    {"CommandQuest", "frm_415_MainPicture_Config_Exe", {490, 514, 65, 57}},
    {"CommandCancel", "frm_415_MainPicture_Config_Exe", {678, 514, 113, 57}},
    {"CommandOK", "frm_415_MainPicture_Config_Exe", {560, 514, 113, 57}},
    {"MainFrame", "frm_415_MainPicture_Config_Exe", {0, 26, 792, 484}},
    {"FrameBobinenBock", "MainFrame", {6, 8, 298, 192}},
    {"CheckFaden", "FrameBobinenBock", {8, 146, 283, 40}},
    {"CheckBobRechtsFadenAnMasch", "FrameBobinenBock", {8, 100, 283, 40}},
    {"CheckOhneBobinen", "FrameBobinenBock", {8, 70, 283, 25}},
    {"CheckBobbineLinks", "FrameBobinenBock", {8, 40, 283, 25}},
    {"CheckEtikette", "FrameBobinenBock", {8, 10, 283, 25}},
    {"Header", "frm_415_MainPicture_Config_Exe", {2, 2, 785, 24}},
};

TEST_F(WindowTest, EveryControlHasItsDesignedPlaceSizeAndContainerInControlOrder) {
    EXPECT_EQ(window.size(), QSize(792, 573));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Base JX5CFG-Erweiterung"));
    const ControlWalk walk(&window);
    ASSERT_EQ(walk.count(), static_cast<int>(std::size(Placements)));
    for (int i = 0; i < walk.count(); ++i) {
        const Placement& expected = Placements[i];
        SCOPED_TRACE(expected.name);
        QWidget* widget = walk.at(i).widget();
        EXPECT_EQ(widget->objectName(), QString::fromLatin1(expected.name));
        EXPECT_EQ(widget->geometry(), expected.geometry);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(expected.container));
    }
}

TEST_F(WindowTest, TheWalkReportsKindsTagsHelpNumbersAndBuiltInCaptions) {
    const struct {
        const char* kind;
        const char* tag;
        int help;
        const char* caption; // nullptr: the kind has none
    } expected[] = {
        {"CommandButton", "", 0, ""},
        {"CommandButton", "", 2, ""},
        {"CommandButton", "", 1, ""},
        {"Frame", "", 0, nullptr},
        {"Frame", "", 11, nullptr},
        {"CheckBox", "", 16, "ohne Faden"},
        {"CheckBox", "", 15, "Bobinen rechts, Faden an der Maschine"},
        {"CheckBox", "", 14, "ohne Bobinen"},
        {"CheckBox", "Paper", 13, "Bobinen links"},
        {"CheckBox", "Paper", 12, "mit Etikettenapparat"},
        {"Label", "", 0, "415_MainPicture - Konfiguration Hauptbild 415"},
    };
    const ControlWalk walk(&window);
    for (int i = 0; i < walk.count(); ++i) {
        const Control c = walk.at(i);
        SCOPED_TRACE(c.Name().toStdString());
        EXPECT_EQ(c.kindName(), QString::fromLatin1(expected[i].kind));
        EXPECT_EQ(c.Tag(), QString::fromLatin1(expected[i].tag));
        EXPECT_EQ(c.WhatsThisHelpID(), expected[i].help);
        EXPECT_EQ(c.ToolTipText(), QString());
        EXPECT_FALSE(walk.isArrayMember(i));
        EXPECT_THROW(c.Index(), Failure);
        if (expected[i].caption != nullptr)
            EXPECT_EQ(c.Caption(), QString::fromLatin1(expected[i].caption));
        else
            EXPECT_THROW(c.Caption(), Failure);
    }
}

TEST_F(WindowTest, CommandOKIsCreatedDisabledAndActivationEnablesItWithTheFocus) {
    EXPECT_FALSE(window.CommandOK->isEnabled());
    EXPECT_TRUE(window.CommandCancel->isEnabled());
    EXPECT_TRUE(window.CommandQuest->isEnabled());
    showWindow();
    ASSERT_TRUE(window.isActiveWindow());
    EXPECT_TRUE(window.CommandOK->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), window.CommandOK);
}

TEST_F(WindowTest, ReturningFromAMessageBoxIsNoNewActivation) {
    showWindow();
    window.CommandOK->setEnabled(false);
    QMessageBox box(&window);
    bool windowWasInactive = false;
    QTimer::singleShot(0, &box, [&] {
        QApplication::processEvents();
        windowWasInactive = !window.isActiveWindow();
        box.accept();
    });
    box.exec();
    window.activateWindow();
    QApplication::processEvents();
    EXPECT_TRUE(windowWasInactive);
    EXPECT_TRUE(window.isActiveWindow());
    EXPECT_FALSE(window.CommandOK->isEnabled());
}

TEST_F(WindowTest, TabRunsByTabIndexOverTheFocusableControls) {
    showWindow();
    const char* order[] = {"CommandCancel",     "CommandQuest",     "CheckEtikette",
                           "CheckBobbineLinks", "CheckOhneBobinen", "CheckBobRechtsFadenAnMasch",
                           "CheckFaden",        "CommandOK"};
    for (const char* next : order) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &tab);
        EXPECT_EQ(QApplication::focusWidget(), control(next)) << next;
    }
}

TEST_F(WindowTest, EnterClicksOnlyTheFocusedButtonAndEscapeDoesNothing) {
    showWindow();
    int cancelClicks = 0;
    QObject::connect(window.CommandCancel, &QPushButton::clicked, [&] { ++cancelClicks; });
    const auto press = [](QWidget* target, int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    press(window.CommandOK, Qt::Key_Escape);
    window.CheckFaden->setFocus();
    press(window.CheckFaden, Qt::Key_Return);
    press(window.CheckFaden, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 0);
    EXPECT_EQ(window.CheckFaden->checkState(), Qt::Unchecked);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.CommandOK->isDefault());
    EXPECT_FALSE(window.CommandOK->autoDefault());
    // Enter on OK confirms: the options are stored and the program ends.
    EXPECT_THROW(press(window.CommandOK, Qt::Key_Return), EndAtOnce);
}

TEST_F(WindowTest, FontsKeepWeightAndSizeWhateverFaceTheMachineHas) {
    const struct {
        const char* name;
        double points;
    } designed[] = {{"CheckFaden", 12},       {"CheckBobRechtsFadenAnMasch", 12},
                    {"CheckOhneBobinen", 12}, {"CheckBobbineLinks", 12},
                    {"CheckEtikette", 12},    {"Header", 13.5}};
    for (const auto& d : designed) {
        const QFont font = control(d.name)->font();
        EXPECT_EQ(font.family(), QStringLiteral("MS Sans Serif")) << d.name;
        EXPECT_EQ(font.weight(), QFont::Bold) << d.name;
        EXPECT_DOUBLE_EQ(font.pointSizeF(), d.points) << d.name;
    }
    for (const char* name : {"CommandQuest", "CommandOK", "CommandCancel", "MainFrame"})
        EXPECT_EQ(control(name)->font(), QApplication::font()) << name;
}

TEST_F(WindowTest, PicturesHaveTheirSizeOneColourAndATransparentBackground) {
    const struct {
        QImage picture;
        QColor colour;
        QSize size;
    } pictures[] = {{pictures::tick(), QColor(0, 128, 0), {44, 36}},
                    {pictures::cross(), QColor(255, 0, 0), {37, 39}},
                    {pictures::questionMark(), QColor(0, 0, 0), {41, 45}}};
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.colour.name().toStdString());
        EXPECT_EQ(p.picture.size(), p.size);
        int transparent = 0;
        for (int y = 0; y < p.picture.height(); ++y)
            for (int x = 0; x < p.picture.width(); ++x) {
                const QColor pixel = p.picture.pixelColor(x, y);
                if (pixel.alpha() == 0)
                    ++transparent;
                else
                    ASSERT_EQ(pixel, p.colour) << x << "," << y;
            }
        EXPECT_GT(transparent, p.size.width() * p.size.height() / 3);
        EXPECT_EQ(boundsOfColour(p.picture, p.picture.rect(), p.colour), p.picture.rect());
    }
}

TEST_F(WindowTest, TheGrabShowsGreyEverywhereAndTheThreePicturesCentredOnTheButtons) {
    showWindow();
    const QImage image = grab();
    for (const QPoint at : {QPoint(400, 300), QPoint(100, 540), QPoint(790, 20), QPoint(150, 205),
                            QPoint(200, 100), QPoint(280, 56)})
        EXPECT_EQ(image.pixelColor(at), Grey) << at.x() << "," << at.y();
    const struct {
        QWidget* button;
        QColor colour;
        QSize size;
    } shown[] = {{window.CommandOK, QColor(0, 128, 0), {44, 36}},
                 {window.CommandCancel, QColor(255, 0, 0), {37, 39}},
                 {window.CommandQuest, QColor(0, 0, 0), {41, 45}}};
    for (const auto& s : shown) {
        SCOPED_TRACE(s.button->objectName().toStdString());
        // Inside the bevel and the focus frame.
        const QRect inner = s.button->geometry().adjusted(6, 6, -6, -6);
        const QRect picture = boundsOfColour(image, inner, s.colour);
        EXPECT_EQ(picture.size(), s.size);
        const QPoint offCentre = picture.center() - s.button->geometry().center();
        EXPECT_LE(offCentre.manhattanLength(), 2);
        EXPECT_EQ(image.pixelColor(inner.topLeft()), Grey);
    }
}

TEST_F(WindowTest, CommandQuestTurnsGreenAndBackGrey) {
    showWindow();
    const QPoint inside = window.CommandQuest->geometry().topLeft() + QPoint(5, 28);
    EXPECT_EQ(grab().pixelColor(inside), Grey);
    window.CommandQuest->setBackColor(QColor(0, 255, 0));
    EXPECT_EQ(grab().pixelColor(inside), QColor(0, 255, 0));
    EXPECT_EQ(window.CommandOK->backColor(), Grey);
    window.CommandQuest->setBackColor(Grey);
    EXPECT_EQ(grab().pixelColor(inside), Grey);
}

TEST_F(WindowTest, ALargerWindowOnlyAddsGreyArea) {
    showWindow();
    window.resize(1000, 800);
    QApplication::processEvents();
    const ControlWalk walk(&window);
    for (int i = 0; i < walk.count(); ++i)
        EXPECT_EQ(walk.at(i).widget()->geometry(), Placements[i].geometry) << Placements[i].name;
    const QImage image = grab();
    EXPECT_EQ(image.pixelColor(900, 700), Grey);
    EXPECT_EQ(image.pixelColor(795, 100), Grey);
}

// Help mode: the click is put back, the box's info text shown, and the flag clear again.
TEST_F(WindowTest, AClickInHelpModeLeavesTheBoxAsItWasAndShowsItsHelpText) {
    HelpTexts[16] = QStringLiteral("kein Faden<crlf>an der Maschine");
    for (const Qt::CheckState before : {Qt::Unchecked, Qt::Checked}) {
        window.CheckFaden->setCheckState(before);
        platform.boxes.clear();
        HelpMode = true;
        window.CheckFaden->click();
        HelpMode = false;
        EXPECT_EQ(window.CheckFaden->checkState(), before);
        EXPECT_FALSE(IgnoreNextClick);
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text, QStringLiteral("kein Faden\r\nan der Maschine"));
        EXPECT_EQ(platform.boxes[0].title, QStringLiteral("Info:"));
        EXPECT_EQ(platform.boxes[0].icon, platform::Icon::Information);
        EXPECT_EQ(platform.boxes[0].buttons, platform::Buttons::Ok);
    }
}

TEST_F(WindowTest, OutsideHelpModeAClickTogglesAndTheProgramsChangesNotifyAtOnce) {
    HelpMode = false;
    window.CheckEtikette->click();
    EXPECT_EQ(window.CheckEtikette->checkState(), Qt::Checked);
    window.CheckEtikette->click();
    EXPECT_EQ(window.CheckEtikette->checkState(), Qt::Unchecked);
    // A change by the program reaches the click handling before it returns: in help mode the
    // first change is put back at once.
    HelpMode = true;
    Control(window.CheckOhneBobinen).setValue(1);
    EXPECT_EQ(Control(window.CheckOhneBobinen).Value(), 0);
    EXPECT_FALSE(IgnoreNextClick);
    EXPECT_EQ(platform.boxes.size(), 1u);
    // Setting the value it already has is no change and no click.
    Control(window.CheckOhneBobinen).setValue(0);
    EXPECT_EQ(platform.boxes.size(), 1u);
    EXPECT_THROW(Control(window.CheckOhneBobinen).setValue(3), Failure);
}

// The real platform's message box: a QMessageBox with the requested parts, and LF CR or CR LF
// pairs shown as single line breaks.
TEST(QtPlatformTest, MessageBoxesShowTheRequestedBoxAndReturnTheButtonPressed) {
    char name[] = "415_MainPicture_Config";
    char* argv[] = {name, nullptr};
    platform::QtPlatform real(1, argv);
    const struct {
        const char* text;
        platform::Icon icon;
        QMessageBox::Icon shownIcon;
        platform::Buttons buttons;
        platform::Answer defaultButton;
        QMessageBox::StandardButton press;
        platform::Answer expected;
        const char* shownText;
    } cases[] = {
        {"Cancel edits?\n\rRemark:", platform::Icon::Exclamation, QMessageBox::Warning,
         platform::Buttons::YesNo, platform::Answer::No, QMessageBox::Yes, platform::Answer::Yes,
         "Cancel edits?\nRemark:"},
        {"a\r\nb", platform::Icon::Information, QMessageBox::Information, platform::Buttons::Ok,
         platform::Answer::Ok, QMessageBox::Ok, platform::Answer::Ok, "a\nb"},
        {"x", platform::Icon::Critical, QMessageBox::Critical, platform::Buttons::YesNo,
         platform::Answer::Yes, QMessageBox::No, platform::Answer::No, "x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen = true;
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Title"));
            EXPECT_EQ(box->text(), QString::fromLatin1(c.shownText));
            EXPECT_EQ(box->icon(), c.shownIcon);
            const QMessageBox::StandardButton defaultButton =
                box->standardButton(box->defaultButton());
            EXPECT_EQ(defaultButton, c.defaultButton == platform::Answer::No    ? QMessageBox::No
                                     : c.defaultButton == platform::Answer::Yes ? QMessageBox::Yes
                                                                                : QMessageBox::Ok);
            box->button(c.press)->click();
        });
        EXPECT_EQ(real.messageBox(QString::fromLatin1(c.text), QStringLiteral("Title"), c.icon,
                                  c.buttons, c.defaultButton),
                  c.expected);
        EXPECT_TRUE(seen);
    }
}

TEST(QtPlatformTest, LineBreakPairsBecomeSingleBreaks) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"a\n\rb", "a\nb"},         {"a\r\nb", "a\nb"},       {"a\n\r\n\rb", "a\n\nb"},
        {"a\r\n\r\nb", "a\n\nb"},   {"a\r\n", "a\n"},         {"\n\ra", "\na"},
        {"a\n\rb\r\nc", "a\nb\nc"}, {"no break", "no break"}, {"a\r\n\r\n\r\nb", "a\n\n\nb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::textForDisplay(QString::fromLatin1(c.text)),
                  QString::fromLatin1(c.shown))
            << c.text;
}

} // namespace
