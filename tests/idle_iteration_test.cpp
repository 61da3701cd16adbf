// The order of one idle iteration on the recording platform, where a review could swap two
// calls unseen: the movement keys act as W, S, A, D, and in mouse-look mode the camera pitches
// before it yaws.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/record/program_run.h"
#include "tests/test_assets.h"
#include "tests/test_files.h"
#include "tests/test_support.h"

namespace {

// The largest difference between two formatted matrices.
float Distance(const std::string& a, const std::string& b) {
    const std::vector<float> x = record::Numbers(a), y = record::Numbers(b);
    float worst = 0;
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i)
        worst = std::max(worst, std::fabs(x[i] - y[i]));
    return worst;
}

TEST(IdleIteration, MouseLookPitchesBeforeItYaws) {
    test::TempDir dir;
    test::WriteTestAssets(dir.path());
    record::Script script;
    script.workDir = dir.path();
    // Mouse look from iteration 1; a move only sideways read at 3, only up and down at 5.
    script.KeyDown(1, 'M').KeyUp(2, 'M').MouseMotion(3, 60, 0).MouseMotion(5, 0, 60).Close(7);
    const record::ProgramRun run = record::RunProgram(script);
    ASSERT_EQ(run.status, record::RunStatus::Returned) << run.diagnostics;
    std::vector<std::string> views;
    for (const record::Call& c : run.calls) {
        if (c.api == "SetTransform" && c.args[0] == "2") views.push_back(c.args[1]);
    }
    // Set-up's two, then two in each iteration from 1 to 6: the first after Pitch, the second
    // after Yaw.
    ASSERT_EQ(views.size(), 2u + 2 * 6);
    const auto turns = [&](int iteration) {
        const std::size_t first = 2 + 2 * static_cast<std::size_t>(iteration - 1);
        return std::pair{Distance(views[first - 1], views[first]),
                         Distance(views[first], views[first + 1])};
    };
    // Sideways: the first call (Pitch) turns nothing, the second (Yaw) turns the view.
    EXPECT_LT(turns(3).first, 1e-5f);
    EXPECT_GT(turns(3).second, 1e-2f);
    // Up and down: the first call turns it, the second does not.
    EXPECT_GT(turns(5).first, 1e-2f);
    EXPECT_LT(turns(5).second, 1e-5f);
}

// All four movement keys held for one iteration: four views, each one key's step. The camera
// starts at (0.5, 0.5, -3.5) looking at the origin, 3.5707 away, so a view's last row
// (-x.eye, -y.eye, -z.eye) starts at (0, 0, 3.5707): W takes 0.3 off its z, S puts it back,
// A (0.3 to the left) adds 0.3 to its x, and D takes that off.
TEST(IdleIteration, MovementKeysActInTheOrderWSAD) {
    test::TempDir dir;
    test::WriteTestAssets(dir.path());
    record::Script script;
    script.workDir = dir.path();
    for (WPARAM key : {WPARAM{'D'}, WPARAM{'A'}, WPARAM{'S'}, WPARAM{'W'}})
        script.KeyDown(1, key).KeyUp(2, key);
    const record::ProgramRun run = record::RunProgram(script.Close(3));
    ASSERT_EQ(run.status, record::RunStatus::Returned) << run.diagnostics;
    std::vector<std::vector<float>> views;
    for (const record::Call& c : run.calls) {
        if (c.api == "SetTransform" && c.args[0] == "2")
            views.push_back(record::Numbers(c.args[1]));
    }
    ASSERT_EQ(views.size(), 2u + 4);
    const char* keys[4] = {"W", "S", "A", "D"};
    const float lastRows[4][3] = {
        {0, 0, 3.270714f}, {0, 0, 3.570714f}, {0.3f, 0, 3.570714f}, {0, 0, 3.570714f}};
    for (int k = 0; k < 4; ++k) {
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(views[2 + k][12 + i], lastRows[k][i], 1e-5f) << keys[k] << ", " << i;
    }
}

}  // namespace
