// The recording IDirect3DDevice9 (see record_device.cpp).
#pragma once

#include <string>

#include "platform/core/ref_counted.h"
#include "platform/d3dx/device_services.h"
#include "platform/graphics_device.h"

namespace record {

class RecordDevice : public platform::RefCounted<IDirect3DDevice9>, public d3dx::DeviceServices {
  public:
    explicit RecordDevice(const D3DPRESENT_PARAMETERS& parameters);

    HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                  DWORD Stencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                    const RGNDATA* pDirtyRegion) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
    HRESULT SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) override;
    HRESULT SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) override;
    HRESULT SetLight(DWORD Index, const D3DLIGHT9* pLight) override;
    HRESULT LightEnable(DWORD Index, BOOL Enable) override;
    HRESULT SetMaterial(const D3DMATERIAL9* pMaterial) override;
    HRESULT SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) override;
    HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements,
                                    IDirect3DVertexDeclaration9** ppDecl) override;
    HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) override;
    HRESULT CreateVertexShader(const DWORD* pFunction, IDirect3DVertexShader9** ppShader) override;
    HRESULT SetVertexShader(IDirect3DVertexShader9* pShader) override;
    HRESULT CreatePixelShader(const DWORD* pFunction, IDirect3DPixelShader9** ppShader) override;
    HRESULT SetPixelShader(IDirect3DPixelShader9* pShader) override;
    HRESULT SetVertexShaderConstantF(UINT StartRegister, const float* pConstantData,
                                     UINT Vector4fCount) override;
    HRESULT SetVertexShaderConstantI(UINT StartRegister, const int* pConstantData,
                                     UINT Vector4iCount) override;
    HRESULT SetVertexShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                     UINT BoolCount) override;
    HRESULT SetPixelShaderConstantF(UINT StartRegister, const float* pConstantData,
                                    UINT Vector4fCount) override;
    HRESULT SetPixelShaderConstantI(UINT StartRegister, const int* pConstantData,
                                    UINT Vector4iCount) override;
    HRESULT SetPixelShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                    UINT BoolCount) override;

    // D3DX services: resources that log their draws.
    HRESULT CreateMeshFromData(d3dx::MeshData&& data, ID3DXMesh** mesh) override;
    HRESULT CreateTextureFromData(d3dx::TextureData&& data, IDirect3DTexture9** texture) override;
    HRESULT CreateFontFromDesc(const d3dx::FontDesc& desc, ID3DXFont** font) override;

  private:
    template <typename Shader>
    HRESULT CreateShader(const char* api, const char* kind, const DWORD* pFunction,
                         Shader** ppShader);
    static bool AcceptsShaderCode(const DWORD* code, bool pixel);

    D3DPRESENT_PARAMETERS parameters_;
    bool inScene_ = false;
    int beginSceneCalls_ = 0;
};

}  // namespace record
