// Runs the HLSL compiler in a child process with a time limit. The child writes its result to a
// pipe; the parent reads it while waiting, so that a compiler that crashes or never ends on a
// hostile file is a failed compile, and the harness lives on.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/d3dx/font_raster.h"
#include "platform/d3dx/hlsl_compiler.h"

namespace d3dx {
namespace {

int g_timeLimitMs = 10000;
std::thread g_warmUp;
CompilerFault g_fault = CompilerFault::None;

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

[[noreturn]] void ChildMain(int fd, const CompileRequest& request) {
    if (g_fault == CompilerFault::Crash) raise(SIGSEGV);
    if (g_fault == CompilerFault::Hang) {
        for (;;) pause();
    }
    const CompileResult r = CompileHlsl(request);
    const std::uint32_t header[3] = {r.ok ? 1u : 0u, static_cast<std::uint32_t>(r.code.size()),
                                     static_cast<std::uint32_t>(r.errors.size())};
    WriteAll(fd, header, sizeof header);
    WriteAll(fd, r.code.data(), r.code.size() * 4);
    WriteAll(fd, r.errors.data(), r.errors.size());
    close(fd);
    _exit(0);
}

CompileResult Failure(const CompileRequest& request, const std::string& why) {
    CompileResult r;
    r.errors = request.fileName + "(1,1): error: " + why + "\n";
    return r;
}

}  // namespace

void StartWarmUp() {
    if (g_warmUp.joinable()) return;
    g_warmUp = std::thread([] {
        WarmCompiler();
        WarmFonts();
    });
}

void SetCompilerFaultForTests(CompilerFault fault) { g_fault = fault; }
void SetCompileTimeLimitForTests(int milliseconds) { g_timeLimitMs = milliseconds; }

CompileResult CompileInChild(const CompileRequest& request) {
    // No other thread may be inside the compiler while the process forks.
    if (g_warmUp.joinable()) g_warmUp.join();
    WarmCompiler();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return Failure(request, "cannot start the compiler");
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return Failure(request, "cannot start the compiler");
    }
    if (pid == 0) {
        close(fds[0]);
        ChildMain(fds[1], request);
    }
    close(fds[1]);
    std::string data;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(g_timeLimitMs);
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
    if (timedOut) {
        return Failure(request, "the compiler did not finish within " +
                                    std::to_string(g_timeLimitMs / 1000.0).substr(0, 4) + " s");
    }
    if (WIFSIGNALED(status)) {
        return Failure(request, std::string("the compiler crashed (") + strsignal(WTERMSIG(status)) + ")");
    }
    std::uint32_t header[3];
    if (data.size() < sizeof header) return Failure(request, "the compiler ended without a result");
    std::memcpy(header, data.data(), sizeof header);
    if (data.size() != sizeof header + std::size_t{header[1]} * 4 + header[2]) {
        return Failure(request, "the compiler's result is incomplete");
    }
    CompileResult r;
    r.ok = header[0] == 1;
    r.code.resize(header[1]);
    std::memcpy(r.code.data(), data.data() + sizeof header, r.code.size() * 4);
    r.errors = data.substr(sizeof header + r.code.size() * 4);
    return r;
}

}  // namespace d3dx
