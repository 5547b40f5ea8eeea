#pragma once
// The installation's machine names, read once during start-up.

#include <QString>
#include <QStringList>

// Entry 0 stays empty; entries 1..n hold the names in the order read.
extern QStringList& ExistingMachines;
// The program.ini path found with selector 1 at the start of GetExistingMachines.
extern QString& ProgramIniFile;

// Sets ProgramIniFile and fills ExistingMachines from jx5configuration.ini (integrated run)
// or from program.ini.
void GetExistingMachines(const QString& configurationIniFile);

// ValidMachines of the component's .cfg file; ends the program when the file is missing.
QString GetValidMachines();
