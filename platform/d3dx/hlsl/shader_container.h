// The code buffer of a compiled shader: our own container behind the platform's version token,
// holding the shader's reflection (input and output semantics, samplers with their registers,
// constants with their registers and sizes) and its translation for the OpenGL device (GLSL,
// the texture unit of each GLSL sampler, the TEXCOORD inputs a pixel shader reads).
//
// Layout, in 32-bit words: the D3D9 version token (0xFFFE0000 | version for vertex shaders,
// 0xFFFF0000 | version for pixel shaders), the tag 'TSHD', the total length in words, then the
// serialised reflection and the GLSL text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics_device.h"

namespace d3dx {

enum class ShaderStage : std::uint32_t { Vertex = 0, Pixel = 1 };

struct SemanticVar {
    std::string name;      // the variable in the SPIR-V (and so in cross-compiled GLSL)
    std::string semantic;  // as written, upper-cased, index split off: "TEXCOORD"
    std::uint32_t index = 0;
    std::uint32_t location = 0;
};

struct SamplerVar {
    std::string name;
    std::uint32_t reg = 0;  // sN
};

struct ConstantVar {
    std::string name;
    D3DXREGISTER_SET registerSet = D3DXRS_FLOAT4;
    std::uint32_t registerIndex = 0;
    std::uint32_t registerCount = 0;
    D3DXPARAMETER_CLASS parameterClass = D3DXPC_VECTOR;
    D3DXPARAMETER_TYPE type = D3DXPT_FLOAT;
    std::uint32_t rows = 1, columns = 4, elements = 1, bytes = 16;
    std::vector<float> defaultValue;  // the initialiser as written; never applied by a device
    std::int32_t parent = -1;         // the struct constant this one is a member of
    std::uint32_t structMembers = 0;
};

// The compiler's estimate of the instruction slots a shader needs, and the profile's limits
// (one shared budget where the profile does not count arithmetic and texture slots apart).
struct SlotEstimate {
    std::uint32_t arithmetic = 0, texture = 0;
    std::uint32_t arithmeticLimit = 0, textureLimit = 0;
    bool shared = false;
};

struct ShaderReflection {
    ShaderStage stage = ShaderStage::Pixel;
    std::uint32_t versionMajor = 2, versionMinor = 0;
    std::string entry;
    std::vector<SemanticVar> inputs;
    std::vector<SemanticVar> outputs;
    std::vector<SamplerVar> samplers;
    std::vector<ConstantVar> constants;
    // The translation (shader_translate.h).
    std::string glsl;
    std::vector<SamplerVar> glslSamplers;  // GLSL sampler names and their texture units
    std::uint32_t texCoordsRead = 0;
    // Registers the GLSL reads its constants from: tessC[floatRegisters] (vec4), tessI (ivec4)
    // and tessB (bool), each from register 0.
    std::uint32_t floatRegisters = 0, intRegisters = 0, boolRegisters = 0;
    // What the compile knew that the device reports (its debug layer and traces): the source
    // file as named, the digest of its bytes (platform/core/digest.h) and the slot estimate.
    std::string sourceName;
    std::uint64_t sourceDigest = 0;
    SlotEstimate slots;
};

inline constexpr std::uint32_t kContainerTag = 0x44485354;  // "TSHD"
inline constexpr std::size_t kMaxContainerWords = std::size_t{4} << 20;

std::vector<std::uint32_t> PackShader(const ShaderReflection& shader);
// Reads a container from a code pointer; fails on anything malformed.
std::optional<ShaderReflection> UnpackShader(const DWORD* code);
// The version token's stage, without reading the rest.
std::optional<ShaderStage> StageOfCode(const DWORD* code);

// A literal string of SPIR-V words [at, end): UTF-8, four bytes a word, low byte first, ended by
// its first zero byte.
std::string SpirvString(const std::vector<std::uint32_t>& spirv, std::size_t at, std::size_t end);

// Semantics and locations of the entry point's inputs and outputs, read from SPIR-V; those that
// have no semantic go to withoutSemantic ("input uv", "output @entryPointOutput").
bool ReflectSpirvInterface(const std::vector<std::uint32_t>& spirv, ShaderReflection& out,
                           std::vector<std::string>* withoutSemantic = nullptr);

}  // namespace d3dx
