#include "platform/d3dx/isolated_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <thread>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
#define TESS_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TESS_SANITIZED 1
#endif

namespace d3dx {
namespace {

std::thread g_background;

// How a child that ran out of its memory says so: a status of its own, as it can no longer be
// trusted to write an answer.
constexpr int kOutOfMemoryStatus = 99;

[[maybe_unused]] void OutOfMemory() {
    _exit(kOutOfMemoryStatus);
}

// The child's address space now: what it inherited from the harness (driver mappings, thread
// stacks), on top of which the work gets its own allowance.
[[maybe_unused]] std::size_t AddressSpaceInUse() {
    std::size_t pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%zu", &pages) != 1) pages = 0;
        std::fclose(f);
    }
    return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace

void BindToParent(pid_t parent, const IsolationLimits& limits) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(1);
    if (limits.cpuSeconds > 0) {
        signal(SIGXCPU, SIG_DFL);
        const rlimit cpu{static_cast<rlim_t>(limits.cpuSeconds),
                         static_cast<rlim_t>(limits.cpuSeconds) + 1};
        setrlimit(RLIMIT_CPU, &cpu);
    }
#ifndef TESS_SANITIZED  // the sanitizers reserve terabytes of address space for their shadow
    if (limits.memoryBytes > 0) {
        const auto bytes = static_cast<rlim_t>(AddressSpaceInUse() + limits.memoryBytes);
        const rlimit memory{bytes, bytes};
        setrlimit(RLIMIT_AS, &memory);
        std::set_new_handler(OutOfMemory);
    }
#endif
}

namespace {

std::string Seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", s);
    return text;
}

void WriteAll(int fd, const void* data, std::size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size) {
        const ssize_t n = write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
}

}  // namespace

std::string ChildFailure(int status, bool timedOut, const IsolationLimits& limits) {
    if (timedOut) {
        return "did not finish within its time limit of " + Seconds(limits.wallMs / 1000.0) +
               " s and was stopped";
    }
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU) {
        return "used more than its limit of " + Seconds(limits.cpuSeconds) +
               " s of CPU time and was stopped";
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kOutOfMemoryStatus) {
        return "ran out of its memory limit of " +
               Seconds(static_cast<double>(limits.memoryBytes >> 20)) + " MiB and was stopped";
    }
    if (WIFSIGNALED(status)) return std::string("crashed (") + strsignal(WTERMSIG(status)) + ")";
    return "ended without a whole result";
}

bool MemoryLimitEnforced() {
#ifdef TESS_SANITIZED
    return false;
#else
    return true;
#endif
}

void StartBackgroundWork(std::function<void()> work) {
    if (g_background.joinable()) return;
    g_background = std::thread(std::move(work));
}

void FinishBackgroundWork() {
    if (g_background.joinable()) g_background.join();
}

IsolatedResult RunIsolated(const std::function<std::string()>& work,
                           const IsolationLimits& limits) {
    IsolatedResult result;
    FinishBackgroundWork();
    const int timeLimitMs = limits.wallMs;
    const pid_t parent = getpid();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        result.failure = "cannot start a child process";
        return result;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        result.failure = "cannot start a child process";
        return result;
    }
    if (pid == 0) {
        close(fds[0]);
        BindToParent(parent, limits);
        const std::string output = work();
        // The length first, so that the parent can tell a whole answer from a cut one.
        const std::uint64_t length = output.size();
        WriteAll(fds[1], &length, sizeof length);
        WriteAll(fds[1], output.data(), output.size());
        close(fds[1]);
        _exit(0);
    }
    close(fds[1]);
    std::string data;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeLimitMs);
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            timedOut = true;
            break;
        }
        char buf[65536];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        data.append(buf, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    if (timedOut) kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    std::uint64_t length = 0;
    if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) == kOutOfMemoryStatus) {
        result.failure = ChildFailure(status, timedOut, limits);
    } else if (data.size() < sizeof length || (std::memcpy(&length, data.data(), sizeof length),
                                               data.size() - sizeof length != length)) {
        result.failure = "ended without a whole result";
    } else {
        result.ok = true;
        result.output = data.substr(sizeof length);
    }
    return result;
}

}  // namespace d3dx
