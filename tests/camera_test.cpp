// The free-look camera: its moves and turns by the numbers, the view it hands the device, and
// the degenerate directions that must change nothing.
#include <gtest/gtest.h>

#include <cmath>

#include "camera/camera.h"
#include "input/mouse_input.h"
#include "platform/record/program_run.h"
#include "platform/record/record_platform.h"
#include "render/graphics.h"
#include "tests/test_assets.h"
#include "tests/test_files.h"
#include "tests/test_support.h"

namespace {

class Cameras : public ::testing::Test {
  protected:
    void SetUp() override {
        record::InstallRecordingPlatform();
        if (device) device->Release();  // some tests start again from here
        device = test::RecordingDevice();
        mouseInput = &mouse_;
        record::Log().Clear();
        cam_.autoUpdate = true;
        cam_.eye = {0.5f, 0.5f, -3.5f};
        cam_.target = {0.5f, 0.5f, -2.5f};
        cam_.up = {0, 1, 0};
    }
    void TearDown() override {
        device->Release();
        device = nullptr;
        mouseInput = nullptr;
    }

    Vec3 Dir() const {
        return {cam_.target.x - cam_.eye.x, cam_.target.y - cam_.eye.y, cam_.target.z - cam_.eye.z};
    }
    std::vector<std::string> Views() {
        return test::TextsOf(record::Log().Calls(), {"SetTransform"});
    }

    Camera cam_;
    MouseInput mouse_;
};

void ExpectVec(Vec3 a, Vec3 b, float tolerance = 1e-4f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST_F(Cameras, MoveGoesForwardAndStrafeGoesLeft) {
    cam_.Move(+1);
    ExpectVec(cam_.eye, {0.5f, 0.5f, -3.2f});
    ExpectVec(cam_.target, {0.5f, 0.5f, -2.2f});
    SetUp();
    cam_.Strafe(+1);
    ExpectVec(cam_.eye, {0.2f, 0.5f, -3.5f});
    ExpectVec(cam_.target, {0.2f, 0.5f, -2.5f});
    // Each operation hands the device its view at once.
    Matrix4 view;
    D3DXMatrixLookAtLH(&view, &cam_.eye, &cam_.target, &cam_.up);
    EXPECT_EQ(Views(),
              std::vector<std::string>{test::CallText(
                  "SetTransform", test::Args(2, platform::Verbatim{FmtValue(view)}), "0")});
}

TEST_F(Cameras, YawAndPitchTurnByTheMouseCountsTimesTheSensitivity) {
    mouse_.deltaX = 100;
    cam_.Yaw();
    ExpectVec(Dir(), {0.3429f, 0, 0.9394f});  // 0.35 rad to the right
    SetUp();
    mouse_.deltaX = 0;
    mouse_.deltaY = 100;
    cam_.Pitch();
    ExpectVec(Dir(), {0, -0.3429f, 0.9394f});  // toward the user: down
    EXPECT_EQ(cam_.eye.z, -3.5f);
}

TEST_F(Cameras, YawWhileLookingUpTurnsAboutTheLocalUpAndLowersTheElevation) {
    cam_.target = {cam_.eye.x, cam_.eye.y + std::sin(0.5f), cam_.eye.z + std::cos(0.5f)};
    mouse_.sensitivity = 0.003f;
    mouse_.deltaX = 100;  // 0.3 rad
    cam_.Yaw();
    ExpectVec(Dir(), {0.2955f, 0.4580f, 0.8384f});
    EXPECT_NEAR(std::asin(Dir().y), 0.4758f, 1e-3f);
}

TEST_F(Cameras, OppositeMovesInOneIterationCancel) {
    const Vec3 eye = cam_.eye, target = cam_.target;
    cam_.Move(+1);
    cam_.Move(-1);
    cam_.Strafe(+1);
    cam_.Strafe(-1);
    ExpectVec(cam_.eye, eye, 1e-6f);
    ExpectVec(cam_.target, target, 1e-6f);
}

TEST_F(Cameras, MouseLookWithNoMovementPullsTheTargetToUnitDistance) {
    cam_.target = {0.5f, 0.5f, 1.5f};  // five units ahead
    cam_.Pitch();
    cam_.Yaw();
    ExpectVec(cam_.target, {0.5f, 0.5f, -2.5f});
    EXPECT_EQ(Views().size(), 2u);
}

TEST_F(Cameras, DegenerateDirectionsChangeNothingAndNeverReachTheViewAsNaN) {
    struct Case {
        const char* name;
        Vec3 target;
    } cases[] = {
        {"target on the eye", {0.5f, 0.5f, -3.5f}},
        {"looking straight up", {0.5f, 4.5f, -3.5f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        cam_.target = c.target;
        mouse_.deltaX = mouse_.deltaY = 50;
        const Vec3 eye = cam_.eye;
        const bool onEye = c.target.y == eye.y;
        cam_.Strafe(+1);
        cam_.Pitch();
        cam_.Yaw();
        if (onEye) cam_.Move(+1);
        ExpectVec(cam_.eye, eye, 0);
        ExpectVec(cam_.target, c.target, 0);
        EXPECT_TRUE(Views().empty());
        cam_.UpdateView();
        for (const auto& row : cam_.view.m) {
            for (float v : row) EXPECT_TRUE(std::isfinite(v));
        }
    }
}

TEST(CameraInTheProgram, HeldKeysMoveAndMouseLookTurnsTheViewEveryIteration) {
    test::TempDir dir;
    test::WriteTestAssets(dir.path());
    record::Script script;
    script.workDir = dir.path();
    // W held over iterations 1 to 3; then mouse look on and a mouse move right at iteration 6.
    script.KeyDown(1, 'W').KeyUp(4, 'W').KeyDown(5, 'M').KeyUp(6, 'M').MouseMotion(6, 100, 0);
    script.KeyDown(7, 'W').KeyDown(7, 'S').Close(9);
    const record::ProgramRun run = record::RunProgram(script);
    ASSERT_EQ(run.status, record::RunStatus::Returned) << run.diagnostics;
    EXPECT_EQ(run.exitCode, 0);
    std::vector<std::string> views;
    for (const record::Call& c : run.calls) {
        if (c.api == "SetTransform" && c.args[0] == "2") views.push_back(c.args[1]);
    }
    // Set-up's two, three moves, pitch and yaw at iterations 5 to 8 (the toggle applies at 5),
    // and W and S at 7 and 8.
    ASSERT_EQ(views.size(), 2u + 3 + 2 * 4 + 2 * 2);
    const auto near = [](const std::string& a, const Matrix4& b) {
        const std::vector<float> n = record::Numbers(a);
        for (int i = 0; i < 16; ++i) {
            if (std::fabs(n[i] - b.m[i / 4][i % 4]) > 1e-4f) return false;
        }
        return true;
    };
    // Three steps of 0.3 toward the target at the origin.
    const Vec3 start{0.5f, 0.5f, -3.5f}, up{0, 1, 0};
    const float length = std::sqrt(0.25f + 0.25f + 12.25f);
    const Vec3 step{-start.x / length * 0.9f, -start.y / length * 0.9f, -start.z / length * 0.9f};
    const Vec3 eye{start.x + step.x, start.y + step.y, start.z + step.z};
    Matrix4 walked;
    D3DXMatrixLookAtLH(&walked, &eye, &step, &up);
    EXPECT_TRUE(near(views[4], walked)) << views[4];
    // W and S together at 7 and 8 leave the view where iteration 6's turn put it.
    const std::string turned = views[2 + 3 + 2 * 2 - 1];
    Matrix4 last;
    const std::vector<float> n = record::Numbers(turned);
    for (int i = 0; i < 16; ++i) last.m[i / 4][i % 4] = n[i];
    EXPECT_TRUE(near(views.back(), last)) << views.back();
    EXPECT_NE(views[2 + 3 + 2 * 2 - 1], views[2 + 3 + 2 - 1]);  // the mouse move turned it
}

}  // namespace

namespace {

TEST(CameraInTheProgram, AStrafesByPlusOneAndDByMinusOne) {
    test::TempDir dir;
    test::WriteTestAssets(dir.path());
    record::Script script;
    script.workDir = dir.path();
    // A for iteration 1 only, then D for iteration 3 only.
    script.KeyDown(1, 'A').KeyUp(2, 'A').KeyDown(3, 'D').KeyUp(4, 'D').Close(5);
    const record::ProgramRun run = record::RunProgram(script);
    ASSERT_EQ(run.status, record::RunStatus::Returned) << run.diagnostics;
    std::vector<std::vector<float>> views;
    for (const record::Call& c : run.calls) {
        if (c.api == "SetTransform" && c.args[0] == "2")
            views.push_back(record::Numbers(c.args[1]));
    }
    ASSERT_EQ(views.size(), 2u + 2);  // set-up's two, then A's and D's
    // From the eye at (0.5, 0.5, -3.5) looking at the origin, 3.5707 away: the axes are
    // x = (0.98995, 0, 0.14142), y = (-0.01980, 0.99015, 0.13862), z = -eye / 3.5707. A strafe
    // keeps them and moves the eye along -x (left) by 0.3, so the last row, (-x.eye, -y.eye,
    // -z.eye), goes from (0, 0, 3.5707) to (0.3, 0, 3.5707); D brings it back.
    const float axes[12] = {0.989949f,  -0.019803f, -0.140028f, 0,         0,         0.990148f,
                            -0.140028f, 0,          0.141421f,  0.138621f, 0.980196f, 0};
    const float lastRows[2][4] = {{0.3f, 0, 3.570714f, 1}, {0, 0, 3.570714f, 1}};
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k == 0 ? "A: Strafe(+1)" : "D: Strafe(-1)");
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(views[2 + k][i], i < 12 ? axes[i] : lastRows[k][i - 12], 1e-5f) << i;
    }
}

}  // namespace
