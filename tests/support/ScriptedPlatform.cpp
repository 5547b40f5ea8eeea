#include "support/ScriptedPlatform.h"

#include "platform/Failure.h"
#include "platform/ProfileFile.h"

#include <QFile>
#include <QFileInfo>

using platform::Answer;

ScriptedPlatform::ScriptedPlatform() {
    platform::install(this);
}

ScriptedPlatform::~ScriptedPlatform() {
    platform::install(nullptr);
}

void ScriptedPlatform::failNext(const QString& operation, qint32 number, int times) {
    pendingFailures_.push_back({operation, number, times});
}

void ScriptedPlatform::enter(const QString& operation) {
    for (auto it = pendingFailures_.begin(); it != pendingFailures_.end(); ++it) {
        if (it->operation != operation)
            continue;
        const qint32 number = it->number;
        if (--it->times == 0)
            pendingFailures_.erase(it);
        throw Failure{number, name, failureDescription(static_cast<FailureNumber>(number))};
    }
    if (inject)
        inject(operation);
}

QByteArray ScriptedPlatform::getPrivateProfileString(const QByteArray& section,
                                                     const QByteArray& key,
                                                     const QByteArray& defaultValue, int bufferSize,
                                                     const QString& file) {
    enter(QStringLiteral("getPrivateProfileString"));
    return platform::profile::readString(section, key, defaultValue, bufferSize, file);
}

qint32 ScriptedPlatform::getPrivateProfileInt(const QByteArray& section, const QByteArray& key,
                                              qint32 defaultValue, const QString& file) {
    enter(QStringLiteral("getPrivateProfileInt"));
    return platform::profile::readInteger(section, key, defaultValue, file);
}

int ScriptedPlatform::writePrivateProfileString(const QByteArray& section, const QByteArray& key,
                                                const std::optional<QByteArray>& value,
                                                const QString& file) {
    enter(QStringLiteral("writePrivateProfileString"));
    return platform::profile::writeString(section, key, value, file);
}

bool ScriptedPlatform::isOrdinaryFile(const QString& path) {
    enter(QStringLiteral("isOrdinaryFile"));
    return !path.isEmpty() && QFileInfo(path).isFile();
}

void ScriptedPlatform::appendToFile(const QString& path, const QByteArray& bytes) {
    enter(QStringLiteral("appendToFile"));
    QFile file(path);
    if (path.isEmpty() || QFileInfo(path).isDir() ||
        !file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw Failure{PermissionDenied, name, failureDescription(PermissionDenied)};
    file.write(bytes);
}

Answer ScriptedPlatform::messageBox(const QString& text, const QString& title, platform::Icon icon,
                                    platform::Buttons buttons, Answer defaultButton) {
    enter(QStringLiteral("messageBox"));
    Answer answer = defaultButton;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    boxes.push_back({text, title, icon, buttons, defaultButton, answer});
    if (whileBoxOpen)
        whileBoxOpen(boxes.back());
    return answer;
}

void ScriptedPlatform::setMousePointer(platform::Pointer pointer) {
    pointers.push_back(pointer);
}

void ScriptedPlatform::processPendingEvents() {
    ++pendingEventRuns;
    if (onPendingEvents)
        onPendingEvents();
}

QString ScriptedPlatform::commandLineArguments() {
    enter(QStringLiteral("commandLineArguments"));
    return arguments;
}

QString ScriptedPlatform::programFolder() {
    enter(QStringLiteral("programFolder"));
    return folder;
}

QString ScriptedPlatform::executableName() {
    enter(QStringLiteral("executableName"));
    return name;
}

QString ScriptedPlatform::executableFileName() {
    return name;
}

QString ScriptedPlatform::firstEnvironmentEntry() {
    enter(QStringLiteral("firstEnvironmentEntry"));
    return firstEnvironment;
}

std::optional<QString> ScriptedPlatform::environmentValue(const QString& variable) {
    const auto found = environment.constFind(variable);
    if (found == environment.constEnd())
        return std::nullopt;
    return *found;
}

platform::Version ScriptedPlatform::version() {
    enter(QStringLiteral("version"));
    return programVersion;
}

void ScriptedPlatform::endProcess(int exitCode) {
    endedWith = exitCode;
    throw EndAtOnce{exitCode};
}
