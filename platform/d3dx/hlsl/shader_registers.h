// Shader constants in Direct3D 9's registers: each global constant the shader reads is given
// its own float4 (c#), BOOL (b#) or int4 (i#) registers as the real compiler packs them (one
// register per scalar, vector, matrix row or column and array element; an explicit
// register(cN) kept), and samplers their s# registers. The translated GLSL then reads every
// constant from register arrays (tessC, tessB, tessI) at the start of main, so a device uploads
// its register file as it is and every shape (matrices of either majority, arrays, structs)
// reads what Direct3D 9 would. Part of the SPIR-V to GLSL translation (shader_translate.cpp).
#pragma once

#include <spirv_cross/spirv_cross_c.h>

#include <map>
#include <string>
#include <vector>

#include "platform/d3dx/hlsl/shader_container.h"
#include "platform/d3dx/hlsl/shader_translate.h"
#include "platform/d3dx/hlsl/source_pass.h"

namespace d3dx {

struct RegisterReads {
    std::string blockName;  // the GLSL variable that held the constants as a uniform
    spvc_type_id blockType = 0;
    std::string declarations;  // the register arrays
    std::string loads;         // statements filling blockName from them
};

// The member names of a struct type and the structs inside it, as "type.index" and name.
// SPIRV-Cross renames a member whose name GLSL reserves (a global called noise or length) as
// it compiles; the loads, written before, follow it with FollowMemberRenames.
std::map<std::string, std::string> MemberNames(spvc_compiler compiler, spvc_type_id type);
void FollowMemberRenames(const std::map<std::string, std::string>& before,
                         const std::map<std::string, std::string>& after, std::string& loads);

// Names that HLSL allows and GLSL 3.30 reserves (vec4, input, fixed ...) get a suffix in the
// GLSL; HlslName takes it off again.
std::string GlslSafeName(const std::string& name);
std::string HlslName(const std::string& glslName);
// Gives every name and member name in the SPIR-V that GLSL reserves its safe name.
void MakeNamesGlslSafe(spvc_compiler compiler, const std::vector<std::uint32_t>& spirv);

// Fills shader.constants, shader.samplers and the register counts; names the constant block
// and the samplers for the GLSL. False with a reason when the registers run out.
bool AssignRegisters(spvc_compiler compiler, spvc_resources resources, const GlobalFacts& globals,
                     const ProfileInfo& profile, ShaderReflection& shader, RegisterReads& reads,
                     std::string& error);

}  // namespace d3dx
