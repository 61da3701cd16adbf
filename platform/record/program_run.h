// Runs the whole program on the recording platform in a child process, so that every run starts
// from fresh process-wide state, and hands back its exit code and its log.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/core/window_system.h"
#include "platform/record/call_log.h"
#include "platform/record/record_platform.h"

namespace record {

enum class RunStatus { Returned, IterationLimit, Crashed };

struct Script {
    std::vector<platform::ScriptEvent> events;
    Options options;
    std::string workDir;      // the program's current directory; empty: the test's own
    std::string commandLine;  // WinMain's; empty, as without options
    // Runs in the program's process when the queue runs empty before idle iteration N (0 = the
    // first), after that iteration's scripted input: a test changes files between iterations.
    std::function<void(std::uint64_t iteration)> beforeIteration;

    Script& Message(std::uint64_t iteration, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    Script& KeyDown(std::uint64_t iteration, WPARAM key);
    Script& KeyUp(std::uint64_t iteration, WPARAM key);
    // Down and up in the same drain, before the iteration runs.
    Script& Tap(std::uint64_t iteration, WPARAM key);
    Script& MouseMotion(std::uint64_t iteration, LONG dx, LONG dy, LONG dz = 0);
    Script& Close(std::uint64_t iteration);
};

struct ProgramRun {
    RunStatus status = RunStatus::Crashed;
    int exitCode = -1;
    std::vector<Call> calls;
    std::string diagnostics;  // what went wrong when the run did not return
};

ProgramRun RunProgram(const Script& script);

// In the child: sends the log to the parent and ends the process.
[[noreturn]] void FinishRun(RunStatus status, int exitCode);

}  // namespace record
