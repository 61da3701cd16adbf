// Start-up time: from process start to the first presented frame, for the real program (through
// tessaline-snapshot, the same start-up and device) and for a bare SDL and OpenGL program that
// opens the same window and presents one cleared frame, run alternately in the same run.
//
//   startup_bench SNAPSHOT BARE ASSETS_DIR [RUNS]
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

long long Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// Milliseconds from the spawn to the program's first-frame stamp; negative on failure.
double Measure(std::vector<std::string> args) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 0, 0);
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    const long long start = Now();
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return -1;
    close(fds[1]);
    std::string out;
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    const std::size_t at = out.find("first-frame-ns ");
    if (at == std::string::npos) return -1;
    return static_cast<double>(std::atoll(out.c_str() + at + 15) - start) / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_bench SNAPSHOT BARE ASSETS_DIR [RUNS]\n");
        return 2;
    }
    const int runs = argc >= 5 ? std::atoi(argv[4]) : 9;
    setenv("SDL_VIDEODRIVER", getenv("SDL_VIDEODRIVER") ? getenv("SDL_VIDEODRIVER") : "offscreen",
           1);
    std::vector<double> ours, bare;
    for (int i = 0; i < runs; ++i) {
        const double a =
            Measure({argv[1], "--dir", argv[3], "--iterations", "1", "--frame", "0", "--out",
                     "/dev/null", "--stamp-first-frame", "--driver", getenv("SDL_VIDEODRIVER")});
        const double b = Measure({argv[2]});
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "a run failed\n");
            return 1;
        }
        ours.push_back(a);
        bare.push_back(b);
    }
    const double a = Median(ours), b = Median(bare);
    std::printf(
        "start-up to the first presented frame (median of %d, driver %s): tessaline %.1f ms, "
        "bare SDL + OpenGL %.1f ms, ratio %.2f\n",
        runs, getenv("SDL_VIDEODRIVER"), a, b, a / b);
    return 0;
}
