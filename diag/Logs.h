#pragma once
// The error log, the service log and the fault box. None of them follows the error protocol:
// a log that cannot be written raises a Failure to the caller.

#include <QString>

// The line break inside the system's messages and log texts: LF first, then CR.
inline const QString MessageLineBreak = QStringLiteral("\n\r");

// Appends text to the error log ("JX5cfglog.txt" in the installation folder, or the LOGFILE
// path in an integrated run) and returns "Error logged to " LF CR + the path in capitals;
// with announce true the confirmation goes to ReportFault and empty text is returned.
QString WriteErrorLog(const QString& text, bool announce);

// Appends "! Fault " + executable name + ": " + text to the service log.
void WriteServiceLog(const QString& text);

// Silent run (also before the start mode is decided, RunFacts::unattended): as WriteServiceLog.
// Otherwise a critical box with OK titled with the executable name.
void ReportFault(const QString& text);

// The file the error log is written to now (depends on the start mode and LOGFILE).
QString errorLogPath();
// The file the service log is written to.
QString serviceLogPath();
