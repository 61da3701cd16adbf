// The objects a device makes: IDirect3DTexture9, IDirect3DVertexDeclaration9,
// IDirect3DVertexShader9 and IDirect3DPixelShader9, each with its backend object, and the base
// of the D3DX font. Reference counted as Direct3D 9 counts: a new object holds one reference,
// and a device that binds it holds another (SetTexture adds one) until it is unbound or the
// device is released. Every object holds a reference on the device that made it, as Direct3D
// 9's resources do, so GetDevice never hands out a device that is gone; only the references
// other than the device's own bindings do so, so that a bound object the program has let go and
// its device do not keep each other alive for ever.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/core/ref_counted.h"
#include "platform/d3d9/backend.h"
#include "platform/d3dx/hlsl/shader_container.h"

namespace d3d9 {

class Device;

// An object the device knows it made. It holds a reference on the device from its adoption
// until it is destroyed (or, for an object the device can bind, until only the device's bindings
// hold it); should the device go first all the same, the device frees the backend's part.
class DeviceChild {
  public:
    DeviceChild(const DeviceChild&) = delete;
    DeviceChild& operator=(const DeviceChild&) = delete;
    Device* Owner() const { return owner_; }

  protected:
    DeviceChild() = default;
    virtual ~DeviceChild();
    // Frees what the backend holds for this object; the device is going. Called at most once.
    virtual void DetachFromDevice() = 0;
    // Takes or gives back this object's reference on its device. Giving it back may destroy the
    // device and, with it, an object only its bindings held: nothing of `this` may be touched
    // after LetDeviceGo.
    void HoldDevice();
    void LetDeviceGo();

  private:
    friend class Device;
    Device* owner_ = nullptr;
    bool holdsDevice_ = false;
    DeviceChild* previous_ = nullptr;
    DeviceChild* next_ = nullptr;
};

// The reference count of an object a device can bind. The device's bindings count among its
// references, as Direct3D 9 counts them, but only the others hold the device.
template <typename Interface, typename Part>
class Bindable : public Interface, public Part {
  public:
    using Part::Part;
    ULONG AddRef() final {
        if (refs_++ == bindings_) Part::HoldDevice();  // held again by more than bindings
        return refs_;
    }
    ULONG Release() final {
        const ULONG left = --refs_;
        if (left == 0) {
            delete this;
        } else if (left == bindings_) {
            Part::LetDeviceGo();
        }
        return left;
    }
    // The device's own references, taken when it binds the object and given back when it unbinds
    // it (which may destroy the object).
    void AddBinding() {
        ++refs_;
        ++bindings_;
    }
    void RemoveBinding() {
        --bindings_;
        if (--refs_ == 0) delete this;
    }

  private:
    ULONG refs_ = 1, bindings_ = 0;
};

// A resource whose backend part is one BackendObject.
class BackendResource : public DeviceChild {
  public:
    BackendObject* Object() const { return object_.get(); }

  protected:
    explicit BackendResource(std::unique_ptr<BackendObject> object) : object_(std::move(object)) {}
    void DetachFromDevice() override { object_.reset(); }

  private:
    std::unique_ptr<BackendObject> object_;
};

class Texture final : public Bindable<IDirect3DTexture9, BackendResource> {
  public:
    Texture(const d3dx::TextureData& data, std::unique_ptr<BackendObject> object);
    ~Texture() override;
    DWORD GetLevelCount() override { return levels_; }
    HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;

  private:
    D3DFORMAT format_;
    UINT width_, height_;
    DWORD levels_;
};

// What a declaration holds; the mesh being drawn gives the layout that reaches the backend.
class VertexDeclaration final : public Bindable<IDirect3DVertexDeclaration9, DeviceChild> {
  public:
    explicit VertexDeclaration(std::vector<D3DVERTEXELEMENT9> elements);
    const std::vector<D3DVERTEXELEMENT9>& Elements() const { return elements_; }

  private:
    void DetachFromDevice() override {}
    std::vector<D3DVERTEXELEMENT9> elements_;
};

// What the front end knows of a shader from its code: the container's reflection (semantics,
// samplers, constants, the source's name and digest, the slot estimate), the code itself and its
// digest. The instruments read it: the debug layer, the trace, the constant settings.
struct ShaderInfo {
    d3dx::ShaderReflection reflection;
    std::vector<std::uint32_t> code;
    std::uint64_t codeDigest = 0;
};

class ShaderResource : public BackendResource {
  public:
    const ShaderInfo& Info() const { return info_; }
    bool Pixel() const { return info_.reflection.stage == d3dx::ShaderStage::Pixel; }
    // "ps#1", as the trace names it.
    virtual std::string Name() const = 0;
    // "pixel shader ps#1 (pixel.psh, ps_main)", for messages.
    std::string Description() const;
    // The shader's constant table, made when first asked for (owned by the shader).
    ID3DXConstantTable* Constants();

  protected:
    ShaderResource(std::unique_ptr<BackendObject> object, ShaderInfo info);
    ~ShaderResource() override;

  private:
    ShaderInfo info_;
    ID3DXConstantTable* constants_ = nullptr;
};

class VertexShader final : public Bindable<IDirect3DVertexShader9, ShaderResource> {
  public:
    VertexShader(std::unique_ptr<BackendObject> object, ShaderInfo info);
    std::string Name() const override;
};

class PixelShader final : public Bindable<IDirect3DPixelShader9, ShaderResource> {
  public:
    PixelShader(std::unique_ptr<BackendObject> object, ShaderInfo info);
    std::string Name() const override;
};

// ID3DXFont: DrawTextA checks and traces its call; a backend lays the text out and draws it.
class Font : public platform::RefCounted<ID3DXFont>, public DeviceChild {
  public:
    INT DrawTextA(LPD3DXSPRITE pSprite, LPCSTR pString, INT Count, LPRECT pRect, DWORD Format,
                  D3DCOLOR Color) final;

  protected:
    Font();
    // The height of the text drawn (or measured, with DT_CALCRECT, which also sets the
    // rectangle's right and bottom); `text` holds `length` characters.
    virtual INT DrawText(const char* text, int length, RECT& rect, DWORD format,
                         D3DCOLOR color) = 0;
};

}  // namespace d3d9
