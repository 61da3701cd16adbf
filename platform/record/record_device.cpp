// The recording device's backend: nothing is drawn; a scene fails to begin where the test's
// options say so; meshes and fonts answer as D3DX does without drawing.
#include "platform/record/record_device.h"

#include <algorithm>

#include "platform/core/call_trace.h"
#include "platform/record/record_platform.h"

namespace record {
namespace {

class RecordMesh final : public d3dx::MeshBase, public d3d9::DeviceChild {
  public:
    RecordMesh(d3d9::Device* device, d3dx::MeshData&& data)
        : MeshBase(device, std::move(data)), device_(device) {
        platform::RegisterObjectName(static_cast<ID3DXMesh*>(this), "mesh");
    }
    HRESULT DrawSubset(DWORD AttribId) override {
        return device_ ? device_->DrawMeshSubset(*this, AttribId) : D3DERR_INVALIDCALL;
    }

  private:
    void DetachFromDevice() override { device_ = nullptr; }
    d3d9::Device* device_;
};

class RecordFont final : public d3d9::Font {
  public:
    explicit RecordFont(INT height) : height_(height) {}

  private:
    // One cell height per line; nothing is measured or drawn.
    INT DrawText(const char* text, int length, RECT&, DWORD, D3DCOLOR) override {
        return height_ * (1 + static_cast<INT>(std::count(text, text + length, '\n')));
    }
    void DetachFromDevice() override {}
    INT height_;
};

// A texture or shader of the recorder holds nothing.
class Nothing final : public d3d9::BackendObject {};

}  // namespace

RecordDevice::RecordDevice(const D3DPRESENT_PARAMETERS& parameters)
    : d3d9::Device(static_cast<d3d9::Backend&>(*this), parameters) {}

RecordDevice::~RecordDevice() {
    ReleaseAll();
}

bool RecordDevice::SceneMayBegin() {
    return !CurrentOptions().failBeginScene.count(++beginSceneCalls_);
}

std::unique_ptr<d3d9::BackendObject> RecordDevice::CreateTextureObject(
    const std::shared_ptr<const d3dx::TextureData>&) {
    return std::make_unique<Nothing>();
}

std::unique_ptr<d3d9::BackendObject> RecordDevice::CreateShaderObject(const DWORD*,
                                                                      d3d9::ShaderStage) {
    return std::make_unique<Nothing>();
}

ID3DXMesh* RecordDevice::CreateMeshObject(d3dx::MeshData&& data) {
    return new RecordMesh(this, std::move(data));
}

ID3DXFont* RecordDevice::CreateFontObject(const d3dx::FontDesc& desc) {
    return new RecordFont(desc.height);
}

}  // namespace record
