#pragma once
// The program's 8-bit code page, Windows-1252, for INI files, logs and the edit record's
// character codes. Qt only converts it through ICU, which does not give "?" for a character
// the page cannot hold, so the table is our own.

#include <QByteArray>
#include <QString>

namespace core {

// A character the code page cannot hold becomes "?".
QByteArray toCp1252(const QString& text);
QString fromCp1252(const QByteArray& bytes);

} // namespace core
