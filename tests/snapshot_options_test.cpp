// tessaline-snapshot's command line: what each option sets, every malformed or out-of-run value
// refused with one line that names it, the frame file names and the input script the options
// make.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/test_files.h"
#include "tools/snapshot_options.h"

namespace {

using snapshot::Options;
using Args = std::vector<std::string>;

struct Refusal {
    Args args;
    std::string says;  // a part of the one-line error
};

class SnapshotOptionsTest : public ::testing::Test {
  protected:
    std::string Read(const Args& args, Options& options) {
        return snapshot::ReadOptions(args, start.path(), options);
    }
    test::TempDir start;
};

TEST_F(SnapshotOptionsTest, DefaultsRunTwoIterationsAndWriteTheLastFrameBesideTheCaller) {
    Options o;
    ASSERT_EQ(Read({}, o), "");
    EXPECT_EQ(o.iterations, 2);
    EXPECT_EQ(snapshot::FramesToWrite(o), (std::set<long>{1}));
    EXPECT_EQ(o.out, start.path() + "/frame-%d.png");
    EXPECT_EQ(o.driver, "offscreen");
    EXPECT_FALSE(o.strict);
    EXPECT_TRUE(o.reference.empty());
    EXPECT_TRUE(o.dir.empty());
}

TEST_F(SnapshotOptionsTest, RelativeNamesAreTakenFromTheStartDirectoryNotFromDir) {
    test::TempDir assets;
    std::filesystem::create_directory(start.Path("shots"));
    Options o;
    ASSERT_EQ(
        Read({"--dir", assets.path(), "--out", "shots/a-%03d.png", "--compare", "ref.png"}, o), "");
    EXPECT_EQ(o.dir, assets.path());
    EXPECT_EQ(o.out, start.path() + "/shots/a-%03d.png");
    EXPECT_EQ(o.reference, start.path() + "/ref.png");
    ASSERT_EQ(Read({"--dir", "."}, o), "");
    EXPECT_EQ(o.dir, start.path() + "/.");
    ASSERT_EQ(Read({"--out", "/tmp/x.png"}, o), "");
    EXPECT_EQ(o.out, "/tmp/x.png");
}

TEST_F(SnapshotOptionsTest, EveryOptionSetsItsField) {
    Options o;
    ASSERT_EQ(Read({"--iterations",
                    "30",
                    "--frame",
                    "3",
                    "--frame",
                    "29",
                    "--out",
                    "s-%d.png",
                    "--key",
                    "5:W:10",
                    "--key",
                    "0:space",
                    "--key",
                    "1:F12",
                    "--mouse",
                    "7:-4:9",
                    "--every",
                    "7:RETURN",
                    "--report-memory",
                    "4",
                    "--stamp-first-frame",
                    "--driver",
                    "x11",
                    "--strict"},
                   o),
              "");
    EXPECT_EQ(o.iterations, 30);
    EXPECT_EQ(o.frames, (std::set<long>{3, 29}));
    ASSERT_EQ(o.keys.size(), 3u);
    EXPECT_EQ(o.keys[0].at, 5);
    EXPECT_EQ(o.keys[0].key, static_cast<WPARAM>('W'));
    EXPECT_EQ(o.keys[0].hold, 10);
    EXPECT_EQ(o.keys[1].hold, 1);
    EXPECT_EQ(o.keys[2].key, VK_F12);
    ASSERT_EQ(o.moves.size(), 1u);
    EXPECT_EQ(o.moves[0].dx, -4);
    EXPECT_EQ(o.moves[0].dy, 9);
    ASSERT_EQ(o.periodic.size(), 1u);
    EXPECT_EQ(o.periodic[0].every, 7);
    EXPECT_EQ(o.periodic[0].key, VK_RETURN);
    EXPECT_EQ(o.memoryReports, (std::set<long>{4}));
    EXPECT_TRUE(o.stampFirstFrame);
    EXPECT_EQ(o.driver, "x11");
    EXPECT_TRUE(o.strict);

    ASSERT_EQ(Read({"--compare", "r.png", "--threshold", "2.5", "--tolerance", "0"}, o), "");
    EXPECT_DOUBLE_EQ(o.threshold, 2.5);
    EXPECT_DOUBLE_EQ(o.tolerance, 0.0);
    ASSERT_EQ(Read({"--help", "--no-such-option"}, o), "");
    EXPECT_TRUE(o.help);
}

TEST_F(SnapshotOptionsTest, BadOptionsAreRefusedInOneLineThatNamesThem) {
    std::filesystem::create_directory(start.Path("shots"));
    const std::vector<Refusal> refusals = {
        {{"--frame", "5"}, "--frame 5: not in the run of 2 iterations (0 to 1)"},
        {{"--frame", "2", "--iterations", "2"}, "--frame 2: not in the run"},
        {{"--iterations", "10", "--frame", "10"}, "--frame 10: not in the run of 10"},
        {{"--frame", "-1"}, "--frame -1: not a whole number from 0"},
        {{"--frame", "1x"}, "--frame 1x: not a whole number"},
        {{"--report-memory", "9"}, "--report-memory 9: not in the run"},
        {{"--iterations", "0"}, "--iterations 0: not a whole number from 1"},
        {{"--iterations", "ten"}, "--iterations ten"},
        {{"--iterations", "99999999999999999999"}, "--iterations 99999999999999999999"},
        {{"--key", "1:Q:X"}, "--key 1:Q:X: not ITER:KEY or ITER:KEY:N"},
        {{"--key", "1:Q:0"}, "--key 1:Q:0"},
        {{"--key", "1:Q:2:3"}, "--key 1:Q:2:3"},
        {{"--key", "1"}, "--key 1:"},
        {{"--key", "x:W"}, "--key x:W"},
        {{"--key", "1:NOPE"}, "--key 1:NOPE"},
        {{"--key", "1:F13"}, "--key 1:F13"},
        {{"--key", "1:F1x"}, "--key 1:F1x"},
        {{"--key", "1:WW"}, "--key 1:WW"},
        {{"--key", "7:W"}, "--key 7:W: not in the run"},
        {{"--mouse", "1:2"}, "--mouse 1:2: not ITER:DX:DY"},
        {{"--mouse", "1:2:3:4"}, "--mouse 1:2:3:4"},
        {{"--mouse", "1:2:y"}, "--mouse 1:2:y"},
        {{"--mouse", "1:-9223372036854775808:0"}, "--mouse 1:-9223372036854775808:0"},
        {{"--mouse", "5:1:1"}, "--mouse 5:1:1: not in the run"},
        {{"--every", "1:W"}, "--every 1:W: not N:KEY with N at least 2"},
        {{"--every", "5"}, "--every 5"},
        {{"--out", "a%s.png"}, "--out a%s.png: a file name with at most one %d"},
        {{"--out", "a%d-%d.png"}, "--out a%d-%d.png"},
        {{"--out", "a%"}, "--out a%"},
        {{"--out", "nowhere/a.png"}, "no such directory"},
        {{"--out", "shots/"}, "not a file name"},
        {{"--iterations", "3", "--frame", "0", "--frame", "2", "--out", "same.png"},
         "--out " + std::string("same.png") + ": needs %d when more than one frame"},
        {{"--dir", "no-such-dir"}, "--dir no-such-dir: no such directory"},
        {{"--threshold", "1"}, "--threshold: needs --compare"},
        {{"--tolerance", "1"}, "--tolerance: needs --compare"},
        {{"--compare", "r.png", "--threshold", "101"}, "--threshold 101: not a percentage"},
        {{"--compare", "r.png", "--threshold", "nan"}, "--threshold nan"},
        {{"--compare", "r.png", "--tolerance", "-1"}, "--tolerance -1: not a colour distance"},
        {{"--compare", "r.png", "--frame", "0", "--frame", "1"},
         "--compare: needs exactly one frame"},
        {{"--compare", "frame-1.png"}, "would be overwritten by --out"},
        {{"--compare", "frame-1-diff.png"}, "would be overwritten by --out"},
        {{"--bogus"}, "--bogus: unknown option"},
        {{"frame.png"}, "frame.png: unknown option"},
        {{"--iterations"}, "--iterations: needs a value"},
        {{"--compare"}, "--compare: needs a value"},
        {{"--probe", "1000,0"}, "--probe 1000,0: not X,Y with X from 0 to 999"},
        {{"--probe", "0,500"}, "--probe 0,500"},
        {{"--probe", "5"}, "--probe 5"},
        {{"--probe", "-1,2"}, "--probe -1,2"},
        {{"--set", "tint"}, "--set tint: not NAME=VALUE"},
        {{"--set", "tint=1,,2"}, "--set tint=1,,2: an empty value"},
        {{"--strict=debug", "--no-debug"}, "--strict=debug: needs the debug layer"},
    };
    for (const Refusal& r : refusals) {
        std::string joined;
        for (const std::string& a : r.args) joined += a + " ";
        SCOPED_TRACE(joined);
        Options o;
        const std::string error = Read(r.args, o);
        EXPECT_NE(error.find(r.says), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

TEST_F(SnapshotOptionsTest, InstrumentsAreChosenByTheirOptions) {
    Options o;
    ASSERT_EQ(Read({}, o), "");
    EXPECT_TRUE(o.debugLayer);
    EXPECT_FALSE(o.strictDebug);
    ASSERT_EQ(Read({"--probe", "0,0", "--probe", "999,499", "--set", "tint=1,0.5", "--set",
                    "on=true", "--strict=debug"},
                   o),
              "");
    EXPECT_EQ(o.probes, (std::vector<std::pair<int, int>>{{0, 0}, {999, 499}}));
    EXPECT_EQ(o.constants, (std::vector<std::string>{"tint=1,0.5", "on=true"}));
    EXPECT_TRUE(o.strict);
    EXPECT_TRUE(o.strictDebug);
    ASSERT_EQ(Read({"--no-debug"}, o), "");
    EXPECT_FALSE(o.debugLayer);
}

TEST(SnapshotFileNames, FrameNumbersAndDifferencePictures) {
    const struct {
        std::string pattern;
        long frame;
        std::string name;
    } names[] = {
        {"/s/frame-%d.png", 7, "/s/frame-7.png"}, {"/s/f%03d.png", 7, "/s/f007.png"},
        {"/s/f%-3d|.png", 7, "/s/f7  |.png"},     {"/s/100%%-%d.png", 12, "/s/100%-12.png"},
        {"/s/fixed.png", 3, "/s/fixed.png"},      {"/s/%d", 1234567, "/s/1234567"},
    };
    for (const auto& n : names) EXPECT_EQ(snapshot::FrameFileName(n.pattern, n.frame), n.name);
    EXPECT_EQ(snapshot::DiffFileName("/s/shot-1.png"), "/s/shot-1-diff.png");
    EXPECT_EQ(snapshot::DiffFileName("/a.b/shot"), "/a.b/shot-diff.png");
    EXPECT_EQ(snapshot::DiffFileName("/s/.png"), "/s/.png-diff.png");
    EXPECT_EQ(snapshot::BesideFrame("/s/shot-1.png", ".trace"), "/s/shot-1.trace");
    EXPECT_EQ(snapshot::BesideFrame("/a.b/shot", "-probe.png"), "/a.b/shot-probe.png");
}

TEST(SnapshotInputScript, KeysHeldPeriodicPressesMouseMovesAndTheCloseBox) {
    Options o;
    o.iterations = 10;
    o.keys = {{2, 'W', 3}};
    o.periodic = {{4, VK_SPACE}};
    o.moves = {{5, -3, 7}};
    const std::vector<platform::ScriptEvent> events = snapshot::InputScript(o);
    struct Expected {
        std::uint64_t iteration;
        UINT message;
        WPARAM wParam;
    };
    const std::vector<Expected> keys = {
        {2, WM_KEYDOWN, 'W'},    {5, WM_KEYUP, 'W'},        {4, WM_KEYDOWN, VK_SPACE},
        {5, WM_KEYUP, VK_SPACE}, {8, WM_KEYDOWN, VK_SPACE}, {9, WM_KEYUP, VK_SPACE},
    };
    ASSERT_EQ(events.size(), keys.size() + 2);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events[i].kind, platform::ScriptEvent::Kind::Message);
        EXPECT_EQ(events[i].iteration, keys[i].iteration);
        EXPECT_EQ(events[i].message, keys[i].message);
        EXPECT_EQ(events[i].wParam, keys[i].wParam);
        // A key-up carries the previous-state and transition bits, as Win32 sends it.
        EXPECT_EQ(events[i].lParam,
                  keys[i].message == WM_KEYUP ? (1 | KF_REPEAT_BIT | KF_UP_BIT) : 1);
    }
    EXPECT_EQ(events[6].kind, platform::ScriptEvent::Kind::MouseMotion);
    EXPECT_EQ(events[6].iteration, 5u);
    EXPECT_EQ(events[6].dx, -3);
    EXPECT_EQ(events[6].dy, 7);
    EXPECT_EQ(events[7].iteration, 10u);
    EXPECT_EQ(events[7].message, static_cast<UINT>(WM_SYSCOMMAND));
    EXPECT_EQ(events[7].wParam, static_cast<WPARAM>(SC_CLOSE));
}

}  // namespace
