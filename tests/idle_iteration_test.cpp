// The order of one idle iteration on the recording platform, where a review could swap two
// calls unseen: in mouse-look mode the camera pitches before it yaws.
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

}  // namespace
