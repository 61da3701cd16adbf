#include "platform/core/call_trace.h"

#include <map>
#include <unordered_map>

namespace platform {
namespace {

CallTrace* g_trace = nullptr;

struct Names {
    std::unordered_map<const void*, std::string> byObject;
    std::map<std::string, int, std::less<>> counters;
};

Names& NameTable() {
    static Names names;
    return names;
}

}  // namespace

std::string CallLine(const std::string& api, const std::vector<std::string>& args,
                     const std::string& result) {
    std::string line = api + "(";
    for (std::size_t i = 0; i < args.size(); ++i) line += (i ? ", " : "") + args[i];
    line += ")";
    if (!result.empty()) line += " = " + result;
    return line;
}

std::string NoteLine(const std::string& text) {
    return "    // " + text;
}

void SetCallTrace(CallTrace* trace) {
    g_trace = trace;
}
CallTrace* GetCallTrace() {
    return g_trace;
}

void RegisterObjectName(const void* object, std::string_view kind) {
    Names& names = NameTable();
    int& n = names.counters[std::string(kind)];
    names.byObject[object] = std::string(kind) + "#" + std::to_string(++n);
}

std::string ObjectName(const void* object) {
    if (!object) return "NULL";
    const Names& names = NameTable();
    auto it = names.byObject.find(object);
    return it == names.byObject.end() ? "object" : it->second;
}

void ClearObjectNames() {
    Names& names = NameTable();
    names.byObject.clear();
    names.counters.clear();
}

std::string FormatFloat(float v) {
    // Nine significant digits give every float back exactly when parsed.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
    return buf;
}

std::string FormatDouble(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::string FormatString(const char* s) {
    if (!s) return "NULL";
    std::string out = "\"";
    for (const char* p = s; *p; ++p) {
        if (*p == '"' || *p == '\\') out += '\\';
        if (*p == '\n') {
            out += "\\n";
            continue;
        }
        out += *p;
    }
    return out + "\"";
}

}  // namespace platform
