// The real program, silent, on a really full file system (mounting needs root, or the case is
// skipped): every file stays as it was, nothing is left behind, and a refused store is
// reported and ends with status 4. (A file-size limit is a row of bad_input_test.)

#include "support/ProgramProcess.h"

#include <QMap>

#include <gtest/gtest.h>

namespace {

using T = TempInstallation;
// Larger than any buffer between the program and the disk.
const QByteArray Padding = "; " + QByteArray(200000, '-') + "\r\n";

bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Every file of the installation with its bytes; the error log is left out, it is meant to grow.
QMap<QString, QByteArray> filesOf(const TempInstallation& at) {
    QMap<QString, QByteArray> files = at.snapshot();
    files.remove(T::ErrorLog);
    return files;
}

class StoreFaultsTest : public testing::Test {
protected:
    ~StoreFaultsTest() override {
        if (mounted)
            run(u"umount"_s, {u"-l"_s, mountPoint.path()});
    }

    // A small tmpfs of its own; false when this machine does not let us mount one.
    bool mountSmallFileSystem() {
        mounted = run(u"mount"_s,
                      {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=24m"_s, u"tmpfs"_s, mountPoint.path()});
        return mounted;
    }
    // Fills the file system to its last byte.
    void fill() const {
        QFile filler(mountPoint.filePath(u"filler"_s));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(1 << 16, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        // The last pages, a byte at a time.
        while (filler.write("f", 1) == 1 && filler.flush()) {
        }
    }
    // Runs the program on the installation; the service log lies outside the file system.
    ProcessResult runSilent(const TempInstallation& at) const {
        ProgramProcess program(at);
        program.environment.insert(u"MAINPICTURE_SERVICE_LOG"_s, serviceLog());
        return program.run(Silent, 60000);
    }
    QString serviceLog() const { return logs.filePath(u"service.log"_s); }
    QByteArray serviceLogText() const { return TempInstallation::readFile(serviceLog()); }

    QTemporaryDir mountPoint, logs;
    bool mounted = false;
};

struct FullDiskCase {
    const char* name;
    QByteArray programIni, cfg;
    bool storeNeeded;        // both files back as given, after a first run settled them
    QByteArray languageTail; // null: no language file; else one with an entry missing, then this
    int exitCode;            // 4 when a store the run is for was refused
    const char* logged;      // what the service log must hold
};

TEST_F(StoreFaultsTest, AFullFileSystemChangesNoFile) {
    if (!mountSmallFileSystem())
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    const QByteArray negative = "[Machine1]\r\nMainPictureStatus=-5\r\n[Machine2]\r\nx=1\r\n";
    const QByteArray settled = "[Machine1]\r\nMainPictureStatus=0\r\n[Machine2]\r\nx=1\r\n";
    const QByteArray cfg = "[Project]\r\nValidMachines=1\r\n";
    const FullDiskCase cases[] = {
        {"ProgramIniSmall", negative, cfg, true, "", 4, "Program.ini: No space left on device"},
        {"ProgramIniLarge", negative + Padding, cfg, true, "", 4, "No space left on device"},
        {"CfgSmall", settled, cfg, true, "", 4, "415_MainPicture.cfg: No space left on device"},
        {"CfgLarge", settled, cfg + Padding, true, "", 4, "No space left on device"},
        // Entries added to the language file are wishes: refused, they are not reported.
        {"LanguageFileCustomised", settled, cfg + Padding, false, "", 0, ""},
        {"LanguageFileLarge", settled, cfg, false, Padding, 0, ""},
        {"LanguageFileFirstRun", settled, cfg, false, {}, 0, ""},
    };
    for (const FullDiskCase& c : cases) {
        QFile::remove(serviceLog());
        const TempInstallation at(u"site"_s, mountPoint.path());
        at.write(T::ProgramIni, c.programIni);
        at.write(T::Cfg, c.cfg);
        // A run with room settles the edit record and the language file first.
        ASSERT_EQ(runSilent(at).exitCode, 0) << c.name;
        if (c.storeNeeded) {
            at.write(T::Cfg, c.cfg);
            at.write(T::ProgramIni, c.programIni);
        }
        QByteArray language = at.read(T::LanguageFile);
        language.replace("Help16=0\r\n", "");
        if (!c.languageTail.isNull())
            at.write(T::LanguageFile, language + c.languageTail);
        else
            QFile::remove(at.path(T::LanguageFile));
        // A log whose last page has a little room: an entry fits only partly.
        const QByteArray log = QByteArray(4054, '-') + "\r\n";
        at.write(T::ErrorLog, log);
        fill();
        const QMap<QString, QByteArray> before = filesOf(at);

        const ProcessResult result = runSilent(at);
        EXPECT_FALSE(result.crashed) << c.name;
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name << result.standardError.constData();
        EXPECT_EQ(filesOf(at), before) << c.name;
        EXPECT_TRUE(serviceLogText().contains(c.logged)) << c.name << serviceLogText().constData();
        // Entries land whole or not at all.
        const QByteArray logAfter = at.read(T::ErrorLog);
        EXPECT_TRUE(logAfter.startsWith(log) && logAfter.endsWith("\r\n")) << c.name;
        QFile::remove(mountPoint.filePath(u"filler"_s));
    }
}

} // namespace
