// Helpers shared by the tests that read the recorder's log.
#pragma once

#include <string>
#include <vector>

#include "platform/core/call_trace.h"
#include "platform/record/call_log.h"
#include "platform/record/formatting.h"

namespace test {

using platform::Args;
using platform::Fmt;

// The text of an expected call, formatted as the recorder formats it.
inline std::string CallText(const std::string& api, const std::vector<std::string>& args,
                            const std::string& result = {}) {
    return record::Call{api, args, result}.Text();
}

// Texts of the calls to `apis`, in order.
inline std::vector<std::string> TextsOf(const std::vector<record::Call>& calls,
                                        std::initializer_list<std::string_view> apis) {
    return record::Texts(record::Only(calls, apis));
}

// Index of the first call to `api` at or after `from`, or -1.
inline int IndexOf(const std::vector<record::Call>& calls, std::string_view api, int from = 0) {
    for (int i = from; i < static_cast<int>(calls.size()); ++i) {
        if (calls[i].api == api) return i;
    }
    return -1;
}

}  // namespace test
