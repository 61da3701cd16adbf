// tessaline-snapshot: runs the real program (its start-up, loop and OpenGL device) headless
// under SDL's offscreen driver for a given number of idle iterations, with scripted keys and
// mouse movement, and writes chosen frames as PNG files. Ends with the program's exit code.
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "platform/core/window_system.h"
#include "platform/d3dx/hlsl_compiler.h"
#include "platform/gl/gl_device.h"
#include "platform/sdl/sdl_platform.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

constexpr char kUsage[] = R"(usage: tessaline-snapshot [options]

Runs Tessaline headless (SDL's offscreen driver, the OpenGL device on the system's driver, such
as Mesa's llvmpipe) and writes frames of it as PNG files. The program reads vertex.vsh,
pixel.psh, Tiger.x, seafloor.x and their textures from its current directory. Message boxes go
to stderr. The exit code is the program's.

  --dir DIR            run in DIR (default: the current directory)
  --iterations N       idle iterations to run before the window is closed (default 1)
  --frame N            write frame N (the frame of idle iteration N, from 0); may be repeated;
                       default: the last frame
  --out PATTERN        file name for frames, with %d for the frame number
                       (default frame-%d.png)
  --key ITER:KEY[:N]   hold KEY down from idle iteration ITER for N iterations (default 1);
                       KEY is a letter, a digit, SPACE, RETURN, ESCAPE, LEFT, RIGHT, UP, DOWN
                       or F1 to F12
  --mouse ITER:DX:DY   move the mouse by DX, DY counts at idle iteration ITER
  --every N:KEY        press KEY for one iteration every N iterations (soak runs)
  --report-memory N    print the resident size after frame N; may be repeated
  --stamp-first-frame  print the monotonic clock (ns) when the first frame is presented
  --driver NAME        SDL video driver (default offscreen; x11 shows the window)
  --help               this text

Example: tessaline-snapshot --dir assets --iterations 30 --key 5:W:10 --frame 29 --out shot-%d.png
)";

struct Capture {
    std::set<long> frames;
    std::set<long> memoryReports;
    bool stampFirstFrame = false;
    std::string pattern = "frame-%d.png";
    long lastFrame = 0;
    long presented = 0;
    int failures = 0;
};

WPARAM KeyCode(const std::string& name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return static_cast<WPARAM>(std::toupper(static_cast<unsigned char>(name[0])));
    }
    if (name == "SPACE") return VK_SPACE;
    if (name == "RETURN" || name == "ENTER") return VK_RETURN;
    if (name == "ESCAPE") return VK_ESCAPE;
    if (name == "LEFT") return VK_LEFT;
    if (name == "RIGHT") return VK_RIGHT;
    if (name == "UP") return VK_UP;
    if (name == "DOWN") return VK_DOWN;
    if (name.size() >= 2 && name[0] == 'F') {
        const int n = std::atoi(name.c_str() + 1);
        if (n >= 1 && n <= 12) return VK_F1 + static_cast<WPARAM>(n - 1);
    }
    return 0;
}

long ResidentKb() {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    char line[256];
    long kb = -1;
    while (f && std::fgets(line, sizeof line, f)) {
        if (std::sscanf(line, "VmRSS: %ld", &kb) == 1) break;
    }
    if (f) std::fclose(f);
    return kb;
}

void OnPresent(void* context, gl::GlDevice& device) {
    auto* capture = static_cast<Capture*>(context);
    const long frame = capture->presented++;
    if (frame == 0 && capture->stampFirstFrame) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("first-frame-ns %lld\n",
                    static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
    }
    if (capture->memoryReports.count(frame)) {
        std::printf("memory frame %ld resident-kb %ld\n", frame, ResidentKb());
        std::fflush(stdout);
    }
    const bool wanted =
        capture->frames.empty() ? frame == capture->lastFrame : capture->frames.count(frame) > 0;
    if (!wanted) return;
    const std::vector<std::uint32_t> argb = device.ReadBackBuffer();
    std::vector<unsigned char> rgb(argb.size() * 3);
    for (std::size_t i = 0; i < argb.size(); ++i) {
        rgb[3 * i] = static_cast<unsigned char>(argb[i] >> 16);
        rgb[3 * i + 1] = static_cast<unsigned char>(argb[i] >> 8);
        rgb[3 * i + 2] = static_cast<unsigned char>(argb[i]);
    }
    char name[4096];
    std::snprintf(name, sizeof name, capture->pattern.c_str(), static_cast<int>(frame));
    if (!stbi_write_png(name, device.Width(), device.Height(), 3, rgb.data(), device.Width() * 3)) {
        std::fprintf(stderr, "SNAPSHOT: cannot write %s\n", name);
        ++capture->failures;
    } else {
        std::fprintf(stderr, "SNAPSHOT: wrote %s\n", name);
    }
}

bool Fail(const char* why, const char* arg) {
    std::fprintf(stderr, "tessaline-snapshot: %s: %s\n%s", why, arg, kUsage);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    static Capture capture;
    long iterations = 1;
    std::string dir;
    std::string driver = "offscreen";
    std::vector<std::pair<long, WPARAM>> periodic;
    std::vector<platform::ScriptEvent> events;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--stamp-first-frame") {
            capture.stampFirstFrame = true;
            continue;
        }
        if (!value) return Fail("missing value", arg.c_str()), 2;
        ++i;
        if (arg == "--dir") {
            dir = value;
        } else if (arg == "--driver") {
            driver = value;
        } else if (arg == "--iterations") {
            iterations = std::atol(value);
            if (iterations < 1) return Fail("bad iteration count", value), 2;
        } else if (arg == "--frame") {
            capture.frames.insert(std::atol(value));
        } else if (arg == "--out") {
            capture.pattern = value;
        } else if (arg == "--key") {
            char key[32] = {};
            long at = 0, hold = 1;
            if (std::sscanf(value, "%ld:%31[^:]:%ld", &at, key, &hold) < 2 || !KeyCode(key) ||
                hold < 1) {
                return Fail("bad key", value), 2;
            }
            platform::ScriptEvent down;
            down.iteration = static_cast<std::uint64_t>(at);
            down.message = WM_KEYDOWN;
            down.wParam = KeyCode(key);
            down.lParam = 1;
            platform::ScriptEvent up = down;
            up.iteration = static_cast<std::uint64_t>(at + hold);
            up.message = WM_KEYUP;
            up.lParam = 1 | KF_REPEAT_BIT | KF_UP_BIT;
            events.push_back(down);
            events.push_back(up);
        } else if (arg == "--report-memory") {
            capture.memoryReports.insert(std::atol(value));
        } else if (arg == "--every") {
            char key[32] = {};
            long every = 0;
            if (std::sscanf(value, "%ld:%31s", &every, key) != 2 || every < 2 || !KeyCode(key)) {
                return Fail("bad periodic key", value), 2;
            }
            periodic.push_back({every, KeyCode(key)});
        } else if (arg == "--mouse") {
            long at = 0, dx = 0, dy = 0;
            if (std::sscanf(value, "%ld:%ld:%ld", &at, &dx, &dy) != 3)
                return Fail("bad mouse move", value), 2;
            platform::ScriptEvent move;
            move.iteration = static_cast<std::uint64_t>(at);
            move.kind = platform::ScriptEvent::Kind::MouseMotion;
            move.dx = static_cast<LONG>(dx);
            move.dy = static_cast<LONG>(dy);
            events.push_back(move);
        } else {
            return Fail("unknown option", arg.c_str()), 2;
        }
    }
    if (!dir.empty() && chdir(dir.c_str()) != 0) return Fail("cannot enter", dir.c_str()), 2;
    capture.lastFrame = iterations - 1;
    for (const auto& [every, key] : periodic) {
        for (long at = every; at < iterations; at += every) {
            platform::ScriptEvent down;
            down.iteration = static_cast<std::uint64_t>(at);
            down.message = WM_KEYDOWN;
            down.wParam = key;
            down.lParam = 1;
            platform::ScriptEvent up = down;
            up.iteration = static_cast<std::uint64_t>(at + 1);
            up.message = WM_KEYUP;
            up.lParam = 1 | KF_REPEAT_BIT | KF_UP_BIT;
            events.push_back(down);
            events.push_back(up);
        }
    }
    // The close box after the last iteration ends the program as a user would.
    platform::ScriptEvent close;
    close.iteration = static_cast<std::uint64_t>(iterations);
    close.message = WM_SYSCOMMAND;
    close.wParam = SC_CLOSE;
    events.push_back(close);

    d3dx::StartWarmUp();
    setenv("SDL_VIDEODRIVER", driver.c_str(), 1);
    if (!sdl::InstallSdlPlatform()) return 1;
    platform::SetInputScript(events);
    gl::ObserveNewDevices(OnPresent, &capture);
    char commandLine[] = "";
    const int code = WinMain(platform::ModuleHandle(), nullptr, commandLine, 10);
    if (capture.failures) return 1;
    return code;
}
