// RunProgram: the whole program in a forked child on the recording platform. Kept apart from
// the rest of the recorder because it calls the program's WinMain.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/core/window_system.h"
#include "platform/record/program_run.h"

namespace record {

extern int g_resultFd;

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
        SetIdleHook(script.beforeIteration);
        platform::SetInputScript(script.events);
        std::string commandLine = script.commandLine;
        // As the process entry does: --watch's boxes answer themselves.
        platform::AnswerMessageBoxesWithOk(commandLine.find("--watch") != std::string::npos);
        const int code =
            WinMain(platform::ModuleHandle(), nullptr, commandLine.data(), SW_SHOWNORMAL);
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
        run.diagnostics =
            WIFSIGNALED(status)
                ? std::string("killed by signal ") + strsignal(WTERMSIG(status))
                : "exited with " + std::to_string(WEXITSTATUS(status)) + " without finishing";
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
