#include "env/HostPath.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QString fromHostPath(const QString& hostPath) {
    QString path = hostPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    static const QRegularExpression driveLetter(QStringLiteral("^[A-Za-z]:(?=/|$)"));
    path.remove(driveLetter);
    return path;
}

namespace {
// The entry of folder whose name equals name without regard to case; an exact match wins.
QString findIgnoringCase(const QDir& folder, const QString& name) {
    if (QFileInfo::exists(folder.filePath(name)))
        return name;
    const QStringList entries =
        folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return QString();
}
} // namespace

QString resolveHostPathIgnoringCase(const QString& hostPath) {
    const QString path = fromHostPath(hostPath.trimmed());
    if (path.isEmpty())
        return QString();
    QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return QString();
    const QString fileName = parts.takeLast();
    QDir folder(path.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QDir::currentPath());
    for (const QString& part : parts) {
        const QString found = findIgnoringCase(folder, part);
        if (found.isEmpty() || !folder.cd(found))
            return QString();
    }
    const QString existing = findIgnoringCase(folder, fileName);
    return folder.filePath(existing.isEmpty() ? fileName : existing);
}
