// How the code the entry point reaches reads the global constants, from glslang's tree
// (hlsl/constant_uses.cpp): the elements of each array it reads, and the ints it reads only as a
// loop's count. Register assignment (shader_registers.cpp) packs the constants by them as the
// real compiler does.
#pragma once

#define ENABLE_HLSL 1
#include <glslang/MachineIndependent/localintermediate.h>

#include <string>

#include "platform/d3dx/hlsl/shader_translate.h"

namespace d3dx {

// Fills facts.elementsRead and facts.loopCounts.
void ReadConstantUses(const glslang::TIntermediate& intermediate, const std::string& entry,
                      GlobalFacts& facts);

}  // namespace d3dx
