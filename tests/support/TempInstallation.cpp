#include "support/TempInstallation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempInstallation::TempInstallation(const QString& below)
    : root_(below.isEmpty() ? dir_.path() : dir_.path() + QLatin1Char('/') + below) {
    QDir().mkpath(root_ + QStringLiteral("/415_MainPicture"));
}

QByteArray TempInstallation::readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TempInstallation::writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}
