// Cost of the program's INI operations (LoadIniString, LoadIniInteger, SaveIni, through the
// real platform and its INI engine) on a small (~1 KB) and a large (~1 MB, 10 000
// sections) program.ini, against simply reading the file's bytes once. Prints time per
// operation, the ratio to the plain read, and how the cost grows with the file's size.
//
// SaveIni replaces the file atomically and syncs it to disk. Next to it stand the same atomic
// save of the same bytes without the engine (QSaveFile write and commit) and the engine's edit
// in memory; every operation also shows its processor time, which leaves out the wait for the
// disk. Last, the write and the save once more on tmpfs, where the sync costs nothing: the
// difference is the engine's own work for a write.

#include "ini/IniEngine.h"
#include "platform/MachinePlatform.h"
#include "run/RunFacts.h"
#include "store/IniAccess.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <vector>

namespace {

QByteArray programIni(int sections) {
    QByteArray content = "[Project]\r\nName=Bench\r\n";
    for (int i = 1; i <= sections; ++i) {
        const QByteArray n = QByteArray::number(i);
        content += "[Machine" + n + "]\r\n; machine " + n + " of the line\r\nName=Packer " + n +
                   "\r\nType=415\r\nMainPictureStatus=" + QByteArray::number(i % 32) +
                   "\r\nDescription=\"wrapping unit, bobbins left\"\r\n";
    }
    return content;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Microseconds per call: elapsed, and processor time of the process (user and system).
struct Cost {
    double wall = 0;
    double cpu = 0;
};

double cpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

Cost timeCalls(const std::function<void(int)>& operation, int& counter, int calls) {
    using Clock = std::chrono::steady_clock;
    const double cpuStart = cpuMicroseconds();
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i)
        operation(counter++);
    const std::chrono::duration<double, std::micro> wall = Clock::now() - start;
    return {wall.count() / calls, (cpuMicroseconds() - cpuStart) / calls};
}

struct Measured {
    const char* name;
    std::function<void(int)> operation;
};

// The best of several rounds; each round runs a batch of about 10 ms of every operation in
// turn, so that load from other processes lands in some rounds but not in the minimum.
std::vector<Cost> bestOfRounds(const std::vector<Measured>& operations) {
    constexpr int Rounds = 25;
    std::vector<int> batch;
    std::vector<int> counters(operations.size(), 0);
    for (std::size_t i = 0; i < operations.size(); ++i) {
        timeCalls(operations[i].operation, counters[i], 1); // warm the file cache
        const double once = timeCalls(operations[i].operation, counters[i], 1).wall;
        batch.push_back(std::clamp(int(10000.0 / std::max(once, 1.0)), 1, 100000));
    }
    std::vector<Cost> best(operations.size(), Cost{1e300, 1e300});
    for (int round = 0; round < Rounds; ++round) {
        for (std::size_t i = 0; i < operations.size(); ++i) {
            // One call untimed: the operation before it may have left the caches cold.
            timeCalls(operations[i].operation, counters[i], 1);
            const Cost cost = timeCalls(operations[i].operation, counters[i], batch[i]);
            best[i].wall = std::min(best[i].wall, cost.wall);
            best[i].cpu = std::min(best[i].cpu, cost.cpu);
        }
    }
    return best;
}

std::vector<Measured> operationsOn(const QString& file, const QString& lastSection,
                                   const QString& saveCopy, const QByteArray& bytes) {
    const QString key = QStringLiteral("MainPictureStatus");
    return {
        {"plain read of the bytes",
         [=](int) {
             QFile f(file);
             f.open(QIODevice::ReadOnly);
             f.readAll();
         }},
        {"LoadIniString Machine1",
         [=](int) {
             static_cast<void>(LoadIniString(QStringLiteral("Machine1"), key, file, false));
         }},
        {"LoadIniString last section",
         [=](int) { static_cast<void>(LoadIniString(lastSection, key, file, false)); }},
        {"LoadIniInteger Machine1",
         [=](int) {
             static_cast<void>(LoadIniInteger(QStringLiteral("Machine1"), key, file, false));
         }},
        {"LoadIniInteger last section",
         [=](int) { static_cast<void>(LoadIniInteger(lastSection, key, file, false)); }},
        // Alternating values, so that every call really rewrites the file.
        {"SaveIni Machine1",
         [=](int i) {
             static_cast<void>(
                 SaveIni(qint16(i % 2 ? 19 : 20), QStringLiteral("Machine1"), key, file));
         }},
        {"SaveIni last section",
         [=](int i) {
             static_cast<void>(SaveIni(qint16(i % 2 ? 19 : 20), lastSection, key, file));
         }},
        // The engine's own work for the write above, in memory, without the file.
        {"withEntry last section",
         [=](int i) {
             ini::withEntry(bytes, lastSection.toLatin1(), key.toLatin1(),
                            QByteArray(i % 2 ? "19" : "20"));
         }},
        // The save as this program made it before its steps were checked: read, edit, and
        // QSaveFile, with no lock, no recheck and no sync of the folder.
        {"unchecked save (before)",
         [=](int i) {
             QFile in(file);
             in.open(QIODevice::ReadOnly);
             const QByteArray edited =
                 ini::withEntry(in.readAll(), lastSection.toLatin1(), key.toLatin1(),
                                QByteArray(i % 2 ? "19" : "20"));
             QSaveFile out(file);
             out.open(QIODevice::WriteOnly);
             out.write(edited);
             out.commit();
         }},
        // The save without the engine, into a copy of the file beside it.
        {"atomic save, same bytes",
         [=](int) {
             QSaveFile f(saveCopy);
             f.open(QIODevice::WriteOnly);
             f.write(bytes);
             f.commit();
         }},
    };
}

// The start-up's machine list of an installation with 32 767 machines: NumberOfMachines, then
// one MachineName per section, as GetExistingMachines reads them, in a file of megabytes MB.
// Beside it, what the list would cost without the file kept between reads (each name read
// from the file afresh) and without the place of each section (each name found by a scan of
// the kept content): both estimated from the first 200 names.
struct MachineListCost {
    double seconds = -1, afreshSeconds = -1, scannedSeconds = -1;
};

MachineListCost machineListSeconds(const QString& file, int megabytes) {
    constexpr int Machines = 32767;
    constexpr int Sample = 200;
    const QByteArray padding =
        "; " + QByteArray(qMax(0, megabytes * 1024 * 1024 / Machines - 60), '-') + "\r\n";
    QByteArray content = "[Project]\r\nNumberOfMachines=" + QByteArray::number(Machines) + "\r\n";
    for (int i = 1; i <= Machines; ++i)
        content += "[Machine" + QByteArray::number(i) + "]\r\nMachineName=Packer " +
                   QByteArray::number(i) + "\r\n" + padding;
    if (!writeFile(file, content))
        return {};
    // A file that has been there a while, as an installation's is.
    const QByteArray name = QFile::encodeName(file);
    const timespec longAgo[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 3600, 0}};
    utimensat(AT_FDCWD, name.constData(), longAgo, 0);
    const auto since = [](std::chrono::steady_clock::time_point start) {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    MachineListCost cost;
    auto start = std::chrono::steady_clock::now();
    const qint16 count =
        LoadIniInteger(QStringLiteral("Project"), QStringLiteral("NumberOfMachines"), file, false)
            .value;
    for (int j = 1; j <= count; ++j)
        static_cast<void>(LoadIniString(QStringLiteral("Machine%1").arg(j),
                                        QStringLiteral("MachineName"), file, false));
    cost.seconds = since(start);
    start = std::chrono::steady_clock::now();
    for (int j = 1; j <= Sample; ++j) {
        QFile in(file);
        in.open(QIODevice::ReadOnly);
        static_cast<void>(
            ini::findValue(in.readAll(), "Machine" + QByteArray::number(j), "MachineName"));
    }
    cost.afreshSeconds = since(start) * Machines / Sample;
    start = std::chrono::steady_clock::now();
    for (int j = Machines - Sample + 1; j <= Machines; ++j)
        static_cast<void>(
            ini::findValue(content, "Machine" + QByteArray::number(j), "MachineName"));
    cost.scannedSeconds = since(start) * Machines / Sample * 0.5; // the mean scan is half as long
    return cost;
}

} // namespace

int main(int argc, char** argv) {
    platform::MachinePlatform realPlatform(argc, argv);
    platform::install(&realPlatform);
    installRunFacts(factsOf(realPlatform));
    QTemporaryDir dir;
    const int sizes[] = {10, 10000};
    const QString lastSections[] = {QStringLiteral("Machine10"), QStringLiteral("Machine10000")};
    std::vector<Cost> costs[2];
    qint64 bytes[2];
    std::vector<Measured> operations;
    for (int i = 0; i < 2; ++i) {
        const QString file = dir.filePath(QStringLiteral("program%1.ini").arg(i));
        const QString copy = dir.filePath(QStringLiteral("copy%1.ini").arg(i));
        const QByteArray content = programIni(sizes[i]);
        if (!writeFile(file, content) || !writeFile(copy, content))
            return 1;
        bytes[i] = content.size();
        operations = operationsOn(file, lastSections[i], copy, content);
        costs[i] = bestOfRounds(operations);
    }

    std::printf("small file %lld bytes (%d sections), large file %lld bytes (%d sections), "
                "size ratio %.0f; best of 25 rounds\n\n",
                static_cast<long long>(bytes[0]), sizes[0], static_cast<long long>(bytes[1]),
                sizes[1], double(bytes[1]) / double(bytes[0]));
    std::printf("%-28s %11s %7s %11s %7s %11s %12s %7s\n", "operation", "small us/op", "x read",
                "large us/op", "x read", "large/small", "large cpu us", "x read");
    const Cost& smallRead = costs[0][0];
    const Cost& largeRead = costs[1][0];
    for (std::size_t i = 0; i < operations.size(); ++i) {
        const Cost& s = costs[0][i];
        const Cost& l = costs[1][i];
        std::printf("%-28s %11.2f %7.2f %11.2f %7.2f %11.1f %12.2f %7.2f\n", operations[i].name,
                    s.wall, s.wall / smallRead.wall, l.wall, l.wall / largeRead.wall,
                    l.wall / s.wall, l.cpu, l.cpu / largeRead.cpu);
    }

    // Without the disk: the same write and save on tmpfs, where the sync costs nothing, show
    // the engine's own work for a write apart from the disk's.
    QTemporaryDir memoryDir(QStringLiteral("/dev/shm/ini_bench-XXXXXX"));
    const QString file = memoryDir.filePath(QStringLiteral("program.ini"));
    const QString copy = memoryDir.filePath(QStringLiteral("copy.ini"));
    const QByteArray content = programIni(sizes[1]);
    if (!memoryDir.isValid() || !writeFile(file, content) || !writeFile(copy, content))
        return 0;
    std::vector<Measured> writes;
    for (const Measured& m : operationsOn(file, lastSections[1], copy, content)) {
        if (std::strcmp(m.name, "SaveIni last section") == 0 ||
            std::strcmp(m.name, "atomic save, same bytes") == 0 ||
            std::strcmp(m.name, "unchecked save (before)") == 0)
            writes.push_back(m);
    }
    const std::vector<Cost> memory = bestOfRounds(writes);
    const Cost& save = costs[1][6];
    const Cost& before = costs[1][8];
    std::printf("\nlarge file on tmpfs (no disk behind the sync): SaveIni last section %.2f us, "
                "atomic save of the same bytes %.2f us;\nthe engine's own work for the write "
                "%.2f us = %.2f x the plain read\n",
                memory[0].wall, memory[2].wall, memory[0].wall - memory[2].wall,
                (memory[0].wall - memory[2].wall) / largeRead.wall);
    std::printf("SaveIni last section against the unchecked save as it was before (no lock, no "
                "recheck, no folder sync): %+.1f %% on disk, %+.1f %% on tmpfs\n",
                100.0 * (save.wall / before.wall - 1.0),
                100.0 * (memory[0].wall / memory[1].wall - 1.0));

    std::printf("\nmachine list of 32767 machines at start-up (without the kept file, each name "
                "read afresh; without the places of the sections, each name found by a scan):\n");
    for (const int megabytes : {12, 25, 50}) {
        const MachineListCost cost =
            machineListSeconds(memoryDir.filePath(QStringLiteral("machines.ini")), megabytes);
        std::printf("  %2d MB program.ini: %.2f s; read afresh %.0f s; scanned %.0f s\n", megabytes,
                    cost.seconds, cost.afreshSeconds, cost.scannedSeconds);
    }
    return 0;
}
