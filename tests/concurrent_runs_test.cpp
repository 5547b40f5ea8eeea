// Several runs of the program at once, and another program that replaces the files while the
// program stores: every file stays complete, no entry and no update of another writer is lost,
// and nothing is left behind.

#include "platform/ProfileFile.h"
#include "support/ProgramProcess.h"

#include <QSaveFile>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace {

const QString ProgramIni = u"parameter/Program.ini"_s;
const QString Cfg = u"415_MainPicture/415_MainPicture.cfg"_s;
const QString LanguageFile = u"415_MainPicture/415_MainPicture_Config.ini"_s;
const QStringList Silent = {u"/EXTERNAL=SILENT"_s};
const QByteArray OldProgramIni =
    "; line\r\n[Machine1]\r\nMainPictureStatus=-5\r\n[Machine2]\r\nx=1\r\n";
const QByteArray OldCfg = "[Project]\r\nValidMachines=1\r\n";

void prepare(const TempInstallation& at) {
    at.write(ProgramIni, OldProgramIni);
    at.write(Cfg, OldCfg);
}

QStringList leftovers(const TempInstallation& at) {
    QStringList found;
    for (const QString& folder : {u"parameter"_s, u"415_MainPicture"_s, QString()})
        found += QDir(at.path(folder))
                     .entryList({u"*.mainpicture-save.*"_s}, QDir::Files | QDir::Hidden);
    return found;
}

// First runs in a new installation all add the language file's entries at the same time.
TEST(ConcurrentRunsTest, FirstRunsAtOnceLeaveEveryFileComplete) {
    const TempInstallation single;
    prepare(single);
    ASSERT_EQ(ProgramProcess(single).run(Silent).exitCode, 0);
    const QByteArray language = single.read(LanguageFile);
    ASSERT_EQ(language.count("\r\n"), 30); // [Language], Language=, [1031] and 27 entries

    for (const int runs : {2, 8, 32}) {
        const TempInstallation at;
        prepare(at);
        const ProgramProcess program(at);
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int i = 0; i < runs; ++i) {
            processes.push_back(std::make_unique<QProcess>());
            processes.back()->setProcessEnvironment(program.environment);
            processes.back()->start(program.executable, Silent);
        }
        for (const auto& process : processes) {
            ASSERT_TRUE(process->waitForFinished(60000)) << runs;
            EXPECT_EQ(process->exitCode(), 0)
                << runs << process->readAllStandardError().constData();
        }
        EXPECT_EQ(at.read(LanguageFile), language) << runs;
        EXPECT_EQ(at.read(ProgramIni), single.read(ProgramIni)) << runs;
        EXPECT_EQ(at.read(Cfg), single.read(Cfg)) << runs;
        EXPECT_EQ(leftovers(at), QStringList()) << runs;
    }
}

// Another program that replaces the .cfg file by writing a new file and renaming it, as
// editors do, without any lock, hundreds of times a second: none of its updates is
// overwritten by a stale copy. A run that finds the file changed on every try says so.
TEST(ConcurrentRunsTest, AnOutsideWriterThatRenamesLosesNoUpdate) {
    const TempInstallation at;
    prepare(at);
    const ProgramProcess program(at);
    const QString cfg = at.path(Cfg);
    constexpr int Updates = 400;
    std::atomic<bool> done{false};
    std::thread outside([&] {
        for (int i = 1; i <= Updates; ++i) {
            const QByteArray bytes = TempInstallation::readFile(cfg);
            const int count =
                platform::profile::findValue(bytes, "Outside", "Count").value_or("0").toInt();
            QSaveFile out(cfg);
            out.open(QIODevice::WriteOnly);
            out.write(platform::profile::withEntry(bytes, "Outside", "Count",
                                                   QByteArray::number(count + 1)));
            out.commit();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        done = true;
    });
    int runs = 0, stored = 0;
    for (; !done || runs < 5; ++runs) {
        // Each run writes an edit record of its own: the first entry of its environment differs.
        ProgramProcess each(at);
        each.environment.insert(u"AAA_RUN"_s, QString::number(runs));
        QFile::remove(at.path(u"service.log"_s));
        const int exitCode = each.run(Silent).exitCode;
        stored += exitCode == 0 ? 1 : 0;
        if (exitCode != 0) {
            EXPECT_EQ(exitCode, 4);
            EXPECT_TRUE(
                at.read(u"service.log"_s).contains("cfg: Resource temporarily unavailable"));
        }
    }
    EXPECT_GT(stored, 0);
    std::printf("%d of %d runs stored while the outside writer made %d updates\n", stored, runs,
                Updates);
    outside.join();
    EXPECT_EQ(platform::profile::findValue(TempInstallation::readFile(cfg), "Outside", "Count"),
              QByteArray::number(Updates))
        << "after " << runs << " runs";
    EXPECT_EQ(leftovers(at), QStringList());
}

} // namespace
