#include "store/MachineList.h"

#include "core/Failure.h"
#include "diag/Procedure.h"
#include "platform/Platform.h"
#include "run/RunState.h"
#include "store/FileLocations.h"
#include "store/IniAccess.h"

namespace {
// The list grows one entry at a time; entry 0 stays empty.
void storeMachine(QStringList& machines, int index, const QString& name) {
    while (machines.size() <= index)
        machines.append(QString());
    machines[index] = name;
}
} // namespace

Read<MachineList> GetExistingMachines(const QString& configurationIniFile) {
    Procedure procedure("GetExistingMachines");
    MachineList list;
    QStringList& ExistingMachines = list.existingMachines;
    QString& ProgramIniFile = list.programIniFile;
    procedure.step([&] { ProgramIniFile = procedure.take(GetProgramIniPath(1)); });
    if (StartModeIntegrated) {
        const bool present = procedure.test([&] {
            if (configurationIniFile.isEmpty())
                return false;
            const FileOutcome<bool> found =
                platform::current().isOrdinaryFile(configurationIniFile);
            if (found.error != 0)
                raiseReadFailure(configurationIniFile, found.error);
            return found.value;
        });
        if (!present)
            return procedure.result(list);
        // The host names at most five machines; "-" or an empty name ends the list.
        for (int i = 1; i <= 5; ++i) {
            QString name;
            procedure.step([&] {
                name = procedure.take(LoadIniString(QStringLiteral("Common"),
                                                    QStringLiteral("NameM%1").arg(i),
                                                    configurationIniFile, false));
            });
            if (name == QLatin1String("-") || name.isEmpty())
                return procedure.result(list);
            procedure.step([&] { storeMachine(ExistingMachines, i, name); });
        }
        return procedure.result(list);
    }
    qint16 count = 0;
    procedure.step([&] {
        count = procedure.take(LoadIniInteger(
            QStringLiteral("Project"), QStringLiteral("NumberOfMachines"), ProgramIniFile, false));
    });
    for (int j = 1; j <= count; ++j) {
        procedure.step([&] {
            storeMachine(ExistingMachines, j,
                         procedure.take(LoadIniString(QStringLiteral("Machine%1").arg(j),
                                                      QStringLiteral("MachineName"), ProgramIniFile,
                                                      false)));
        });
    }
    return procedure.result(list);
}

Read<QString> GetValidMachines() {
    Procedure procedure("GetValidMachines");
    QString path;
    QString valid;
    procedure.step([&] { path = procedure.take(GetCFGPath()); });
    procedure.step([&] {
        valid = procedure.take(
            LoadIniString(QStringLiteral("Project"), QStringLiteral("ValidMachines"), path, false));
    });
    return procedure.result(valid);
}
