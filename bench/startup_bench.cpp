// Start-up cost of the whole program as a process, against yardsticks measured in the same
// run on the same machine, the runs of all of them taking turns:
// - the silent run (/EXTERNAL=SILENT, no display) from start to exit, against a program that
//   links the same Qt libraries, starts a core application and reads the same three files (the
//   yardstick of the targets), the smallest Qt Widgets program (application object on the
//   offscreen platform, then exit) and the smallest program that reads and rewrites one INI
//   line: CPU time, wall time and peak memory (rusage of the child from wait4, taken by a small
//   runner), the median of the runs;
// - the time from start to the window shown, for the program's dialog and for the smallest Qt
//   program showing an empty window of the same size, under a private Xvfb server: the moment
//   is the server's MapNotify for the first top-level window mapped (xdotool's --sync polls
//   only every half second, too coarse for this).
// The program runs from a copy in a temporary installation, as on a real machine.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int SilentRuns = 31;
constexpr int WindowRuns = 21;
using Clock = std::chrono::steady_clock;
using Strings = std::vector<std::string>;

// One run: wall time in ms (0 when the run failed) and peak resident memory in MB.
struct Sample {
    double ms = 0;
    double peakMb = 0;
    double cpuMs = 0;
};

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

Strings ownEnvironment() {
    Strings environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        environment.emplace_back(*entry);
    return environment;
}

// Our environment without a display or a chosen platform, plus the service log's place.
Strings childEnvironment(const QString& serviceLog, const std::string& display = {}) {
    Strings environment;
    for (const std::string& entry : ownEnvironment()) {
        const std::string name = entry.substr(0, entry.find('='));
        if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "QT_QPA_PLATFORM" &&
            name != "MAINPICTURE_SERVICE_LOG" && name != "DBUS_SESSION_BUS_ADDRESS")
            environment.push_back(entry);
    }
    environment.push_back("MAINPICTURE_SERVICE_LOG=" + serviceLog.toStdString());
    if (!display.empty())
        environment.push_back("DISPLAY=" + display);
    return environment;
}

// Starts command with environment; its output goes to /dev/null, or its standard output to
// outputFd when one is given. Returns the process id, or -1.
pid_t spawn(const Strings& command, const Strings& environment, int outputFd = -1) {
    std::vector<char*> argv, envp;
    for (const std::string& s : command)
        argv.push_back(const_cast<char*>(s.c_str()));
    for (const std::string& s : environment)
        envp.push_back(const_cast<char*>(s.c_str()));
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outputFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// A run from start to exit, timed and measured by the small runner; a run that does not start
// or exits with a status other than 0 gives ms 0.
Sample runToEnd(const Strings& command, const Strings& environment) {
    Strings runner = {RUN_MEASURED};
    runner.insert(runner.end(), command.begin(), command.end());
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t pid = spawn(runner, environment, fds[1]);
    close(fds[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n = 0; pid > 0 && (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, std::size_t(n));
    close(fds[0]);
    if (pid > 0)
        waitpid(pid, nullptr, 0);
    double ms = 0, cpuMs = 0;
    long peakKb = 0;
    int status = -1;
    if (std::sscanf(report.c_str(), "%lf %ld %d %lf", &ms, &peakKb, &status, &cpuMs) != 4 ||
        status != 0)
        return {};
    return {ms, double(peakKb) / 1024.0, cpuMs};
}

// A private X server and a connection that sees every top-level window being mapped, and a
// private session bus beside it, as a desktop has one: without a bus, the first use of the
// toolkit's accessibility waits for an attempt to start one, which a desktop never sees.
class WindowWatch {
public:
    WindowWatch() {
        startSessionBus();
        // The server writes its display number on its standard output once it is ready.
        int fds[2];
        if (pipe(fds) != 0)
            return;
        server_ =
            spawn({"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"},
                  ownEnvironment(), fds[1]);
        close(fds[1]);
        std::string number;
        char c = 0;
        while (server_ > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty())
            return;
        display_ = ":" + number;
        connection_ = xcb_connect(display_.c_str(), nullptr);
        if (xcb_connection_has_error(connection_))
            return;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
        ready_ = true;
    }
    ~WindowWatch() {
        if (bus_ > 0) {
            kill(bus_, SIGTERM);
            waitpid(bus_, nullptr, 0);
        }
        if (connection_ != nullptr)
            xcb_disconnect(connection_);
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
        }
    }

    bool ready() const { return ready_; }
    std::string display() const { return display_; }
    // The session bus's address, or empty text when none could be started.
    std::string busAddress() const { return busAddress_; }

    // Starts command, waits for its first top-level window to be mapped, then ends it. Its peak
    // memory is the kernel's record for the process, read just before it is ended.
    Sample timeToWindow(const Strings& command, const Strings& environment) {
        while (xcb_generic_event_t* stale = xcb_poll_for_event(connection_))
            free(stale);
        const auto start = Clock::now();
        const pid_t pid = spawn(command, environment);
        if (pid < 0)
            return {};
        double ms = 0;
        while (ms == 0 && msSince(start) < 20000) {
            xcb_generic_event_t* event = xcb_poll_for_event(connection_);
            if (event == nullptr) {
                pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
                poll(&fd, 1, 100);
                continue;
            }
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect)
                ms = msSince(start);
            free(event);
        }
        const double peakMb = peakMbOf(pid);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return {ms, peakMb};
    }

private:
    void startSessionBus() {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        bus_ = spawn({"dbus-daemon", "--session", "--nofork", "--print-address=1"},
                     ownEnvironment(), fds[1]);
        close(fds[1]);
        char c = 0;
        while (bus_ > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            busAddress_ += c;
        close(fds[0]);
    }

    static double peakMbOf(pid_t pid) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmHWM:", 0) == 0)
                return std::stod(line.substr(6)) / 1024.0;
        }
        return 0;
    }

    pid_t server_ = -1;
    pid_t bus_ = -1;
    std::string display_;
    std::string busAddress_;
    xcb_connection_t* connection_ = nullptr;
    bool ready_ = false;
};

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

std::string cpuModel() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.rfind("model name", 0) == 0)
            return line.substr(line.find(':') + 2);
    }
    return "unknown";
}

struct Row {
    const char* name;
    std::function<Sample()> run;
};

// The median of each row's runs, the rows taking turns; printed against the first row. A row
// with a failed run says so instead.
std::vector<Sample> measure(const std::vector<Row>& rows, int runs) {
    std::vector<std::vector<double>> ms(rows.size()), peakMb(rows.size()), cpuMs(rows.size());
    std::vector<bool> failed(rows.size(), false);
    for (int i = 0; i < runs; ++i) {
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const Sample sample = rows[r].run();
            failed[r] = failed[r] || sample.ms == 0;
            ms[r].push_back(sample.ms);
            peakMb[r].push_back(sample.peakMb);
            cpuMs[r].push_back(sample.cpuMs);
        }
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    std::vector<Sample> medians;
    for (std::size_t r = 0; r < rows.size(); ++r)
        medians.push_back({median(ms[r]), median(peakMb[r]), median(cpuMs[r])});
    std::printf("%-58s %7s %6s %8s %6s %8s %6s\n", "", "cpu ms", "x 1st", "wall ms", "x 1st",
                "peak MB", "x 1st");
    const Sample& first = medians[0];
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Sample& m = medians[r];
        // A window's run is ended from outside: its CPU time is not counted.
        const double cpuRatio = first.cpuMs > 0 ? m.cpuMs / first.cpuMs : 0;
        std::printf("%-58s %7.1f %6.2f %8.1f %6.2f %8.1f %6.2f%s\n", rows[r].name, m.cpuMs,
                    cpuRatio, m.ms, m.ms / first.ms, m.peakMb, m.peakMb / first.peakMb,
                    failed[r] ? "  (a run FAILED)" : "");
    }
    return medians;
}

const char* verdict(double ratio, double target) {
    return ratio <= target ? "met" : "MISSED";
}

} // namespace

int main() {
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("installation"));
    const QString programIni = root + QStringLiteral("/parameter/Program.ini");
    const QString cfg = root + QStringLiteral("/415_MainPicture/415_MainPicture.cfg");
    const QString executable = root + QStringLiteral("/415_MainPicture/") +
                               QFileInfo(QStringLiteral(MAINPICTURE_EXECUTABLE)).fileName();
    const QString languageFile = executable + QStringLiteral(".ini");
    const QString baselineIni = dir.filePath(QStringLiteral("baseline/Program.ini"));
    const QString serviceLog = dir.filePath(QStringLiteral("service.log"));
    const QByteArray status = "[Machine1]\r\nMainPictureStatus=19\r\n";
    if (!writeFile(programIni, status) || !writeFile(cfg, status) ||
        !writeFile(baselineIni, status) ||
        !QFile::copy(QStringLiteral(MAINPICTURE_EXECUTABLE), executable))
        return 1;
    const Strings environment = childEnvironment(serviceLog);
    const Strings silentRun = {executable.toStdString(), "/EXTERNAL=SILENT"};
    // A first run leaves the language file and the edit record behind, as on a machine in use.
    runToEnd(silentRun, environment);

    std::printf("CPU: %s, %ld cores online; median of %d runs each, the rows taking turns\n\n",
                cpuModel().c_str(), sysconf(_SC_NPROCESSORS_ONLN), SilentRuns);
    int rewrites = 0;
    const Strings yardstick = {CORE_BASELINE, programIni.toStdString(), languageFile.toStdString(),
                               cfg.toStdString()};
    const std::vector<Sample> silent = measure(
        {
            {"yardstick: core application reading the same three files",
             [&] { return runToEnd(yardstick, environment); }},
            {"silent run, installation as an earlier run left it",
             [&] { return runToEnd(silentRun, environment); }},
            // The language file is written entry by entry, and so is the edit record.
            {"silent run, first in a new installation (writes files)",
             [&] {
                 QFile::remove(languageFile);
                 writeFile(cfg, status);
                 return runToEnd(silentRun, environment);
             }},
            {"Qt baseline: QApplication on offscreen, return",
             [&] { return runToEnd({QT_BASELINE}, environment); }},
            {"INI baseline: read, rewrite one line, sync",
             [&] {
                 const std::string value = ++rewrites % 2 ? "19" : "20";
                 return runToEnd({INI_BASELINE, baselineIni.toStdString(), value}, environment);
             }},
        },
        SilentRuns);
    const double silentCpu = silent[1].cpuMs / silent[0].cpuMs;
    const double silentMemory = silent[1].peakMb / silent[0].peakMb;
    std::printf("settled silent run against the yardstick: CPU %.2f x (target <= 1.1: %s), peak "
                "memory %.2f x (target <= 1.1: %s)\n\n",
                silentCpu, verdict(silentCpu, 1.1), silentMemory, verdict(silentMemory, 1.1));

    WindowWatch watch;
    if (!watch.ready()) {
        std::printf("time to the window shown: skipped, no Xvfb server could be started\n");
        return 0;
    }
    Strings shownEnvironment = childEnvironment(serviceLog, watch.display());
    if (!watch.busAddress().empty())
        shownEnvironment.push_back("DBUS_SESSION_BUS_ADDRESS=" + watch.busAddress());
    std::printf("time to the window shown (Xvfb, first top-level MapNotify, %s), median of %d "
                "runs\n",
                watch.busAddress().empty() ? "no session bus" : "a private session bus",
                WindowRuns);
    const std::vector<Sample> shown = measure(
        {
            {"Qt baseline: empty 792 x 573 window",
             [&] {
                 return watch.timeToWindow({QT_BASELINE, "--show"}, shownEnvironment);
             }},
            {"program: standalone dialog",
             [&] { return watch.timeToWindow({executable.toStdString()}, shownEnvironment); }},
        },
        WindowRuns);
    const double shownTime = shown[1].ms / shown[0].ms;
    std::printf("window shown: time %.2f x the empty window (target <= 1.2: %s), peak memory "
                "%.2f x\n",
                shownTime, verdict(shownTime, 1.2), shown[1].peakMb / shown[0].peakMb);
    return 0;
}
