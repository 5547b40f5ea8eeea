// The real program, silent, over hostile installations. Every row states what must come out;
// no row may crash, hang, or write a file other than those the program names.

#include "support/ProgramProcess.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Files = TempInstallation;
const QByteArray OverflowLine = "(Nr. 6) :Overflow\r\n";

QByteArray status(const QByteArray& value) {
    return "[Machine1]\r\nMainPictureStatus=" + value + "\r\n";
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
    std::function<void()> inChild = nullptr;
};

class BadInputTest : public testing::TestWithParam<HostileCase> {};

TEST_P(BadInputTest, GivesTheStatedOutcome) {
    const HostileCase& c = GetParam();
    const TempInstallation installation(c.below);
    const ProgramProcess program(installation);
    c.prepare(installation);
    const QMap<QString, QByteArray> before = installation.snapshot();
    const ProcessResult result = program.run(c.arguments, 120000, c.inChild);
    ASSERT_FALSE(result.crashed) << result.standardError.constData();
    EXPECT_EQ(result.exitCode, c.outcome.exitCode) << result.standardError.constData();
    // A silent run that did not store says so on the terminal, and where to look.
    const QByteArray said = "(status " + QByteArray::number(c.outcome.exitCode) + "); see the ";
    EXPECT_EQ(result.standardError.contains(said),
              c.outcome.exitCode == 2 || c.outcome.exitCode == 4);
    const QMap<QString, QByteArray> after = installation.snapshot();
    EXPECT_EQ(after.value(Files::ProgramIni), c.outcome.programIni.isEmpty()
                                                  ? before.value(Files::ProgramIni)
                                                  : c.outcome.programIni);
    EXPECT_TRUE(after.value(Files::ServiceLog).contains(c.outcome.serviceLogHas))
        << after.value(Files::ServiceLog).constData();
    EXPECT_TRUE(after.value(Files::ErrorLog).contains(c.outcome.errorLogHas));
    // Only the files the program names may change.
    const QStringList named = {Files::ProgramIni, Files::Cfg, Files::LanguageFile, Files::ErrorLog,
                               Files::ServiceLog};
    for (auto it = after.constBegin(); it != after.constEnd(); ++it) {
        // A named file's place that holds no file (a pipe, a folder) is never written into.
        const bool aFile = !before.contains(it.key()) || !before.value(it.key()).startsWith('<');
        if (named.contains(it.key()) && aFile)
            continue;
        EXPECT_TRUE(before.contains(it.key())) << "new file " << qPrintable(it.key());
        EXPECT_EQ(before.value(it.key()), it.value()) << "changed " << qPrintable(it.key());
    }
}

const QByteArray Garbage = [] {
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += char((i * 7919 + 13) % 256);
    return bytes;
}();

// Program.ini (none when null), the .cfg file or not, and a folder where a file should be.
std::function<void(const TempInstallation&)> files(const QByteArray& programIni,
                                                   const QString& folder = {}, bool cfg = true) {
    return [=](const TempInstallation& at) {
        if (!programIni.isNull())
            at.write(Files::ProgramIni, programIni);
        if (cfg)
            at.write(Files::Cfg, "[Project]\r\nValidMachines=1\r\n");
        if (!folder.isEmpty())
            QDir().mkpath(at.path(folder));
    };
}

// A store into a missing Program.ini names the file it looked for.
const QByteArray NotFound = "WriteInputs (Nr. 53) :Could not write ";

// Something in the language file's place that is no file to read: the run is told so (in the
// service log), stores the options it read and writes nothing into that thing.
enum class Thing { Utf16, LinkToItself, Pipe, Device, Folder };
void place(Thing thing, const QString& file) {
    const QByteArray path = QFile::encodeName(file);
    const bool made = thing == Thing::Utf16 ? (Files::writeFile(file, "\xFF\xFE["), true)
                      : thing == Thing::LinkToItself
                          ? ::symlink(path.constData(), path.constData()) == 0
                      : thing == Thing::Pipe   ? ::mkfifo(path.constData(), 0666) == 0
                      : thing == Thing::Device ? ::symlink("/dev/zero", path.constData()) == 0
                                               : QDir().mkpath(file);
    ASSERT_TRUE(made) << path.constData();
}
HostileCase unreadableLanguageFile(const char* name, Thing thing, const char* reason) {
    return {name,
            [thing](const TempInstallation& at) {
                files(status("19"))(at);
                place(thing, at.path(Files::LanguageFile));
            },
            {4, status("19"), QByteArray("415_MainPicture_Config.ini: ") + reason}};
}

INSTANTIATE_TEST_SUITE_P(
    Installations, BadInputTest,
    testing::Values(
        HostileCase{"ProgramIniMissingIsNotCreated", files({}), {4, {}, {}, NotFound}},
        HostileCase{"ReadOnlyCfg",
                    [](auto& at) {
                        files(status("3"))(at);
                        QFile::setPermissions(at.path(Files::Cfg), QFile::ReadOwner);
                    },
                    {4, {}, ".cfg: Permission denied", "WriteEditInfo (Nr. 70) :Could not write "}},
        HostileCase{"GarbageLanguageFile",
                    [](auto& at) {
                        files(status("-5"))(at);
                        at.write(Files::LanguageFile, Garbage);
                    },
                    {0, status("0")}},
        HostileCase{"ErrorLogIsAFolder",
                    files(status("99999"), Files::ErrorLog),
                    {0, status("0"), "Error could not be logged to \n\r"}},
        HostileCase{"ServiceLogUnwritable", files(status("3"), Files::ServiceLog, false), {2}},
        HostileCase{"LogfileOfASilentRunIsIgnored",
                    files(status("99999"), QStringLiteral("logs")),
                    {0, status("0"), {}, OverflowLine},
                    {QStringLiteral("/EXTERNAL=SILENT"), QStringLiteral("/LOGFILE=C:\\LOGS")}},
        HostileCase{"SpacesAndUmlautsInThePath",
                    files(status("-5")),
                    {0, status("0")},
                    {QStringLiteral("/EXTERNAL=SILENT")},
                    QStringLiteral("Halle Süd/Maschine 415 Größe")},
        // The program ignores the signal that the limit raises, and the write fails.
        HostileCase{"AFileSizeLimitBelowTheNewFile",
                    files(status("-5") + "; " + QByteArray(200000, '-') + "\r\n"),
                    {4, {}, "Program.ini: File too large"},
                    {QStringLiteral("/EXTERNAL=SILENT")},
                    {},
                    [] {
                        const rlimit limit{100000, 100000};
                        ::setrlimit(RLIMIT_FSIZE, &limit);
                    }},
        unreadableLanguageFile("LanguageFileInUtf16", Thing::Utf16, "the file holds UTF-16 text"),
        unreadableLanguageFile("LanguageFileALinkToItself", Thing::LinkToItself,
                               "Too many levels of symbolic links"),
        unreadableLanguageFile("LanguageFileAPipe", Thing::Pipe, "not an ordinary file"),
        unreadableLanguageFile("LanguageFileADevice", Thing::Device, "not an ordinary file"),
        unreadableLanguageFile("LanguageFileAFolder", Thing::Folder, "Is a directory")),
    [](const testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

} // namespace
