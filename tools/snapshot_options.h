// tessaline-snapshot's command line: its help text, the options as one plain record, and their
// reading with every malformed or out-of-run value refused in one line. Also the input script the
// options make (keys, mouse moves, the close box) and the names of the files a run writes.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/core/window_system.h"

namespace snapshot {

extern const char kUsage[];

// Exit codes of the tool besides the program's own.
inline constexpr int kExitWriteFailed = 1;
inline constexpr int kExitBadOptions = 2;
inline constexpr int kExitStrict = 3;
inline constexpr int kExitCompare = 4;

struct KeyHold {
    long at = 0;
    WPARAM key = 0;
    long hold = 1;
};
struct MouseMove {
    long at = 0;
    long dx = 0, dy = 0;
};
struct PeriodicKey {
    long every = 0;
    WPARAM key = 0;
};

struct Options {
    bool help = false;
    std::string dir;  // empty: the current directory
    long iterations = 2;
    std::set<long> frames;  // empty: the last frame
    std::string out;        // absolute once read: relative names are taken from the start directory
    std::vector<KeyHold> keys;
    std::vector<MouseMove> moves;
    std::vector<PeriodicKey> periodic;
    std::set<long> memoryReports;
    bool stampFirstFrame = false;
    std::string driver = "offscreen";
    bool strict = false;
    std::string reference;    // --compare, absolute once read; empty: no comparison
    double threshold = 0.1;   // percent of pixels that may differ
    double tolerance = 16.0;  // colour distance at which a pixel differs
    // Instruments (instruments.h, gl_pixel_history.h).
    std::vector<std::pair<int, int>> probes;  // --probe X,Y: pixel histories of written frames
    std::vector<std::string> constants;       // --set NAME=v,...: checked, as given
    bool debugLayer = true;                   // off with --no-debug
    bool strictDebug = false;                 // --strict=debug: findings fail the run too
};

// The back buffer's size, which the program fixes: probes must fall inside it.
inline constexpr int kFrameWidth = 1000;
inline constexpr int kFrameHeight = 500;

// Reads the arguments after the program name; `startDir` is the directory relative names are
// taken from. Returns the empty string, or one line that says what is wrong.
std::string ReadOptions(const std::vector<std::string>& args, const std::string& startDir,
                        Options& out);

// The frames a run writes: those asked for, or the last one.
std::set<long> FramesToWrite(const Options& options);

// The file name of frame `frame` from a pattern whose one %d (with an optional 0 or - flag and a
// width) stands for the frame number and %% for a percent sign. The pattern was checked by
// ReadOptions.
std::string FrameFileName(const std::string& pattern, long frame);

// The difference picture's name beside a frame file: "shot-3.png" gives "shot-3-diff.png".
std::string DiffFileName(const std::string& frameFile);
// A file beside a frame file with another ending: ("shot-3.png", ".trace") gives
// "shot-3.trace", ("shot-3.png", "-probe.png") "shot-3-probe.png".
std::string BesideFrame(const std::string& frameFile, const std::string& ending);

// Key presses, mouse moves and, after the last iteration, the close box, as the window system
// plays them.
std::vector<platform::ScriptEvent> InputScript(const Options& options);

// The virtual-key code of a key name, in either case; 0 for none.
WPARAM KeyCode(const std::string& name);

}  // namespace snapshot
