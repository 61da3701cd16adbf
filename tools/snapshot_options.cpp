// tessaline-snapshot's command line, read strictly: a value that does not parse whole, a key
// that does not exist, a frame or an input outside the run, an option that needs another, all
// are refused in one line before anything runs.
#include "tools/snapshot_options.h"

#include <sys/stat.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

#include "platform/core/environment_usage.h"
#include "platform/d3d9/instruments.h"

namespace snapshot {

const char kUsage[] = R"(usage: tessaline-snapshot [options]

Runs Tessaline headless (SDL's offscreen driver, the OpenGL device on the system's driver, such
as Mesa's llvmpipe) for a number of idle iterations, with scripted keys and mouse movement, and
writes chosen frames as PNG files. The program reads vertex.vsh, pixel.psh, Tiger.x, seafloor.x
and their textures from its current directory (see --dir). Message boxes go to stderr. For CI,
--strict fails a run in which the program reported a problem and --compare fails a frame that
differs from a reference picture.

Options:
  --dir DIR            run in DIR (default: the current directory)
  --iterations N       idle iterations to run before the window is closed (default 2)
  --frame N            write frame N, the frame of idle iteration N (from 0 to the iteration
                       count less one); may be repeated; default: the last frame
  --out PATTERN        file name for frames, with %d for the frame number (default
                       frame-%d.png); a relative name is taken from the directory the tool was
                       started in, not from --dir; the absolute name of every file written is
                       printed on stdout, one line each, but for the trace that is always
                       written beside each frame (see Traces)
  --key ITER:KEY[:N]   hold KEY down from idle iteration ITER for N iterations (default 1);
                       KEY is a letter, a digit, SPACE, RETURN, ESCAPE, LEFT, RIGHT, UP, DOWN
                       or F1 to F12, in either case
  --mouse ITER:DX:DY   move the mouse by DX, DY counts at idle iteration ITER
  --every N:KEY        press KEY for one iteration every N iterations, N at least 2 (soak runs)
  --strict             exit code 3 when the program showed a message box, a shader failed
                       to compile or the device refused a compiled shader; each is named on
                       stderr, one line each
  --strict=debug       as --strict, and also when the debug layer found a problem
  --compare REF        compare the written frame with the PNG picture REF (a relative name is
                       taken from the start directory); see Comparing with a reference
  --threshold T        the share of pixels, in percent, that may differ from the reference
                       (default 0.1)
  --tolerance D        the colour distance above which a pixel differs (default 16)
  --probe X,Y          print the history of pixel (X, Y) of each written frame (see Pixel
                       history); may be repeated
  --set NAME=V[,V...]  set the constant NAME of the bound vertex or pixel shader through its
                       constant table each time the shader is bound, converted to its type
                       (float, int, bool; a vector, matrix or array takes several values, row
                       by row); a name neither bound shader has is an error that lists the
                       names they have (exit code 2); may be repeated
  --no-debug           turn the Direct3D 9 debug layer off (see The debug layer)
  --report-memory N    print the resident size after frame N; may be repeated
  --stamp-first-frame  print the monotonic clock and the process's CPU time (ns) when the
                       first frame is presented
  --driver NAME        SDL video driver (default offscreen; x11 shows the window)
  --help               print this text and exit

The first frame:
In every frame the program draws the tiger (slot 0) before it binds the pixel shader, and the
sea floor (slot 1) after; the binding stays for the next frame, as in Direct3D 9 programs of
this shape. So frame 0 shows the tiger through the fixed-function pipeline and only the sea
floor through pixel.psh; from frame 1 on both meshes show the pixel shader. That is why the
default run is two iterations and writes frame 1.

Comparing with a reference:
The colour distance of a pixel is the Euclidean distance between its red, green and blue
levels and those of the same pixel in the reference, each level from 0 to 255: one channel one
level apart is 1, black against white is 441.7. A pixel differs when its distance is above the
tolerance; the frame fails when the share of differing pixels is above the threshold. The
reference must be the frame's size, 1000 x 500. A frame that fails gets a difference picture
beside it (shot-1.png gives shot-1-diff.png): differing pixels red, pixels within the tolerance
but not equal yellow, the rest a faded grey copy of the reference. One line on stderr gives
the count, the share and the largest distance. --compare needs exactly one frame to write.

Traces:
Beside each frame it writes the tool writes the calls the program made up to that frame
(shot-1.png gives shot-1.trace; in runs of more than 256 frames, the set-up and the last 256
frames): one call a line, with notes beneath calls that explain them (a refusal's reason, a
shader's source and code digests). With --compare REF.png and REF.trace beside it, the tool
names the first call in which the two runs differ.

Pixel history:
--probe X,Y prints, for each written frame, the final colour of pixel (X, Y) (0,0 is the top
left) and every clear and draw of the frame that touched it, in order: the draw's number,
mesh and subset, its shader or fixed function, the depth test's verdict, the colour it
produced and the colour after blending; and for the last draw that wrote the pixel, its pixel
stage's inputs by semantic (COLOR0, TEXCOORD0, ...) and its output. The frame is replayed at
the pixel's centre, so a pixel on a multisampled edge may end otherwise than the frame's mixed
one. A picture of the frame with the probed pixels marked and the report beneath is written
beside the frame (shot-1.png gives shot-1-probe.png).

The debug layer:
On unless --no-debug, it says once each, on stderr, what a Direct3D 9 debug runtime would warn
of: a constant the bound shader reads that nothing has set (it reads 0), a sampler the shader
reads with no texture bound, a vertex shader created and never bound, a texture coordinate set
the pixel shader reads that the fixed-function vertex stage does not produce; and, as (INFO),
each shader's instruction slot estimate.

Exit codes:
  0                    the run ended, every frame was written and every check passed
  1                    a frame was not presented or could not be written whole (the reason
                       is said; a frame file is replaced only by a whole one)
  2                    a bad option, or a reference that cannot be read or has another size,
                       or a --set that no bound shader can take
  3                    --strict: a message box was shown, a compile failed or the device
                       refused a shader (--strict=debug: or the debug layer found a problem)
  4                    --compare: more pixels differ than the threshold allows
When several apply, the first of 2, 1, the program's own non-zero exit code, 3 and 4 is the
tool's exit code.

)" TESS_ENVIRONMENT_USAGE R"(
Examples:
    tessaline-snapshot --dir assets --iterations 30 --key 5:W:10 --frame 29 --out shot-%d.png
    tessaline-snapshot --dir assets --strict --compare reference.png --out frame.png
    tessaline-snapshot --dir assets --probe 500,300 --set tint=1,0.5,0.5,1 --out shot.png
)";

namespace {

// Far beyond any run, and small enough that ITER + N and frame numbers never overflow.
constexpr long kMaxCount = 1'000'000'000;
constexpr long kMaxMouse = 1'000'000;
constexpr double kMaxDistance = 441.68;  // sqrt(3) * 255, black against white

bool ReadLong(const std::string& text, long& out) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && !text.empty();
}

bool ReadDouble(const std::string& text, double& out) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(out);
}

std::vector<std::string> SplitColons(const std::string& text) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == ':') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Absolute(const std::string& path, const std::string& startDir) {
    return !path.empty() && path[0] == '/' ? path : startDir + "/" + path;
}

// Checks a file name pattern: at most one frame number (%d, %5d, %05d, %-5d) and %% for a
// percent sign. Counts the frame numbers in `numbers`.
bool CheckPattern(const std::string& pattern, int& numbers) {
    numbers = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') continue;
        ++i;
        if (i < pattern.size() && pattern[i] == '%') continue;
        if (i < pattern.size() && (pattern[i] == '0' || pattern[i] == '-')) ++i;
        std::size_t digits = 0;
        while (i < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[i])) &&
               digits < 2) {
            ++i;
            ++digits;
        }
        if (i >= pattern.size() || pattern[i] != 'd') return false;
        ++numbers;
    }
    return numbers <= 1;
}

std::string Fault(const std::string& option, const std::string& value, const std::string& why) {
    return option + (value.empty() ? "" : " " + value) + ": " + why;
}

}  // namespace

WPARAM KeyCode(const std::string& given) {
    std::string name = given;
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return static_cast<WPARAM>(name[0]);
    }
    static const std::map<std::string, WPARAM> kNamed = {
        {"SPACE", VK_SPACE}, {"RETURN", VK_RETURN}, {"ENTER", VK_RETURN}, {"ESCAPE", VK_ESCAPE},
        {"LEFT", VK_LEFT},   {"RIGHT", VK_RIGHT},   {"UP", VK_UP},        {"DOWN", VK_DOWN},
    };
    if (auto it = kNamed.find(name); it != kNamed.end()) return it->second;
    long n = 0;
    if (name.size() >= 2 && name[0] == 'F' && std::isdigit(static_cast<unsigned char>(name[1])) &&
        ReadLong(name.substr(1), n) && n >= 1 && n <= 12) {
        return VK_F1 + static_cast<WPARAM>(n - 1);
    }
    return 0;
}

std::string ReadOptions(const std::vector<std::string>& args, const std::string& startDir,
                        Options& out) {
    Options o;
    o.out = "frame-%d.png";
    bool thresholdGiven = false, toleranceGiven = false;
    using Reader = std::function<std::string(const std::string& option, const std::string& v)>;
    const auto count = [](long& into, long least) {
        return [&into, least](const std::string& option, const std::string& v) -> std::string {
            if (!ReadLong(v, into) || into < least || into > kMaxCount)
                return Fault(option, v, "not a whole number from " + std::to_string(least));
            return {};
        };
    };
    // Everything placed at an iteration, checked against the run's length at the end.
    std::vector<std::pair<long, std::string>> placed;
    const auto place = [&placed](long at, const std::string& option, const std::string& v) {
        placed.emplace_back(at, option + " " + v);
    };
    long frame = 0, memoryFrame = 0;
    const std::map<std::string, Reader> withValue = {
        {"--dir",
         [&](const std::string& option, const std::string& v) -> std::string {
             o.dir = Absolute(v, startDir);
             return IsDirectory(o.dir) ? "" : Fault(option, v, "no such directory");
         }},
        {"--driver",
         [&](const std::string&, const std::string& v) -> std::string {
             o.driver = v;
             return {};
         }},
        {"--iterations", count(o.iterations, 1)},
        {"--frame",
         [&](const std::string& option, const std::string& v) -> std::string {
             std::string e = count(frame, 0)(option, v);
             o.frames.insert(frame);
             place(frame, option, v);
             return e;
         }},
        {"--report-memory",
         [&](const std::string& option, const std::string& v) -> std::string {
             std::string e = count(memoryFrame, 0)(option, v);
             o.memoryReports.insert(memoryFrame);
             place(memoryFrame, option, v);
             return e;
         }},
        {"--out",
         [&](const std::string& option, const std::string& v) -> std::string {
             int numbers = 0;
             if (v.empty() || !CheckPattern(v, numbers))
                 return Fault(option, v,
                              "a file name with at most one %d and %% for a percent sign");
             o.out = v;
             return {};
         }},
        {"--key",
         [&](const std::string& option, const std::string& v) -> std::string {
             const std::vector<std::string> p = SplitColons(v);
             KeyHold k;
             if (p.size() < 2 || p.size() > 3 || !ReadLong(p[0], k.at) || k.at < 0 ||
                 k.at > kMaxCount || !(k.key = KeyCode(p[1])) ||
                 (p.size() == 3 && (!ReadLong(p[2], k.hold) || k.hold < 1 || k.hold > kMaxCount)))
                 return Fault(option, v, "not ITER:KEY or ITER:KEY:N (see --help for the keys)");
             o.keys.push_back(k);
             place(k.at, option, v);
             return {};
         }},
        {"--mouse",
         [&](const std::string& option, const std::string& v) -> std::string {
             const std::vector<std::string> p = SplitColons(v);
             MouseMove m;
             if (p.size() != 3 || !ReadLong(p[0], m.at) || m.at < 0 || m.at > kMaxCount ||
                 !ReadLong(p[1], m.dx) || !ReadLong(p[2], m.dy) || m.dx < -kMaxMouse ||
                 m.dx > kMaxMouse || m.dy < -kMaxMouse || m.dy > kMaxMouse)
                 return Fault(option, v, "not ITER:DX:DY");
             o.moves.push_back(m);
             place(m.at, option, v);
             return {};
         }},
        {"--every",
         [&](const std::string& option, const std::string& v) -> std::string {
             const std::vector<std::string> p = SplitColons(v);
             PeriodicKey k;
             if (p.size() != 2 || !ReadLong(p[0], k.every) || k.every < 2 || k.every > kMaxCount ||
                 !(k.key = KeyCode(p[1])))
                 return Fault(option, v, "not N:KEY with N at least 2");
             o.periodic.push_back(k);
             return {};
         }},
        {"--compare",
         [&](const std::string& option, const std::string& v) -> std::string {
             if (v.empty()) return Fault(option, v, "an empty file name");
             o.reference = Absolute(v, startDir);
             return {};
         }},
        {"--threshold",
         [&](const std::string& option, const std::string& v) -> std::string {
             thresholdGiven = true;
             if (!ReadDouble(v, o.threshold) || o.threshold < 0 || o.threshold > 100)
                 return Fault(option, v, "not a percentage from 0 to 100");
             return {};
         }},
        {"--probe",
         [&](const std::string& option, const std::string& v) -> std::string {
             const std::size_t comma = v.find(',');
             long x = -1, y = -1;
             if (comma == std::string::npos || !ReadLong(v.substr(0, comma), x) ||
                 !ReadLong(v.substr(comma + 1), y) || x < 0 || y < 0 || x >= kFrameWidth ||
                 y >= kFrameHeight)
                 return Fault(option, v,
                              "not X,Y with X from 0 to " + std::to_string(kFrameWidth - 1) +
                                  " and Y from 0 to " + std::to_string(kFrameHeight - 1));
             o.probes.emplace_back(static_cast<int>(x), static_cast<int>(y));
             return {};
         }},
        {"--set",
         [&](const std::string& option, const std::string& v) -> std::string {
             d3d9::ConstantSetting setting;
             if (std::string why = d3d9::ReadConstantSetting(v, setting); !why.empty())
                 return Fault(option, v, why);
             o.constants.push_back(v);
             return {};
         }},
        {"--tolerance",
         [&](const std::string& option, const std::string& v) -> std::string {
             toleranceGiven = true;
             if (!ReadDouble(v, o.tolerance) || o.tolerance < 0 || o.tolerance > kMaxDistance)
                 return Fault(option, v, "not a colour distance from 0 to 441.68");
             return {};
         }},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
            out = o;
            return {};
        }
        if (arg == "--stamp-first-frame") {
            o.stampFirstFrame = true;
            continue;
        }
        if (arg == "--strict" || arg == "--strict=debug") {
            o.strict = true;
            o.strictDebug = o.strictDebug || arg == "--strict=debug";
            continue;
        }
        if (arg == "--no-debug") {
            o.debugLayer = false;
            continue;
        }
        const auto reader = withValue.find(arg);
        if (reader == withValue.end()) return Fault(arg, "", "unknown option (see --help)");
        if (i + 1 >= args.size()) return Fault(arg, "", "needs a value");
        if (std::string e = reader->second(arg, args[++i]); !e.empty()) return e;
    }

    // What can be checked only against the whole command line.
    for (const auto& [at, what] : placed) {
        if (at >= o.iterations)
            return what + ": not in the run of " + std::to_string(o.iterations) +
                   " iterations (0 to " + std::to_string(o.iterations - 1) + ")";
    }
    const std::size_t written = FramesToWrite(o).size();
    int numbers = 0;
    CheckPattern(o.out, numbers);
    if (written > 1 && numbers == 0)
        return Fault("--out", o.out, "needs %d when more than one frame is written");
    o.out = Absolute(o.out, startDir);
    const std::string outDir = o.out.substr(0, o.out.find_last_of('/') + 1);
    if (outDir == o.out) return Fault("--out", o.out, "not a file name");
    if (!IsDirectory(outDir)) return Fault("--out", o.out, "no such directory " + outDir);
    if (o.strictDebug && !o.debugLayer)
        return Fault("--strict=debug", "", "needs the debug layer (not --no-debug)");
    if (o.reference.empty() && (thresholdGiven || toleranceGiven))
        return Fault(thresholdGiven ? "--threshold" : "--tolerance", "", "needs --compare");
    if (!o.reference.empty()) {
        if (written != 1) return Fault("--compare", "", "needs exactly one frame to write");
        const std::string frameFile = FrameFileName(o.out, *FramesToWrite(o).begin());
        if (frameFile == o.reference || DiffFileName(frameFile) == o.reference)
            return Fault("--compare", o.reference, "would be overwritten by --out");
    }
    out = o;
    return {};
}

std::set<long> FramesToWrite(const Options& options) {
    return options.frames.empty() ? std::set<long>{options.iterations - 1} : options.frames;
}

std::string FrameFileName(const std::string& pattern, long frame) {
    std::string name;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            name += pattern[i];
            continue;
        }
        if (pattern[i + 1] == '%') {
            name += '%';
            ++i;
            continue;
        }
        // The checked conversion, given to snprintf with the argument's own length.
        const std::size_t end = pattern.find('d', i);
        const std::string format = pattern.substr(i, end - i) + "ld";
        char number[64];
        std::snprintf(number, sizeof number, format.c_str(), frame);
        name += number;
        i = end;
    }
    return name;
}

std::string DiffFileName(const std::string& frameFile) {
    const std::size_t slash = frameFile.find_last_of('/');
    const std::size_t dot = frameFile.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return hasExtension ? frameFile.substr(0, dot) + "-diff" + frameFile.substr(dot)
                        : frameFile + "-diff.png";
}

std::string BesideFrame(const std::string& frameFile, const std::string& ending) {
    const std::size_t slash = frameFile.find_last_of('/');
    const std::size_t dot = frameFile.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? frameFile.substr(0, dot) : frameFile) + ending;
}

std::vector<platform::ScriptEvent> InputScript(const Options& options) {
    std::vector<platform::ScriptEvent> events;
    const auto press = [&](long at, WPARAM key, long hold) {
        platform::ScriptEvent down;
        down.iteration = static_cast<std::uint64_t>(at);
        down.message = WM_KEYDOWN;
        down.wParam = key;
        down.lParam = 1;
        platform::ScriptEvent up = down;
        up.iteration = static_cast<std::uint64_t>(at + hold);
        up.message = WM_KEYUP;
        up.lParam = 1 | KF_REPEAT_BIT | KF_UP_BIT;
        events.push_back(down);
        events.push_back(up);
    };
    for (const KeyHold& k : options.keys) press(k.at, k.key, k.hold);
    for (const PeriodicKey& p : options.periodic)
        for (long at = p.every; at < options.iterations; at += p.every) press(at, p.key, 1);
    for (const MouseMove& m : options.moves) {
        platform::ScriptEvent move;
        move.iteration = static_cast<std::uint64_t>(m.at);
        move.kind = platform::ScriptEvent::Kind::MouseMotion;
        move.dx = static_cast<LONG>(m.dx);
        move.dy = static_cast<LONG>(m.dy);
        events.push_back(move);
    }
    // The close box after the last iteration ends the program as a user would.
    platform::ScriptEvent close;
    close.iteration = static_cast<std::uint64_t>(options.iterations);
    close.message = WM_SYSCOMMAND;
    close.wParam = SC_CLOSE;
    events.push_back(close);
    return events;
}

}  // namespace snapshot
