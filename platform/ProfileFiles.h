#pragma once
// The profile functions on real files: the INI engine (ini/IniEngine.h) over files read and
// replaced so that no fault or neighbour harms them (files/SafeFile.h). Each returns what
// happened: the value, and why the file could not be read or written.
//
// A file that is missing reads as missing; a file that cannot be read (no permission, I/O
// error, too many open files, UTF-16 text, a folder, pipe or device in its place) gives the
// default too, with the system's reason (EILSEQ for UTF-16). A read never blocks. Reading many
// entries of one unchanged file costs about one read of it: the last file read is kept, with
// the place of each section, while its identity (device, inode, size, modification time) stays
// the same; it is checked on every read, and a file changed within the last two seconds is
// always read afresh.

#include "core/Outcome.h"
#include "files/SafeFile.h"
#include "ini/IniEngine.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace platform {

class ProfileFiles {
public:
    // Writes wait for folder locks within one bound for the run, on this clock.
    explicit ProfileFiles(std::chrono::milliseconds lockBound = files::FolderLocks::DefaultBound,
                          files::WaitClock clock = files::WaitClock::real())
        : locks_(lockBound, std::move(clock)) {}

    // The entry's value cut to bufferSize - 1 bytes (empty for bufferSize below 2); the value's
    // length is the count the profile function returns. A missing file, section or key gives
    // the default with its trailing spaces stripped, cut the same way. An empty value stays
    // empty.
    FileOutcome<QByteArray> readString(const QByteArray& section, const QByteArray& key,
                                       const QByteArray& defaultValue, int bufferSize,
                                       const QString& file);
    // The value through ini::parseInteger; a missing entry or an empty value gives the default.
    FileOutcome<qint32> readInteger(const QByteArray& section, const QByteArray& key,
                                    qint32 defaultValue, const QString& file);
    // Writes key=value into the section (value nullopt: removes the key) through
    // files::rewrite. 1 on success (also when no byte changes, once the file has shown that it
    // may be written); 0 with the reason otherwise: ENOENT for an empty file name, EINVAL for
    // names or values the engine refuses, EILSEQ for a UTF-16 file, or what the rewrite gave.
    FileOutcome<int> writeString(const QByteArray& section, const QByteArray& key,
                                 const std::optional<QByteArray>& value, const QString& file);

    // The run's folder locks, which every write here honours.
    files::FolderLocks& locks() { return locks_; }

private:
    FileOutcome<std::shared_ptr<const ini::Document>> documentOf(const QString& path);

    struct Kept {
        files::Identity identity;
        std::shared_ptr<const ini::Document> document;
    };
    std::optional<Kept> kept_;
    files::FolderLocks locks_;
};

} // namespace platform
