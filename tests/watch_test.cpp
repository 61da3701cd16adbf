// tessaline --watch on the recording platform, with files changed between idle iterations: what
// each iteration asks the platform, the shader compiled, created and bound where the old one
// was (also when a file it includes is saved), the last good version kept on a failure with its
// message in a fourth overlay line (and no box), a mesh or texture reloaded into its slot with its
// placement, and nothing of it all without --watch.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "platform/record/program_run.h"
#include "render/watch.h"
#include "tests/test_assets.h"
#include "tests/test_files.h"
#include "tests/test_support.h"
#include "tools/x_writer.h"

namespace {

using platform::Verbatim;
using record::Call;
using record::ProgramRun;
using record::Script;
using test::Args;
using test::CallText;

constexpr float kDeg = 0.017453292f;
const Verbatim out{"&"}, none{"NULL"};
constexpr const char* kWatchApis[] = {
    "FindFirstChangeNotificationA", "FindNextChangeNotification", "FindCloseChangeNotification",
    "WaitForSingleObject",          "GetFileAttributesExA",       "D3DXPreprocessShaderFromFileA"};

const char kGreenShader[] = "float4 ps_main() : COLOR0 { return float4(0, 1, 0, 1); }\n";
const char kBrokenShader[] = "float4 ps_main() : COLOR0 {\n    return float4(nothing, 1);\n}\n";
const char kRed[] = "4294901760";

bool IsIdle(const Call& c) {
    return c.api == "PeekMessageA" && c.result == "0";
}

// The program's own calls of idle iteration n (from 0), without the window procedure's traffic.
std::vector<std::string> Iteration(const ProgramRun& run, int n) {
    int seen = -1;
    std::vector<std::string> calls;
    for (const Call& c : run.calls) {
        if (IsIdle(c) && ++seen > n) break;
        if (seen != n || IsIdle(c) || c.api == "WindowProc" || c.api == "DefWindowProcA" ||
            c.api == "PeekMessageA" || c.api == "TranslateMessage" || c.api == "DispatchMessageA")
            continue;
        calls.push_back(c.Text());
    }
    return calls;
}

std::vector<std::string> StartUp(const ProgramRun& run) {
    std::vector<std::string> calls;
    for (const Call& c : run.calls) {
        if (IsIdle(c)) break;
        if (c.api != "WindowProc" && c.api != "DefWindowProcA") calls.push_back(c.Text());
    }
    return calls;
}

std::vector<std::string> Matching(const std::vector<std::string>& calls, const std::string& api) {
    std::vector<std::string> found;
    for (const std::string& c : calls) {
        if (c.rfind(api + "(", 0) == 0) found.push_back(c);
    }
    return found;
}

// The pixel shader bound when the first subset of `mesh` is drawn in idle iteration n: the
// binding may come from an earlier iteration.
std::string BoundWhenDrawn(const ProgramRun& run, int n, const std::string& mesh) {
    std::string bound = "none";
    for (int i = 0; i <= n; ++i) {
        for (const std::string& c : Iteration(run, i)) {
            if (c.rfind("SetPixelShader(", 0) == 0) bound = c.substr(15, c.find(')') - 15);
            if (i == n && c.rfind("DrawSubset(" + mesh + ", 0)", 0) == 0) return bound;
        }
    }
    return "not drawn";
}

// The world transform set last before the first subset of `mesh` is drawn.
std::string WorldWhenDrawn(const std::vector<std::string>& calls, const std::string& mesh) {
    std::string world;
    for (const std::string& c : calls) {
        if (c.rfind("SetTransform(256, ", 0) == 0) world = c;
        if (c.rfind("DrawSubset(" + mesh + ", 0)", 0) == 0) return world;
    }
    return "not drawn";
}

std::string WorldText(float ry, float x, float y, float z) {
    Matrix4 r, t, w;
    D3DXMatrixRotationY(&r, ry * kDeg);
    D3DXMatrixTranslation(&t, x, y, z);
    D3DXMatrixMultiply(&w, &r, &t);
    return CallText("SetTransform", Args(256, &w), "0");
}

// A red line of the overlay with its top at `top` (the fourth line's is 42, one more is 14 lower).
std::string FourthLine(const std::string& text, int top = 42) {
    const std::string rect = "(0 " + std::to_string(top) + " 1000 500)";
    return CallText("DrawTextA",
                    Args(Verbatim{"font#1"}, none, text, -1, Verbatim{rect}, 0, Verbatim{kRed}),
                    "14");
}

// Every DrawTextA of the calls at the fourth line's place.
std::vector<std::string> FourthLines(const std::vector<std::string>& calls) {
    std::vector<std::string> found;
    for (const std::string& c : Matching(calls, "DrawTextA")) {
        if (c.find("(0 42 1000 500)") != std::string::npos) found.push_back(c);
    }
    return found;
}

class Watch : public ::testing::Test {
  protected:
    // Runs with --watch (unless `watch` is false); `changes` maps an iteration to what is done
    // to the files just before it.
    ProgramRun Run(Script script,
                   const std::map<int, std::function<void(const std::string&)>>& changes,
                   const test::AssetOptions& assets = {}, bool watch = true) {
        test::WriteTestAssets(dir_.path(), assets);
        script.workDir = dir_.path();
        script.commandLine = watch ? "--watch" : "";
        const std::string dir = dir_.path();
        script.beforeIteration = [changes, dir](std::uint64_t i) {
            if (auto it = changes.find(static_cast<int>(i)); it != changes.end()) it->second(dir);
        };
        ProgramRun run = record::RunProgram(script);
        EXPECT_EQ(run.status, record::RunStatus::Returned) << run.diagnostics;
        EXPECT_EQ(run.exitCode, 0);
        return run;
    }
    static std::function<void(const std::string&)> Write(const std::string& name,
                                                         const std::string& text) {
        return [=](const std::string& dir) { test::WriteFile(dir + "/" + name, text); };
    }
    test::TempDir dir_;
};

// The first calls of an iteration in which the folder changed: the notification taken and asked
// again, then each watched file's attributes, in the order they are watched.
std::vector<std::string> FolderChanged() {
    std::vector<std::string> calls = {
        CallText("WaitForSingleObject", Args(Verbatim{"change#1"}, 0), "0"),
        CallText("FindNextChangeNotification", Args(Verbatim{"change#1"}), "1"),
    };
    for (const char* name :
         {"vertex.vsh", "pixel.psh", "Tiger.x", "seafloor.x", "tiger.bmp", "sand.bmp"})
        calls.push_back(CallText("GetFileAttributesExA", Args(name, 0, out), "1"));
    return calls;
}

const std::string kNothingChanged =
    CallText("WaitForSingleObject", Args(Verbatim{"change#1"}, 0), "258");

TEST_F(Watch, WithoutItNothingIsWatchedAndWithItStartUpAndFramesOnlyGainTheChecks) {
    const ProgramRun plain = Run(Script{}.Close(3), {}, {}, false);
    const ProgramRun watched = Run(Script{}.Close(3), {});
    for (const char* api : kWatchApis) EXPECT_TRUE(Matching(StartUp(plain), api).empty()) << api;
    for (int i = 0; i < 3; ++i) {
        for (const char* api : kWatchApis) EXPECT_TRUE(Matching(Iteration(plain, i), api).empty());
    }

    // Start-up: the same calls, then the folder, the files' attributes and what the shaders
    // include (their preprocessed text says: nothing here).
    std::vector<std::string> expected = StartUp(plain);
    expected.push_back(CallText("FindFirstChangeNotificationA", Args(".", 0, 0x11), "change#1"));
    for (const char* name :
         {"vertex.vsh", "pixel.psh", "Tiger.x", "seafloor.x", "tiger.bmp", "sand.bmp"})
        expected.push_back(CallText("GetFileAttributesExA", Args(name, 0, out), "1"));
    for (const char* shader : {"vertex.vsh", "pixel.psh"})
        expected.push_back(
            CallText("D3DXPreprocessShaderFromFileA", Args(shader, none, none, out, out), "0"));
    EXPECT_EQ(StartUp(watched), expected);
    // Each iteration: one check that does not wait, then the same calls.
    for (int i = 0; i < 3; ++i) {
        std::vector<std::string> iteration = Iteration(plain, i);
        iteration.insert(iteration.begin(), kNothingChanged);
        EXPECT_EQ(Iteration(watched, i), iteration) << "iteration " << i;
    }
}

TEST_F(Watch, ASavedPixelShaderIsCreatedAndBoundWhereTheOldOneIsBound) {
    // With the pixel shader in use, and with it switched off (U) before the save.
    for (const bool useShaders : {true, false}) {
        Script script;
        // Held into the next iteration: a press and release in one drain toggles nothing.
        if (!useShaders) script.KeyDown(0, 'U').KeyUp(1, 'U');
        const ProgramRun run = Run(script.Close(4), {{2, Write("pixel.psh", kGreenShader)}});
        std::vector<std::string> expected = FolderChanged();
        expected.push_back(
            CallText("D3DXCompileShaderFromFileA",
                     Args("pixel.psh", none, none, "ps_main", "ps_2_0", 0, out, out, none), "0"));
        expected.push_back(CallText("CreatePixelShader", Args(Verbatim{"code"}, out), "0 ps#2"));
        if (useShaders) expected.push_back(CallText("SetPixelShader", Args(Verbatim{"ps#2"}), "0"));
        expected.push_back(
            CallText("GetDeviceState", Args(Verbatim{"mouse#1"}, 16), "0 (0 0 0 0 0 0 0)"));
        const std::vector<std::string> calls = Iteration(run, 2);
        ASSERT_GE(calls.size(), expected.size());
        EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + expected.size()),
                  expected)
            << "useShaders " << useShaders;
        // The tiger, drawn before the frame binds the shader, already has the new one; with U
        // off it keeps the binding the last frame left (none since iteration 1's frame).
        EXPECT_EQ(BoundWhenDrawn(run, 1, "mesh#1"), "ps#1");
        EXPECT_EQ(BoundWhenDrawn(run, 2, "mesh#1"), useShaders ? "ps#2" : "NULL");
        EXPECT_EQ(BoundWhenDrawn(run, 2, "mesh#2"), useShaders ? "ps#2" : "NULL");
        EXPECT_EQ(BoundWhenDrawn(run, 3, "mesh#2"), useShaders ? "ps#2" : "NULL");
        // Compiled once: the next iteration only checks.
        EXPECT_EQ(Iteration(run, 3).front(), kNothingChanged);
        EXPECT_TRUE(Matching(Iteration(run, 3), "D3DXCompileShaderFromFileA").empty());
    }
}

// pixel.psh includes tint.fxh, which includes inner\Base.fxh (a name written on Windows, found
// as inner/base.fxh). Saving the nested header recompiles the shader; once tint.fxh no longer
// includes it, saving it does nothing.
TEST_F(Watch, ASavedIncludedFileRecompilesTheShaderThatIncludesIt) {
    test::AssetOptions assets;
    assets.pixelShader = false;
    std::filesystem::create_directories(dir_.Path("inner"));
    test::WriteFile(dir_.Path("pixel.psh"),
                    "#include \"tint.fxh\"\nfloat4 ps_main() : COLOR0 { return TINT; }\n");
    test::WriteFile(dir_.Path("tint.fxh"), "#include \"inner\\\\Base.fxh\"\n#define TINT BASE\n");
    const std::string base = "#define BASE float4(0, 1, 0, 1)\n";
    test::WriteFile(dir_.Path("inner/base.fxh"), base);
    const ProgramRun run = Run(Script{}.Close(7),
                               {{2, Write("inner/base.fxh", "#define BASE float4(0, 0, 1, 1)\n")},
                                {4, Write("tint.fxh", "#define TINT float4(1, 0, 0, 1)\n")},
                                {6, Write("inner/base.fxh", base)}},
                               assets);
    const auto starting = [](const std::vector<std::string>& calls, const std::string& prefix) {
        return std::count_if(calls.begin(), calls.end(),
                             [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    };
    const std::vector<std::string> startUp = StartUp(run);
    for (const char* file : {"tint.fxh", "inner/base.fxh"})
        EXPECT_EQ(starting(startUp, "GetFileAttributesExA(\"" + std::string(file)), 1) << file;
    EXPECT_EQ(starting(startUp, "FindFirstChangeNotificationA(\"inner\""), 1);
    const auto compiled = [&](int iteration) {
        return starting(Iteration(run, iteration), "D3DXCompileShaderFromFileA(\"pixel.psh\"");
    };
    // The nested header saved: compiled, created and drawn with.
    EXPECT_EQ(compiled(2), 1);
    EXPECT_EQ(Matching(Iteration(run, 2), "CreatePixelShader"),
              (std::vector<std::string>{
                  CallText("CreatePixelShader", Args(Verbatim{"code"}, out), "0 ps#2")}));
    EXPECT_EQ(BoundWhenDrawn(run, 2, "mesh#2"), "ps#2");
    // Its files learnt again in the next iteration, after the frame that shows it.
    EXPECT_EQ(Matching(Iteration(run, 3), "D3DXPreprocessShaderFromFileA").size(), 1u);
    EXPECT_EQ(compiled(3), 0);
    // tint.fxh saved without its #include: compiled; the nested header is no longer watched.
    EXPECT_EQ(compiled(4), 1);
    EXPECT_EQ(BoundWhenDrawn(run, 4, "mesh#2"), "ps#3");
    EXPECT_EQ(compiled(6), 0);
    EXPECT_TRUE(test::TextsOf(run.calls, {"MessageBoxA"}).empty());
}

TEST_F(Watch, ABrokenShaderKeepsTheLastGoodOneAndShowsItsMessageUntilItIsMended) {
    const ProgramRun run = Run(Script{}.Close(5), {{2, Write("pixel.psh", kBrokenShader)},
                                                   {4, Write("pixel.psh", kGreenShader)}});
    const std::vector<std::string> broken = Iteration(run, 2);
    const std::vector<std::string> compiles = Matching(broken, "D3DXCompileShaderFromFileA");
    ASSERT_EQ(compiles.size(), 1u);
    EXPECT_NE(compiles[0].find(" = -"), std::string::npos) << compiles[0];
    EXPECT_TRUE(Matching(broken, "CreatePixelShader").empty());
    EXPECT_EQ(BoundWhenDrawn(run, 2, "mesh#2"), "ps#1");
    const std::vector<std::string> lines = FourthLines(broken);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].find("DrawTextA(font#1, NULL, \"pixel.psh(2,"), 0u) << lines[0];
    EXPECT_NE(lines[0].find("): error X3004: undeclared identifier 'nothing'\""), std::string::npos)
        << lines[0];
    // Shown after the three lines, until it is mended; no compile meanwhile.
    EXPECT_EQ(FourthLines(Iteration(run, 3)), lines);
    EXPECT_TRUE(Matching(Iteration(run, 3), "D3DXCompileShaderFromFileA").empty());
    const std::vector<std::string> mended = Iteration(run, 4);
    EXPECT_EQ(Matching(mended, "CreatePixelShader"),
              (std::vector<std::string>{
                  CallText("CreatePixelShader", Args(Verbatim{"code"}, out), "0 ps#2")}));
    EXPECT_TRUE(FourthLines(mended).empty());
    EXPECT_TRUE(FourthLines(Iteration(run, 1)).empty());
    EXPECT_TRUE(test::TextsOf(run.calls, {"MessageBoxA"}).empty());
}

TEST_F(Watch, ASavedVertexShaderIsCreatedAndNeverBound) {
    const ProgramRun run =
        Run(Script{}.Close(3),
            {{1, Write("vertex.vsh", std::string(test::kTestVertexShader) + "// saved again\n")}});
    const std::vector<std::string> calls = Iteration(run, 1);
    EXPECT_EQ(Matching(calls, "D3DXCompileShaderFromFileA"),
              (std::vector<std::string>{CallText(
                  "D3DXCompileShaderFromFileA",
                  Args("vertex.vsh", none, none, "vs_main", "vs_1_1", 0, out, out, out), "0")}));
    EXPECT_EQ(Matching(calls, "CreateVertexShader"),
              (std::vector<std::string>{
                  CallText("CreateVertexShader", Args(Verbatim{"code"}, out), "0 vs#2")}));
    for (int i = 0; i < 3; ++i) {
        for (const std::string& c : Matching(Iteration(run, i), "SetVertexShader"))
            EXPECT_EQ(c, CallText("SetVertexShader", Args(nullptr), "0"));
    }
}

// R (held across a drain, so that it toggles) turns the rotation on for the frames of
// iterations 2 and 3 and freezes it there (1.8 degrees); the file is saved before iteration 5. The
// reloaded object keeps its slot, its position and its rotation.
TEST_F(Watch, ASavedMeshOrTextureIsReloadedIntoItsSlotWithItsPlacement) {
    xfile::XFileDesc floor;
    floor.topMeshes.push_back(xfile::GridMesh(3, 0.5f));
    struct Case {
        const char* file;
        std::string content;
        const char* reloaded;  // the X file loaded again
        int slot;
        std::string world;
    };
    const Case cases[] = {
        {"seafloor.x", xfile::WriteX(floor, xfile::XEncoding::Text), "seafloor.x", 1,
         WorldText(1.8f, 0.0f, 8.5f, 3.0f)},
        {"sand.bmp", test::SolidBmp(0, 0, 255), "seafloor.x", 1, WorldText(1.8f, 0.0f, 8.5f, 3.0f)},
        {"tiger.bmp", test::SolidBmp(0, 255, 0), "Tiger.x", 0,
         WorldText(180.0f - 1.8f, 0.0f, 0.0f, 5.0f)},
    };
    for (const Case& c : cases) {
        const ProgramRun run =
            Run(Script{}.KeyDown(1, 'R').KeyUp(2, 'R').KeyDown(3, 'R').KeyUp(4, 'R').Close(6),
                {{5, Write(c.file, c.content)}});
        const std::vector<std::string> calls = Iteration(run, 5);
        const std::vector<std::string> loads = Matching(calls, "D3DXLoadMeshFromXA");
        ASSERT_EQ(loads.size(), 1u) << c.file;
        EXPECT_EQ(loads[0].find(std::string("D3DXLoadMeshFromXA(\"") + c.reloaded), 0u);
        EXPECT_NE(loads[0].find("= 0 mesh#3"), std::string::npos) << loads[0];
        const std::string old = c.slot == 0 ? "mesh#1" : "mesh#2";
        const std::string kept = c.slot == 0 ? "mesh#2" : "mesh#1";
        // Before: the old mesh at its frozen placement; after: the new one at the same.
        EXPECT_EQ(WorldWhenDrawn(Iteration(run, 4), old), c.world) << c.file;
        EXPECT_EQ(WorldWhenDrawn(calls, "mesh#3"), c.world) << c.file;
        EXPECT_EQ(WorldWhenDrawn(calls, old), "not drawn") << c.file;
        EXPECT_EQ(WorldWhenDrawn(calls, kept), WorldWhenDrawn(Iteration(run, 4), kept));
        // The new one in the old one's slot: slot 0 is drawn first.
        const auto first = std::find_if(calls.begin(), calls.end(), [](const std::string& s) {
            return s.rfind("DrawSubset(", 0) == 0;
        });
        ASSERT_NE(first, calls.end());
        EXPECT_EQ(first->find(c.slot == 0 ? "DrawSubset(mesh#3" : "DrawSubset(mesh#1"), 0u);
    }
}

TEST_F(Watch, AMeshThatFailsKeepsTheLastGoodOneAndSaysWhyWithoutABox) {
    xfile::XMeshDesc body = xfile::CubeMesh();
    body.texCoords.assign(8, {0.5f, 0.5f});
    body.materialList = true;
    body.faceMaterials.assign(6, 0);
    xfile::XMaterialDesc coat;
    coat.texture = "stripes.bmp";
    body.materials = {coat};
    xfile::XFileDesc striped;
    striped.topMeshes.push_back(body);
    const ProgramRun run = Run(
        Script{}.Close(7), {{1, Write("Tiger.x", "xof 0303txt 0032\nMesh {")},
                            {3, Write("Tiger.x", xfile::WriteX(striped, xfile::XEncoding::Text))},
                            {5, Write("stripes.bmp", test::SolidBmp(9, 9, 9))}});
    EXPECT_TRUE(test::TextsOf(run.calls, {"MessageBoxA"}).empty());
    // Not an X file: the old mesh stays and the line says which file.
    EXPECT_EQ(BoundWhenDrawn(run, 1, "mesh#1"), "ps#1");
    EXPECT_EQ(FourthLines(Iteration(run, 1)),
              (std::vector<std::string>{FourthLine("Tiger.x: cannot load the mesh")}));
    // A mesh whose texture is missing: the old mesh stays; the line names the texture.
    EXPECT_NE(BoundWhenDrawn(run, 3, "mesh#1"), "not drawn");
    EXPECT_EQ(
        FourthLines(Iteration(run, 4)),
        (std::vector<std::string>{FourthLine("Tiger.x: cannot load its texture stripes.bmp")}));
    // The texture saved: the file that named it loads.
    const std::vector<std::string> mended = Iteration(run, 5);
    EXPECT_EQ(Matching(mended, "D3DXLoadMeshFromXA").size(), 1u);
    EXPECT_EQ(BoundWhenDrawn(run, 5, "mesh#1"), "not drawn");
    EXPECT_TRUE(FourthLines(mended).empty());
    EXPECT_TRUE(FourthLines(Iteration(run, 6)).empty());
}

TEST_F(Watch, AShaderMissingAtStartUpShowsItsMessageAndLoadsWhenSaved) {
    test::AssetOptions assets;
    assets.pixelShader = false;
    const ProgramRun run = Run(Script{}.Close(3), {{1, Write("pixel.psh", kGreenShader)}}, assets);
    // Start-up's box, as without --watch; then the message for the overlay, once.
    EXPECT_EQ(test::TextsOf(run.calls, {"MessageBoxA"}),
              (std::vector<std::string>{CallText(
                  "MessageBoxA",
                  Args(Verbatim{"hwnd#1"}, "bad PS code or the file doesn't exist!", "WARNING", 0),
                  "1")}));
    EXPECT_EQ(FourthLines(Iteration(run, 0)),
              (std::vector<std::string>{
                  FourthLine("pixel.psh(1,1): error: cannot open: No such file or directory")}));
    const std::vector<std::string> saved = Iteration(run, 1);
    EXPECT_EQ(Matching(saved, "CreatePixelShader"),
              (std::vector<std::string>{
                  CallText("CreatePixelShader", Args(Verbatim{"code"}, out), "0 ps#1")}));
    EXPECT_EQ(BoundWhenDrawn(run, 1, "mesh#1"), "ps#1");
    EXPECT_TRUE(FourthLines(saved).empty());
}

// Two shaders missing and a mouse whose set-up fails: with --watch no box waits (each is answered
// OK and said once on stderr), every failure keeps a red line of its own, and mending one file
// takes only its line away; the mouse's box, which no file mends, stays.
TEST_F(Watch, StartUpFailuresEachKeepALineAndNoBoxWaits) {
    test::AssetOptions assets;
    assets.vertexShader = assets.pixelShader = false;
    Script script;
    script.options.failSetDataFormat = true;
    testing::internal::CaptureStderr();
    const ProgramRun run = Run(script.Close(3), {{1, Write("pixel.psh", kGreenShader)}}, assets);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(test::TextsOf(run.calls, {"MessageBoxA"}).size(), 3u);
    const std::string mouse = "ERROR: Mouse: SetDataFormat() failed!";
    const std::string vs = "vertex.vsh(1,1): error: cannot open: No such file or directory";
    const std::string ps = "pixel.psh(1,1): error: cannot open: No such file or directory";
    const auto redLines = [](const std::vector<std::string>& calls) {
        std::vector<std::string> found;
        for (const std::string& c : Matching(calls, "DrawTextA")) {
            if (c.find(kRed) != std::string::npos && c.find("dbg info") == std::string::npos)
                found.push_back(c);
        }
        return found;
    };
    EXPECT_EQ(
        redLines(Iteration(run, 0)),
        (std::vector<std::string>{FourthLine(mouse), FourthLine(vs, 56), FourthLine(ps, 70)}));
    EXPECT_EQ(redLines(Iteration(run, 2)),
              (std::vector<std::string>{FourthLine(mouse), FourthLine(vs, 56)}));
    for (const std::string& once :
         {mouse, vs, ps, std::string("WARNING: bad PS code or the file doesn't exist!")}) {
        std::size_t times = 0;
        for (std::size_t at = said.find(once); at != std::string::npos;
             at = said.find(once, at + 1))
            ++times;
        EXPECT_EQ(times, 1u) << once << " in\n" << said;
    }
}

// A 2 GiB Tiger.x (an X header, then zeros that take no room on disk) saved under --watch: it is
// read beside the frames, which go on drawing the old mesh until the reading ends in its
// message, and the program's peak resident size stays within a budget of 256 MiB over what it
// was (the reader holds a few MiB; the rest is room for the recorder's log of the frames, at 100
// a second, in slow builds). Reading the file whole took 2 GiB. The program's own process
// measures itself, and its run ends once the message shows.
TEST_F(Watch, AHugeSavedMeshIsReadBesideTheFramesWithinTheMemoryBudget) {
    const std::string report = dir_.Path("report");
    Script script;
    script.beforeIteration = [report](std::uint64_t i) {
        static std::uint64_t before = 0;
        static const auto start = std::chrono::steady_clock::now();
        const auto kb = [](const char* field) {
            std::ifstream in("/proc/self/status");
            for (std::string line; std::getline(in, line);) {
                if (line.rfind(field, 0) == 0) return std::stoull(line.substr(6));
            }
            return 0ull;
        };
        if (i == 2) {
            before = kb("VmHWM");
            test::WriteFile("Tiger.x", "xof 0302txt 0032\n");
            if (truncate("Tiger.x", off_t{2} << 30) != 0) std::abort();
        } else if (i > 2) {
            // Frames at a pace a display would keep, so that the log stays small.
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (!WatchFailures().empty() ||
                std::chrono::steady_clock::now() - start > std::chrono::seconds(400)) {
                test::WriteFile(report,
                                std::to_string(i) + " " + std::to_string(before) + " " +
                                    std::to_string(kb("VmHWM")) + "\n" +
                                    (WatchFailures().empty() ? "" : WatchFailures()[0].line));
                record::FinishRun(record::RunStatus::Returned, 0);
            }
        }
    };
    script.workDir = dir_.path();
    test::WriteTestAssets(dir_.path(), {});
    script.commandLine = "--watch";
    const ProgramRun run = record::RunProgram(script);
    ASSERT_EQ(run.status, record::RunStatus::Returned) << run.diagnostics;
    std::istringstream in(test::ReadFile(report));
    std::uint64_t shown = 0, before = 0, after = 0;
    std::string message;
    in >> shown >> before >> after;
    std::getline(in >> std::ws, message);
    EXPECT_EQ(message, "Tiger.x: cannot load the mesh");
    // The reading took frames, and in each of them the old tiger was drawn.
    EXPECT_GT(shown, 2u + 10u);
    for (std::uint64_t i = 2; i < shown; i += (shown - 2) / 5 + 1) {
        EXPECT_NE(WorldWhenDrawn(Iteration(run, static_cast<int>(i)), "mesh#1"), "not drawn") << i;
    }
    EXPECT_LT(after - before, 256u << 10) << "VmHWM " << before << " kB, then " << after << " kB";
}

// A save while a huge one is still being read: the newer file is read at once (it is small) and
// swapped in in the frame of its save; the older reading ends without a word or a load.
TEST_F(Watch, ANewerSaveWinsOverAReadingStillUnderWay) {
    xfile::XFileDesc cube;
    cube.topMeshes.push_back(xfile::CubeMesh());
    const std::string small = xfile::WriteX(cube, xfile::XEncoding::Text);
    const auto huge = [](const std::string& dir) {
        test::WriteFile(dir + "/Tiger.x", "xof 0302txt 0032\n");
        if (truncate((dir + "/Tiger.x").c_str(), off_t{2} << 30) != 0) std::abort();
    };
    // As editors save: a new file renamed over the old one, which the older reading still reads.
    const auto save = [small](const std::string& dir) {
        test::WriteFile(dir + "/Tiger.x.new", small);
        if (rename((dir + "/Tiger.x.new").c_str(), (dir + "/Tiger.x").c_str()) != 0) std::abort();
    };
    // Time for the cancelled reading to end before the last frames.
    const auto pause = [](const std::string&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    };
    const ProgramRun run = Run(Script{}.Close(16), {{2, huge}, {5, save}, {10, pause}});
    for (int i = 2; i < 5; ++i)
        EXPECT_TRUE(Matching(Iteration(run, i), "D3DXLoadMeshFromXA").empty());
    const std::vector<std::string> loads = Matching(Iteration(run, 5), "D3DXLoadMeshFromXA");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_NE(loads[0].find("= 0 mesh#3"), std::string::npos) << loads[0];
    EXPECT_NE(WorldWhenDrawn(Iteration(run, 5), "mesh#3"), "not drawn");
    for (int i = 5; i < 16; ++i) {
        EXPECT_TRUE(FourthLines(Iteration(run, i)).empty()) << i;
        if (i > 5) {
            EXPECT_TRUE(Matching(Iteration(run, i), "D3DXLoadMeshFromXA").empty()) << i;
        }
    }
}

// A mesh naming a texture of 3000 bytes that is not there: the fourth line quotes 300 bytes.
TEST_F(Watch, AFailureNamingALongFileIsCutShort) {
    xfile::XMeshDesc body = xfile::CubeMesh();
    body.materialList = true;
    body.faceMaterials.assign(6, 0);
    xfile::XMaterialDesc coat;
    coat.texture = std::string(3000, 'n') + ".bmp";
    body.materials = {coat};
    xfile::XFileDesc named;
    named.topMeshes.push_back(body);
    const ProgramRun run = Run(
        Script{}.Close(3), {{1, Write("Tiger.x", xfile::WriteX(named, xfile::XEncoding::Text))}});
    const std::string line = "Tiger.x: cannot load its texture " + std::string(3000, 'n');
    EXPECT_EQ(FourthLines(Iteration(run, 2)),
              (std::vector<std::string>{FourthLine(line.substr(0, 300) + "...")}));
}

}  // namespace
