// tessaline-compile-worker: the HLSL compiler as a program of its own, which the harness starts
// for each compile (compile_process.cpp) so that a compiler that crashes, hangs or runs away on
// a hostile file takes only this process down. It reads one request from its socket (its
// standard input), asks the harness for each #include, writes the result and exits; the frames
// are compile_protocol.h's. It builds glslang's tables for the request's stage before it says it
// is ready and compiles; with --warm (a worker started ahead of need) it builds them for both
// stages before the request comes. Started any other way it says what it is and exits with 2.
#include <signal.h>
#include <unistd.h>

#include <spirv_cross/spirv_cross_c.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/d3dx/hlsl/build_id.h"
#include "platform/d3dx/hlsl/compile_protocol.h"
#include "platform/d3dx/worker_process.h"

namespace {

using namespace d3dx;

bool ReadFrame(char& tag, std::string& body) {
    std::string header;
    if (!ReadFromHarness(header, 5)) return false;
    std::size_t length = 0;
    for (int i = 0; i < 4; ++i)
        length |= std::size_t{static_cast<unsigned char>(header[1 + i])} << (8 * i);
    if (length > kMaxFrameBody || !ReadFromHarness(header, length)) return false;
    return TakeFrame(header, tag, body) == 1;
}

// The faults the tests plant (SetCompilerFaultForTests), before the compile.
void Fault(const std::string& fault) {
    if (fault == "crash") raise(SIGSEGV);
    if (fault == "hang") {
        for (;;) pause();
    }
    if (fault == "allocate") {
        // Up to 4 GiB in 16 MiB pieces, each touched; a limit stops it long before.
        std::vector<std::unique_ptr<char[]>> pieces;
        for (int i = 0; i < 256; ++i) {
            pieces.emplace_back(new char[std::size_t{16} << 20]);
            std::memset(pieces.back().get(), 1, std::size_t{16} << 20);
        }
    }
    if (fault == "garbage") {
        // A result that claims 4 GiB: the harness must refuse it unread.
        WriteToHarness(std::string("R\xFF\xFF\xFF\xFF", 5));
        for (;;) pause();
    }
    if (fault == "spin") {
        volatile unsigned spins = 0;
        for (;;) spins = spins + 1;
    }
}

// The identity the compile cache keeps a compile under: this program's build ID and that of
// the SPIRV-Cross library it loaded; empty where one is missing.
std::string Identity() {
    const std::string compiler = LoadedBuildId(reinterpret_cast<const void*>(&Identity));
    const std::string spirvCross =
        LoadedBuildId(reinterpret_cast<const void*>(&spvc_context_create));
    if (compiler.empty() || spirvCross.empty()) return {};
    return "compiler " + compiler + " spirv-cross " + spirvCross;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> rest;
    if (!TakeWorkerArguments(argc, argv, rest)) {
        std::fprintf(stderr,
                     "tessaline-compile-worker: the HLSL compiler of tessaline, which starts it "
                     "for each compile; it is not run by hand\n");
        return 2;
    }
    std::string fault;
    bool warm = false;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == "--warm") warm = true;
        if (rest[i] == "--fault" && i + 1 < rest.size()) fault = rest[++i];
    }
    // Started ahead of its request: glslang's tables are built while it waits.
    if (warm) WarmCompiler();
    char tag = 0;
    std::string body;
    CompileRequest request;
    if (!ReadFrame(tag, body) || tag != 'C' || !DecodeRequest(body, request)) _exit(3);
    // The same work for every request, before the request's own (which the harness times).
    WarmCompiler(request.profile.rfind("vs_", 0) == 0 ? Stages::Vertex : Stages::Pixel);
    if (!WriteToHarness(Frame('W', ""))) _exit(3);
    Fault(fault);
    const IncludeOpener open = [](const IncludeAsk& ask) {
        IncludeAnswer answer;
        char reply = 0;
        std::string bytes;
        if (!WriteToHarness(Frame('I', EncodeAsk(ask))) || !ReadFrame(reply, bytes) ||
            reply != 'A' || !DecodeAnswer(bytes, answer))
            _exit(3);  // the harness is gone or broke the protocol
        return answer;
    };
    CompileResult result = CompileHlsl(request, open);
    result.identity = Identity();
    // Nothing is left to tidy: the process ends without running glslang's destructors.
    _exit(WriteToHarness(Frame('R', EncodeResult(result))) ? 0 : 3);
}
