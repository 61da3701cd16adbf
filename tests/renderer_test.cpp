// The program's renderer on the recording platform: the start-up's exact calls and values, and
// what each frame sets, binds and draws as the keys change the settings.
#include <gtest/gtest.h>

#include "platform/record/program_run.h"
#include "tests/test_assets.h"
#include "tests/test_files.h"
#include "tests/test_support.h"

namespace {

using platform::Verbatim;
using record::Call;
using record::ProgramRun;
using record::Script;
using test::Args;
using test::CallText;
using test::Fmt;

constexpr float kDeg = 0.017453292f;

class Renderer : public ::testing::Test {
  protected:
    ProgramRun Run(Script script, const test::AssetOptions& assets = {}) {
        test::WriteTestAssets(dir_.path(), assets);
        script.workDir = dir_.path();
        ProgramRun run = record::RunProgram(script);
        EXPECT_EQ(run.status, record::RunStatus::Returned) << run.diagnostics;
        return run;
    }
    test::TempDir dir_;
};

Matrix4 LookAt(Vec3 eye, Vec3 at, Vec3 up) {
    Matrix4 m;
    D3DXMatrixLookAtLH(&m, &eye, &at, &up);
    return m;
}

Matrix4 World(float rx, float ry, float rz, float x, float y, float z) {
    Matrix4 a, b, c, mx, my, mz, t;
    D3DXMatrixRotationX(&mx, rx * kDeg);
    D3DXMatrixRotationY(&my, ry * kDeg);
    D3DXMatrixRotationZ(&mz, rz * kDeg);
    D3DXMatrixTranslation(&t, x, y, z);
    D3DXMatrixMultiply(&a, &my, &mx);
    D3DXMatrixMultiply(&b, &a, &mz);
    D3DXMatrixMultiply(&c, &b, &t);
    return c;
}

// The calls of one frame: from its Clear to its Present, frame `n` counting from 0.
std::vector<Call> Frame(const ProgramRun& run, int n) {
    int seen = -1;
    std::vector<Call> out;
    for (const Call& c : run.calls) {
        if (c.api == "Clear") ++seen;
        if (seen == n) out.push_back(c);
        if (seen == n && c.api == "Present") break;
    }
    return out;
}

// For each DrawSubset of a frame, the pixel shader bound at that moment.
std::vector<std::string> ShadersAtDraws(const ProgramRun& run, int frame) {
    std::string bound = "NULL";
    std::vector<std::string> out;
    int seen = -1;
    for (const Call& c : run.calls) {
        if (c.api == "Clear") ++seen;
        if (c.api == "SetPixelShader") bound = c.args[0];
        if (c.api == "DrawSubset" && seen == frame) out.push_back(c.args[0] + ":" + bound);
        if (seen > frame) break;
    }
    return out;
}

TEST_F(Renderer, StartUpMakesEveryCallWithItsValuesInOrder) {
    const ProgramRun run = Run(Script{}.Close(0));
    const std::vector<std::string> calls = test::TextsOf(run.calls, {"Direct3DCreate9",
                                                                     "CreateDevice",
                                                                     "SetRenderState",
                                                                     "SetTextureStageState",
                                                                     "SetSamplerState",
                                                                     "CreateVertexDeclaration",
                                                                     "D3DXCompileShaderFromFileA",
                                                                     "CreateVertexShader",
                                                                     "CreatePixelShader",
                                                                     "SetLight",
                                                                     "LightEnable",
                                                                     "D3DXLoadMeshFromXA",
                                                                     "D3DXCreateTextureFromFileA",
                                                                     "SetTransform",
                                                                     "D3DXCreateFontA",
                                                                     "DirectInput8Create",
                                                                     "SetDataFormat",
                                                                     "SetCooperativeLevel",
                                                                     "Acquire",
                                                                     "GetDeviceState",
                                                                     "GetCapabilities",
                                                                     "MessageBoxA"});
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = {1, 1, 1, 0};
    light.Direction = {1, 0.9f, 1};
    light.Range = 100;
    const std::string view = FmtValue(LookAt({0.5f, 0.5f, -3.5f}, {0, 0, 0}, {0, 1, 0}));
    const Verbatim device{"device#1"}, out{"&"}, none{"NULL"}, mouse{"mouse#1"};
    const std::vector<std::string> expected = {
        CallText("Direct3DCreate9", Args(32), "d3d#1"),
        CallText("CreateDevice",
                 Args(0, 1, Verbatim{"hwnd#1"}, 0x20,
                      Verbatim{"{1000 500 22 1 1 2 1 hwnd#1 1 1 80 0 0 0}"}, out),
                 "0 device#1"),
        CallText("SetRenderState", Args(139, 0), "0"),
        CallText("SetRenderState", Args(7, 1), "0"),
        CallText("SetRenderState", Args(22, 0), "0"),
        CallText("SetRenderState", Args(137, 0), "0"),
        CallText("SetRenderState", Args(161, 1), "0"),
        CallText("SetRenderState", Args(8, 3), "0"),
        CallText("SetTextureStageState", Args(0, 11, 0), "0"),
        CallText("SetTextureStageState", Args(0, 2, 2), "0"),
        CallText("SetTextureStageState", Args(0, 3, 0), "0"),
        CallText("SetTextureStageState", Args(0, 1, 4), "0"),
        CallText("SetTextureStageState", Args(0, 5, 2), "0"),
        CallText("SetTextureStageState", Args(0, 6, 0), "0"),
        CallText("SetTextureStageState", Args(0, 4, 2), "0"),
        CallText("SetSamplerState", Args(0, 7, 0), "0"),
        CallText("SetSamplerState", Args(0, 6, 2), "0"),
        CallText("SetSamplerState", Args(0, 5, 2), "0"),
        CallText("CreateVertexDeclaration",
                 Args(Verbatim{"[(0 0 2 0 0 0) (0 12 1 0 5 0) (255 0 17 0 0 0)]"}, out),
                 "0 decl#1"),
        CallText("D3DXCompileShaderFromFileA",
                 Args("vertex.vsh", none, none, "vs_main", "vs_1_1", 0, out, none, out), "0"),
        CallText("CreateVertexShader", Args(Verbatim{"code"}, out), "0 vs#1"),
        CallText("D3DXCompileShaderFromFileA",
                 Args("pixel.psh", none, none, "ps_main", "ps_2_0", 0, out, none, none), "0"),
        CallText("CreatePixelShader", Args(Verbatim{"code"}, out), "0 ps#1"),
        CallText("SetLight", Args(0, Verbatim{FmtValue(light)}), "0"),
        CallText("LightEnable", Args(0, 1), "0"),
        CallText("D3DXLoadMeshFromXA", Args("Tiger.x", 0x110, device, none, out, none, out, out),
                 "0 mesh#1 2 materials"),
        CallText("D3DXCreateTextureFromFileA", Args(device, "tiger.bmp", out), "0 tex#1"),
        CallText("D3DXLoadMeshFromXA", Args("seafloor.x", 0x110, device, none, out, none, out, out),
                 "0 mesh#2 1 materials"),
        CallText("D3DXCreateTextureFromFileA", Args(device, "sand.bmp", out), "0 tex#2"),
        // The camera: SetEye, then SetUpVector, each refreshing the view.
        CallText("SetTransform", Args(2, Verbatim{view}), "0"),
        CallText("SetTransform", Args(2, Verbatim{view}), "0"),
        CallText("D3DXCreateFontA", Args(device, 14, 0, 400, 0, 0, 1, 0, 5, 0, "Verdana", out),
                 "0 font#1"),
        CallText("DirectInput8Create",
                 Args(Verbatim{"module"}, 0x800, Verbatim{"IID_IDirectInput8A"}, out, none),
                 "0 dinput#1"),
        CallText("CreateDevice", Args(Verbatim{"dinput#1"}, Verbatim{"GUID_SysMouse"}, out, none),
                 "0 mouse#1"),
        CallText("SetDataFormat", Args(mouse, Verbatim{"c_dfDIMouse"}), "0"),
        CallText("SetCooperativeLevel", Args(mouse, Verbatim{"hwnd#1"}, 0x0A), "0"),
        CallText("Acquire", Args(mouse), "0"),
        CallText("GetDeviceState", Args(mouse, 16), "0 (0 0 0 0 0 0 0)"),
        CallText("GetCapabilities", Args(mouse), "0"),
    };
    EXPECT_EQ(calls, expected);
    // The loop starts only after all of it.
    EXPECT_GT(test::IndexOf(run.calls, "PeekMessageA"),
              test::IndexOf(run.calls, "GetCapabilities"));
}

TEST_F(Renderer, MissingShadersAreReportedVertexFirstAndTheProgramRunsOn) {
    test::AssetOptions assets;
    assets.vertexShader = assets.pixelShader = false;
    const ProgramRun run = Run(Script{}.Close(3), assets);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(test::TextsOf(run.calls, {"MessageBoxA"}),
              (std::vector<std::string>{
                  CallText("MessageBoxA",
                           Args(Verbatim{"hwnd#1"}, "bad VS code or the file doesn't exist!",
                                "WARNING", 0),
                           "1"),
                  CallText("MessageBoxA",
                           Args(Verbatim{"hwnd#1"}, "bad PS code or the file doesn't exist!",
                                "WARNING", 0),
                           "1")}));
    EXPECT_TRUE(record::Only(run.calls, {"CreateVertexShader", "CreatePixelShader"}).empty());
    // Frames bind the missing pixel shader as none and still draw.
    EXPECT_EQ(ShadersAtDraws(run, 1),
              (std::vector<std::string>{"mesh#1:NULL", "mesh#1:NULL", "mesh#2:NULL"}));
}

TEST_F(Renderer, AFrameClearsProjectsLightsDrawsWritesAndPresents) {
    const ProgramRun run = Run(Script{}.Close(2));
    const std::vector<Call> frame = Frame(run, 1);
    std::vector<std::string> names;
    names.reserve(frame.size());
    for (const Call& c : frame) names.push_back(c.api);
    const std::vector<std::string> subset = {"SetTransform", "SetMaterial", "SetTexture",
                                             "DrawSubset"};
    std::vector<std::string> expected = {"Clear",        "SetVertexShader", "SetTransform",
                                         "SetTransform", "BeginScene",      "SetLight"};
    for (int i = 0; i < 2; ++i) expected.insert(expected.end(), subset.begin(), subset.end());
    expected.insert(expected.end(), {"SetVertexDeclaration", "SetPixelShader"});
    expected.insert(expected.end(), subset.begin(), subset.end());
    expected.insert(expected.end(), {"DrawTextA", "DrawTextA", "DrawTextA", "EndScene", "Present"});
    ASSERT_EQ(names, expected);  // the checks below index into the frame

    Matrix4 projection, identity;
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 2.0f, 1.0f, 500.0f);
    D3DXMatrixIdentity(&identity);
    EXPECT_EQ(frame[0].Text(),
              CallText("Clear", Args(0, Verbatim{"NULL"}, 3, 0xFF2F2F2Fu, 1.0f, 0), "0"));
    EXPECT_EQ(frame[1].Text(), CallText("SetVertexShader", Args(Verbatim{"NULL"}), "0"));
    EXPECT_EQ(frame[2].args[1], FmtValue(projection));
    EXPECT_EQ(frame[3].args[1], FmtValue(identity));
    EXPECT_EQ(frame[5].args[1],
              "{type 1 diffuse (1 1 1 0) specular (0 0 0 0) ambient (0 0 0 0) "
              "position (0 0 0) direction (1 0.899999976 1) range 100 falloff 0 "
              "attenuation 0 0 0 theta 0 phi 0}");
    // The tiger at (0, 0, 5), the sea floor at (0, 8.5, 3), both unturned.
    EXPECT_EQ(frame[6].args[1], FmtValue(World(0, 0, 0, 0, 0, 5)));
    EXPECT_EQ(frame[16].args[1], FmtValue(World(0, 0, 0, 0, 8.5f, 3)));
    // Each material reaches the device with its diffuse colour as ambient.
    EXPECT_EQ(frame[7].args[0],
              "{diffuse (1 0.600000024 0.200000003 1) ambient (1 0.600000024 "
              "0.200000003 1) specular (0 0 0 1) emissive (0 0 0 1) power 0}");
    EXPECT_EQ(frame[8].Text(), CallText("SetTexture", Args(0, Verbatim{"tex#1"}), "0"));
    EXPECT_EQ(frame[12].Text(), CallText("SetTexture", Args(0, Verbatim{"NULL"}), "0"));
    EXPECT_EQ(frame.back().Text(),
              CallText("Present",
                       Args(Verbatim{"NULL"}, Verbatim{"NULL"}, Verbatim{"NULL"}, Verbatim{"NULL"}),
                       "0"));
}

TEST_F(Renderer, TheOverlayWritesThreeLinesDownTheRectangleUntilSpaceHidesIt) {
    const ProgramRun run = Run(Script{}.Tap(2, VK_SPACE).KeyDown(2, VK_SPACE).Close(4));
    const Verbatim font{"font#1"}, none{"NULL"};
    const std::vector<std::string> expected = {
        CallText("DrawTextA",
                 Args(font, none, "rendering in process...", -1, Verbatim{"(0 0 1000 500)"}, 0,
                      0xFFFFFF00u),
                 "14"),
        CallText("DrawTextA",
                 Args(font, none,
                      "SPACE: show/hide text; RETURN: wireframe; M: mouse look; R: rotate meshes; "
                      "U: use shaders",
                      -1, Verbatim{"(0 14 1000 500)"}, 0, 0xFFFFFF00u),
                 "14"),
        CallText(
            "DrawTextA",
            Args(font, none, "dbg info empty", -1, Verbatim{"(0 28 1000 500)"}, 0, 0xFFFF0000u),
            "14"),
    };
    // Every frame starts the rectangle at the top again, whatever the last frame left in it.
    for (int frame = 0; frame < 3; ++frame) {
        SCOPED_TRACE(frame);
        EXPECT_EQ(test::TextsOf(Frame(run, frame), {"DrawTextA"}), expected);
    }
    // SPACE pressed before iteration 2 hides the overlay from frame 3 on.
    EXPECT_TRUE(test::TextsOf(Frame(run, 3), {"DrawTextA"}).empty());
}

TEST_F(Renderer, SlotZeroDrawsWithThePreviousFramesPixelShader) {
    // U before iteration 3 turns shaders off after frame 3; U before 6 turns them on after 6.
    const ProgramRun run = Run(Script{}.KeyDown(3, 'U').KeyUp(4, 'U').KeyDown(6, 'U').Close(9));
    const auto frame = [&](int n) { return ShadersAtDraws(run, n); };
    using V = std::vector<std::string>;
    EXPECT_EQ(frame(0), (V{"mesh#1:NULL", "mesh#1:NULL", "mesh#2:ps#1"}));
    EXPECT_EQ(frame(1), (V{"mesh#1:ps#1", "mesh#1:ps#1", "mesh#2:ps#1"}));
    EXPECT_EQ(frame(4), (V{"mesh#1:ps#1", "mesh#1:ps#1", "mesh#2:NULL"}));
    EXPECT_EQ(frame(5), (V{"mesh#1:NULL", "mesh#1:NULL", "mesh#2:NULL"}));
    EXPECT_EQ(frame(7), (V{"mesh#1:NULL", "mesh#1:NULL", "mesh#2:ps#1"}));
    EXPECT_EQ(frame(8), (V{"mesh#1:ps#1", "mesh#1:ps#1", "mesh#2:ps#1"}));
}

TEST_F(Renderer, SwitchingThePixelShaderOffUnbindsBothShadersAndNoFrameBindsTheVertexShader) {
    // U before iteration 2: frame 2 draws the sea floor with no shaders.
    const ProgramRun run = Run(Script{}.KeyDown(1, 'U').KeyUp(2, 'U').Close(4));
    ASSERT_EQ(test::TextsOf(run.calls, {"CreateVertexShader"}),
              std::vector<std::string>{
                  CallText("CreateVertexShader", Args(Verbatim{"code"}, Verbatim{"&"}), "0 vs#1")});
    const std::vector<std::string> bindings =
        test::TextsOf(Frame(run, 2), {"SetVertexDeclaration", "SetVertexShader", "SetPixelShader"});
    const std::string noVertexShader = CallText("SetVertexShader", Args(Verbatim{"NULL"}), "0");
    EXPECT_EQ(bindings,
              (std::vector<std::string>{
                  noVertexShader, CallText("SetVertexDeclaration", Args(Verbatim{"decl#1"}), "0"),
                  noVertexShader, CallText("SetPixelShader", Args(Verbatim{"NULL"}), "0")}));
    // The compiled vertex shader is never bound, in any frame, whatever the settings.
    for (const std::string& call : test::TextsOf(run.calls, {"SetVertexShader"}))
        EXPECT_EQ(call, noVertexShader);
}

TEST_F(Renderer, AFrameWhoseSceneFailsToBeginLeavesTheRotationAngle) {
    // Rotation on from frame 2; frame 3's BeginScene (the fourth) fails.
    Script script;
    script.options.failBeginScene = {4};
    const ProgramRun run = Run(script.KeyDown(1, 'R').KeyUp(2, 'R').Close(5));
    const auto tigerWorld = [&](int n) {
        return test::TextsOf(Frame(run, n), {"SetTransform"}).at(2);  // after projection, identity
    };
    ASSERT_TRUE(test::TextsOf(Frame(run, 3), {"SetTransform"}).size() == 2u);  // no draws
    EXPECT_EQ(tigerWorld(2),
              CallText("SetTransform",
                       Args(256, Verbatim{FmtValue(World(0, 180 - 0.9f, 0, 0, 0, 5))}), "0"));
    EXPECT_EQ(
        tigerWorld(4),
        CallText("SetTransform",
                 Args(256, Verbatim{FmtValue(World(0, 180 - (0.9f + 0.9f), 0, 0, 0, 5))}), "0"));
}

TEST_F(Renderer, RotationJumpsFreezesAndResumesFromItsAngle) {
    // R toggles after frames 1, 3 and 4: frames 2 and 3 turn, 4 is frozen, 5 turns on.
    const ProgramRun run = Run(
        Script{}.KeyDown(1, 'R').KeyUp(2, 'R').KeyDown(3, 'R').KeyUp(4, 'R').KeyDown(4, 'R').Close(
            6));
    const auto worlds = [&](int n) {
        std::vector<std::string> out;
        for (const Call& c : Frame(run, n)) {
            if (c.api == "SetTransform" && c.args[0] == "256") out.push_back(c.args[1]);
        }
        return out;  // the frame's identity, two for the tiger, one for the sea floor
    };
    EXPECT_EQ(worlds(1)[1], FmtValue(World(0, 0, 0, 0, 0, 5)));
    EXPECT_EQ(worlds(2)[1], FmtValue(World(0, 180 - 0.9f, 0, 0, 0, 5)));
    EXPECT_EQ(worlds(2)[3], FmtValue(World(0, 0.9f, 0, 0, 8.5f, 3)));
    EXPECT_EQ(worlds(3)[1], FmtValue(World(0, 180 - (0.9f + 0.9f), 0, 0, 0, 5)));
    EXPECT_EQ(worlds(4)[1], worlds(3)[1]);
    EXPECT_EQ(worlds(4)[3], worlds(3)[3]);
    EXPECT_EQ(worlds(5)[3], FmtValue(World(0, 0.9f + 0.9f + 0.9f, 0, 0, 8.5f, 3)));
}

TEST_F(Renderer, ReturnSwitchesTheFillModeAfterTheFrame) {
    const ProgramRun run =
        Run(Script{}.Tap(1, VK_RETURN).KeyDown(2, VK_RETURN).KeyDown(3, VK_RETURN).Close(5));
    const auto fill = test::TextsOf(run.calls, {"SetRenderState"});
    // Set-up's SOLID, then wireframe and back, each after its iteration's Present.
    EXPECT_EQ(std::vector<std::string>(fill.end() - 3, fill.end()),
              (std::vector<std::string>{CallText("SetRenderState", Args(8, 3), "0"),
                                        CallText("SetRenderState", Args(8, 2), "0"),
                                        CallText("SetRenderState", Args(8, 3), "0")}));
    const int wire =
        static_cast<int>(run.calls.size()) -
        static_cast<int>(
            std::find_if(run.calls.rbegin(), run.calls.rend(),
                         [](const Call& c) { return c.Text() == "SetRenderState(8, 2) = 0"; }) -
            run.calls.rbegin()) -
        1;
    EXPECT_EQ(run.calls[wire - 1].api, "Present");
}

TEST_F(Renderer, AFailedBeginSceneSkipsTheDrawingButStillPresents) {
    Script script;
    script.options.failBeginScene = {2};
    const ProgramRun run = Run(script.Close(3));
    std::vector<std::string> names;
    for (const Call& c : Frame(run, 1)) names.push_back(c.api);
    EXPECT_EQ(names, (std::vector<std::string>{"Clear", "SetVertexShader", "SetTransform",
                                               "SetTransform", "BeginScene", "Present"}));
    EXPECT_EQ(Frame(run, 2).size(), Frame(run, 0).size());
}

TEST_F(Renderer, AMeshThatFailsToLoadIsCountedPlacedAndDrawsNothing) {
    test::AssetOptions assets;
    assets.tiger = false;
    const ProgramRun run = Run(Script{}.Close(2), assets);
    EXPECT_EQ(test::TextsOf(run.calls, {"MessageBoxA"}),
              std::vector<std::string>{CallText(
                  "MessageBoxA", Args(Verbatim{"NULL"}, "Tiger.x", "CAN'T LOAD MESH!", 0), "1")});
    // Slot 1 is still the sea floor: the failed object kept slot 0 and draws nothing.
    const std::vector<Call> frame = Frame(run, 1);
    EXPECT_EQ(test::TextsOf(frame, {"DrawSubset"}),
              std::vector<std::string>{"DrawSubset(mesh#1, 0) = 0"});
    const int floorWorld =
        test::IndexOf(frame, "SetTransform", test::IndexOf(frame, "SetPixelShader"));
    ASSERT_GE(floorWorld, 0);
    EXPECT_EQ(frame[static_cast<std::size_t>(floorWorld)].args[1],
              FmtValue(World(0, 0, 0, 0, 8.5f, 3)));
}

TEST_F(Renderer, WithoutADeviceTheFailureIsReportedOnceAndClosingStillEnds) {
    Script script;
    script.options.failCreateDevice = true;
    const ProgramRun run = Run(
        script.Tap(2, VK_RETURN).KeyDown(3, VK_RETURN).KeyDown(3, 'W').KeyDown(4, 'M').Close(50));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(
        test::TextsOf(run.calls, {"MessageBoxA"}),
        std::vector<std::string>{CallText(
            "MessageBoxA",
            Args(Verbatim{"NULL"}, "pD3DDevice initialize FAILED!", "FATAL ERROR", 0x40), "1")});
    EXPECT_TRUE(record::Only(run.calls, {"Clear", "SetRenderState", "D3DXLoadMeshFromXA",
                                         "D3DXCreateFontA", "SetTransform", "Present"})
                    .empty());
}

}  // namespace
