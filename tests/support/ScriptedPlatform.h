#pragma once
// A platform for unit tests: scripted box answers, every box recorded, failures injected into
// any operation, and "end at once" thrown as EndAtOnce. Profile functions use the real engine.

#include "platform/Platform.h"
#include "platform/ProfileFile.h"
#include "platform/SafeFile.h"

#include <QMap>

#include <deque>
#include <optional>
#include <utility>
#include <vector>

// Thrown by endProcess. Deliberately no std::exception, like the real end it stands for:
// nothing in the program may catch it.
struct EndAtOnce {
    int exitCode;
};

struct RecordedBox {
    QString text, title;
    platform::Icon icon;
    platform::Buttons buttons;
    platform::Answer defaultButton;
};

class ScriptedPlatform : public platform::Platform {
public:
    // Installs itself as the current platform for its lifetime.
    ScriptedPlatform() { platform::install(this); }
    ~ScriptedPlatform() override { platform::install(nullptr); }

    // What the process reports.
    QString arguments, folder = QStringLiteral("/HMI/415_MainPicture");
    QString name = QStringLiteral("415_MainPicture_Config");
    QString firstEnvironment = QStringLiteral("USERNAME=abc");
    QMap<QString, QString> environment;
    // Answers for the next boxes, in order; when none is left a box returns its default.
    std::deque<platform::Answer> answers;
    std::vector<RecordedBox> boxes;
    std::vector<platform::Pointer> pointers;
    std::optional<int> endedWith;

    // The next call of the operation (named as its function) fails with this number.
    void failNext(const QString& operation, qint32 number) {
        failures_.push_back({operation, number});
    }

    QByteArray getPrivateProfileString(const QByteArray& section, const QByteArray& key,
                                       const QByteArray& defaultValue, int bufferSize,
                                       const QString& file) override {
        enter("getPrivateProfileString");
        return platform::profile::readString(section, key, defaultValue, bufferSize, file);
    }
    qint32 getPrivateProfileInt(const QByteArray& section, const QByteArray& key,
                                qint32 defaultValue, const QString& file) override {
        enter("getPrivateProfileInt");
        return platform::profile::readInteger(section, key, defaultValue, file);
    }
    int writePrivateProfileString(const QByteArray& section, const QByteArray& key,
                                  const std::optional<QByteArray>& value,
                                  const QString& file) override {
        enter("writePrivateProfileString");
        return platform::profile::writeString(section, key, value, file);
    }
    int lastWriteError() override { return platform::profile::lastWriteError(); }
    int lastReadError() override { return platform::profile::lastReadError(); }
    int holdFolderLock(const QString& file) override {
        return platform::file::holdFolderLock(file);
    }
    void releaseFolderLock() override { platform::file::releaseFolderLock(); }
    bool isOrdinaryFile(const QString& path) override;
    int whyNoOrdinaryFile(const QString& path) override {
        return platform::file::whyNoOrdinaryFile(path);
    }
    void appendToFile(const QString& path, const QByteArray& bytes) override;
    platform::Answer messageBox(const QString& text, const QString& title, platform::Icon icon,
                                platform::Buttons buttons, platform::Answer defaultButton) override;
    void setMousePointer(platform::Pointer pointer) override { pointers.push_back(pointer); }
    void processPendingEvents() override {}
    QString commandLineArguments() override { return reported("commandLineArguments", arguments); }
    QString programFolder() override { return reported("programFolder", folder); }
    QString executableName() override { return reported("executableName", name); }
    QString executableFileName() override { return name; }
    QString firstEnvironmentEntry() override {
        return reported("firstEnvironmentEntry", firstEnvironment);
    }
    std::optional<QString> environmentValue(const QString& variable) override {
        return environment.contains(variable) ? std::optional(environment[variable]) : std::nullopt;
    }
    platform::Version version() override { return reported("version", platform::Version{2, 0, 0}); }
    [[noreturn]] void endProcess(int exitCode) override {
        endedWith = exitCode;
        throw EndAtOnce{exitCode};
    }

private:
    // Called first by every operation that can fail; throws a pending failure.
    void enter(const char* operation);
    template <typename T> T reported(const char* operation, const T& value) {
        enter(operation);
        return value;
    }
    std::vector<std::pair<QString, qint32>> failures_;
};
