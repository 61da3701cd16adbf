// Effect-file declarations in a shader compile (hlsl/effect_declarations.cpp): a shader compiled
// with a shader profile from an .fx file keeps its functions and constants, and the effect
// framework's declarations (techniques and passes, annotations, sampler_state and other state
// blocks, textures, strings and shader variables) are read, checked and dropped before the source
// pass sees the text. Also what register assignment needs from the declarations as written (a
// sampler's declared type, which the source pass changes for glslang), and the double type, which
// no Direct3D 9 profile has.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/d3dx/hlsl/source_pass.h"

namespace d3dx {

struct EffectPassResult {
    std::string source;  // effect declarations blanked; every line and column kept
    std::vector<Diagnostic> problems;
    std::map<std::string, std::string> samplerTypes;  // a global sampler's type as declared
};

EffectPassResult RemoveEffectDeclarations(const std::string& preprocessed,
                                          const ProfileInfo& profile);

}  // namespace d3dx
