#include "support/ScriptedPlatform.h"

#include "platform/Failure.h"
#include "platform/QtPlatform.h"

#include <QFile>
#include <QFileInfo>

void ScriptedPlatform::enter(const char* operation) {
    for (auto it = failures_.begin(); it != failures_.end(); ++it) {
        if (it->first != QLatin1String(operation))
            continue;
        const auto number = static_cast<FailureNumber>(it->second);
        failures_.erase(it);
        throw Failure{number, name, failureDescription(number)};
    }
}

bool ScriptedPlatform::isOrdinaryFile(const QString& path) {
    enter("isOrdinaryFile");
    return platform::ordinaryFileAt(path);
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
    boxes.push_back({text, title, icon, buttons, defaultButton});
    if (answers.empty())
        return defaultButton;
    const platform::Answer answer = answers.front();
    answers.pop_front();
    return answer;
}
