#include "support/ScriptedPlatform.h"

#include "platform/Failure.h"
#include "platform/ProfileFile.h"

#include <QFile>
#include <QFileInfo>

void ScriptedPlatform::failNext(const QString& operation, qint32 number, int times) {
    pendingFailures_.push_back({operation, number, times});
}

void ScriptedPlatform::enter(const char* operation) {
    for (auto it = pendingFailures_.begin(); it != pendingFailures_.end(); ++it) {
        if (it->operation != QLatin1String(operation))
            continue;
        const qint32 number = it->number;
        if (--it->times == 0)
            pendingFailures_.erase(it);
        throw Failure{number, name, failureDescription(static_cast<FailureNumber>(number))};
    }
}

QByteArray ScriptedPlatform::getPrivateProfileString(const QByteArray& section,
                                                     const QByteArray& key,
                                                     const QByteArray& defaultValue, int bufferSize,
                                                     const QString& file) {
    enter("getPrivateProfileString");
    return platform::profile::readString(section, key, defaultValue, bufferSize, file);
}

qint32 ScriptedPlatform::getPrivateProfileInt(const QByteArray& section, const QByteArray& key,
                                              qint32 defaultValue, const QString& file) {
    enter("getPrivateProfileInt");
    return platform::profile::readInteger(section, key, defaultValue, file);
}

int ScriptedPlatform::writePrivateProfileString(const QByteArray& section, const QByteArray& key,
                                                const std::optional<QByteArray>& value,
                                                const QString& file) {
    enter("writePrivateProfileString");
    return platform::profile::writeString(section, key, value, file);
}

bool ScriptedPlatform::isOrdinaryFile(const QString& path) {
    enter("isOrdinaryFile");
    return !path.isEmpty() && QFileInfo(path).isFile();
}

void ScriptedPlatform::appendToFile(const QString& path, const QByteArray& bytes) {
    enter("appendToFile");
    QFile file(path);
    if (path.isEmpty() || QFileInfo(path).isDir() ||
        !file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw Failure{PermissionDenied, name, failureDescription(PermissionDenied)};
    file.write(bytes);
}

platform::Answer ScriptedPlatform::messageBox(const QString& text, const QString& title,
                                              platform::Icon icon, platform::Buttons buttons,
                                              platform::Answer defaultButton) {
    enter("messageBox");
    platform::Answer answer = defaultButton;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    boxes.push_back({text, title, icon, buttons, defaultButton, answer});
    return answer;
}

std::optional<QString> ScriptedPlatform::environmentValue(const QString& variable) {
    const auto found = environment.constFind(variable);
    return found == environment.constEnd() ? std::nullopt : std::optional<QString>(*found);
}
