// Compiling HLSL into our code container (see hlsl/compiler.cpp), and running that compile in a
// child process with limits on time and memory (compile_process.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/d3dx/hlsl/shader_container.h"
#include "platform/d3dx/hlsl/source_pass.h"

namespace d3dx {

struct CompileRequest {
    std::string source;
    std::string fileName;  // as the caller named it, for messages
    std::string entry;
    std::string profile;
    std::vector<std::pair<std::string, std::string>> defines;
};

struct CompileResult {
    bool ok = false;
    std::vector<std::uint32_t> code;  // the container
    // "file(line,col): error X####: message" lines; warnings too, also when the compile
    // succeeds.
    std::string errors;
};

CompileResult CompileHlsl(const CompileRequest& request);

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

// Runs CompileHlsl in a child process: a crash or a hang of the compiler is a failed compile.
CompileResult CompileInChild(const CompileRequest& request);

// The constant table of a compiled shader's code container (constant_table.cpp).
ID3DXConstantTable* CreateConstantTable(std::vector<std::uint32_t> code);

// Builds the compiler's tables of built-ins in this process, once, from our own shaders, so that
// each compile child starts from them; the first compile that runs the compiler calls it.
void WarmCompiler();

// For tests: make the child crash, sleep, spin or allocate without end before compiling, and
// change its limits (wall clock, CPU seconds, memory bytes) from 10 s, 5 s and 1 GiB.
enum class CompilerFault { None, Crash, Hang, Spin, Allocate };
void SetCompilerFaultForTests(CompilerFault fault);
void SetCompileLimitsForTests(int wallMs, int cpuSeconds, std::size_t memoryBytes);
void ResetCompileLimitsForTests();

}  // namespace d3dx
