#pragma once
// Which language the dialog's texts are shown in: the language id kept in the language file.

#include "core/Outcome.h"

#include <QString>

// The window's design language, German.
inline const QString DesignLanguage = QStringLiteral("1031");

// The language file beside the executable: program folder + "/" + executable name + ".ini",
// spelled as the file on disk when one exists under another letter case. The folder is taken
// as the platform reports it; the separator is always inserted. A lookup that fails raises the
// failure of a file that could not be read.
QString languageFilePath();

// The text of key "Language" in section "Language" of the language file, unchanged, whatever
// it holds ("0" included). When the entry is missing or empty, "1031" is written into it and
// returned. Follows the error protocol as "GetLanguage": a failed write still returns "1031";
// a read that failed returns "1031", marked as not read, and writes nothing: the file keeps
// what it holds.
Read<QString> GetLanguage();
