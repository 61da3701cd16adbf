#include "platform/d3dx/isolated_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>

#include <thread>

namespace d3dx {
namespace {

std::thread g_background;

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

void StartBackgroundWork(std::function<void()> work) {
    if (g_background.joinable()) return;
    g_background = std::thread(std::move(work));
}

void FinishBackgroundWork() {
    if (g_background.joinable()) g_background.join();
}

IsolatedResult RunIsolated(const std::function<std::string()>& work, int timeLimitMs) {
    IsolatedResult result;
    FinishBackgroundWork();
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
    if (timedOut) {
        result.failure =
            "did not finish within " + std::to_string(timeLimitMs / 1000.0).substr(0, 4) + " s";
    } else if (WIFSIGNALED(status)) {
        result.failure = std::string("crashed (") + strsignal(WTERMSIG(status)) + ")";
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
