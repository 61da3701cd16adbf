// Our checks of what glslang made of a shader, for what the real compiler refuses or warns
// about for the profile and glslang accepts: features outside the profile (texture sampling in
// vertex shaders before vs_3_0, tex2Dlod, tex2Dgrad and derivatives in ps_2_0, VPOS and VFACE
// before ps_3_0), entry-point inputs and outputs without a semantic, and an estimate of the
// instruction slots the shader needs against the profile's limits (a warning, an error only for
// texture instructions that ps_2_0 cannot hold).
#pragma once

#define ENABLE_HLSL 1
#include <glslang/MachineIndependent/localintermediate.h>

#include <string>
#include <vector>

#include "platform/d3dx/hlsl/shader_container.h"
#include "platform/d3dx/hlsl/source_pass.h"

namespace d3dx {

// The code reachable from the entry point, after parsing; `estimate`, where given, receives the
// slot estimate the checks made.
std::vector<Diagnostic> CheckProgram(const glslang::TIntermediate& intermediate,
                                     const ProfileInfo& profile, const std::string& entry,
                                     const SourcePassResult& pass,
                                     SlotEstimate* estimate = nullptr);

// The entry point's inputs and outputs, after linking.
std::vector<Diagnostic> CheckInterface(const ShaderReflection& shader,
                                       const std::vector<std::string>& withoutSemantic,
                                       const ProfileInfo& profile, const std::string& entry,
                                       int entryLine);

}  // namespace d3dx
