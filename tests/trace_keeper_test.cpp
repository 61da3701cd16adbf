// The trace tessaline-snapshot keeps beside its frames: the set-up and the last frames of a long
// run, results and notes in place; and the first call in which two runs differ, for a changed
// constant and a changed shader.
#include <gtest/gtest.h>

#include "tools/trace_keeper.h"

namespace {

using snapshot::FirstDifference;
using snapshot::TraceKeeper;

// The calls of a run with a pixel shader of `digest` and `tint` set in each of `frames` frames.
std::string RunTrace(const std::string& digest, const std::string& tint, int frames) {
    TraceKeeper keeper(nullptr);
    keeper.Record("D3DXCompileShaderFromFileA", {"\"pixel.psh\""}, "0");
    keeper.Record("CreatePixelShader", {"code", "&"}, "0 ps#1");
    keeper.Note("ps#1: pixel.psh, ps_main, ps_2_0; source digest " + digest);
    for (int f = 0; f < frames; ++f) {
        keeper.Record("Clear", {"0"}, "0");
        keeper.Record("SetPixelShader", {"ps#1"}, "0");
        keeper.Record("SetPixelShaderConstantF", {"0", "{" + tint + "}", "1"}, "0");
        keeper.Record("DrawSubset", {"mesh#1", "0"}, "0");
        keeper.Record("Present", {"NULL"}, "0");
    }
    return keeper.Text();
}

TEST(TraceComparison, NamesTheFirstCallInWhichTwoRunsDiffer) {
    const std::string base = RunTrace("aaaa", "1 0 0 1", 2);
    struct Case {
        const char* what;
        std::string run;
        bool found;
        std::size_t call;
        std::string line;  // in this run's side
    } cases[] = {
        {"the same run", RunTrace("aaaa", "1 0 0 1", 2), false, 0, ""},
        {"a changed constant", RunTrace("aaaa", "0 1 0 1", 2), true, 5,
         "SetPixelShaderConstantF(0, {0 1 0 1}, 1) = 0"},
        {"a changed shader", RunTrace("bbbb", "1 0 0 1", 2), true, 2,
         "CreatePixelShader(code, &) = 0 ps#1\n    // ps#1: pixel.psh, ps_main, ps_2_0; source "
         "digest bbbb"},
        {"a run cut short", RunTrace("aaaa", "1 0 0 1", 1), true, 8, "(the trace ends)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const snapshot::TraceDifference d = FirstDifference(base, c.run);
        EXPECT_EQ(d.found, c.found);
        if (!c.found) continue;
        EXPECT_EQ(d.call, c.call);
        EXPECT_EQ(d.run, c.line);
        EXPECT_NE(snapshot::DifferenceText(d).find("call " + std::to_string(c.call)),
                  std::string::npos);
    }
}

TEST(TraceKeeping, ALongRunKeepsItsSetUpAndItsLastFrames) {
    TraceKeeper keeper(nullptr);
    keeper.Record("CreateDevice", {}, "0 device#1");
    for (std::size_t f = 0; f < TraceKeeper::kKeptFrames + 10; ++f) {
        keeper.Record("Clear", {std::to_string(f)}, "0");
        keeper.Record("Present", {}, "0");
    }
    const std::size_t call = keeper.Record("DispatchMessageA", {}, "");
    keeper.SetResult(call, "0");
    const std::string text = keeper.Text();
    EXPECT_EQ(text.rfind("CreateDevice() = 0 device#1\nClear(0) = 0\nPresent() = 0\n", 0), 0u);
    EXPECT_NE(text.find("// 9 frames left out"), std::string::npos) << text.substr(0, 200);
    EXPECT_EQ(text.find("Clear(9) = 0"), std::string::npos);
    EXPECT_NE(text.find("Clear(10) = 0"), std::string::npos);
    EXPECT_NE(text.find("DispatchMessageA()\n#" + std::to_string(call) + " = 0\n"),
              std::string::npos);
}

}  // namespace
