// The Direct3D 9 device over OpenGL 3.3 core. The front end (gl_device.cpp) checks arguments,
// keeps the Direct3D state as plain arrays and returns the platform's results; draws flush that
// state to OpenGL through the compare-then-call cache (gl_draw.cpp). Rendering goes to a back
// buffer of the requested size and sample count; Present resolves it and shows it scaled to the
// window's client area. Headless under SDL's offscreen driver it renders all the same.
//
// Implements: the device operations the program calls (states, transforms, lights, materials,
// textures, declarations, shaders, Clear/BeginScene/EndScene/Present), and the D3DX services
// (meshes, textures, fonts). Leaves out: stencil, fog, user vertex and index buffers, more than
// four texture stages in the fixed-function pipeline, shader constants set by the program.
#pragma once

#include <epoxy/gl.h>

#include <SDL2/SDL.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/core/call_trace.h"
#include "platform/core/ref_counted.h"
#include "platform/d3dx/device_services.h"
#include "platform/d3d9/stage_constants.h"
#include "platform/d3dx/mesh_base.h"
#include "platform/gl/gl_cache.h"
#include "platform/gl/gl_constants.h"
#include "platform/gl/gl_ffp.h"
#include "platform/gl/gl_shaders.h"

namespace gl {

class GlMesh;
class GlTexture;

inline constexpr int kRenderStates = 256;
inline constexpr int kStageStates = 33;
inline constexpr int kSamplerStates = 14;
inline constexpr int kTextureStages = 8;
inline constexpr int kSamplers = 16;

class GlDevice : public platform::RefCounted<IDirect3DDevice9>, public d3dx::DeviceServices {
  public:
    // Makes the context on the window; null (after a "GL:" line) when that cannot be done.
    static GlDevice* Create(SDL_Window* window, const D3DPRESENT_PARAMETERS& parameters);
    ~GlDevice() override;

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

    HRESULT CreateMeshFromData(d3dx::MeshData&& data, ID3DXMesh** mesh) override;
    HRESULT CreateTextureFromData(d3dx::TextureData&& data, IDirect3DTexture9** texture) override;
    HRESULT CreateFontFromDesc(const d3dx::FontDesc& desc, ID3DXFont** font) override;

    // Draws the faces of one subset of a mesh with the current state.
    HRESULT DrawMeshSubset(GlMesh& mesh, DWORD attribute);

    // The back buffer as ARGB words, top row first (tests and the snapshot tool).
    std::vector<std::uint32_t> ReadBackBuffer();
    // Called after each Present with the presented back buffer (the snapshot tool).
    void SetPresentObserver(void (*observer)(void* context, GlDevice& device), void* context);

    GlCache& Cache() { return cache_; }
    // Makes the back buffer the target with its full viewport, for drawing outside the
    // Direct3D state (text): the next draw sets its fixed OpenGL state again.
    void BindBackBuffer() {
        cache_.BindFramebuffer(framebuffer_);
        cache_.Viewport(0, 0, width_, height_);
        glStateDirty_ = true;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int SampleCount() const { return samples_; }
    bool InScene() const { return inScene_; }
    bool HasCompressedTextures() const { return s3tc_; }

  private:
    GlDevice(SDL_Window* window, SDL_GLContext context, const D3DPRESENT_PARAMETERS& parameters);
    bool MakeBackBuffer();
    void SetDefaults();
    void FlushState();
    FfpKey KeyFor(const GlMesh& mesh);
    FfpKey BaseKey() const;
    struct Program;
    Program* ProgramFor(const FfpKey& key);
    void UploadUniforms(Program& program);
    void BindStageTextures(const Program& program);
    GLuint SamplerFor(int stage);
    void ResolveBackBuffer();

    SDL_Window* window_;
    SDL_GLContext context_;
    D3DPRESENT_PARAMETERS parameters_;
    int width_, height_, samples_ = 0;
    bool s3tc_ = false;
    GLuint framebuffer_ = 0, colorBuffer_ = 0, depthBuffer_ = 0;
    GLuint resolveFramebuffer_ = 0, resolveColor_ = 0;
    bool inScene_ = false;
    GlCache cache_;

    // Direct3D state, as plain arrays.
    DWORD renderStates_[kRenderStates] = {};
    DWORD stageStates_[kTextureStages][kStageStates] = {};
    DWORD samplerStates_[kSamplers][kSamplerStates] = {};
    Matrix4 world_{}, view_{}, projection_{};
    D3DLIGHT9 lights_[kMaxLights] = {};
    bool lightEnabled_[kMaxLights] = {};
    D3DMATERIAL9 material_{};
    IDirect3DBaseTexture9* textures_[kSamplers] = {};
    GlPixelShader* pixelShader_ = nullptr;
    GlVertexShader* vertexShader_ = nullptr;
    IDirect3DVertexDeclaration9* declaration_ = nullptr;
    d3d9::StageConstants vertexConstants_{d3d9::kVertexFloatRegisters};
    d3d9::StageConstants pixelConstants_{d3d9::kPixelFloatRegisters};

    // Generations of the uniform groups: a program uploads a group when its copy is older.
    std::uint64_t transformGeneration_ = 1, lightGeneration_ = 1, materialGeneration_ = 1,
                  stateGeneration_ = 1;
    // What a draw recomputes only after a change: the key's device part, the fixed OpenGL
    // state, and each stage's sampler object.
    bool keyDirty_ = true, glStateDirty_ = true;
    FfpKey baseKey_{};
    std::uint32_t samplerDirty_ = 0xFFFFFFFFu;
    GLuint stageSamplers_[kSamplers] = {};

    struct Program {
        GLuint id = 0;
        ProgramUniforms uniforms;
        std::vector<SamplerBinding> samplers;  // a pixel shader's registers
        ConstantLocations vertexConstants, pixelConstants;
        std::uint64_t vertexConstantGeneration = 0, pixelConstantGeneration = 0;
        std::uint64_t transforms = 0, lights = 0, material = 0, states = 0;
        bool failed = false;
    };
    std::map<FfpKey, Program> ffpPrograms_;
    std::map<std::pair<FfpKey, const void*>, Program> shaderPrograms_;
    std::map<std::uint64_t, GLuint> samplerObjects_;
    FfpKey lastKey_{};
    Program* lastProgram_ = nullptr;
    const GlPixelShader* lastPixelShader_ = nullptr;
    const GlVertexShader* lastVertexShader_ = nullptr;
    void (*presentObserver_)(void*, GlDevice&) = nullptr;
    void* presentContext_ = nullptr;
};

// A texture: level 0 and its chain, in the format D3DX decoded or DXT blocks where the driver
// takes them compressed.
class GlTexture : public platform::RefCounted<IDirect3DTexture9> {
  public:
    GlTexture(GLuint id, const d3dx::TextureData& data);
    ~GlTexture() override;
    DWORD GetLevelCount() override { return levels_; }
    HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;
    GLuint Id() const { return id_; }

  private:
    GLuint id_;
    D3DFORMAT format_;
    UINT width_, height_;
    DWORD levels_;
};

// A mesh with its vertices and indices in OpenGL buffers behind one vertex array.
class GlMesh : public d3dx::MeshBase {
  public:
    GlMesh(GlDevice* device, d3dx::MeshData&& data);
    ~GlMesh() override;
    HRESULT DrawSubset(DWORD AttribId) override;
    GLuint Vao() const { return vao_; }
    // The attribute table as a lookup from attribute id (none: FaceCount 0).
    const D3DXATTRIBUTERANGE& Range(DWORD id) const;

  private:
    GlDevice* glDevice_;
    GLuint vao_ = 0, vertexBuffer_ = 0, indexBuffer_ = 0;
    std::vector<D3DXATTRIBUTERANGE> byAttribute_;
};

// The device behind an interface pointer made by this backend, or null.
GlDevice* GlDeviceOf(IDirect3DDevice9* device);

// An observer given to every device made from now on (the snapshot tool watches the program's
// frames this way).
void ObserveNewDevices(void (*observer)(void* context, GlDevice& device), void* context);

}  // namespace gl
