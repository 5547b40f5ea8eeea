#include "platform/PathCase.h"

#include "platform/Failure.h"
#include "platform/FolderWalk.h"
#include "platform/SafeFile.h"
#include "platform/SystemCalls.h"
#include "platform/Text.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

namespace platform {

namespace {

// Whether the name is there under exactly this spelling (links followed). A look that fails
// for another reason than a missing name (a loop of links, no permission, an I/O error) is a
// failed read of what is there.
bool spelledAsGiven(const QString& path) {
    struct stat status {};
    if (sys::calls().fstatat(AT_FDCWD, QFile::encodeName(path).constData(), &status, 0) == 0)
        return true;
    if (!file::meansMissing(errno))
        raiseReadFailure(path, errno);
    return false;
}

// The entry of folder that is name without regard to case, or empty text when there is none
// or the folder is missing. A folder that is there but cannot be listed is a failed read: the
// file looked for may well be in it.
QString entryIgnoringCase(const QString& folder, const QString& name) {
    QByteArrayList entries;
    const int error = listFolder(AT_FDCWD, QFile::encodeName(folder).constData(), entries);
    if (error != 0) {
        if (file::meansMissing(error))
            return QString();
        raiseReadFailure(folder, error);
    }
    const QString wanted = upperCase(name);
    QStringList matches;
    for (const QByteArray& entry : entries) {
        const QString decoded = QFile::decodeName(entry);
        if (upperCase(decoded) == wanted)
            matches.append(decoded);
    }
    return matches.isEmpty() ? QString() : *std::min_element(matches.cbegin(), matches.cend());
}

} // namespace

QString existingSpelling(const QString& path) {
    const QStringList parts = path.split(QLatin1Char('/'));
    QString found; // the parts taken so far, joined as given
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        const QString prefix = i == 0 ? QString() : found + QLatin1Char('/');
        if (part.isEmpty() || spelledAsGiven(prefix + part)) {
            found = prefix + part;
            continue;
        }
        // The parts before lie in the current folder, or below the root when the path is
        // absolute (its first part is empty).
        const QString folder =
            i == 0 ? QStringLiteral(".") : (found.isEmpty() ? QStringLiteral("/") : found);
        const QString entry = entryIgnoringCase(folder, part);
        if (entry.isEmpty())
            return prefix + parts.mid(i).join(QLatin1Char('/'));
        found = prefix + entry;
    }
    return found;
}

} // namespace platform
