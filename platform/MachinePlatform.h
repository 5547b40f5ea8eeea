#pragma once
// The real machine behind the seam: files through our INI engine and safe files, the process
// through the C runtime. It has no screen: a box asked of it is said on stderr and answered
// with its default button, so a run on it can never wait for a person. The window's platform
// (window/DesktopPlatform.h) adds the screen.

#include "platform/Platform.h"
#include "platform/ProfileFiles.h"

#include <QStringList>

namespace platform {

class MachinePlatform : public Platform {
public:
    MachinePlatform(int argc, char** argv);

    FileOutcome<QByteArray> getPrivateProfileString(const QByteArray& section,
                                                    const QByteArray& key,
                                                    const QByteArray& defaultValue, int bufferSize,
                                                    const QString& file) override;
    FileOutcome<qint32> getPrivateProfileInt(const QByteArray& section, const QByteArray& key,
                                             qint32 defaultValue, const QString& file) override;
    FileOutcome<int> writePrivateProfileString(const QByteArray& section, const QByteArray& key,
                                               const std::optional<QByteArray>& value,
                                               const QString& file) override;
    FileOutcome<bool> holdFolderLock(const QString& file) override;
    void releaseFolderLock() override;
    FileOutcome<bool> isOrdinaryFile(const QString& path) override;
    int whyNoOrdinaryFile(const QString& path) override;
    int appendToFile(const QString& path, const QByteArray& bytes) override;
    Answer messageBox(const QString& text, const QString& title, Icon icon, Buttons buttons,
                      Answer defaultButton) override;
    void setMousePointer(Pointer pointer) override;
    void processPendingEvents() override;
    QString commandLineArguments() override;
    QString programFolder() override;
    QString executableFileName() override;
    QString firstEnvironmentEntry() override;
    std::optional<QString> environmentValue(const QString& name) override;
    Version version() override;
    [[noreturn]] void endProcess(int exitCode) override;

protected:
    ProfileFiles& profileFiles() { return profiles_; }

private:
    QStringList arguments_;
    QString executablePath_;
    QString firstEnvironmentEntry_;
    ProfileFiles profiles_;
};

// The existence test on real files, as Platform::isOrdinaryFile states it.
FileOutcome<bool> ordinaryFileAt(const QString& path);

} // namespace platform
