// The front end's frame and objects: the device's life, scenes, Clear and Present, the draw,
// and the creation of declarations, shaders, textures, meshes and fonts. The state setters are
// in device_states.cpp.
#include "platform/d3d9/device.h"

#include <utility>

#include "platform/core/digest.h"
#include "platform/d3d9/trace.h"
#include "platform/d3d9/validation.h"
#include "platform/d3dx/hlsl/shader_container.h"
#include "platform/d3dx/texture/texture_cache.h"

using platform::Presence;

namespace d3d9 {

Device::Device(Backend& backend, const D3DPRESENT_PARAMETERS& parameters)
    : backend_(backend), parameters_(parameters) {
    platform::RegisterObjectName(static_cast<IDirect3DDevice9*>(this), "device");
    state_.SetDefaults(parameters.EnableAutoDepthStencil != FALSE);
    // The first draw hands the backend every group.
    changes_.groups = ~0u;
    changes_.renderStates.set();
    changes_.stages = changes_.samplers = changes_.textures = changes_.transforms = ~0u;
}

Device::~Device() {
    ReleaseAll();
    d3dx::ForgetDevice(static_cast<IDirect3DDevice9*>(this));
}

void Device::ReleaseAll() {
    // Unbinding may free an object, whose backend part goes while the backend is still here.
    for (Texture*& t : state_.textures) {
        if (Texture* bound = std::exchange(t, nullptr)) bound->RemoveBinding();
    }
    if (auto* d = std::exchange(state_.declaration, nullptr)) d->RemoveBinding();
    if (auto* v = std::exchange(state_.vertexShader, nullptr)) v->RemoveBinding();
    if (auto* p = std::exchange(state_.pixelShader, nullptr)) p->RemoveBinding();
    // Every object the program still holds holds the device too, so none is left once the
    // device goes through its last Release; a backend that ends its device otherwise still
    // frees what the objects made.
    while (DeviceChild* child = children_) {
        Forget(*child);
        child->DetachFromDevice();
    }
}

void Device::Adopt(DeviceChild& child) {
    child.owner_ = this;
    child.holdsDevice_ = true;
    AddRef();
    child.previous_ = nullptr;
    child.next_ = children_;
    if (children_) children_->previous_ = &child;
    children_ = &child;
}

void Device::Forget(DeviceChild& child) {
    if (child.previous_) child.previous_->next_ = child.next_;
    if (child.next_) child.next_->previous_ = child.previous_;
    if (children_ == &child) children_ = child.next_;
    ++objectsGone_;
    child.owner_ = nullptr;
    child.holdsDevice_ = false;
    child.previous_ = child.next_ = nullptr;
}

// ---- The frame ---------------------------------------------------------------------------------

HRESULT Device::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                      DWORD Stencil) {
    const Refusal why = CheckClear(Count, pRects, Flags, parameters_);
    if (why.empty()) backend_.ClearBuffers(Count, pRects, Flags, Color, Z, Stencil);
    return TracedCheck(why, "Clear", Count, Presence(pRects, "rects"), Flags, Color, Z, Stencil);
}

HRESULT Device::BeginScene() {
    Refusal why;
    if (inScene_) {
        why = "a scene has begun already: EndScene first";
    } else if (!backend_.SceneMayBegin()) {
        why = "the device cannot begin a scene now";
    } else {
        inScene_ = true;
    }
    return TracedCheck(why, "BeginScene");
}

HRESULT Device::EndScene() {
    const Refusal why = inScene_ ? "" : "no scene has begun: BeginScene first";
    inScene_ = false;
    return TracedCheck(why, "EndScene");
}

HRESULT Device::Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                        const RGNDATA* pDirtyRegion) {
    const Refusal why = CheckPresent(pSourceRect, pDestRect, pDirtyRegion, parameters_);
    if (why.empty()) {
        backend_.PresentBackBuffer();
        debug_.Presented();
    }
    return TracedCheck(why, "Present", pSourceRect, pDestRect, hDestWindowOverride,
                       Presence(pDirtyRegion, "region"));
}

HRESULT Device::DrawMeshSubset(d3dx::MeshBase& mesh, DWORD attribute) {
    // Direct3D 9 draws only between BeginScene and EndScene.
    const Refusal why = inScene_ ? "" : "DrawSubset outside BeginScene and EndScene";
    if (inScene_) {
        if (changes_.Any()) {
            backend_.ApplyState(state_, changes_);
            changes_.Clear();
        }
        debug_.Draw(state_, mesh);
        backend_.DrawSubset(mesh, attribute);
    }
    return TracedCheck(why, "DrawSubset", static_cast<ID3DXMesh*>(&mesh), attribute);
}

// ---- Objects -----------------------------------------------------------------------------------

HRESULT Device::CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements,
                                        IDirect3DVertexDeclaration9** ppDecl) {
    VertexDeclaration* made = nullptr;
    Refusal why = ppDecl ? "" : "nowhere to return the declaration (NULL)";
    if (ppDecl) {
        if (auto elements = ReadDeclaration(pVertexElements, &why)) {
            made = new VertexDeclaration(std::move(*elements));
            Adopt(*made);
            *ppDecl = made;
        }
    }
    const HRESULT hr = TracedCreation(
        made ? D3D_OK : D3DERR_INVALIDCALL, static_cast<IDirect3DVertexDeclaration9*>(made),
        "CreateVertexDeclaration", platform::Verbatim{FmtDeclaration(pVertexElements)},
        platform::OutArg(ppDecl));
    if (!made) NoteRefusal(hr, why);
    return hr;
}

template <typename Shader, typename Interface>
HRESULT Device::CreateShader(const char* api, ShaderStage stage, const DWORD* code,
                             Interface** shader) {
    Shader* made = nullptr;
    // Code that is not a compiled shader of this stage is refused, as Direct3D 9 refuses bad
    // byte code; so is code the backend cannot take (it says why on stderr).
    const bool pixel = stage == ShaderStage::Pixel;
    const auto codeStage = code ? d3dx::StageOfCode(code) : std::nullopt;
    auto reflection = codeStage ? d3dx::UnpackShader(code) : std::nullopt;
    Refusal why;
    if (!shader) {
        why = "nowhere to return the shader (NULL)";
    } else if (!code) {
        why = "no code (NULL)";
    } else if (!codeStage || !reflection) {
        why = "the code is not a compiled shader";
    } else if ((*codeStage == d3dx::ShaderStage::Pixel) != pixel) {
        why = std::string("the code is a ") + (pixel ? "vertex" : "pixel") + " shader's";
    } else if (auto object = backend_.CreateShaderObject(code, stage)) {
        ShaderInfo info;
        info.code.assign(code, code + code[2]);
        info.codeDigest = platform::Digest64(code, std::size_t{code[2]} * 4);
        info.reflection = std::move(*reflection);
        made = new Shader(std::move(object), std::move(info));
        Adopt(*made);
        *shader = made;
    } else {
        why = "the device cannot take the shader (stderr says why)";
    }
    const HRESULT hr =
        TracedCreation(made ? D3D_OK : D3DERR_INVALIDCALL, static_cast<Interface*>(made), api,
                       Presence(code, "code"), platform::OutArg(shader));
    if (!made) {
        NoteRefusal(hr, why);
        return hr;
    }
    if (platform::Tracing()) {
        const d3dx::ShaderReflection& r = made->Info().reflection;
        platform::Note(made->Name() + ": " + (r.sourceName.empty() ? "" : r.sourceName + ", ") +
                       r.entry + ", " + ProfileName(r) + "; source digest " +
                       platform::DigestText(r.sourceDigest) + ", code digest " +
                       platform::DigestText(made->Info().codeDigest) + " (" +
                       std::to_string(made->Info().code.size() * 4) + " bytes)");
    }
    debug_.ShaderCreated(*made);
    return hr;
}

HRESULT Device::CreateVertexShader(const DWORD* pFunction, IDirect3DVertexShader9** ppShader) {
    return CreateShader<VertexShader>("CreateVertexShader", ShaderStage::Vertex, pFunction,
                                      ppShader);
}

HRESULT Device::CreatePixelShader(const DWORD* pFunction, IDirect3DPixelShader9** ppShader) {
    return CreateShader<PixelShader>("CreatePixelShader", ShaderStage::Pixel, pFunction, ppShader);
}

HRESULT Device::CreateTextureFromData(d3dx::TextureData&& data, IDirect3DTexture9** texture) {
    return CreateTextureFromPicture(std::make_shared<const d3dx::TextureData>(std::move(data)),
                                    texture);
}

HRESULT Device::CreateTextureFromPicture(std::shared_ptr<const d3dx::TextureData> picture,
                                         IDirect3DTexture9** texture) {
    if (!texture || !picture || picture->levels.empty() || !picture->width || !picture->height)
        return D3DERR_INVALIDCALL;
    auto object = backend_.CreateTextureObject(picture);
    if (!object) return D3DERR_OUTOFVIDEOMEMORY;
    auto* made = new Texture(*picture, std::move(object));
    Adopt(*made);
    *texture = made;
    return D3D_OK;
}

HRESULT Device::CreateMeshFromData(d3dx::MeshData&& data, ID3DXMesh** mesh) {
    if (!mesh || data.attributes.empty()) return D3DERR_INVALIDCALL;
    ID3DXMesh* made = backend_.CreateMeshObject(std::move(data));
    if (!made) return D3DERR_OUTOFVIDEOMEMORY;
    if (auto* child = dynamic_cast<DeviceChild*>(made)) Adopt(*child);
    *mesh = made;
    return D3D_OK;
}

HRESULT Device::CreateFontFromDesc(const d3dx::FontDesc& desc, ID3DXFont** font) {
    if (!font) return D3DERR_INVALIDCALL;
    ID3DXFont* made = backend_.CreateFontObject(desc);
    if (!made) return E_FAIL;
    if (auto* child = dynamic_cast<DeviceChild*>(made)) Adopt(*child);
    *font = made;
    return D3D_OK;
}

}  // namespace d3d9
