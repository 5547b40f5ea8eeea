#pragma once
// A platform for unit tests: message-box answers are scripted and every box is recorded,
// failures can be injected into any platform operation, and "end at once" throws EndAtOnce
// so the test sees it instead of dying. Profile functions use the real INI engine on real
// temporary files.

#include "platform/Platform.h"

#include <QMap>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
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
    platform::Answer defaultButton, answer;
};

class ScriptedPlatform : public platform::Platform {
public:
    // Installs itself as the current platform for its lifetime.
    ScriptedPlatform() { platform::install(this); }
    ~ScriptedPlatform() override { platform::install(nullptr); }

    // What the process reports.
    QString arguments;
    QString folder = QStringLiteral("/HMI/415_MainPicture");
    QString name = QStringLiteral("415_MainPicture_Config");
    QString firstEnvironment = QStringLiteral("USERNAME=abc");
    QMap<QString, QString> environment;
    platform::Version programVersion{2, 0, 0};

    // Answers for the next boxes, in order; when none is left a box returns its default.
    std::deque<platform::Answer> answers;
    std::vector<RecordedBox> boxes;
    std::vector<platform::Pointer> pointers;
    std::optional<int> endedWith;

    // The next `times` calls of the operation (named as its function: "isOrdinaryFile",
    // "getPrivateProfileString", "messageBox", ...) fail with this number.
    void failNext(const QString& operation, qint32 number, int times = 1);

    QByteArray getPrivateProfileString(const QByteArray& section, const QByteArray& key,
                                       const QByteArray& defaultValue, int bufferSize,
                                       const QString& file) override;
    qint32 getPrivateProfileInt(const QByteArray& section, const QByteArray& key,
                                qint32 defaultValue, const QString& file) override;
    int writePrivateProfileString(const QByteArray& section, const QByteArray& key,
                                  const std::optional<QByteArray>& value,
                                  const QString& file) override;
    bool isOrdinaryFile(const QString& path) override;
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
    std::optional<QString> environmentValue(const QString& variable) override;
    platform::Version version() override { return reported("version", programVersion); }
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

    struct PendingFailure {
        QString operation;
        qint32 number, times;
    };
    std::vector<PendingFailure> pendingFailures_;
};
