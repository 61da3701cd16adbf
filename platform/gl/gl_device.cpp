// The OpenGL backend's device: the context and back buffer, Clear and Present, shaders, and
// the IDirect3D9 that makes it (gl_direct3d.cpp).
#include "platform/gl/gl_device.h"

#include <algorithm>
#include <cstdio>

#include "platform/gl/gl_errors.h"
#include "platform/gl/gl_overlay.h"
#include "platform/gl/gl_translate.h"

namespace gl {
namespace {
void (*g_newDeviceObserver)(void*, GlDevice&) = nullptr;
void* g_newDeviceContext = nullptr;
bool g_recordNewDevicesFrames = false;
}  // namespace

void RecordNewDevicesFrames(bool on) {
    g_recordNewDevicesFrames = on;
}

GlDevice* GlDeviceOf(IDirect3DDevice9* device) {
    return dynamic_cast<GlDevice*>(device);
}

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
    InstallDebugCallback();
    auto* device = new GlDevice(window, context, parameters);
    if (!device->MakeBackBuffer()) {
        device->Release();
        return nullptr;
    }
    device->SetPresentObserver(g_newDeviceObserver, g_newDeviceContext);
    device->RecordFrames(g_recordNewDevicesFrames);
    return device;
}

GlDevice::GlDevice(SDL_Window* window, SDL_GLContext context,
                   const D3DPRESENT_PARAMETERS& parameters)
    : d3d9::Device(static_cast<d3d9::Backend&>(*this), parameters),
      window_(window),
      context_(context),
      width_(static_cast<int>(parameters.BackBufferWidth)),
      height_(static_cast<int>(parameters.BackBufferHeight)) {
    // The default interval waits for the display's refresh where the system offers it.
    if (parameters.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ||
        SDL_GL_SetSwapInterval(1) != 0)
        SDL_GL_SetSwapInterval(0);
    s3tc_ = epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc");
    GLint maxTextureSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    maxTextureSize_ = static_cast<UINT>(std::max(maxTextureSize, 0));
    if (epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic") ||
        epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic")) {
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maxAnisotropy_);
    }
    // Flat shading takes each triangle's first vertex's colours, Direct3D 9's provoking vertex.
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    const D3DFORMAT format = parameters.BackBufferFormat;
    alphaWritable_ =
        format == D3DFMT_A8R8G8B8 || format == D3DFMT_A1R5G5B5 || format == D3DFMT_A4R4G4B4;
}

GlDevice::~GlDevice() {
    // Bound and still-held objects free their OpenGL objects while the context is here.
    ReleaseAll();
    for (auto& [key, p] : ffpPrograms_) cache_.DeleteProgram(p.id);
    for (auto& [key, p] : shaderPrograms_) cache_.DeleteProgram(p.id);
    for (auto& [key, s] : samplerObjects_) cache_.DeleteSampler(s);
    cache_.DeleteFramebuffer(framebuffer_);
    cache_.DeleteFramebuffer(resolveFramebuffer_);
    cache_.DeleteTexture(colorTexture_);
    cache_.DeleteTexture(resolveTexture_);
    cache_.DeleteProgram(resolveProgram_);
    cache_.DeleteProgram(presentProgram_);
    cache_.DeleteProgram(presentSameSizeProgram_);
    cache_.DeleteVertexArray(emptyVao_);
    glDeleteRenderbuffers(1, &depthBuffer_);
    cache_.DeleteFramebuffer(probeFramebuffer_);
    cache_.DeleteFramebuffer(probeFloatFramebuffer_);
    cache_.DeleteTexture(probeColour_);
    cache_.DeleteTexture(probeFloat_);
    glDeleteRenderbuffers(1, &probeDepth_);
    if (probeQuery_) glDeleteQueries(1, &probeQuery_);
    if (overlay_) overlay_->Free(cache_);
    SDL_GL_DeleteContext(context_);
}

bool GlDevice::MakeBackBuffer() {
    GLint maxSamples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
    samples_ =
        SampleCountOf(Parameters().MultiSampleType, Parameters().MultiSampleQuality, maxSamples);
    // The colour is a texture, multisampled or not, so that the resolve and the present can
    // read it with programs of ours (gl_present.cpp).
    glGenFramebuffers(1, &framebuffer_);
    colorTexture_ = MakeColorTexture(samples_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                           samples_ ? GL_TEXTURE_2D_MULTISAMPLE : GL_TEXTURE_2D, colorTexture_, 0);
    if (Parameters().EnableAutoDepthStencil) {
        glGenRenderbuffers(1, &depthBuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
        const bool d16 = Parameters().AutoDepthStencilFormat == D3DFMT_D16;
        const GLenum format = d16 ? GL_DEPTH_COMPONENT16 : GL_DEPTH24_STENCIL8;
        if (samples_)
            glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples_, format, width_, height_);
        else
            glRenderbufferStorage(GL_RENDERBUFFER, format, width_, height_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER,
                                  d16 ? GL_DEPTH_ATTACHMENT : GL_DEPTH_STENCIL_ATTACHMENT,
                                  GL_RENDERBUFFER, depthBuffer_);
    }
    bool ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    ok = ok && MakePresentPrograms();
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
    // An X8R8G8B8 buffer's alpha is 1 from the start and nothing writes it after.
    cache_.ColorMask(0xF);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

void GlDevice::ClearBuffers(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                            DWORD stencil) {
    if (recordFrames_) {
        FrameEvent event;
        event.kind = FrameEvent::Kind::Clear;
        event.flags = flags;
        event.color = color;
        event.z = z;
        event.rects.assign(rects, rects + count);
        RecordEvent(std::move(event));
    }
    cache_.BindFramebuffer(framebuffer_);
    glStateDirty_ = true;  // the clear changes the masks and the scissor test
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        // A clear writes every channel the back buffer has, whatever COLORWRITEENABLE says.
        const Rgba c = ColorOf(color);
        cache_.ColorMask(alphaWritable_ ? 0xF : 0x7);
        glClearColor(c.r, c.g, c.b, c.a);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        cache_.DepthMask(true);  // a clear writes depth whatever ZWRITEENABLE says
        glClearDepth(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_STENCIL) {
        glClearStencil(static_cast<GLint>(stencil));
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    if (count == 0) {
        cache_.Enable(GL_SCISSOR_TEST, false);
        glClear(mask);
        CheckErrors("Clear");
        return;
    }
    // Rectangles are in Direct3D's top-left coordinates, which the back buffer's rows follow;
    // each is clipped to the back buffer, and an empty or inverted one clears nothing.
    cache_.Enable(GL_SCISSOR_TEST, true);
    for (DWORD i = 0; i < count; ++i) {
        const D3DRECT& r = rects[i];
        const long x1 = std::max<long>(r.x1, 0), y1 = std::max<long>(r.y1, 0);
        const long x2 = std::min<long>(r.x2, width_), y2 = std::min<long>(r.y2, height_);
        if (x2 <= x1 || y2 <= y1) continue;
        cache_.Scissor(static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2 - x1),
                       static_cast<int>(y2 - y1));
        glClear(mask);
    }
    CheckErrors("Clear");
}

void GlDevice::SetOverlayLine(std::string text) {
    if (!overlay_) overlay_ = std::make_unique<OverlayLine>();
    overlay_->SetText(std::move(text));
}

void GlDevice::DrawOverlay(int windowWidth, int windowHeight) {
    if (!overlay_ || overlay_->Empty()) return;
    // Below the program's lowest text line of the frame, or where a fourth line of 14 would go.
    const LONG top = lastTextBottom_ > 0 ? lastTextBottom_ : 42;
    overlay_->Draw(cache_, windowWidth, windowHeight, static_cast<float>(top),
                   static_cast<float>(windowHeight) / static_cast<float>(height_));
    glStateDirty_ = true;
}

void GlDevice::SetPresentObserver(void (*observer)(void*, GlDevice&), void* context) {
    presentObserver_ = observer;
    presentContext_ = context;
}

std::unique_ptr<d3d9::BackendObject> GlDevice::CreateShaderObject(const DWORD* code,
                                                                  d3d9::ShaderStage stage) {
    return GlShader::Create(*this, code, stage);
}

void GlDevice::ForgetShader(std::uint64_t shaderId) {
    for (auto it = shaderPrograms_.begin(); it != shaderPrograms_.end();) {
        const auto& [key, vertex, pixel] = it->first;
        if (vertex == shaderId || pixel == shaderId) {
            cache_.DeleteProgram(it->second.id);
            it = shaderPrograms_.erase(it);
        } else {
            ++it;
        }
    }
    // The last draw's program may have been one of them.
    lastProgram_ = nullptr;
}

}  // namespace gl
