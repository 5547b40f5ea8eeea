#pragma once
// The run's facts, worked out once at start from the platform into one value that every layer
// above reads: the command line and its switches, the program's folders and names. Paths use
// "/" where the installation's conventions use "\"; the root folder "/" plays the part of the
// drive root, so a program in "/" has the empty text as its installation folder.

#include <QString>

namespace platform {
class Platform;
}

struct RunFacts {
    // Everything after the program's own path, the arguments joined by single blanks.
    QString arguments;
    // The switches' values as the switch rule reads them (run/Switches.h), in the host's form.
    QString external;
    QString logFile;
    // The folder of the running executable, and that folder up to, not including, its last "/".
    QString programFolder;
    QString installationFolder;
    // The executable's file name as it stands on disk, and without its extension.
    QString executableFileName;
    QString executableName;
    // The component's name: the executable's name less its last 7 characters ("_Config");
    // empty for a name of 7 characters or fewer.
    QString componentName;

    // Nobody is there to answer a box: the command line asks for a silent run (EXTERNAL=SILENT),
    // or for the options from a script (--show, --set). True from the start, before the start
    // mode is decided, so that not even a failure in the first steps waits for a person.
    bool unattended = false;
};

RunFacts factsOf(platform::Platform& platform);

// The facts of this run: installed once at start (main, and each test), read everywhere.
const RunFacts& runFacts();
void installRunFacts(const RunFacts& facts);
