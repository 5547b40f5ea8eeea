#pragma once
// A throw-away installation tree on disk: <root>/parameter/Program.ini and
// jx5configuration.ini, the program folder <root>/415_MainPicture with the .cfg file.

#include "files/Leftovers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
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
    // The installation's files, relative to the root.
    static inline const QString ProgramIni = u"parameter/Program.ini"_s;
    static inline const QString HostIni = u"parameter/jx5configuration.ini"_s;
    static inline const QString Cfg = u"415_MainPicture/415_MainPicture.cfg"_s;
    static inline const QString LanguageFile = u"415_MainPicture/415_MainPicture_Config.ini"_s;
    static inline const QString ErrorLog = u"JX5cfglog.txt"_s;
    static inline const QString ServiceLog = u"service.log"_s;

    // An installation as the field has them: a comment, a negative status and a second
    // machine in Program.ini, a machine list in the .cfg file.
    static inline const QByteArray TypicalProgramIni =
        "; line\r\n[Machine1]\r\nMainPictureStatus=-5\r\n[Machine2]\r\nx=1\r\n";
    static inline const QByteArray TypicalCfg = "[Project]\r\nValidMachines=1\r\n";
    void writeTypical() const {
        write(ProgramIni, TypicalProgramIni);
        write(Cfg, TypicalCfg);
    }
    // What saves left in the folders the program writes: temporary files and copies.
    QStringList leftovers() const {
        QStringList found;
        for (const QString& folder : {u"parameter"_s, u"415_MainPicture"_s, QString()})
            for (const QString& entry : entries(path(folder)))
                if (files::isLeftoverName(QFile::encodeName(entry)))
                    found << entry;
        return found;
    }
    // A minimal installation: Program.ini holding MainPictureStatus, and the .cfg file.
    void writeStandard(int mainPictureStatus = 0, const QByteArray& cfg = "[Project]\r\n") const {
        write(ProgramIni,
              "[Machine1]\r\nMainPictureStatus=" + QByteArray::number(mainPictureStatus) + "\r\n");
        write(Cfg, cfg);
    }
    // The host's settings, naming the folder of its read copy; the host of an integrated run,
    // keeping its read copy of program.ini in <root>/Backup.
    void writeHostIni(const QString& saveAndRestore) const {
        write(HostIni, "[Common]\r\nSaveAndRestore=" + saveAndRestore.toUtf8());
    }
    void writeHost(int readCopyStatus) const {
        writeHostIni(path(u"Backup"_s));
        write(u"Backup/parameter/program.ini"_s,
              "[Machine1]\r\nMainPictureStatus=" + QByteArray::number(readCopyStatus));
    }

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

    // Every name in a folder, hidden ones and links included.
    static QStringList entries(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                      QDir::System);
    }
    // Every file and folder below the root, relative to it, with its bytes ("<folder>", and
    // "<other>" for anything else).
    QMap<QString, QByteArray> snapshot() const {
        QMap<QString, QByteArray> files;
        QDirIterator it(root_,
                        QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QFileInfo info = it.fileInfo();
            // A pipe, a socket or a device is never opened: a read could block or change it.
            files.insert(QDir(root_).relativeFilePath(file), info.isDir() ? QByteArray("<folder>")
                                                             : info.isFile()
                                                                 ? readFile(file)
                                                                 : QByteArray("<other>"));
        }
        return files;
    }

private:
    QTemporaryDir dir_;
    QString root_;
};
