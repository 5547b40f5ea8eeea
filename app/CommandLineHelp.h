#pragma once
// The two command lines that answer a question instead of starting the dialog: "--help" and
// "--version", each as the only argument. Every other command line, "--HELP" or "--help
// /EXTERNAL=SILENT" included, is read by the switch rules and starts the program.

#include <QString>
#include <QStringList>

// The text that answers the command line (arguments after the program's own path): the usage
// text for exactly {"--help"}, the name and version for exactly {"--version"}, and empty text
// for every other command line. The usage text names the files of the installation the
// running executable lies in. Reads no file and writes none.
QString informationText(const QStringList& arguments);

// Prints informationText to stdout and returns 0, or returns -1 without a word when the
// command line asks for something else. Needs the platform installed, nothing more: no
// application object, no display.
int answerInformationRequest(int argc, char** argv);
