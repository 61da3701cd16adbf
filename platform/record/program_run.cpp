#include "platform/record/program_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace record {
namespace {

int g_resultFd = -1;

bool WriteAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

LPARAM KeyLParam(bool up) {
    // Repeat count 1; key-ups carry the previous-state and transition bits.
    return 1 | (up ? (KF_REPEAT_BIT | KF_UP_BIT) : 0);
}

}  // namespace

Script& Script::Message(std::uint64_t iteration, UINT message, WPARAM wParam, LPARAM lParam) {
    platform::ScriptEvent e;
    e.iteration = iteration;
    e.message = message;
    e.wParam = wParam;
    e.lParam = lParam;
    events.push_back(e);
    return *this;
}

Script& Script::KeyDown(std::uint64_t iteration, WPARAM key) {
    return Message(iteration, WM_KEYDOWN, key, KeyLParam(false));
}

Script& Script::KeyUp(std::uint64_t iteration, WPARAM key) {
    return Message(iteration, WM_KEYUP, key, KeyLParam(true));
}

Script& Script::Tap(std::uint64_t iteration, WPARAM key) {
    return KeyDown(iteration, key).KeyUp(iteration, key);
}

Script& Script::MouseMotion(std::uint64_t iteration, LONG dx, LONG dy, LONG dz) {
    platform::ScriptEvent e;
    e.iteration = iteration;
    e.kind = platform::ScriptEvent::Kind::MouseMotion;
    e.dx = dx;
    e.dy = dy;
    e.dz = dz;
    events.push_back(e);
    return *this;
}

Script& Script::Close(std::uint64_t iteration) { return Message(iteration, WM_CLOSE); }

void FinishRun(RunStatus status, int exitCode) {
    std::string out = std::to_string(static_cast<int>(status)) + " " + std::to_string(exitCode) +
                      "\n" + Serialize(Log().Calls());
    WriteAll(g_resultFd, out);
    close(g_resultFd);
    std::fflush(nullptr);
    _exit(0);
}

ProgramRun RunProgram(const Script& script) {
    ProgramRun run;
    int fds[2];
    if (pipe(fds) != 0) {
        run.diagnostics = "pipe failed";
        return run;
    }
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        run.diagnostics = "fork failed";
        return run;
    }
    if (pid == 0) {
        close(fds[0]);
        g_resultFd = fds[1];
        if (!script.workDir.empty() && chdir(script.workDir.c_str()) != 0) {
            std::fprintf(stderr, "RECORD: cannot enter %s\n", script.workDir.c_str());
            _exit(2);
        }
        InstallRecordingPlatform(script.options);
        platform::SetInputScript(script.events);
        char commandLine[] = "";
        const int code = WinMain(platform::ModuleHandle(), nullptr, commandLine, SW_SHOWNORMAL);
        FinishRun(RunStatus::Returned, code);
    }
    close(fds[1]);
    std::string data;
    char buf[65536];
    for (;;) {
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        data.append(buf, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const std::size_t newline = data.find('\n');
    if (newline == std::string::npos) {
        run.status = RunStatus::Crashed;
        run.diagnostics = WIFSIGNALED(status)
                              ? std::string("killed by signal ") + strsignal(WTERMSIG(status))
                              : "exited with " + std::to_string(WEXITSTATUS(status)) +
                                    " without finishing";
        return run;
    }
    int st = 0, code = 0;
    std::sscanf(data.c_str(), "%d %d", &st, &code);
    run.status = static_cast<RunStatus>(st);
    run.exitCode = code;
    run.calls = Deserialize(std::string_view(data).substr(newline + 1));
    if (run.status == RunStatus::IterationLimit) run.diagnostics = "idle iteration limit reached";
    return run;
}

}  // namespace record
