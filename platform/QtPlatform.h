#pragma once
// The real platform: files through Qt and our INI engine, message boxes and pointers through
// Qt Widgets, the process through the C runtime.

#include "platform/Platform.h"

#include <QStringList>

namespace platform {

class QtPlatform : public Platform {
public:
    QtPlatform(int argc, char** argv);

    QByteArray getPrivateProfileString(const QByteArray& section, const QByteArray& key,
                                       const QByteArray& defaultValue, int bufferSize,
                                       const QString& file) override;
    qint32 getPrivateProfileInt(const QByteArray& section, const QByteArray& key,
                                qint32 defaultValue, const QString& file) override;
    int writePrivateProfileString(const QByteArray& section, const QByteArray& key,
                                  const std::optional<QByteArray>& value,
                                  const QString& file) override;
    int lastWriteError() override;
    int lastReadError() override;
    int holdFolderLock(const QString& file) override;
    void releaseFolderLock() override;
    bool isOrdinaryFile(const QString& path) override;
    int whyNoOrdinaryFile(const QString& path) override;
    void appendToFile(const QString& path, const QByteArray& bytes) override;
    Answer messageBox(const QString& text, const QString& title, Icon icon, Buttons buttons,
                      Answer defaultButton) override;
    void setMousePointer(Pointer pointer) override;
    void processPendingEvents() override;
    QString commandLineArguments() override;
    QString programFolder() override;
    QString executableName() override;
    QString executableFileName() override;
    QString firstEnvironmentEntry() override;
    std::optional<QString> environmentValue(const QString& name) override;
    Version version() override;
    [[noreturn]] void endProcess(int exitCode) override;

private:
    QStringList arguments_;
    QString executablePath_;
    QString firstEnvironmentEntry_;
    bool hourglassShown_ = false;
};

// The existence test: true for an ordinary file at path (links followed), false when nothing is
// there or a folder is. Anything else in a file's place (a pipe, a socket, a device, a loop of
// links) and a look that fails (no permission, I/O error) raise the failure of a file that
// could not be read: it is there, and it must not pass for missing.
bool ordinaryFileAt(const QString& path);

// The executable's name without its extension. Linux names have none: only a final ".exe"
// (any letter case), as a copy from the home platform may carry, is dropped; any other dot
// belongs to the name ("Line.2_Config" stays whole).
QString withoutExeExtension(const QString& fileName);

// The system's texts break lines with LF CR (and the info box with CR LF); a message box
// shows each such pair as one line break.
QString textForDisplay(const QString& text);

} // namespace platform
