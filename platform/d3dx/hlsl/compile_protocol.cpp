// The program's and the compile worker's messages (see compile_protocol.h).
#include "platform/d3dx/hlsl/compile_protocol.h"

#include <cstring>

namespace d3dx {
namespace {

void PutNumber(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool TakeNumber(std::string_view& in, std::uint32_t& value) {
    if (in.size() < 4) return false;
    value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t{static_cast<unsigned char>(in[static_cast<std::size_t>(i)])}
                 << (8 * i);
    in.remove_prefix(4);
    return true;
}

void Put(std::string& out, std::string_view field) {
    PutNumber(out, static_cast<std::uint32_t>(field.size()));
    out += field;
}

bool Take(std::string_view& in, std::string& field) {
    std::uint32_t length = 0;
    if (!TakeNumber(in, length) || length > in.size()) return false;
    field.assign(in.substr(0, length));
    in.remove_prefix(length);
    return true;
}

}  // namespace

std::string Frame(char tag, std::string_view body) {
    std::string out(1, tag);
    Put(out, body);
    return out;
}

int TakeFrame(std::string& buffer, char& tag, std::string& body) {
    if (buffer.size() < 5) return 0;
    std::string_view header(buffer.data() + 1, 4);
    std::uint32_t length = 0;
    TakeNumber(header, length);
    if (length > kMaxFrameBody) return -1;
    if (buffer.size() < 5 + std::size_t{length}) return 0;
    tag = buffer[0];
    body.assign(buffer, 5, length);
    buffer.erase(0, 5 + std::size_t{length});
    return 1;
}

std::string EncodeRequest(const CompileRequest& request) {
    std::string out;
    PutNumber(out, request.preprocessOnly ? 1 : 0);
    Put(out, request.fileName);
    Put(out, request.entry);
    Put(out, request.profile);
    PutNumber(out, static_cast<std::uint32_t>(request.defines.size()));
    for (const auto& [name, value] : request.defines) {
        Put(out, name);
        Put(out, value);
    }
    Put(out, request.source);
    return out;
}

bool DecodeRequest(std::string_view in, CompileRequest& request) {
    std::uint32_t mode = 0, defines = 0;
    if (!TakeNumber(in, mode) || mode > 1 || !Take(in, request.fileName) ||
        !Take(in, request.entry) || !Take(in, request.profile) || !TakeNumber(in, defines))
        return false;
    request.preprocessOnly = mode == 1;
    request.defines.clear();
    for (std::uint32_t i = 0; i < defines; ++i) {
        std::string name, value;
        if (!Take(in, name) || !Take(in, value)) return false;
        request.defines.emplace_back(std::move(name), std::move(value));
    }
    return Take(in, request.source) && in.empty();
}

std::string EncodeAsk(const IncludeAsk& ask) {
    std::string out;
    PutNumber(out, ask.type);
    PutNumber(out, ask.parent);
    Put(out, ask.name);
    return out;
}

bool DecodeAsk(std::string_view in, IncludeAsk& ask) {
    return TakeNumber(in, ask.type) && ask.type <= 1 && TakeNumber(in, ask.parent) &&
           Take(in, ask.name) && in.empty();
}

std::string EncodeAnswer(const IncludeAnswer& answer) {
    std::string out;
    PutNumber(out, answer.ok ? 1 : 0);
    PutNumber(out, answer.id);
    Put(out, answer.shownName);
    Put(out, answer.bytes);
    return out;
}

bool DecodeAnswer(std::string_view in, IncludeAnswer& answer) {
    std::uint32_t ok = 0;
    if (!TakeNumber(in, ok) || ok > 1 || !TakeNumber(in, answer.id)) return false;
    answer.ok = ok == 1;
    return Take(in, answer.shownName) && Take(in, answer.bytes) && in.empty();
}

std::string EncodeResult(const CompileResult& result) {
    std::string out;
    PutNumber(out, result.ok ? 1 : 0);
    Put(out, result.identity);
    Put(out, std::string_view(reinterpret_cast<const char*>(result.code.data()),
                              result.code.size() * 4));
    Put(out, result.errors);
    Put(out, result.text);
    return out;
}

bool DecodeResult(std::string_view in, CompileResult& result) {
    std::uint32_t ok = 0;
    std::string code;
    if (!TakeNumber(in, ok) || ok > 1 || !Take(in, result.identity) || !Take(in, code) ||
        code.size() % 4 != 0 || !Take(in, result.errors) || !Take(in, result.text) || !in.empty())
        return false;
    result.ok = ok == 1;
    result.code.resize(code.size() / 4);
    // A failed compile has no code, and an empty vector's data() may be null.
    if (!code.empty()) std::memcpy(result.code.data(), code.data(), code.size());
    return true;
}

}  // namespace d3dx
