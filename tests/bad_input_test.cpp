// The real program, silent, over hostile installations. Every row states what must come out;
// no row may crash, hang, or write a file other than those the program names.

#include "support/ProgramProcess.h"

#include <QDirIterator>
#include <QMap>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString ProgramIni = QStringLiteral("parameter/Program.ini");
const QString Cfg = QStringLiteral("415_MainPicture/415_MainPicture.cfg");
const QString LanguageFile = QStringLiteral("415_MainPicture/415_MainPicture_Config.ini");
const QString ErrorLog = QStringLiteral("JX5cfglog.txt");
const QString ServiceLog = QStringLiteral("service.log");
const QByteArray CfgBytes = "[Project]\r\nValidMachines=1\r\n";
const QByteArray OverflowLine = "(Nr. 6) :Overflow\r\n";

QByteArray status(const QByteArray& value, const QByteArray& lineEnd = "\r\n") {
    return "[Machine1]" + lineEnd + "MainPictureStatus=" + value + lineEnd;
}

// Every file below root with its bytes (folders as "<folder>").
QMap<QString, QByteArray> snapshot(const QString& root) {
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(root).relativeFilePath(path), it.fileInfo().isDir()
                                                            ? QByteArray("<folder>")
                                                            : TempInstallation::readFile(path));
    }
    return files;
}

struct Outcome {
    int exitCode = 0;
    QByteArray programIni = {}, serviceLogHas = {}, errorLogHas = {}; // programIni empty: kept
};

struct HostileCase {
    const char* name;
    std::function<void(const TempInstallation&)> prepare;
    Outcome outcome = {};
    QStringList arguments = {QStringLiteral("/EXTERNAL=SILENT")};
    QString below = {}; // the installation's folder below the temporary one
};

class BadInputTest : public testing::TestWithParam<HostileCase> {};

TEST_P(BadInputTest, GivesTheStatedOutcome) {
    const HostileCase& c = GetParam();
    const TempInstallation installation(c.below);
    const ProgramProcess program(installation);
    c.prepare(installation);
    const QMap<QString, QByteArray> before = snapshot(installation.root());
    const ProcessResult result = program.run(c.arguments, 120000);
    ASSERT_FALSE(result.crashed) << result.standardError.constData();
    EXPECT_EQ(result.exitCode, c.outcome.exitCode) << result.standardError.constData();
    const QMap<QString, QByteArray> after = snapshot(installation.root());
    EXPECT_EQ(after.value(ProgramIni),
              c.outcome.programIni.isEmpty() ? before.value(ProgramIni) : c.outcome.programIni);
    EXPECT_TRUE(after.value(ServiceLog).contains(c.outcome.serviceLogHas))
        << after.value(ServiceLog).constData();
    EXPECT_TRUE(after.value(ErrorLog).contains(c.outcome.errorLogHas));
    // Only the files the program names (or their targets, where they are links) may change.
    QStringList named = {ProgramIni, Cfg, LanguageFile, ErrorLog, ServiceLog};
    for (const QString& file : QStringList(named)) {
        const QFileInfo info(installation.path(file));
        if (info.isSymLink())
            named += QDir(installation.root()).relativeFilePath(info.canonicalFilePath());
    }
    for (auto it = after.constBegin(); it != after.constEnd(); ++it) {
        if (named.contains(it.key()))
            continue;
        EXPECT_TRUE(before.contains(it.key())) << "new file " << qPrintable(it.key());
        EXPECT_EQ(before.value(it.key()), it.value()) << "changed " << qPrintable(it.key());
    }
    for (const QString& folder : {QStringLiteral("parameter"), QStringLiteral("415_MainPicture")})
        QFile::setPermissions(installation.path(folder),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

const QByteArray Garbage = [] {
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += char((i * 7919 + 13) % 256);
    return bytes;
}();
const QByteArray Big = QByteArray(50 << 20, 'x') + "\r\n";
const QByteArray Nul("a\0b\0\r\n", 6);
const QByteArray Bom = "\xEF\xBB\xBF";

// Program.ini (none when null), the .cfg file or not, and a folder where a file should be.
std::function<void(const TempInstallation&)> files(const QByteArray& programIni,
                                                   const QString& folder = {}, bool cfg = true) {
    return [=](const TempInstallation& at) {
        if (!programIni.isNull())
            at.write(ProgramIni, programIni);
        if (cfg)
            at.write(Cfg, CfgBytes);
        if (!folder.isEmpty())
            QDir().mkpath(at.path(folder));
    };
}

// A store into a missing Program.ini names the file it looked for.
const QByteArray NotFound = "WriteInputs (Nr. 53) :Could not write ";

const QByteArray TwoOverflows = OverflowLine +
                                "Fehler in 415_MainPicture / "
                                "415_MainPicture_Config / LoadIniInteger " +
                                OverflowLine;

INSTANTIATE_TEST_SUITE_P(
    Installations, BadInputTest,
    testing::Values(
        // Its first line end is a lone CR, so the new lines follow that style.
        HostileCase{"BinaryGarbageGetsTheSectionAppended",
                    files(Garbage),
                    {0, Garbage + "\r" + status("0", "\r")}},
        HostileCase{"NulBytesBeforeTheSection", files(Nul + status("-5")), {0, Nul + status("0")}},
        HostileCase{"FiftyMegabytes", files(Big + status("-5")), {0, Big + status("0")}},
        HostileCase{"LongLines", files(status("19") + "k=" + QByteArray(100000, 'v') + "\r\n")},
        HostileCase{"ByteOrderMark", files(Bom + status("-5")), {0, Bom + status("0")}},
        HostileCase{"LineFeedsOnly", files(status("-5", "\n")), {0, status("0", "\n")}},
        HostileCase{"LastLineWithoutLineEnd",
                    files("[Machine1]\r\nMainPictureStatus=-5"),
                    {0, "[Machine1]\r\nMainPictureStatus=0"}},
        HostileCase{"OutOfRangeIsLoggedTwice",
                    files(status("99999")),
                    {0, status("0"), "Unexpected error!\n\rOverflow", TwoOverflows}},
        HostileCase{"ProgramIniIsAFolder",
                    files({}, ProgramIni),
                    {4, {}, {}, "WriteInputs (Nr. 75) :Could not write "}},
        HostileCase{"ProgramIniMissingIsNotCreated", files({}), {4, {}, {}, NotFound}},
        HostileCase{"SymlinkIsWrittenThrough",
                    [](auto& at) {
                        files({}, QStringLiteral("parameter"))(at);
                        at.write(QStringLiteral("real/target.ini"), status("-5"));
                        QFile::link(at.path(QStringLiteral("real/target.ini")),
                                    at.path(ProgramIni));
                    },
                    {0, status("0")}},
        HostileCase{"ReadOnlyProgramIni",
                    [](auto& at) {
                        files(status("-5"))(at);
                        QFile::setPermissions(at.path(ProgramIni), QFile::ReadOwner);
                    },
                    {4, {}, "\n\rCould not write ", "WriteInputs (Nr. 70) :Could not write "}},
        HostileCase{"ReadOnlyFolders",
                    [](auto& at) {
                        files(status("-5"))(at);
                        for (const char* folder : {"parameter", "415_MainPicture"})
                            QFile::setPermissions(at.path(QLatin1String(folder)),
                                                  QFile::ReadOwner | QFile::ExeOwner);
                    },
                    {4, {}, {}, "WriteEditInfo (Nr. 70) :Could not write "}},
        HostileCase{"ReadOnlyCfg",
                    [](auto& at) {
                        files(status("3"))(at);
                        QFile::setPermissions(at.path(Cfg), QFile::ReadOwner);
                    },
                    {4, {}, ".cfg: Permission denied", "WriteEditInfo (Nr. 70) :Could not write "}},
        HostileCase{"CfgIsAFolder",
                    files(status("3"), Cfg, false),
                    {2, {}, "! Fault 415_MainPicture_Config: File not found: \n\r"}},
        HostileCase{"GarbageLanguageFile",
                    [](auto& at) {
                        files(status("-5"))(at);
                        at.write(LanguageFile, Garbage);
                    },
                    {0, status("0")}},
        HostileCase{"ErrorLogIsAFolder",
                    files(status("99999"), ErrorLog),
                    {0, status("0"), "Error could not be logged to \n\r"}},
        HostileCase{"ServiceLogUnwritable", files(status("3"), ServiceLog, false), {2}},
        HostileCase{"LogfileOfASilentRunIsIgnored",
                    files(status("99999"), QStringLiteral("logs")),
                    {0, status("0"), {}, OverflowLine},
                    {QStringLiteral("/EXTERNAL=SILENT"), QStringLiteral("/LOGFILE=C:\\LOGS")}},
        HostileCase{"SpacesAndUmlautsInThePath",
                    files(status("-5")),
                    {0, status("0")},
                    {QStringLiteral("/EXTERNAL=SILENT")},
                    QStringLiteral("Halle Süd/Maschine 415 Größe")}),
    [](const testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

} // namespace
