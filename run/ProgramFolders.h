#pragma once
// What the program derives from its own executable, read afresh from the platform on every
// call and without the error protocol. Paths use "/" where the installation's conventions use
// "\"; the root folder "/" plays the part of the drive root, so a program in "/" has the empty
// text as its installation folder.

#include <QString>

// The folder of the running executable.
QString programFolder();

// The program folder up to, not including, its last "/".
QString installationFolder();

// The component's name: the executable's name without extension, less its last 7 characters
// ("_Config"); empty for a name of 7 characters or fewer. GetOCXName (env/ProgramNames.h) is
// the same as an operation of its own.
QString componentName();
