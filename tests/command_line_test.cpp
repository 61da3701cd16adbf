// tessaline's command line: what each option sets, every fault refused in one line, what WinMain
// is handed, where the bundled assets are said to be, and the real binary's exit codes and
// output for each (no display needed for --help, --version and a bad option).

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/sdl/command_line.h"
#include "tests/test_files.h"

#ifndef TESS_TESSALINE
#error "TESS_TESSALINE must name the tessaline binary"
#endif

namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, EachOptionSetsItsFieldAndWinMainGetsOnlyWatch) {
    test::TempDir dir;
    struct Case {
        Args args;
        bool help, version, watch;
        std::string dir, program;
    };
    const Case cases[] = {
        {{}, false, false, false, "", ""},
        {{"--watch"}, false, false, true, "", "--watch"},
        {{"--dir", dir.path()}, false, false, false, dir.path(), ""},
        {{"--dir", dir.path(), "--watch"}, false, false, true, dir.path(), "--watch"},
        {{"--watch", "--dir", "/tmp", "--dir", dir.path()},
         false,
         false,
         true,
         dir.path(),
         "--watch"},
        {{"--help"}, true, false, false, "", ""},
        {{"-h"}, true, false, false, "", ""},
        {{"--version"}, false, true, false, "", ""},
        // They end the run, so what follows them is not read.
        {{"--help", "--no-such-option"}, true, false, false, "", ""},
        {{"--version", "--dir"}, false, true, false, "", ""},
    };
    for (const Case& c : cases) {
        sdl::CommandLine o;
        ASSERT_EQ(sdl::ReadCommandLine(c.args, o), "") << ::testing::PrintToString(c.args);
        EXPECT_EQ(o.help, c.help) << ::testing::PrintToString(c.args);
        EXPECT_EQ(o.version, c.version) << ::testing::PrintToString(c.args);
        EXPECT_EQ(o.watch, c.watch) << ::testing::PrintToString(c.args);
        EXPECT_EQ(o.dir, c.dir) << ::testing::PrintToString(c.args);
        EXPECT_EQ(sdl::ProgramCommandLine(o), c.program) << ::testing::PrintToString(c.args);
    }
}

TEST(CommandLine, FaultsAreRefusedInOneLineThatNamesThem) {
    test::TempDir dir;
    test::WriteFile(dir.Path("plain"), "x");
    const std::pair<Args, std::string> cases[] = {
        {{"--bogus"}, "--bogus: unknown option (see --help)"},
        {{"watch"}, "watch: unknown option (see --help)"},
        {{"--dir=" + dir.path()}, "--dir=" + dir.path() + ": unknown option (see --help)"},
        {{"--watch", "-x"}, "-x: unknown option (see --help)"},
        {{"--dir"}, "--dir: needs a value"},
        {{"--dir", ""}, "--dir: an empty name"},
        {{"--dir", dir.Path("none")}, "--dir " + dir.Path("none") + ": no such directory"},
        {{"--dir", dir.Path("plain")}, "--dir " + dir.Path("plain") + ": no such directory"},
        {{"--set"}, "--set: needs a value"},
        {{"--set", "tint"}, "--set tint: not NAME=VALUE[,VALUE...]"},
        {{"--set", "tint=1,"}, "--set tint=1,: an empty value in 1,"},
    };
    for (const auto& [args, says] : cases) {
        sdl::CommandLine o;
        o.watch = true;
        EXPECT_EQ(sdl::ReadCommandLine(args, o), says);
        EXPECT_TRUE(o.watch) << "a refused command line changed the options";
    }
}

TEST(CommandLine, SettingsAreThePlatformsAndNeverReachWinMain) {
    sdl::CommandLine o;
    ASSERT_EQ(sdl::ReadCommandLine({"--set", "tint=1,0,0,1", "--watch", "--set", "on=true"}, o),
              "");
    EXPECT_EQ(o.constants, (std::vector<std::string>{"tint=1,0,0,1", "on=true"}));
    EXPECT_EQ(sdl::ProgramCommandLine(o), "--watch");
}

TEST(BundledAssets, TheSourceTreesFromTheBuildFolderElseThePrefixShare) {
    struct Case {
        std::string executable, buildDir, expected;
    };
    const Case cases[] = {
        {"/usr/bin/tessaline", "/work/build", "/usr/share/tessaline"},
        {"/opt/t/bin/tessaline", "/work/build", "/opt/t/share/tessaline"},
        {"/opt/t/bin/../bin/tessaline", "", "/opt/t/share/tessaline"},
        {"/work/build/tessaline", "/work/build", "/work/src/assets"},
        {"/work/build/./tessaline", "/work/build", "/work/src/assets"},
        {"/work/build/tessaline", "/work/build/", "/work/src/assets"},
        {"/work/build/sub/tessaline", "/work/build", "/work/build/share/tessaline"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sdl::BundledAssetsDir(c.executable, c.buildDir, "/work/src/assets",
                                        "../share/tessaline"),
                  c.expected)
            << c.executable;
    }
}

TEST(BundledAssets, TheHintNamesTheFolderWhereItHoldsTheFilesElseSaysHowToChooseOne) {
    test::TempDir empty, assets;
    EXPECT_FALSE(sdl::HoldsProgramFiles(empty.path()));
    test::WriteFile(assets.Path("readme.txt"), "");
    EXPECT_FALSE(sdl::HoldsProgramFiles(assets.path()));
    for (const char* name : sdl::kProgramFiles) {
        test::TempDir one;
        test::WriteFile(one.Path(name), "");
        EXPECT_TRUE(sdl::HoldsProgramFiles(one.path())) << name;
    }
    test::WriteFile(assets.Path("Tiger.x"), "");
    EXPECT_EQ(sdl::MissingFilesHint("/home/me", assets.path()),
              "tessaline: none of vertex.vsh, pixel.psh, Tiger.x, seafloor.x is in /home/me; the "
              "bundled assets are in " +
                  assets.path() + ": run tessaline --dir " + assets.path() +
                  ", or --dir DIR for a folder of your own");
    EXPECT_EQ(sdl::MissingFilesHint("/home/me", empty.path()),
              "tessaline: none of vertex.vsh, pixel.psh, Tiger.x, seafloor.x is in /home/me; run "
              "tessaline --dir DIR with a folder that holds them");
}

// ---- The real binary ------------------------------------------------------------------------

using ProgramRun = test::ProcessRun;

// Runs tessaline in `cwd`; without `display` no DISPLAY, WAYLAND_DISPLAY or SDL_VIDEODRIVER is
// set. With `stopWhen`, waits up to 20 s for stderr to hold it, then asks the program to end.
ProgramRun Tessaline(const std::string& cwd, const Args& args, bool display,
                     const std::string& stopWhen = {}) {
    const auto environment = [display] {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) unsetenv(name);
        if (display) setenv("SDL_VIDEODRIVER", "offscreen", 1);
    };
    return test::RunProcess(TESS_TESSALINE, args, cwd, environment, stopWhen);
}

TEST(TessalineBinary, HelpVersionAndBadOptionsNeedNoDisplayAndExitWithTheirCodes) {
    test::TempDir cwd;
    struct Case {
        Args args;
        int code;
        std::string out;  // the start of stdout
        std::string err;  // all of stderr
    };
    const Case cases[] = {
        {{"--help"}, 0, "usage: tessaline [--dir DIR] [--watch] [--help] [--version]\n", ""},
        {{"--dir", "/", "--help"}, 0, "usage: tessaline ", ""},
        {{"--version"}, 0, std::string("tessaline ") + TESS_VERSION + "\n", ""},
        {{"--frobnicate"}, 2, "", "tessaline: --frobnicate: unknown option (see --help)\n"},
        {{"--dir"}, 2, "", "tessaline: --dir: needs a value\n"},
        {{"--dir", cwd.Path("gone")},
         2,
         "",
         "tessaline: --dir " + cwd.Path("gone") + ": no such directory\n"},
        {{},
         1,
         "",
         "tessaline: no display: set DISPLAY or WAYLAND_DISPLAY, or use tessaline-snapshot for "
         "headless runs\n"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = Tessaline(cwd.path(), c.args, false);
        EXPECT_EQ(run.code, c.code) << ::testing::PrintToString(c.args) << run.err;
        EXPECT_EQ(run.out.substr(0, c.out.size()), c.out) << ::testing::PrintToString(c.args);
        EXPECT_EQ(run.err, c.err) << ::testing::PrintToString(c.args);
    }
    // --version prints one line, the whole of stdout.
    EXPECT_EQ(Tessaline(cwd.path(), {"--version"}, false).out,
              std::string("tessaline ") + TESS_VERSION + "\n");
}

TEST(TessalineBinary, AFolderWithoutTheFilesGetsOneLineThatNamesTheBundledAssets) {
    test::TempDir empty;
    // Run from the build folder, the program names the source tree's assets.
    const std::string hint = "tessaline: none of vertex.vsh, pixel.psh, Tiger.x, seafloor.x is in ";
    const ProgramRun run = Tessaline("/", {"--dir", empty.path()}, true, "bad PS code");
    EXPECT_EQ(run.code, 0) << run.err;
    const std::string expected = hint + empty.path() +
                                 "; the bundled assets are in " TESS_SOURCE_DIR
                                 "/assets: run tessaline --dir " TESS_SOURCE_DIR
                                 "/assets, or --dir DIR for a folder of your own\n";
    EXPECT_EQ(run.err.substr(0, expected.size()), expected);
    // The boxes of the missing files follow, as without the hint.
    EXPECT_NE(run.err.find("bad VS code or the file doesn't exist!"), std::string::npos);
    // A folder with any one of the files gets no hint.
    test::TempDir one;
    test::WriteFile(one.Path("pixel.psh"), "");
    const ProgramRun quiet = Tessaline(one.path(), {}, true, "bad PS code");
    EXPECT_EQ(quiet.err.find(hint), std::string::npos) << quiet.err;
}

}  // namespace
