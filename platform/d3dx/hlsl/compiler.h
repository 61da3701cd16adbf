// Compiling HLSL into our code container (see hlsl/compiler.cpp), and running that compile in the
// compile worker, a process of its own with limits on time and memory (compile_process.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/d3dx/hlsl/shader_container.h"
#include "platform/d3dx/hlsl/source_pass.h"

namespace d3dx {

struct CompileRequest {
    std::string source;
    std::string fileName;  // as the caller named it, for messages; empty for a source in memory
    std::string entry;
    std::string profile;
    std::vector<std::pair<std::string, std::string>> defines;
    bool preprocessOnly = false;  // the preprocessed text is the result (D3DXPreprocessShader)
};

// One file a compile included, as the compile cache records it to check it again: how it was
// asked for, and the SHA-256 of its bytes.
struct IncludedFile {
    std::uint32_t type = 0;    // D3DXINC_LOCAL or D3DXINC_SYSTEM
    std::uint32_t parent = 0;  // 0: the source; k: the k-th file opened
    std::string name;          // as the #include wrote it
    std::string digest;
    bool operator==(const IncludedFile&) const = default;
};

struct CompileResult {
    bool ok = false;
    std::vector<std::uint32_t> code;  // the container
    // "file(line,col): error X####: message" lines; warnings too, also when the compile
    // succeeds.
    std::string errors;
    std::string text;      // the preprocessed source, for preprocessOnly
    std::string identity;  // the compiler that made it (CompilerIdentity() in the worker)
    std::vector<IncludedFile> includes;
};

// An #include the preprocessor asks for, and the answer (compile_protocol.h carries both
// between the worker and the program).
struct IncludeAsk {
    std::uint32_t type = 0;    // D3DXINC_LOCAL or D3DXINC_SYSTEM
    std::uint32_t parent = 0;  // 0: the source itself; k: the k-th file opened
    std::string name;
};
struct IncludeAnswer {
    bool ok = false;
    std::uint32_t id = 0;   // the file's number, 1 for the first opened
    std::string shownName;  // what messages and #line directives call it
    std::string bytes;      // the file, or why it could not be opened
};
using IncludeOpener = std::function<IncludeAnswer(const IncludeAsk&)>;
constexpr std::uint32_t kIncludeLocal = 0, kIncludeSystem = 1;

// Includes nested deeper than this are an error (a file that includes itself would otherwise
// never end), and a compile opens at most kMaxIncludes files.
constexpr std::size_t kMaxIncludeDepth = 32;
constexpr std::size_t kMaxIncludes = 1024;

// Compiles (or only preprocesses), opening included files through `open`; without it an
// #include is an error.
CompileResult CompileHlsl(const CompileRequest& request, const IncludeOpener& open = {});

// glslang's log as our diagnostics, in words a Direct3D 9 author reads (hlsl/messages.cpp);
// errors with no line of their own (link errors) get linkLine.
std::vector<Diagnostic> ReadGlslangLog(const std::string& log, int linkLine);
std::string RewordMessage(std::string glslangText);
// glslang places an error about a name just after it; the real compiler, and we, at its start.
void PlaceAtNamedTokens(std::vector<Diagnostic>& diagnostics, const std::string& source);
// "file(line,col): error X3004: text" lines, with the real compiler's number and wording where it
// has one for the message, and "error: text" where it has none.
std::string FormatDiagnostics(const std::vector<Diagnostic>& diagnostics, const std::string& file);
// A message in the real compiler's wording, and its number (0 where it has none).
std::string FxcWording(const std::string& text, int& code);

// Our intrinsics the rewritten source calls, and a #line that restores its numbering
// (hlsl/prelude.cpp); empty when it calls none.
std::string PreludeFor(const std::string& source);

// Runs CompileHlsl in the compile worker, a process of its own (compile_process.cpp), with
// `open` answering its includes: a crash or a hang of the compiler is a failed compile.
CompileResult CompileInWorker(const CompileRequest& request, const IncludeOpener& open = {});
// The worker's program as compile_process.cpp finds it; empty where there is none.
const std::string& CompileWorkerPath();

// The constant table of a compiled shader's code container (constant_table.cpp).
ID3DXConstantTable* CreateConstantTable(std::vector<std::uint32_t> code);

// Builds glslang's tables of built-in functions for a stage in this process, once, from our own
// shaders: the compile worker does it before the request's own work starts (and before the
// request comes, in a worker started ahead of need).
enum class Stages { Vertex, Pixel, Both };
void WarmCompiler(Stages stages = Stages::Both);

// For tests: make the worker crash, sleep, spin, allocate without end or answer with a frame
// over the size limit before compiling, and change its limits (wall clock, CPU seconds, memory
// bytes) from 10 s, 5 s and 1 GiB.
enum class CompilerFault { None, Crash, Hang, Spin, Allocate, Garbage };
void SetCompilerFaultForTests(CompilerFault fault);
void SetCompileLimitsForTests(int wallMs, int cpuSeconds, std::size_t memoryBytes);
void ResetCompileLimitsForTests();

}  // namespace d3dx
