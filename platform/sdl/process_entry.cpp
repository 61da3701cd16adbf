// The process entry: reads tessaline's options (command_line.h), starts the SDL platform and
// calls WinMain as the runtime start-up would, with the module handle and the options the
// program reads itself (--watch), and ends the process with WinMain's exit code. --help and
// --version need no display; a bad option ends the process with 2. TESSALINE_TRACE names a
// file that receives every platform call, for following a run from outside; compiles are kept
// in the compile cache (compile_cache.h) for the next start. Without a display the program says
// so and exits with 1; termination signals close the program as its close box does
// (termination.h).
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/trace_file.h"
#include "platform/core/window_system.h"
#include "platform/d3dx/font_raster.h"
#include "platform/d3dx/hlsl/compile_cache.h"
#include "platform/d3dx/isolated_process.h"
#include "platform/sdl/command_line.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/termination.h"

namespace {

int Run(const sdl::CommandLine& options) {
    if (!sdl::InstallSdlPlatform()) return 1;
    // The fonts get ready while the window and the device start.
    d3dx::StartWarmUp();
    std::string commandLine = sdl::ProgramCommandLine(options);
    constexpr int kShowDefault = 10;
    return WinMain(platform::ModuleHandle(), nullptr, commandLine.data(), kShowDefault);
}

int Refuse(const std::string& why) {
    std::fprintf(stderr, "tessaline: %s\n", why.c_str());
    return sdl::kExitBadOptions;
}

}  // namespace

int main(int argc, char** argv) {
    sdl::CommandLine options;
    const std::string error =
        sdl::ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc), options);
    if (!error.empty()) return Refuse(error);
    if (options.help) {
        std::fputs(sdl::kUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tessaline %s\n", TESS_VERSION);
        return 0;
    }
    // Before any thread or child process, which inherit the handlers.
    sdl::InstallTerminationHandling();
    if (!sdl::DisplayNamed()) {
        std::fprintf(stderr, "%s\n", sdl::kNoDisplayMessage);
        return 1;
    }
    // Opened before --dir is entered, so that a relative name is the caller's.
    if (const char* tracePath = std::getenv("TESSALINE_TRACE")) platform::TraceToFile(tracePath);
    d3dx::UseCompileCache(d3dx::DefaultCompileCacheDir());
    if (!options.dir.empty() && chdir(options.dir.c_str()) != 0)
        return Refuse("--dir " + options.dir + ": cannot enter it: " + std::strerror(errno));
    if (!sdl::HoldsProgramFiles(".")) {
        char* here = getcwd(nullptr, 0);
        std::fprintf(stderr, "%s\n",
                     sdl::MissingFilesHint(here ? here : ".", sdl::BundledAssetsDir()).c_str());
        std::free(here);
    }
    // Where no compile waited for the warm-up (no shader files, no device) it may still run, and
    // a thread left running at exit aborts the process: every way out waits for it, exit() from
    // a library (Xlib's handler of a lost display) included.
    std::atexit([] { d3dx::FinishBackgroundWork(); });
    const int code = Run(options);
    d3dx::FinishBackgroundWork();
    return code;
}
