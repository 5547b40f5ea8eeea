#include "platform/QtPlatform.h"

#include "platform/Failure.h"
#include "platform/LogAppend.h"
#include "platform/ProfileFile.h"
#include "platform/SafeFile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace platform {

QtPlatform::QtPlatform(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        arguments_.append(QString::fromLocal8Bit(argv[i]));
    // The running executable itself, not the name it was started under.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    executablePath_ = self.exists() ? self.canonicalFilePath()
                                    : QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    // The environment as the process was given it: the program sets variables of its own
    // (the toolkit's platform) before anything asks for the first entry.
    if (environ != nullptr && environ[0] != nullptr)
        firstEnvironmentEntry_ = QString::fromLocal8Bit(environ[0]);
    // While a save waits for another program's lock the window keeps repainting under the busy
    // pointer; the user's input waits until the store is done.
    file::setWhileWaiting([] {
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

QByteArray QtPlatform::getPrivateProfileString(const QByteArray& section, const QByteArray& key,
                                               const QByteArray& defaultValue, int bufferSize,
                                               const QString& file) {
    return profile::readString(section, key, defaultValue, bufferSize, file);
}

qint32 QtPlatform::getPrivateProfileInt(const QByteArray& section, const QByteArray& key,
                                        qint32 defaultValue, const QString& file) {
    return profile::readInteger(section, key, defaultValue, file);
}

int QtPlatform::writePrivateProfileString(const QByteArray& section, const QByteArray& key,
                                          const std::optional<QByteArray>& value,
                                          const QString& file) {
    return profile::writeString(section, key, value, file);
}

int QtPlatform::lastWriteError() {
    return profile::lastWriteError();
}

int QtPlatform::lastReadError() {
    return profile::lastReadError();
}

int QtPlatform::holdFolderLock(const QString& file) {
    return file::holdFolderLock(file);
}

void QtPlatform::releaseFolderLock() {
    file::releaseFolderLock();
}

int QtPlatform::whyNoOrdinaryFile(const QString& path) {
    return file::whyNoOrdinaryFile(path);
}

bool QtPlatform::isOrdinaryFile(const QString& path) {
    return ordinaryFileAt(path);
}

void QtPlatform::appendToFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty())
        raiseFailure(BadFileName);
    switch (file::appendWhole(QFile::encodeName(path), bytes)) {
    case 0:
        return;
    case ENOENT:
    case ENOTDIR:
        raiseFailure(PathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case ELOOP:
        raiseFailure(PermissionDenied);
    default: // a folder, a pipe or a device in the log's place, a full disk, a size limit
        raiseFailure(PathFileAccess);
    }
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

Answer QtPlatform::messageBox(const QString& text, const QString& title, Icon icon, Buttons buttons,
                              Answer defaultButton) {
    SystemMessageBox box(buttons == Buttons::YesNo, QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(textForDisplay(text));
    switch (icon) {
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    const NormalPointerOverBox normalPointer;
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

void QtPlatform::setMousePointer(Pointer pointer) {
    if (pointer == Pointer::Hourglass && !hourglassShown_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        hourglassShown_ = true;
    } else if (pointer == Pointer::Default && hourglassShown_) {
        QApplication::restoreOverrideCursor();
        hourglassShown_ = false;
    }
}

void QtPlatform::processPendingEvents() {
    QCoreApplication::processEvents();
}

QString QtPlatform::commandLineArguments() {
    return arguments_.join(QLatin1Char(' '));
}

QString QtPlatform::programFolder() {
    return QFileInfo(executablePath_).absolutePath();
}

QString QtPlatform::executableName() {
    return withoutExeExtension(executableFileName());
}

QString QtPlatform::executableFileName() {
    return QFileInfo(executablePath_).fileName();
}

QString QtPlatform::firstEnvironmentEntry() {
    return firstEnvironmentEntry_;
}

std::optional<QString> QtPlatform::environmentValue(const QString& name) {
    const QByteArray key = name.toLocal8Bit();
    if (!qEnvironmentVariableIsSet(key.constData()))
        return std::nullopt;
    return qEnvironmentVariable(key.constData());
}

Version QtPlatform::version() {
    return {MAINPICTURE_VERSION_MAJOR, MAINPICTURE_VERSION_MINOR, MAINPICTURE_VERSION_PATCH};
}

void QtPlatform::endProcess(int exitCode) {
    std::fflush(nullptr);
    // At once: no window is closed, no destructor runs that could ask or store anything.
    std::_Exit(exitCode);
}

bool ordinaryFileAt(const QString& path) {
    // Linux has no hidden or system attribute: a dot file is an ordinary file here.
    const int why = file::whyNoOrdinaryFile(path);
    if (why == 0)
        return true;
    if (file::meansMissing(why) || why == EISDIR)
        return false;
    raiseReadFailure(path, why);
}

QString withoutExeExtension(const QString& fileName) {
    const QLatin1String extension(".exe");
    return fileName.endsWith(extension, Qt::CaseInsensitive) ? fileName.chopped(extension.size())
                                                             : fileName;
}

QString textForDisplay(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace platform
