// Our versions of the intrinsics whose glslang version reads differently from the HLSL
// definition, put before the shader when it calls them (the source pass renames each call to
// tess_<name>). Each is written from the intrinsic's documented definition:
//   lit(n_dot_l, n_dot_h, m) = (1, max(0, n_dot_l), n_dot_l < 0 || n_dot_h < 0 ? 0 : n_dot_h^m, 1)
//   fmod(x, y) = x - y * trunc(x / y), whose sign is x's
//   ldexp(x, e) = x * 2^e, for any e, not only whole ones
//   frexp(x, out e) = x / 2^e with e the exponent that puts its size in [0.5, 1) (0 for 0), as
//   GLSL 3.30, which the device runs, has no frexp
//   all(x) and any(x): whether every or some component is non-zero (glslang folds them to
//   false when their argument is a constant)
//   noise(x): an intrinsic of texture shaders only, on which glslang's front end crashes; ours
//   stands in its place so that a function the entry point never calls may call it (the tree
//   pass refuses it where the entry point reaches it)
//   tex1D and its kin: Direct3D 9 has no 1D textures, and a 1D sampler reads a texture one texel
//   high, so the pass makes sampler1D a sampler2D and these read the middle of its one row
#include <cctype>
#include <cstring>
#include <string>

#include "platform/d3dx/hlsl/compiler.h"

namespace d3dx {
namespace {

struct PreludeFunction {
    const char* name;
    const char* text;
};

// Each on one line, so that the prelude adds as few lines as possible before the #line.
constexpr PreludeFunction kPrelude[] = {
    {"tess_lit",
     "float4 tess_lit(float n_dot_l, float n_dot_h, float m) { float specular = (n_dot_l < 0 || "
     "n_dot_h < 0) ? 0 : (n_dot_h == 0 ? (m == 0 ? 1 : 0) : pow(n_dot_h, m)); return float4(1, "
     "max(0, n_dot_l), specular, 1); }"},
    {"tess_fmod",
     "float tess_fmod(float x, float y) { return x - y * trunc(x / y); } float2 tess_fmod(float2 "
     "x, float2 y) { return x - y * trunc(x / y); } float3 tess_fmod(float3 x, float3 y) { return "
     "x - y * trunc(x / y); } float4 tess_fmod(float4 x, float4 y) { return x - y * trunc(x / y); "
     "}"},
    {"tess_ldexp",
     "float tess_ldexp(float x, float e) { return x * exp2(e); } float2 tess_ldexp(float2 x, "
     "float2 e) { return x * exp2(e); } float3 tess_ldexp(float3 x, float3 e) { return x * "
     "exp2(e); } float4 tess_ldexp(float4 x, float4 e) { return x * exp2(e); }"},
    {"tess_frexp",
     "float tess_frexp(float x, out float e) { e = x == 0 ? 0 : floor(log2(abs(x))) + 1; return "
     "x / exp2(e); } float2 tess_frexp(float2 x, out float2 e) { e = x == 0 ? 0 : "
     "floor(log2(abs(x))) + 1; return x / exp2(e); } float3 tess_frexp(float3 x, out float3 e) { "
     "e = x == 0 ? 0 : floor(log2(abs(x))) + 1; return x / exp2(e); } float4 tess_frexp(float4 "
     "x, out float4 e) { e = x == 0 ? 0 : floor(log2(abs(x))) + 1; return x / exp2(e); }"},
    {"tess_all",
     "bool tess_all(float x) { return x != 0; } bool tess_all(float2 x) { return x.x != 0 && x.y "
     "!= 0; } bool tess_all(float3 x) { return x.x != 0 && x.y != 0 && x.z != 0; } bool "
     "tess_all(float4 x) { return x.x != 0 && x.y != 0 && x.z != 0 && x.w != 0; }"},
    {"tess_any",
     "bool tess_any(float x) { return x != 0; } bool tess_any(float2 x) { return x.x != 0 || x.y "
     "!= 0; } bool tess_any(float3 x) { return x.x != 0 || x.y != 0 || x.z != 0; } bool "
     "tess_any(float4 x) { return x.x != 0 || x.y != 0 || x.z != 0 || x.w != 0; }"},
    {"tess_noise",
     "float tess_noise(float x) { return 0; } float tess_noise(float2 x) { return 0; } float "
     "tess_noise(float3 x) { return 0; } float tess_noise(float4 x) { return 0; }"},
    {"tess_tex1D", "float4 tess_tex1D(sampler2D s, float t) { return tex2D(s, float2(t, 0.5)); }"},
    {"tess_tex1Dbias",
     "float4 tess_tex1Dbias(sampler2D s, float4 t) { return tex2Dbias(s, float4(t.x, 0.5, 0, "
     "t.w)); }"},
    {"tess_tex1Dlod",
     "float4 tess_tex1Dlod(sampler2D s, float4 t) { return tex2Dlod(s, float4(t.x, 0.5, 0, t.w)); "
     "}"},
    {"tess_tex1Dproj",
     "float4 tess_tex1Dproj(sampler2D s, float4 t) { return tex2Dproj(s, float4(t.x, 0.5 * t.w, 0, "
     "t.w)); }"},
    {"tess_tex1Dgrad",
     "float4 tess_tex1Dgrad(sampler2D s, float t, float dx, float dy) { return tex2Dgrad(s, "
     "float2(t, 0.5), float2(dx, 0), float2(dy, 0)); }"},
};

}  // namespace

std::string PreludeFor(const std::string& source) {
    std::string prelude;
    for (const PreludeFunction& f : kPrelude) {
        // The name as a whole word: tess_tex1D is not tess_tex1Dbias.
        const std::size_t length = std::strlen(f.name);
        for (std::size_t at = source.find(f.name); at != std::string::npos;
             at = source.find(f.name, at + 1)) {
            const char after = at + length < source.size() ? source[at + length] : ' ';
            if (!std::isalnum(static_cast<unsigned char>(after)) && after != '_') {
                prelude += std::string(f.text) + "\n";
                break;
            }
        }
    }
    return prelude.empty() ? prelude : prelude + "#line 1\n";
}

}  // namespace d3dx
