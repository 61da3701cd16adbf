// A translated shader's stage interface, in the GLSL the OpenGL device links (part of the SPIR-V
// to GLSL translation, shader_translate.cpp).
//
// A vertex shader reads each input from the attribute location of its semantic
// (platform/d3dx/attribute_locations.h) and writes its POSITION output to a plain variable that
// becomes the clip position at the end of main, converted from Direct3D's clip space as the
// fixed-function stage converts its own.
//
// Between the stages, varyings go by semantic under the names and types the fixed-function
// stage uses, so that either stage of a program may be a shader or fixed function: COLORn is
// vec4 vColorN; TEXCOORDn is vec2 vTexCoordN, with its z and w beside it in vec2
// vTexCoordN_zw as (z, w - 1). An input that the other stage does not write reads zero, so a
// TEXCOORD that the fixed-function stage gives with two components reads (u, v, 0, 1), as in
// Direct3D 9. Before vs_3_0, COLOR outputs are clamped to [0, 1].
//
// A pixel shader's VPOS is the pixel's position in Direct3D 9's pixel coordinates and VFACE the
// facing sign, both made from OpenGL's fragment inputs.
#pragma once

#include <spirv_cross/spirv_cross_c.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dx/hlsl/shader_container.h"

namespace d3dx {

struct StageVariable {
    std::string glslName;  // the shader's own variable, a plain global in the GLSL
    std::string semantic;  // COLOR, TEXCOORD, VPOS, VFACE, POSITION
    int index = 0;
    bool input = true;
};

// Before SPIRV-Cross reads the SPIR-V: an input written "in float2 p : VPOS" (or VFACE) is one
// of glslang's built-ins, with the built-in's type wrong for it; it becomes a plain input of its
// semantic like the others, which ConnectStageVariables fills.
void VposAndVfaceAsInputs(std::vector<std::uint32_t>& spirv);
// Before SPIRV-Cross compiles: names the stage variables and sets the vertex attributes.
std::vector<StageVariable> NameStageVariables(spvc_compiler compiler, spvc_resources resources,
                                              ShaderReflection& shader);
// After: connects them to the varyings, the attributes' conversions and the clip position.
void ConnectStageVariables(std::string& glsl, const std::vector<StageVariable>& variables,
                           bool pixel, bool clampColours);

// GLSL text helpers the translation shares: a declaration made a plain global (its type
// returned), and statements added at the start or the end of main.
bool MakePlain(std::string& glsl, const std::string& name, std::string* type);
std::size_t DeclarationEnd(const std::string& glsl, const std::string& name);
void AddToMainStart(std::string& glsl, const std::string& statements);
void AddToMainEnd(std::string& glsl, const std::string& statements);

}  // namespace d3dx
