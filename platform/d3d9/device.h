// The Direct3D 9 front end: IDirect3DDevice9 and the D3DX services as every device gives them.
// It checks each call's arguments and returns Direct3D 9's result, keeps the state (state.h)
// with a record of what changed, holds a reference on every bound object, reports every call
// to the call trace once, and reaches its backend (backend.h) only to clear, present, draw at
// the changed state, and make or free a resource.
//
// A device class derives from Device and implements Backend; its destructor calls
// ReleaseAll() first, while the backend can still free what it made.
#pragma once

#include "platform/d3d9/backend.h"
#include "platform/d3d9/debug_layer.h"
#include "platform/d3d9/resources.h"
#include "platform/d3d9/state.h"

namespace d3d9 {

class Device : public platform::RefCounted<IDirect3DDevice9>, public d3dx::DeviceServices {
  public:
    HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                  DWORD Stencil) final;
    HRESULT BeginScene() final;
    HRESULT EndScene() final;
    HRESULT Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                    const RGNDATA* pDirtyRegion) final;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) final;
    HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) final;
    HRESULT SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) final;
    HRESULT SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) final;
    HRESULT SetLight(DWORD Index, const D3DLIGHT9* pLight) final;
    HRESULT LightEnable(DWORD Index, BOOL Enable) final;
    HRESULT SetMaterial(const D3DMATERIAL9* pMaterial) final;
    HRESULT SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) final;
    HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements,
                                    IDirect3DVertexDeclaration9** ppDecl) final;
    HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) final;
    HRESULT CreateVertexShader(const DWORD* pFunction, IDirect3DVertexShader9** ppShader) final;
    HRESULT SetVertexShader(IDirect3DVertexShader9* pShader) final;
    HRESULT CreatePixelShader(const DWORD* pFunction, IDirect3DPixelShader9** ppShader) final;
    HRESULT SetPixelShader(IDirect3DPixelShader9* pShader) final;
    HRESULT SetVertexShaderConstantF(UINT StartRegister, const float* pConstantData,
                                     UINT Vector4fCount) final;
    HRESULT SetVertexShaderConstantI(UINT StartRegister, const int* pConstantData,
                                     UINT Vector4iCount) final;
    HRESULT SetVertexShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                     UINT BoolCount) final;
    HRESULT SetPixelShaderConstantF(UINT StartRegister, const float* pConstantData,
                                    UINT Vector4fCount) final;
    HRESULT SetPixelShaderConstantI(UINT StartRegister, const int* pConstantData,
                                    UINT Vector4iCount) final;
    HRESULT SetPixelShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                    UINT BoolCount) final;

    // D3DX services.
    HRESULT CreateMeshFromData(d3dx::MeshData&& data, ID3DXMesh** mesh) final;
    HRESULT CreateTextureFromData(d3dx::TextureData&& data, IDirect3DTexture9** texture) final;
    UINT MaxTextureSize() const override { return backend_.MaxTextureSize(); }
    HRESULT CreateTextureFromPicture(std::shared_ptr<const d3dx::TextureData> picture,
                                     IDirect3DTexture9** texture) final;
    HRESULT CreateFontFromDesc(const d3dx::FontDesc& desc, ID3DXFont** font) final;

    // ID3DXMesh::DrawSubset of a mesh this device's backend made: checked, traced, and drawn
    // with the state as it stands.
    HRESULT DrawMeshSubset(d3dx::MeshBase& mesh, DWORD attribute);

    const DeviceState& State() const { return state_; }
    const D3DPRESENT_PARAMETERS& Parameters() const { return parameters_; }
    // Raised whenever an object the device made goes: a backend that keeps pointers to them
    // (a recorded frame) knows they may be gone.
    std::uint64_t ObjectsGone() const { return objectsGone_; }

  protected:
    Device(Backend& backend, const D3DPRESENT_PARAMETERS& parameters);
    ~Device() override;
    // Unbinds everything the device holds and frees the backend's part of every object it made
    // that is still alive. Idempotent.
    void ReleaseAll();

  private:
    friend class DeviceChild;
    void Adopt(DeviceChild& child);
    void Forget(DeviceChild& child);
    // Binds `object` in `slot`; the empty string, or why Direct3D 9 refuses it.
    template <typename Object, typename Interface>
    std::string Bind(Object*& slot, Interface* object, Changes::Group group);
    template <typename Shader, typename Interface>
    HRESULT CreateShader(const char* api, ShaderStage stage, const DWORD* code, Interface** shader);
    void Changed(Changes::Group group) { changes_.groups |= group; }
    // After a successful Set*ShaderConstant*: the debug layer sees which registers were set.
    HRESULT NoteConstants(HRESULT hr, bool pixel, D3DXREGISTER_SET set, UINT start, UINT count);
    // After a successful non-null Set*Shader: the debug layer and the constant settings.
    void ShaderBound(ShaderResource& bound, ShaderResource* other);

    Backend& backend_;
    D3DPRESENT_PARAMETERS parameters_;
    DeviceState state_;
    Changes changes_;
    bool inScene_ = false;
    DeviceChild* children_ = nullptr;  // every live object made here, most recent first
    std::uint64_t objectsGone_ = 0;
    DebugLayer debug_;
};

}  // namespace d3d9
