// The INI engine: pure text functions on tables of contents, file functions on real files.

#include "platform/ProfileFile.h"
#include "support/TempInstallation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sys/stat.h>

namespace profile = platform::profile;
using Bytes = QByteArray;
using MaybeBytes = std::optional<QByteArray>;

namespace {

// Byte strings with NUL bytes need their length.
template <std::size_t N> Bytes raw(const char (&text)[N]) {
    return Bytes(text, N - 1);
}

TEST(FindValue, ReadsAsTheWindowsReader) {
    const struct {
        const char* name;
        Bytes content, section, key;
        MaybeBytes expected;
    } cases[] = {
        {"CaseAndCallerSpaces", "[Machine1]\r\nKey=19\r\n", " MACHINE1 ", "key  ", "19"},
        {"StrayLinesAndHeaderWithoutClose", "k=0\n  [Sec   \rk\n \tk \v= v", "Sec", "k", "v"},
        {"CommentLineButNoInlineComment", "[s]\n  ;k=1\nk=;v ;x", "s", "k", ";v ;x"},
        {"OnlyFirstBlock", "[s]\na=1\n[t]\n[S]\nb=2\n", "s", "b", std::nullopt},
        {"FirstKeyWins", "[s]\nk=1\nK=2\n[s]\nk=3", "s", "k", "1"},
        {"ValueTrimmedOneQuotePair", "[s]\nk= \t\v\"\" a \"\" \t\v", "s", "k", "\" a \""},
        {"NulBytes", raw("\0\0\n[s]\nk=a\0b\n"), "s", "k", raw("a\0b")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(profile::findValue(c.content, c.section, c.key), c.expected) << c.name;
}

// The bytes after a write: new lines end as the file's first line does, nothing else moves.
TEST(WithEntry, ChangesOnlyTheLinesItMust) {
    const struct {
        const char* name;
        Bytes content, section, key;
        MaybeBytes value;
        Bytes expected;
    } cases[] = {
        {"EmptyContent", "", " s ", " k ", " \"x\" ", "[s]\r\nk= \"x\" \r\n"},
        {"ReplaceKeepsSpellingAndPosition", "[Machine1]\r\n  mainpicturestatus = 3 \r\nX=1\r\n",
         "Machine1", "MainPictureStatus", "19", "[Machine1]\r\n  mainpicturestatus =19\r\nX=1\r\n"},
        {"NewKeyAboveTrailingComments", "[s]\na=1\n; note\n\n[t]\n", "s", "k", "v",
         "[s]\na=1\nk=v\n; note\n\n[t]\n"},
        {"NewKeyAfterLastLineWithoutEnd", "[s]\r\na=1", "s", "k", "v", "[s]\r\na=1\r\nk=v\r\n"},
        {"NewSectionAfterLineWithoutEnd", "[t]\nx=1", "s", "k", "v", "[t]\nx=1\n[s]\nk=v\n"},
        {"CrOnlyFile", "[s]\ra=1\r", "s", "k", "v", "[s]\ra=1\rk=v\r"},
        {"FirstOfDuplicateSections", "[s]\r\na=1\r\n[s]\r\nk=old\r\n", "s", "k", "new",
         "[s]\r\na=1\r\nk=new\r\n[s]\r\nk=old\r\n"},
        {"RemoveKey", "[s]\r\na=1\r\nk=v\r\nb=2\r\n", "s", "K", std::nullopt,
         "[s]\r\na=1\r\nb=2\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(profile::withEntry(c.content, c.section, c.key, c.value), c.expected) << c.name;
    // Names and values that could not be read back as written change nothing.
    const Bytes refused[][3] = {{"s", "a=b", "v"}, {"s", " ;k", "v"}, {"s", "[k", "v"},
                                {"s", "  ", "v"},  {"s", "k\t", "v"}, {"a]b", "k", "v"},
                                {"s", "k\n", "v"}, {"s", "k", "1\r2"}};
    for (const auto& [section, key, value] : refused)
        EXPECT_EQ(profile::withEntry("[s]\nk=1\n", section, key, value), "[s]\nk=1\n")
            << key.constData();
}

TEST(ParseInteger, LeadingNumberWrapsModulo32Bits) {
    const std::pair<const char*, qint32> cases[] = {
        {"19abc", 19},  {" \t-5", -5},     {"+7", 7},          {"abc", 0},
        {"- 5", 0},     {"4294967297", 1}, {"4294967295", -1}, {"0X1f", 31},
        {"-0x10", -16}, {"0xg", 0},        {"010", 10}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(profile::parseInteger(text), value) << text;
    EXPECT_EQ(profile::parseInteger("-2147483648"), INT32_MIN);
}

// --- Real files.

class ProfileFiles : public testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    static Bytes bytes(const QString& file) { return TempInstallation::readFile(file); }
    QString write(const char* name, const Bytes& content) const {
        TempInstallation::writeFile(path(name), content);
        return path(name);
    }
    QTemporaryDir dir;
};

TEST_F(ProfileFiles, ReadsOfUnusableFilesGiveTheDefault) {
    EXPECT_EQ(profile::readString("s", "k", "dflt  ", 255, path("missing.ini")), "dflt");
    EXPECT_EQ(profile::readInteger("s", "k", -1, dir.path()), -1);
    // A pipe would block the read for ever.
    ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe.ini")).constData(), 0644), 0);
    EXPECT_EQ(profile::readString("s", "k", "d", 255, path("pipe.ini")), "d");
    EXPECT_EQ(profile::writeString("s", "k", "v", path("pipe.ini")), 0);
    const QString ini = write("e.ini", "[s]\r\ne=\r\n[y");
    EXPECT_EQ(profile::readString("s", "e", "dflt", 255, ini), "");
    EXPECT_EQ(profile::readInteger("s", "e", -1, ini), -1);
}

TEST_F(ProfileFiles, WriteCreatesAMissingFileButNoMissingFolder) {
    EXPECT_EQ(profile::writeString("Machine1", "MainPictureStatus", "19", path("new.ini")), 1);
    EXPECT_EQ(bytes(path("new.ini")), "[Machine1]\r\nMainPictureStatus=19\r\n");
    // Removing from a file that is not there succeeds and creates nothing.
    EXPECT_EQ(profile::writeString("s", "k", std::nullopt, path("none.ini")), 1);
    EXPECT_EQ(profile::writeString("s", "k", "2", path("no/such/folder.ini")), 0);
    EXPECT_EQ(profile::writeString("s", "k", "2", dir.path()), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"new.ini"});
}

TEST_F(ProfileFiles, WriteKeepsPermissionsButNeverReplacesAProtectedFile) {
    const QString ini = write("p.ini", "[s]\r\nk=1\r\n");
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(ini, mode));
    EXPECT_EQ(profile::writeString("s", "k", "2", ini), 1);
    EXPECT_EQ(bytes(ini), "[s]\r\nk=2\r\n");
    EXPECT_EQ(QFileInfo(ini).permissions() &
                  ~QFile::Permissions(QFile::ReadUser | QFile::WriteUser),
              mode);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"p.ini"});
    // Nobody may write it: refused even when we run as root.
    ASSERT_TRUE(QFile::setPermissions(ini, QFile::ReadOwner | QFile::ReadGroup));
    EXPECT_EQ(profile::writeString("s", "k", "3", ini), 0);
    EXPECT_EQ(profile::writeString("s", "k", std::nullopt, ini), 0);
    EXPECT_EQ(bytes(ini), "[s]\r\nk=2\r\n");
}

TEST_F(ProfileFiles, WriteGoesThroughASymbolicLink) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
    const QString target = write("real/p.ini", "[s]\nk=1\n");
    ASSERT_TRUE(QFile::link("real/p.ini", path("link.ini")));
    EXPECT_EQ(profile::writeString("s", "k", "2", path("link.ini")), 1);
    EXPECT_TRUE(QFileInfo(path("link.ini")).isSymLink());
    EXPECT_EQ(bytes(target), "[s]\nk=2\n");
    // A dangling link creates its target; a loop of links is refused.
    ASSERT_TRUE(QFile::link("real/absent.ini", path("dangling.ini")));
    EXPECT_EQ(profile::writeString("s", "k", "2", path("dangling.ini")), 1);
    EXPECT_EQ(bytes(path("real/absent.ini")), "[s]\r\nk=2\r\n");
    ASSERT_TRUE(QFile::link("loop2.ini", path("loop1.ini")));
    ASSERT_TRUE(QFile::link("loop1.ini", path("loop2.ini")));
    EXPECT_EQ(profile::writeString("s", "k", "2", path("loop1.ini")), 0);
}

} // namespace
