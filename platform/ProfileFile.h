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
// Cost: the text functions make one pass over the content, which stops at the entry; on the
// way to the section only header lines are looked at. The file functions keep the last file
// read with the place of each section, so a lookup there starts at its section. A write adds
// the atomic save of the parts around the change, written as they stand, without a copy.

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform::profile {

// --- Pure text functions over a file's content (no file access).

// The value of key in section, or nullopt when the section or key is missing. Only the first
// block of the section is searched and the first matching key wins. The caller's names lose
// their leading and trailing spaces (0x20 only) and match without regard to ASCII case; an
// empty name names nothing. The value is trimmed of blanks, then one pair of matching outer
// quotes (" or ') is removed; it is not yet cut to any buffer size.
std::optional<QByteArray> findValue(const QByteArray& content, const QByteArray& section,
                                    const QByteArray& key);

// Whether withEntry and writeString accept these names and this value. Refused are names that
// could not be read back as written: an empty section or key (after losing spaces), a section
// holding "]", a key holding "=" or starting with ";" or "[", a name starting or ending with a
// tab or vertical tab, and CR, LF or NUL anywhere in a name or in the value.
bool acceptsEntry(const QByteArray& section, const QByteArray& key,
                  const std::optional<QByteArray>& value);

// The content after writing key=value into section (value nullopt: remove the key line; the
// header stays). Refused names or values (see acceptsEntry) give the content unchanged.
// - An existing key keeps its line, its position and its spelling: everything up to and with
//   the "=" stays, the rest of the line becomes the value, so blanks after "=" do not survive.
// - A new key goes right after the last entry line of the section's first block (after the
//   header when it has none); comments and blank lines that follow stay below it.
// - A missing section is appended at the end as "[section]" and the entry, with a line break
//   first when the content does not end with one; empty content starts directly with it.
// - New lines end as the content's first line does (LF, CR or CR LF), CR LF when it has none.
// - The value is written exactly as given; the caller's names lose their spaces.
QByteArray withEntry(const QByteArray& content, const QByteArray& section, const QByteArray& key,
                     const std::optional<QByteArray>& value);

// Leading blanks, an optional sign, then decimal digits up to the first non-digit, wrapping
// modulo 2^32 ("4294967297" gives 1, "-5" gives -5). A "0x" or "0X" prefix reads hexadecimal
// digits instead ("0x10" gives 16), as the Windows reader takes a number's base from such a
// prefix. Text that does not start with a number gives 0.
qint32 parseInteger(const QByteArray& value);

// --- File functions with the profile functions' contracts (see platform/Platform.h). A file
// that is missing reads as missing; a file that cannot be read (no permission, I/O error, too
// many open files, UTF-16 text, a folder, pipe or device in its place) gives the default too,
// and lastReadError() tells why. A read never blocks. Reading many entries of one
// unchanged file costs about one read of it: the last file read is kept, with the place of each
// section, while its identity (device, inode, size, modification time) stays the same; it is
// checked on every read.

// The entry's value cut to bufferSize - 1 bytes (empty for bufferSize below 2); the result's
// length is the count the profile function returns. A missing file, section or key gives the
// default with its trailing spaces stripped, cut the same way. An empty value stays empty.
QByteArray readString(const QByteArray& section, const QByteArray& key,
                      const QByteArray& defaultValue, int bufferSize, const QString& file);
// The value through parseInteger; a missing entry or an empty value gives the default.
qint32 readInteger(const QByteArray& section, const QByteArray& key, qint32 defaultValue,
                   const QString& file);
// Rewrites the file as platform/SafeFile.h does: a temporary file and an atomic rename, every
// step checked, other runs' saves kept out by a lock, another writer's change never lost to a
// stale copy. The file keeps its permissions (and, written by root, its owner); a symbolic
// link is followed through the real folders and its target rewritten, the link stays. A
// missing file is created (a removal from it creates nothing). Returns 1 on success. Returns 0
// and leaves everything untouched for refused names or values, an empty file name, a missing
// or unwritable folder, a path that is a folder or no ordinary file, an unreadable file, a
// write-protected file or folder (one whose permissions grant nobody writing, even as root)
// and any failed step (no space, I/O error, read-only file system, size limit). A write that
// changes no byte (a removal of a missing key, the same value again) succeeds without
// touching the file, once the file has shown that it may be written.
int writeString(const QByteArray& section, const QByteArray& key,
                const std::optional<QByteArray>& value, const QString& file);

// Why the last writeString of this thread returned 0: the system's error number (ENOENT for
// an empty file name, EINVAL for refused names or values, EILSEQ for a UTF-16 file); 0 after
// a success.
int lastWriteError();
// Why the last readString or readInteger of this thread could not read its file: the system's
// error number (EILSEQ for a UTF-16 file); 0 when it read the file or the file is not there.
int lastReadError();

} // namespace platform::profile
