// The process entry: reads tessaline's options (command_line.h), starts the SDL platform and
// calls WinMain as the runtime start-up would, with the module handle and the options the
// program reads itself (--watch), and ends the process with WinMain's exit code. --help and
// --version need no display; a bad option ends the process with 2. TESSALINE_TRACE names a
// file that receives every platform call, for following a run from outside; compiles are kept
// in the compile cache (compile_cache.h) for the next start. Without a display the program says
// so and exits with 1; termination signals close the program as its close box does
// (termination.h). With --watch, message boxes answer themselves (window_system.h). The
// platform's instruments: --set and TESSALINE_DEBUG reach the Direct3D 9
// front end (instruments.h), and a Ctrl + left click probes the pixel under the cursor
// (gl_pixel_history.h): the device records frames from the first click on, and the frame after
// each click is probed once it is presented.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/trace_file.h"
#include "platform/core/window_system.h"
#include "platform/d3d9/instruments.h"
#include "platform/d3dx/font_raster.h"
#include "platform/d3dx/hlsl/compile_cache.h"
#include "platform/d3dx/isolated_process.h"
#include "platform/gl/gl_device.h"
#include "platform/sdl/command_line.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/termination.h"

namespace {

// The device the program made (it keeps it for the whole run) and the pixel a click asked for.
struct Probe {
    gl::GlDevice* device = nullptr;
    int x = -1, y = -1;
};
Probe g_probe;

void OnPresent(void*, gl::GlDevice& device) {
    g_probe.device = &device;
    if (g_probe.x < 0) return;
    const gl::PixelHistory history = device.ProbePixel(g_probe.x, g_probe.y);
    g_probe.x = g_probe.y = -1;
    std::fputs(gl::FormatPixelHistory(history).c_str(), stderr);
    device.SetOverlayLine(gl::PixelHistoryLine(history));
}

void OnModifierClick(int x, int y, int windowWidth, int windowHeight) {
    gl::GlDevice* device = g_probe.device;
    if (!device || windowWidth <= 0 || windowHeight <= 0) return;
    // The back buffer is shown scaled to the window.
    g_probe.x = x * device->Width() / windowWidth;
    g_probe.y = y * device->Height() / windowHeight;
    if (!device->RecordsFrames()) device->RecordFrames(true);
}

void InstallInstruments(const sdl::CommandLine& options) {
    d3d9::InstrumentOptions instruments;
    for (const std::string& text : options.constants) {
        d3d9::ConstantSetting setting;
        d3d9::ReadConstantSetting(text, setting);
        instruments.constants.push_back(std::move(setting));
    }
    const char* debug = std::getenv("TESSALINE_DEBUG");
    instruments.debugLayer = debug && *debug && std::strcmp(debug, "0") != 0;
    d3d9::SetInstruments(std::move(instruments));
    gl::ObserveNewDevices(OnPresent, nullptr);
    sdl::SetModifierClickHandler(OnModifierClick);
}

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
    InstallInstruments(options);
    // The author's loop goes on through start-up failures: they show on the overlay instead.
    platform::AnswerMessageBoxesWithOk(options.watch);
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
