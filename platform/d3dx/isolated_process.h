// Runs work that may crash or hang on hostile input (the HLSL compiler, the third-party picture
// decoders) in a child process with a time limit: a crash, a hang or a sanitizer's abort there
// is a failure reported here, and the harness lives on.
#pragma once

#include <functional>
#include <string>

namespace d3dx {

struct IsolatedResult {
    bool ok = false;      // the child finished and handed back all of its output
    std::string output;   // what the work returned
    std::string failure;  // why not, for a diagnostic: "crashed (Segmentation fault)", ...
};

IsolatedResult RunIsolated(const std::function<std::string()>& work, int timeLimitMs);

// Work that readies things ahead of their first use (the compiler's tables, the fonts) on a
// thread of its own; RunIsolated waits for it, as no other thread may be inside such code while
// the process forks.
void StartBackgroundWork(std::function<void()> work);
void FinishBackgroundWork();

}  // namespace d3dx
