// The process entry: starts the SDL platform and calls WinMain as the runtime start-up would,
// with the module handle and the command line after the program name. TESSALINE_TRACE names a
// file that receives every platform call, for following a run from outside.
#include <cstdlib>
#include <string>

#include "platform/core/trace_file.h"
#include "platform/core/window_system.h"
#include "platform/d3dx/hlsl_compiler.h"
#include "platform/sdl/sdl_platform.h"

int main(int argc, char** argv) {
    if (const char* tracePath = std::getenv("TESSALINE_TRACE")) platform::TraceToFile(tracePath);
    // The shader compiler and the fonts get ready while SDL, the window and the device start.
    d3dx::StartWarmUp();
    if (!sdl::InstallSdlPlatform()) return 1;
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    constexpr int kShowDefault = 10;
    return WinMain(platform::ModuleHandle(), nullptr, commandLine.data(), kShowDefault);
}
