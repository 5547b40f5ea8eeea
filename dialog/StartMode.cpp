#include "dialog/StartMode.h"

#include "diag/Procedure.h"
#include "run/RunFacts.h"
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
    procedure.step([&] { value = ReadCommand(runFacts().arguments, QStringLiteral("EXTERNAL")); });
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
    procedure.step([&] { value = runFacts().logFile; });
    return value;
}

QString GetOCXName() {
    Procedure procedure("GetOCXName");
    QString name;
    procedure.step([&] { name = runFacts().componentName; });
    return name;
}

QString GetFileNameOnly(const QString& path) {
    Procedure procedure("GetFileNameOnly");
    QString name;
    procedure.step([&] { name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); });
    return name;
}
