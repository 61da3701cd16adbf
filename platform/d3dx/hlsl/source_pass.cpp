// The source pass's global walk: types, declarations at file scope, effect-file declarations,
// semantics, the entry point (see hlsl/source_pass.h).
#include "platform/d3dx/hlsl/source_pass.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "platform/d3dx/hlsl/source_model.h"

namespace d3dx {
namespace {

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool IEquals(const std::string& a, const char* b) {
    return Upper(a) == Upper(b);
}

struct ScalarName {
    const char* name;
    HlslType::Base base;
};
constexpr ScalarName kScalars[] = {
    {"bool", HlslType::Base::Bool},        {"int", HlslType::Base::Int},
    {"uint", HlslType::Base::Uint},        {"dword", HlslType::Base::Uint},
    {"half", HlslType::Base::Half},        {"float", HlslType::Base::Float},
    {"double", HlslType::Base::Double},    {"min16float", HlslType::Base::Float},
    {"min10float", HlslType::Base::Float}, {"min16int", HlslType::Base::Int},
    {"min12int", HlslType::Base::Int},     {"min16uint", HlslType::Base::Uint},
};

constexpr const char* kSm4Objects[] = {"Texture1DArray",
                                       "Texture2DArray",
                                       "Texture2DMS",
                                       "Texture2DMSArray",
                                       "TextureCubeArray",
                                       "Buffer",
                                       "RWBuffer",
                                       "RWTexture1D",
                                       "RWTexture1DArray",
                                       "RWTexture2D",
                                       "RWTexture2DArray",
                                       "RWTexture3D",
                                       "StructuredBuffer",
                                       "RWStructuredBuffer",
                                       "ByteAddressBuffer",
                                       "RWByteAddressBuffer",
                                       "AppendStructuredBuffer",
                                       "ConsumeStructuredBuffer"};

constexpr const char* kEffectObjects[] = {
    "texture",      "Texture",     "texture1D",    "texture2D",   "texture3D", "textureCUBE",
    "VertexShader", "PixelShader", "vertexshader", "pixelshader", "string"};

constexpr const char* kSamplers[] = {"sampler",   "sampler1D",   "sampler2D",
                                     "sampler3D", "samplerCUBE", "sampler_state"};

// "float3x4" after its scalar name: rows and columns, or false.
bool Shape(const std::string& rest, int& rows, int& columns, bool& matrix) {
    if (rest.empty()) return true;
    if (rest.size() == 1 && rest[0] >= '1' && rest[0] <= '4') {
        columns = rest[0] - '0';
        return true;
    }
    if (rest.size() == 3 && rest[0] >= '1' && rest[0] <= '4' && rest[1] == 'x' && rest[2] >= '1' &&
        rest[2] <= '4') {
        rows = rest[0] - '0';
        columns = rest[2] - '0';
        matrix = true;
        return true;
    }
    return false;
}

}  // namespace

SourcePass::SourcePass(const std::string& text, const std::string& entry,
                       const ProfileInfo& profile)
    : text_(text), entry_(entry), profile_(profile), tokens_(Tokenize(text)) {
    // The intrinsics with out parameters.
    outParameters_["modf"] = {{false, true}};
    outParameters_["frexp"] = {{false, true}};
    outParameters_["sincos"] = {{false, true, true}};
}

void SourcePass::Error(std::size_t token, const std::string& message) {
    result_.problems.push_back({At(token).line, At(token).column, message, true});
}

void SourcePass::Warning(std::size_t token, const std::string& message) {
    result_.problems.push_back({At(token).line, At(token).column, message, false});
}

std::string SourcePass::TextOf(std::size_t begin, std::size_t end) const {
    if (begin >= end) return {};
    const std::size_t from = At(begin).offset;
    const std::size_t to = At(end - 1).offset + At(end - 1).text.size();
    std::string s = text_.substr(from, to - from);
    for (char& c : s) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return s;
}

std::size_t SourcePass::ReadModifiers(std::size_t i, Modifiers& m) const {
    static constexpr const char* kOthers[] = {
        "extern", "shared",  "volatile",    "inline",         "in",     "out",
        "inout",  "precise", "linear",      "centroid",       "sample", "noperspective",
        "snorm",  "unorm",   "groupshared", "nointerpolation"};
    for (;; ++i) {
        const Token& t = At(i);
        if (t.kind != TokenKind::Identifier) return i;
        if (t.text == "static") {
            m.isStatic = true;
        } else if (t.text == "const") {
            m.isConst = true;
        } else if (t.text == "uniform") {
            m.isUniform = true;
        } else if (t.text == "extern") {
            m.isExtern = true;
        } else if (t.text == "volatile") {
            m.isVolatile = true;
        } else if (t.text == "row_major" || t.text == "column_major") {
            (t.text == "row_major" ? m.rowMajor : m.columnMajor) = true;
            m.majorToken = i;
        } else {
            bool known = false;
            for (const char* o : kOthers) known = known || t.text == o;
            if (!known) return i;
        }
    }
}

std::size_t SourcePass::ReadType(std::size_t i, HlslType& type) const {
    const Token& t = At(i);
    if (t.kind != TokenKind::Identifier) return 0;
    type = HlslType{};
    type.name = t.text;
    if (t.text == "void") {
        type.base = HlslType::Base::Void;
        return i + 1;
    }
    if (t.text == "unsigned" && At(i + 1).Is("int")) {
        type.base = HlslType::Base::Uint;
        return i + 2;
    }
    for (const ScalarName& s : kScalars) {
        const std::size_t n = std::strlen(s.name);
        if (t.text.compare(0, n, s.name) == 0 &&
            Shape(t.text.substr(n), type.rows, type.columns, type.matrix)) {
            type.base = s.base;
            return i + 1;
        }
    }
    if (t.text == "vector" || t.text == "matrix") {
        type.base = HlslType::Base::Float;
        type.matrix = t.text == "matrix";
        type.rows = type.matrix ? 4 : 1;
        type.columns = 4;
        if (!At(i + 1).Is("<")) return i + 1;
        // vector<float, 3>, matrix<float, 2, 3>
        HlslType scalar;
        std::size_t k = ReadType(i + 2, scalar);
        if (!k || !scalar.Numeric()) return 0;
        type.base = scalar.base;
        std::vector<int> sizes;
        while (At(k).Is(",") && At(k + 1).kind == TokenKind::Number) {
            sizes.push_back(std::atoi(At(k + 1).text.c_str()));
            k += 2;
        }
        if (!At(k).Is(">") || sizes.size() != (type.matrix ? 2u : 1u)) return 0;
        if (type.matrix) {
            type.rows = sizes[0];
            type.columns = sizes[1];
        } else {
            type.columns = sizes[0];
        }
        return k + 1;
    }
    for (const char* s : kSamplers) {
        if (t.text == s) {
            type.base = HlslType::Base::Sampler;
            return i + 1;
        }
    }
    if (TextureObjectNamed(t.text)) {
        type.base = HlslType::Base::Sampler;
        return AfterTemplate(i + 1);
    }
    for (const char* s : kSm4Objects) {
        if (t.text == s) {
            type.base = HlslType::Base::Sm4Object;
            return At(i + 1).Is("<") ? SkipToSemicolon(i + 1) : i + 1;
        }
    }
    for (const char* s : kEffectObjects) {
        if (t.text == s) {
            type.base = HlslType::Base::EffectObject;
            return i + 1;
        }
    }
    if (structs_.count(t.text)) {
        type.base = HlslType::Base::Struct;
        return i + 1;
    }
    if (const auto alias = typedefs_.find(t.text); alias != typedefs_.end()) {
        type = alias->second;
        return i + 1;
    }
    if (t.text == "struct" && structs_.count(At(i + 1).text)) {
        type.base = HlslType::Base::Struct;
        type.name = At(i + 1).text;
        return i + 2;
    }
    return 0;
}

bool SourcePass::StartsDeclaration(std::size_t i) const {
    Modifiers m;
    const std::size_t k = ReadModifiers(i, m);
    HlslType type;
    const std::size_t after = ReadType(k, type);
    if (!after || type.base == HlslType::Base::Void) return false;
    return At(after).kind == TokenKind::Identifier && !At(after + 1).Is("(");
}

std::size_t SourcePass::AfterTemplate(std::size_t i) const {
    if (!At(i).Is("<")) return i;
    std::size_t k = i + 1;
    while (!IsEnd(k) && !At(k).Is(">") && !At(k).Is(";")) ++k;
    return At(k).Is(">") ? k + 1 : i;
}

std::size_t SourcePass::SkipToSemicolon(std::size_t i) const {
    while (!IsEnd(i)) {
        const Token& t = At(i);
        if (t.Is(";") || t.Is("}")) return i;
        if (t.Is("(") || t.Is("[") || t.Is("{")) {
            i = t.match;
            if (IsEnd(i)) return i;
        }
        ++i;
    }
    return i;
}

std::size_t SourcePass::ReadArrayDims(std::size_t i, std::vector<int>& dims) const {
    while (At(i).Is("[")) {
        const std::size_t close = At(i).match;
        const std::optional<double> n = ConstantValue(i + 1, close);
        dims.push_back(close == i + 1 ? 0 : n ? static_cast<int>(*n) : -1);
        i = close + 1;
    }
    return i;
}

int SourcePass::ComponentsOf(const HlslType& type) const {
    int n = 0;
    if (type.Numeric()) {
        n = type.rows * type.columns;
    } else if (type.base == HlslType::Base::Struct) {
        const auto s = structs_.find(type.name);
        if (s == structs_.end()) return 0;
        for (const Member& m : s->second) {
            int c = ComponentsOf(m.type);
            for (int d : m.dims) c *= d > 0 ? d : 0;
            if (c <= 0) return 0;
            n += c;
        }
    }
    for (int d : type.arrayDims) n *= d > 0 ? d : 0;
    return n;
}

// Semantics are read without regard to case; the shader model 4 names of these profiles'
// semantics are the real compiler's aliases of them.
void SourcePass::RenameSemantic(std::size_t colon) {
    const Token& t = At(colon + 1);
    if (t.kind != TokenKind::Identifier) return;
    const std::string upper = Upper(t.text);
    std::string renamed;
    // With no index, glslang takes an out parameter's POSITION for gl_Position itself, and
    // the clip position would miss its conversion from Direct3D's clip space.
    if (upper == "SV_POSITION" || upper == "POSITION") renamed = "POSITION0";
    if (upper.rfind("SV_TARGET", 0) == 0 &&
        upper.find_first_not_of("0123456789", 9) == std::string::npos) {
        renamed = "COLOR" + upper.substr(9);
    }
    if (upper == "SV_DEPTH") renamed = "DEPTH";
    if (!renamed.empty()) {
        edits_.Replace(t.offset, t.offset + t.text.size(), renamed);
    } else if (upper.rfind("SV_", 0) == 0) {
        Error(colon + 1, "'" + t.text + "' is a shader model 4 semantic, which " + profile_.name +
                             " does not have");
    }
}

// ---- The global walk --------------------------------------------------------------------------

SourcePassResult SourcePass::Run() {
    ReplaceIntrinsics();
    ReadTextureObjectsAsSamplers();
    ReadSampler1DAs2D();
    ReadOneWideShapesAsVectors();
    MakeWholeLiteralsOfMulFloat();
    WalkGlobals();
    ReadParametersOfTheEntry();
    RefuseOverloadedEntry();
    ApplyTypedefMajority();
    StaticInitialisersIntoEntry();
    result_.source = edits_.Apply(text_);
    return std::move(result_);
}

void SourcePass::WalkGlobals() {
    std::size_t i = 0;
    while (!IsEnd(i)) {
        const std::size_t next = GlobalItem(i);
        i = next > i ? next : i + 1;
    }
}

std::size_t SourcePass::GlobalItem(std::size_t i) {
    const Token& t = At(i);
    if (t.kind == TokenKind::Directive) {
        // Global matrices without row_major or column_major take the packing in force.
        std::string d;
        for (char c : t.text) {
            if (!std::isspace(static_cast<unsigned char>(c))) d += c;
        }
        if (d.rfind("#pragmapack_matrix(", 0) == 0) packRowMajor_ = d.find("row_major") != d.npos;
        return i + 1;
    }
    if (t.Is(";")) return i + 1;
    if (t.Is("struct") && At(i + 1).kind == TokenKind::Identifier && At(i + 2).Is("{")) {
        const std::size_t after = StructDefinition(i);
        if (At(after).kind != TokenKind::Identifier) return after;
        HlslType type;
        type.base = HlslType::Base::Struct;
        type.name = At(i + 1).text;
        return GlobalDeclarators(after, i, Modifiers{}, type);
    }
    if (t.Is("typedef")) return Typedef(i);
    if (IEquals(t.text, "technique") || IEquals(t.text, "technique10") ||
        IEquals(t.text, "technique11")) {
        return DropBlockItem(i);
    }
    if ((t.Is("cbuffer") || t.Is("tbuffer")) && At(i + 1).kind == TokenKind::Identifier) {
        // Its constants are globals like any other: the block's own lines go.
        std::size_t open = i + 2;
        while (!IsEnd(open) && !At(open).Is("{") && !At(open).Is(";")) ++open;
        if (!At(open).Is("{")) return open + 1;
        const std::size_t close = At(open).match;
        edits_.Remove(t.offset, At(open).offset + 1);
        edits_.Remove(At(close).offset, At(close).offset + 1);
        if (At(close + 1).Is(";")) edits_.Remove(At(close + 1).offset, At(close + 1).offset + 1);
        return open + 1;
    }
    Modifiers m;
    const std::size_t typeToken = ReadModifiers(i, m);
    HlslType type;
    const std::size_t name = ReadType(typeToken, type);
    if (!name) {
        // "floaty4 x;" or "floaty4 main()": a name where a type should be.
        if (At(typeToken).kind == TokenKind::Identifier &&
            At(typeToken + 1).kind == TokenKind::Identifier) {
            Error(typeToken, "unrecognized identifier '" + At(typeToken).text + "'");
        }
        return SkipToSemicolon(i) + 1;
    }
    if (type.base == HlslType::Base::Sm4Object) {
        Error(typeToken, "'" + At(typeToken).text + "' is a shader model 4 object, which " +
                             profile_.name + " does not have: use sampler2D and tex2D");
        return SkipToSemicolon(name) + 1;
    }
    if (type.base == HlslType::Base::EffectObject) {
        // Effect-file declarations mean nothing to a shader compile.
        const std::size_t end = SkipToSemicolon(name);
        edits_.Remove(t.offset, At(end).offset + (At(end).Is(";") ? 1 : 0));
        return end + 1;
    }
    if (At(name).kind != TokenKind::Identifier) return SkipToSemicolon(name) + 1;
    if (At(name + 1).Is("(")) return Function(name, i, type);
    return GlobalDeclarators(name, i, m, type);
}

std::size_t SourcePass::StructDefinition(std::size_t i) {
    const std::string name = At(i + 1).text;
    const std::size_t open = i + 2, close = At(open).match;
    std::vector<Member> members;
    std::size_t k = open + 1;
    while (k < close) {
        Modifiers m;
        const std::size_t typeToken = ReadModifiers(k, m);
        HlslType type;
        std::size_t n = ReadType(typeToken, type);
        if (!n) {
            k = SkipToSemicolon(k) + 1;
            continue;
        }
        while (n < close && At(n).kind == TokenKind::Identifier) {
            Member member{At(n).text, type, {}};
            CheckMajority(m, type, n);
            std::size_t after = ReadArrayDims(n + 1, member.dims);
            while (At(after).Is(":")) {
                RenameSemantic(after);
                after += At(after + 2).Is("(") ? At(after + 2).match + 1 - after : 2;
            }
            members.push_back(std::move(member));
            if (!At(after).Is(",")) {
                n = after;
                break;
            }
            n = after + 1;
        }
        k = SkipToSemicolon(n) + 1;
    }
    structs_[name] = std::move(members);
    return close + 1;
}

std::size_t SourcePass::Typedef(std::size_t i) {
    Modifiers m;
    const std::size_t typeToken = ReadModifiers(i + 1, m);
    HlslType type;
    const std::size_t name = ReadType(typeToken, type);
    if (!name || At(name).kind != TokenKind::Identifier) return SkipToSemicolon(i) + 1;
    std::vector<int> dims;
    ReadArrayDims(name + 1, dims);
    type.arrayDims.insert(type.arrayDims.end(), dims.begin(), dims.end());
    CheckMajority(m, type, name);
    if (m.rowMajor || m.columnMajor) {
        type.rowMajor = m.rowMajor;
        type.columnMajor = m.columnMajor;
    }
    typedefs_[At(name).text] = type;
    return SkipToSemicolon(name) + 1;
}

// A technique block: everything up to its closing brace goes.
std::size_t SourcePass::DropBlockItem(std::size_t i) {
    std::size_t open = i + 1;
    while (!IsEnd(open) && !At(open).Is("{")) {
        if (At(open).Is("<")) {  // annotations
            while (!IsEnd(open) && !At(open).Is(">")) ++open;
        }
        ++open;
    }
    if (IsEnd(open)) return open;
    std::size_t close = At(open).match;
    if (IsEnd(close)) return close;
    if (At(close + 1).Is(";")) ++close;
    edits_.Remove(At(i).offset, At(close).offset + 1);
    return close + 1;
}

std::size_t SourcePass::GlobalDeclarators(std::size_t k, std::size_t start, const Modifiers& m,
                                          const HlslType& type) {
    (void)start;
    while (At(k).kind == TokenKind::Identifier) {
        const std::size_t nameToken = k;
        GlobalDeclaration declaration;
        declaration.name = At(k).text;
        declaration.line = At(k).line;
        declaration.isBool = type.base == HlslType::Base::Bool;
        if (type.matrix && (type.rows == 1 || type.columns == 1)) {
            declaration.oneWideRows = type.rows;
            declaration.oneWideColumns = type.columns;
            declaration.rowMajor =
                m.rowMajor ||
                (!m.columnMajor && (type.rowMajor || (packRowMajor_ && !type.columnMajor)));
        }
        Variable variable{type, {}, declaration.name, {}, m.isStatic && m.isConst};
        CheckMajority(m, type, nameToken);
        CheckStorageClass(m, DeclarationPlace::Global, nameToken);
        k = ReadArrayDims(k + 1, variable.dims);
        while (At(k).Is(":")) {
            if (At(k + 1).Is("register") && At(k + 2).Is("(")) {
                const std::size_t close = At(k + 2).match;
                for (std::size_t r = k + 3; r < close; ++r) {
                    const std::string& reg = At(r).text;
                    if (At(r).kind == TokenKind::Identifier && reg.size() >= 2 &&
                        std::strchr("cibsCIBS", reg[0]) &&
                        reg.find_first_not_of("0123456789", 1) == std::string::npos) {
                        declaration.registerKind =
                            static_cast<char>(std::tolower(static_cast<unsigned char>(reg[0])));
                        declaration.registerIndex = std::atoi(reg.c_str() + 1);
                    }
                }
                k = close + 1;
            } else if (At(k + 2).Is("(")) {
                k = At(k + 2).match + 1;  // packoffset(...)
            } else {
                RenameSemantic(k);
                k += 2;
            }
        }
        if (At(k).Is("<")) {  // annotations, which glslang reads
            while (!IsEnd(k) && !At(k).Is(">")) ++k;
            ++k;
        }
        const bool initialised = At(k).Is("=");
        if (initialised) {
            const std::size_t initBegin = k + 1;
            std::size_t initEnd = initBegin;
            while (!IsEnd(initEnd) && !At(initEnd).Is(",") && !At(initEnd).Is(";")) {
                if (At(initEnd).Is("(") || At(initEnd).Is("{") || At(initEnd).Is("["))
                    initEnd = At(initEnd).match;
                if (!IsEnd(initEnd)) ++initEnd;
            }
            if (type.base == HlslType::Base::Sampler && At(initBegin).Is("sampler_state")) {
                // The sampler's states belong to the effect framework; a shader compile drops
                // them.
                edits_.Remove(At(k).offset, At(initEnd - 1).offset + At(initEnd - 1).text.size());
            } else {
                CheckDivisions(initBegin, initEnd);
                if (!m.isStatic) declaration.defaultValue = NumbersOf(initBegin, initEnd);
                bool callsOwnFunction = false;
                for (std::size_t c = initBegin; c + 1 < initEnd; ++c) {
                    callsOwnFunction = callsOwnFunction || (functions_.count(At(c).text) &&
                                                            At(c + 1).Is("(") && !At(c).Is("."));
                }
                if (At(initBegin).Is("{")) {
                    FlattenInitialiser(initBegin, declaration.name, type, variable.dims);
                } else if (m.isStatic && callsOwnFunction) {
                    // glslang mistakes such an initialiser for recursion; it runs first in the
                    // entry point instead, as static initialisers do.
                    entryStart_.push_back(declaration.name + " = " + TextOf(initBegin, initEnd) +
                                          ";");
                    edits_.Remove(At(k).offset,
                                  At(initEnd - 1).offset + At(initEnd - 1).text.size());
                }
                if (m.isStatic && m.isConst && type.Numeric() && type.rows * type.columns == 1) {
                    if (const auto v = ConstantValue(initBegin, initEnd))
                        constants_[declaration.name] = *v;
                }
            }
            k = initEnd;
        }
        CheckDeclaredSize(m, DeclarationPlace::Global, nameToken, variable.dims, initialised);
        globals_[declaration.name] = variable;
        if (!m.isStatic && type.base != HlslType::Base::Unknown)
            result_.globals.push_back(std::move(declaration));
        if (!At(k).Is(",")) break;
        ++k;
    }
    return SkipToSemicolon(k) + 1;
}

std::size_t SourcePass::Function(std::size_t nameToken, std::size_t start, const HlslType& type) {
    const std::string name = At(nameToken).text;
    functionTypes_[name] = type;
    const std::size_t open = nameToken + 1, close = At(open).match;
    std::vector<std::pair<std::string, Variable>> params;
    std::vector<bool> outs;
    std::vector<Parameter> signature;
    for (std::size_t k = open + 1; k < close;) {
        Modifiers m;
        bool isOut = false;
        for (std::size_t q = k; q < close && At(q).kind == TokenKind::Identifier; ++q)
            isOut = isOut || At(q).Is("out") || At(q).Is("inout");
        const std::size_t typeToken = ReadModifiers(k, m);
        HlslType paramType;
        std::size_t n = ReadType(typeToken, paramType);
        std::size_t end = k;
        while (end < close && !At(end).Is(",")) {
            if (At(end).Is("(") || At(end).Is("[")) end = At(end).match;
            ++end;
        }
        if (n && n < end && At(n).kind == TokenKind::Identifier) {
            CheckMajority(m, paramType, n);
            CheckStorageClass(m, DeclarationPlace::Parameter, n);
            Variable v{paramType, {}, At(n).text, {}, m.isConst};
            std::size_t after = ReadArrayDims(n + 1, v.dims);
            if (At(after).Is(":")) RenameSemantic(after);
            params.emplace_back(At(n).text, v);
        }
        if (n && !At(typeToken).Is("void")) {
            outs.push_back(isOut);
            std::vector<int> dims;
            if (n < end && At(n).kind == TokenKind::Identifier) ReadArrayDims(n + 1, dims);
            signature.push_back({paramType, isOut, !dims.empty()});
        }
        k = end + 1;
    }
    std::size_t k = close + 1;
    while (At(k).Is(":")) {
        RenameSemantic(k);
        k += 2;
    }
    functions_.insert(name);
    auto& overloads = outParameters_[name];
    if (std::find(overloads.begin(), overloads.end(), outs) == overloads.end())
        overloads.push_back(outs);
    // A prototype and its definition are one overload.
    auto& signatures = parameterTypes_[name];
    const auto same = [&](const std::vector<Parameter>& other) {
        if (other.size() != signature.size()) return false;
        for (std::size_t p = 0; p < other.size(); ++p) {
            if (TypeName(other[p].type) != TypeName(signature[p].type) ||
                other[p].out != signature[p].out || other[p].array != signature[p].array)
                return false;
        }
        return true;
    };
    if (std::none_of(signatures.begin(), signatures.end(), same)) signatures.push_back(signature);
    if (At(k).Is(";")) {
        // glslang takes a prototype of the entry point for a second, bodiless entry point.
        if (name == entry_) edits_.Remove(At(start).offset, At(k).offset + 1);
        return k + 1;
    }
    if (!At(k).Is("{")) return SkipToSemicolon(k) + 1;
    if (name == entry_) {
        entryDefinitions_.push_back(nameToken);
        entryBody_ = k;
        entryParameters_ = open;
        result_.entryLine = At(nameToken).line;
    }
    functionBody_ = k;
    scopes_.emplace_back();
    for (auto& [paramName, v] : params) scopes_.back().names[paramName] = v;
    const std::size_t after = Block(k, false);
    scopes_.pop_back();
    return after;
}

void SourcePass::StaticInitialisersIntoEntry() {
    if (entryStart_.empty() || !entryBody_) return;
    std::string text;
    for (const std::string& s : entryStart_) text += " " + s;
    edits_.Insert(At(entryBody_).offset + 1, text);
}

SourcePassResult RunSourcePass(const std::string& preprocessed, const std::string& entry,
                               const ProfileInfo& profile) {
    return SourcePass(preprocessed, entry, profile).Run();
}

}  // namespace d3dx
