// The dialog window as the user sees it: places, containers, colours on an offscreen grab,
// focus, the check boxes' click notification in help mode, and the real platform's box text.

#include "support/ProgramFixture.h"
#include "window/DesktopPlatform.h"
#include "window/frm_415_MainPicture_Config_Exe.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>

#include <functional>
#include <memory>
#include <tuple>

namespace {

const QColor Grey(192, 192, 192);

class WindowTest : public ProgramFixture {
protected:
    // Shown and active, as after an interactive start.
    void showWindow() {
        window.show();
        window.activateWindow();
        QApplication::processEvents();
    }
    frm_415_MainPicture_Config_Exe window;
    DialogModel& model = window.dialog().model;
};

// OK is enabled and takes the focus on activation; Tab runs by tab index from there.
TEST_F(WindowTest, FocusStartsOnOkAndTabRunsByTabIndex) {
    EXPECT_FALSE(window.CommandOK->isEnabled());
    showWindow();
    ASSERT_TRUE(window.isActiveWindow());
    EXPECT_TRUE(window.CommandOK->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), window.CommandOK);
    for (const char* next :
         {"CommandCancel", "CommandQuest", "CheckEtikette", "CheckBobbineLinks", "CheckOhneBobinen",
          "CheckBobRechtsFadenAnMasch", "CheckFaden", "CommandOK"}) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
    }
    EXPECT_FALSE(window.CommandOK->isDefault() || window.CommandOK->autoDefault());
}

TEST_F(WindowTest, TheGrabShowsGreyAndTheThreePicturesCentredOnTheButtons) {
    showWindow();
    const QImage image = window.grab().toImage();
    for (const QPoint at : {QPoint(400, 300), QPoint(100, 540), QPoint(790, 20), QPoint(150, 205),
                            QPoint(200, 100), QPoint(280, 56)})
        EXPECT_EQ(image.pixelColor(at), Grey) << at.x() << "," << at.y();
    for (const auto& [button, colour, size] :
         {std::tuple{window.CommandOK, QColor(0, 128, 0), QSize(44, 36)},
          std::tuple{window.CommandCancel, QColor(255, 0, 0), QSize(37, 39)},
          std::tuple{window.CommandQuest, QColor(0, 0, 0), QSize(41, 45)}}) {
        // The bounding box of the picture's colour inside the bevel and the focus frame.
        const QRect inner = button->geometry().adjusted(6, 6, -6, -6);
        QRect picture;
        for (int y = inner.top(); y <= inner.bottom(); ++y)
            for (int x = inner.left(); x <= inner.right(); ++x)
                if (image.pixelColor(x, y) == colour)
                    picture |= QRect(x, y, 1, 1);
        EXPECT_EQ(picture.size(), size) << button->objectName().toStdString();
        EXPECT_LE((picture.center() - button->geometry().center()).manhattanLength(), 2);
        EXPECT_EQ(image.pixelColor(inner.topLeft()), Grey);
    }
    // The question-mark button turns green and back.
    const QPoint inside = window.CommandQuest->geometry().topLeft() + QPoint(5, 28);
    window.CommandQuest->setBackColor(QColor(0, 255, 0));
    EXPECT_EQ(window.grab().toImage().pixelColor(inside), QColor(0, 255, 0));
    window.CommandQuest->setBackColor(Grey);
    EXPECT_EQ(window.grab().toImage().pixelColor(inside), Grey);
    // A larger window shows grey beyond the design's area.
    window.resize(1000, 800);
    EXPECT_EQ(window.grab().toImage().pixelColor(900, 700), Grey);
}

// Captions and tool tips are shown as written: markup is text, and no picture is loaded. A
// check box without a tool tip of its own shows none, not its frame's.
TEST_F(WindowTest, CaptionsAndToolTipsArePlainTextAndNoToolTipIsBorrowed) {
    const QString markup = u"<b>fett</b><img src=\"/tmp/x.png\">&amp;"_s;
    model.control("Header").setCaption(markup);
    const Qt::TextFormat format = window.Header->textFormat();
    EXPECT_TRUE(format == Qt::PlainText ||
                (format == Qt::AutoText && !Qt::mightBeRichText(window.Header->text())));
    showWindow();
    const auto hover = [](QWidget* control) {
        QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), control->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(control, &event);
        QTextDocument shown;
        shown.setHtml(QToolTip::text());
        const QString text =
            Qt::mightBeRichText(QToolTip::text()) ? shown.toPlainText() : QToolTip::text();
        QToolTip::hideText();
        return text;
    };
    model.control("FrameBobinenBock").setToolTipText(u"Bobinenbock"_s);
    EXPECT_NE(hover(window.CheckFaden), u"Bobinenbock"_s);
    EXPECT_EQ(hover(window.FrameBobinenBock), u"Bobinenbock"_s);
    model.control("CheckEtikette").setToolTipText(markup);
    EXPECT_EQ(hover(window.CheckEtikette), markup);
}

// On a dark desktop scheme, set before or after the window is built, every text is dark on
// the light grey (disabled texts are meant to recede, and are left out).
TEST(WindowPaletteTest, TextsStayDarkOnLightGreyWhateverTheDesktopsColours) {
    const QPalette desktop = QApplication::palette();
    QPalette dark(QColor(40, 40, 40));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    auto window = std::make_unique<frm_415_MainPicture_Config_Exe>();
    QApplication::setPalette(desktop);
    QApplication::setPalette(dark);
    DialogModel& model = window->dialog().model;
    for (int i = 0; i < model.count(); ++i) {
        const QString name = model.control(i).Name();
        const QPalette colours = window->findChild<QWidget*>(name)->palette();
        EXPECT_EQ(colours.color(QPalette::Window), Grey);
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            EXPECT_LT(colours.color(QPalette::Active, role).lightness(), 64)
                << name.toStdString() << " " << role;
        EXPECT_GT(colours.color(QPalette::Active, QPalette::Base).lightness(), 192);
    }
    window.reset();
    QApplication::setPalette(desktop);
}

QAccessibleInterface* node(QWidget* control) {
    return QAccessible::queryAccessibleInterface(control);
}

// The picture buttons have names a screen reader can say, or their tool tips (the question
// mark's only describes it); a caption is said without its mnemonic. A client sees a dialog
// named by its title, the nodes in screen order, the question mark as the help mode's switch.
TEST_F(WindowTest, AccessibilityClientsSeeTheDialogAsItStandsOnScreen) {
    const auto spoken = [](QWidget* button) { return node(button)->text(QAccessible::Name); };
    EXPECT_EQ(spoken(window.CommandOK), u"OK"_s);
    EXPECT_EQ(spoken(window.CommandCancel), u"Cancel"_s);
    model.control("CommandCancel").setToolTipText(u"Abbrechen"_s);
    EXPECT_EQ(spoken(window.CommandCancel), u"Abbrechen"_s);
    model.control("CommandQuest").setToolTipText(u"Hilfe ein/aus: ein Klick erkl\u00E4rt"_s);
    EXPECT_EQ(spoken(window.CommandQuest), u"Help mode"_s);
    EXPECT_EQ(node(window.CommandQuest)->text(QAccessible::Description),
              u"Hilfe ein/aus: ein Klick erkl\u00E4rt"_s);
    model.control("CheckFaden").setCaption(u"&ohne && Faden"_s);
    EXPECT_EQ(spoken(window.CheckFaden), u"ohne & Faden"_s);
    EXPECT_EQ(node(&window)->role(), QAccessible::Dialog);
    EXPECT_EQ(node(&window)->text(QAccessible::Name), u"Base JX5CFG-Erweiterung"_s);
    QStringList order;
    const std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* parent) {
        for (int i = 0; i < parent->childCount(); ++i) {
            order << parent->child(i)->object()->objectName();
            EXPECT_EQ(parent->indexOfChild(parent->child(i)), i);
            walk(parent->child(i));
        }
    };
    walk(node(&window));
    EXPECT_EQ(order.join(u' '),
              u"Header MainFrame FrameBobinenBock CheckEtikette CheckBobbineLinks "
              "CheckOhneBobinen CheckBobRechtsFadenAnMasch CheckFaden "
              "CommandQuest CommandOK CommandCancel"_s);
    QAccessibleInterface* helpSwitch = node(window.CommandQuest);
    for (const bool helpMode : {false, true, false}) {
        EXPECT_EQ(model.HelpMode, helpMode);
        EXPECT_TRUE(helpSwitch->role() == QAccessible::CheckBox && helpSwitch->state().checkable);
        EXPECT_EQ(helpSwitch->state().checked, helpMode);
        EXPECT_EQ(helpSwitch->actionInterface()->actionNames().value(0),
                  QAccessibleActionInterface::toggleAction());
        window.CommandQuest->click();
    }
}

// An action only queues the click, so the info box opens after the action has returned; while
// a box is open the dialog beneath refuses every action, now and later.
TEST_F(WindowTest, ActionsReturnBeforeTheirBoxAndAreRefusedWhileABoxIsOpen) {
    window.CommandOK->setEnabled(true);
    window.CommandQuest->click();
    for (const bool boxOpen : {true, false}) {
        QMessageBox box;
        box.setWindowModality(Qt::ApplicationModal);
        box.setVisible(boxOpen);
        // Toggle, Press, Press, Toggle; the last leaves the help mode.
        for (QWidget* control : std::initializer_list<QWidget*>{
                 window.CheckFaden, window.CommandOK, window.CommandCancel, window.CommandQuest}) {
            platform.boxes.clear();
            QAccessibleActionInterface* actions = node(control)->actionInterface();
            actions->doAction(actions->actionNames().value(0));
            EXPECT_TRUE(platform.boxes.empty());
            QApplication::processEvents();
            EXPECT_EQ(platform.boxes.size(), boxOpen || !model.HelpMode ? 0u : 1u) << boxOpen;
        }
        EXPECT_EQ(model.HelpMode, boxOpen);
    }
    EXPECT_FALSE(window.CheckFaden->isChecked());
}

// The real platform's boxes, looked at while they are open.
class QtPlatformTest : public testing::Test {
protected:
    // Shows a box; whileOpen runs while it is open and must answer it.
    platform::Answer show(const QString& text, const QString& title, platform::Buttons buttons,
                          std::function<void(QMessageBox*)> whileOpen) {
        QTimer::singleShot(0, [whileOpen] {
            whileOpen(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
        });
        return real.messageBox(text, title, platform::Icon::Exclamation, buttons,
                               platform::Answer::No);
    }
    char name[23] = "415_MainPicture_Config";
    char* argv[2] = {name, nullptr};
    window::DesktopPlatform real{1, argv};
};

// The requested parts, LF CR and CR LF pairs (single and repeated) shown as single breaks,
// and the button pressed as the answer. Only Yes or No answers a Yes/No box: Escape and the
// frame's close request leave it open. The busy pointer gives way to the normal one meanwhile.
TEST_F(QtPlatformTest, AYesNoBoxShowsTheRequestedPartsAndOnlyYesOrNoAnswersIt) {
    real.setMousePointer(platform::Pointer::Hourglass);
    for (const auto& [pressed, expected] : {std::pair{QMessageBox::Yes, platform::Answer::Yes},
                                            std::pair{QMessageBox::No, platform::Answer::No}}) {
        const auto answer =
            show(u"Cancel edits?\n\rRemark:"_s, u"Title"_s, platform::Buttons::YesNo,
                 [pressed = pressed](QMessageBox* box) {
                     EXPECT_EQ(box->windowTitle(), u"Title"_s);
                     EXPECT_EQ(box->text(), u"Cancel edits?\nRemark:"_s);
                     EXPECT_EQ(box->icon(), QMessageBox::Warning);
                     EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
                     EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
                     QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                     QApplication::sendEvent(box, &escape);
                     QCloseEvent close;
                     QApplication::sendEvent(box, &close);
                     QApplication::processEvents();
                     EXPECT_TRUE(box->isVisible());
                     box->button(pressed)->click();
                 });
        EXPECT_EQ(answer, expected);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    real.setMousePointer(platform::Pointer::Default);
    EXPECT_EQ(window::textForDisplay(u"\n\ra\n\rb\r\nc\r\n\r\nd\n\r\n\re\r\n\r\n\r\nf"_s),
              u"\na\nb\nc\n\nd\n\ne\n\n\nf"_s);
}

// Every line of the text stands whole on one line of the box, and the box is wide enough for
// its title and a title bar's three buttons (each as wide as the bar is high).
TEST_F(QtPlatformTest, ABoxShowsEachLineWholeAndItsTitle) {
    const QString integratedCancel =
        u"Cancel edits?\n\rRemark:\n\rUntil now no changes have been taken over \n\r"
        "\"415_MainPicture\" has to be configured again in \"standalone-mode\" via \n\r"
        "\"/opt/hmi/415_MainPicture/415_MainPicture_Config\""_s;
    for (const auto& [text, title] :
         {std::pair{integratedCancel, u"Cancel?"_s}, std::pair{u"0"_s, u"Info:"_s}}) {
        show(text, title, platform::Buttons::Ok, [text = text, title = title](QMessageBox* box) {
            const auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
            for (const QString& line : window::textForDisplay(text).split(u'\n'))
                EXPECT_GE(label->contentsRect().width(),
                          label->fontMetrics().horizontalAdvance(line));
            QFont bold = box->font();
            bold.setBold(true);
            EXPECT_GT(box->width(), QFontMetrics(bold).horizontalAdvance(title) +
                                        3 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight));
            box->button(QMessageBox::Ok)->click();
        });
    }
}

} // namespace
