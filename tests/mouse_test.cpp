// The mouse through the recording DirectInput: each set-up failure with its box and where the
// set-up stops, what a failed read publishes, and how often a lost device is re-acquired.
#include <gtest/gtest.h>

#include "platform/record/program_run.h"
#include "tests/test_assets.h"
#include "tests/test_files.h"
#include "tests/test_support.h"

namespace {

using record::ProgramRun;
using record::Script;

class Mouse : public ::testing::Test {
  protected:
    ProgramRun Run(Script script) {
        test::WriteTestAssets(dir_.path());
        script.workDir = dir_.path();
        ProgramRun run = record::RunProgram(script);
        EXPECT_EQ(run.status, record::RunStatus::Returned) << run.diagnostics;
        EXPECT_EQ(run.exitCode, 0);
        return run;
    }
    test::TempDir dir_;
};

struct SetUpCase {
    const char* name;
    void (*spoil)(record::Options&);
    const char* box;            // nullptr: none
    const char* lastMouseCall;  // the last DirectInput call of the set-up
};

// The DirectInput calls of the set-up: everything before the loop's first PeekMessageA.
std::vector<record::Call> SetUpCalls(const ProgramRun& run) {
    std::vector<record::Call> out;
    for (const record::Call& c : run.calls) {
        if (c.api == "PeekMessageA") break;
        if (c.api == "DirectInput8Create" || c.api == "SetDataFormat" || c.api == "Acquire" ||
            c.api == "SetCooperativeLevel" || c.api == "GetDeviceState" ||
            c.api == "GetCapabilities" || (c.api == "CreateDevice" && c.args[0] == "dinput#1")) {
            out.push_back(c);
        }
    }
    return out;
}

TEST_F(Mouse, EachSetUpFailureShowsItsBoxAndStops) {
    const SetUpCase cases[] = {
        {"DirectInput fails", [](record::Options& o) { o.failDirectInputCreate = true; },
         "DirectInput init FAILED!", "DirectInput8Create"},
        {"the device fails", [](record::Options& o) { o.failCreateDevice8 = true; },
         "Mouse init failed!", "CreateDevice"},
        {"no device comes back", [](record::Options& o) { o.createDevice8ReturnsNull = true; },
         "Can't recognize pointing device!", "CreateDevice"},
        {"the data format is refused", [](record::Options& o) { o.failSetDataFormat = true; },
         "Mouse: SetDataFormat() failed!", "SetDataFormat"},
        {"the mouse is not attached", [](record::Options& o) { o.mouseDetached = true; },
         "Mouse is currently not attached!", "GetCapabilities"},
        {"the capabilities cannot be read",
         [](record::Options& o) { o.failGetCapabilities = true; },
         "Mouse is currently not attached!", "GetCapabilities"},
        {"all is well", [](record::Options&) {}, nullptr, "GetCapabilities"},
    };
    for (const SetUpCase& c : cases) {
        SCOPED_TRACE(c.name);
        Script script;
        c.spoil(script.options);
        // Mouse look on, the mouse moved: a mouse that failed to set up still turns nothing.
        const ProgramRun run = Run(script.KeyDown(1, 'M').MouseMotion(2, 40, 40).Close(4));
        std::vector<std::string> boxes;
        for (const record::Call& c2 : record::Only(run.calls, {"MessageBoxA"}))
            boxes.push_back(c2.args[1]);
        if (c.box) {
            EXPECT_EQ(boxes, std::vector<std::string>{test::Fmt(c.box)});
            EXPECT_EQ(record::Only(run.calls, {"MessageBoxA"})[0].args[0], "NULL");
            EXPECT_EQ(record::Only(run.calls, {"MessageBoxA"})[0].args[2], "\"ERROR\"");
            EXPECT_EQ(record::Only(run.calls, {"MessageBoxA"})[0].args[3], test::Fmt(MB_OK));
        } else {
            EXPECT_TRUE(boxes.empty());
        }
        const std::vector<record::Call> setUp = SetUpCalls(run);
        ASSERT_FALSE(setUp.empty());
        EXPECT_EQ(setUp.back().api, c.lastMouseCall);
        // The mouse moved at iteration 2: only a mouse that was set up turns the view.
        const auto views = test::TextsOf(run.calls, {"SetTransform"});
        std::vector<std::string> looks;
        for (const record::Call& v : record::Only(run.calls, {"SetTransform"})) {
            if (v.args[0] == "2") looks.push_back(v.args[1]);
        }
        ASSERT_EQ(looks.size(), 2u + 2 * 3);
        EXPECT_EQ(looks[5] != looks[3], c.box == nullptr);
    }
}

// The view transforms the camera sends, in order.
std::vector<std::vector<float>> Views(const ProgramRun& run) {
    std::vector<std::vector<float>> out;
    for (const record::Call& c : run.calls) {
        if (c.api == "SetTransform" && c.args[0] == "2") out.push_back(record::Numbers(c.args[1]));
    }
    return out;
}

TEST_F(Mouse, AFailedReadPublishesNoMovement) {
    Script script;
    // Mouse look from iteration 1; a move right read at iteration 3; iteration 4's read fails.
    script.options.failReadAt = {4};
    const ProgramRun run = Run(script.KeyDown(1, 'M').MouseMotion(3, 100, 0).Close(6));
    const auto views = Views(run);
    // Set-up's two, then Pitch and Yaw at iterations 1 to 5.
    ASSERT_EQ(views.size(), 2u + 2 * 5);
    const std::vector<float>& afterTurn = views[2 + 2 * 3 - 1];
    const std::vector<float>& afterFailedRead = views[2 + 2 * 4 - 1];
    EXPECT_NE(views[2 + 2 * 2 - 1], afterTurn);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(afterFailedRead[i], afterTurn[i], 1e-6f) << i;
    // The failed read is followed by one Acquire, and the next read succeeds.
    const auto reads = test::TextsOf(run.calls, {"GetDeviceState", "Acquire"});
    EXPECT_NE(std::find(reads.begin(), reads.end(),
                        "GetDeviceState(mouse#1, 16) = " + test::Fmt(DIERR_INPUTLOST)),
              reads.end());
}

TEST_F(Mouse, ALostDeviceIsReacquiredABoundedNumberOfTimesPerPoll) {
    Script script;
    script.options.failReadAt = {2};
    script.options.acquireAlwaysLost = true;
    const ProgramRun run = Run(script.Close(4));
    const std::vector<std::string> calls = test::TextsOf(run.calls, {"Acquire"});
    // One Acquire at set-up (lost too), then eight for the failed read of iteration 2; later
    // reads find the device unacquired and try eight times each.
    const std::size_t afterSetUp = calls.size() - 1;
    EXPECT_EQ(afterSetUp % 8, 0u);
    EXPECT_GE(afterSetUp, 8u);
}

TEST_F(Mouse, AMouseAtRestReadsZeroAndMovementIsRelative) {
    const ProgramRun run = Run(Script{}.MouseMotion(2, 5, -3).MouseMotion(2, 1, 1).Close(4));
    const std::vector<std::string> reads = test::TextsOf(run.calls, {"GetDeviceState"});
    ASSERT_EQ(reads.size(), 1u + 4);
    EXPECT_EQ(reads[2], "GetDeviceState(mouse#1, 16) = 0 (0 0 0 0 0 0 0)");
    EXPECT_EQ(reads[3], "GetDeviceState(mouse#1, 16) = 0 (6 -2 0 0 0 0 0)");
    EXPECT_EQ(reads[4], "GetDeviceState(mouse#1, 16) = 0 (0 0 0 0 0 0 0)");
}

}  // namespace
