// What tessaline-snapshot --strict watches: a call trace that notes every message box the
// program shows, every shader compile that fails and every compiled shader the device refuses
// to create, and hands every call on to the trace that was installed before it
// (TESSALINE_TRACE's file), so both work at once.
#pragma once

#include <string>
#include <vector>

#include "platform/core/call_trace.h"

namespace snapshot {

class StrictWatch : public platform::CallTrace {
  public:
    // `next` may be null.
    explicit StrictWatch(platform::CallTrace* next) : next_(next) {}

    std::size_t Record(std::string api, std::vector<std::string> args, std::string result) override;
    void SetResult(std::size_t call, std::string result) override;
    void Note(const std::string& text) override {
        if (next_) next_->Note(text);
    }

    // One line per problem, in the order they happened.
    const std::vector<std::string>& Problems() const { return problems_; }

  private:
    platform::CallTrace* next_;
    std::vector<std::string> problems_;
    std::size_t count_ = 0;
    // The last compile of each stage, vertex then pixel, as "file (entry e, profile p)".
    std::string lastCompile_[2];
};

}  // namespace snapshot
