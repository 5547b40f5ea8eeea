// Cost of the program's INI operations (LoadIniString, LoadIniInteger, SaveIni, through the
// real platform and its INI engine) on a small (~1 KB) and a large (~1 MB, 10 000
// sections) program.ini, against simply reading the file's bytes once. Prints time per
// operation, the ratio to the plain read, and how the cost grows with the file's size.

#include "platform/QtPlatform.h"
#include "store/IniAccess.h"

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <functional>
#include <utility>
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

// Microseconds per call, repeating until the timing is long enough to be stable.
double timePerCall(const std::function<void(int)>& operation) {
    using Clock = std::chrono::steady_clock;
    operation(0); // warm the file cache
    long calls = 0;
    const auto start = Clock::now();
    std::chrono::duration<double, std::micro> elapsed{};
    do {
        operation(int(calls));
        ++calls;
        elapsed = Clock::now() - start;
    } while (elapsed.count() < 300000.0 || calls < 20);
    return elapsed.count() / double(calls);
}

struct Measured {
    const char* name;
    std::function<void(int)> operation;
};

std::vector<std::pair<const char*, double>> measure(const QString& file,
                                                    const QString& lastSection) {
    const QString key = QStringLiteral("MainPictureStatus");
    const std::vector<Measured> operations = {
        {"plain read of the bytes",
         [&](int) {
             QFile f(file);
             f.open(QIODevice::ReadOnly);
             f.readAll();
         }},
        {"LoadIniString Machine1",
         [&](int) { LoadIniString(QStringLiteral("Machine1"), key, file, false); }},
        {"LoadIniString last section", [&](int) { LoadIniString(lastSection, key, file, false); }},
        {"LoadIniInteger Machine1",
         [&](int) { LoadIniInteger(QStringLiteral("Machine1"), key, file, false); }},
        {"LoadIniInteger last section",
         [&](int) { LoadIniInteger(lastSection, key, file, false); }},
        // Alternating values, so that every call really rewrites the file.
        {"SaveIni Machine1",
         [&](int i) { SaveIni(qint16(i % 2 ? 19 : 20), QStringLiteral("Machine1"), key, file); }},
        {"SaveIni last section",
         [&](int i) { SaveIni(qint16(i % 2 ? 19 : 20), lastSection, key, file); }},
    };
    std::vector<std::pair<const char*, double>> times;
    for (const Measured& m : operations)
        times.emplace_back(m.name, timePerCall(m.operation));
    return times;
}

} // namespace

int main(int argc, char** argv) {
    platform::QtPlatform realPlatform(argc, argv);
    platform::install(&realPlatform);
    QTemporaryDir dir;
    const int sizes[] = {10, 10000};
    QString files[2];
    qint64 bytes[2];
    for (int i = 0; i < 2; ++i) {
        files[i] = dir.filePath(QStringLiteral("program%1.ini").arg(i));
        const QByteArray content = programIni(sizes[i]);
        QFile f(files[i]);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            return 1;
        bytes[i] = content.size();
    }
    const auto small = measure(files[0], QStringLiteral("Machine10"));
    const auto large = measure(files[1], QStringLiteral("Machine10000"));

    std::printf("small file %lld bytes (%d sections), large file %lld bytes (%d sections), "
                "size ratio %.0f\n\n",
                static_cast<long long>(bytes[0]), sizes[0], static_cast<long long>(bytes[1]),
                sizes[1], double(bytes[1]) / double(bytes[0]));
    std::printf("%-26s %12s %8s %12s %8s %10s\n", "operation", "small us/op", "x read",
                "large us/op", "x read", "large/small");
    for (std::size_t i = 0; i < small.size(); ++i) {
        const double s = small[i].second;
        const double l = large[i].second;
        std::printf("%-26s %12.2f %8.2f %12.2f %8.2f %10.1f\n", small[i].first, s,
                    s / small[0].second, l, l / large[0].second, l / s);
    }
    return 0;
}
