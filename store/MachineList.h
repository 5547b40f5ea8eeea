#pragma once
// The installation's machine names, read once during start-up.

#include "core/Outcome.h"

#include <QString>
#include <QStringList>

struct MachineList {
    // Entry 0 stays empty; entries 1..n hold the names in the order read.
    QStringList existingMachines;
    // The program.ini path found with selector 1 at the start of GetExistingMachines.
    QString programIniFile;
};

// ProgramIniFile and ExistingMachines from jx5configuration.ini (integrated run) or from
// program.ini, for the dialog to keep until the program ends.
Read<MachineList> GetExistingMachines(const QString& configurationIniFile);

// ValidMachines of the component's .cfg file; ends the program when the file is missing.
Read<QString> GetValidMachines();
