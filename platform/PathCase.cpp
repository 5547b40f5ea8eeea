#include "platform/PathCase.h"

#include "platform/Text.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {

// The entry of folder that is name without regard to case, or empty text.
QString entryIgnoringCase(const QString& folder, const QString& name) {
    const QString wanted = upperCase(name);
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries)
        if (upperCase(entry) == wanted)
            return entry;
    return QString();
}

} // namespace

QString existingSpelling(const QString& path) {
    const QStringList parts = path.split(QLatin1Char('/'));
    QString found; // the parts taken so far, joined as given
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        const QString prefix = i == 0 ? QString() : found + QLatin1Char('/');
        if (part.isEmpty() || QFileInfo::exists(prefix + part)) {
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
