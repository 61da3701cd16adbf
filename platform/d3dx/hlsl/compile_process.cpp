// Runs the HLSL compiler in a child process with limits on wall-clock time, CPU time and memory,
// so that a compiler that crashes, never ends or runs away on a hostile file (a macro that
// expands without end) is a failed compile that says which limit it hit, and the harness lives
// on.
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/d3dx/hlsl/compiler.h"
#include "platform/d3dx/isolated_process.h"

namespace d3dx {
namespace {

// A compile takes milliseconds; these leave room for a loaded machine and nothing more.
constexpr IsolationLimits kCompileLimits{10000, 5, std::size_t{1} << 30};
IsolationLimits g_limits = kCompileLimits;
CompilerFault g_fault = CompilerFault::None;

CompileResult Failure(const CompileRequest& request, const std::string& why) {
    CompileResult r;
    r.errors = request.fileName + "(1,1): error: " + why + "\n";
    return r;
}

}  // namespace

void SetCompilerFaultForTests(CompilerFault fault) {
    g_fault = fault;
}
void SetCompileLimitsForTests(int wallMs, int cpuSeconds, std::size_t memoryBytes) {
    g_limits = IsolationLimits{wallMs, cpuSeconds, memoryBytes};
}
void ResetCompileLimitsForTests() {
    g_limits = kCompileLimits;
}

CompileResult CompileInChild(const CompileRequest& request) {
    WarmCompiler();
    const IsolatedResult run = RunIsolated(
        [&request] {
            if (g_fault == CompilerFault::Crash) raise(SIGSEGV);
            if (g_fault == CompilerFault::Hang) {
                for (;;) pause();
            }
            if (g_fault == CompilerFault::Allocate) {
                // Up to 4 GiB in 16 MiB pieces, each touched; a limit stops it long before.
                std::vector<std::unique_ptr<char[]>> pieces;
                for (int i = 0; i < 256; ++i) {
                    pieces.emplace_back(new char[std::size_t{16} << 20]);
                    std::memset(pieces.back().get(), 1, std::size_t{16} << 20);
                }
            }
            if (g_fault == CompilerFault::Spin) {
                volatile unsigned spins = 0;
                for (;;) spins = spins + 1;
            }
            const CompileResult r = CompileHlsl(request);
            std::string out(1, r.ok ? '1' : '0');
            const std::uint32_t words = static_cast<std::uint32_t>(r.code.size());
            out.append(reinterpret_cast<const char*>(&words), 4);
            out.append(reinterpret_cast<const char*>(r.code.data()), r.code.size() * 4);
            return out + r.errors;
        },
        g_limits);
    if (!run.ok) return Failure(request, "the compiler " + run.failure);
    CompileResult r;
    std::uint32_t words = 0;
    if (run.output.size() < 5) return Failure(request, "the compiler ended without a result");
    std::memcpy(&words, run.output.data() + 1, 4);
    if (run.output.size() < 5 + std::size_t{words} * 4)
        return Failure(request, "the compiler's result is cut short");
    r.ok = run.output[0] == '1';
    r.code.resize(words);
    // A failed compile has no code, and an empty vector's data() may be null.
    if (words) std::memcpy(r.code.data(), run.output.data() + 5, r.code.size() * 4);
    r.errors = run.output.substr(5 + std::size_t{words} * 4);
    return r;
}

}  // namespace d3dx
