// The process entry: starts the SDL platform and calls WinMain as the runtime start-up would,
// with the module handle and the command line after the program name, and ends the process with
// WinMain's exit code. TESSALINE_TRACE names a file that receives every platform call, for
// following a run from outside. Without a display the program says so and exits with 1;
// termination signals close the program as its close box does (termination.h).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/core/trace_file.h"
#include "platform/core/window_system.h"
#include "platform/d3dx/hlsl_compiler.h"
#include "platform/d3dx/isolated_process.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/termination.h"

namespace {

int Run(int argc, char** argv) {
    if (!sdl::InstallSdlPlatform()) return 1;
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    constexpr int kShowDefault = 10;
    return WinMain(platform::ModuleHandle(), nullptr, commandLine.data(), kShowDefault);
}

}  // namespace

int main(int argc, char** argv) {
    // Before any thread or child process, which inherit the handlers.
    sdl::InstallTerminationHandling();
    if (!sdl::DisplayNamed()) {
        std::fprintf(stderr, "%s\n", sdl::kNoDisplayMessage);
        return 1;
    }
    if (const char* tracePath = std::getenv("TESSALINE_TRACE")) platform::TraceToFile(tracePath);
    // The shader compiler and the fonts get ready while SDL, the window and the device start.
    d3dx::StartWarmUp();
    // Where no compile waited for the warm-up (no shader files, no device) it may still run, and
    // a thread left running at exit aborts the process: every way out waits for it, exit() from
    // a library (Xlib's handler of a lost display) included.
    std::atexit([] { d3dx::FinishBackgroundWork(); });
    const int code = Run(argc, argv);
    d3dx::FinishBackgroundWork();
    return code;
}
