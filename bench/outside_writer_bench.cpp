// What remains unsafe: another program that rewrites Program.ini in place (truncates it and
// writes it anew, without a lock and without a rename) while the program stores. Runs the
// silent program against such a writer and counts the runs in which a file ended with
// sections missing (a store made from a half-written file) and the runs whose store was lost
// (overwritten by the writer's stale copy). Prints its figures; it asserts nothing.

#include "ini/IniEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int Sections = 200;

QByteArray programIni(int status, int counter) {
    QByteArray content = "[Machine1]\r\nMainPictureStatus=" + QByteArray::number(status) + "\r\n";
    for (int i = 2; i <= Sections; ++i)
        content += "[Machine" + QByteArray::number(i) + "]\r\nMachineName=Packer " +
                   QByteArray::number(i) + "\r\nCounter=" + QByteArray::number(counter) + "\r\n";
    return content;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Truncates and writes in place, as a careless program does.
void writeInPlace(const QString& path, const QByteArray& bytes) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_TRUNC | O_CREAT, 0644);
    if (fd < 0)
        return;
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (put <= 0)
            break;
        done += put;
    }
    ::close(fd);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 300;
    QTemporaryDir root;
    const QString programFolder = root.filePath(QStringLiteral("415_MainPicture"));
    QDir().mkpath(programFolder);
    QDir().mkpath(root.filePath(QStringLiteral("parameter")));
    const QString executable = programFolder + QStringLiteral("/415_MainPicture_Config");
    QFile::copy(QStringLiteral(MAINPICTURE_EXECUTABLE), executable);
    QFile cfg(programFolder + QStringLiteral("/415_MainPicture.cfg"));
    cfg.open(QIODevice::WriteOnly);
    cfg.write("[Project]\r\n");
    cfg.close();
    const QString ini = root.filePath(QStringLiteral("parameter/Program.ini"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MAINPICTURE_SERVICE_LOG"), root.filePath("service.log"));

    int wiped = 0, storeLost = 0, refused = 0;
    for (int run = 0; run < runs; ++run) {
        writeInPlace(ini, programIni(-5, 0));
        std::atomic<bool> running{true};
        // The writer changes its own entries and keeps whatever else it read.
        std::thread writer([&] {
            for (int counter = 1; running; ++counter) {
                QByteArray bytes = readAll(ini);
                for (int i = 2; i <= Sections; ++i)
                    bytes = ini::withEntry(bytes, "Machine" + QByteArray::number(i), "Counter",
                                           QByteArray::number(counter));
                writeInPlace(ini, bytes);
            }
        });
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(executable, {QStringLiteral("/EXTERNAL=SILENT")});
        process.waitForFinished(60000);
        running = false;
        writer.join();
        const QByteArray after = readAll(ini);
        const bool complete = after.count("MachineName=") == Sections - 1;
        wiped += complete ? 0 : 1;
        refused += process.exitCode() == 4 ? 1 : 0;
        if (complete && process.exitCode() == 0 && !after.contains("MainPictureStatus=0\r\n"))
            ++storeLost;
    }
    std::printf("%d silent runs against a writer that rewrites Program.ini in place:\n"
                "  %d ended with sections missing from the file\n"
                "  %d stores reported as made were overwritten by the writer's stale copy\n"
                "  %d runs reported that they could not store (status 4)\n",
                runs, wiped, storeLost, refused);
    return 0;
}
