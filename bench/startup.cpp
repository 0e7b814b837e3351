// amber-startup: how long the real game takes from process start to its first
// frame on screen, and how much memory it holds once it is running. Needs an
// X display (the bench script starts Xvfb) and runs in the build folder.
//
// usage: amber-startup GAME PRESENT_SHIM RUNS SETTLE_SECONDS
// Each run forks, notes the monotonic clock just before exec, and waits for
// PRESENT_SHIM (preloaded into the game) to report the clock at the game's
// first SDL_RenderPresent. A last run lets the game play SETTLE_SECONDS and
// samples its resident memory every second.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kPresentTimeoutMillis = 10000;

struct Launch {
    pid_t pid = -1;
    int presentPipe = -1;
    long long startNanos = 0;
};

long long monotonicNanos() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

Launch launchGame(const char* game, const char* shim) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    Launch launch;
    launch.startNanos = monotonicNanos();
    launch.pid = fork();
    if (launch.pid == 0) {
        close(fds[0]);
        setenv("AMBER_FIRST_PRESENT_FD", std::to_string(fds[1]).c_str(), 1);
        setenv("LD_PRELOAD", shim, 1);
        execl(game, game, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    launch.presentPipe = fds[0];
    return launch;
}

// Milliseconds from the launch to the first present; negative when none came.
double waitForFirstPresent(const Launch& launch) {
    pollfd watch{launch.presentPipe, POLLIN, 0};
    if (poll(&watch, 1, kPresentTimeoutMillis) != 1) return -1;
    char line[32] = {};
    if (read(launch.presentPipe, line, sizeof line - 1) <= 0) return -1;
    return static_cast<double>(std::atoll(line) - launch.startNanos) / 1e6;
}

void stopGame(Launch& launch) {
    kill(launch.pid, SIGTERM);
    waitpid(launch.pid, nullptr, 0);
    close(launch.presentPipe);
}

// A "VmRSS:" style line of /proc/PID/status, in megabytes.
double statusMegabytes(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string name;
    long kilobytes = 0;
    std::string unit;
    while (status >> name) {
        if (name == field + ":") {
            status >> kilobytes;
            return static_cast<double>(kilobytes) / 1024.0;
        }
        std::getline(status, unit);
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: amber-startup GAME PRESENT_SHIM RUNS SETTLE_SECONDS\n");
        return 2;
    }
    const char* game = argv[1];
    const char* shim = argv[2];
    const int runs = std::max(1, std::atoi(argv[3]));
    const int settleSeconds = std::max(1, std::atoi(argv[4]));

    std::vector<double> millis;
    for (int i = 0; i < runs; ++i) {
        Launch launch = launchGame(game, shim);
        const double ms = waitForFirstPresent(launch);
        stopGame(launch);
        if (ms < 0) {
            std::fprintf(stderr, "amber-startup: run %d: no present within %d ms\n", i + 1, kPresentTimeoutMillis);
            return 1;
        }
        millis.push_back(ms);
        std::printf("start-up run %2d: %.1f ms to the first present\n", i + 1, ms);
    }
    std::sort(millis.begin(), millis.end());
    std::printf("start-up: min %.1f ms, median %.1f ms, max %.1f ms over %d runs\n", millis.front(),
                millis[millis.size() / 2], millis.back(), runs);

    Launch launch = launchGame(game, shim);
    if (waitForFirstPresent(launch) < 0) return 1;
    for (int second = 1; second <= settleSeconds; ++second) {
        sleep(1);
        std::printf("memory after %d s: resident %.1f MB\n", second, statusMegabytes(launch.pid, "VmRSS"));
    }
    std::printf("memory: resident %.1f MB, peak resident %.1f MB\n", statusMegabytes(launch.pid, "VmRSS"),
                statusMegabytes(launch.pid, "VmHWM"));
    stopGame(launch);
    return 0;
}
