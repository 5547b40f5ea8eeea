#include "store/MachineList.h"

#include "diag/Procedure.h"
#include "platform/Platform.h"
#include "run/RunState.h"
#include "store/FileLocations.h"
#include "store/IniAccess.h"

QStringList& ExistingMachines = Run.existingMachines;
QString& ProgramIniFile = Run.programIniFile;

namespace {
// The list grows one entry at a time; entry 0 stays empty.
void storeMachine(int index, const QString& name) {
    while (ExistingMachines.size() <= index)
        ExistingMachines.append(QString());
    ExistingMachines[index] = name;
}
} // namespace

void GetExistingMachines(const QString& configurationIniFile) {
    Procedure procedure("GetExistingMachines");
    procedure.step([&] { ProgramIniFile = GetProgramIniPath(1); });
    if (StartModeIntegrated) {
        const bool present = procedure.test([&] {
            return !configurationIniFile.isEmpty() &&
                   platform::current().isOrdinaryFile(configurationIniFile);
        });
        if (!present)
            return;
        // The host names at most five machines; "-" or an empty name ends the list.
        for (int i = 1; i <= 5; ++i) {
            QString name;
            procedure.step([&] {
                name = LoadIniString(QStringLiteral("Common"), QStringLiteral("NameM%1").arg(i),
                                     configurationIniFile, false);
            });
            if (name == QLatin1String("-") || name.isEmpty())
                return;
            procedure.step([&] { storeMachine(i, name); });
        }
        return;
    }
    qint16 count = 0;
    procedure.step([&] {
        count = LoadIniInteger(QStringLiteral("Project"), QStringLiteral("NumberOfMachines"),
                               ProgramIniFile, false);
    });
    for (int j = 1; j <= count; ++j) {
        procedure.step([&] {
            storeMachine(j, LoadIniString(QStringLiteral("Machine%1").arg(j),
                                          QStringLiteral("MachineName"), ProgramIniFile, false));
        });
    }
}

QString GetValidMachines() {
    Procedure procedure("GetValidMachines");
    QString path;
    QString valid;
    procedure.step([&] { path = GetCFGPath(); });
    procedure.step([&] {
        valid =
            LoadIniString(QStringLiteral("Project"), QStringLiteral("ValidMachines"), path, false);
    });
    return valid;
}
