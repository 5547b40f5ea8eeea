#pragma once
// A throw-away installation tree on disk:
//   <root>/parameter/Program.ini, <root>/parameter/jx5configuration.ini,
//   <root>/415_MainPicture/415_MainPicture.cfg, the program folder <root>/415_MainPicture.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class TempInstallation {
public:
    // The tree lies in a fresh temporary folder (made inside parent, when given), or in a
    // folder of that name below it.
    explicit TempInstallation(const QString& below = QString(), const QString& parent = QString())
        : dir_(parent.isEmpty() ? QDir::tempPath() + u"/inst-XXXXXX"_s
                                : parent + u"/inst-XXXXXX"_s),
          root_(below.isEmpty() ? dir_.path() : dir_.path() + QLatin1Char('/') + below) {
        QDir().mkpath(programFolder());
    }

    QString root() const { return root_; }
    QString path(const QString& relative) const { return root_ + QLatin1Char('/') + relative; }
    QString programFolder() const { return path(QStringLiteral("415_MainPicture")); }
    QString programIni() const { return path(QStringLiteral("parameter/Program.ini")); }
    QString cfg() const { return path(QStringLiteral("415_MainPicture/415_MainPicture.cfg")); }
    QString errorLog() const { return path(QStringLiteral("JX5cfglog.txt")); }

    // Writes a file below the root, creating its folders; reads one (empty when missing).
    void write(const QString& relative, const QByteArray& bytes) const {
        writeFile(path(relative), bytes);
    }
    QByteArray read(const QString& relative) const { return readFile(path(relative)); }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
    }

private:
    QTemporaryDir dir_;
    QString root_;
};
