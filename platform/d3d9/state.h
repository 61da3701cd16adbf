// The Direct3D 9 state a device keeps, as plain arrays: render, texture-stage and sampler
// states, transforms, lights, the material, the bound objects and the shader constant
// registers, with Direct3D 9's starting values. The front end (device.h) is the only writer;
// it records what changed in a Changes set, which a backend reads when a draw flushes it.
#pragma once

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/d3d9/stage_constants.h"
#include "platform/graphics_device.h"

namespace d3d9 {

class Texture;
class VertexDeclaration;
class VertexShader;
class PixelShader;

inline constexpr DWORD kRenderStates = 256;  // every number below 256 can be set
inline constexpr DWORD kTextureStages = 8;
inline constexpr DWORD kStageStates = 33;    // D3DTSS_* up to D3DTSS_CONSTANT
inline constexpr DWORD kSamplerStates = 14;  // D3DSAMP_* up to D3DSAMP_DMAPOFFSET
inline constexpr DWORD kPixelSamplers = 16;
// Samplers 0-15, then D3DDMAPSAMPLER and the four vertex texture samplers.
inline constexpr DWORD kSamplerSlots = kPixelSamplers + 5;
inline constexpr DWORD kWorldMatrices = 256;
inline constexpr DWORD kTextureTransforms = 8;
// The fixed-function stage lights with the first eight lights enabled.
inline constexpr DWORD kMaxActiveLights = 8;

// The slot of a sampler number in the state arrays, or -1 where Direct3D 9 has no such sampler.
constexpr int SamplerSlot(DWORD sampler) {
    if (sampler < kPixelSamplers) return static_cast<int>(sampler);
    if (sampler >= D3DDMAPSAMPLER && sampler <= D3DVERTEXTEXTURESAMPLER3)
        return static_cast<int>(kPixelSamplers + (sampler - D3DDMAPSAMPLER));
    return -1;
}

// What changed since the last draw flushed the state: groups, and within them which entries.
struct Changes {
    enum Group : std::uint32_t {
        kRenderStates = 1u << 0,
        kStageStates = 1u << 1,
        kSamplerStates = 1u << 2,
        kTransforms = 1u << 3,
        kLights = 1u << 4,
        kMaterial = 1u << 5,
        kTextures = 1u << 6,
        kShaders = 1u << 7,
        kDeclaration = 1u << 8,
    };
    // Bits of `transforms`.
    enum Transform : std::uint32_t { kWorld = 1u << 0, kView = 1u << 1, kProjection = 1u << 2 };

    std::uint32_t groups = 0;
    std::bitset<d3d9::kRenderStates> renderStates;
    std::uint32_t stages = 0;      // a bit per texture stage
    std::uint32_t samplers = 0;    // a bit per sampler slot whose sampler states changed
    std::uint32_t textures = 0;    // a bit per sampler slot whose texture changed
    std::uint32_t transforms = 0;  // Transform bits; texture transforms and other world
                                   // matrices change nothing that is drawn

    bool Any() const { return groups != 0; }
    void Clear() { *this = Changes{}; }
};

struct DeviceState {
    DeviceState();

    DWORD renderStates[kRenderStates];
    DWORD stageStates[kTextureStages][kStageStates];
    DWORD samplerStates[kSamplerSlots][kSamplerStates];

    Matrix4 view, projection;
    Matrix4 world[kWorldMatrices];
    Matrix4 textureTransforms[kTextureTransforms];

    // Every light ever set, by index, and the enabled ones in the order they were enabled; the
    // first kMaxActiveLights of those light the scene.
    std::unordered_map<DWORD, D3DLIGHT9> lights;
    std::vector<DWORD> enabledLights;
    DWORD ActiveLightCount() const {
        return std::min<DWORD>(kMaxActiveLights, static_cast<DWORD>(enabledLights.size()));
    }
    const D3DLIGHT9& ActiveLight(DWORD i) const { return lights.at(enabledLights[i]); }

    D3DMATERIAL9 material{};

    // Bound objects: each holds a reference taken by the device.
    Texture* textures[kSamplerSlots] = {};
    VertexDeclaration* declaration = nullptr;
    VertexShader* vertexShader = nullptr;
    PixelShader* pixelShader = nullptr;

    StageConstants vertexConstants{kVertexFloatRegisters};
    StageConstants pixelConstants{kPixelFloatRegisters};

    // The device's starting values; ZENABLE depends on whether it has a depth buffer.
    void SetDefaults(bool depthBuffer);
};

// The light Direct3D 9 makes when LightEnable names a light that was never set: white,
// directional, pointing along +z.
D3DLIGHT9 DefaultLight();

}  // namespace d3d9
