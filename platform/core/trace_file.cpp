// The TESSALINE_TRACE file: every platform call as a line, its notes beneath it.
#include "platform/core/trace_file.h"

#include <cstdio>

#include "platform/core/call_trace.h"

namespace platform {
namespace {

class FileTrace : public CallTrace {
  public:
    explicit FileTrace(std::FILE* file) : file_(file) {}

    std::size_t Record(std::string api, std::vector<std::string> args,
                       std::string result) override {
        // The loop polls the queue thousands of times a second; what it takes out shows in the
        // DispatchMessageA and WindowProc lines.
        if (api == "PeekMessageA") return kSkipped;
        std::fprintf(file_, "%s\n", CallLine(api, args, result).c_str());
        // Line by line, so that a reader sees the calls while the program runs.
        std::fflush(file_);
        return count_++;
    }

    // A result known only when a call returns is written as a line of its own.
    void SetResult(std::size_t call, std::string result) override {
        if (call == kSkipped) return;
        std::fprintf(file_, "#%zu = %s\n", call, result.c_str());
        std::fflush(file_);
    }

    // Under the call it explains, indented, so that a reader (and a diff) sees it with its call.
    // It counts as a line: "#N" is the Nth line before the results, as readers count them.
    void Note(const std::string& text) override {
        std::fprintf(file_, "%s\n", NoteLine(text).c_str());
        std::fflush(file_);
        ++count_;
    }

  private:
    static constexpr std::size_t kSkipped = ~std::size_t{0};
    std::FILE* file_;
    std::size_t count_ = 0;
};

}  // namespace

bool TraceToFile(const char* path) {
    std::FILE* file = std::fopen(path, "w");
    if (!file) {
        std::fprintf(stderr, "TRACE: cannot write %s\n", path);
        return false;
    }
    static FileTrace trace(file);
    SetCallTrace(&trace);
    return true;
}

}  // namespace platform
