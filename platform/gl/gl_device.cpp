// The device's front end: Direct3DCreate9, CreateDevice, argument checks and results as
// Direct3D 9 gives them, the state arrays, the back buffer, Clear and Present.
#include "platform/gl/gl_device.h"

#include <cstdio>
#include <cstring>

#include "platform/core/call_trace.h"
#include "platform/core/window_system.h"
#include "platform/gl/gl_translate.h"
#include "platform/sdl/sdl_platform.h"

namespace gl {
namespace {

constexpr DWORD kMaxSamplerIndex = 16;

// What a declaration holds, kept so that it can be read back; drawing uses each mesh's layout.
class GlDeclaration : public platform::RefCounted<IDirect3DVertexDeclaration9> {
  public:
    explicit GlDeclaration(std::vector<D3DVERTEXELEMENT9> elements)
        : elements_(std::move(elements)) {}

  private:
    std::vector<D3DVERTEXELEMENT9> elements_;
};

bool ValidLight(const D3DLIGHT9& l) {
    if (l.Type < D3DLIGHT_POINT || l.Type > D3DLIGHT_DIRECTIONAL) return false;
    if (l.Type != D3DLIGHT_DIRECTIONAL && l.Range < 0.0f) return false;
    if (l.Type != D3DLIGHT_POINT && l.Direction.x == 0.0f && l.Direction.y == 0.0f &&
        l.Direction.z == 0.0f) {
        return false;
    }
    return !(l.Type == D3DLIGHT_SPOT && (l.Theta < 0.0f || l.Phi < l.Theta));
}

}  // namespace

GlDevice* GlDeviceOf(IDirect3DDevice9* device) {
    return dynamic_cast<GlDevice*>(device);
}

namespace {
void (*g_newDeviceObserver)(void*, GlDevice&) = nullptr;
void* g_newDeviceContext = nullptr;
}  // namespace

void ObserveNewDevices(void (*observer)(void*, GlDevice&), void* context) {
    g_newDeviceObserver = observer;
    g_newDeviceContext = context;
}

GlDevice* GlDevice::Create(SDL_Window* window, const D3DPRESENT_PARAMETERS& parameters) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        std::fprintf(stderr, "GL: cannot create an OpenGL 3.3 context: %s\n", SDL_GetError());
        return nullptr;
    }
    if (epoxy_gl_version() < 33) {
        std::fprintf(stderr, "GL: OpenGL 3.3 is needed, the driver offers %d.%d\n",
                     epoxy_gl_version() / 10, epoxy_gl_version() % 10);
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
    auto* device = new GlDevice(window, context, parameters);
    if (!device->MakeBackBuffer()) {
        device->Release();
        return nullptr;
    }
    device->SetPresentObserver(g_newDeviceObserver, g_newDeviceContext);
    return device;
}

GlDevice::GlDevice(SDL_Window* window, SDL_GLContext context,
                   const D3DPRESENT_PARAMETERS& parameters)
    : window_(window),
      context_(context),
      parameters_(parameters),
      width_(static_cast<int>(parameters.BackBufferWidth)),
      height_(static_cast<int>(parameters.BackBufferHeight)) {
    platform::RegisterObjectName(this, "device");
    // The default interval waits for the display's refresh where the system offers it.
    if (parameters.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE) {
        SDL_GL_SetSwapInterval(0);
    } else if (SDL_GL_SetSwapInterval(1) != 0) {
        SDL_GL_SetSwapInterval(0);
    }
    s3tc_ = epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc");
    SetDefaults();
}

GlDevice::~GlDevice() {
    for (auto& [key, p] : ffpPrograms_) glDeleteProgram(p.id);
    for (auto& [key, p] : shaderPrograms_) glDeleteProgram(p.id);
    for (auto& [key, s] : samplerObjects_) glDeleteSamplers(1, &s);
    const GLuint framebuffers[2] = {framebuffer_, resolveFramebuffer_};
    const GLuint renderbuffers[3] = {colorBuffer_, depthBuffer_, resolveColor_};
    glDeleteFramebuffers(2, framebuffers);
    glDeleteRenderbuffers(3, renderbuffers);
    SDL_GL_DeleteContext(context_);
}

bool GlDevice::MakeBackBuffer() {
    GLint maxSamples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
    samples_ =
        SampleCountOf(parameters_.MultiSampleType, parameters_.MultiSampleQuality, maxSamples);
    const auto storage = [&](GLuint buffer, GLenum format, int samples) {
        glBindRenderbuffer(GL_RENDERBUFFER, buffer);
        if (samples)
            glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width_, height_);
        else
            glRenderbufferStorage(GL_RENDERBUFFER, format, width_, height_);
    };
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(1, &colorBuffer_);
    storage(colorBuffer_, GL_RGBA8, samples_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
    if (parameters_.EnableAutoDepthStencil) {
        glGenRenderbuffers(1, &depthBuffer_);
        storage(depthBuffer_,
                parameters_.AutoDepthStencilFormat == D3DFMT_D16 ? GL_DEPTH_COMPONENT16
                                                                 : GL_DEPTH24_STENCIL8,
                samples_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER,
                                  parameters_.AutoDepthStencilFormat == D3DFMT_D16
                                      ? GL_DEPTH_ATTACHMENT
                                      : GL_DEPTH_STENCIL_ATTACHMENT,
                                  GL_RENDERBUFFER, depthBuffer_);
    }
    bool ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (ok && samples_) {
        glGenFramebuffers(1, &resolveFramebuffer_);
        glGenRenderbuffers(1, &resolveColor_);
        storage(resolveColor_, GL_RGBA8, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  resolveColor_);
        ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    if (!ok) {
        std::fprintf(stderr, "GL: cannot make a %dx%d back buffer with %d samples\n", width_,
                     height_, samples_);
        return false;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    cache_.BindFramebuffer(framebuffer_);
    cache_.Viewport(0, 0, width_, height_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return true;
}

// The states Direct3D 9 starts a device with.
void GlDevice::SetDefaults() {
    DWORD* rs = renderStates_;
    rs[D3DRS_ZENABLE] = parameters_.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
    rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    rs[D3DRS_ZWRITEENABLE] = TRUE;
    rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    rs[D3DRS_CULLMODE] = D3DCULL_CCW;
    rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
    rs[D3DRS_LIGHTING] = TRUE;
    rs[D3DRS_COLORVERTEX] = TRUE;
    rs[D3DRS_LOCALVIEWER] = TRUE;
    rs[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    rs[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
    rs[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
    for (int s = 0; s < kTextureStages; ++s) {
        DWORD* st = stageStates_[s];
        st[D3DTSS_COLOROP] = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        st[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        st[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        st[D3DTSS_ALPHAOP] = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        st[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        st[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        st[D3DTSS_TEXCOORDINDEX] = static_cast<DWORD>(s);
    }
    for (auto& sampler : samplerStates_) {
        sampler[D3DSAMP_ADDRESSU] = sampler[D3DSAMP_ADDRESSV] = sampler[D3DSAMP_ADDRESSW] =
            D3DTADDRESS_WRAP;
        sampler[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        sampler[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        sampler[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        sampler[D3DSAMP_MAXANISOTROPY] = 1;
    }
    D3DXMatrixIdentity(&world_);
    D3DXMatrixIdentity(&view_);
    D3DXMatrixIdentity(&projection_);
}

HRESULT GlDevice::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                        DWORD Stencil) {
    if ((Count && !pRects) || !Flags || (Flags & ~7u)) return D3DERR_INVALIDCALL;
    if ((Flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !parameters_.EnableAutoDepthStencil) {
        return D3DERR_INVALIDCALL;
    }
    if ((Flags & D3DCLEAR_STENCIL) && parameters_.AutoDepthStencilFormat == D3DFMT_D16) {
        return D3DERR_INVALIDCALL;
    }
    cache_.BindFramebuffer(framebuffer_);
    glStateDirty_ = true;  // the clear changes the depth mask and the scissor test
    GLbitfield mask = 0;
    if (Flags & D3DCLEAR_TARGET) {
        const Rgba c = ColorOf(Color);
        glClearColor(c.r, c.g, c.b, c.a);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (Flags & D3DCLEAR_ZBUFFER) {
        cache_.DepthMask(true);  // a clear writes depth whatever ZWRITEENABLE says
        glClearDepth(Z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (Flags & D3DCLEAR_STENCIL) {
        glClearStencil(static_cast<GLint>(Stencil));
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    if (Count == 0) {
        cache_.Enable(GL_SCISSOR_TEST, false);
        glClear(mask);
        return D3D_OK;
    }
    // Rectangles are in Direct3D's top-left coordinates, which the back buffer's rows follow.
    cache_.Enable(GL_SCISSOR_TEST, true);
    for (DWORD i = 0; i < Count; ++i) {
        const D3DRECT& r = pRects[i];
        cache_.Scissor(r.x1, r.y1, r.x2 - r.x1, r.y2 - r.y1);
        glClear(mask);
    }
    return D3D_OK;
}

HRESULT GlDevice::BeginScene() {
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT GlDevice::EndScene() {
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
}

void GlDevice::ResolveBackBuffer() {
    // Blits obey the scissor test, which text drawing may have left on.
    cache_.Enable(GL_SCISSOR_TEST, false);
    glStateDirty_ = true;
    if (!samples_) return;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFramebuffer_);
    glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

HRESULT GlDevice::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
    ResolveBackBuffer();
    if (presentObserver_) presentObserver_(presentContext_, *this);
    // The whole back buffer, scaled to the client area; its first row is the top one.
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, samples_ ? resolveFramebuffer_ : framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, width_, height_, 0, h, w, 0, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    SDL_GL_SwapWindow(window_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    return D3D_OK;
}

std::vector<std::uint32_t> GlDevice::ReadBackBuffer() {
    ResolveBackBuffer();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width_) * height_);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, samples_ ? resolveFramebuffer_ : framebuffer_);
    glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    return pixels;
}

void GlDevice::SetPresentObserver(void (*observer)(void*, GlDevice&), void* context) {
    presentObserver_ = observer;
    presentContext_ = context;
}

HRESULT GlDevice::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) {
    if (!pMatrix) return D3DERR_INVALIDCALL;
    Matrix4* target = State == D3DTS_WORLD        ? &world_
                      : State == D3DTS_VIEW       ? &view_
                      : State == D3DTS_PROJECTION ? &projection_
                                                  : nullptr;
    if (!target) return D3D_OK;  // texture transforms are accepted and not used
    if (std::memcmp(target, pMatrix, sizeof(Matrix4)) == 0) return D3D_OK;
    *target = *pMatrix;
    ++transformGeneration_;
    if (State == D3DTS_VIEW) ++lightGeneration_;  // lights are uploaded in view space
    return D3D_OK;
}

HRESULT GlDevice::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
    if (State >= kRenderStates) return D3DERR_INVALIDCALL;
    if (renderStates_[State] == Value) return D3D_OK;
    renderStates_[State] = Value;
    keyDirty_ = glStateDirty_ = true;
    // Only these two reach the programs as uniforms; the rest are read at each draw.
    if (State == D3DRS_AMBIENT || State == D3DRS_TEXTUREFACTOR) ++stateGeneration_;
    return D3D_OK;
}

HRESULT GlDevice::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) {
    if (Stage >= kTextureStages || Type >= kStageStates) return D3DERR_INVALIDCALL;
    if (stageStates_[Stage][Type] == Value) return D3D_OK;
    stageStates_[Stage][Type] = Value;
    keyDirty_ = true;
    return D3D_OK;
}

HRESULT GlDevice::SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) {
    if (Sampler >= kMaxSamplerIndex || Type >= kSamplerStates) return D3DERR_INVALIDCALL;
    if (samplerStates_[Sampler][Type] == Value) return D3D_OK;
    samplerStates_[Sampler][Type] = Value;
    samplerDirty_ |= 1u << Sampler;
    return D3D_OK;
}

HRESULT GlDevice::SetLight(DWORD Index, const D3DLIGHT9* pLight) {
    if (!pLight || !ValidLight(*pLight)) return D3DERR_INVALIDCALL;
    // Lights past the eight the fixed-function stage uses are accepted and never shown.
    if (Index >= kMaxLights) return D3D_OK;
    if (std::memcmp(&lights_[Index], pLight, sizeof *pLight) == 0) return D3D_OK;
    if (lights_[Index].Type != pLight->Type) keyDirty_ = true;
    lights_[Index] = *pLight;
    ++lightGeneration_;
    return D3D_OK;
}

HRESULT GlDevice::LightEnable(DWORD Index, BOOL Enable) {
    if (Index >= kMaxLights) return D3D_OK;
    // Enabling a light never set gives Direct3D's default: a white directional light along +z.
    if (Enable && lights_[Index].Type == 0) {
        lights_[Index] = D3DLIGHT9{};
        lights_[Index].Type = D3DLIGHT_DIRECTIONAL;
        lights_[Index].Diffuse = {1, 1, 1, 0};
        lights_[Index].Direction = {0, 0, 1};
    }
    lightEnabled_[Index] = Enable != FALSE;
    ++lightGeneration_;
    keyDirty_ = true;
    return D3D_OK;
}

HRESULT GlDevice::SetMaterial(const D3DMATERIAL9* pMaterial) {
    if (!pMaterial) return D3DERR_INVALIDCALL;
    if (std::memcmp(&material_, pMaterial, sizeof *pMaterial) == 0) return D3D_OK;
    material_ = *pMaterial;
    ++materialGeneration_;
    return D3D_OK;
}

HRESULT GlDevice::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) {
    if (Stage >= kMaxSamplerIndex) return D3DERR_INVALIDCALL;
    if (pTexture && !dynamic_cast<GlTexture*>(pTexture)) return D3DERR_INVALIDCALL;
    // Whether a stage has a texture is part of the key; which texture is not.
    if ((textures_[Stage] == nullptr) != (pTexture == nullptr)) keyDirty_ = true;
    textures_[Stage] = pTexture;
    return D3D_OK;
}

HRESULT GlDevice::CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements,
                                          IDirect3DVertexDeclaration9** ppDecl) {
    if (!pVertexElements || !ppDecl) return D3DERR_INVALIDCALL;
    std::vector<D3DVERTEXELEMENT9> elements;
    for (UINT i = 0; i < MAX_FVF_DECL_SIZE; ++i) {
        elements.push_back(pVertexElements[i]);
        if (pVertexElements[i].Stream == 0xFF) break;
        if (pVertexElements[i].Type > D3DDECLTYPE_UNUSED) return D3DERR_INVALIDCALL;
    }
    if (elements.back().Stream != 0xFF) return D3DERR_INVALIDCALL;
    *ppDecl = new GlDeclaration(std::move(elements));
    return D3D_OK;
}

HRESULT GlDevice::SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) {
    declaration_ = pDecl;
    return D3D_OK;
}

HRESULT GlDevice::CreateVertexShader(const DWORD* pFunction, IDirect3DVertexShader9** ppShader) {
    if (!pFunction || !ppShader) return D3DERR_INVALIDCALL;
    TranslatedShader shader;
    std::string error;
    if (!TranslateShader(pFunction, false, shader, error)) {
        std::fprintf(stderr, "GL: vertex shader refused: %s\n", error.c_str());
        return D3DERR_INVALIDCALL;
    }
    *ppShader = new GlVertexShader(std::move(shader));
    return D3D_OK;
}

HRESULT GlDevice::SetVertexShader(IDirect3DVertexShader9* pShader) {
    if (vertexShader_ != pShader) keyDirty_ = true;
    vertexShader_ = static_cast<GlVertexShader*>(pShader);
    return D3D_OK;
}

HRESULT GlDevice::CreatePixelShader(const DWORD* pFunction, IDirect3DPixelShader9** ppShader) {
    if (!pFunction || !ppShader) return D3DERR_INVALIDCALL;
    TranslatedShader shader;
    std::string error;
    if (!TranslateShader(pFunction, true, shader, error)) {
        std::fprintf(stderr, "GL: pixel shader refused: %s\n", error.c_str());
        return D3DERR_INVALIDCALL;
    }
    *ppShader = new GlPixelShader(std::move(shader));
    return D3D_OK;
}

HRESULT GlDevice::SetPixelShader(IDirect3DPixelShader9* pShader) {
    if (pixelShader_ != pShader) keyDirty_ = true;
    pixelShader_ = static_cast<GlPixelShader*>(pShader);
    return D3D_OK;
}

namespace {

template <typename T, std::size_t N>
HRESULT SetRegisters(std::vector<std::array<T, N>>& file, UINT start, const T* data, UINT count,
                     std::uint64_t& generation) {
    if (!data || start > file.size() || count > file.size() - start) return D3DERR_INVALIDCALL;
    if (count && std::memcmp(file[start].data(), data, sizeof(T) * N * count) != 0) {
        std::memcpy(file[start].data(), data, sizeof(T) * N * count);
        ++generation;
    }
    return D3D_OK;
}

template <typename T, std::size_t N, std::size_t M>
HRESULT SetRegisters(std::array<std::array<T, N>, M>& file, UINT start, const T* data, UINT count,
                     std::uint64_t& generation) {
    if (!data || start > M || count > M - start) return D3DERR_INVALIDCALL;
    if (count && std::memcmp(file[start].data(), data, sizeof(T) * N * count) != 0) {
        std::memcpy(file[start].data(), data, sizeof(T) * N * count);
        ++generation;
    }
    return D3D_OK;
}

HRESULT SetBools(std::array<BOOL, d3d9::kBoolRegisters>& file, UINT start, const BOOL* data,
                 UINT count, std::uint64_t& generation) {
    if (!data || start > file.size() || count > file.size() - start) return D3DERR_INVALIDCALL;
    for (UINT i = 0; i < count; ++i) {
        const BOOL b = data[i] ? TRUE : FALSE;
        if (file[start + i] != b) {
            file[start + i] = b;
            ++generation;
        }
    }
    return D3D_OK;
}

}  // namespace

HRESULT GlDevice::SetVertexShaderConstantF(UINT StartRegister, const float* pConstantData,
                                           UINT Vector4fCount) {
    return SetRegisters(vertexConstants_.floats, StartRegister, pConstantData, Vector4fCount,
                        vertexConstants_.generation);
}
HRESULT GlDevice::SetVertexShaderConstantI(UINT StartRegister, const int* pConstantData,
                                           UINT Vector4iCount) {
    return SetRegisters(vertexConstants_.ints, StartRegister, pConstantData, Vector4iCount,
                        vertexConstants_.generation);
}
HRESULT GlDevice::SetVertexShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                           UINT BoolCount) {
    return SetBools(vertexConstants_.bools, StartRegister, pConstantData, BoolCount,
                    vertexConstants_.generation);
}
HRESULT GlDevice::SetPixelShaderConstantF(UINT StartRegister, const float* pConstantData,
                                          UINT Vector4fCount) {
    return SetRegisters(pixelConstants_.floats, StartRegister, pConstantData, Vector4fCount,
                        pixelConstants_.generation);
}
HRESULT GlDevice::SetPixelShaderConstantI(UINT StartRegister, const int* pConstantData,
                                          UINT Vector4iCount) {
    return SetRegisters(pixelConstants_.ints, StartRegister, pConstantData, Vector4iCount,
                        pixelConstants_.generation);
}
HRESULT GlDevice::SetPixelShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                          UINT BoolCount) {
    return SetBools(pixelConstants_.bools, StartRegister, pConstantData, BoolCount,
                    pixelConstants_.generation);
}

HRESULT GlDevice::CreateMeshFromData(d3dx::MeshData&& data, ID3DXMesh** mesh) {
    if (!mesh || data.attributes.empty()) return D3DERR_INVALIDCALL;
    *mesh = new GlMesh(this, std::move(data));
    return D3D_OK;
}

// ---- IDirect3D9 ------------------------------------------------------------------------------

namespace {

class GlDirect3D : public platform::RefCounted<IDirect3D9> {
  public:
    HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                         DWORD BehaviorFlags, D3DPRESENT_PARAMETERS* pp,
                         IDirect3DDevice9** ppDevice) override {
        if (ppDevice) *ppDevice = nullptr;
        const DWORD processing = BehaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING |
                                                  D3DCREATE_HARDWARE_VERTEXPROCESSING |
                                                  D3DCREATE_MIXED_VERTEXPROCESSING);
        HWND window = pp && pp->hDeviceWindow ? pp->hDeviceWindow : hFocusWindow;
        if (!pp || !ppDevice || Adapter != D3DADAPTER_DEFAULT || !processing ||
            (processing & (processing - 1)) ||
            (DeviceType != D3DDEVTYPE_HAL && DeviceType != D3DDEVTYPE_REF) || !pp->Windowed ||
            pp->BackBufferCount > 3 ||
            (pp->MultiSampleType != D3DMULTISAMPLE_NONE &&
             pp->SwapEffect != D3DSWAPEFFECT_DISCARD)) {
            return D3DERR_INVALIDCALL;
        }
        SDL_Window* sdlWindow = sdl::WindowOf(window);
        if (!sdlWindow) return D3DERR_INVALIDCALL;
        // A size of zero takes the client area's, as a windowed device does.
        D3DPRESENT_PARAMETERS parameters = *pp;
        int w = 0, h = 0;
        SDL_GetWindowSize(sdlWindow, &w, &h);
        if (!parameters.BackBufferWidth) parameters.BackBufferWidth = static_cast<UINT>(w);
        if (!parameters.BackBufferHeight) parameters.BackBufferHeight = static_cast<UINT>(h);
        if (parameters.BackBufferFormat == D3DFMT_UNKNOWN)
            parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        GlDevice* device = GlDevice::Create(sdlWindow, parameters);
        if (!device) return D3DERR_NOTAVAILABLE;
        *ppDevice = device;
        return D3D_OK;
    }
};

}  // namespace
}  // namespace gl

IDirect3D9* Direct3DCreate9(UINT SDKVersion) {
    return SDKVersion == D3D_SDK_VERSION ? new gl::GlDirect3D : nullptr;
}
