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
