// tessaline-snapshot: runs the real program (its start-up, loop and OpenGL device) headless
// under SDL's offscreen driver for a given number of idle iterations, with scripted keys and
// mouse movement, and writes chosen frames as PNG files. For CI it can fail a run in which the
// program showed a message box or a compile failed (--strict) and compare the written frame
// with a reference picture (--compare). Beside each frame it writes the trace of the calls that
// made it (trace_keeper.h); the instruments of the platform layer are at hand: pixel histories
// of chosen pixels (--probe), constants set by name (--set) and the Direct3D 9 debug layer (on
// unless --no-debug). The options and exit codes are in snapshot_options.cpp.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <epoxy/gl.h>

#include "platform/core/trace_file.h"
#include "platform/core/window_system.h"
#include "platform/d3d9/instruments.h"
#include "platform/d3dx/font_raster.h"
#include "platform/d3dx/hlsl/compile_cache.h"
#include "platform/d3dx/isolated_process.h"
#include "platform/gl/gl_device.h"
#include "platform/sdl/command_line.h"
#include "platform/sdl/sdl_platform.h"
#include "tools/checked_write.h"
#include "tools/picture_compare.h"
#include "tools/probe_picture.h"
#include "tools/snapshot_options.h"
#include "tools/strict_watch.h"
#include "tools/trace_keeper.h"

namespace {

struct Capture {
    const snapshot::Options* options = nullptr;
    std::set<long> frames;
    long presented = 0;
    std::set<long> written;
    int failures = 0;
    snapshot::RgbPicture compared;  // the written frame, kept for --compare
    std::string comparedTrace;      // and its trace
    snapshot::TraceKeeper* trace = nullptr;
    std::vector<std::string> findings;     // the debug layer's warnings, for --strict=debug
    std::vector<std::string> badSettings;  // --set that no bound shader could take
};

// Writes a text file whole, or says why not on stderr.
bool WriteText(const std::string& path, const std::string& text) {
    std::string why;
    if (snapshot::WriteFileChecked(path, text, why)) return true;
    std::fprintf(stderr, "tessaline-snapshot: cannot write %s: %s\n", path.c_str(), why.c_str());
    return false;
}

// "mesh#1" -> "Tiger.x", from the trace's D3DXLoadMeshFromXA lines, for the pixel histories.
std::map<std::string, std::string> MeshLabels(const std::string& trace) {
    std::map<std::string, std::string> labels;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("D3DXLoadMeshFromXA(\"", 0) != 0) continue;
        const std::size_t nameEnd = line.find('"', 20);
        const std::size_t mesh = line.find(" mesh#", line.rfind(") = "));
        if (nameEnd == std::string::npos || mesh == std::string::npos) continue;
        std::string name = line.substr(mesh + 1);
        name = name.substr(0, name.find(' '));
        labels[name] = line.substr(20, nameEnd - 20);
    }
    return labels;
}

// The pixel histories of the frame just written, on stdout and in a picture beside it.
void Probe(Capture& capture, gl::GlDevice& device, const std::string& frameFile,
           const snapshot::RgbPicture& picture) {
    const snapshot::Options& options = *capture.options;
    const auto labels = MeshLabels(capture.trace->Text());
    std::vector<std::string> reports;
    for (const auto& [x, y] : options.probes) {
        reports.push_back(gl::FormatPixelHistory(device.ProbePixel(x, y), labels));
        std::fputs(reports.back().c_str(), stdout);
    }
    const std::string name = snapshot::BesideFrame(frameFile, "-probe.png");
    std::string why;
    if (!snapshot::WritePng(name, snapshot::ProbePicture(picture, options.probes, reports), &why)) {
        std::fprintf(stderr, "tessaline-snapshot: cannot write %s: %s\n", name.c_str(),
                     why.c_str());
        ++capture.failures;
        return;
    }
    std::printf("%s\n", name.c_str());
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
    const snapshot::Options& options = *capture->options;
    const long frame = capture->presented++;
    if (frame == 0 && options.stampFirstFrame) {
        // The frame's drawing finished, not only handed to the driver (a software driver such
        // as llvmpipe draws on its own threads): the stamp is when its pixels exist.
        glFinish();
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        timespec cpu{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        std::printf("first-frame-ns %lld\nfirst-frame-cpu-ns %lld\n",
                    static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                    static_cast<long long>(cpu.tv_sec) * 1000000000LL + cpu.tv_nsec);
        std::fflush(stdout);
    }
    if (options.memoryReports.count(frame)) {
        std::printf("memory frame %ld resident-kb %ld\n", frame, ResidentKb());
        std::fflush(stdout);
    }
    if (!capture->frames.count(frame)) return;
    const std::vector<std::uint32_t> argb = device.ReadBackBuffer();
    snapshot::RgbPicture picture;
    picture.width = device.Width();
    picture.height = device.Height();
    if (argb.size() != static_cast<std::size_t>(picture.width) * picture.height) {
        std::fprintf(stderr, "tessaline-snapshot: frame %ld: the back buffer did not read back\n",
                     frame);
        ++capture->failures;
        return;
    }
    picture.rgb.resize(argb.size() * 3);
    for (std::size_t i = 0; i < argb.size(); ++i) {
        picture.rgb[3 * i] = static_cast<unsigned char>(argb[i] >> 16);
        picture.rgb[3 * i + 1] = static_cast<unsigned char>(argb[i] >> 8);
        picture.rgb[3 * i + 2] = static_cast<unsigned char>(argb[i]);
    }
    const std::string name = snapshot::FrameFileName(options.out, frame);
    std::string why;
    if (!snapshot::WritePng(name, picture, &why)) {
        std::fprintf(stderr, "tessaline-snapshot: %s: %s\n", name.c_str(), why.c_str());
        ++capture->failures;
        return;
    }
    capture->written.insert(frame);
    std::printf("%s\n", name.c_str());
    const std::string trace = capture->trace->Text();
    const std::string traceFile = snapshot::BesideFrame(name, ".trace");
    // Always beside the frame, so not named on stdout, which lists the pictures.
    if (!WriteText(traceFile, trace)) ++capture->failures;
    if (!options.probes.empty()) Probe(*capture, device, name, picture);
    std::fflush(stdout);
    if (!options.reference.empty()) {
        capture->compared = std::move(picture);
        capture->comparedTrace = trace;
    }
}

int Refuse(const std::string& why) {
    std::fprintf(stderr, "tessaline-snapshot: %s\n", why.c_str());
    return snapshot::kExitBadOptions;
}

// Compares the written frame with the reference and, where it fails, writes the difference
// picture; returns the exit code the comparison asks for (0 when it passes).
// Where the reference has a trace beside it, names the first call in which the two runs differ,
// on stderr and in a file beside the frame; false where that file cannot be written.
bool CompareTraces(const snapshot::Options& options, const std::string& trace) {
    std::ifstream in(snapshot::BesideFrame(options.reference, ".trace"), std::ios::binary);
    if (!in) return true;
    std::ostringstream reference;
    reference << in.rdbuf();
    const snapshot::TraceDifference d = snapshot::FirstDifference(reference.str(), trace);
    std::fprintf(stderr, "tessaline-snapshot: trace: %s\n", snapshot::DifferenceText(d).c_str());
    if (!d.found) return true;
    const std::string frameFile =
        snapshot::FrameFileName(options.out, *snapshot::FramesToWrite(options).begin());
    const std::string name = snapshot::BesideFrame(frameFile, "-diff.txt");
    const std::string text = "The first call in which this run differs from " + options.reference +
                             "'s, call " + std::to_string(d.call) + ":\nreference:\n" +
                             d.reference + "\nthis run:\n" + d.run + "\n";
    if (!WriteText(name, text)) return false;
    std::printf("%s\n", name.c_str());
    return true;
}

int CompareWithReference(const snapshot::Options& options, const snapshot::RgbPicture& frame,
                         const snapshot::RgbPicture& reference) {
    if (reference.width != frame.width || reference.height != frame.height) {
        return Refuse("--compare " + options.reference + ": the reference is " +
                      std::to_string(reference.width) + " x " + std::to_string(reference.height) +
                      ", the frame " + std::to_string(frame.width) + " x " +
                      std::to_string(frame.height));
    }
    const snapshot::PictureDifference difference =
        snapshot::ComparePictures(frame, reference, options.tolerance);
    const bool over = difference.percent > options.threshold;
    // Only a failed comparison has something to show.
    if (over) {
        const std::string frameFile =
            snapshot::FrameFileName(options.out, *snapshot::FramesToWrite(options).begin());
        const std::string diffFile = snapshot::DiffFileName(frameFile);
        std::string why;
        if (!snapshot::WritePng(diffFile, difference.picture, &why)) {
            std::fprintf(stderr, "tessaline-snapshot: %s: %s\n", diffFile.c_str(), why.c_str());
            return snapshot::kExitWriteFailed;
        }
        std::printf("%s\n", diffFile.c_str());
    }
    std::fprintf(stderr,
                 "tessaline-snapshot: compare: %ld of %ld pixels differ by more than %g (%.4f%%, "
                 "threshold %g%%), largest distance %.1f: %s\n",
                 difference.differing, difference.total, options.tolerance, difference.percent,
                 options.threshold, difference.largest, over ? "FAILED" : "passed");
    return over ? snapshot::kExitCompare : 0;
}

}  // namespace

int main(int argc, char** argv) {
    static snapshot::Options options;
    char* startDir = getcwd(nullptr, 0);
    if (!startDir) return Refuse("cannot read the current directory");
    const std::string error =
        snapshot::ReadOptions(std::vector<std::string>(argv + 1, argv + argc), startDir, options);
    std::free(startDir);
    if (!error.empty()) return Refuse(error);
    if (options.help) {
        std::fputs(snapshot::kUsage, stdout);
        return 0;
    }
    snapshot::RgbPicture reference;
    if (!options.reference.empty()) {
        std::string why;
        if (!snapshot::ReadPng(options.reference, reference, why))
            return Refuse("--compare " + options.reference + ": " + why);
    }
    // Opened before --dir is entered, so that a relative name is the caller's.
    if (const char* tracePath = std::getenv("TESSALINE_TRACE")) platform::TraceToFile(tracePath);
    static snapshot::TraceKeeper keeper(platform::GetCallTrace());
    platform::SetCallTrace(&keeper);
    static snapshot::StrictWatch watch(&keeper);
    if (options.strict) platform::SetCallTrace(&watch);
    static Capture capture;
    capture.trace = &keeper;
    d3d9::InstrumentOptions instruments;
    instruments.debugLayer = options.debugLayer;
    for (const std::string& text : options.constants) {
        d3d9::ConstantSetting setting;
        d3d9::ReadConstantSetting(text, setting);
        instruments.constants.push_back(std::move(setting));
    }
    instruments.report = [](const d3d9::Finding& finding) {
        std::fprintf(stderr, "%s\n", d3d9::FindingLine(finding).c_str());
        if (finding.kind == d3d9::Finding::Kind::Warning) capture.findings.push_back(finding.text);
        if (finding.kind == d3d9::Finding::Kind::BadSetting)
            capture.badSettings.push_back(finding.text);
    };
    d3d9::SetInstruments(std::move(instruments));
    gl::RecordNewDevicesFrames(!options.probes.empty());
    d3dx::UseCompileCache(d3dx::DefaultCompileCacheDir());
    if (!options.dir.empty() && chdir(options.dir.c_str()) != 0)
        return Refuse("--dir " + options.dir + ": cannot enter it");
    if (!sdl::HoldsProgramFiles(".")) {
        char* here = getcwd(nullptr, 0);
        std::fprintf(
            stderr, "%s\n",
            sdl::MissingFilesHint(here ? here : ".", sdl::BundledAssetsDir(), "tessaline-snapshot")
                .c_str());
        std::free(here);
    }

    capture.options = &options;
    capture.frames = snapshot::FramesToWrite(options);
    setenv("SDL_VIDEODRIVER", options.driver.c_str(), 1);
    if (!sdl::InstallSdlPlatform()) return 1;
    d3dx::StartWarmUp();
    platform::SetInputScript(snapshot::InputScript(options));
    gl::ObserveNewDevices(OnPresent, &capture);
    char commandLine[] = "";
    const int code = WinMain(platform::ModuleHandle(), nullptr, commandLine, 10);
    // The warm-up thread is joined by the first compile that runs; when none ran (no shader
    // files) it must be joined here, or the process aborts as it exits.
    d3dx::FinishBackgroundWork();

    for (long frame : capture.frames) {
        if (!capture.written.count(frame) && capture.presented <= frame) {
            std::fprintf(stderr, "tessaline-snapshot: frame %ld was not presented (%ld were)\n",
                         frame, capture.presented);
            ++capture.failures;
        }
    }
    std::vector<std::string> problems = watch.Problems();
    if (options.strictDebug) {
        for (const std::string& finding : capture.findings) problems.push_back("debug: " + finding);
    }
    if (options.strict) {
        for (const std::string& problem : problems)
            std::fprintf(stderr, "tessaline-snapshot: strict: %s\n", problem.c_str());
    }
    int comparison = 0;
    if (!options.reference.empty() && !capture.failures) {
        comparison = CompareWithReference(options, capture.compared, reference);
        if (!CompareTraces(options, capture.comparedTrace) && !comparison)
            comparison = snapshot::kExitWriteFailed;
    }
    if (comparison == snapshot::kExitBadOptions || !capture.badSettings.empty())
        return snapshot::kExitBadOptions;
    if (capture.failures || comparison == snapshot::kExitWriteFailed)
        return snapshot::kExitWriteFailed;
    if (code != 0) return code;
    if (options.strict && !problems.empty()) return snapshot::kExitStrict;
    return comparison;
}
