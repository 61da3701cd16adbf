// Effect-file declarations read, checked and dropped before the source pass (see
// hlsl/effect_declarations.h). The grammar is the effect framework's: a technique holds passes,
// a pass or a state block holds "State[index] = value;" assignments (Direct3D 10 passes also hold
// "SetPixelShader(...);" calls), an annotation "<type name = value; ...>" follows a declaration's
// name, its semantics and its register. A malformed block is refused as the real compiler refuses
// it, since the effect framework would refuse the file; a well-formed one is blanked, so every
// line and column of the rest keeps its place for later messages.
#include "platform/d3dx/hlsl/effect_declarations.h"

#include <cctype>
#include <set>

#include "platform/d3dx/hlsl/tokens.h"

namespace d3dx {
namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool IEquals(const std::string& a, const char* b) {
    return Lower(a) == Lower(b);
}

bool OneOf(const std::string& word, std::initializer_list<const char*> words, bool anyCase) {
    for (const char* w : words) {
        if (anyCase ? IEquals(word, w) : word == w) return true;
    }
    return false;
}

// Types that only the effect framework reads: a shader compile drops their variables.
bool IsEffectObject(const std::string& type) {
    return OneOf(
        type,
        {"texture", "Texture", "texture1D", "texture2D", "texture3D", "textureCUBE", "textureCube",
         "string", "VertexShader", "PixelShader", "vertexshader", "pixelshader", "vertexfragment",
         "pixelfragment", "stateblock", "BlendState", "DepthStencilState", "RasterizerState"},
        false);
}

bool IsSamplerType(const std::string& type) {
    return OneOf(type, {"sampler", "sampler1D", "sampler2D", "sampler3D", "samplerCUBE"}, false);
}

bool IsModifier(const std::string& word) {
    return OneOf(word,
                 {"static", "const", "uniform", "extern", "shared", "volatile", "row_major",
                  "column_major", "inline", "precise", "groupshared", "nointerpolation"},
                 false);
}

// A sampler_state's states (Direct3D 9's, and the Direct3D 10 names effect files also use), and
// the values its filter and address states take.
constexpr std::initializer_list<const char*> kSamplerStates = {
    "Texture",       "AddressU",       "AddressV",     "AddressW",      "BorderColor",
    "MagFilter",     "MinFilter",      "MipFilter",    "MipMapLodBias", "MaxMipLevel",
    "MaxAnisotropy", "SRGBTexture",    "ElementIndex", "DMapOffset",    "Filter",
    "MipLODBias",    "ComparisonFunc", "MinLOD",       "MaxLOD"};
constexpr std::initializer_list<const char*> kFilters = {
    "None", "Point", "Linear", "Anisotropic", "PyramidalQuad", "GaussianQuad", "ConvolutionMono"};
constexpr std::initializer_list<const char*> kAddressModes = {
    "Wrap", "Mirror", "Clamp", "Border", "MirrorOnce", "Mirror_Once"};

enum class Block { Sampler, Pass, States };

class EffectPass {
  public:
    EffectPass(const std::string& text, const ProfileInfo& profile)
        : tokens_(Tokenize(text)), profile_(profile) {
        result_.source = text;
    }

    EffectPassResult Run() {
        std::size_t i = 0;
        while (!IsEnd(i) && !failed_) {
            const std::size_t next = GlobalItem(i);
            i = next > i ? next : i + 1;
        }
        RefuseDoubles();
        return std::move(result_);
    }

  private:
    const Token& At(std::size_t i) const { return tokens_[std::min(i, tokens_.size() - 1)]; }
    bool IsEnd(std::size_t i) const { return At(i).kind == TokenKind::End; }

    // Refuses at token i; the first refusal stops the walk, as the parser would stop.
    void Unexpected(std::size_t i) {
        Fail(i, IsEnd(i) ? "syntax error: unexpected end of file"
                         : "syntax error: unexpected token '" + At(i).text + "'");
    }
    void Fail(std::size_t i, const std::string& text) {
        if (failed_) return;
        failed_ = true;
        result_.problems.push_back({At(i).line, At(i).column, text, true});
    }

    // Blanks tokens [first, last] (the characters of `last` up to `lastChars` when given).
    void Blank(std::size_t first, std::size_t last, std::size_t lastChars = std::string::npos) {
        const std::size_t begin = At(first).offset;
        const std::size_t end = At(last).offset + std::min(lastChars, At(last).text.size());
        for (std::size_t c = begin; c < end && c < result_.source.size(); ++c) {
            if (result_.source[c] != '\n' && result_.source[c] != '\r') result_.source[c] = ' ';
        }
    }

    // The index after a bracket's partner; an unmatched bracket fails.
    std::size_t PastBrackets(std::size_t open) {
        if (IsEnd(At(open).match)) {
            Unexpected(At(open).match);
            return At(open).match;
        }
        return At(open).match + 1;
    }

    // The first of `stops` at bracket depth 0 from i, stopping at a closer that closes nothing.
    std::size_t Find(std::size_t i, std::initializer_list<const char*> stops) const {
        while (!IsEnd(i)) {
            const Token& t = At(i);
            for (const char* s : stops) {
                if (t.Is(s)) return i;
            }
            if (t.Is(")") || t.Is("]") || t.Is("}")) return i;
            i = t.Is("(") || t.Is("[") || t.Is("{") ? t.match + (IsEnd(t.match) ? 0 : 1) : i + 1;
        }
        return i;
    }

    std::size_t GlobalItem(std::size_t i) {
        const Token& t = At(i);
        if (t.kind == TokenKind::Directive || t.Is(";")) return i + 1;
        if (OneOf(t.text, {"technique", "technique10", "technique11"}, true) &&
            t.kind == TokenKind::Identifier) {
            return Technique(i);
        }
        if (t.Is("struct") && At(i + 1).kind == TokenKind::Identifier && At(i + 2).Is("{")) {
            const std::size_t after = At(At(i + 2).match).Is("}") ? At(i + 2).match + 1 : i + 3;
            return At(after).kind == TokenKind::Identifier ? Declarators(after, i, At(i + 1).text)
                                                           : after;
        }
        if (t.Is("typedef")) return Find(i, {";"}) + 1;
        if ((t.Is("cbuffer") || t.Is("tbuffer")) && At(i + 1).kind == TokenKind::Identifier) {
            const std::size_t open = Find(i + 2, {"{", ";"});
            return At(open).Is("{") ? PastBrackets(open) : open + 1;
        }
        std::size_t k = i;
        while (At(k).kind == TokenKind::Identifier && IsModifier(At(k).text)) ++k;
        if (At(k).kind != TokenKind::Identifier) return Find(i, {";"}) + 1;
        const std::string type = At(k).text;
        std::size_t name = k + 1;
        if ((type == "vector" || type == "matrix") && At(name).Is("<")) {
            name = Find(name, {">"}) + 1;
        } else if (type == "unsigned" || type == "struct") {
            ++name;
        }
        if (At(name).kind == TokenKind::Identifier && At(name + 1).Is("(")) return Function(name);
        return Declarators(name, i, type);
    }

    // A function: its body is left to the source pass.
    std::size_t Function(std::size_t name) {
        declared_.insert(At(name).text);
        const std::size_t body = Find(At(name + 1).match + 1, {"{", ";"});
        return At(body).Is("{") ? PastBrackets(body) : body + 1;
    }

    std::size_t Declarators(std::size_t k, std::size_t start, const std::string& type) {
        const bool effectObject = IsEffectObject(type), sampler = IsSamplerType(type);
        while (At(k).kind == TokenKind::Identifier && !failed_) {
            const std::string name = At(k).text;
            declared_.insert(name);
            if (sampler) result_.samplerTypes[name] = type;
            ++k;
            while (At(k).Is("[")) k = PastBrackets(k);
            while (At(k).Is(":")) {
                k += 2;
                if (At(k).Is("(")) k = PastBrackets(k);
            }
            if (At(k).Is("<") || At(k).Is("<=")) k = Annotations(k);
            if (At(k).Is("{") && effectObject) {
                // Direct3D 10 state objects: BlendState name { states };
                k = StateBlock(k, Block::States);
            } else if (At(k).Is("=") || At(k).Is(">=")) {
                k = Initialiser(k, type, effectObject, sampler);
            }
            if (!At(k).Is(",")) break;
            ++k;
        }
        if (failed_) return k;
        const std::size_t end = Find(k, {";"});
        if (effectObject) Blank(start, end);
        return end + 1;
    }

    // From '=' to the end of the initialiser; an effect's part of it is blanked.
    std::size_t Initialiser(std::size_t equals, const std::string& type, bool effectObject,
                            bool sampler) {
        const std::size_t value = equals + 1;
        if (sampler && At(value).Is("sampler_state")) {
            if (!At(value + 1).Is("{")) {
                Unexpected(value + 1);
                return value + 1;
            }
            const std::size_t end = StateBlock(value + 1, Block::Sampler);
            if (!failed_) Blank(equals, end - 1);
            return end;
        }
        if (sampler && At(value).Is("{")) {
            // An array of samplers, each with its states.
            const std::size_t close = At(value).match;
            for (std::size_t s = value + 1; s < close && !failed_;) {
                if (!At(s).Is("sampler_state")) return Find(value, {",", ";"});
                if (!At(s + 1).Is("{")) {
                    Unexpected(s + 1);
                    break;
                }
                s = StateBlock(s + 1, Block::Sampler);
                if (At(s).Is(",")) ++s;
            }
            if (!failed_) Blank(equals, close);
            return close + 1;
        }
        if (effectObject && (At(value).Is("sampler_state") || At(value).Is("stateblock_state"))) {
            if (!At(value + 1).Is("{")) {
                Unexpected(value + 1);
                return value + 1;
            }
            return StateBlock(value + 1, Block::States);
        }
        (void)type;
        return Find(value, {",", ";"});
    }

    // "<type name = value; ...>": checked and blanked. Returns the index after it.
    std::size_t Annotations(std::size_t open) {
        if (At(open).Is("<=")) {  // "<" then "=": no annotations at all
            Unexpected(open);
            return open;
        }
        std::size_t k = open + 1;
        while (!failed_) {
            const Token& t = At(k);
            if (t.text.rfind('>', 0) == 0 && t.kind == TokenKind::Punct) {
                // ">" or ">=" (annotations followed straight by an initialiser)
                Blank(open, k, 1);
                return t.text == ">" ? k + 1 : k;
            }
            if (t.kind != TokenKind::Identifier) {
                Unexpected(k);
                break;
            }
            std::size_t name = k + 1;
            if ((t.Is("vector") || t.Is("matrix")) && At(name).Is("<"))
                name = Find(name, {">"}) + 1;
            if (At(name).kind != TokenKind::Identifier) {
                Unexpected(name);
                break;
            }
            k = name + 1;
            while (At(k).Is("[")) k = PastBrackets(k);
            if (!At(k).Is("=")) {
                Unexpected(k);
                break;
            }
            const std::size_t end = Find(k + 1, {";", ">"});
            if (end == k + 1 || !At(end).Is(";")) {
                Unexpected(end);
                break;
            }
            k = end + 1;
        }
        return k;
    }

    // "{ State[index] = value; ... }" from its opening brace; returns the index after it.
    std::size_t StateBlock(std::size_t open, Block block) {
        const std::size_t close = At(open).match;
        if (IsEnd(close)) {
            Unexpected(close);
            return close;
        }
        std::size_t k = open + 1;
        while (k < close && !failed_) {
            if (At(k).kind != TokenKind::Identifier) {
                Unexpected(k);
                break;
            }
            const std::size_t state = k++;
            if (block == Block::Pass && At(k).Is("(")) {
                // SetVertexShader(CompileShader(vs_4_0, VS()));
                k = PastBrackets(k);
                if (!At(k).Is(";")) Unexpected(k);
                ++k;
                continue;
            }
            while (At(k).Is("[")) k = PastBrackets(k);
            if (!At(k).Is("=")) {
                Unexpected(k);
                break;
            }
            const std::size_t value = k + 1;
            const std::size_t end = Find(value, {";"});
            if (end == value || !At(end).Is(";")) {
                Unexpected(end);
                break;
            }
            if (block == Block::Sampler) SamplerState(state, value, end);
            k = end + 1;
        }
        return close + 1;
    }

    // One state of a sampler_state: a state it has, a texture that is declared, a filter or an
    // address mode that exists.
    void SamplerState(std::size_t state, std::size_t value, std::size_t end) {
        const std::string& name = At(state).text;
        if (!OneOf(name, kSamplerStates, true)) {
            Fail(state, "unrecognized sampler state '" + name + "'");
            return;
        }
        // The one word of a value written "word", "<word>" or "(word)".
        std::size_t word = value;
        if (end == value + 3 && ((At(value).Is("<") && At(value + 2).Is(">")) ||
                                 (At(value).Is("(") && At(value + 2).Is(")")))) {
            word = value + 1;
        } else if (end != value + 1) {
            return;
        }
        if (At(word).kind != TokenKind::Identifier) return;
        const std::string& v = At(word).text;
        if (declared_.count(v) || IEquals(v, "NULL")) return;
        const bool filter = OneOf(name, {"MagFilter", "MinFilter", "MipFilter"}, true);
        const bool address = OneOf(name, {"AddressU", "AddressV", "AddressW"}, true);
        if (IEquals(name, "Texture") || (filter && !OneOf(v, kFilters, true)) ||
            (address && !OneOf(v, kAddressModes, true))) {
            Fail(word, "undeclared identifier '" + v + "'");
        }
    }

    // technique [name] [<annotations>] { pass [name] [<annotations>] { states } ... } [;]
    std::size_t Technique(std::size_t start) {
        std::size_t k = start + 1;
        if (At(k).kind == TokenKind::Identifier) ++k;
        if (At(k).Is("<")) k = Annotations(k);
        if (failed_) return k;
        if (!At(k).Is("{")) {
            Unexpected(k);
            return k;
        }
        const std::size_t close = At(k).match;
        if (IsEnd(close)) {
            Unexpected(close);
            return close;
        }
        for (++k; k < close && !failed_;) {
            if (!IEquals(At(k).text, "pass") || At(k).kind != TokenKind::Identifier) {
                Unexpected(k);
                break;
            }
            ++k;
            if (At(k).kind == TokenKind::Identifier) ++k;
            if (At(k).Is("<")) k = Annotations(k);
            if (failed_) break;
            if (!At(k).Is("{")) {
                Unexpected(k);
                break;
            }
            k = StateBlock(k, Block::Pass);
        }
        std::size_t end = close;
        if (At(end + 1).Is(";")) ++end;
        if (!failed_) Blank(start, end);
        return end + 1;
    }

    // No Direct3D 9 profile has double-precision arithmetic.
    void RefuseDoubles() {
        for (std::size_t k = 0; k + 1 < tokens_.size(); ++k) {
            const Token& t = At(k);
            if (t.kind != TokenKind::Identifier || t.text.rfind("double", 0) != 0) continue;
            const std::string shape = t.text.substr(6);
            const bool type = shape.empty() ||
                              (shape.size() == 1 && shape[0] >= '1' && shape[0] <= '4') ||
                              (shape.size() == 3 && shape[0] >= '1' && shape[0] <= '4' &&
                               shape[1] == 'x' && shape[2] >= '1' && shape[2] <= '4');
            if (!type || (k > 0 && At(k - 1).Is("."))) continue;
            result_.problems.push_back(
                {t.line, t.column,
                 "'" + t.text + "': " + profile_.name + " has no double-precision type", true});
            return;
        }
    }

    std::vector<Token> tokens_;
    ProfileInfo profile_;
    EffectPassResult result_;
    std::set<std::string> declared_;  // global names declared so far
    bool failed_ = false;
};

}  // namespace

EffectPassResult RemoveEffectDeclarations(const std::string& preprocessed,
                                          const ProfileInfo& profile) {
    return EffectPass(preprocessed, profile).Run();
}

}  // namespace d3dx
