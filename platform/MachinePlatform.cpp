#include "platform/MachinePlatform.h"

#include "files/LogAppend.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace platform {

MachinePlatform::MachinePlatform(int argc, char** argv) {
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
}

FileOutcome<QByteArray> MachinePlatform::getPrivateProfileString(const QByteArray& section,
                                                                 const QByteArray& key,
                                                                 const QByteArray& defaultValue,
                                                                 int bufferSize,
                                                                 const QString& file) {
    return profiles_.readString(section, key, defaultValue, bufferSize, file);
}

FileOutcome<qint32> MachinePlatform::getPrivateProfileInt(const QByteArray& section,
                                                          const QByteArray& key,
                                                          qint32 defaultValue,
                                                          const QString& file) {
    return profiles_.readInteger(section, key, defaultValue, file);
}

FileOutcome<int> MachinePlatform::writePrivateProfileString(const QByteArray& section,
                                                            const QByteArray& key,
                                                            const std::optional<QByteArray>& value,
                                                            const QString& file) {
    return profiles_.writeString(section, key, value, file);
}

FileOutcome<bool> MachinePlatform::holdFolderLock(const QString& file) {
    return profiles_.locks().hold(file);
}

void MachinePlatform::releaseFolderLock() {
    profiles_.locks().release();
}

FileOutcome<bool> MachinePlatform::isOrdinaryFile(const QString& path) {
    return ordinaryFileAt(path);
}

int MachinePlatform::whyNoOrdinaryFile(const QString& path) {
    return files::whyNoOrdinaryFile(path);
}

int MachinePlatform::appendToFile(const QString& path, const QByteArray& bytes) {
    return path.isEmpty() ? ENOENT : files::appendWhole(QFile::encodeName(path), bytes);
}

Answer MachinePlatform::messageBox(const QString& text, const QString& title, Icon, Buttons,
                                   Answer defaultButton) {
    QString shown = title + QStringLiteral(": ") + text;
    const QByteArray line = shown.replace(QLatin1Char('\n'), QLatin1Char(' '))
                                .replace(QLatin1Char('\r'), QLatin1Char(' '))
                                .toLocal8Bit();
    std::fprintf(stderr, "%s: no screen for the box: %s\n",
                 qPrintable(QFileInfo(executablePath_).fileName()), line.constData());
    return defaultButton;
}

void MachinePlatform::setMousePointer(Pointer) {}

void MachinePlatform::processPendingEvents() {}

QString MachinePlatform::commandLineArguments() {
    return arguments_.join(QLatin1Char(' '));
}

QString MachinePlatform::programFolder() {
    return QFileInfo(executablePath_).absolutePath();
}

QString MachinePlatform::executableFileName() {
    return QFileInfo(executablePath_).fileName();
}

QString MachinePlatform::firstEnvironmentEntry() {
    return firstEnvironmentEntry_;
}

std::optional<QString> MachinePlatform::environmentValue(const QString& name) {
    const QByteArray key = name.toLocal8Bit();
    if (!qEnvironmentVariableIsSet(key.constData()))
        return std::nullopt;
    return qEnvironmentVariable(key.constData());
}

Version MachinePlatform::version() {
    return {MAINPICTURE_VERSION_MAJOR, MAINPICTURE_VERSION_MINOR, MAINPICTURE_VERSION_PATCH};
}

void MachinePlatform::endProcess(int exitCode) {
    std::fflush(nullptr);
    // At once: no window is closed, no destructor runs that could ask or store anything.
    std::_Exit(exitCode);
}

FileOutcome<bool> ordinaryFileAt(const QString& path) {
    // Linux has no hidden or system attribute: a dot file is an ordinary file here.
    const int why = files::whyNoOrdinaryFile(path);
    if (why == 0)
        return {true};
    if (files::meansMissing(why) || why == EISDIR)
        return {false};
    return {false, why};
}

} // namespace platform
