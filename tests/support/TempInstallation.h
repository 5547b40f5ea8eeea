#pragma once
// A throw-away installation tree on disk:
//   <root>/parameter/Program.ini, <root>/parameter/jx5configuration.ini,
//   <root>/415_MainPicture/415_MainPicture.cfg, the program folder <root>/415_MainPicture.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TempInstallation {
public:
    // The tree lies in a fresh temporary folder, or in a folder of that name below it.
    explicit TempInstallation(const QString& below = QString());

    QString root() const { return root_; }
    QString programFolder() const { return root() + QStringLiteral("/415_MainPicture"); }
    QString path(const QString& relative) const { return root() + QLatin1Char('/') + relative; }
    QString programIni() const { return path(QStringLiteral("parameter/Program.ini")); }
    QString configurationIni() const {
        return path(QStringLiteral("parameter/jx5configuration.ini"));
    }
    QString cfg() const { return path(QStringLiteral("415_MainPicture/415_MainPicture.cfg")); }
    QString errorLog() const { return path(QStringLiteral("JX5cfglog.txt")); }

    // Writes a file below the root, creating its folders.
    void write(const QString& relative, const QByteArray& bytes) const {
        writeFile(path(relative), bytes);
    }
    // The file's bytes; empty when it does not exist.
    QByteArray read(const QString& relative) const { return readFile(path(relative)); }
    static QByteArray readFile(const QString& path);
    static void writeFile(const QString& path, const QByteArray& bytes);

private:
    QTemporaryDir dir_;
    QString root_;
};
