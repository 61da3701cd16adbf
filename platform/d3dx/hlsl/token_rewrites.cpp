// The source pass's rewrites over the tokens, made before the global walk: names of intrinsics
// that go to our own, shader model 4 texture objects read as Direct3D 9 samplers, 1D samplers,
// one-wide shapes and whole literals beside mul (see hlsl/source_pass.h).
#include <map>

#include "platform/d3dx/hlsl/source_model.h"

namespace d3dx {
namespace {

// Intrinsics whose glslang version reads differently from their definition; calls go to ours
// (hlsl/prelude.cpp), as do the author's own overloads of these names.
constexpr const char* kReplacedIntrinsics[] = {"lit",      "fmod",      "ldexp",     "frexp",
                                               "all",      "any",       "tex1D",     "tex1Dbias",
                                               "tex1Dlod", "tex1Dproj", "tex1Dgrad", "noise"};

// The shader model 4 texture objects that Direct3D 9's compiler reads as samplers, and the
// sampler each is.
constexpr TextureObject kTextureObjects[] = {
    {"Texture1D", "sampler2D", "1D", 1},     {"Texture2D", "sampler2D", "2D", 2},
    {"Texture3D", "sampler3D", "3D", 3},     {"TextureCube", "samplerCUBE", "CUBE", 3},
    {"SamplerState", "sampler", nullptr, 0}, {"SamplerComparisonState", "sampler", nullptr, 0}};

}  // namespace

const TextureObject* TextureObjectNamed(const std::string& name) {
    for (const TextureObject& t : kTextureObjects) {
        if (name == t.name) return &t;
    }
    return nullptr;
}

// Replaced intrinsics, wherever they are called or defined; noise only where the file does not
// define its own, which glslang reads as any function.
void SourcePass::ReplaceIntrinsics() {
    bool ownNoise = false;
    for (std::size_t i = 1; i + 1 < tokens_.size(); ++i) {
        HlslType type;
        ownNoise = ownNoise || (At(i).Is("noise") && At(i + 1).Is("(") && ReadType(i - 1, type));
    }
    for (std::size_t i = 0; i + 1 < tokens_.size(); ++i) {
        const Token& t = tokens_[i];
        if (t.kind != TokenKind::Identifier || !At(i + 1).Is("(") || (i > 0 && At(i - 1).Is(".")))
            continue;
        for (const char* name : kReplacedIntrinsics) {
            if (t.text == name && !(ownNoise && t.text == "noise"))
                edits_.Replace(t.offset, t.offset + t.text.size(), std::string("tess_") + name);
        }
    }
}

// Direct3D 9's compiler takes shader model 4 texture objects: a Texture2D is a sampler2D (glslang
// reads its register tN as the sampler register N), t.Sample(state, uv) is tex2D(t, uv), and a
// SamplerState is a sampler, which tex2D may read and which a Sample call leaves unread. The
// methods that have no Direct3D 9 instruction are refused.
void SourcePass::ReadTextureObjectsAsSamplers() {
    std::map<std::string, const TextureObject*> textures;
    for (std::size_t k = 0; k + 1 < tokens_.size(); ++k) {
        const Token& t = At(k);
        const TextureObject* object = TextureObjectNamed(t.text);
        if (t.kind != TokenKind::Identifier || (k > 0 && At(k - 1).Is("."))) continue;
        if (object) {
            const std::size_t name = AfterTemplate(k + 1);  // Texture2D<float4>
            if (At(name).kind != TokenKind::Identifier) continue;
            edits_.Replace(t.offset, At(name).offset, std::string(object->sampler) + " ");
            if (object->dimension) textures[At(name).text] = object;
        }
    }
    for (std::size_t k = 0; k + 3 < tokens_.size(); ++k) {
        const auto texture = textures.find(At(k).text);
        if (texture == textures.end() || !At(k + 1).Is(".") || !At(k + 3).Is("(") ||
            (k > 0 && At(k - 1).Is(".")))
            continue;
        const TextureObject& object = *texture->second;
        const std::string& method = At(k + 2).text;
        const std::size_t open = k + 3, close = At(open).match;
        const auto args = CallArguments(open);
        const std::string tex = std::string(object.dimension == std::string("1D") ? "tess_" : "") +
                                "tex" + object.dimension;
        const std::size_t need = method == "Sample"        ? 2
                                 : method == "SampleLevel" ? 3
                                 : method == "SampleBias"  ? 3
                                 : method == "SampleGrad"  ? 4
                                                           : 0;
        if (!need) {
            Error(k + 2, "'" + method + "' of a texture object has no " + profile_.name +
                             " instruction: sample with Sample, SampleLevel, SampleBias or "
                             "SampleGrad");
            continue;
        }
        if (args.size() != need) continue;  // glslang says what is wrong with the call
        // "t.Method(state, " becomes "texND...(t, ", the arguments after the state kept.
        const auto head = [&](const std::string& call) {
            edits_.Replace(At(k).offset, At(args[1].first).offset, call + "(" + At(k).text + ", ");
        };
        // The level or bias goes into the w of a float4 after the coordinates.
        const auto packed = [&](const std::string& call) {
            head(call);
            edits_.Insert(At(args[1].first).offset, "float4(");
            const std::string padding = object.coordinates == 1   ? ", 0, 0, "
                                        : object.coordinates == 2 ? ", 0, "
                                                                  : ", ";
            edits_.Replace(At(args[1].second).offset, At(args[1].second).offset + 1, padding);
            edits_.Insert(At(close).offset, ")");
        };
        if (method == "Sample" || method == "SampleGrad") head(tex + (need == 4 ? "grad" : ""));
        if (method == "SampleLevel") packed(tex + "lod");
        if (method == "SampleBias") packed(tex + "bias");
    }
}

// A 1D sampler reads a one-texel-high 2D texture (hlsl/prelude.cpp).
void SourcePass::ReadSampler1DAs2D() {
    for (const Token& t : tokens_) {
        if (t.kind == TokenKind::Identifier && t.text == "sampler1D")
            edits_.Replace(t.offset, t.offset + t.text.size(), "sampler2D");
    }
}

// glslang reads float1 as a one-component vector, which no arithmetic takes, and cannot build
// one-wide matrices: they become the scalars and vectors they behave as (indexing is mended
// where it differs, in RenameIdentifiers).
void SourcePass::ReadOneWideShapesAsVectors() {
    for (std::size_t k = 0; k + 1 < tokens_.size(); ++k) {
        const Token& t = tokens_[k];
        HlslType type;
        if (t.kind != TokenKind::Identifier || (k > 0 && At(k - 1).Is(".")) ||
            ReadType(k, type) != k + 1 || !type.Numeric() || type.name != t.text)
            continue;
        const std::string plain = TypeName(type);
        if (plain != t.text && (type.rows == 1 || type.columns == 1))
            edits_.Replace(t.offset, t.offset + t.text.size(), plain);
    }
}

// mul(2, 0.5): glslang finds mul(int, int) and mul(float, float) equally good for a whole
// literal beside a float one; the real compiler takes the float one.
void SourcePass::MakeWholeLiteralsOfMulFloat() {
    for (std::size_t k = 0; k + 1 < tokens_.size(); ++k) {
        if (!At(k).Is("mul") || !At(k + 1).Is("(") || (k > 0 && At(k - 1).Is("."))) continue;
        const std::size_t close = At(k + 1).match;
        std::size_t comma = k + 2;
        while (comma < close && !At(comma).Is(",")) {
            comma = At(comma).Is("(") || At(comma).Is("[") ? At(comma).match + 1 : comma + 1;
        }
        if (comma >= close) continue;
        const auto wholeLiteral = [&](std::size_t b, std::size_t e) {
            if (At(b).Is("-") || At(b).Is("+")) ++b;
            return e == b + 1 && At(b).kind == TokenKind::Number &&
                   At(b).text.find_first_of(".eExXfFhH") == std::string::npos;
        };
        const bool first = wholeLiteral(k + 2, comma), second = wholeLiteral(comma + 1, close);
        if (first == second) continue;
        const Token& literal = first ? At(comma - 1) : At(close - 1);
        edits_.Insert(literal.offset + literal.text.size(), ".0");
    }
}

}  // namespace d3dx
