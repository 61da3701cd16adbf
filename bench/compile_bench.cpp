// What one shader compile costs the program, with the compile cache off: the median and slowest
// of N compiles of a shader file through D3DXCompileShaderFromFileA, first in a small process,
// then again after the process has taken and touched a large block of memory (as a program
// holding a gigabyte of meshes would). The isolated compile must cost the same in both. Each
// is measured twice: compiles one after another, and compiles after a pause of PAUSE_MS (as an
// author's saves come), which leaves a compile process started ahead of need time to ready
// itself. Beside each: the CPU time the compile processes spent per compile (those reaped), and
// the resident size of the compile processes then waiting for the next compile.
//
//   compile_bench SHADER_FILE [COMPILES] [MIB] [PAUSE_MS]   (default: 20, 1024 MiB, 300 ms)
#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/d3dx/hlsl/compile_cache.h"
#include "platform/graphics_device.h"

namespace {

using Clock = std::chrono::steady_clock;

// The resident size of this process's children now (a compile process started ahead and
// waiting), from /proc; "none" where there is no child.
std::string ChildrenResident() {
    std::string out;
    DIR* proc = opendir("/proc");
    while (const dirent* e = proc ? readdir(proc) : nullptr) {
        const std::string pid = e->d_name;
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream status("/proc/" + pid + "/status");
        std::string line, rss;
        long ppid = -1;
        while (std::getline(status, line)) {
            if (line.rfind("PPid:", 0) == 0) ppid = std::atol(line.c_str() + 5);
            if (line.rfind("VmRSS:", 0) == 0) rss = line.substr(6);
        }
        if (ppid == getpid())
            out += (out.empty() ? "" : ",") + rss.substr(rss.find_first_not_of(" \t"));
    }
    if (proc) closedir(proc);
    return out.empty() ? "none" : out;
}

// CPU time (user and system) of the child processes reaped so far, in ms.
double ChildrenCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

bool Measure(const char* file, int compiles, const std::string& label, int pauseMs = 0) {
    std::vector<double> ms;
    const double cpuBefore = ChildrenCpuMs();
    for (int i = 0; i < compiles; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
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
    const double cpuPerCompile = (ChildrenCpuMs() - cpuBefore) / compiles;
    std::sort(ms.begin(), ms.end());
    // The child that then waits for the next compile, once it is ready.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::printf("%-36s median %6.1f ms  slowest %6.1f ms  child CPU %5.1f ms  waiting: %s\n",
                label.c_str(), ms[ms.size() / 2], ms.back(), cpuPerCompile,
                ChildrenResident().c_str());
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
    const int pauseMs = argc > 4 ? std::atoi(argv[4]) : 300;
    d3dx::UseCompileCache("");
    // One compile first: what a program pays once (files cached) is not counted.
    if (!Measure(argv[1], 1, "first compile")) return 1;
    const std::string paused = ", " + std::to_string(pauseMs) + " ms apart";
    if (!Measure(argv[1], compiles, "small program, one after another")) return 1;
    if (!Measure(argv[1], compiles, "small program" + paused, pauseMs)) return 1;
    const std::size_t bytes = mib << 20;
    std::unique_ptr<char[]> block(new char[bytes]);
    std::memset(block.get(), 1, bytes);
    const std::string holding = "holding " + std::to_string(mib) + " MiB";
    if (!Measure(argv[1], compiles, holding + ", one after another")) return 1;
    if (!Measure(argv[1], compiles, holding + paused, pauseMs)) return 1;
    // Keeps the block alive (and touched) until every compile above has run.
    return block[bytes - 1] == 1 ? 0 : 1;
}
