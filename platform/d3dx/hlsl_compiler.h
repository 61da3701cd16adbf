// Compiling HLSL into our code container (see hlsl_compiler.cpp), and running that compile in a
// child process with a time limit (compile_process.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/d3dx/shader_container.h"

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
    std::string errors;               // "file(line,col): error: message" lines
};

bool IsKnownProfile(const char* profile);
CompileResult CompileHlsl(const CompileRequest& request);

// Records each global's initialiser, as written in the source, as its default value.
void AddDefaultValues(const std::string& source, std::vector<ConstantVar>& constants);

// Runs CompileHlsl in a child process: a crash or a hang of the compiler is a failed compile.
CompileResult CompileInChild(const CompileRequest& request);

// Builds the compiler's tables of built-ins in this process, once, from our own shaders.
void WarmCompiler();
// Starts that warm-up (and the font configuration's) on a thread of its own, so that it
// overlaps the program's start-up; compiles wait for it before they fork.
void StartWarmUp();

// For tests: make the child crash or hang before compiling, and shorten the time limit.
enum class CompilerFault { None, Crash, Hang };
void SetCompilerFaultForTests(CompilerFault fault);
void SetCompileTimeLimitForTests(int milliseconds);

}  // namespace d3dx
