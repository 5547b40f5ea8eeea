#pragma once
// The only way in and out of the program's INI files. Nothing is kept between calls; a
// missing file, section or key is no failure and reads as empty text or -1. A file that
// could not be read is: it is raised under the error protocol, and the value read (the one
// resumed with) comes back marked as not read.

#include "core/Outcome.h"

#include <QString>
#include <QVariant>

// The entry's value, at most 254 characters, or empty text when missing (or empty).
Read<QString> LoadIniString(const QString& section, const QString& key, const QString& file,
                            bool reportMissing);

// The entry's value as a 16-bit integer, or -1 when missing. A stored value outside
// -32768..32767 is an overflow failure; resumed, the result is 0 (a value that was read).
Read<qint16> LoadIniInteger(const QString& section, const QString& key, const QString& file,
                            bool reportMissing);

// What SaveIni came to: the profile function's result (nonzero on success, 0 when the file
// could not be written) and the system's reason.
using Saved = FileOutcome<qint16>;

// Writes the value in the form its kind asks for: text unchanged; integers (short, int,
// uchar, ...) in decimal; reals with "." as decimal point; booleans "true"/"false". Any
// other kind is reported as "Ini Save:  wrong data type" and removes the key.
Saved SaveIni(const QVariant& value, const QString& section, const QString& key,
              const QString& file);
