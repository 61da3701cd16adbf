// The recording Direct3D 9: Direct3DCreate9, IDirect3D9::CreateDevice and a device whose every
// call is logged with its arguments and the result Direct3D 9 would give. It keeps only the
// state it needs for those results (scene open, depth buffer present); nothing is drawn.
#include "platform/record/record_device.h"

#include <algorithm>
#include <type_traits>

#include "platform/core/call_trace.h"
#include "platform/core/ref_counted.h"
#include "platform/core/window_system.h"
#include "platform/d3d9/stage_constants.h"
#include "platform/d3dx/mesh_base.h"
#include "platform/d3dx/shader_container.h"
#include "platform/record/formatting.h"
#include "platform/record/record_platform.h"

using platform::Args;
using platform::Fmt;
using platform::RefCounted;

namespace record {
namespace {

constexpr DWORD kMaxTextureStages = 8;
constexpr DWORD kMaxSamplers = 16;
constexpr DWORD kFirstVertexSampler = 257;  // D3DDMAPSAMPLER and the vertex texture samplers
constexpr DWORD kLastVertexSampler = 260;

template <typename Interface>
class Named : public RefCounted<Interface> {
  public:
    explicit Named(const char* kind) { platform::RegisterObjectName(this, kind); }
};

HRESULT Logged(const char* api, std::vector<std::string> args, HRESULT hr) {
    platform::Trace(api, std::move(args), Fmt(hr));
    return hr;
}

bool ValidSampler(DWORD s) {
    return s < kMaxSamplers || (s >= kFirstVertexSampler && s <= kLastVertexSampler);
}

bool ValidLight(const D3DLIGHT9& l) {
    if (l.Type < D3DLIGHT_POINT || l.Type > D3DLIGHT_DIRECTIONAL) return false;
    if (l.Type != D3DLIGHT_DIRECTIONAL && l.Range < 0.0f) return false;
    if (l.Type != D3DLIGHT_POINT) {
        const Vec3& d = l.Direction;
        if (d.x == 0.0f && d.y == 0.0f && d.z == 0.0f) return false;
    }
    if (l.Type == D3DLIGHT_SPOT && (l.Theta < 0.0f || l.Phi < l.Theta)) return false;
    return true;
}

}  // namespace

RecordDevice::RecordDevice(const D3DPRESENT_PARAMETERS& parameters) : parameters_(parameters) {
    platform::RegisterObjectName(this, "device");
}

HRESULT RecordDevice::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color,
                            float Z, DWORD Stencil) {
    HRESULT hr = D3D_OK;
    if ((Count && !pRects) || !Flags || (Flags & ~7u)) hr = D3DERR_INVALIDCALL;
    // Depth and stencil can be cleared only where there is a depth buffer.
    if ((Flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !parameters_.EnableAutoDepthStencil) {
        hr = D3DERR_INVALIDCALL;
    }
    if ((Flags & D3DCLEAR_STENCIL) && parameters_.AutoDepthStencilFormat == D3DFMT_D16) {
        hr = D3DERR_INVALIDCALL;
    }
    return Logged("Clear",
                  Args(Count, platform::Presence(pRects, "rects"), Flags, Color, Z, Stencil), hr);
}

HRESULT RecordDevice::BeginScene() {
    ++beginSceneCalls_;
    HRESULT hr = D3D_OK;
    if (inScene_ || CurrentOptions().failBeginScene.count(beginSceneCalls_)) {
        hr = D3DERR_INVALIDCALL;
    } else {
        inScene_ = true;
    }
    return Logged("BeginScene", {}, hr);
}

HRESULT RecordDevice::EndScene() {
    const HRESULT hr = inScene_ ? D3D_OK : D3DERR_INVALIDCALL;
    inScene_ = false;
    return Logged("EndScene", {}, hr);
}

HRESULT RecordDevice::Present(const RECT* pSourceRect, const RECT* pDestRect,
                              HWND hDestWindowOverride, const RGNDATA* pDirtyRegion) {
    return Logged("Present",
                  Args(pSourceRect, pDestRect, hDestWindowOverride,
                       platform::Presence(pDirtyRegion, "region")),
                  D3D_OK);
}

HRESULT RecordDevice::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) {
    return Logged("SetTransform", Args(State, pMatrix), pMatrix ? D3D_OK : D3DERR_INVALIDCALL);
}

HRESULT RecordDevice::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
    return Logged("SetRenderState", Args(State, Value), D3D_OK);
}

HRESULT RecordDevice::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                           DWORD Value) {
    return Logged("SetTextureStageState", Args(Stage, Type, Value),
                  Stage < kMaxTextureStages ? D3D_OK : D3DERR_INVALIDCALL);
}

HRESULT RecordDevice::SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) {
    return Logged("SetSamplerState", Args(Sampler, Type, Value),
                  ValidSampler(Sampler) ? D3D_OK : D3DERR_INVALIDCALL);
}

HRESULT RecordDevice::SetLight(DWORD Index, const D3DLIGHT9* pLight) {
    return Logged("SetLight", Args(Index, pLight),
                  pLight && ValidLight(*pLight) ? D3D_OK : D3DERR_INVALIDCALL);
}

HRESULT RecordDevice::LightEnable(DWORD Index, BOOL Enable) {
    return Logged("LightEnable", Args(Index, Enable), D3D_OK);
}

HRESULT RecordDevice::SetMaterial(const D3DMATERIAL9* pMaterial) {
    return Logged("SetMaterial", Args(pMaterial), pMaterial ? D3D_OK : D3DERR_INVALIDCALL);
}

HRESULT RecordDevice::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) {
    return Logged("SetTexture", Args(Stage, pTexture),
                  ValidSampler(Stage) ? D3D_OK : D3DERR_INVALIDCALL);
}

HRESULT RecordDevice::CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements,
                                              IDirect3DVertexDeclaration9** ppDecl) {
    HRESULT hr = D3DERR_INVALIDCALL;
    IDirect3DVertexDeclaration9* decl = nullptr;
    if (pVertexElements && ppDecl) {
        decl = new Named<IDirect3DVertexDeclaration9>("decl");
        *ppDecl = decl;
        hr = D3D_OK;
    }
    platform::Trace(
        "CreateVertexDeclaration",
        Args(platform::Verbatim{FmtDeclaration(pVertexElements)}, platform::OutArg(ppDecl)),
        Fmt(hr) + (decl ? " " + platform::ObjectName(decl) : ""));
    return hr;
}

HRESULT RecordDevice::SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) {
    return Logged("SetVertexDeclaration", Args(pDecl), D3D_OK);
}

template <typename Shader>
HRESULT RecordDevice::CreateShader(const char* api, const char* kind, const DWORD* pFunction,
                                   Shader** ppShader) {
    HRESULT hr = D3DERR_INVALIDCALL;
    Shader* shader = nullptr;
    if (pFunction && ppShader &&
        AcceptsShaderCode(pFunction, std::is_same_v<Shader, IDirect3DPixelShader9>)) {
        shader = new Named<Shader>(kind);
        *ppShader = shader;
        hr = D3D_OK;
    }
    platform::Trace(api, Args(platform::Presence(pFunction, "code"), platform::OutArg(ppShader)),
                    Fmt(hr) + (shader ? " " + platform::ObjectName(shader) : ""));
    return hr;
}

HRESULT RecordDevice::CreateVertexShader(const DWORD* pFunction,
                                         IDirect3DVertexShader9** ppShader) {
    return CreateShader("CreateVertexShader", "vs", pFunction, ppShader);
}

HRESULT RecordDevice::CreatePixelShader(const DWORD* pFunction, IDirect3DPixelShader9** ppShader) {
    return CreateShader("CreatePixelShader", "ps", pFunction, ppShader);
}

HRESULT RecordDevice::SetVertexShader(IDirect3DVertexShader9* pShader) {
    return Logged("SetVertexShader", Args(pShader), D3D_OK);
}

HRESULT RecordDevice::SetPixelShader(IDirect3DPixelShader9* pShader) {
    return Logged("SetPixelShader", Args(pShader), D3D_OK);
}

namespace {

// The values of a constant call: each register's components, or its BOOL.
template <typename T>
std::string ConstantValues(const T* data, UINT registers, UINT perRegister) {
    if (!data) return "NULL";
    std::string out = "{";
    for (UINT i = 0; i < registers * perRegister; ++i) out += (i ? " " : "") + Fmt(data[i]);
    return out + "}";
}

HRESULT LoggedConstants(const char* api, UINT start, const std::string& values, UINT count,
                        bool valid, UINT limit) {
    const bool ok = valid && start <= limit && count <= limit - start;
    return Logged(api, Args(start, platform::Verbatim{values}, count),
                  ok ? D3D_OK : D3DERR_INVALIDCALL);
}

}  // namespace

HRESULT RecordDevice::SetVertexShaderConstantF(UINT StartRegister, const float* pConstantData,
                                               UINT Vector4fCount) {
    return LoggedConstants("SetVertexShaderConstantF", StartRegister,
                           ConstantValues(pConstantData, Vector4fCount, 4), Vector4fCount,
                           pConstantData != nullptr, d3d9::kVertexFloatRegisters);
}
HRESULT RecordDevice::SetVertexShaderConstantI(UINT StartRegister, const int* pConstantData,
                                               UINT Vector4iCount) {
    return LoggedConstants("SetVertexShaderConstantI", StartRegister,
                           ConstantValues(pConstantData, Vector4iCount, 4), Vector4iCount,
                           pConstantData != nullptr, d3d9::kIntRegisters);
}
HRESULT RecordDevice::SetVertexShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                               UINT BoolCount) {
    return LoggedConstants("SetVertexShaderConstantB", StartRegister,
                           ConstantValues(pConstantData, BoolCount, 1), BoolCount,
                           pConstantData != nullptr, d3d9::kBoolRegisters);
}
HRESULT RecordDevice::SetPixelShaderConstantF(UINT StartRegister, const float* pConstantData,
                                              UINT Vector4fCount) {
    return LoggedConstants("SetPixelShaderConstantF", StartRegister,
                           ConstantValues(pConstantData, Vector4fCount, 4), Vector4fCount,
                           pConstantData != nullptr, d3d9::kPixelFloatRegisters);
}
HRESULT RecordDevice::SetPixelShaderConstantI(UINT StartRegister, const int* pConstantData,
                                              UINT Vector4iCount) {
    return LoggedConstants("SetPixelShaderConstantI", StartRegister,
                           ConstantValues(pConstantData, Vector4iCount, 4), Vector4iCount,
                           pConstantData != nullptr, d3d9::kIntRegisters);
}
HRESULT RecordDevice::SetPixelShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                              UINT BoolCount) {
    return LoggedConstants("SetPixelShaderConstantB", StartRegister,
                           ConstantValues(pConstantData, BoolCount, 1), BoolCount,
                           pConstantData != nullptr, d3d9::kBoolRegisters);
}

// Code that is not a container of the right stage is refused, as Direct3D 9 refuses bad
// byte code.
bool RecordDevice::AcceptsShaderCode(const DWORD* code, bool pixel) {
    const auto shader = d3dx::UnpackShader(code);
    return shader && (shader->stage == d3dx::ShaderStage::Pixel) == pixel;
}

// ---- D3DX resources ----------------------------------------------------------------------------

namespace {

class RecordMesh : public d3dx::MeshBase {
  public:
    RecordMesh(IDirect3DDevice9* device, d3dx::MeshData&& data)
        : MeshBase(device, std::move(data)) {
        platform::RegisterObjectName(this, "mesh");
    }
    HRESULT DrawSubset(DWORD AttribId) override {
        return Logged("DrawSubset", Args(this, AttribId), D3D_OK);
    }
};

class RecordTexture : public RefCounted<IDirect3DTexture9> {
  public:
    explicit RecordTexture(d3dx::TextureData&& data) : data_(std::move(data)) {
        platform::RegisterObjectName(this, "tex");
    }
    DWORD GetLevelCount() override { return static_cast<DWORD>(data_.levels.size()); }
    HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override {
        if (!pDesc || Level >= data_.levels.size()) return D3DERR_INVALIDCALL;
        *pDesc = {};
        pDesc->Format = data_.format;
        pDesc->Width = std::max(1u, data_.width >> Level);
        pDesc->Height = std::max(1u, data_.height >> Level);
        return D3D_OK;
    }

  private:
    d3dx::TextureData data_;
};

class RecordFont : public RefCounted<ID3DXFont> {
  public:
    explicit RecordFont(const d3dx::FontDesc& desc) : desc_(desc) {
        platform::RegisterObjectName(this, "font");
    }
    // The height of the text: one cell height per line.
    INT DrawTextA(LPD3DXSPRITE pSprite, LPCSTR pString, INT Count, LPRECT pRect, DWORD Format,
                  D3DCOLOR Color) override {
        INT height = 0;
        if (pString) {
            const std::string text = Count < 0 ? std::string(pString) : std::string(pString, Count);
            height =
                desc_.height * (1 + static_cast<INT>(std::count(text.begin(), text.end(), '\n')));
        }
        platform::Trace(
            "DrawTextA",
            Args(this, platform::Presence(pSprite, "sprite"), pString, Count, pRect, Format, Color),
            Fmt(height));
        return height;
    }

  private:
    d3dx::FontDesc desc_;
};

}  // namespace

HRESULT RecordDevice::CreateMeshFromData(d3dx::MeshData&& data, ID3DXMesh** mesh) {
    if (!mesh) return D3DERR_INVALIDCALL;
    *mesh = new RecordMesh(this, std::move(data));
    return D3D_OK;
}

HRESULT RecordDevice::CreateTextureFromData(d3dx::TextureData&& data, IDirect3DTexture9** texture) {
    if (!texture || data.levels.empty()) return D3DERR_INVALIDCALL;
    *texture = new RecordTexture(std::move(data));
    return D3D_OK;
}

HRESULT RecordDevice::CreateFontFromDesc(const d3dx::FontDesc& desc, ID3DXFont** font) {
    if (!font) return D3DERR_INVALIDCALL;
    *font = new RecordFont(desc);
    return D3D_OK;
}

// ---- IDirect3D9 --------------------------------------------------------------------------------

namespace {

class RecordDirect3D : public RefCounted<IDirect3D9> {
  public:
    RecordDirect3D() { platform::RegisterObjectName(this, "d3d"); }

    HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                         DWORD BehaviorFlags, D3DPRESENT_PARAMETERS* pp,
                         IDirect3DDevice9** ppDevice) override {
        HRESULT hr = D3D_OK;
        const DWORD processing = BehaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING |
                                                  D3DCREATE_HARDWARE_VERTEXPROCESSING |
                                                  D3DCREATE_MIXED_VERTEXPROCESSING);
        const bool oneProcessing = processing && !(processing & (processing - 1));
        HWND window = pp && pp->hDeviceWindow ? pp->hDeviceWindow : hFocusWindow;
        if (!pp || !ppDevice || Adapter != D3DADAPTER_DEFAULT || !oneProcessing ||
            (DeviceType != D3DDEVTYPE_HAL && DeviceType != D3DDEVTYPE_REF) ||
            !platform::NativeOf(window) || pp->BackBufferCount > 3 ||
            (pp->MultiSampleType != D3DMULTISAMPLE_NONE &&
             pp->SwapEffect != D3DSWAPEFFECT_DISCARD)) {
            hr = D3DERR_INVALIDCALL;
        } else if (CurrentOptions().failCreateDevice) {
            hr = D3DERR_NOTAVAILABLE;
        }
        RecordDevice* device = nullptr;
        if (ppDevice) *ppDevice = nullptr;
        if (hr == D3D_OK) {
            device = new RecordDevice(*pp);
            *ppDevice = device;
        }
        platform::Trace(
            "CreateDevice",
            Args(Adapter, DeviceType, hFocusWindow, BehaviorFlags, pp, platform::OutArg(ppDevice)),
            Fmt(hr) + (device ? " " + platform::ObjectName(device) : ""));
        return hr;
    }
};

}  // namespace
}  // namespace record

IDirect3D9* Direct3DCreate9(UINT SDKVersion) {
    IDirect3D9* d3d = SDKVersion == D3D_SDK_VERSION ? new record::RecordDirect3D : nullptr;
    platform::Trace("Direct3DCreate9", Args(SDKVersion), platform::ObjectName(d3d));
    return d3d;
}
