// The instruction slots a shader needs, estimated from glslang's tree of the code the entry point
// reaches (hlsl/slot_estimate.cpp), against the slots the profile has. Beyond the margin measured
// on shaders that shipped (shared/hlsl-world) the compile fails with the real compiler's error;
// over the limit but within the margin it is a warning, since the estimate may be high.
#pragma once

#define ENABLE_HLSL 1
#include <glslang/MachineIndependent/localintermediate.h>

#include <string>
#include <vector>

#include "platform/d3dx/hlsl/shader_container.h"
#include "platform/d3dx/hlsl/source_pass.h"

namespace d3dx {

struct SlotCounts {
    double arithmetic = 0, texture = 0;
};

// The instruction slots each profile has: arithmetic and texture apart in ps_2_0 and ps_2_b, one
// budget for both elsewhere.
struct SlotLimits {
    int arithmetic, texture;
    bool shared;
};
SlotLimits LimitsOf(const ProfileInfo& profile);

// How far over the limit an estimate may be before the compile fails: the largest ratio of
// estimate to limit among the shaders that shipped for the profile, and some room.
double SlotMargin(const ProfileInfo& profile);

SlotCounts EstimateSlots(const glslang::TIntermediate& intermediate, const std::string& entry,
                         const ProfileInfo& profile, const SourcePassResult& pass);

// The estimate against the limits: an error beyond the margin, a warning within it. `report`,
// where given, receives the estimate and the limits for the code container.
std::vector<Diagnostic> CheckSlots(const glslang::TIntermediate& intermediate,
                                   const std::string& entry, const ProfileInfo& profile,
                                   const SourcePassResult& pass, SlotEstimate* report = nullptr);

}  // namespace d3dx
