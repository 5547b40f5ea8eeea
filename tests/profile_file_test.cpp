// The INI engine: pure text functions on tables of contents, file functions on real files.

#include "files/LogAppend.h"
#include "ini/IniEngine.h"
#include "platform/ProfileFiles.h"
#include "support/TempInstallation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
        {"ByteOrderMark", "\xEF\xBB\xBF[s]\r\nk=-5\r\n", "s", "k", "-5"},
        {"AfterALongLine", "[s]\r\nx=" + Bytes(100000, 'v') + "\r\nk=19", "s", "k", "19"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini::findValue(c.content, c.section, c.key), c.expected) << c.name;
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
        {"ReplaceInLineFeedFile", "[s]\nk=-5\n", "s", "k", "0", "[s]\nk=0\n"},
        {"ReplaceLastLineWithoutEnd", "[s]\r\nk=-5", "s", "k", "0", "[s]\r\nk=0"},
        {"ReplaceAfterNulBytes", raw("a\0b\0\r\n[s]\r\nk=-5\r\n"), "s", "k", "0",
         raw("a\0b\0\r\n[s]\r\nk=0\r\n")},
        {"ReplaceAfterByteOrderMark", "\xEF\xBB\xBF[s]\r\nk=-5\r\n", "s", "k", "0",
         "\xEF\xBB\xBF[s]\r\nk=0\r\n"},
        {"LongLineKept", "[s]\r\nx=" + Bytes(100000, 'v') + "\r\nk=1\r\n", "s", "k", "2",
         "[s]\r\nx=" + Bytes(100000, 'v') + "\r\nk=2\r\n"},
        {"FirstOfDuplicateSections", "[s]\r\na=1\r\n[s]\r\nk=old\r\n", "s", "k", "new",
         "[s]\r\na=1\r\nk=new\r\n[s]\r\nk=old\r\n"},
        {"RemoveKey", "[s]\r\na=1\r\nk=v\r\nb=2\r\n", "s", "K", std::nullopt,
         "[s]\r\na=1\r\nb=2\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini::withEntry(c.content, c.section, c.key, c.value), c.expected) << c.name;
    // Names and values that could not be read back as written change nothing.
    const Bytes refused[][3] = {{"s", "a=b", "v"}, {"s", " ;k", "v"}, {"s", "[k", "v"},
                                {"s", "  ", "v"},  {"s", "k\t", "v"}, {"a]b", "k", "v"},
                                {"s", "k\n", "v"}, {"s", "k", "1\r2"}};
    for (const auto& [section, key, value] : refused)
        EXPECT_EQ(ini::withEntry("[s]\nk=1\n", section, key, value), "[s]\nk=1\n")
            << key.constData();
}

TEST(ParseInteger, LeadingNumberWrapsModulo32Bits) {
    const std::pair<const char*, qint32> cases[] = {
        {"19abc", 19},  {" \t-5", -5},     {"+7", 7},          {"abc", 0},
        {"- 5", 0},     {"4294967297", 1}, {"4294967295", -1}, {"0X1f", 31},
        {"-0x10", -16}, {"0xg", 0},        {"010", 10}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ini::parseInteger(text), value) << text;
    EXPECT_EQ(ini::parseInteger("-2147483648"), INT32_MIN);
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
    platform::ProfileFiles profiles;
};

TEST_F(ProfileFiles, ReadsOfUnusableFilesGiveTheDefault) {
    EXPECT_EQ(profiles.readString("s", "k", "dflt  ", 255, path("missing.ini")).value, "dflt");
    EXPECT_EQ(profiles.readInteger("s", "k", -1, dir.path()).value, -1);
    // A pipe would block the read for ever.
    ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe.ini")).constData(), 0644), 0);
    EXPECT_EQ(profiles.readString("s", "k", "d", 255, path("pipe.ini")).value, "d");
    EXPECT_EQ(profiles.writeString("s", "k", "v", path("pipe.ini")).value, 0);
    // A UTF-16 file is refused both ways, and stays as it is.
    const QString utf16 = write("u.ini", Bytes::fromHex("fffe5b004d005d000d000a006b003d003100"));
    const FileOutcome<qint32> read = profiles.readInteger("M", "k", -1, utf16);
    EXPECT_TRUE(read.value == -1 && read.error == EILSEQ);
    const FileOutcome<int> written = profiles.writeString("M", "k", "2", utf16);
    EXPECT_TRUE(written.value == 0 && written.error == EILSEQ);
    EXPECT_EQ(bytes(utf16).size(), 18);
    const QString ini = write("e.ini", "[s]\r\ne=\r\n[y");
    EXPECT_EQ(profiles.readString("s", "e", "dflt", 255, ini).value, "");
    EXPECT_EQ(profiles.readInteger("s", "e", -1, ini).value, -1);
}

TEST_F(ProfileFiles, WriteCreatesAMissingFileButNoMissingFolder) {
    EXPECT_EQ(profiles.writeString("Machine1", "MainPictureStatus", "19", path("new.ini")).value,
              1);
    EXPECT_EQ(bytes(path("new.ini")), "[Machine1]\r\nMainPictureStatus=19\r\n");
    // Removing from a file that is not there succeeds and creates nothing.
    EXPECT_EQ(profiles.writeString("s", "k", std::nullopt, path("none.ini")).value, 1);
    EXPECT_EQ(profiles.writeString("s", "k", "2", path("no/such/folder.ini")).value, 0);
    EXPECT_EQ(profiles.writeString("s", "k", "2", dir.path()).value, 0);
    EXPECT_EQ(TempInstallation::entries(dir.path()), QStringList{"new.ini"});
}

// A file that grants nobody writing is refused, even when we run as root. (What a save keeps
// of a file's permissions is safe_file_test's table.)
TEST_F(ProfileFiles, AFileNobodyMayWriteIsNeverReplaced) {
    const QString ini = write("p.ini", "[s]\r\nk=2\r\n");
    ASSERT_TRUE(QFile::setPermissions(ini, QFile::ReadOwner | QFile::ReadGroup));
    EXPECT_EQ(profiles.writeString("s", "k", "3", ini).value, 0);
    EXPECT_EQ(profiles.writeString("s", "k", std::nullopt, ini).value, 0);
    EXPECT_EQ(bytes(ini), "[s]\r\nk=2\r\n");
}

// Many reads of one settled file go through the place of each section; they must find what a
// scan of the content finds, and a file changed in between must be read afresh.
TEST_F(ProfileFiles, ReadsOfAKeptFileFindWhatAScanFinds) {
    const Bytes content = "\xEF\xBB\xBF[First]\nk=bom\n  [ Spaced ]  \nk=1\n[sec   \nk=2\n"
                          "x=[notes]\n[DUP]\nk=3\n[dup]\nk=4\nj=5\n\t[Tab]x\rk=6\r\n"
                          "[a]b]\nk=7\n[Empty]\n[last]\nk=8";
    const QString ini = write("kept.ini", content);
    const auto setAside = [&] { // as a file that has been there a while
        const timespec longAgo[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 3600, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(ini).constData(), longAgo, 0), 0);
    };
    setAside();
    const char* const sections[] = {"First", "spaced", "SEC",   "notes", "dup",     "tab",
                                    "a",     "a]b",    "Empty", "LAST",  "missing", " last "};
    for (int round = 0; round < 2; ++round)
        for (const char* section : sections)
            for (const char* key : {"k", "j", "x"})
                EXPECT_EQ(profiles.readString(section, key, "-", 255, ini).value,
                          ini::findValue(content, section, key).value_or("-"))
                    << section << " " << key;
    // The same size and a new modification time: read afresh.
    TempInstallation::writeFile(ini, Bytes(content).replace("k=8", "k=9"));
    EXPECT_EQ(profiles.readString("last", "k", "", 255, ini).value, "9");
    setAside();
    EXPECT_EQ(profiles.readString("last", "k", "", 255, ini).value, "9");
    EXPECT_EQ(profiles.readString("dup", "k", "", 255, ini).value, "3");
}

// Links are followed through the real folders, as the system does: the file written is the one
// a read through the same path opens. Entries are files, or links as "target>name"; a leading
// "!" makes one someone else's, which only root can arrange.
struct LinkCase {
    QStringList entries;
    const char* path;    // the path to write
    const char* written; // the file that must hold k=2, or none
    int error = 0;
    bool log = false; // an entry appended to a log through the path instead
};

QStringList chain(int links) {
    QStringList chain{u"chain/0.ini"_s};
    for (int i = 1; i <= links; ++i)
        chain << u"%1.ini>chain/%2.ini"_s.arg(i - 1).arg(i);
    return chain;
}

class WriteThroughLinks : public ProfileFiles, public testing::WithParamInterface<LinkCase> {};

TEST_P(WriteThroughLinks, FollowsThemAsTheSystemDoes) {
    const LinkCase& c = GetParam();
    if (c.entries.join(u' ').contains(u'!') && ::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a file or link to another user";
    for (QString entry : c.entries) {
        const bool theirs = entry.startsWith(u'!');
        entry.remove(0, theirs ? 1 : 0);
        const QString name = dir.filePath(entry.section(u'>', -1));
        const QString target = entry.section(u'>', 0, 0);
        if (entry.contains(u'>')) {
            QDir().mkpath(QFileInfo(QFileInfo(name).dir(), target).path());
            QFile::link(target, name);
        } else {
            TempInstallation::writeFile(name, "[s]\nk=1\n");
        }
        ASSERT_EQ(theirs ? ::lchown(QFile::encodeName(name).constData(), 65534, 65534) : 0, 0);
    }
    const QString file = path(c.path);
    const QStringList before = TempInstallation::entries(dir.path());
    if (c.log) {
        EXPECT_EQ(files::appendWhole(QFile::encodeName(file), "k=2\n"), c.error);
    } else {
        const FileOutcome<int> written = profiles.writeString("s", "k", "2", file);
        EXPECT_EQ(written.value, c.error == 0 ? 1 : 0);
        EXPECT_EQ(written.error, c.error);
    }
    for (const QString& entry : c.error != 0 ? c.entries : QStringList())
        if (!entry.contains(u'>')) {
            EXPECT_EQ(bytes(dir.filePath(entry.mid(entry.startsWith(u'!')))), "[s]\nk=1\n");
        }
    EXPECT_TRUE(!c.written || bytes(path(c.written)).contains("k=2"));
    // No new file beside the installation, nothing written anywhere else.
    EXPECT_EQ(TempInstallation::entries(dir.path()), before);
    EXPECT_TRUE(c.error != 0 || profiles.readString("s", "k", "", 255, file).value == "2");
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WriteThroughLinks,
    testing::Values(
        LinkCase{{"real/p.ini", "real/p.ini>link.ini"}, "link.ini", "real/p.ini"},
        // "../t.ini" counts from the folder the link really lies in, not from "linked".
        LinkCase{{"real/deep/t.ini", "real/t.ini", "../t.ini>real/deep/sub/p.ini",
                  "real/deep/sub>linked"},
                 "linked/p.ini",
                 "real/deep/t.ini"},
        LinkCase{{"real/absent.ini>dangling.ini"}, "dangling.ini", "real/absent.ini"},
        LinkCase{chain(40), "chain/40.ini", "chain/0.ini"},
        LinkCase{chain(41), "chain/41.ini", nullptr, ELOOP},
        // A link someone else planted must not aim root's write at a file of root's.
        LinkCase{{"root.ini", "!root.ini>planted.ini"}, "planted.ini", nullptr, EACCES},
        LinkCase{{"root.ini", "!root.ini>JX5cfglog.txt"}, "JX5cfglog.txt", nullptr, EACCES, true},
        LinkCase{{"!theirs.ini", "!theirs.ini>theirlink.ini"}, "theirlink.ini", "theirs.ini"},
        LinkCase{{"etc/root.ini", "!etc>params"}, "params/root.ini", nullptr, EACCES}));

} // namespace
