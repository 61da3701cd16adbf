#include "platform/d3dx/hlsl/shader_container.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_map>

namespace d3dx {
namespace {

class Writer {
  public:
    void U32(std::uint32_t v) { words.push_back(v); }
    void F32(float v) {
        std::uint32_t w;
        std::memcpy(&w, &v, 4);
        U32(w);
    }
    void Str(const std::string& s) {
        U32(static_cast<std::uint32_t>(s.size()));
        // Word by word, the last one padded with zeros; an empty string has no words (and
        // memcpy may not be given the null pointer of an empty vector's).
        for (std::size_t at = 0; at < s.size(); at += 4) {
            std::uint32_t w = 0;
            std::memcpy(&w, s.data() + at, std::min<std::size_t>(4, s.size() - at));
            words.push_back(w);
        }
    }
    std::vector<std::uint32_t> words;
};

class Reader {
  public:
    Reader(const std::uint32_t* p, std::size_t n) : p_(p), left_(n) {}
    bool U32(std::uint32_t& v) {
        if (!left_) return false;
        v = *p_++;
        --left_;
        return true;
    }
    bool F32(float& v) {
        std::uint32_t w;
        if (!U32(w)) return false;
        std::memcpy(&v, &w, 4);
        return true;
    }
    bool Str(std::string& s, std::uint32_t limit = 4096) {
        std::uint32_t n;
        if (!U32(n) || n > limit || (n + 3) / 4 > left_) return false;
        s.assign(reinterpret_cast<const char*>(p_), n);
        p_ += (n + 3) / 4;
        left_ -= (n + 3) / 4;
        return true;
    }
    std::size_t Left() const { return left_; }

  private:
    const std::uint32_t* p_;
    std::size_t left_;
};

void WriteVars(Writer& w, const std::vector<SemanticVar>& vars) {
    w.U32(static_cast<std::uint32_t>(vars.size()));
    for (const SemanticVar& v : vars) {
        w.Str(v.name);
        w.Str(v.semantic);
        w.U32(v.index);
        w.U32(v.location);
    }
}

bool ReadVars(Reader& r, std::vector<SemanticVar>& vars) {
    std::uint32_t n;
    if (!r.U32(n) || n > 256) return false;
    vars.resize(n);
    for (SemanticVar& v : vars) {
        if (!r.Str(v.name) || !r.Str(v.semantic) || !r.U32(v.index) || !r.U32(v.location)) {
            return false;
        }
    }
    return true;
}

std::uint32_t VersionToken(const ShaderReflection& s) {
    const std::uint32_t kind = s.stage == ShaderStage::Vertex ? 0xFFFE0000u : 0xFFFF0000u;
    return kind | (s.versionMajor << 8) | s.versionMinor;
}

}  // namespace

std::vector<std::uint32_t> PackShader(const ShaderReflection& s) {
    Writer w;
    w.U32(VersionToken(s));
    w.U32(kContainerTag);
    w.U32(0);  // total length, filled in below
    w.Str(s.entry);
    WriteVars(w, s.inputs);
    WriteVars(w, s.outputs);
    w.U32(static_cast<std::uint32_t>(s.samplers.size()));
    for (const SamplerVar& v : s.samplers) {
        w.Str(v.name);
        w.U32(v.reg);
    }
    w.U32(static_cast<std::uint32_t>(s.constants.size()));
    for (const ConstantVar& c : s.constants) {
        w.Str(c.name);
        for (std::uint32_t v :
             {std::uint32_t(c.registerSet), c.registerIndex, c.registerCount,
              std::uint32_t(c.parameterClass), std::uint32_t(c.type), c.rows, c.columns, c.elements,
              c.bytes, std::uint32_t(c.parent), c.structMembers}) {
            w.U32(v);
        }
        w.U32(static_cast<std::uint32_t>(c.defaultValue.size()));
        for (float f : c.defaultValue) w.F32(f);
    }
    w.U32(static_cast<std::uint32_t>(s.glslSamplers.size()));
    for (const SamplerVar& v : s.glslSamplers) {
        w.Str(v.name);
        w.U32(v.reg);
    }
    w.U32(s.texCoordsRead);
    w.U32(s.floatRegisters);
    w.U32(s.intRegisters);
    w.U32(s.boolRegisters);
    w.Str(s.glsl);
    w.Str(s.sourceName);
    w.U32(static_cast<std::uint32_t>(s.sourceDigest));
    w.U32(static_cast<std::uint32_t>(s.sourceDigest >> 32));
    for (std::uint32_t v : {s.slots.arithmetic, s.slots.texture, s.slots.arithmeticLimit,
                            s.slots.textureLimit, std::uint32_t(s.slots.shared)})
        w.U32(v);
    w.words[2] = static_cast<std::uint32_t>(w.words.size());
    return w.words;
}

std::optional<ShaderStage> StageOfCode(const DWORD* code) {
    if (!code || code[1] != kContainerTag) return std::nullopt;
    const std::uint32_t kind = code[0] & 0xFFFF0000u;
    if (kind == 0xFFFE0000u) return ShaderStage::Vertex;
    if (kind == 0xFFFF0000u) return ShaderStage::Pixel;
    return std::nullopt;
}

std::optional<ShaderReflection> UnpackShader(const DWORD* code) {
    const std::optional<ShaderStage> stage = StageOfCode(code);
    if (!stage) return std::nullopt;
    const std::uint32_t total = code[2];
    if (total < 4 || total > kMaxContainerWords) return std::nullopt;
    ShaderReflection s;
    s.stage = *stage;
    s.versionMajor = (code[0] >> 8) & 0xFF;
    s.versionMinor = code[0] & 0xFF;
    Reader r(code + 3, total - 3);
    if (!r.Str(s.entry) || !ReadVars(r, s.inputs) || !ReadVars(r, s.outputs)) return std::nullopt;
    std::uint32_t n;
    if (!r.U32(n) || n > 256) return std::nullopt;
    s.samplers.resize(n);
    for (SamplerVar& v : s.samplers) {
        if (!r.Str(v.name) || !r.U32(v.reg)) return std::nullopt;
    }
    if (!r.U32(n) || n > 4096) return std::nullopt;
    s.constants.resize(n);
    for (std::size_t index = 0; index < s.constants.size(); ++index) {
        ConstantVar& c = s.constants[index];
        std::uint32_t f[11], defaults;
        if (!r.Str(c.name)) return std::nullopt;
        for (std::uint32_t& v : f) {
            if (!r.U32(v)) return std::nullopt;
        }
        c.registerSet = static_cast<D3DXREGISTER_SET>(f[0]);
        c.registerIndex = f[1];
        c.registerCount = f[2];
        c.parameterClass = static_cast<D3DXPARAMETER_CLASS>(f[3]);
        c.type = static_cast<D3DXPARAMETER_TYPE>(f[4]);
        c.rows = f[5];
        c.columns = f[6];
        c.elements = f[7];
        c.bytes = f[8];
        c.parent = static_cast<std::int32_t>(f[9]);
        c.structMembers = f[10];
        if (c.parent >= static_cast<std::int32_t>(index) || c.parent < -1) return std::nullopt;
        if (!r.U32(defaults) || defaults > r.Left()) return std::nullopt;
        c.defaultValue.resize(defaults);
        for (float& v : c.defaultValue) r.F32(v);
    }
    if (!r.U32(n) || n > 256) return std::nullopt;
    s.glslSamplers.resize(n);
    for (SamplerVar& v : s.glslSamplers) {
        if (!r.Str(v.name) || !r.U32(v.reg)) return std::nullopt;
    }
    if (!r.U32(s.texCoordsRead) || s.texCoordsRead > 8 || !r.U32(s.floatRegisters) ||
        !r.U32(s.intRegisters) || !r.U32(s.boolRegisters) || s.floatRegisters > 8192 ||
        s.intRegisters > 16 || s.boolRegisters > 16)
        return std::nullopt;
    if (!r.Str(s.glsl, static_cast<std::uint32_t>(kMaxContainerWords * 4)) || !r.Str(s.sourceName))
        return std::nullopt;
    std::uint32_t low = 0, high = 0, shared = 0;
    if (!r.U32(low) || !r.U32(high) || !r.U32(s.slots.arithmetic) || !r.U32(s.slots.texture) ||
        !r.U32(s.slots.arithmeticLimit) || !r.U32(s.slots.textureLimit) || !r.U32(shared) ||
        shared > 1 || r.Left() != 0)
        return std::nullopt;
    s.sourceDigest = (std::uint64_t{high} << 32) | low;
    s.slots.shared = shared != 0;
    return s;
}

std::string SpirvString(const std::vector<std::uint32_t>& spirv, std::size_t at, std::size_t end) {
    std::string s;
    for (std::size_t i = at; i < end; ++i) {
        for (int b = 0; b < 4; ++b) {
            const char c = static_cast<char>((spirv[i] >> (8 * b)) & 0xFF);
            if (!c) return s;
            s += c;
        }
    }
    return s;
}

bool ReflectSpirvInterface(const std::vector<std::uint32_t>& spirv, ShaderReflection& out,
                           std::vector<std::string>* withoutSemantic) {
    constexpr std::uint32_t kMagic = 0x07230203;
    constexpr std::uint32_t kOpName = 5, kOpVariable = 59, kOpDecorate = 71;
    constexpr std::uint32_t kOpDecorateString = 5632;
    constexpr std::uint32_t kDecorationLocation = 30, kDecorationBuiltIn = 11;
    constexpr std::uint32_t kDecorationHlslSemantic = 5635;
    constexpr std::uint32_t kStorageInput = 1, kStorageOutput = 3;
    if (spirv.size() < 5 || spirv[0] != kMagic) return false;

    struct Info {
        std::string name, semantic;
        std::uint32_t location = 0, storage = 0;
        bool builtIn = false;
    };
    std::unordered_map<std::uint32_t, Info> ids;
    std::vector<std::uint32_t> order;
    for (std::size_t i = 5; i < spirv.size();) {
        const std::uint32_t count = spirv[i] >> 16, op = spirv[i] & 0xFFFF;
        if (count == 0 || i + count > spirv.size()) return false;
        if (op == kOpName && count >= 3)
            ids[spirv[i + 1]].name = SpirvString(spirv, i + 2, i + count);
        if (op == kOpDecorate && count >= 4 && spirv[i + 2] == kDecorationLocation) {
            ids[spirv[i + 1]].location = spirv[i + 3];
        }
        if (op == kOpDecorate && count >= 3 && spirv[i + 2] == kDecorationBuiltIn) {
            ids[spirv[i + 1]].builtIn = true;
        }
        if (op == kOpDecorateString && count >= 4 && spirv[i + 2] == kDecorationHlslSemantic) {
            ids[spirv[i + 1]].semantic = SpirvString(spirv, i + 3, i + count);
        }
        if (op == kOpVariable && count >= 4 &&
            (spirv[i + 3] == kStorageInput || spirv[i + 3] == kStorageOutput)) {
            ids[spirv[i + 2]].storage = spirv[i + 3];
            order.push_back(spirv[i + 2]);
        }
        i += count;
    }
    for (std::uint32_t id : order) {
        const Info& info = ids[id];
        if (info.builtIn) continue;
        if (info.semantic.empty()) {
            if (withoutSemantic)
                withoutSemantic->push_back((info.storage == kStorageInput ? "input " : "output ") +
                                           info.name);
            continue;
        }
        SemanticVar v;
        v.name = info.name;
        v.location = info.location;
        std::string upper;
        for (char c : info.semantic)
            upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::size_t digits = upper.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(upper[digits - 1]))) --digits;
        v.semantic = upper.substr(0, digits);
        for (std::size_t k = digits; k < upper.size() && v.index < 1000; ++k) {
            v.index = v.index * 10 + static_cast<std::uint32_t>(upper[k] - '0');
        }
        (info.storage == kStorageInput ? out.inputs : out.outputs).push_back(v);
    }
    return true;
}

}  // namespace d3dx
