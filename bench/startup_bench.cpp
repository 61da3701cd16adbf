// Start-up time: from process start to the first presented frame, for the real program (through
// tessaline-snapshot, the same start-up and device) and for two baselines run in turn with it:
// a bare SDL and OpenGL program that opens the same window and presents one cleared frame, and a
// fair one that also does the driver work a Direct3D 9 frame needs (fair_first_frame.cpp). Each
// is timed on the clock and in CPU time up to the same moment (all the process's threads, as each
// program reads its own CPU clock at its stamp; a compile worker's would not count, and with the
// compile cache warm after the first run none is started), which a busy machine disturbs less.
//
//   startup_bench SNAPSHOT BARE FAIR ASSETS_DIR [RUNS]
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

struct Times {
    double wall = -1, cpu = -1;  // milliseconds
};

// From the spawn to the program's first-frame stamp, and its CPU time then; a negative wall time
// on failure.
Times Measure(std::vector<std::string> args) {
    Times times;
    int fds[2];
    if (pipe(fds) != 0) return times;
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
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return times;
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
    if (at == std::string::npos) return times;
    times.wall = static_cast<double>(std::atoll(out.c_str() + at + 15) - start) / 1e6;
    const std::size_t cpuAt = out.find("first-frame-cpu-ns ");
    if (cpuAt != std::string::npos)
        times.cpu = static_cast<double>(std::atoll(out.c_str() + cpuAt + 19)) / 1e6;
    return times;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: startup_bench SNAPSHOT BARE FAIR ASSETS_DIR [RUNS]\n");
        return 2;
    }
    const int runs = argc >= 6 ? std::atoi(argv[5]) : 9;
    setenv("SDL_VIDEODRIVER", getenv("SDL_VIDEODRIVER") ? getenv("SDL_VIDEODRIVER") : "offscreen",
           1);
    const char* driver = getenv("SDL_VIDEODRIVER");
    // tessaline, bare, fair: wall and CPU times of each run.
    std::vector<double> wall[3], cpu[3];
    for (int i = 0; i < runs; ++i) {
        const Times t[3] = {
            Measure({argv[1], "--dir", argv[4], "--iterations", "1", "--frame", "0", "--out",
                     "/dev/null", "--no-debug", "--stamp-first-frame", "--driver", driver}),
            Measure({argv[2]}), Measure({argv[3]})};
        for (int k = 0; k < 3; ++k) {
            if (t[k].wall < 0) {
                std::fprintf(stderr, "a run of %s failed\n", argv[k + 1]);
                return 1;
            }
            wall[k].push_back(t[k].wall);
            cpu[k].push_back(t[k].cpu);
        }
    }
    double w[3], c[3];
    for (int k = 0; k < 3; ++k) {
        w[k] = Median(wall[k]);
        c[k] = Median(cpu[k]);
    }
    std::printf("start-up to the first presented frame (median of %d, driver %s):\n", runs, driver);
    std::printf("  tessaline       %6.1f ms, CPU %6.1f ms\n", w[0], c[0]);
    std::printf("  bare SDL + GL   %6.1f ms, CPU %6.1f ms   ratio %.2f, CPU %.2f\n", w[1], c[1],
                w[0] / w[1], c[0] / c[1]);
    std::printf("  fair D3D9 frame %6.1f ms, CPU %6.1f ms   ratio %.2f, CPU %.2f\n", w[2], c[2],
                w[0] / w[2], c[0] / c[2]);
    return 0;
}
