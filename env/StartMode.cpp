#include "env/StartMode.h"

#include "diag/Procedure.h"
#include "platform/Platform.h"
#include "platform/Text.h"

bool StartModeIntegrated = false;
bool StartModeSilent = false;

QString ReadCommand(const QString& commandLine, const QString& switchName) {
    Procedure procedure("ReadCommand");
    QString value;
    qsizetype position = -1;
    procedure.step([&] {
        // A position in the upper-cased text is the same position in the command line.
        position = platform::upperCase(commandLine).indexOf(platform::upperCase(switchName));
    });
    if (position < 0)
        return QString();
    procedure.step([&] {
        // The one character after the name separates it from the value, whatever it is.
        const qsizetype start = position + switchName.size() + 1;
        if (start < commandLine.size())
            value = platform::upperCase(platform::trimSpaces(commandLine.mid(start)));
    });
    procedure.step([&] {
        const qsizetype slash = value.indexOf(QLatin1Char('/'));
        if (slash >= 0)
            value = platform::trimSpaces(platform::upperCase(value.left(slash)));
    });
    return value;
}

bool GetStartModeIntegrated() {
    Procedure procedure("GetStartModeIntegrated");
    QString value;
    bool result = false;
    procedure.step([&] {
        value = ReadCommand(platform::current().commandLineArguments(), QStringLiteral("EXTERNAL"));
    });
    procedure.step([&] {
        result = value == QLatin1String("JX5CFG");
        StartModeIntegrated = result;
    });
    procedure.step([&] {
        StartModeSilent = value == QLatin1String("SILENT");
        if (StartModeSilent) {
            result = false;
            StartModeIntegrated = false;
        }
    });
    return result;
}

QString GetPathLogfile() {
    Procedure procedure("GetPathLogfile");
    QString value;
    procedure.step([&] {
        value = ReadCommand(platform::current().commandLineArguments(), QStringLiteral("LOGFILE"));
    });
    return value;
}

void resetStartMode() {
    StartModeIntegrated = false;
    StartModeSilent = false;
}
