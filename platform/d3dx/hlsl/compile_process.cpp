// Runs the HLSL compiler in the compile worker (tessaline-compile-worker, compile_worker.cpp), a
// fresh process for each compile with limits on wall-clock time, CPU time and memory, so that a
// compiler that crashes, never ends or runs away on a hostile file (a macro that expands
// without end) is a failed compile that says which limit it hit, and the harness lives on. The
// worker asks for each #include; the answer comes from `open`, in this process, where the
// caller's ID3DXInclude lives.
//
// A fresh worker spends most of a compile building glslang's tables, so two workers are kept
// started ahead of need (with --warm, building them while they wait): each compile takes one
// that was started with the same limits, and once the compile is over starts the next. Two, as
// --watch follows a shader's compile with its preprocessing. A program whose compiles all come
// from the cache starts none.
//
// The worker is found, in this order: beside the running program (a program run from its build
// folder, where the worker is built too); in libexec/tessaline under the prefix the program is
// installed in (from its bin folder, TESS_BIN_TO_WORKER); and, for the tests and benchmarks that
// run from folders of the build folder, the build folder's worker (TESS_BUILT_WORKER).
#include <unistd.h>

#include <climits>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/d3dx/hlsl/compile_protocol.h"
#include "platform/d3dx/worker_process.h"

namespace d3dx {
namespace {

// A compile takes milliseconds; these leave room for a loaded machine and nothing more.
constexpr IsolationLimits kCompileLimits{10000, 5, std::size_t{1} << 30};
// A worker readies itself (builds glslang's tables from our own shaders) within this, whatever
// the request's limit: that work is the same for every request.
constexpr int kReadyMs = 10000;
IsolationLimits g_limits = kCompileLimits;
CompilerFault g_fault = CompilerFault::None;

constexpr const char* kWorkerName = "tessaline-compile-worker";

CompileResult Failure(const CompileRequest& request, const std::string& why) {
    CompileResult r;
    r.errors = request.fileName + "(1,1): error: " + why + "\n";
    return r;
}

constexpr std::size_t kSpares = 2;

struct Spare {
    std::unique_ptr<WorkerProcess> worker;
    std::vector<std::string> args;
    IsolationLimits limits;
};
std::mutex g_spareMutex;
std::vector<Spare> g_spares;

bool SameLimits(const IsolationLimits& a, const IsolationLimits& b) {
    return a.wallMs == b.wallMs && a.cpuSeconds == b.cpuSeconds && a.memoryBytes == b.memoryBytes;
}

// A worker started ahead for these arguments and limits, if one is still there. Those started
// for others are stopped: the tests change them, a program never does.
std::unique_ptr<WorkerProcess> TakeSpare(const std::vector<std::string>& args,
                                         const IsolationLimits& limits) {
    std::lock_guard<std::mutex> lock(g_spareMutex);
    std::unique_ptr<WorkerProcess> taken;
    std::vector<Spare> kept;
    for (Spare& s : g_spares) {
        const bool fits = s.args == args && SameLimits(s.limits, limits);
        if (!fits || !s.worker->Ours() || s.worker->Ended()) continue;
        if (!taken) {
            taken = std::move(s.worker);
        } else {
            kept.push_back(std::move(s));
        }
    }
    g_spares = std::move(kept);
    return taken;
}

void StartSpares(const std::string& program, const std::vector<std::string>& args,
                 const IsolationLimits& limits) {
    std::lock_guard<std::mutex> lock(g_spareMutex);
    std::vector<std::string> warmArgs = args;
    warmArgs.push_back("--warm");
    while (g_spares.size() < kSpares) {
        auto worker = std::make_unique<WorkerProcess>();
        std::string error;
        if (!worker->Start(program, warmArgs, limits, error)) return;
        g_spares.push_back({std::move(worker), args, limits});
    }
}

const char* FaultName(CompilerFault fault) {
    switch (fault) {
        case CompilerFault::Crash:
            return "crash";
        case CompilerFault::Hang:
            return "hang";
        case CompilerFault::Spin:
            return "spin";
        case CompilerFault::Allocate:
            return "allocate";
        case CompilerFault::Garbage:
            return "garbage";
        case CompilerFault::None:
            break;
    }
    return "";
}

std::string FindWorker() {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder;
    if (length > 0) {
        folder.assign(self, static_cast<std::size_t>(length));
        folder.erase(folder.rfind('/') + 1);
    }
    std::vector<std::string> candidates;
    if (!folder.empty()) {
        candidates.push_back(folder + kWorkerName);
        candidates.push_back(folder + TESS_BIN_TO_WORKER + "/" + kWorkerName);
    }
    // Only a program inside the build folder takes the build folder's worker: an installed one
    // must find its own.
    const std::string build = TESS_BUILD_DIR "/";
    if (folder.rfind(build, 0) == 0) candidates.push_back(TESS_BUILT_WORKER);
    for (const std::string& c : candidates) {
        if (access(c.c_str(), X_OK) == 0) return c;
    }
    return {};
}

}  // namespace

const std::string& CompileWorkerPath() {
    static const std::string path = FindWorker();
    return path;
}

void SetCompilerFaultForTests(CompilerFault fault) {
    g_fault = fault;
}
void SetCompileLimitsForTests(int wallMs, int cpuSeconds, std::size_t memoryBytes) {
    g_limits = IsolationLimits{wallMs, cpuSeconds, memoryBytes};
}
void ResetCompileLimitsForTests() {
    g_limits = kCompileLimits;
}

namespace {

// One compile in `worker`; `early` is set where the worker ended before it answered anything.
// Until the worker is ready it has kReadyMs; the request's own limit starts when it is.
CompileResult Converse(WorkerProcess& worker, const CompileRequest& request,
                       const IncludeOpener& open, const IsolationLimits& limits, bool& early) {
    early = false;
    worker.SetDeadline(kReadyMs);
    worker.Send(Frame('C', EncodeRequest(request)));
    bool answered = false, ready = false;
    for (;;) {
        char tag = 0;
        std::string body;
        const WorkerProcess::Event event = worker.Next(tag, body);
        if (event == WorkerProcess::Event::Frame && tag == 'I') {
            IncludeAsk ask;
            if (!DecodeAsk(body, ask)) break;
            IncludeAnswer answer;
            if (open) {
                answer = open(ask);
            } else {
                answer.bytes =
                    "cannot open include file '" + ask.name + "': nothing opens includes here";
            }
            answered = true;
            worker.Send(Frame('A', EncodeAnswer(answer)));
            continue;
        }
        if (event == WorkerProcess::Event::Frame && tag == 'W' && !ready) {
            ready = answered = true;
            worker.SetDeadline(limits.wallMs);
            continue;
        }
        if (event == WorkerProcess::Event::Frame && tag == 'R' && ready) {
            CompileResult result;
            if (!DecodeResult(body, result)) break;
            worker.Stop();
            return result;
        }
        if (event == WorkerProcess::Event::Frame || event == WorkerProcess::Event::BadFrame) break;
        const bool timedOut = event == WorkerProcess::Event::TimedOut;
        std::string why = worker.Finish(timedOut);
        if (timedOut && !ready)
            why = "did not get ready within " + std::to_string(kReadyMs / 1000) +
                  " s and was stopped";
        early = event == WorkerProcess::Event::Ended && !answered;
        return Failure(request, "the compiler " + (why.empty() ? "ended without a result" : why));
    }
    worker.Stop();
    return Failure(request, "the compiler broke its protocol with the program and was stopped");
}

}  // namespace

CompileResult CompileInWorker(const CompileRequest& request, const IncludeOpener& open) {
    const std::string& program = CompileWorkerPath();
    if (program.empty()) {
        return Failure(request, std::string("the compiler cannot start: ") + kWorkerName +
                                    " is not installed with this program");
    }
    std::vector<std::string> args;
    if (g_fault != CompilerFault::None) args = {"--fault", FaultName(g_fault)};
    const IsolationLimits limits = g_limits;
    std::unique_ptr<WorkerProcess> worker = TakeSpare(args, limits);
    const bool spare = worker != nullptr;
    std::string error;
    if (!worker) {
        worker = std::make_unique<WorkerProcess>();
        if (!worker->Start(program, args, limits, error))
            return Failure(request, "the compiler " + error);
    }
    bool early = false;
    CompileResult result = Converse(*worker, request, open, limits, early);
    if (spare && early) {
        // A spare can die while it waits (its starting thread ended): once more, afresh.
        worker = std::make_unique<WorkerProcess>();
        if (!worker->Start(program, args, limits, error))
            return Failure(request, "the compiler " + error);
        result = Converse(*worker, request, open, limits, early);
    }
    worker.reset();
    StartSpares(program, args, limits);
    return result;
}

}  // namespace d3dx
