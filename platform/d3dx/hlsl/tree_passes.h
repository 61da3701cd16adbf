// The Direct3D 9 rules that depend on what the entry point reaches and how: passes over
// glslang's tree of the parsed shader, after parsing and before linking, each rule one pass
// (hlsl/tree_passes.cpp lists them). The source pass (hlsl/source_pass.h) does what must happen
// to the text before glslang reads it; these judge what glslang read, through the entry point's
// call tree (hlsl/entry_tree.h).
#pragma once

#define ENABLE_HLSL 1
#include <glslang/MachineIndependent/localintermediate.h>

#include <string>
#include <vector>

#include "platform/d3dx/hlsl/source_pass.h"

namespace d3dx {

std::vector<Diagnostic> RunTreePasses(const glslang::TIntermediate& intermediate,
                                      const ProfileInfo& profile, const std::string& entry,
                                      const SourcePassResult& pass);

}  // namespace d3dx
