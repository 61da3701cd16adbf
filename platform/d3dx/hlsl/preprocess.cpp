// Includes and lines of the preprocessed source (see preprocess.h).
#include "platform/d3dx/hlsl/preprocess.h"

#include <regex>
#include <sstream>

namespace d3dx {

std::string FileToken(std::uint32_t id) {
    return "@" + std::to_string(id);
}

SourceLines::SourceLines(std::string sourceName) {
    names_.push_back(std::move(sourceName));
}

void SourceLines::Name(std::uint32_t id, std::string name) {
    if (names_.size() <= id) names_.resize(id + 1);
    names_[id] = std::move(name);
}

std::string SourceLines::NameOf(const std::string& token) const {
    if (token.size() > 1 && token[0] == '@' &&
        token.find_first_not_of("0123456789", 1) == std::string::npos && token.size() < 10) {
        const std::size_t id = std::stoul(token.substr(1));
        if (id < names_.size()) return names_[id];
    }
    return token;  // a name of the shader's own #line directive
}

std::pair<std::string, int> SourceLines::Where(int line) const {
    for (auto run = runs_.rbegin(); run != runs_.rend(); ++run) {
        if (run->first <= line) return {run->file, run->line + (line - run->first)};
    }
    return {names_[0], line};
}

void SourceLines::Read(const std::string& preprocessed, std::string& flat, std::string& listing) {
    static const std::regex directive(R"re(^\s*#\s*line\s+(\d+)(?:\s+(?:"([^"]*)"|\d+))?\s*$)re");
    runs_.clear();
    flat.clear();
    listing.clear();
    std::string file = names_[0];
    int next = 1;       // the line number of the next line of text
    bool moved = true;  // a directive since the last line: the next line starts a run
    int flatLine = 1;
    std::size_t at = 0;
    while (at < preprocessed.size()) {
        std::size_t end = preprocessed.find('\n', at);
        const bool lastWithoutBreak = end == std::string::npos;
        if (lastWithoutBreak) end = preprocessed.size();
        const std::string line = preprocessed.substr(at, end - at);
        at = end + 1;
        std::smatch m;
        if (line.find("line") != std::string::npos && std::regex_match(line, m, directive)) {
            next = std::stoi(m[1].str().substr(0, 9));
            if (m[2].matched) file = NameOf(m[2]);
            std::string shown;
            for (const char c : file)
                shown += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
            listing += "#line " + m[1].str() + (m[2].matched ? " \"" + shown + "\"" : "") + "\n";
            moved = true;
            continue;
        }
        if (moved) runs_.push_back({flatLine, file, next});
        moved = false;
        const std::string ending = lastWithoutBreak ? "" : "\n";
        flat += line + ending;
        listing += line + ending;
        ++flatLine;
        ++next;
    }
}

std::string SourceLines::Format(const std::vector<Diagnostic>& diagnostics) const {
    std::string out;
    for (Diagnostic d : diagnostics) {
        const auto [file, line] = Where(d.line);
        d.line = line;
        out += FormatDiagnostics({d}, file);
    }
    return out;
}

std::string SourceLines::FormatPreprocessorLog(const std::string& log) const {
    static const std::regex located(R"(^(ERROR|WARNING): (.*?):(\d+): (.*)$)");
    // Our includer's reason, which glslang wraps: "'#include' : REASON for header name: NAME".
    static const std::regex include(R"(^'#include' : (.*) for header name: .*$)");
    std::string out;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        std::string file = names_[0];
        if (std::regex_match(line, m, located)) {
            file = NameOf(m[2]);
            std::string text = m[4];
            std::smatch why;
            if (std::regex_match(text, why, include)) text = why[1];
            line = m[1].str() + ": " + file + ":" + m[3].str() + ": " + text;
        }
        out += FormatDiagnostics(ReadGlslangLog(line, 1), file);
    }
    return out;
}

AskingIncluder::AskingIncluder(const IncludeOpener& open, SourceLines& lines)
    : open_(open), lines_(lines) {}

glslang::TShader::Includer::IncludeResult* AskingIncluder::Failure(const std::string& why) {
    bytes_.push_back(why);
    return new IncludeResult("", bytes_.back().data(), bytes_.back().size(), nullptr);
}

glslang::TShader::Includer::IncludeResult* AskingIncluder::Include(std::uint32_t type,
                                                                   const char* name, size_t depth) {
    const std::string quoted = "'" + std::string(name) + "'";
    if (depth > kMaxIncludeDepth || depth == 0) {
        return Failure("#include nested more than " + std::to_string(kMaxIncludeDepth) +
                       " deep at " + quoted + " (does a file include itself?)");
    }
    if (openAt_.size() < depth) openAt_.resize(depth, 0);
    IncludeAnswer answer;
    if (open_) {
        answer = open_(IncludeAsk{type, openAt_[depth - 1], name});
    } else {
        answer.bytes = "cannot open include file " + quoted + ": nothing opens includes here";
    }
    if (!answer.ok) return Failure(answer.bytes);
    openAt_.resize(depth + 1);
    openAt_[depth] = answer.id;
    lines_.Name(answer.id, answer.shownName);
    // glslang reads the last byte of an included file: an empty one is a line break.
    bytes_.push_back(answer.bytes.empty() ? std::string("\n") : std::move(answer.bytes));
    return new IncludeResult(FileToken(answer.id), bytes_.back().data(), bytes_.back().size(),
                             nullptr);
}

glslang::TShader::Includer::IncludeResult* AskingIncluder::includeLocal(const char* name,
                                                                        const char*, size_t depth) {
    IncludeResult* result = Include(kIncludeLocal, name, depth);
    failedName_ = result->headerName.empty() ? name : "";
    failedWhy_ = result->headerName.empty() ? std::string(result->headerData, result->headerLength)
                                            : std::string();
    return result;
}

glslang::TShader::Includer::IncludeResult* AskingIncluder::includeSystem(const char* name,
                                                                         const char*,
                                                                         size_t depth) {
    // glslang asks here too when a "" include failed; the program asked its handler once.
    if (!failedName_.empty() && failedName_ == name) {
        failedName_.clear();
        return Failure(failedWhy_);
    }
    return Include(kIncludeSystem, name, depth);
}

void AskingIncluder::releaseInclude(IncludeResult* result) {
    delete result;
}

}  // namespace d3dx
