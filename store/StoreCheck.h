#pragma once
// The stores a run is for: MainPictureStatus and the edit record. A store that did not land
// is a failure the user hears of, and the exit status tells it too.

#include <QString>

// For a SaveIni result of a store the run is for: 0 notes that the store did not land and
// raises the failure that names the file and the system's reason (no space left, permission
// denied, read-only file system, not found, ...).
void requireStored(qint16 saveResult, const QString& file);

// Whether every store of this run so far landed.
bool everyStoreLanded();
