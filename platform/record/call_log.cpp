#include "platform/record/call_log.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace record {

std::string Call::Text() const {
    std::string text = api + "(";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i) text += ", ";
        text += args[i];
    }
    text += ")";
    if (!result.empty()) text += " = " + result;
    return text;
}

std::size_t CallLog::Record(std::string api, std::vector<std::string> args, std::string result) {
    calls_.push_back({std::move(api), std::move(args), std::move(result)});
    return calls_.size() - 1;
}

void CallLog::SetResult(std::size_t call, std::string result) {
    if (call < calls_.size()) calls_[call].result = std::move(result);
}

CallLog& Log() {
    static CallLog log;
    return log;
}

std::vector<Call> Only(const std::vector<Call>& calls,
                       std::initializer_list<std::string_view> apis) {
    std::vector<Call> out;
    for (const Call& c : calls) {
        if (std::find(apis.begin(), apis.end(), c.api) != apis.end()) out.push_back(c);
    }
    return out;
}

std::vector<std::string> Texts(const std::vector<Call>& calls) {
    std::vector<std::string> out;
    out.reserve(calls.size());
    for (const Call& c : calls) out.push_back(c.Text());
    return out;
}

std::vector<float> Numbers(std::string_view arg) {
    std::vector<float> out;
    std::string text(arg);
    const char* p = text.c_str();
    while (*p) {
        if (std::strchr("+-0123456789.", *p) || ((*p == 'n' || *p == 'i') && p[1])) {
            char* end = nullptr;
            const float v = std::strtof(p, &end);
            if (end != p) {
                out.push_back(v);
                p = end;
                continue;
            }
        }
        ++p;
    }
    return out;
}

namespace {

void Put(std::string& out, std::string_view s) {
    out += std::to_string(s.size());
    out += ':';
    out += s;
}

bool Get(std::string_view& in, std::string& s) {
    const std::size_t colon = in.find(':');
    if (colon == std::string_view::npos) return false;
    const std::size_t n = std::strtoull(std::string(in.substr(0, colon)).c_str(), nullptr, 10);
    if (in.size() - colon - 1 < n) return false;
    s = std::string(in.substr(colon + 1, n));
    in.remove_prefix(colon + 1 + n);
    return true;
}

}  // namespace

std::string Serialize(const std::vector<Call>& calls) {
    std::string out;
    for (const Call& c : calls) {
        Put(out, c.api);
        Put(out, c.result);
        Put(out, std::to_string(c.args.size()));
        for (const std::string& a : c.args) Put(out, a);
    }
    return out;
}

std::vector<Call> Deserialize(std::string_view in) {
    std::vector<Call> calls;
    while (!in.empty()) {
        Call c;
        std::string count;
        if (!Get(in, c.api) || !Get(in, c.result) || !Get(in, count)) break;
        const std::size_t n = std::strtoull(count.c_str(), nullptr, 10);
        c.args.resize(n);
        for (std::string& a : c.args) {
            if (!Get(in, a)) return calls;
        }
        calls.push_back(std::move(c));
    }
    return calls;
}

}  // namespace record
