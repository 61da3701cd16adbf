// Termination signals turned into a close request, with a forced end as the backstop. The handler
// only sets a flag and writes the signal's number to a pipe; a thread of its own reads the pipe,
// wakes the event loop, ends a message box that SDL shows from a child process, and ends
// everything once the grace period is over. Child processes inherit the handler: in them it
// restores the default action, so a forked child still dies of the signal.
#include "platform/sdl/termination.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace sdl {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

pid_t g_mainPid = 0;
int g_pipe[2] = {-1, -1};
std::atomic<bool> g_requested{false};
std::atomic<bool> g_taken{false};
std::atomic<bool> g_foreignBox{false};
std::atomic<Uint32> g_wakeEvent{0};
static_assert(std::atomic<bool>::is_always_lock_free, "the handler needs a lock-free flag");

void OnSignal(int signal) {
    if (getpid() != g_mainPid) {
        // A forked child (a compile, SDL's message box): it ends as it would without us.
        std::signal(signal, SIG_DFL);
        raise(signal);
        return;
    }
    const int savedErrno = errno;
    g_requested.store(true);
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

void Say(const std::string& line) {
    // Not stdio: the main thread may hold its lock.
    [[maybe_unused]] const ssize_t n = write(STDERR_FILENO, line.data(), line.size());
}

void Wake() {
    // SDL's box shows from a child process that the main thread waits for: ending the child ends
    // the box, and the platform then treats it as closed.
    if (g_foreignBox.load()) SignalChildProcesses(SIGKILL);
    if (const Uint32 type = g_wakeEvent.load()) {
        SDL_Event event{};
        event.type = type;
        SDL_PushEvent(&event);
    }
}

[[noreturn]] void EndNow(int signal) {
    Say("tessaline: ended by signal " + std::to_string(signal) + "\n");
    SignalChildProcesses(SIGKILL);
    std::signal(signal, SIG_DFL);
    raise(signal);
    _exit(128 + signal);
}

void Watch() {
    using Clock = std::chrono::steady_clock;
    int first = 0;
    Clock::time_point deadline{};
    for (;;) {
        int timeout = -1;
        if (first) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            timeout = static_cast<int>(std::max<long long>(0, left.count()));
        }
        pollfd fd{g_pipe[0], POLLIN, 0};
        const int ready = poll(&fd, 1, timeout);
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0 && first) EndNow(first);
        unsigned char byte = 0;
        if (ready > 0 && read(g_pipe[0], &byte, 1) == 1) {
            if (first) EndNow(byte);  // asked twice: no more waiting
            first = byte;
            deadline = Clock::now() + std::chrono::milliseconds(kTerminationGraceMs);
            Wake();
        }
    }
}

}  // namespace

void InstallTerminationHandling() {
    if (g_mainPid) return;
    g_mainPid = getpid();
    if (pipe2(g_pipe, O_CLOEXEC) != 0) return;
    fcntl(g_pipe[1], F_SETFL, O_NONBLOCK);
    for (int signal : kSignals) {
        struct sigaction old {};
        sigaction(signal, nullptr, &old);
        if (old.sa_handler == SIG_IGN) continue;  // nohup, or a background job's SIGINT
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(signal, &action, nullptr);
    }
    std::thread(Watch).detach();
}

void SetTerminationWakeEvent(Uint32 type) {
    g_wakeEvent.store(type);
    // A signal that came before the queue ran still wakes it.
    if (g_requested.load()) Wake();
}

Uint32 TerminationWakeEvent() {
    return g_wakeEvent.load();
}

bool TerminationRequested() {
    return g_requested.load();
}

bool TakeTerminationRequest() {
    return g_requested.load() && !g_taken.exchange(true);
}

void SetForeignBoxShowing(bool showing) {
    g_foreignBox.store(showing);
}

void SignalChildProcesses(int signal) {
    const pid_t self = getpid();
    DIR* proc = opendir("/proc");
    if (!proc) return;
    while (const dirent* entry = readdir(proc)) {
        const pid_t pid = static_cast<pid_t>(std::strtol(entry->d_name, nullptr, 10));
        if (pid <= 0) continue;
        char path[64];
        std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
        const int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        char stat[512];
        const ssize_t n = read(fd, stat, sizeof stat - 1);
        close(fd);
        if (n <= 0) continue;
        stat[n] = 0;
        // "pid (name) state ppid ...": the name may hold spaces and parentheses.
        const char* afterName = std::strrchr(stat, ')');
        char state = 0;
        int parent = 0;
        if (afterName && std::sscanf(afterName + 1, " %c %d", &state, &parent) == 2 &&
            parent == self) {
            kill(pid, signal);
        }
    }
    closedir(proc);
}

}  // namespace sdl
