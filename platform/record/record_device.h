// The recording device: the Direct3D 9 front end over a backend that draws nothing. Every call
// is in the log with the result Direct3D 9 gives (the front end traces it); the recorder adds
// only the failures a test asks for (record::Options) and D3DX objects that draw nothing.
#pragma once

#include "platform/d3d9/device.h"

namespace record {

class RecordDevice final : public d3d9::Device, private d3d9::Backend {
  public:
    explicit RecordDevice(const D3DPRESENT_PARAMETERS& parameters);
    ~RecordDevice() override;

  private:
    bool SceneMayBegin() override;
    void ClearBuffers(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override {}
    void PresentBackBuffer() override {}
    void ApplyState(const d3d9::DeviceState&, const d3d9::Changes&) override {}
    void DrawSubset(d3dx::MeshBase&, DWORD) override {}
    std::unique_ptr<d3d9::BackendObject> CreateTextureObject(
        const std::shared_ptr<const d3dx::TextureData>&) override;
    std::unique_ptr<d3d9::BackendObject> CreateShaderObject(const DWORD*,
                                                            d3d9::ShaderStage) override;
    ID3DXMesh* CreateMeshObject(d3dx::MeshData&& data) override;
    ID3DXFont* CreateFontObject(const d3dx::FontDesc& desc) override;

    int beginSceneCalls_ = 0;
};

}  // namespace record
