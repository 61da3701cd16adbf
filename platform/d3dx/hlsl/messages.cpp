// The compiler's messages as a Direct3D 9 author reads them: glslang's log made into
// "file(line,col): error X3004: message" lines as the real compiler prints them (its number and
// wording from one table, kFxcMessages), its follow-on errors dropped, its internal type names
// (" temp 3-component vector of float") written as HLSL writes them (float3), and its link errors
// kept, with the function names it mangles unmangled.
#include <cctype>
#include <cstdio>
#include <regex>
#include <sstream>

#include "platform/d3dx/hlsl/compiler.h"

namespace d3dx {
namespace {

// Errors glslang adds after the one that matters, once its parser has lost its way.
bool FollowOn(const std::string& text) {
    return text.find("'declaration' : Expected") != std::string::npos ||
           text.find("'expression' : Expected") != std::string::npos ||
           text.find("compilation errors") != std::string::npos ||
           text.find("compilation terminated") != std::string::npos;
}

std::string Trim(std::string s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    std::size_t start = 0;
    while (start < s.size() && std::isspace(static_cast<unsigned char>(s[start]))) ++start;
    return s.substr(start);
}

// "main(vf2;" and "@main(" become "main".
std::string Unmangle(const std::string& name) {
    std::string s = Trim(name);
    if (!s.empty() && s[0] == '@') s.erase(0, 1);
    const std::size_t paren = s.find('(');
    return paren == std::string::npos ? s : s.substr(0, paren);
}

}  // namespace

std::string RewordMessage(std::string text) {
    static const std::regex vector(
        R"(' ?(?:(?:temp|const|uniform|in|out|inout|global|smooth|flat|\(constant\)) )*(?:(?:highp|mediump|lowp) )?([1-4])-component vector of (float|int|uint|bool|double|half)')");
    static const std::regex matrix(
        R"(' ?(?:(?:temp|const|uniform|in|out|inout|global|\(constant\)) )*(?:(?:highp|mediump|lowp) )?([1-4])X([1-4]) matrix of (float|double|half)')");
    static const std::regex scalar(
        R"(' ?(?:(?:temp|const|uniform|in|out|inout|global|\(constant\)) )+(?:(?:highp|mediump|lowp) )?([A-Za-z_][A-Za-z0-9_]*)')");
    text = std::regex_replace(text, vector, "'$2$1'");
    text = std::regex_replace(text, matrix, "'$3$1x$2'");
    text = std::regex_replace(text, scalar, "'$1'");
    // "'x' : message" reads "'x': message"; "';' : Expected" says what it means.
    static const std::regex expected(R"('([^']*)' : Expected)");
    text = std::regex_replace(text, expected, "syntax error: expected '$1'");
    static const std::regex spacedColon(R"(' :\s+)");
    text = std::regex_replace(text, spacedColon, "': ");
    static const std::regex returns(
        R"(function does not return a value: @?([A-Za-z_][A-Za-z0-9_]*))");
    text = std::regex_replace(text, returns, "function '$1' does not return a value");
    static const std::regex uniform(
        R"(^'[^']*': l-value required "\$Global" \(can't modify a uniform\))");
    text = std::regex_replace(text, uniform,
                              "global variables are implicitly constant and cannot be modified "
                              "(declare the variable static)");
    static const std::regex argument(R"(cannot convert input argument, argument (\d+))");
    std::smatch which;
    if (std::regex_search(text, which, argument)) {
        text = "cannot convert argument " + std::to_string(std::stoi(which[1]) + 1) +
               " of the call to the type of its parameter";
    }
    if (text.find("could not create assignment") != std::string::npos)
        text = "cannot assign: the value's type does not convert to the variable's";
    static const std::regex unknown(R"(': unknown variable)");
    text = std::regex_replace(text, unknown, "': undeclared identifier");
    // Our own versions of intrinsics (hlsl/prelude.cpp) go by their HLSL names.
    static const std::regex ours(R"(\btess_([A-Za-z0-9_]+))");
    text = std::regex_replace(text, ours, "$1");
    if (text.rfind("'': ", 0) == 0) text.erase(0, 4);
    return Trim(text);
}

std::vector<Diagnostic> ReadGlslangLog(const std::string& log, int linkLine) {
    std::vector<Diagnostic> out;
    std::istringstream in(log);
    std::string line;
    static const std::regex located(R"(^(ERROR|WARNING): (?:.*?):(\d+):(?:(\d+):)? (.*)$)");
    static const std::regex column(R"(\((\d+)\): error at column (\d+))");
    bool inLink = false;
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_search(line, m, column)) {
            // Where the parser stopped: the column of the first error on that line.
            const int number = std::stoi(m[1]);
            for (Diagnostic& d : out) {
                if (d.line == number && d.column == 1) {
                    d.column = std::max(1, std::stoi(m[2]));
                    break;
                }
            }
            continue;
        }
        if (inLink && !line.empty() && std::isspace(static_cast<unsigned char>(line[0]))) {
            // The names a link error lists, one per line.
            std::string& text = out.back().text;
            const std::string name = Unmangle(line);
            if (text.find('\'' + name + '\'') == std::string::npos)
                text += (text.back() == ':' ? " '" : ", '") + name + "'";
            continue;
        }
        inLink = false;
        if (std::regex_match(line, m, located)) {
            const std::string text = m[4];
            if (FollowOn(text) && !out.empty()) continue;
            out.push_back({std::stoi(m[2]), m[3].matched ? std::stoi(m[3]) : 1, RewordMessage(text),
                           m[1] == "ERROR"});
            continue;
        }
        const std::size_t linking = line.find("Linking ");
        if (line.rfind("ERROR: ", 0) == 0 && linking != std::string::npos) {
            std::string text = line.substr(line.find(':', linking) + 1);
            text = Trim(text);
            if (text.rfind("No function definition (body) found", 0) == 0)
                text = "function declared but never defined:";
            if (text.rfind("Recursion detected", 0) == 0)
                text = "recursion is not allowed; functions that call themselves:";
            out.push_back({linkLine, 1, text, true});
            inLink = true;
            continue;
        }
        if (line.rfind("ERROR: ", 0) == 0 && !FollowOn(line))
            out.push_back({linkLine, 1, RewordMessage(line.substr(7)), true});
    }
    for (Diagnostic& d : out) {
        if (!d.text.empty() && d.text.back() == ':') d.text.pop_back();
    }
    return out;
}

void PlaceAtNamedTokens(std::vector<Diagnostic>& diagnostics, const std::string& source) {
    static const std::regex named(R"('([A-Za-z_][A-Za-z0-9_]*)')");
    std::vector<std::string> lines;
    std::istringstream in(source);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    for (Diagnostic& d : diagnostics) {
        std::smatch name;
        if (!std::regex_search(d.text, name, named) || d.line < 1 ||
            d.line > static_cast<int>(lines.size()))
            continue;
        const std::string& line = lines[static_cast<std::size_t>(d.line - 1)];
        const std::size_t length = name[1].length();
        const auto end = static_cast<std::size_t>(d.column - 1);
        if (end >= length && end <= line.size() &&
            line.compare(end - length, length, name[1].str()) == 0) {
            d.column -= static_cast<int>(length);
        }
    }
}

namespace {

// The real compiler's number for each of our messages, and its wording where ours differs:
// "error X3004: undeclared identifier 'foo'". A pattern is searched for in our text; $1 in a
// wording is the pattern's first group. Messages of our own that it has no number for keep none.
struct FxcMessage {
    const char* pattern;
    int code;
    const char* wording;  // nullptr: our text as it is
};

constexpr FxcMessage kFxcMessages[] = {
    {R"(^syntax error)", 3000, nullptr},
    {R"(^unrecognized identifier)", 3000, nullptr},
    {R"(^'([^']*)': undeclared identifier$)", 3004, "undeclared identifier '$1'"},
    {R"(^undeclared identifier)", 3004, nullptr},
    {R"(no matching overloaded function)", 3013, nullptr},
    {R"(^'constructor': (not enough data provided for construction|too many arguments)$)", 3014,
     "incorrect number of arguments to numeric-type constructor"},
    {R"(cannot convert|cannot implicitly convert|cannot assign|initializer does not match type)",
     3017, nullptr},
    {R"(^'return': type does not match)", 3017, nullptr},
    {R"(^'([^']*)': vector swizzle selection out of range$)", 3018, "invalid subscript '$1'"},
    {R"(^implicit truncation of vector type)", 3206, nullptr},
    {R"(^'[^']*': l-value required \(can't modify a const\))", 3025,
     "l-value specifies const object"},
    {R"(l-value|implicitly constant)", 3025, nullptr},
    {R"(^loop control variable)", 3078, nullptr},
    {R"(^function '[^']*' does not return a value)", 3080, nullptr},
    {R"(^entry point '[^']*' not found)", 3501, nullptr},
    {R"(^'[^']*': input '[^']*' has no semantic)", 3502, nullptr},
    {R"(function return value missing semantics)", 3503, nullptr},
    {R"(^unable to unroll loop)", 3511, nullptr},
    {R"(^floating point division by zero)", 4008, nullptr},
    {R"(^invalid \S+ (input|output) semantic|doesn't allow reading from position semantics)", 4502,
     nullptr},
    {R"(^Compiled shader code uses too many (arithmetic )?instruction slots)", 5608, nullptr},
    {R"(^Compiled shader code uses too many texture instruction slots)", 5609, nullptr},
};

}  // namespace

std::string FxcWording(const std::string& text, int& code) {
    code = 0;
    for (const FxcMessage& m : kFxcMessages) {
        const std::regex pattern(m.pattern);
        std::smatch match;
        if (!std::regex_search(text, match, pattern)) continue;
        code = m.code;
        return m.wording ? std::regex_replace(text, pattern, m.wording,
                                              std::regex_constants::format_first_only)
                         : text;
    }
    return text;
}

std::string FormatDiagnostics(const std::vector<Diagnostic>& diagnostics, const std::string& file) {
    std::string out;
    for (const Diagnostic& d : diagnostics) {
        int code = 0;
        const std::string text = FxcWording(d.text, code);
        char number[8] = "";
        if (code) std::snprintf(number, sizeof number, " X%04d", code);
        out += file + "(" + std::to_string(std::max(1, d.line)) + "," +
               std::to_string(std::max(1, d.column)) + "): " + (d.error ? "error" : "warning") +
               number + ": " + text + "\n";
    }
    return out;
}

}  // namespace d3dx
