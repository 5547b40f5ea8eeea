#include "window/DesktopPlatform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace window {

DesktopPlatform::DesktopPlatform(int argc, char** argv) : MachinePlatform(argc, argv) {
    profileFiles().locks().setWhileWaiting([] {
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

namespace {

// A message box as the system's boxes behave:
//   - a Yes/No box is answered by Yes or No only: Escape and the frame's close request do
//     nothing (the frame shows no close button where the window manager honours that);
//   - its lines are shown as the text has them: the box grows to its longest line and wraps
//     only what the screen cannot hold, and it is wide enough for its title.
class SystemMessageBox : public QMessageBox {
public:
    SystemMessageBox(bool answeredByButtonsOnly, QWidget* parent)
        : QMessageBox(parent), answeredByButtonsOnly_(answeredByButtonsOnly) {
        if (answeredByButtonsOnly_)
            setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) &
                           ~Qt::WindowCloseButtonHint);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (answeredByButtonsOnly_ && event->matches(QKeySequence::Cancel))
            return;
        QMessageBox::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent* event) override {
        if (answeredByButtonsOnly_) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        fitToText();
    }

private:
    // The toolkit's box wraps every line beyond half the screen's width.
    void fitToText() {
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        if (label == nullptr || layout() == nullptr)
            return;
        const int available = screen()->availableGeometry().width();
        label->setWordWrap(false);
        layout()->activate();
        int width = qMax(layout()->totalMinimumSize().width(), widthForTitle());
        if (width > available) {
            label->setWordWrap(true);
            width = available;
        }
        layout()->activate();
        const int height = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width)
                                                         : layout()->totalMinimumSize().height();
        setFixedSize(width, height);
    }

    // The title in a bold face, and room for the frame's icon and three buttons.
    int widthForTitle() const {
        QFont titleFont = font();
        titleFont.setBold(true);
        const int buttonRoom = 4 * style()->pixelMetric(QStyle::PM_TitleBarHeight);
        return QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + buttonRoom;
    }

    bool answeredByButtonsOnly_;
};

// While a box is open the busy pointer gives way to the normal one, and comes back after.
class NormalPointerOverBox {
public:
    NormalPointerOverBox() : busy_(QGuiApplication::overrideCursor() != nullptr) {
        if (busy_)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalPointerOverBox() {
        if (busy_)
            QGuiApplication::restoreOverrideCursor();
    }
    NormalPointerOverBox(const NormalPointerOverBox&) = delete;
    NormalPointerOverBox& operator=(const NormalPointerOverBox&) = delete;

private:
    bool busy_;
};

} // namespace

platform::Answer DesktopPlatform::messageBox(const QString& text, const QString& title,
                                             platform::Icon icon, platform::Buttons buttons,
                                             platform::Answer defaultButton) {
    SystemMessageBox box(buttons == platform::Buttons::YesNo, QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(textForDisplay(text));
    switch (icon) {
    case platform::Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case platform::Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case platform::Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    if (buttons == platform::Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(defaultButton == platform::Answer::No ? QMessageBox::No
                                                                   : QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    const NormalPointerOverBox normalPointer;
    switch (box.exec()) {
    case QMessageBox::Yes:
        return platform::Answer::Yes;
    case QMessageBox::No:
        return platform::Answer::No;
    default:
        return buttons == platform::Buttons::YesNo ? platform::Answer::No : platform::Answer::Ok;
    }
}

void DesktopPlatform::setMousePointer(platform::Pointer pointer) {
    if (pointer == platform::Pointer::Hourglass && !hourglassShown_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        hourglassShown_ = true;
    } else if (pointer == platform::Pointer::Default && hourglassShown_) {
        QApplication::restoreOverrideCursor();
        hourglassShown_ = false;
    }
}

void DesktopPlatform::processPendingEvents() {
    QCoreApplication::processEvents();
}

QString textForDisplay(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace window
