// Saves under faults: each call of a save failing in turn, short writes, other writers getting
// in between. A failed save leaves the old complete file, no temporary one, the system's reason.

#include "files/LogAppend.h"
#include "files/SafeFile.h"
#include "files/SystemCalls.h"
#include "platform/ProfileFiles.h"
#include "support/CountedCalls.h"
#include "support/TempInstallation.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace sys = files::sys;

namespace {

CallFaults& faults = callFaults();

class SafeFileTest : public testing::Test {
protected:
    QString path(const QString& name) const { return folder.path() + u'/' + name; }
    QStringList folderEntries() const { return TempInstallation::entries(folder.path()); }

    CountedCalls counting;
    platform::ProfileFiles profiles;
    QTemporaryDir folder;
};

struct FaultCase {
    const char* name;
    QByteArray original; // null: the file does not exist yet
    uid_t saver = 0;     // another user saves root's file, in place (only when run as root)
};

class SaveFaults : public SafeFileTest, public testing::WithParamInterface<FaultCase> {};

TEST_P(SaveFaults, EveryFailedStepLeavesTheOldFileAndNoTemporaryFile) {
    const FaultCase& c = GetParam();
    if (c.saver != 0 && ::geteuid() != 0)
        GTEST_SKIP() << "needs root to save another user's file in place";
    ::chmod(QFile::encodeName(folder.path()).constData(), 0777);
    const QString ini = path(u"Program.ini"_s);
    const auto reset = [&] {
        QFile::remove(ini);
        if (!c.original.isNull())
            TempInstallation::writeFile(ini, c.original);
        ::chmod(QFile::encodeName(ini).constData(), 0666);
    };
    reset();
    const auto save = [&] {
        faults.calls = 0;
        EXPECT_EQ(::seteuid(c.saver), 0);
        const FileOutcome<int> stored =
            profiles.writeString("Machine1", "MainPictureStatus", "19", ini);
        EXPECT_EQ(::seteuid(0), 0);
        return stored;
    };
    // A dry run counts the calls of one save; then the original comes back.
    faults.failAt = 0;
    ASSERT_EQ(save().value, 1) << c.name;
    const QByteArray changed = TempInstallation::readFile(ini);
    const int steps = faults.calls;
    ASSERT_GT(steps, 5) << c.name;
    EXPECT_EQ(QFileInfo(ini).ownerId(), ::geteuid()) << c.name; // in place: still root's
    // Killed before any step, the save leaves the file old or new, or the old one in a copy.
    faults.hook = [&] {
        const QStringList copies = QDir(folder.path()).entryList({u"*.copy"_s}, QDir::Files);
        const QByteArray now = TempInstallation::readFile(ini);
        EXPECT_TRUE(
            now == c.original || now == changed ||
            (copies.size() == 1 && TempInstallation::readFile(path(copies[0])) == c.original))
            << c.name << " step " << faults.calls;
    };
    for (faults.hookAt = 1; faults.hookAt <= steps; ++faults.hookAt) {
        reset();
        static_cast<void>(save());
    }
    faults.hookAt = 0;
    const int renamedAt = faults.renamedAt; // 0 for a save in place
    for (const int error : {ENOSPC, EIO, EROFS, EDQUOT, EFBIG, EMFILE}) {
        for (int step = 1; step <= steps; ++step) {
            reset();
            const QFile::Permissions permissions = QFileInfo(ini).permissions();
            faults.failAt = step;
            faults.failWith = error;
            const std::string at = std::string(c.name) + " step " + std::to_string(step) +
                                   " errno " + std::to_string(error);
            // A failed look under the lock costs a second read; a failed step after the rename
            // (the folder's sync) leaves the new file in place, but says so.
            const FileOutcome<int> stored = save();
            const QByteArray now = TempInstallation::readFile(ini);
            if (stored.value == 1) {
                EXPECT_EQ(now, changed) << at;
            } else {
                EXPECT_EQ(stored.error, error) << at;
                EXPECT_TRUE(now == c.original ||
                            (renamedAt > 0 && step > renamedAt && now == changed))
                    << at;
            }
            EXPECT_TRUE(c.original.isNull() || QFileInfo(ini).permissions() == permissions) << at;
            // A temporary file whose removal failed is gone with the next save.
            const QStringList alone =
                QFileInfo::exists(ini) ? QStringList{u"Program.ini"_s} : QStringList();
            if (folderEntries() != alone) {
                faults.failAt = 0;
                profiles.writeString("Machine1", "MainPictureStatus", "20", ini).value;
                EXPECT_EQ(folderEntries(), QStringList{u"Program.ini"_s}) << at;
            }
        }
    }
}

TEST_F(SafeFileTest, ShortWritesStillWriteTheWholeFile) {
    const QByteArray original = "[s]\r\nk=1\r\n" + QByteArray(100000, 'x') + "\r\n";
    TempInstallation::writeFile(path(u"a.ini"_s), original);
    faults.writeLimit = 7;
    EXPECT_EQ(profiles.writeString("s", "k", "2", path(u"a.ini"_s)).value, 1);
    EXPECT_EQ(TempInstallation::readFile(path(u"a.ini"_s)), "[s]\r\nk=2\r\n" + original.sliced(10));
}

INSTANTIATE_TEST_SUITE_P(
    Files, SaveFaults,
    testing::Values(
        FaultCase{"SmallFile", "[Machine1]\r\nMainPictureStatus=3\r\n[Machine2]\r\nx=1\r\n"},
        // Larger than one read and one write buffer.
        FaultCase{"LargeFile",
                  "[Machine1]\r\nMainPictureStatus=3\r\n" + QByteArray(300000, 'x') + "\r\n"},
        FaultCase{"MissingFile", QByteArray()},
        // Shorter once saved: written in place, it is torn until it is cut to its length.
        FaultCase{"InPlace", "[Machine1]\r\nMainPictureStatus=1234\r\n" + QByteArray(100000, 'x'),
                  65534}),
    [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

// Another writer renames its file in place just before the save's check, or between the check
// and the rename: our change is made again on its file, so neither change is lost.
TEST_F(SafeFileTest, AnotherWritersRenameIsNeverOverwritten) {
    const auto save = [&] {
        TempInstallation::writeFile(path(u"p.ini"_s), "[s]\r\nours=0\r\ntheirs=0\r\n");
        faults.calls = 0;
        return profiles.writeString("s", "ours", "1", path(u"p.ini"_s)).value;
    };
    ASSERT_EQ(save(), 1);
    // The other writer replaces the file as an editor does: a new file renamed in place.
    faults.hook = [&] {
        TempInstallation::writeFile(path(u"new.tmp"_s), "[s]\r\nours=0\r\ntheirs=1\r\n");
        ::rename(QFile::encodeName(path(u"new.tmp"_s)), QFile::encodeName(path(u"p.ini"_s)));
    };
    // Just before the check that the file is still the one read, and between it and the rename.
    const int renamedAt = faults.renamedAt;
    for (const int moment : {renamedAt - 1, renamedAt}) {
        faults.hookAt = moment;
        EXPECT_EQ(save(), 1) << moment;
        EXPECT_EQ(TempInstallation::readFile(path(u"p.ini"_s)), "[s]\r\nours=1\r\ntheirs=1\r\n")
            << moment;
        EXPECT_EQ(folderEntries(), QStringList{u"p.ini"_s}) << moment;
    }
}

// The next save clears what a save cut short left (its temporary file goes, an in-place copy
// is put back), and nothing else: other names, another user's file, a running save's.
TEST_F(SafeFileTest, OnlyOurOwnLeftoversGoWithTheNextSave) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give files to another user";
    const QString copy = path(u"p.ini.mainpicture-save.fedcba9876543210.copy"_s);
    const auto giveAway = [](const QString& file) {
        return ::chown(QFile::encodeName(file).constData(), ::geteuid() + 1, 0) == 0;
    };
    TempInstallation::writeFile(path(u"p.ini"_s), "[s]\r\nk"); // torn by an in-place save
    TempInstallation::writeFile(copy, "[s]\r\nk=1\r\nj=1\r\n");
    const QStringList kept =
        u"Other.ini.mainpicture-save.keep notes.mainpicture-save.txt p.ini.bak "
        "p.ini.mainpicture-save.0123456789abcdef "
        "p.ini.mainpicture-save.1111111111111111 "
        "p.ini.mainpicture-save.backup-by-admin"_s.split(u' ');
    for (const QString& name : kept + QStringList{u"p.ini.mainpicture-save.00000000000000aa"_s})
        TempInstallation::writeFile(path(name), "[t]\r\n");
    ASSERT_TRUE(giveAway(path(kept[3])));
    const int running = ::open(QFile::encodeName(path(kept[4])).constData(), O_RDONLY);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    EXPECT_EQ(profiles.writeString("s", "k", "2", path(u"p.ini"_s)).value, 1);
    ::close(running);
    EXPECT_EQ(TempInstallation::readFile(path(u"p.ini"_s)), "[s]\r\nk=2\r\nj=1\r\n");
    const QStringList entries = folderEntries(), expected = kept + QStringList{u"p.ini"_s};
    EXPECT_EQ(QSet<QString>(entries.cbegin(), entries.cend()),
              QSet<QString>(expected.cbegin(), expected.cend()));
    // Another user's copy is neither put back nor built upon.
    TempInstallation::writeFile(copy, "x");
    ASSERT_TRUE(giveAway(copy));
    EXPECT_EQ(profiles.writeString("s", "k", "3", path(u"p.ini"_s)).error, EBUSY);
}

// Everything that decides who may read or write a file, as one comparable text.
std::string metadataOf(const QString& file) {
    const QByteArray name = QFile::encodeName(file);
    struct stat status {};
    ::lstat(name.constData(), &status);
    QByteArray text = QByteArray::number(status.st_mode, 8) + ' ' +
                      QByteArray::number(status.st_uid) + ' ' + QByteArray::number(status.st_gid);
    char names[4096] = {}, value[4096] = {};
    const ssize_t size = ::llistxattr(name.constData(), names, sizeof names);
    for (const QByteArray& key : QByteArray(names, qMax<ssize_t>(size, 0)).split('\0')) {
        const ssize_t length = ::lgetxattr(name.constData(), key.constData(), value, sizeof value);
        if (!key.isEmpty())
            text += ' ' + key + '=' + QByteArray(value, qMax<ssize_t>(length, 0)).toHex();
    }
    return text.toStdString();
}

// An ACL as the system stores it (version, then tag, permissions, id): besides the owner, the
// group and others, user 4444 and group 4242 may read and write.
const QByteArray AccessControlList = QByteArray::fromHex(
    "02000000 01000600ffffffff 020006005c110000 04000400ffffffff 0800060092100000 "
    "10000600ffffffff 20000400ffffffff");

// After a save, whoever could read or write the file before still can, and nobody else can:
// saved as root and as a group member (in place where a new file could not stand in).
TEST_F(SafeFileTest, ASaveKeepsWhoMayReadAndWriteTheFile) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give files to other users";
    constexpr uid_t Member = 4343, Root = 0;
    constexpr gid_t Group = 4242, Foreign = 5555;
    const struct {
        const char* name;
        mode_t mode;
        uid_t owner;
        gid_t group;
        bool attributes;   // an ACL and a user attribute
        gid_t folderGroup; // a set-group-ID folder of that group, or 0
        uid_t saver;
    } cases[] = {
        {"ModeAndOwnerAsRoot", 0640, Member, Foreign, false, 0, Root},
        {"AclAndAttributeAsRoot", 0660, Member, Group, true, 0, Root},
        {"SetGroupIdFolderAsRoot", 0644, Root, Foreign, false, Group, Root},
        {"OthersFileAsMember", 0664, Root, Group, false, 0, Member},
        {"OwnFileWithAclInSetGroupIdFolderAsMember", 0660, Member, Group, true, Foreign, Member},
        {"OwnFileOfAForeignGroupAsMember", 0666, Member, Foreign, false, 0, Member},
        {"OthersFileWithAclAsMember", 0664, Root, Group, true, Group, Member},
    };
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    for (const auto& c : cases) {
        const QString sub = path(QString::fromLatin1(c.name));
        const QString file = sub + u"/p.ini"_s;
        const QByteArray name = QFile::encodeName(file);
        QDir().mkpath(sub);
        ASSERT_EQ(::chown(QFile::encodeName(sub).constData(), Root, c.folderGroup), 0);
        ::chmod(QFile::encodeName(sub).constData(), c.folderGroup != 0 ? 02777 : 0777);
        TempInstallation::writeFile(file, "[s]\r\nk=1\r\n");
        ASSERT_EQ(::chown(name.constData(), c.owner, c.group), 0);
        ::chmod(name.constData(), c.mode);
        if (c.attributes &&
            (::setxattr(name.constData(), "user.note", "kept", 4, 0) != 0 ||
             ::setxattr(name.constData(), "system.posix_acl_access", AccessControlList.constData(),
                        size_t(AccessControlList.size()), 0) != 0))
            GTEST_SKIP() << "this file system has no user attributes or ACLs";
        const std::string before = metadataOf(file);
        const pid_t saver = ::fork();
        if (saver == 0) {
            const gid_t groups[] = {Group};
            if (c.saver != Root &&
                (::setgroups(1, groups) != 0 || ::setresgid(c.saver, c.saver, c.saver) != 0 ||
                 ::setresuid(c.saver, c.saver, c.saver) != 0))
                ::_exit(2);
            ::_exit(profiles.writeString("s", "k", "2", file).value == 1 ? 0 : 1);
        }
        int status = -1;
        ::waitpid(saver, &status, 0);
        EXPECT_EQ(status, 0) << c.name;
        EXPECT_EQ(TempInstallation::readFile(file), "[s]\r\nk=2\r\n") << c.name;
        EXPECT_EQ(metadataOf(file), before) << c.name;
        EXPECT_EQ(QDir(sub).entryList(QDir::Files | QDir::Hidden), QStringList{u"p.ini"_s})
            << c.name;
    }
}

// A user who keeps swapping their folder for a link of theirs to root's folder never makes a
// save of root's change a file there: each link is judged on the folder the save then uses.
TEST_F(SafeFileTest, AFolderSwappedForALinkNeverLeadsRootsSaveAstray) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "the link rule is root's";
    constexpr uid_t User = 65534;
    const QByteArray rootFile = "[s]\r\nk=0\r\n";
    TempInstallation::writeFile(path(u"root/p.ini"_s), rootFile);
    TempInstallation::writeFile(path(u"user/params/p.ini"_s), rootFile);
    QFile::link(path(u"root"_s), path(u"user/link"_s));
    for (const QString& owned :
         {u"user"_s, u"user/params"_s, u"user/params/p.ini"_s, u"user/link"_s})
        ASSERT_EQ(::lchown(QFile::encodeName(path(owned)).constData(), User, User), 0);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    const pid_t swapper = ::fork();
    if (swapper == 0) {
        if (::setresgid(User, User, User) != 0 || ::setresuid(User, User, User) != 0)
            ::_exit(2);
        const QByteArray params = QFile::encodeName(path(u"user/params"_s));
        const QByteArray link = QFile::encodeName(path(u"user/link"_s));
        for (;;)
            ::renameat2(AT_FDCWD, params.constData(), AT_FDCWD, link.constData(), RENAME_EXCHANGE);
    }
    int stored = 0;
    for (int run = 1; run <= 2000; ++run)
        stored +=
            profiles.writeString("s", "k", QByteArray::number(run), path(u"user/params/p.ini"_s))
                .value;
    ::kill(swapper, SIGKILL);
    ::waitpid(swapper, nullptr, 0);
    EXPECT_EQ(TempInstallation::readFile(path(u"root/p.ini"_s)), rootFile);
    EXPECT_EQ(QDir(path(u"root"_s)).entryList(QDir::Files | QDir::Hidden), QStringList{u"p.ini"_s});
    EXPECT_GT(stored, 0);
    std::printf("%d of 2000 saves went to the user's own folder\n", stored);
}

// A pipe in a log's place neither blocks the program nor takes the entry, with or without a
// reader waiting on it.
TEST_F(SafeFileTest, ALogThatIsAPipeFailsAtOnce) {
    const QByteArray log = QFile::encodeName(path(u"JX5cfglog.txt"_s));
    ASSERT_EQ(::mkfifo(log.constData(), 0644), 0);
    EXPECT_NE(files::appendWhole(log, "entry\r\n"), 0);
    const int reader = ::open(log.constData(), O_RDONLY | O_NONBLOCK);
    EXPECT_EQ(files::appendWhole(log, "entry\r\n"), EINVAL);
    ::close(reader);
}

} // namespace
