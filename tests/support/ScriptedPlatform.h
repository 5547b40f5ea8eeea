#pragma once
// A platform for unit tests: scripted box answers, every box recorded, failures injected into
// any operation, and "end at once" thrown as EndAtOnce. Profile functions use the real engine.

#include "platform/Platform.h"
#include "platform/ProfileFiles.h"

#include <QMap>

#include <deque>
#include <memory>
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

    // The next call of the operation (named as its function) fails: a file call with that
    // system error in its outcome, any other call by raising the failure of that number.
    void failNext(const QString& operation, qint32 number) {
        failures_.push_back({operation, number});
    }

    FileOutcome<QByteArray> getPrivateProfileString(const QByteArray& section,
                                                    const QByteArray& key,
                                                    const QByteArray& defaultValue, int size,
                                                    const QString& file) override {
        return scripted("getPrivateProfileString", QByteArray(),
                        [&] { return files_->readString(section, key, defaultValue, size, file); });
    }
    FileOutcome<qint32> getPrivateProfileInt(const QByteArray& section, const QByteArray& key,
                                             qint32 defaultValue, const QString& file) override {
        return scripted("getPrivateProfileInt", defaultValue,
                        [&] { return files_->readInteger(section, key, defaultValue, file); });
    }
    FileOutcome<int> writePrivateProfileString(const QByteArray& section, const QByteArray& key,
                                               const std::optional<QByteArray>& value,
                                               const QString& file) override {
        return scripted("writePrivateProfileString", 0,
                        [&] { return files_->writeString(section, key, value, file); });
    }
    FileOutcome<bool> holdFolderLock(const QString& file) override {
        return files_->locks().hold(file);
    }
    void releaseFolderLock() override { files_->locks().release(); }
    FileOutcome<bool> isOrdinaryFile(const QString& path) override;
    int whyNoOrdinaryFile(const QString& path) override;
    int appendToFile(const QString& path, const QByteArray& bytes) override;
    platform::Answer messageBox(const QString& text, const QString& title, platform::Icon icon,
                                platform::Buttons buttons, platform::Answer defaultButton) override;
    void setMousePointer(platform::Pointer pointer) override { pointers.push_back(pointer); }
    void processPendingEvents() override {}
    QString commandLineArguments() override { return arguments; }
    QString programFolder() override { return folder; }
    QString executableFileName() override { return name; }
    QString firstEnvironmentEntry() override { return firstEnvironment; }
    std::optional<QString> environmentValue(const QString& variable) override {
        return environment.contains(variable) ? std::optional(environment[variable]) : std::nullopt;
    }
    platform::Version version() override;
    [[noreturn]] void endProcess(int exitCode) override {
        endedWith = exitCode;
        throw EndAtOnce{exitCode};
    }

    // The real engine's files as a new run finds them: no file kept, no lock held, the whole
    // bound on waiting for locks left (on this clock).
    void freshFiles(std::chrono::milliseconds lockBound = files::FolderLocks::DefaultBound,
                    files::WaitClock clock = files::WaitClock::real()) {
        files_ = std::make_unique<platform::ProfileFiles>(lockBound, std::move(clock));
    }

private:
    std::unique_ptr<platform::ProfileFiles> files_ = std::make_unique<platform::ProfileFiles>();
    // The number of the failure injected into this call, or none.
    std::optional<qint32> pendingFailure(const char* operation);
    // A file call: its injected failure as the outcome's error, or the real call.
    template <typename T, typename Real>
    FileOutcome<T> scripted(const char* operation, T fallback, Real real) {
        if (const std::optional<qint32> error = pendingFailure(operation))
            return {fallback, *error};
        return real();
    }
    // Raises an injected failure of a call that has no outcome to carry it.
    void enter(const char* operation);
    std::vector<std::pair<QString, qint32>> failures_;
};
