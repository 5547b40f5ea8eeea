#pragma once
// What the program derives from its own executable. Paths use "/" where the installation's
// conventions use "\"; the root folder "/" plays the part of the drive root, so a program in
// "/" has the empty text as its installation folder.

#include <QString>

// The folder of the running executable.
QString programFolder();

// The program folder up to, not including, its last "/".
QString installationFolder();

// The executable's name without extension, less its last 7 characters; empty for a name of
// 7 characters or fewer.
QString GetOCXName();

// The part after the last "/"; the whole text without "/"; empty text when it ends in "/".
QString GetFileNameOnly(const QString& path);
