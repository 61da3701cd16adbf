// Runs work that may crash, hang or run away on hostile input (the HLSL compiler, the
// third-party picture decoders) in a child process: a crash, a hang, a sanitizer's abort or an
// exhausted limit there is a failure reported here, and the harness lives on. The child dies
// with the harness, and runs under a wall-clock limit and, where asked, limits of its own on
// CPU time and memory.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>

namespace d3dx {

struct IsolationLimits {
    int wallMs = 10000;
    int cpuSeconds = 0;           // 0: only the wall clock bounds it
    std::size_t memoryBytes = 0;  // address space the work may add; 0: no limit of its own
};

struct IsolatedResult {
    bool ok = false;      // the child finished and handed back all of its output
    std::string output;   // what the work returned
    std::string failure;  // why not, for a diagnostic: "crashed (Segmentation fault)", ...
};

IsolatedResult RunIsolated(const std::function<std::string()>& work, const IsolationLimits& limits);
inline IsolatedResult RunIsolated(const std::function<std::string()>& work, int timeLimitMs) {
    return RunIsolated(work, IsolationLimits{timeLimitMs, 0, 0});
}

// False in sanitizer builds, whose shadow memory leaves no room for a limit on address space.
bool MemoryLimitEnforced();

// In a child (forked, or a helper program we started): it dies with `parent` (also when the
// parent died before this), and takes on the limits on CPU time and memory.
void BindToParent(pid_t parent, const IsolationLimits& limits);
// Why a child that ended with `status` (waitpid's) failed, for a diagnostic: "crashed
// (Segmentation fault)", "used more than its limit of 5 s of CPU time and was stopped", ...;
// "ended without a whole result" for a child that exited by itself.
std::string ChildFailure(int status, bool timedOut, const IsolationLimits& limits);

// Work that readies things ahead of their first use (the compiler's tables, the fonts) on a
// thread of its own; RunIsolated waits for it, as no other thread may be inside such code while
// the process forks.
void StartBackgroundWork(std::function<void()> work);
void FinishBackgroundWork();

}  // namespace d3dx
