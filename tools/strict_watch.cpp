// The --strict call trace. The arguments arrive as the trace formats them: strings quoted,
// results as decimal numbers.
#include "tools/strict_watch.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace snapshot {

namespace {

// A result as the trace writes it (a decimal number) in the hexadecimal form HRESULTs are known by.
std::string Hex(const std::string& result) {
    const long long hr = std::strtoll(result.c_str(), nullptr, 10);
    char code[16];
    std::snprintf(code, sizeof code, "0x%08" PRIX32,
                  static_cast<std::uint32_t>(static_cast<std::int32_t>(hr)));
    return code;
}

bool Failed(const std::string& result) {
    return std::strtoll(result.c_str(), nullptr, 10) < 0;
}

}  // namespace

std::size_t StrictWatch::Record(std::string api, std::vector<std::string> args,
                                std::string result) {
    if (api == "MessageBoxA" && args.size() >= 3) {
        problems_.push_back("message box " + args[2] + ": " + args[1]);
    } else if (api == "D3DXCompileShaderFromFileA" && args.size() >= 5) {
        const std::string what = args[0] + " (entry " + args[3] + ", profile " + args[4] + ")";
        if (Failed(result)) problems_.push_back("compile failed: " + what + ": " + Hex(result));
        // The shader a Create*Shader after it makes: profiles start with their stage's letter.
        lastCompile_[args[4].rfind("\"p", 0) == 0 ? 1 : 0] = what;
    } else if ((api == "CreateVertexShader" || api == "CreatePixelShader") && Failed(result)) {
        const bool pixel = api == "CreatePixelShader";
        const std::string& from = lastCompile_[pixel ? 1 : 0];
        problems_.push_back(std::string("the device refused the ") + (pixel ? "pixel" : "vertex") +
                            " shader" + (from.empty() ? "" : " compiled from " + from) + ": " +
                            Hex(result));
    }
    if (next_) return next_->Record(std::move(api), std::move(args), std::move(result));
    return count_++;
}

void StrictWatch::SetResult(std::size_t call, std::string result) {
    if (next_) next_->SetResult(call, std::move(result));
}

}  // namespace snapshot
