// Runs a command as its child, its output discarded, and prints the child's wall time in
// milliseconds, its peak resident memory in kilobytes, its exit status and its CPU time (user
// and system) in milliseconds. startup_bench starts the programs it
// compares through this: the kernel counts into a child's peak memory the memory of the process
// that started it, as it stood at the exec, and this runner is small where the benchmark is not.

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
double nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    const double start = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return 1;
    const auto ms = [](const timeval& t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    std::printf("%.3f %ld %d %.3f\n", nowMs() - start, usage.ru_maxrss,
                WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                ms(usage.ru_utime) + ms(usage.ru_stime));
    return 0;
}
