#include "platform/QtPlatform.h"

#include "platform/Failure.h"
#include "platform/ProfileFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
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

bool QtPlatform::isOrdinaryFile(const QString& path) {
    // Linux has no hidden or system attribute: a dot file is an ordinary file here.
    return !path.isEmpty() && QFileInfo(path).isFile();
}

void QtPlatform::appendToFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty())
        raiseFailure(BadFileName);
    const QFileInfo info(path);
    if (info.isDir())
        raiseFailure(PathFileAccess);
    if (!info.absoluteDir().exists())
        raiseFailure(PathNotFound);
    // Opened without blocking and checked on the open handle, so that a pipe or a device in
    // the log's place can neither hang the program nor take the entry.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        raiseFailure(PermissionDenied);
    struct stat status {};
    bool written = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    for (qsizetype done = 0; written && done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        written = put > 0;
        done += qMax<ssize_t>(put, 0);
    }
    if (::close(fd) != 0 || !written)
        raiseFailure(PathFileAccess);
}

Answer QtPlatform::messageBox(const QString& text, const QString& title, Icon icon, Buttons buttons,
                              Answer defaultButton) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(textForDisplay(text));
    box.setTextFormat(Qt::PlainText);
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
    return QFileInfo(executablePath_).completeBaseName();
}

QString QtPlatform::executableFileName() {
    return QFileInfo(executablePath_).fileName();
}

QString QtPlatform::firstEnvironmentEntry() {
    return environ != nullptr && environ[0] != nullptr ? QString::fromLocal8Bit(environ[0])
                                                       : QString();
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

QString textForDisplay(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace platform
