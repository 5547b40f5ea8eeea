#include "support/ScriptedPlatform.h"

#include "core/Failure.h"
#include "files/LogAppend.h"
#include "platform/MachinePlatform.h"

#include <QFile>

std::optional<qint32> ScriptedPlatform::pendingFailure(const char* operation) {
    for (auto it = failures_.begin(); it != failures_.end(); ++it) {
        if (it->first != QLatin1String(operation))
            continue;
        const qint32 number = it->second;
        failures_.erase(it);
        return number;
    }
    return std::nullopt;
}

void ScriptedPlatform::enter(const char* operation) {
    if (const std::optional<qint32> number = pendingFailure(operation))
        raiseFailure(static_cast<FailureNumber>(*number));
}

template <typename T, typename Real>
FileOutcome<T> ScriptedPlatform::scripted(const char* operation, T fallback, Real real) {
    if (const std::optional<qint32> error = pendingFailure(operation))
        return {fallback, *error};
    return real();
}

FileOutcome<QByteArray> ScriptedPlatform::getPrivateProfileString(const QByteArray& section,
                                                                  const QByteArray& key,
                                                                  const QByteArray& defaultValue,
                                                                  int bufferSize,
                                                                  const QString& file) {
    return scripted("getPrivateProfileString", QByteArray(), [&] {
        return files_->readString(section, key, defaultValue, bufferSize, file);
    });
}

FileOutcome<qint32> ScriptedPlatform::getPrivateProfileInt(const QByteArray& section,
                                                           const QByteArray& key,
                                                           qint32 defaultValue,
                                                           const QString& file) {
    return scripted("getPrivateProfileInt", defaultValue,
                    [&] { return files_->readInteger(section, key, defaultValue, file); });
}

FileOutcome<int> ScriptedPlatform::writePrivateProfileString(const QByteArray& section,
                                                             const QByteArray& key,
                                                             const std::optional<QByteArray>& value,
                                                             const QString& file) {
    return scripted("writePrivateProfileString", 0,
                    [&] { return files_->writeString(section, key, value, file); });
}

FileOutcome<bool> ScriptedPlatform::isOrdinaryFile(const QString& path) {
    return scripted("isOrdinaryFile", false, [&] { return platform::ordinaryFileAt(path); });
}

int ScriptedPlatform::whyNoOrdinaryFile(const QString& path) {
    return files::whyNoOrdinaryFile(path);
}

int ScriptedPlatform::appendToFile(const QString& path, const QByteArray& bytes) {
    if (const std::optional<qint32> error = pendingFailure("appendToFile"))
        return *error;
    return files::appendWhole(QFile::encodeName(path), bytes);
}

platform::Answer ScriptedPlatform::messageBox(const QString& text, const QString& title,
                                              platform::Icon icon, platform::Buttons buttons,
                                              platform::Answer defaultButton) {
    enter("messageBox");
    boxes.push_back({text, title, icon, buttons, defaultButton});
    if (answers.empty())
        return defaultButton;
    const platform::Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

platform::Version ScriptedPlatform::version() {
    enter("version");
    return {2, 0, 0};
}
