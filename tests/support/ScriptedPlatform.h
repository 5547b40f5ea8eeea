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
    QString text;
    QString title;
    platform::Icon icon;
    platform::Buttons buttons;
    platform::Answer defaultButton;
    platform::Answer answer;
};

class ScriptedPlatform : public platform::Platform {
public:
    // Installs itself as the current platform for its lifetime.
    ScriptedPlatform();
    ~ScriptedPlatform() override;

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
    // Called while a box is open (after it is recorded), e.g. to check state at that moment.
    std::function<void(const RecordedBox&)> whileBoxOpen;

    std::vector<platform::Pointer> pointers;
    int pendingEventRuns = 0;
    std::function<void()> onPendingEvents;

    // Called first by every operation with its name ("isOrdinaryFile", "appendToFile",
    // "getPrivateProfileString", "getPrivateProfileInt", "writePrivateProfileString",
    // "commandLineArguments", ...); may throw a Failure to inject one.
    std::function<void(const QString& operation)> inject;
    // Shorthand: the next `times` calls of operation fail with this number.
    void failNext(const QString& operation, qint32 number, int times = 1);

    std::optional<int> endedWith;

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
    void setMousePointer(platform::Pointer pointer) override;
    void processPendingEvents() override;
    QString commandLineArguments() override;
    QString programFolder() override;
    QString executableName() override;
    QString executableFileName() override;
    QString firstEnvironmentEntry() override;
    std::optional<QString> environmentValue(const QString& variable) override;
    platform::Version version() override;
    [[noreturn]] void endProcess(int exitCode) override;

private:
    void enter(const QString& operation);

    struct PendingFailure {
        QString operation;
        qint32 number;
        int times;
    };
    std::vector<PendingFailure> pendingFailures_;
};
