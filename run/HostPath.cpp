#include "run/HostPath.h"

#include "core/Failure.h"
#include "files/PathCase.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
bool holdsReservedCharacter(const QString& hostPath) {
    for (const QChar c : hostPath)
        if (c.unicode() < 0x20 || QStringLiteral("<>\"|?*").contains(c))
            return true;
    return false;
}
} // namespace

QString fromHostPath(const QString& hostPath) {
    QString path = hostPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    static const QRegularExpression driveLetter(QStringLiteral("^[A-Za-z]:"));
    path.remove(driveLetter);
    return path;
}

QString onDiskSpelling(const QString& path) {
    const files::Spelling spelling = files::existingSpelling(path);
    if (spelling.error != 0)
        raiseReadFailure(spelling.unreadable, spelling.error);
    return spelling.path;
}

QString resolveHostPathIgnoringCase(const QString& hostPath) {
    if (hostPath.isEmpty() || holdsReservedCharacter(hostPath))
        return QString();
    const QString path = onDiskSpelling(fromHostPath(hostPath));
    if (path.isEmpty() || !QFileInfo(path).absoluteDir().exists())
        return QString();
    return path;
}
