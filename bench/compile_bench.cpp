// What one shader compile costs the program, with the compile cache off: the median and slowest
// of N compiles of a shader file through D3DXCompileShaderFromFileA, first in a small process,
// then again after the process has taken and touched a large block of memory (as a program
// holding a gigabyte of meshes would), with the compile process's own peak resident size each
// time. The isolated compile must cost the same in both.
//
//   compile_bench SHADER_FILE [COMPILES] [MIB]     (default: 20 compiles, 1024 MiB)
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3dx/hlsl/compile_cache.h"
#include "platform/graphics_device.h"

namespace {

using Clock = std::chrono::steady_clock;

// Peak resident size of the largest child waited for so far, in MiB.
long ChildPeakMib() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss / 1024;
}

bool Measure(const char* file, int compiles, const char* label) {
    std::vector<double> ms;
    for (int i = 0; i < compiles; ++i) {
        ID3DXBuffer* code = nullptr;
        ID3DXBuffer* errors = nullptr;
        const auto start = Clock::now();
        const HRESULT hr = D3DXCompileShaderFromFileA(file, nullptr, nullptr, "ps_main", "ps_2_0",
                                                      0, &code, &errors, nullptr);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (errors) errors->Release();
        if (FAILED(hr)) {
            std::fprintf(stderr, "compile_bench: %s does not compile as ps_main, ps_2_0\n", file);
            return false;
        }
        code->Release();
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-28s median %6.1f ms  slowest %6.1f ms  compile process peak %4ld MiB\n", label,
                ms[ms.size() / 2], ms.back(), ChildPeakMib());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: compile_bench SHADER_FILE [COMPILES] [MIB]\n");
        return 2;
    }
    const int compiles = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    const std::size_t mib = argc > 3 ? static_cast<std::size_t>(std::atol(argv[3])) : 1024;
    d3dx::UseCompileCache("");
    // One compile first: what a program pays once (tables built, files cached) is not counted.
    if (!Measure(argv[1], 1, "first compile")) return 1;
    if (!Measure(argv[1], compiles, "small program")) return 1;
    const std::size_t bytes = mib << 20;
    std::unique_ptr<char[]> block(new char[bytes]);
    std::memset(block.get(), 1, bytes);
    const std::string label = "program holding " + std::to_string(mib) + " MiB";
    if (!Measure(argv[1], compiles, label.c_str())) return 1;
    // Keeps the block alive (and touched) until every compile above has run.
    return block[bytes - 1] == 1 ? 0 : 1;
}
