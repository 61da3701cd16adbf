// Edit to frame with --watch: the real program (its start-up, loop, --watch and OpenGL device)
// runs headless on a copy of the assets while another thread saves pixel.psh as editors do (a
// new file renamed over the old one) at random moments, alternating two solid colours. For each
// save: from the moment the save starts to the end of the first presented frame drawn with the
// new shader (the first Present after the device created it, rendering finished). The frame's
// colour is checked against the saved shader's. Printed against the time of one frame: the
// median time between presents over a phase of its own before the first save, so that saves
// that come faster than frames on a busy machine cannot leave it unmeasured.
//
//   watch_bench ASSETS_DIR [SAVES]
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/call_trace.h"
#include "platform/core/window_system.h"
#include "platform/d3dx/font_raster.h"
#include "platform/d3dx/isolated_process.h"
#include "platform/gl/gl_device.h"
#include "platform/sdl/sdl_platform.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Shade {
    const char* rgba;
    std::uint32_t rgb;  // what the sea floor then shows
};
constexpr Shade kShades[] = {{"0, 1, 0, 1", 0x00FF00}, {"0, 0, 1, 1", 0x0000FF}};
// Frames timed before the first save.
constexpr std::size_t kTimedFrames = 30;

struct Run {
    int saves = 20;
    std::atomic<bool> saving{false};   // a save started and its frame is not presented yet
    std::atomic<bool> created{false};  // the device created a pixel shader since the save began
    std::atomic<int> saveIndex{0};
    Clock::time_point saveStart;
    std::atomic<bool> ready{false};     // the first frame was presented
    std::atomic<bool> measured{false};  // the frame-time phase is over; saves may start
    std::atomic<bool> finished{false};
    std::vector<double> latencies;
    std::vector<double> frameTimes;
    Clock::time_point lastPresent;
    int wrongColour = 0;
};
Run run;

// Notes every pixel shader the device creates, and passes nothing on.
class CreationWatch : public platform::CallTrace {
  public:
    std::size_t Record(std::string api, std::vector<std::string>, std::string result) override {
        if (api == "CreatePixelShader" && result.rfind("0 ", 0) == 0 && run.saving)
            run.created = true;
        return 0;
    }
    void SetResult(std::size_t, std::string) override {}
};

void OnPresent(void*, gl::GlDevice& device) {
    // The frame's rendering finished, as it is when a display shows it.
    glFinish();
    const Clock::time_point now = Clock::now();
    if (run.ready && !run.measured) {
        run.frameTimes.push_back(Ms(now - run.lastPresent));
        if (run.frameTimes.size() >= kTimedFrames) run.measured = true;
    }
    run.lastPresent = now;
    run.ready = true;
    if (run.saving && run.created) {
        run.latencies.push_back(Ms(now - run.saveStart));
        // The sea floor at (500, 450), away from the tiger and the overlay.
        const std::vector<std::uint32_t> pixels = device.ReadBackBuffer();
        // Row 0 of the back buffer is the top one.
        const std::size_t at = 450 * static_cast<std::size_t>(device.Width()) + 500;
        const Shade& shade = kShades[run.saveIndex % 2];
        if (at < pixels.size() && (pixels[at] & 0xFFFFFF) != shade.rgb) ++run.wrongColour;
        run.created = false;
        run.saving = false;
    }
    if (run.finished) platform::PostInput(platform::MainWindow(), WM_CLOSE, 0, 0);
}

void SaveShader(const Shade& shade) {
    {
        std::ofstream out("pixel.psh.new", std::ios::trunc);
        out << "float4 ps_main(float2 uv : TEXCOORD0) : COLOR0 { return float4(" << shade.rgba
            << "); }\n";
    }
    std::rename("pixel.psh.new", "pixel.psh");
}

void Saver() {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> pause(60, 160);
    while (!run.measured) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (int i = 0; i < run.saves; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
        run.saveIndex = i;
        run.saveStart = Clock::now();
        run.saving = true;
        SaveShader(kShades[i % 2]);
        while (run.saving) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    run.finished = true;
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: watch_bench ASSETS_DIR [SAVES]\n");
        return 2;
    }
    if (argc >= 3) run.saves = std::max(1, std::atoi(argv[2]));
    namespace fs = std::filesystem;
    const fs::path work = fs::temp_directory_path() / ("watch_bench-" + std::to_string(getpid()));
    fs::create_directories(work);
    for (const fs::directory_entry& e : fs::directory_iterator(argv[1])) {
        if (e.is_regular_file()) fs::copy_file(e.path(), work / e.path().filename());
    }
    if (chdir(work.c_str()) != 0) return 1;
    setenv("SDL_VIDEODRIVER", getenv("SDL_VIDEODRIVER") ? getenv("SDL_VIDEODRIVER") : "offscreen",
           1);
    if (!sdl::InstallSdlPlatform()) return 1;
    d3dx::StartWarmUp();
    static CreationWatch watch;
    platform::SetCallTrace(&watch);
    gl::ObserveNewDevices(OnPresent, nullptr);
    std::thread saver(Saver);
    char commandLine[] = "--watch";
    const int code = WinMain(platform::ModuleHandle(), nullptr, commandLine, 10);
    saver.join();
    d3dx::FinishBackgroundWork();
    fs::remove_all(work);
    if (code != 0 || run.latencies.size() != static_cast<std::size_t>(run.saves)) {
        std::fprintf(stderr, "watch_bench: the run ended early (exit code %d)\n", code);
        return 1;
    }
    const double frame = Percentile(run.frameTimes, 0.5);
    const double median = Percentile(run.latencies, 0.5);
    const double slowest = *std::max_element(run.latencies.begin(), run.latencies.end());
    std::printf(
        "edit to frame over %d saves of pixel.psh (driver %s): median %.1f ms, 90th percentile "
        "%.1f ms, slowest %.1f ms; one frame %.1f ms (median of %zu); median edit to frame = "
        "%.2f frames; frames with the wrong colour: %d\n",
        run.saves, getenv("SDL_VIDEODRIVER"), median, Percentile(run.latencies, 0.9), slowest,
        frame, run.frameTimes.size(), median / frame, run.wrongColour);
    return run.wrongColour ? 1 : 0;
}
