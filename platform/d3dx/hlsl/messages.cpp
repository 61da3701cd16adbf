// The compiler's messages as a Direct3D 9 author reads them: glslang's log made into
// "file(line,col): error: message" lines, its follow-on errors dropped, its internal type names
// (" temp 3-component vector of float") written as HLSL writes them (float3), and its link errors
// kept, with the function names it mangles unmangled.
#include <cctype>
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

std::string FormatDiagnostics(const std::vector<Diagnostic>& diagnostics, const std::string& file) {
    std::string out;
    for (const Diagnostic& d : diagnostics) {
        out += file + "(" + std::to_string(std::max(1, d.line)) + "," +
               std::to_string(std::max(1, d.column)) + "): " + (d.error ? "error: " : "warning: ") +
               d.text + "\n";
    }
    return out;
}

}  // namespace d3dx
