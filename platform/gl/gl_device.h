// The OpenGL 3.3 core backend beneath the Direct3D 9 front end (platform/d3d9/device.h): the
// front end checks every call, keeps the state and returns the results; this backend clears,
// presents, draws with the state that changed (gl_draw.cpp, through the compare-then-call cache)
// and makes textures, shaders, meshes and fonts. Rendering goes to a back buffer of the
// requested size and sample count; Present resolves it and shows it scaled to the window's
// client area. Headless under SDL's offscreen driver it renders all the same.
//
// Implements: Clear, Present and the mesh draw with the fixed-function states (gl_ffp.h): the
// lighting equation, four texture stages, flat shading, the alpha test; depth, culling, fill
// mode, blending with its operation, colour writes; samplers with filters, address modes, LOD
// bias, the largest mip level and anisotropy, for the pixel samplers and the four vertex
// texture samplers; pixel and vertex shaders with their constant registers; textures (those of
// one decoded picture share one OpenGL texture), meshes with any declaration, fonts. Leaves out:
// stencil, fog, the scissor test, user vertex and index buffers, more than four fixed-function
// stages, texture transforms.
//
// Instruments beside the program's calls: pixel history (gl_pixel_history.h) over recorded
// frames, and a line of the platform's own drawn in the window below the program's overlay.
#pragma once

#include <epoxy/gl.h>

#include <SDL2/SDL.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "platform/core/call_trace.h"
#include "platform/d3d9/device.h"
#include "platform/d3dx/mesh_base.h"
#include "platform/gl/gl_cache.h"
#include "platform/gl/gl_constants.h"
#include "platform/gl/gl_ffp.h"
#include "platform/gl/gl_pixel_history.h"
#include "platform/gl/gl_shaders.h"

namespace gl {

class GlMesh;
class OverlayLine;
class TextureStorage;

// Texture units: stage or pixel sampler N on unit N, vertex texture sampler N on 16 + N.
inline constexpr int kVertexSamplerUnit = 16;

class GlDevice final : public d3d9::Device, private d3d9::Backend {
  public:
    // Makes the context on the window; null (after a "GL:" line) when that cannot be done.
    static GlDevice* Create(SDL_Window* window, const D3DPRESENT_PARAMETERS& parameters);
    ~GlDevice() override;

    // The back buffer as ARGB words, top row first (tests and the snapshot tool).
    std::vector<std::uint32_t> ReadBackBuffer();
    // Called after each Present with the presented back buffer (the snapshot tool).
    void SetPresentObserver(void (*observer)(void* context, GlDevice& device), void* context);

    GlCache& Cache() { return cache_; }
    // Makes the back buffer (or a probe's target of its size) the target with its full
    // viewport, for drawing outside the Direct3D state (text): the next draw sets its fixed
    // OpenGL state again.
    void BindBackBuffer() { BindDrawTarget(framebuffer_); }
    void BindDrawTarget(GLuint framebuffer) {
        cache_.BindFramebuffer(framebuffer);
        cache_.Viewport(0, 0, width_, height_);
        glStateDirty_ = true;
    }

    // Pixel history (gl_pixel_history.h): with recording on, the device keeps the frame being
    // drawn and the last presented one; a probe replays the last at one pixel.
    void RecordFrames(bool on);
    bool RecordsFrames() const { return recordFrames_; }
    PixelHistory ProbePixel(int x, int y);
    // A text draw of the frame being recorded (gl_font.cpp): its string, the bottom of its
    // rectangle's lines, and how to replay it.
    void RecordText(std::string text, LONG bottom, std::function<void(const ReplayPass&)> replay);
    // A line the platform draws in the window, below the program's overlay lines, after each
    // present (a probe's summary); empty: none (gl_overlay.cpp).
    void SetOverlayLine(std::string text);
    int Width() const { return width_; }
    int Height() const { return height_; }
    int SampleCount() const { return samples_; }
    // Whether the back buffer's format keeps an alpha channel (X8R8G8B8 reads as alpha 1).
    bool AlphaWritable() const { return alphaWritable_; }
    // The driver's largest anisotropy; 1 where it offers no anisotropic filtering.
    float MaxAnisotropy() const { return maxAnisotropy_; }
    // GL_MAX_TEXTURE_SIZE; tests may make the device believe in a smaller one.
    UINT MaxTextureSize() const override { return maxTextureSize_; }
    void SetMaxTextureSizeForTests(UINT size) { maxTextureSize_ = size; }
    // The programs linked so far (fixed-function and with shaders), for tests of the cache.
    std::size_t ProgramCount() const { return ffpPrograms_.size() + shaderPrograms_.size(); }
    // The OpenGL textures behind the texture objects alive, each picture's once.
    std::size_t TextureStorageCount() const { return storages_.size(); }

    // A shader is going: the programs linked with it are deleted.
    void ForgetShader(std::uint64_t shaderId);
    // The last texture object of a picture is going.
    void ForgetStorage(const std::weak_ptr<const d3dx::TextureData>& picture);

  private:
    GlDevice(SDL_Window* window, SDL_GLContext context, const D3DPRESENT_PARAMETERS& parameters);
    bool MakeBackBuffer();
    // The resolve and the present (gl_present.cpp).
    bool MakePresentPrograms();
    GLuint LinkFullTargetProgram(const std::string& fragment, const char* name);
    GLuint MakeColorTexture(int samples);
    void SetScaledFiltering(GLuint picture);
    bool MakeResolveTarget();
    // False where the resolve program cannot be linked.
    bool ResolveBackBuffer();
    void DrawFullTarget(GLuint program, GLenum textureTarget, GLuint texture);

    // The backend (gl_device.cpp, gl_draw.cpp, gl_resources.cpp, gl_font.cpp).
    void ClearBuffers(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                      DWORD stencil) override;
    void PresentBackBuffer() override;
    void ApplyState(const d3d9::DeviceState& state, const d3d9::Changes& changes) override;
    void DrawSubset(d3dx::MeshBase& mesh, DWORD attribute) override;
    std::unique_ptr<d3d9::BackendObject> CreateTextureObject(
        const std::shared_ptr<const d3dx::TextureData>& picture) override;
    GLuint UploadTexture(const d3dx::TextureData& data);
    std::unique_ptr<d3d9::BackendObject> CreateShaderObject(const DWORD* code,
                                                            d3d9::ShaderStage stage) override;
    ID3DXMesh* CreateMeshObject(d3dx::MeshData&& data) override;
    ID3DXFont* CreateFontObject(const d3dx::FontDesc& desc) override;

    // Drawing (gl_draw.cpp). A replay draws with a recorded state in place of the front end's.
    struct Program;
    const d3d9::DeviceState& DrawState() const { return replayState_ ? *replayState_ : State(); }
    // Everything derived from the state is worked out again at the next draw.
    void InvalidateDrawState();
    // Draws a subset with the program for the state (or `program`), under `pass` where given;
    // false where nothing could be drawn.
    bool DrawMesh(GlMesh& mesh, DWORD attribute, const ReplayPass* pass, Program* program);
    // The uniforms, samplers and constant locations of a program just linked.
    bool FinishProgram(Program& program, const GlShader* vertex, const GlShader* pixel);
    void ApplyPass(const ReplayPass& pass);
    FfpKey KeyFor(const GlMesh& mesh);
    FfpKey BaseKey() const;
    Program* ProgramFor(const FfpKey& key);
    void FlushState();
    void UpdateNormalMatrix();
    void UploadUniforms(Program& program);
    void UploadTransforms(const ProgramUniforms& u);
    void UploadLights(const ProgramUniforms& u);
    void BindStageTextures(const Program& program);
    GLuint SamplerFor(int slot);
    // The sampler states that make a sampler object; states that do not change it (the mip
    // level limit without mipmaps, the anisotropy without anisotropic filtering) hold a neutral
    // value, so that they do not make another object.
    struct SamplerKey {
        DWORD minFilter, magFilter, mipFilter;
        DWORD addressU, addressV;
        DWORD borderColor;
        DWORD mipLodBias;  // a float in the DWORD
        DWORD maxMipLevel;
        DWORD maxAnisotropy;
        auto operator<=>(const SamplerKey&) const = default;
    };
    GLuint MakeSampler(const SamplerKey& key);
    const GlShader* BoundVertexShader() const;
    const GlShader* BoundPixelShader() const;

    SDL_Window* window_;
    SDL_GLContext context_;
    int width_, height_, samples_ = 0;
    bool s3tc_ = false, alphaWritable_ = true;
    float maxAnisotropy_ = 1.0f;  // 1 where the driver has no anisotropic filtering
    UINT maxTextureSize_ = 0;
    GLuint framebuffer_ = 0, colorTexture_ = 0, depthBuffer_ = 0;
    GLuint resolveFramebuffer_ = 0, resolveTexture_ = 0;
    bool resolveFailed_ = false, presentFailed_ = false;
    GLuint resolveProgram_ = 0, presentProgram_ = 0, presentSameSizeProgram_ = 0, emptyVao_ = 0;
    GlCache cache_;

    // Generations of the uniform groups: a program uploads a group when its copy is older.
    std::uint64_t transformGeneration_ = 1, lightGeneration_ = 1, materialGeneration_ = 1,
                  stateGeneration_ = 1;
    // What a draw recomputes only after a change: the key's device part, the fixed OpenGL
    // state, and each sampler slot's sampler object.
    bool keyDirty_ = true, glStateDirty_ = true;
    FfpKey baseKey_{};
    std::uint32_t samplerDirty_ = 0xFFFFFFFFu;
    GLuint slotSamplers_[d3d9::kSamplerSlots] = {};
    // World x view's inverse transpose, recomputed when a transform changes.
    float normalMatrix_[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    struct Program {
        GLuint id = 0;
        ProgramUniforms uniforms;
        std::vector<SamplerBinding> samplers;        // a pixel shader's registers
        std::vector<SamplerBinding> vertexSamplers;  // a vertex shader's
        ConstantLocations vertexConstants, pixelConstants;
        std::uint64_t vertexConstantGeneration = 0, pixelConstantGeneration = 0;
        std::uint64_t transforms = 0, lights = 0, material = 0, states = 0;
        bool failed = false;
    };
    // Programs with shaders are keyed by the key and both shaders' ids (0 for none).
    using ShaderProgramKey = std::tuple<FfpKey, std::uint64_t, std::uint64_t>;
    std::map<FfpKey, Program> ffpPrograms_;
    std::map<ShaderProgramKey, Program> shaderPrograms_;
    std::map<SamplerKey, GLuint> samplerObjects_;
    // The shared OpenGL texture of each picture with texture objects alive.
    std::map<std::weak_ptr<const d3dx::TextureData>, std::weak_ptr<TextureStorage>,
             std::owner_less<>>
        storages_;
    // The previous draw's program, reused while neither its key nor its shaders change.
    FfpKey lastKey_{};
    Program* lastProgram_ = nullptr;
    std::uint64_t lastVertexShader_ = 0, lastPixelShader_ = 0;
    void (*presentObserver_)(void*, GlDevice&) = nullptr;
    void* presentContext_ = nullptr;

    // Pixel history (gl_pixel_history.cpp, gl_probe_replay.cpp).
    void RecordEvent(FrameEvent event);
    bool MakeProbeTargets();
    void ReplayEvent(const FrameEvent& event, const ReplayPass& pass);
    GLuint QuerySamples(const FrameEvent& event, const ReplayPass& pass);
    void ResetProbe(int x, int y);
    float ReadProbeDepth(int x, int y);
    // Puts one pixel of a probe target back: its colour and the shared depth.
    void RestoreProbePixel(int x, int y, GLuint framebuffer, const float colour[4], float depth);
    std::uint32_t ReadProbe(int x, int y);
    std::uint32_t ReadFramePixel(int x, int y);
    // The pixel stage's inputs and output at the pixel for event `index` (gl_probe_values.cpp).
    void ShaderValues(std::size_t index, int x, int y, PixelHistory& history);
    bool ReadShaderValue(const FrameEvent& event, const ReplayPass& pass, Program* program,
                         ShaderValue& value);
    std::string ShaderOf(const d3d9::DeviceState& state) const;
    bool recordFrames_ = false, stateChanged_ = true;
    RecordedFrame frame_, lastFrame_;
    std::shared_ptr<const d3d9::DeviceState> snapshot_;
    const d3d9::DeviceState* replayState_ = nullptr;
    GLuint probeFramebuffer_ = 0, probeFloatFramebuffer_ = 0, probeColour_ = 0, probeFloat_ = 0,
           probeDepth_ = 0, probeQuery_ = 0;
    bool probeFailed_ = false;
    // The platform's overlay line (gl_overlay.cpp) and where it goes: below the lowest text line
    // the program drew in the last frame.
    std::unique_ptr<OverlayLine> overlay_;
    LONG textBottom_ = 0, lastTextBottom_ = 0;
    void DrawOverlay(int windowWidth, int windowHeight);
};

// One picture's OpenGL texture: level 0 and its chain, in the format D3DX decoded or DXT blocks
// where the driver takes them compressed; shared by the texture objects made from the picture
// and deleted with the last of them.
class TextureStorage {
  public:
    TextureStorage(GlDevice& device, GLuint id, std::weak_ptr<const d3dx::TextureData> picture)
        : device_(device), id_(id), picture_(std::move(picture)) {}
    ~TextureStorage() {
        device_.ForgetStorage(picture_);
        device_.Cache().DeleteTexture(id_);
    }
    TextureStorage(const TextureStorage&) = delete;
    TextureStorage& operator=(const TextureStorage&) = delete;
    GLuint Id() const { return id_; }

  private:
    GlDevice& device_;
    GLuint id_;
    std::weak_ptr<const d3dx::TextureData> picture_;
};

class GlTexture final : public d3d9::BackendObject {
  public:
    explicit GlTexture(std::shared_ptr<TextureStorage> storage) : storage_(std::move(storage)) {}
    GLuint Id() const { return storage_->Id(); }

  private:
    std::shared_ptr<TextureStorage> storage_;
};

// What of the fixed-function key a mesh's declaration decides.
struct MeshLayout {
    std::uint8_t hasNormal = 0, hasColor0 = 0, hasColor1 = 0;
    std::uint8_t texCoordSets = 0;  // a bit per TEXCOORDn
};

// A mesh with its vertices and indices in OpenGL buffers behind one vertex array.
class GlMesh : public d3dx::MeshBase, public d3d9::DeviceChild {
  public:
    GlMesh(GlDevice* device, d3dx::MeshData&& data);
    ~GlMesh() override;
    HRESULT DrawSubset(DWORD AttribId) override;
    GLuint Vao() const { return vao_; }
    const MeshLayout& Layout() const { return layout_; }
    // The attribute table as a lookup from attribute id (none: FaceCount 0).
    const D3DXATTRIBUTERANGE& Range(DWORD id) const;

  private:
    void DetachFromDevice() override;
    void BindElements();
    GlDevice* glDevice_;
    GLuint vao_ = 0, vertexBuffer_ = 0, indexBuffer_ = 0;
    std::vector<GLuint> convertedBuffers_;  // elements OpenGL cannot read as they are
    MeshLayout layout_;
    // Ranges by attribute id where the ids are few and small, else sorted by id.
    std::vector<D3DXATTRIBUTERANGE> byAttribute_;
    bool dense_ = true;
};

// The device behind an interface pointer made by this backend, or null.
GlDevice* GlDeviceOf(IDirect3DDevice9* device);

// An observer given to every device made from now on (the snapshot tool watches the program's
// frames this way).
void ObserveNewDevices(void (*observer)(void* context, GlDevice& device), void* context);
// Whether devices made from now on record their frames for pixel probes (RecordFrames).
void RecordNewDevicesFrames(bool on);

}  // namespace gl
