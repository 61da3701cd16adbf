// The recorder's log: every platform call in order, with its arguments and result as text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/call_trace.h"

namespace record {

struct Call {
    std::string api;
    std::vector<std::string> args;
    std::string result;

    // "api(arg, arg) = result", the form tests compare against.
    std::string Text() const;
    bool operator==(const Call&) const = default;
};

class CallLog : public platform::CallTrace {
  public:
    std::size_t Record(std::string api, std::vector<std::string> args, std::string result) override;
    void SetResult(std::size_t call, std::string result) override;

    const std::vector<Call>& Calls() const { return calls_; }
    void Clear() { calls_.clear(); }

  private:
    std::vector<Call> calls_;
};

// The process's log, installed as the call trace by InstallRecordingPlatform.
CallLog& Log();

// Calls whose api is one of `apis`, in order.
std::vector<Call> Only(const std::vector<Call>& calls,
                       std::initializer_list<std::string_view> apis);
// Texts of those calls, for compact comparisons.
std::vector<std::string> Texts(const std::vector<Call>& calls);

// Parses the numbers of a formatted argument ("[1 0 0 0; ...]", "(0.5 1 2)").
std::vector<float> Numbers(std::string_view arg);

// Lines of text written to a stream and read back by the whole-program runner.
std::string Serialize(const std::vector<Call>& calls);
std::vector<Call> Deserialize(std::string_view data);

}  // namespace record
