// The trace tessaline-snapshot writes beside each frame (shot-1.png, shot-1.trace): a call trace
// that keeps every call as the TESSALINE_TRACE file writes it, notes included, and hands each on
// to the trace installed before it. A long run keeps its first frame, which holds the set-up,
// and its last kKeptFrames frames, so that its memory stays flat. Also the comparison of two such
// traces: the first call in which two runs differ.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/call_trace.h"

namespace snapshot {

class TraceKeeper : public platform::CallTrace {
  public:
    static constexpr std::size_t kKeptFrames = 256;
    // `next` may be null.
    explicit TraceKeeper(platform::CallTrace* next) : next_(next) {}

    std::size_t Record(std::string api, std::vector<std::string> args, std::string result) override;
    void SetResult(std::size_t call, std::string result) override;
    void Note(const std::string& text) override;

    // The calls so far, one line each, ending in a newline.
    std::string Text() const;

  private:
    void Add(std::string line);
    platform::CallTrace* next_;
    std::vector<std::string> first_;               // up to the first Present
    std::deque<std::vector<std::string>> frames_;  // the frames after it, each to its Present
    std::vector<std::string> current_;
    bool firstDone_ = false;
    std::size_t leftOut_ = 0;  // frames dropped from the middle
    std::size_t count_ = 0;    // calls recorded, for results given later ("#N = result")
    static constexpr std::size_t kNone = ~std::size_t{0};
    // This trace's numbers of calls whose result is not known yet, and the next trace's; calls
    // that call back into the program (window procedures) are few and short-lived.
    std::vector<std::pair<std::size_t, std::size_t>> numbers_;
};

// Where two traces first differ: the 1-based number of the call (a note belongs to the call
// above it) and the lines of each; `found` false where they are the same.
struct TraceDifference {
    bool found = false;
    std::size_t call = 0;
    std::string reference, run;  // the call, and the differing note beneath it where that differs
};
TraceDifference FirstDifference(const std::string& reference, const std::string& run);
// "call 41: reference: SetPixelShaderConstantF(...) = 0 / this run: ..." in one line.
std::string DifferenceText(const TraceDifference& difference);

}  // namespace snapshot
