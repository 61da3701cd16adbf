// The shader constant registers of one stage, as SetVertexShaderConstantF/I/B and
// SetPixelShaderConstantF/I/B fill them: float4, int4 and BOOL registers, zero until set. The
// device's front end owns one per stage; a backend reads them when it draws with a shader.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/window_input.h"

namespace d3d9 {

// Register counts Direct3D 9 gives a device that processes vertices in software (the program's
// device): 8192 float registers for vertex shaders, 224 for pixel shaders, 16 int and 16 BOOL
// registers for each stage.
inline constexpr UINT kVertexFloatRegisters = 8192;
inline constexpr UINT kPixelFloatRegisters = 224;
inline constexpr UINT kIntRegisters = 16;
inline constexpr UINT kBoolRegisters = 16;

struct StageConstants {
    explicit StageConstants(UINT floatRegisters) : floats(floatRegisters) {}
    std::vector<std::array<float, 4>> floats;
    std::array<std::array<int, 4>, kIntRegisters> ints{};
    std::array<BOOL, kBoolRegisters> bools{};
    // Raised by every change, so that a backend uploads only what changed since it last looked.
    std::uint64_t generation = 1;
};

}  // namespace d3d9
