// The snapshot tool's trace beside each frame, and the comparison of two (see trace_keeper.h).
#include "tools/trace_keeper.h"

#include <sstream>

namespace snapshot {

void TraceKeeper::Add(std::string line) {
    (firstDone_ ? current_ : first_).push_back(std::move(line));
}

std::size_t TraceKeeper::Record(std::string api, std::vector<std::string> args,
                                std::string result) {
    // The loop's queue polls are as many as the loop's speed makes them, as in the trace file.
    if (api != "PeekMessageA") {
        Add(platform::CallLine(api, args, result));
        if (api == "Present") {
            if (!firstDone_) {
                firstDone_ = true;
            } else {
                frames_.push_back(std::move(current_));
                current_.clear();
                if (frames_.size() > kKeptFrames) {
                    frames_.pop_front();
                    ++leftOut_;
                }
            }
        }
    }
    // The number this trace gives a call is its own, so that a later result names it; a call
    // without a result may get one later, and the next trace knows it by its own number.
    const std::size_t mine = api == "PeekMessageA" ? kNone : count_++;
    const bool later = result.empty();
    if (next_) {
        const std::size_t theirs =
            next_->Record(std::move(api), std::move(args), std::move(result));
        if (mine != kNone && later) {
            numbers_.emplace_back(mine, theirs);
            if (numbers_.size() > 64) numbers_.erase(numbers_.begin());
        }
    }
    return mine;
}

void TraceKeeper::SetResult(std::size_t call, std::string result) {
    if (call != kNone) Add("#" + std::to_string(call) + " = " + result);
    if (!next_) return;
    for (auto it = numbers_.begin(); it != numbers_.end(); ++it) {
        if (it->first == call) {
            const std::size_t theirs = it->second;
            numbers_.erase(it);
            next_->SetResult(theirs, std::move(result));
            return;
        }
    }
}

void TraceKeeper::Note(const std::string& text) {
    // A line of its own, counted as the trace file counts it (trace_file.cpp).
    Add(platform::NoteLine(text));
    ++count_;
    if (next_) next_->Note(text);
}

std::string TraceKeeper::Text() const {
    std::string out;
    for (const std::string& line : first_) out += line + "\n";
    if (leftOut_)
        out += "// " + std::to_string(leftOut_) + " frames left out: the trace keeps the last " +
               std::to_string(kKeptFrames) + "\n";
    for (const auto& frame : frames_) {
        for (const std::string& line : frame) out += line + "\n";
    }
    for (const std::string& line : current_) out += line + "\n";
    return out;
}

namespace {

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool IsNote(const std::string& line) {
    return line.rfind("    // ", 0) == 0;
}

}  // namespace

TraceDifference FirstDifference(const std::string& reference, const std::string& run) {
    const std::vector<std::string> a = LinesOf(reference), b = LinesOf(run);
    TraceDifference d;
    std::size_t calls = 0, lastCall = 0;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string* x = i < a.size() ? &a[i] : nullptr;
        const std::string* y = i < b.size() ? &b[i] : nullptr;
        const bool note = (x && IsNote(*x)) || (y && IsNote(*y));
        if (!note) {
            ++calls;
            lastCall = i;
        }
        if (x && y && *x == *y) continue;
        d.found = true;
        d.call = calls;
        const auto side = [&](const std::vector<std::string>& lines, const std::string* line) {
            if (!line) return std::string("(the trace ends)");
            if (!IsNote(*line) || lastCall >= lines.size()) return *line;
            return lines[lastCall] + "\n" + *line;
        };
        d.reference = side(a, x);
        d.run = side(b, y);
        return d;
    }
    return d;
}

std::string DifferenceText(const TraceDifference& d) {
    if (!d.found) return "the two runs made the same calls";
    const auto flat = [](std::string s) {
        for (std::size_t at; (at = s.find("\n    // ")) != std::string::npos;)
            s.replace(at, 8, " // ");
        return s;
    };
    return "the runs differ first at call " + std::to_string(d.call) + ": the reference's " +
           flat(d.reference) + " / this run's " + flat(d.run);
}

}  // namespace snapshot
