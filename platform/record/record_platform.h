// The recording platform: a window system, a Direct3D 9 device and a DirectInput mouse that log
// every call (record::Log) and take their input and their failures from a script, for tests.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <vector>

#include "platform/window_input.h"

namespace record {

// One step of the scripted mouse: what GetDeviceState reports at the start of an idle iteration.
struct MouseStep {
    std::uint64_t iteration = 0;
    LONG dx = 0, dy = 0, dz = 0;
    BYTE buttons[4] = {};
};

struct Options {
    // Direct3D.
    bool failCreateDevice = false;
    std::set<int> failBeginScene;  // 1-based BeginScene calls that fail
    // DirectInput: each set-up step can be made to fail.
    bool failDirectInputCreate = false;
    bool failCreateDevice8 = false;
    bool createDevice8ReturnsNull = false;
    bool failSetDataFormat = false;
    bool failGetCapabilities = false;
    bool mouseDetached = false;
    std::set<std::uint64_t> failReadAt;  // idle iterations whose read fails with DIERR_INPUTLOST
    int acquireInputLostTimes = 0;       // Acquire answers DIERR_INPUTLOST this many times first
    bool acquireAlwaysLost = false;
    // The window system: a run longer than this many idle iterations is cut short.
    std::uint64_t maxIdleIterations = 100000;
};

Options& CurrentOptions();

// Called at the start of each idle iteration, with its number (Script::beforeIteration).
void SetIdleHook(std::function<void(std::uint64_t iteration)> hook);

// Installs the log as the call trace and the recording window backend; resets the log, the
// object names and the window system.
void InstallRecordingPlatform(const Options& options = {});

// State the recorder keeps beside the log.
bool CursorVisible();
bool ScreenSaverAllowed();

}  // namespace record
