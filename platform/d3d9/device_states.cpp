// The front end's state setters: render, texture-stage and sampler states, transforms, lights,
// the material, the bound objects and the shader constant registers. A set that changes
// nothing returns at once; any other records what changed for the next draw to flush.
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/d3d9/device.h"
#include "platform/d3d9/trace.h"
#include "platform/d3d9/validation.h"

namespace d3d9 {

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
    const Refusal why = CheckRenderState(State);
    if (why.empty() && state_.renderStates[State] != Value) {
        state_.renderStates[State] = Value;
        changes_.renderStates.set(State);
        Changed(Changes::kRenderStates);
    }
    return TracedCheck(why, "SetRenderState", State, Value);
}

HRESULT Device::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) {
    const Refusal why = CheckStageState(Stage, Type);
    if (why.empty() && state_.stageStates[Stage][Type] != Value) {
        state_.stageStates[Stage][Type] = Value;
        changes_.stages |= 1u << Stage;
        Changed(Changes::kStageStates);
    }
    return TracedCheck(why, "SetTextureStageState", Stage, Type, Value);
}

HRESULT Device::SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) {
    const int slot = SamplerSlot(Sampler);
    const Refusal why = CheckSamplerState(Sampler, Type);
    if (why.empty() && slot >= 0 && state_.samplerStates[slot][Type] != Value) {
        state_.samplerStates[slot][Type] = Value;
        changes_.samplers |= 1u << slot;
        Changed(Changes::kSamplerStates);
    }
    return TracedCheck(why, "SetSamplerState", Sampler, Type, Value);
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) {
    if (!pMatrix) return TracedCheck("no matrix (NULL)", "SetTransform", State, pMatrix);
    Matrix4* target = nullptr;
    std::uint32_t bit = 0;
    if (State == D3DTS_VIEW) {
        target = &state_.view;
        bit = Changes::kView;
    } else if (State == D3DTS_PROJECTION) {
        target = &state_.projection;
        bit = Changes::kProjection;
    } else if (State >= D3DTS_TEXTURE0 && State <= D3DTS_TEXTURE7) {
        target = &state_.textureTransforms[State - D3DTS_TEXTURE0];
    } else if (State >= D3DTS_WORLD && State < D3DTS_WORLD + kWorldMatrices) {
        target = &state_.world[State - D3DTS_WORLD];
        if (State == D3DTS_WORLD) bit = Changes::kWorld;
    }
    // Numbers Direct3D 9 gives no transform are accepted and kept nowhere.
    if (target && std::memcmp(target, pMatrix, sizeof(Matrix4)) != 0) {
        *target = *pMatrix;
        if (bit) {
            changes_.transforms |= bit;
            Changed(Changes::kTransforms);
        }
    }
    return Traced(D3D_OK, "SetTransform", State, pMatrix);
}

HRESULT Device::SetLight(DWORD Index, const D3DLIGHT9* pLight) {
    const Refusal why = CheckLight(pLight);
    if (why.empty()) {
        auto [it, added] = state_.lights.try_emplace(Index, *pLight);
        if (!added && std::memcmp(&it->second, pLight, sizeof *pLight) != 0) {
            it->second = *pLight;
            Changed(Changes::kLights);
        }
    }
    return TracedCheck(why, "SetLight", Index, pLight);
}

HRESULT Device::LightEnable(DWORD Index, BOOL Enable) {
    // A light never set is made with the default light's values, enabled or not.
    state_.lights.try_emplace(Index, DefaultLight());
    std::vector<DWORD>& enabled = state_.enabledLights;
    const auto at = std::find(enabled.begin(), enabled.end(), Index);
    if (Enable && at == enabled.end()) {
        enabled.push_back(Index);
        Changed(Changes::kLights);
    } else if (!Enable && at != enabled.end()) {
        enabled.erase(at);
        Changed(Changes::kLights);
    }
    return Traced(D3D_OK, "LightEnable", Index, Enable);
}

HRESULT Device::SetMaterial(const D3DMATERIAL9* pMaterial) {
    if (pMaterial && std::memcmp(&state_.material, pMaterial, sizeof *pMaterial) != 0) {
        state_.material = *pMaterial;
        Changed(Changes::kMaterial);
    }
    return TracedCheck(pMaterial ? "" : "no material (NULL)", "SetMaterial", pMaterial);
}

// ---- Bound objects -----------------------------------------------------------------------------

// Binds `object` (null unbinds) in `slot`: the device takes a reference on what it binds and
// gives back the one on what it unbinds, so a bound object lives until it is unbound or the
// device is released. Objects of another device, or not made by a device, are refused.
template <typename Object, typename Interface>
Refusal Device::Bind(Object*& slot, Interface* object, Changes::Group group) {
    Object* made = nullptr;
    if (object) {
        made = dynamic_cast<Object*>(object);
        if (!made) return "the object was not made by a Direct3D 9 device";
        if (made->Owner() != this) return "the object was made by another device";
    }
    if (made == slot) return {};
    if (made) made->AddBinding();
    if (Object* previous = std::exchange(slot, made)) previous->RemoveBinding();
    Changed(group);
    return {};
}

HRESULT Device::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) {
    const int slot = SamplerSlot(Stage);
    Refusal why = CheckSampler(Stage);
    if (why.empty() && slot >= 0) {
        Texture* before = state_.textures[slot];
        why = Bind(state_.textures[slot], pTexture, Changes::kTextures);
        if (state_.textures[slot] != before) changes_.textures |= 1u << slot;
    }
    return TracedCheck(why, "SetTexture", Stage, pTexture);
}

HRESULT Device::SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) {
    return TracedCheck(Bind(state_.declaration, pDecl, Changes::kDeclaration),
                       "SetVertexDeclaration", pDecl);
}

void Device::ShaderBound(ShaderResource& bound, ShaderResource* other) {
    debug_.ShaderBound(bound);
    ApplyConstantSettings(this, bound, other);
}

HRESULT Device::SetVertexShader(IDirect3DVertexShader9* pShader) {
    const HRESULT hr = TracedCheck(Bind(state_.vertexShader, pShader, Changes::kShaders),
                                   "SetVertexShader", pShader);
    // The instruments act after the call, as the program's next calls would.
    if (hr == D3D_OK && state_.vertexShader) ShaderBound(*state_.vertexShader, state_.pixelShader);
    return hr;
}

HRESULT Device::SetPixelShader(IDirect3DPixelShader9* pShader) {
    const HRESULT hr = TracedCheck(Bind(state_.pixelShader, pShader, Changes::kShaders),
                                   "SetPixelShader", pShader);
    if (hr == D3D_OK && state_.pixelShader) ShaderBound(*state_.pixelShader, state_.vertexShader);
    return hr;
}

// ---- Shader constant registers -----------------------------------------------------------------

namespace {

// Copies `count` registers of N components from `start`; the generation moves only on a change.
template <typename Register, typename T>
Refusal SetRegisters(Register* file, UINT size, UINT start, const T* data, UINT count,
                     std::uint64_t& generation, const char* kind) {
    if (Refusal why = CheckConstantRun(kind, size, start, data, count); !why.empty()) return why;
    constexpr std::size_t kBytes = sizeof(Register);
    if (count && std::memcmp(&file[start], data, kBytes * count) != 0) {
        std::memcpy(&file[start], data, kBytes * count);
        ++generation;
    }
    return {};
}

// BOOL registers keep TRUE or FALSE, whatever non-zero value was given.
Refusal SetBools(StageConstants& c, UINT start, const BOOL* data, UINT count) {
    if (Refusal why = CheckConstantRun("BOOL", kBoolRegisters, start, data, count); !why.empty())
        return why;
    for (UINT i = 0; i < count; ++i) {
        const BOOL b = data[i] ? TRUE : FALSE;
        if (c.bools[start + i] != b) {
            c.bools[start + i] = b;
            ++c.generation;
        }
    }
    return {};
}

// The call's values are read only where the call is valid, as Direct3D 9 reads them.
template <typename T>
platform::Verbatim Values(const Refusal& why, const T* data, UINT count, UINT perRegister) {
    if (!why.empty()) return platform::Presence(data, "values");
    return ConstantValues(data, count, perRegister);
}

HRESULT SetFloats(StageConstants& c, UINT start, const float* data, UINT count, const char* api) {
    const Refusal why = SetRegisters(c.floats.data(), static_cast<UINT>(c.floats.size()), start,
                                     data, count, c.generation, "float");
    return TracedCheck(why, api, start, Values(why, data, count, 4), count);
}

HRESULT SetInts(StageConstants& c, UINT start, const int* data, UINT count, const char* api) {
    const Refusal why =
        SetRegisters(c.ints.data(), kIntRegisters, start, data, count, c.generation, "int");
    return TracedCheck(why, api, start, Values(why, data, count, 4), count);
}

HRESULT SetBoolValues(StageConstants& c, UINT start, const BOOL* data, UINT count,
                      const char* api) {
    const Refusal why = SetBools(c, start, data, count);
    return TracedCheck(why, api, start, Values(why, data, count, 1), count);
}

}  // namespace

HRESULT Device::NoteConstants(HRESULT hr, bool pixel, D3DXREGISTER_SET set, UINT start,
                              UINT count) {
    if (hr == D3D_OK) debug_.ConstantsSet(pixel, set, start, count);
    return hr;
}

HRESULT Device::SetVertexShaderConstantF(UINT StartRegister, const float* pConstantData,
                                         UINT Vector4fCount) {
    return NoteConstants(SetFloats(state_.vertexConstants, StartRegister, pConstantData,
                                   Vector4fCount, "SetVertexShaderConstantF"),
                         false, D3DXRS_FLOAT4, StartRegister, Vector4fCount);
}
HRESULT Device::SetVertexShaderConstantI(UINT StartRegister, const int* pConstantData,
                                         UINT Vector4iCount) {
    return NoteConstants(SetInts(state_.vertexConstants, StartRegister, pConstantData,
                                 Vector4iCount, "SetVertexShaderConstantI"),
                         false, D3DXRS_INT4, StartRegister, Vector4iCount);
}
HRESULT Device::SetVertexShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                         UINT BoolCount) {
    return NoteConstants(SetBoolValues(state_.vertexConstants, StartRegister, pConstantData,
                                       BoolCount, "SetVertexShaderConstantB"),
                         false, D3DXRS_BOOL, StartRegister, BoolCount);
}
HRESULT Device::SetPixelShaderConstantF(UINT StartRegister, const float* pConstantData,
                                        UINT Vector4fCount) {
    return NoteConstants(SetFloats(state_.pixelConstants, StartRegister, pConstantData,
                                   Vector4fCount, "SetPixelShaderConstantF"),
                         true, D3DXRS_FLOAT4, StartRegister, Vector4fCount);
}
HRESULT Device::SetPixelShaderConstantI(UINT StartRegister, const int* pConstantData,
                                        UINT Vector4iCount) {
    return NoteConstants(SetInts(state_.pixelConstants, StartRegister, pConstantData, Vector4iCount,
                                 "SetPixelShaderConstantI"),
                         true, D3DXRS_INT4, StartRegister, Vector4iCount);
}
HRESULT Device::SetPixelShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                        UINT BoolCount) {
    return NoteConstants(SetBoolValues(state_.pixelConstants, StartRegister, pConstantData,
                                       BoolCount, "SetPixelShaderConstantB"),
                         true, D3DXRS_BOOL, StartRegister, BoolCount);
}

}  // namespace d3d9
