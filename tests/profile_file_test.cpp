// The INI engine: pure text functions on tables of contents, file functions on real files.

#include "platform/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace profile = platform::profile;
using Bytes = QByteArray;
using MaybeBytes = std::optional<QByteArray>;

namespace {

// Byte strings with NUL bytes need their length.
template <std::size_t N> Bytes raw(const char (&text)[N]) {
    return Bytes(text, N - 1);
}

struct FindCase {
    const char* name;
    Bytes content;
    Bytes section;
    Bytes key;
    MaybeBytes expected;
};

void PrintTo(const FindCase& c, std::ostream* os) {
    *os << c.name;
}

class FindValue : public testing::TestWithParam<FindCase> {};

TEST_P(FindValue, ReadsAsTheWindowsReader) {
    const FindCase& c = GetParam();
    EXPECT_EQ(profile::findValue(c.content, c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FindValue,
    testing::Values(FindCase{"Plain", "[Machine1]\r\nMainPictureStatus=19\r\n", "Machine1",
                             "MainPictureStatus", "19"},
                    FindCase{"CaseAndCallerSpaces", "[Machine1]\nKey=v", " MACHINE1 ", "key  ",
                             "v"},
                    FindCase{"CallerTabIsKept", "[s]\nk=v", "s", "\tk", std::nullopt},
                    FindCase{"BlanksAroundHeader", "  \t[ s ]  tail\nk=v", "s", "k", "v"},
                    FindCase{"HeaderWithoutClose", "[Sec   \nk=v", "Sec", "k", "v"},
                    FindCase{"NameEndsAtFirstClose", "[a]b]\nk=v", "a", "k", "v"},
                    FindCase{"BlanksAroundKey", "[s]\n \tk \v= v\n", "s", "k", "v"},
                    FindCase{"CommentLine", "[s]\n  ;k=1\nk=2", "s", "k", "2"},
                    FindCase{"HashIsNoComment", "[s]\n#k=1", "s", "#k", "1"},
                    FindCase{"NoInlineComment", "[s]\nk=v ;x", "s", "k", "v ;x"},
                    FindCase{"ValueStartingWithSemicolon", "[s]\nk=;v", "s", "k", ";v"},
                    FindCase{"KeyBeforeFirstHeader", "k=1\n[s]\n", "s", "k", std::nullopt},
                    FindCase{"OnlyFirstBlock", "[s]\na=1\n[t]\n[S]\nb=2\n", "s", "b", std::nullopt},
                    FindCase{"FirstKeyWins", "[s]\nk=1\nK=2\n[s]\nk=3", "s", "k", "1"},
                    FindCase{"ValueTrimmed", "[s]\nk= \t\vx y \t\v", "s", "k", "x y"},
                    FindCase{"DoubleQuotes", "[s]\nk=  \" a \"  ", "s", "k", " a "},
                    FindCase{"SingleQuotes", "[s]\nk='x'", "s", "k", "x"},
                    FindCase{"MismatchedQuotes", "[s]\nk=\"x'", "s", "k", "\"x'"},
                    FindCase{"LoneQuote", "[s]\nk=\"", "s", "k", "\""},
                    FindCase{"OnePairOnly", "[s]\nk=\"\"x\"\"", "s", "k", "\"x\""},
                    FindCase{"EmptyValue", "[s]\r\nk=\r\n", "s", "k", ""},
                    FindCase{"CrOnlyLines", "[s]\rk=v\rj=w", "s", "j", "w"},
                    FindCase{"ByteOrderMarkSkipped", "\xEF\xBB\xBF[s]\r\nk=v", "s", "k", "v"},
                    FindCase{"NulBytes", raw("\0\0\n[s]\nk=a\0b\n"), "s", "k", raw("a\0b")},
                    FindCase{"LineWithoutEquals", "[s]\nk\n", "s", "k", std::nullopt},
                    FindCase{"EmptyKeyNamesNothing", "[s]\n=v\n", "s", "", std::nullopt},
                    FindCase{"MissingSection", "[s]\nk=v\n", "t", "k", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct WriteCase {
    const char* name;
    Bytes content;
    Bytes section;
    Bytes key;
    MaybeBytes value;
    Bytes expected;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class WithEntry : public testing::TestWithParam<WriteCase> {};

TEST_P(WithEntry, ChangesOnlyTheLinesItMust) {
    const WriteCase& c = GetParam();
    EXPECT_EQ(profile::withEntry(c.content, c.section, c.key, c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WithEntry,
    testing::Values(
        WriteCase{"EmptyContent", "", "s", "k", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"CallerNamesTrimmed", "", " s ", " k ", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"ValueExactlyAsGiven", "[s]\r\n", "s", "k", " \"x\" ", "[s]\r\nk= \"x\" \r\n"},
        WriteCase{"ReplaceKeepsSpellingAndPosition",
                  "[Machine1]\r\n  mainpicturestatus = 3 \r\nX=1\r\n", "Machine1",
                  "MainPictureStatus", "19", "[Machine1]\r\n  mainpicturestatus =19\r\nX=1\r\n"},
        WriteCase{"ReplaceWithEmpty", "[s]\nk=1\n", "s", "k", "", "[s]\nk=\n"},
        WriteCase{"NewKeyAboveTrailingComments", "[s]\na=1\n; note\n\n[t]\n", "s", "k", "v",
                  "[s]\na=1\nk=v\n; note\n\n[t]\n"},
        WriteCase{"NewKeyInSectionWithoutKeys", "[s]\r\n;c\r\n", "s", "k", "v",
                  "[s]\r\nk=v\r\n;c\r\n"},
        WriteCase{"NewKeyAfterLastLineWithoutEnd", "[s]\r\na=1", "s", "k", "v",
                  "[s]\r\na=1\r\nk=v\r\n"},
        WriteCase{"NewKeyAfterHeaderWithoutEnd", "[s]", "s", "k", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"NewSectionAfterLastLineWithoutEnd", "[t]\nx=1", "s", "k", "v",
                  "[t]\nx=1\n[s]\nk=v\n"},
        WriteCase{"NewSectionNoBlankLine", "[t]\r\nx=1\r\n", "s", "k", "v",
                  "[t]\r\nx=1\r\n[s]\r\nk=v\r\n"},
        WriteCase{"CrOnlyFile", "[s]\ra=1\r", "s", "k", "v", "[s]\ra=1\rk=v\r"},
        WriteCase{"FirstOfDuplicateSections", "[s]\r\na=1\r\n[s]\r\nk=old\r\n", "s", "k", "new",
                  "[s]\r\na=1\r\nk=new\r\n[s]\r\nk=old\r\n"},
        WriteCase{"NulBytesKept", raw("\0\0\r\n[s]\r\nk=1\r\nz\0\r\n"), "s", "k", "2",
                  raw("\0\0\r\n[s]\r\nk=2\r\nz\0\r\n")},
        WriteCase{"ByteOrderMarkOnly", "\xEF\xBB\xBF", "s", "k", "v", "\xEF\xBB\xBF[s]\r\nk=v\r\n"},
        WriteCase{"ByteOrderMarkKept", "\xEF\xBB\xBF[s]\nk=1\n", "s", "k", "2",
                  "\xEF\xBB\xBF[s]\nk=2\n"},
        WriteCase{"RemoveKey", "[s]\r\na=1\r\nk=v\r\nb=2\r\n", "s", "K", std::nullopt,
                  "[s]\r\na=1\r\nb=2\r\n"},
        WriteCase{"RemoveLastKeyKeepsHeader", "[s]\r\nk=v", "s", "k", std::nullopt, "[s]\r\n"},
        WriteCase{"RemoveMissingKey", "[s]\na=1", "s", "k", std::nullopt, "[s]\na=1"},
        WriteCase{"RemoveFromMissingSection", "", "s", "k", std::nullopt, ""},
        WriteCase{"RefusedKeyWithEquals", "[s]\n", "s", "a=b", "v", "[s]\n"},
        WriteCase{"RefusedKeyComment", "[s]\n", "s", ";k", "v", "[s]\n"},
        WriteCase{"RefusedKeyHeader", "[s]\n", "s", " [k", "v", "[s]\n"},
        WriteCase{"RefusedEmptyKey", "[s]\n", "s", "  ", "v", "[s]\n"},
        WriteCase{"RefusedKeyWithTab", "[s]\n", "s", "k\t", "v", "[s]\n"},
        WriteCase{"RefusedSectionWithClose", "", "a]b", "k", "v", ""},
        WriteCase{"RefusedSectionWithNul", "", raw("s\0"), "k", "v", ""},
        WriteCase{"RefusedKeyWithLineFeed", "", "s", "k\n", "v", ""},
        WriteCase{"RefusedValueWithCr", "[s]\nk=1\n", "s", "k", "1\r2", "[s]\nk=1\n"}),
    [](const auto& info) { return std::string(info.param.name); });

class ParseInteger : public testing::TestWithParam<std::pair<const char*, qint32>> {};

TEST_P(ParseInteger, LeadingNumberWrapsModulo32Bits) {
    EXPECT_EQ(profile::parseInteger(GetParam().first), GetParam().second) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseInteger,
    testing::Values(std::pair{"19", 19}, std::pair{"19abc", 19}, std::pair{"+7", 7},
                    std::pair{"-5", -5}, std::pair{" \t42", 42}, std::pair{"abc", 0},
                    std::pair{"", 0}, std::pair{"- 5", 0}, std::pair{"4294967297", 1},
                    std::pair{"4294967295", -1}, std::pair{"-2147483648", -2147483647 - 1},
                    std::pair{"0x10", 16}, std::pair{"0X1f", 31}, std::pair{"-0x10", -16},
                    std::pair{"0x", 0}, std::pair{"0xg", 0}, std::pair{"010", 10}));

// --- Real files.

class ProfileFiles : public testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QByteArray bytes(const QString& file) const {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString write(const char* name, const QByteArray& content) const {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    }
    QTemporaryDir dir;
};

TEST_F(ProfileFiles, ReadsOfUnusableFilesGiveTheDefault) {
    const Bytes blanks(255, ' ');
    EXPECT_EQ(profile::readString("s", "k", blanks, 255, path("missing.ini")), "");
    EXPECT_EQ(profile::readString("s", "k", "dflt  ", 255, dir.path()), "dflt");
    EXPECT_EQ(profile::readInteger("s", "k", -1, dir.path()), -1);
    EXPECT_EQ(profile::readString("s", "k", blanks, 255, write("empty.ini", "")), "");
    Bytes garbage;
    for (int i = 0; i < 5000; ++i)
        garbage.append(char((i * 7919) % 256));
    EXPECT_EQ(profile::readString("s", "k", "d", 255, write("garbage.ini", garbage)), "d");
    // A pipe would block the read for ever.
    ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe.ini")).constData(), 0644), 0);
    EXPECT_EQ(profile::readString("s", "k", "d", 255, path("pipe.ini")), "d");
    EXPECT_EQ(profile::writeString("s", "k", "v", path("pipe.ini")), 0);
}

TEST_F(ProfileFiles, ReadsCutToTheBuffer) {
    const QString ini = write("long.ini", "[s]\r\nk=" + Bytes(100000, 'x') +
                                              "\r\nn=\"12\"\r\ne=\r\n"
                                              "t=abc\r\n[" +
                                              Bytes(100000, 'y'));
    EXPECT_EQ(profile::readString("s", "k", "", 255, ini), Bytes(254, 'x'));
    EXPECT_EQ(profile::readString("s", "k", "", 1, ini), "");
    EXPECT_EQ(profile::readString("s", "e", "dflt", 255, ini), "");
    EXPECT_EQ(profile::readInteger("s", "n", -1, ini), 12);
    EXPECT_EQ(profile::readInteger("s", "e", -1, ini), -1);
    EXPECT_EQ(profile::readInteger("s", "t", -1, ini), 0);
    EXPECT_EQ(profile::readInteger("s", "missing", -1, ini), -1);
}

TEST_F(ProfileFiles, WriteCreatesAMissingFile) {
    EXPECT_EQ(profile::writeString("Machine1", "MainPictureStatus", "19", path("new.ini")), 1);
    EXPECT_EQ(bytes(path("new.ini")), "[Machine1]\r\nMainPictureStatus=19\r\n");
    // Removing from a file that is not there succeeds and creates nothing.
    EXPECT_EQ(profile::writeString("s", "k", std::nullopt, path("none.ini")), 1);
    EXPECT_FALSE(QFileInfo::exists(path("none.ini")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"new.ini"});
}

TEST_F(ProfileFiles, RefusedWritesCreateAndChangeNothing) {
    const QString ini = write("p.ini", "[s]\r\nk=1\r\n");
    EXPECT_EQ(profile::writeString("s", "k", "2", path("no/such/folder.ini")), 0);
    EXPECT_EQ(profile::writeString("s", "k", "2", QString()), 0);
    EXPECT_EQ(profile::writeString("s", "k", "2", dir.path()), 0);
    EXPECT_EQ(profile::writeString("s", "a=b", "2", ini), 0);
    EXPECT_EQ(bytes(ini), "[s]\r\nk=1\r\n");
    EXPECT_FALSE(QFileInfo::exists(path("no")));
}

TEST_F(ProfileFiles, WriteProtectedFileIsNotReplacedEvenByRoot) {
    const QString ini = write("ro.ini", "[s]\r\nk=1\r\n");
    ASSERT_TRUE(QFile::setPermissions(ini, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    EXPECT_EQ(profile::writeString("s", "k", "2", ini), 0);
    EXPECT_EQ(profile::writeString("s", "k", std::nullopt, ini), 0);
    EXPECT_EQ(bytes(ini), "[s]\r\nk=1\r\n");
}

TEST_F(ProfileFiles, UnwritableFolderFails) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes any folder";
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    ASSERT_TRUE(QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_EQ(profile::writeString("s", "k", "2", path("locked/p.ini")), 0);
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(ProfileFiles, WriteKeepsPermissionsOwnerAndLeavesNoTemporaryFile) {
    const QString ini = write("p.ini", "[s]\r\nk=1\r\n");
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(ini, mode));
    EXPECT_EQ(profile::writeString("s", "k", "2", ini), 1);
    EXPECT_EQ(bytes(ini), "[s]\r\nk=2\r\n");
    const auto ours = ~QFile::Permissions(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    EXPECT_EQ(QFileInfo(ini).permissions() & ours, mode);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"p.ini"});
    if (geteuid() == 0) {
        ASSERT_EQ(chown(QFile::encodeName(ini).constData(), 65534, 65534), 0);
        EXPECT_EQ(profile::writeString("s", "k", "3", ini), 1);
        EXPECT_EQ(QFileInfo(ini).ownerId(), 65534u);
    }
}

TEST_F(ProfileFiles, WriteGoesThroughASymbolicLink) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
    const QString target = write("real/p.ini", "[s]\nk=1\n");
    ASSERT_TRUE(QFile::link("real/p.ini", path("link.ini")));
    EXPECT_EQ(profile::writeString("s", "k", "2", path("link.ini")), 1);
    EXPECT_TRUE(QFileInfo(path("link.ini")).isSymLink());
    EXPECT_EQ(bytes(target), "[s]\nk=2\n");
    EXPECT_EQ(profile::readString("s", "k", "", 255, path("link.ini")), "2");
    // A dangling link creates its target; a loop of links or a link to a folder is refused.
    ASSERT_TRUE(QFile::link("real/absent.ini", path("dangling.ini")));
    EXPECT_EQ(profile::writeString("s", "k", "2", path("dangling.ini")), 1);
    EXPECT_TRUE(QFileInfo(path("dangling.ini")).isSymLink());
    EXPECT_EQ(bytes(path("real/absent.ini")), "[s]\r\nk=2\r\n");
    ASSERT_TRUE(QFile::link("loop2.ini", path("loop1.ini")));
    ASSERT_TRUE(QFile::link("loop1.ini", path("loop2.ini")));
    EXPECT_EQ(profile::writeString("s", "k", "2", path("loop1.ini")), 0);
    EXPECT_EQ(profile::readString("s", "k", "d", 255, path("loop1.ini")), "d");
    ASSERT_TRUE(QFile::link("real", path("dirlink.ini")));
    EXPECT_EQ(profile::writeString("s", "k", "2", path("dirlink.ini")), 0);
}

} // namespace
