#pragma once
// Letter case and blanks as the home platform's text functions treat them.

#include <QString>

namespace core {

// Each character mapped to its own upper case, so that the text keeps its length and every
// position in it: "ß" and other letters without a one-character upper case stay as they are
// (the full upper case would turn "ß" into "SS").
QString upperCase(const QString& text);

// The text without its leading and trailing spaces (U+0020 only): a tab, a no-break space or
// any other blank there belongs to the text.
QString trimSpaces(const QString& text);

// A path as a message or a log entry shows it: every control character written out as
// "<CR>", "<LF>" or "<0x1B>", so that a file or folder name can neither break a log entry
// into lines nor forge one.
QString printablePath(const QString& path);

} // namespace core
