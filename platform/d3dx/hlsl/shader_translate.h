// A compiled shader as the OpenGL device uses it: GLSL 330 cross-compiled from the compiler's
// SPIR-V with SPIRV-Cross, the texture units its samplers read, and its constant table. The
// translation runs in the compile child (hlsl/compiler.cpp), so that a fault inside SPIRV-Cross
// is a failed compile; Create*Shader only reads the result from the code container.
//
// The GLSL follows the device's conventions: a vertex shader reads each input from the
// attribute location of its semantic (platform/d3dx/attribute_locations.h) and writes its POSITION
// output to a plain variable that is converted to OpenGL's clip space at the end of main; COLORn
// and TEXCOORDn travel as vColorN and vTexCoordN, so that a pixel shader's inputs meet the vertex
// stage's outputs by semantic, never by declaration order.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/d3dx/hlsl/shader_container.h"
#include "platform/d3dx/hlsl/source_pass.h"

namespace d3dx {

// What register assignment needs to know of the globals beyond their SPIR-V types.
struct GlobalFacts {
    std::vector<GlobalDeclaration> declarations;  // from the source pass, in declaration order
    // A sampler's type as declared: the source pass reads sampler1D as sampler2D.
    std::map<std::string, std::string> samplerTypes;
    // Arrays the shader reads only at constant indices: how many of their first elements it
    // reads (the real compiler gives registers up to the last element read).
    std::map<std::string, int> elementsRead;
    // int constants read only as a loop's count, which the profile keeps in integer registers.
    std::set<std::string> loopCounts;
};

struct SamplerBinding {
    std::string name;  // as it stands in the GLSL
    int reg = 0;       // sN: reads stage N's texture and sampler states
};

struct TranslatedShader {
    std::string glsl;
    std::vector<SamplerBinding> samplers;
    int texCoordsRead = 0;               // TEXCOORDn inputs read: the largest n plus one
    std::vector<ConstantVar> constants;  // the constant table: registers and shapes
    // The registers the GLSL reads: uniform vec4 tessC[], ivec4 tessI[] and bool tessB[].
    int floatRegisters = 0, intRegisters = 0, boolRegisters = 0;
};

// In the compile child: cross-compiles the SPIR-V of a shader whose interface is already in
// `shader`, filling its GLSL, constants and samplers with their registers (from what the passes
// learnt of the globals), and its TEXCOORD count. False with a reason when SPIRV-Cross refuses it
// or the registers run out.
bool TranslateToGlsl(std::vector<std::uint32_t> spirv, const GlobalFacts& globals,
                     const ProfileInfo& profile, ShaderReflection& shader, std::string& error);

// On the device: the translated shader a code container carries. False with a reason when the
// code is not a valid container of the stage.
bool ReadTranslatedShader(const DWORD* code, ShaderStage stage, TranslatedShader& out,
                          std::string& error);

}  // namespace d3dx
