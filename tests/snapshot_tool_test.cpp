// tessaline-snapshot itself, headless (SDL's offscreen driver, llvmpipe) on the tests' small
// assets: where it writes and what it prints, --strict on good and broken assets, --compare on a
// good and a bad reference, and the exit code and single line of a bad option.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/test_assets.h"
#include "tests/test_files.h"
#include "tools/rgb_picture.h"

#ifndef TESS_SNAPSHOT
#error "TESS_SNAPSHOT must name the tessaline-snapshot binary"
#endif

namespace {

struct ToolRun : test::ProcessRun {
    std::vector<std::string> outLines;
};

// Runs the tool in `cwd` with the arguments on SDL's offscreen driver.
ToolRun Snapshot(const std::string& cwd, const std::vector<std::string>& args) {
    ToolRun run;
    static_cast<test::ProcessRun&>(run) = test::RunProcess(
        TESS_SNAPSHOT, args, cwd, [] { setenv("SDL_VIDEODRIVER", "offscreen", 1); });
    std::size_t at = 0;
    for (std::size_t nl; (nl = run.out.find('\n', at)) != std::string::npos; at = nl + 1)
        run.outLines.push_back(run.out.substr(at, nl - at));
    return run;
}

std::vector<std::string> Lines(const std::string& text, const std::string& containing) {
    std::vector<std::string> found;
    std::size_t at = 0;
    for (std::size_t nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1) {
        const std::string line = text.substr(at, nl - at);
        if (line.find(containing) != std::string::npos) found.push_back(line);
    }
    return found;
}

snapshot::RgbPicture ReadPicture(const std::string& path) {
    snapshot::RgbPicture p;
    std::string error;
    EXPECT_TRUE(snapshot::ReadPng(path, p, error)) << path << ": " << error;
    return p;
}

class SnapshotToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directory(assets());
        test::WriteTestAssets(assets());
    }
    std::string assets() const { return start.Path("assets"); }
    test::TempDir start;
};

TEST_F(SnapshotToolTest, WritesTheLastOfTwoFramesBesideTheCallerAndPrintsItsPath) {
    const ToolRun run = Snapshot(start.path(), {"--dir", "assets", "--out", "shot-%d.png"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.outLines, (std::vector<std::string>{start.Path("shot-1.png")}));
    const snapshot::RgbPicture frame = ReadPicture(start.Path("shot-1.png"));
    EXPECT_EQ(frame.width, 1000);
    EXPECT_EQ(frame.height, 500);
    EXPECT_FALSE(std::filesystem::exists(start.Path("assets/shot-1.png")));
    EXPECT_FALSE(std::filesystem::exists(start.Path("shot-0.png")));
}

// Started where none of the files is, the tool says where the bundled assets are, as the
// program does; in a folder of assets it says nothing of the kind.
TEST_F(SnapshotToolTest, AFolderWithoutTheFilesGetsAHintWhereTheBundledAssetsAre) {
    const ToolRun empty = Snapshot(start.path(), {"--out", "e.png"});
    EXPECT_EQ(Lines(empty.err, "tessaline-snapshot: none of vertex.vsh, pixel.psh").size(), 1u)
        << empty.err;
    EXPECT_NE(empty.err.find("run tessaline-snapshot --dir " TESS_SOURCE_ASSETS), std::string::npos)
        << empty.err;
    const ToolRun full = Snapshot(start.path(), {"--dir", "assets", "--out", "f.png"});
    EXPECT_TRUE(Lines(full.err, "none of").empty()) << full.err;
}

TEST_F(SnapshotToolTest, StrictPassesGoodAssetsAndNamesEachProblemOfBrokenOnes) {
    const ToolRun good = Snapshot(start.path(), {"--dir", "assets", "--strict", "--out", "g.png"});
    EXPECT_EQ(good.code, 0) << good.err;
    EXPECT_TRUE(Lines(good.err, "strict:").empty()) << good.err;

    test::WriteFile(start.Path("assets/pixel.psh"), "float4 ps_main() : COLOR0 { oops }\n");
    std::filesystem::remove(start.Path("assets/tiger.bmp"));
    // Without --strict the program's own behaviour stands: it reports and renders on.
    const ToolRun lenient = Snapshot(start.path(), {"--dir", "assets", "--out", "l.png"});
    EXPECT_EQ(lenient.code, 0) << lenient.err;

    const ToolRun strict =
        Snapshot(start.path(), {"--dir", "assets", "--strict", "--out", "s.png"});
    EXPECT_EQ(strict.code, 3) << strict.err;
    EXPECT_EQ(Lines(strict.err, "tessaline-snapshot: strict:"),
              (std::vector<std::string>{
                  "tessaline-snapshot: strict: compile failed: \"pixel.psh\" (entry \"ps_main\", "
                  "profile \"ps_2_0\"): 0x80004005",
                  "tessaline-snapshot: strict: message box \"WARNING\": \"bad PS code or the file "
                  "doesn't exist!\"",
                  "tessaline-snapshot: strict: message box \"ERROR\": \"Could not find texture "
                  "map!\"",
              }));
    // The frame is still written: it shows what the fallback looks like.
    EXPECT_EQ(strict.outLines, (std::vector<std::string>{start.Path("s.png")}));
}

TEST_F(SnapshotToolTest, CompareFailsAFrameUnlikeItsReferenceAndDrawsWhere) {
    const ToolRun frames = Snapshot(
        start.path(), {"--dir", "assets", "--frame", "0", "--frame", "1", "--out", "ref-%d.png"});
    ASSERT_EQ(frames.code, 0) << frames.err;

    // The same frame again: no pixel differs.
    const ToolRun same =
        Snapshot(start.path(), {"--dir", "assets", "--compare", "ref-1.png", "--out", "a.png"});
    EXPECT_EQ(same.code, 0) << same.err;
    // A frame that passes has no difference to show: only the frame is written.
    EXPECT_EQ(same.outLines, (std::vector<std::string>{start.Path("a.png")}));
    EXPECT_FALSE(std::filesystem::exists(start.Path("a-diff.png")));
    EXPECT_EQ(Lines(same.err, "compare:").size(), 1u) << same.err;
    EXPECT_NE(same.err.find("compare: 0 of 500000 pixels differ"), std::string::npos);

    // Frame 0 draws the tiger before the pixel shader is bound, frame 1 after: a bad reference.
    const ToolRun unlike =
        Snapshot(start.path(), {"--dir", "assets", "--compare", "ref-0.png", "--out", "b.png"});
    EXPECT_EQ(unlike.code, 4) << unlike.err;
    EXPECT_NE(unlike.err.find("FAILED"), std::string::npos) << unlike.err;
    // The difference picture marks the differing pixels red, and only those.
    const snapshot::RgbPicture frame = ReadPicture(start.Path("b.png"));
    const snapshot::RgbPicture reference = ReadPicture(start.Path("ref-0.png"));
    const snapshot::RgbPicture diff = ReadPicture(start.Path("b-diff.png"));
    ASSERT_EQ(diff.rgb.size(), frame.rgb.size());
    long red = 0, differing = 0;
    for (std::size_t i = 0; i < diff.rgb.size(); i += 3) {
        int d2 = 0;
        for (int c = 0; c < 3; ++c) {
            const int d = frame.rgb[i + c] - reference.rgb[i + c];
            d2 += d * d;
        }
        differing += d2 > 16 * 16;
        red += diff.rgb[i] == 255 && diff.rgb[i + 1] == 0 && diff.rgb[i + 2] == 0;
    }
    EXPECT_GT(differing, 500);  // over the default threshold of 0.1 %
    EXPECT_EQ(red, differing);

    // A threshold above the share lets the same frames pass.
    const ToolRun lenient = Snapshot(start.path(), {"--dir", "assets", "--compare", "ref-0.png",
                                                    "--threshold", "100", "--out", "c.png"});
    EXPECT_EQ(lenient.code, 0) << lenient.err;

    // With --strict too, a broken shader's 3 comes before the comparison's 4.
    test::WriteFile(start.Path("assets/pixel.psh"), "not hlsl");
    const ToolRun both = Snapshot(
        start.path(), {"--dir", "assets", "--strict", "--compare", "ref-1.png", "--out", "d.png"});
    EXPECT_EQ(both.code, 3) << both.err;
    EXPECT_NE(both.err.find("FAILED"), std::string::npos) << both.err;
}

TEST_F(SnapshotToolTest, ProbesTracesSettingsAndTheDebugLayer) {
    const ToolRun probed = Snapshot(start.path(), {"--dir", "assets", "--probe", "585,165",
                                                   "--probe", "10,250", "--out", "p.png"});
    ASSERT_EQ(probed.code, 0) << probed.err;
    EXPECT_EQ(Lines(probed.out, ": final colour #").size(), 2u) << probed.out;
    // The tests' tiger covers the first pixel; nothing but the clear reaches the second.
    EXPECT_EQ(Lines(probed.out, "<- last to write the pixel").size(), 1u) << probed.out;
    EXPECT_EQ(Lines(probed.out, "no draw of the frame wrote the pixel").size(), 1u) << probed.out;
    EXPECT_EQ(probed.outLines.back(), start.Path("p-probe.png"));
    EXPECT_GT(ReadPicture(start.Path("p-probe.png")).height, 500);
    // The trace beside the frame holds the shaders' digests; the debug layer spoke on stderr.
    const std::string trace = test::ReadFile(start.Path("p.trace"));
    EXPECT_NE(trace.find("CreatePixelShader(code, &) = 0 ps#1\n    // ps#1: pixel.psh"),
              std::string::npos);
    EXPECT_EQ(Lines(probed.err, "Direct3D9: (WARN) vertex shader vs#1").size(), 1u) << probed.err;

    const ToolRun quiet =
        Snapshot(start.path(), {"--dir", "assets", "--no-debug", "--out", "q.png"});
    EXPECT_TRUE(Lines(quiet.err, "Direct3D9:").empty()) << quiet.err;
    const ToolRun strict =
        Snapshot(start.path(), {"--dir", "assets", "--strict=debug", "--out", "s.png"});
    EXPECT_EQ(strict.code, 3);
    EXPECT_EQ(Lines(strict.err, "strict: debug: vertex shader vs#1").size(), 1u) << strict.err;
    const ToolRun unknown =
        Snapshot(start.path(), {"--dir", "assets", "--set", "nope=1", "--out", "u.png"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_EQ(Lines(unknown.err, "(ERROR) --set nope: the bound pixel shader").size(), 1u)
        << unknown.err;

    // Another shader: the comparison names the call where the runs part.
    test::WriteFile(start.Path("assets/pixel.psh"),
                    "float4 ps_main(float4 c : COLOR0) : COLOR0 { return c; }\n");
    const ToolRun other =
        Snapshot(start.path(), {"--dir", "assets", "--compare", "p.png", "--out", "o.png"});
    EXPECT_EQ(Lines(other.err, "trace: the runs differ first at call").size(), 1u) << other.err;
    EXPECT_NE(test::ReadFile(start.Path("o-diff.txt")).find("CreatePixelShader"),
              std::string::npos);
}

TEST_F(SnapshotToolTest, AReferenceOfAnotherSizeOrNoPictureIsAClearError) {
    snapshot::RgbPicture small;
    small.width = 10;
    small.height = 5;
    small.rgb.assign(std::size_t{10} * 5 * 3, 0);
    ASSERT_TRUE(snapshot::WritePng(start.Path("small.png"), small));
    const ToolRun run =
        Snapshot(start.path(), {"--dir", "assets", "--compare", "small.png", "--out", "f.png"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(Lines(run.err, "tessaline-snapshot:"),
              (std::vector<std::string>{"tessaline-snapshot: --compare " + start.Path("small.png") +
                                        ": the reference is 10 x 5, the frame 1000 x 500"}));

    const ToolRun missing =
        Snapshot(start.path(), {"--dir", "assets", "--compare", "none.png", "--out", "f.png"});
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.err, "tessaline-snapshot: --compare " + start.Path("none.png") +
                               ": cannot open the file\n");
}

TEST_F(SnapshotToolTest, BadOptionsExitWithTwoAndOneLineBeforeAnythingRuns) {
    const std::vector<std::vector<std::string>> bad = {
        {"--frame", "5"},     {"--key", "1:Q:X"}, {"--mouse", "0:1"},       {"--key", "0:W:0"},
        {"--no-such-option"}, {"--out"},          {"--dir", "no-such-dir"}, {"--every", "1:W"},
    };
    for (const std::vector<std::string>& args : bad) {
        SCOPED_TRACE(args[0]);
        std::vector<std::string> all = {"--dir", "assets"};
        all.insert(all.end(), args.begin(), args.end());
        const ToolRun run = Snapshot(start.path(), all);
        EXPECT_EQ(run.code, 2);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.rfind("tessaline-snapshot: " + args[0], 0), 0u) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(start.Path("frame-1.png")));
}

TEST_F(SnapshotToolTest, HelpExplainsTheFirstFrameAndTheChecks) {
    const ToolRun run = Snapshot(start.path(), {"--help"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out.rfind("usage: tessaline-snapshot", 0), 0u);
    for (const char* part : {"The first frame:", "before it binds the pixel shader", "--strict",
                             "--compare", "--threshold", "--tolerance", "Exit codes:"}) {
        EXPECT_NE(run.out.find(part), std::string::npos) << part;
    }
}

}  // namespace
