#include "run/Switches.h"

#include "platform/Platform.h"
#include "platform/Text.h"

QString switchValue(const QString& commandLine, const QString& switchName) {
    // A position in the upper-cased text is the same position in the command line.
    const qsizetype position =
        platform::upperCase(commandLine).indexOf(platform::upperCase(switchName));
    if (position < 0)
        return QString();
    QString value;
    // The one character after the name separates it from the value, whatever it is.
    const qsizetype start = position + switchName.size() + 1;
    if (start < commandLine.size())
        value = platform::upperCase(platform::trimSpaces(commandLine.mid(start)));
    const qsizetype slash = value.indexOf(QLatin1Char('/'));
    if (slash >= 0)
        value = platform::trimSpaces(platform::upperCase(value.left(slash)));
    return value;
}

bool unattendedRun() {
    return switchValue(platform::current().commandLineArguments(), QStringLiteral("EXTERNAL")) ==
           QLatin1String("SILENT");
}

QString hostLogFile() {
    return switchValue(platform::current().commandLineArguments(), QStringLiteral("LOGFILE"));
}
