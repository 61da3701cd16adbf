// The --strict call trace. The arguments arrive as the trace formats them: strings quoted,
// results as decimal numbers.
#include "tools/strict_watch.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace snapshot {

std::size_t StrictWatch::Record(std::string api, std::vector<std::string> args,
                                std::string result) {
    if (api == "MessageBoxA" && args.size() >= 3) {
        problems_.push_back("message box " + args[2] + ": " + args[1]);
    } else if (api == "D3DXCompileShaderFromFileA" && args.size() >= 5) {
        const long long hr = std::strtoll(result.c_str(), nullptr, 10);
        if (hr < 0) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%08" PRIX32,
                          static_cast<std::uint32_t>(static_cast<std::int32_t>(hr)));
            problems_.push_back("compile failed: " + args[0] + " (entry " + args[3] + ", profile " +
                                args[4] + "): " + code);
        }
    }
    if (next_) return next_->Record(std::move(api), std::move(args), std::move(result));
    return count_++;
}

void StrictWatch::SetResult(std::size_t call, std::string result) {
    if (next_) next_->SetResult(call, std::move(result));
}

}  // namespace snapshot
