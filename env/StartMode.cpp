#include "env/StartMode.h"

#include "diag/Procedure.h"
#include "platform/Platform.h"
#include "run/Switches.h"

QString ReadCommand(const QString& commandLine, const QString& switchName) {
    Procedure procedure("ReadCommand");
    QString value;
    procedure.step([&] { value = switchValue(commandLine, switchName); });
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
    procedure.step([&] { value = hostLogFile(); });
    return value;
}
