// Textures, declarations, shaders and the font base (see resources.h), and the tracked
// children of a device.
#include "platform/d3d9/resources.h"

#include <algorithm>
#include <cstring>

#include "platform/core/call_trace.h"
#include "platform/d3d9/call_format.h"
#include "platform/d3d9/device.h"
#include "platform/d3dx/hlsl/compiler.h"
#include "platform/d3dx/texture/texture_cache.h"

namespace d3d9 {

DeviceChild::~DeviceChild() {
    Device* owner = owner_;
    if (!owner) return;
    const bool held = holdsDevice_;
    owner->Forget(*this);
    // Last: this may be the device's last reference.
    if (held) owner->Release();
}

void DeviceChild::HoldDevice() {
    if (owner_ && !holdsDevice_) {
        holdsDevice_ = true;
        owner_->AddRef();
    }
}

void DeviceChild::LetDeviceGo() {
    if (owner_ && holdsDevice_) {
        holdsDevice_ = false;
        owner_->Release();
    }
}

Texture::Texture(const d3dx::TextureData& data, std::unique_ptr<BackendObject> object)
    : Bindable(std::move(object)),
      format_(data.format),
      width_(data.width),
      height_(data.height),
      levels_(static_cast<DWORD>(data.levels.size())) {
    platform::RegisterObjectName(static_cast<IDirect3DTexture9*>(this), "tex");
}

Texture::~Texture() {
    // The texture cache counts the memory of the textures it made until they go.
    d3dx::ForgetTexture(static_cast<IDirect3DTexture9*>(this));
}

HRESULT Texture::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) {
    if (!pDesc || Level >= levels_) return D3DERR_INVALIDCALL;
    *pDesc = {};
    pDesc->Format = format_;
    pDesc->Width = std::max(1u, width_ >> Level);
    pDesc->Height = std::max(1u, height_ >> Level);
    return D3D_OK;
}

VertexDeclaration::VertexDeclaration(std::vector<D3DVERTEXELEMENT9> elements)
    : elements_(std::move(elements)) {
    platform::RegisterObjectName(static_cast<IDirect3DVertexDeclaration9*>(this), "decl");
}

ShaderResource::ShaderResource(std::unique_ptr<BackendObject> object, ShaderInfo info)
    : BackendResource(std::move(object)), info_(std::move(info)) {}

ShaderResource::~ShaderResource() {
    if (constants_) constants_->Release();
}

std::string ShaderResource::Description() const {
    const d3dx::ShaderReflection& r = info_.reflection;
    std::string where = r.sourceName.empty() ? r.entry : r.sourceName + ", " + r.entry;
    return std::string(Pixel() ? "pixel" : "vertex") + " shader " + Name() + " (" + where + ")";
}

ID3DXConstantTable* ShaderResource::Constants() {
    if (!constants_) constants_ = d3dx::CreateConstantTable(info_.code);
    return constants_;
}

VertexShader::VertexShader(std::unique_ptr<BackendObject> object, ShaderInfo info)
    : Bindable(std::move(object), std::move(info)) {
    platform::RegisterObjectName(static_cast<IDirect3DVertexShader9*>(this), "vs");
}

std::string VertexShader::Name() const {
    return platform::ObjectName(static_cast<const IDirect3DVertexShader9*>(this));
}

PixelShader::PixelShader(std::unique_ptr<BackendObject> object, ShaderInfo info)
    : Bindable(std::move(object), std::move(info)) {
    platform::RegisterObjectName(static_cast<IDirect3DPixelShader9*>(this), "ps");
}

std::string PixelShader::Name() const {
    return platform::ObjectName(static_cast<const IDirect3DPixelShader9*>(this));
}

Font::Font() {
    platform::RegisterObjectName(static_cast<ID3DXFont*>(this), "font");
}

INT Font::DrawTextA(LPD3DXSPRITE pSprite, LPCSTR pString, INT Count, LPRECT pRect, DWORD Format,
                    D3DCOLOR Color) {
    // The call is traced as it was made: DT_CALCRECT changes the rectangle afterwards.
    const bool tracing = platform::Tracing();
    std::vector<std::string> args;
    if (tracing) {
        args = platform::Args(static_cast<ID3DXFont*>(this), platform::Presence(pSprite, "sprite"),
                              pString, Count, pRect, Format, Color);
    }
    INT height = 0;
    if (pString && pRect && Owner()) {
        // Count -1 is the whole zero-terminated string; a count never reads past its end.
        const std::size_t limit = Count < 0 ? SIZE_MAX : static_cast<std::size_t>(Count);
        const int length = static_cast<int>(strnlen(pString, limit));
        height = DrawText(pString, length, *pRect, Format, Color);
    }
    if (tracing) platform::Trace("DrawTextA", std::move(args), platform::Fmt(height));
    return height;
}

}  // namespace d3d9
