#include "files/PathCase.h"

#include "core/Text.h"
#include "files/FolderWalk.h"
#include "files/SafeFile.h"
#include "files/SystemCalls.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cerrno>

namespace files {

namespace {

// Whether the name is there under exactly this spelling (links followed): 0 when it is,
// ENOENT when it is not, another system error when it could not be looked at.
int lookAt(const QString& path) {
    struct stat status {};
    if (sys::calls().fstatat(AT_FDCWD, QFile::encodeName(path).constData(), &status, 0) == 0)
        return 0;
    return meansMissing(errno) ? ENOENT : errno;
}

// The entry of folder that is name without regard to case (empty when there is none or the
// folder is missing), or the system's error when the folder cannot be listed.
int entryIgnoringCase(const QString& folder, const QString& name, QString& entry) {
    entry.clear();
    QByteArrayList entries;
    const int error = listFolder(AT_FDCWD, QFile::encodeName(folder).constData(), entries);
    if (error != 0)
        return meansMissing(error) ? 0 : error;
    const QString wanted = core::upperCase(name);
    QStringList matches;
    for (const QByteArray& listed : entries) {
        const QString decoded = QFile::decodeName(listed);
        if (core::upperCase(decoded) == wanted)
            matches.append(decoded);
    }
    if (!matches.isEmpty())
        entry = *std::min_element(matches.cbegin(), matches.cend());
    return 0;
}

} // namespace

Spelling existingSpelling(const QString& path) {
    const QStringList parts = path.split(QLatin1Char('/'));
    QString found; // the parts taken so far, joined as given
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        const QString prefix = i == 0 ? QString() : found + QLatin1Char('/');
        const int look = part.isEmpty() ? 0 : lookAt(prefix + part);
        if (look == 0) {
            found = prefix + part;
            continue;
        }
        if (look != ENOENT)
            return {path, look, prefix + part};
        // The parts before lie in the current folder, or below the root when the path is
        // absolute (its first part is empty).
        const QString folder =
            i == 0 ? QStringLiteral(".") : (found.isEmpty() ? QStringLiteral("/") : found);
        QString entry;
        if (const int error = entryIgnoringCase(folder, part, entry); error != 0)
            return {path, error, folder};
        if (entry.isEmpty())
            return {prefix + parts.mid(i).join(QLatin1Char('/'))};
        found = prefix + entry;
    }
    return {found};
}

} // namespace files
