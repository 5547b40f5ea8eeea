#pragma once
// Our INI engine: the observable behaviour of the Windows profile functions on a file's bytes.
// Names match without regard to case (ASCII letters), the first section block and the first
// key win, values lose their blanks and one pair of matching quotes on read. A write changes
// only the lines it must; every other byte of the file stays exactly as it was.
//
// The file's shape, as both the reader and the writer see it:
// - CR LF, CR alone and LF alone each end a line.
// - A line whose first non-blank byte is "[" is a section header; the name runs to the first
//   "]" (or to the end of the line when there is none) and loses its blanks. Text after the
//   "]" is ignored.
// - A line whose first non-blank byte is ";" is a comment. There are no inline comments.
// - Any other line holding "=" is an entry: the key is the text before the first "=", the
//   value the rest of the line. Lines without "=" are no entries and are never touched.
// - Entries before the first header belong to no section and cannot be read or written.
// - Blanks are space, tab and vertical tab.
// - A UTF-8 byte-order mark at the very start is skipped, so that a first "[Section]" on line
//   1 is found; a write keeps its three bytes. (The Windows reader would take the mark as part
//   of line 1; files that carry one come from editors, and their first section should count.)
//
// Pure: bytes in, bytes out; files are read and replaced elsewhere (platform/ProfileFiles.h).
//
// Cost: the text functions make one pass over the content, which stops at the entry; on the
// way to the section only header lines are looked at. A Document keeps the place of each
// section, so many lookups in one file cost about one pass over it.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <optional>

namespace ini {

// The value of key in section, or nullopt when the section or key is missing. Only the first
// block of the section is searched and the first matching key wins. The caller's names lose
// their leading and trailing spaces (0x20 only) and match without regard to ASCII case; an
// empty name names nothing. The value is trimmed of blanks, then one pair of matching outer
// quotes (" or ') is removed; it is not yet cut to any buffer size.
std::optional<QByteArray> findValue(const QByteArray& content, const QByteArray& section,
                                    const QByteArray& key);

// Whether withEntry and editOf accept these names and this value. Refused are names that could
// not be read back as written: an empty section or key (after losing spaces), a section
// holding "]", a key holding "=" or starting with ";" or "[", a name starting or ending with a
// tab or vertical tab, and CR, LF or NUL anywhere in a name or in the value.
bool acceptsEntry(const QByteArray& section, const QByteArray& key,
                  const std::optional<QByteArray>& value);

// What a write changes in the content: the bytes [from, to) give way to text. A write into a
// large file keeps the content as it is and writes the parts around the change as they stand.
struct Edit {
    qsizetype from = 0;
    qsizetype to = 0;
    QByteArray text;
};

// The change of writing key=value into section (value nullopt: remove the key line; the
// header stays), or nullopt when the write changes no byte (refused names or values, a
// removal of a missing key, the same value again), found without comparing the whole content.
// - An existing key keeps its line, its position and its spelling: everything up to and with
//   the "=" stays, the rest of the line becomes the value, so blanks after "=" do not survive.
// - A new key goes right after the last entry line of the section's first block (after the
//   header when it has none); comments and blank lines that follow stay below it.
// - A missing section is appended at the end as "[section]" and the entry, with a line break
//   first when the content does not end with one; empty content starts directly with it.
// - New lines end as the content's first line does (LF, CR or CR LF), CR LF when it has none.
// - The value is written exactly as given; the caller's names lose their spaces.
std::optional<Edit> editOf(const QByteArray& content, const QByteArray& section,
                           const QByteArray& key, const std::optional<QByteArray>& value);

// The content after that edit (unchanged when there is none).
QByteArray withEntry(const QByteArray& content, const QByteArray& section, const QByteArray& key,
                     const std::optional<QByteArray>& value);

// Leading blanks, an optional sign, then decimal digits up to the first non-digit, wrapping
// modulo 2^32 ("4294967297" gives 1, "-5" gives -5). A "0x" or "0X" prefix reads hexadecimal
// digits instead ("0x10" gives 16), as the Windows reader takes a number's base from such a
// prefix. Text that does not start with a number gives 0.
qint32 parseInteger(const QByteArray& value);

// A file in UTF-16 (it starts with that encoding's byte-order mark) is no file of the 8-bit
// code page: its lines would be misread, and lines written into it would mix two encodings.
bool isUtf16(const QByteArray& content);

// A file's content with the place of each section's first block, found on the second lookup,
// so that reading many entries of one file costs about one pass over it instead of one pass
// per entry. find gives what findValue gives.
class Document {
public:
    explicit Document(QByteArray content);
    std::optional<QByteArray> find(const QByteArray& section, const QByteArray& key) const;

private:
    static QByteArray lowerCase(QByteArrayView name);
    // Where each section's first block starts, by its name in lower case.
    const QHash<QByteArray, qsizetype>& index() const;

    QByteArray content_;
    mutable int lookups_ = 0;
    mutable std::optional<QHash<QByteArray, qsizetype>> index_;
};

} // namespace ini
