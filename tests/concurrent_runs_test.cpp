// Several runs at once, and a neighbour that honours the lock: every file stays complete, no
// entry or update is lost, nothing is left behind.

#include "ini/IniEngine.h"
#include "support/ProgramProcess.h"

#include <QSaveFile>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using T = TempInstallation;

// First runs in a new installation all add the language file's entries at the same time.
TEST(ConcurrentRunsTest, FirstRunsAtOnceLeaveEveryFileComplete) {
    const TempInstallation single;
    single.writeTypical();
    ASSERT_EQ(ProgramProcess(single).run(Silent).exitCode, 0);
    const QByteArray language = single.read(T::LanguageFile);
    ASSERT_EQ(language.count("\r\n"), 30); // [Language], Language=, [1031] and 27 entries

    for (const int runs : {2, 8, 32}) {
        const TempInstallation at;
        at.writeTypical();
        const ProgramProcess program(at);
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int i = 0; i < runs; ++i)
            processes.push_back(program.start(Silent));
        for (const auto& process : processes) {
            ASSERT_TRUE(process->waitForFinished(60000)) << runs;
            EXPECT_EQ(process->exitCode(), 0)
                << runs << process->readAllStandardError().constData();
        }
        EXPECT_EQ(at.read(T::LanguageFile), language) << runs;
        EXPECT_EQ(at.read(T::ProgramIni), single.read(T::ProgramIni)) << runs;
        EXPECT_EQ(at.read(T::Cfg), single.read(T::Cfg)) << runs;
        EXPECT_EQ(at.leftovers(), QStringList()) << runs;
    }
}

// A tool that counts in bits 5 to 14 of MainPictureStatus under the lock (flock on the
// folder, read, change, rename) while programs store again and again: no update is lost.
TEST(ConcurrentRunsTest, ANeighbourThatHonoursTheLockLosesNoUpdate) {
    const TempInstallation at;
    at.writeStandard(19, T::TypicalCfg);
    const QString ini = at.path(T::ProgramIni);
    constexpr int Updates = 1000; // bits 5 to 14 count up to 1023
    constexpr int UpdatesPerRun = 50;
    std::atomic<bool> done{false};
    std::atomic<int> runs{0};
    std::thread neighbour([&] {
        const int folder =
            ::open(QFile::encodeName(at.path(u"parameter"_s)).constData(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < Updates; ++i) {
            // However busy the machine, the updates stay spread over many stores.
            while (i > runs * UpdatesPerRun)
                std::this_thread::yield();
            ::flock(folder, LOCK_EX);
            const QByteArray bytes = TempInstallation::readFile(ini);
            const int value =
                ini::findValue(bytes, "Machine1", "MainPictureStatus").value_or("0").toInt();
            QSaveFile out(ini);
            out.open(QIODevice::WriteOnly);
            out.write(ini::withEntry(bytes, "Machine1", "MainPictureStatus",
                                     QByteArray::number(value + 32)));
            out.commit();
            ::flock(folder, LOCK_UN);
        }
        ::close(folder);
        done = true;
    });
    // Four programs at a time store while the neighbour counts.
    const ProgramProcess program(at);
    std::vector<std::thread> programs;
    for (int i = 0; i < 4; ++i) {
        programs.emplace_back([&] {
            for (; !done; ++runs)
                EXPECT_EQ(program.run(Silent).exitCode, 0);
        });
    }
    neighbour.join();
    for (std::thread& program : programs)
        program.join();
    std::printf("%d runs stored while the neighbour made %d updates\n", int(runs), Updates);
    EXPECT_EQ(ini::findValue(at.read(T::ProgramIni), "Machine1", "MainPictureStatus"),
              QByteArray::number(19 + 32 * Updates));
    EXPECT_EQ(at.leftovers(), QStringList());
}

} // namespace
