// Pixel history on the OpenGL device (see gl_pixel_history.h): the frames it records while
// recording is on, and a probe's replay of the last presented one into targets of its own, a
// colour target of the back buffer's format and a 32-bit float one sharing one depth buffer.
// A probe leaves the device as it found it: the next draw works its state out again.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/gl/gl_device.h"
#include "platform/gl/gl_errors.h"
#include "platform/gl/gl_ffp_common.h"
#include "platform/gl/gl_translate.h"

namespace gl {
namespace {

// A frame with more events than this keeps its first ones (a probe says so).
constexpr std::size_t kMaxRecordedEvents = 100000;

std::uint32_t ArgbOf(const std::uint8_t rgba[4]) {
    return std::uint32_t{rgba[3]} << 24 | std::uint32_t{rgba[0]} << 16 |
           std::uint32_t{rgba[1]} << 8 | rgba[2];
}

}  // namespace

// ---- Recording ---------------------------------------------------------------------------------

void GlDevice::RecordFrames(bool on) {
    recordFrames_ = on;
    frame_ = {};
    lastFrame_ = {};
    snapshot_.reset();
}

void GlDevice::RecordEvent(FrameEvent event) {
    if (frame_.events.empty()) frame_.objectsGone = ObjectsGone();
    if (frame_.events.size() >= kMaxRecordedEvents) {
        frame_.truncated = true;
        return;
    }
    frame_.events.push_back(std::move(event));
}

void GlDevice::RecordText(std::string text, LONG bottom,
                          std::function<void(const ReplayPass&)> replay) {
    textBottom_ = std::max(textBottom_, bottom);
    FrameEvent event;
    event.kind = FrameEvent::Kind::Text;
    event.text = std::move(text);
    event.replayText = std::move(replay);
    RecordEvent(std::move(event));
}

// ---- Replay ------------------------------------------------------------------------------------

void GlDevice::InvalidateDrawState() {
    keyDirty_ = glStateDirty_ = true;
    samplerDirty_ = 0xFFFFFFFFu;
    ++transformGeneration_;
    ++lightGeneration_;
    ++materialGeneration_;
    ++stateGeneration_;
    UpdateNormalMatrix();
    lastProgram_ = nullptr;
    // Constant generations are the front end's; a program that drew another state's registers
    // takes them again.
    for (auto& [key, p] : ffpPrograms_) p.vertexConstantGeneration = p.pixelConstantGeneration = 0;
    for (auto& [key, p] : shaderPrograms_)
        p.vertexConstantGeneration = p.pixelConstantGeneration = 0;
}

void GlDevice::ApplyPass(const ReplayPass& p) {
    const DWORD* rs = DrawState().renderStates;
    cache_.BindFramebuffer(p.framebuffer);
    cache_.Enable(GL_SCISSOR_TEST, true);
    cache_.Scissor(p.x, p.y, 1, 1);
    const bool depth = rs[D3DRS_ZENABLE] != D3DZB_FALSE && depthBuffer_;
    if (depth && p.depthAlways) cache_.DepthFunc(GL_ALWAYS);
    if (depth && !p.keepDepthWrites) cache_.DepthMask(false);
    if (!p.keepBlend) cache_.Enable(GL_BLEND, false);
    if (p.colorMask >= 0) cache_.ColorMask(static_cast<std::uint32_t>(p.colorMask));
    glStateDirty_ = true;  // the next draw sets the device's own state again
}

bool GlDevice::MakeProbeTargets() {
    if (probeFailed_) return false;
    if (probeFramebuffer_) return true;
    TakeError();  // what an earlier call left is not the probe's
    const auto texture = [&](GLenum format, GLenum type) {
        GLuint id = 0;
        glGenTextures(1, &id);
        cache_.BindTexture(0, GL_TEXTURE_2D, id);
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width_, height_, 0, GL_RGBA,
                     type, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        return id;
    };
    probeColour_ = texture(GL_RGBA8, GL_UNSIGNED_BYTE);
    probeFloat_ = texture(GL_RGBA32F, GL_FLOAT);
    const bool d16 = Parameters().AutoDepthStencilFormat == D3DFMT_D16;
    if (depthBuffer_) {
        glGenRenderbuffers(1, &probeDepth_);
        glBindRenderbuffer(GL_RENDERBUFFER, probeDepth_);
        glRenderbufferStorage(GL_RENDERBUFFER, d16 ? GL_DEPTH_COMPONENT16 : GL_DEPTH24_STENCIL8,
                              width_, height_);
    }
    bool complete = true;
    for (auto [framebuffer, colour] : {std::pair{&probeFramebuffer_, probeColour_},
                                       std::pair{&probeFloatFramebuffer_, probeFloat_}}) {
        glGenFramebuffers(1, framebuffer);
        cache_.BindFramebuffer(*framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
        if (probeDepth_)
            glFramebufferRenderbuffer(GL_FRAMEBUFFER,
                                      d16 ? GL_DEPTH_ATTACHMENT : GL_DEPTH_STENCIL_ATTACHMENT,
                                      GL_RENDERBUFFER, probeDepth_);
        const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
        if (status != GL_FRAMEBUFFER_COMPLETE)
            std::fprintf(stderr, "GL: the probe's target is incomplete: 0x%x\n", status);
        complete = complete && status == GL_FRAMEBUFFER_COMPLETE;
    }
    glGenQueries(1, &probeQuery_);
    if (!complete || CheckErrors("making the probe's targets")) {
        probeFailed_ = true;
        std::fprintf(stderr, "GL: cannot make the pixel probe's %dx%d targets\n", width_, height_);
        return false;
    }
    return true;
}

void GlDevice::ReplayEvent(const FrameEvent& event, const ReplayPass& pass) {
    if (event.kind == FrameEvent::Kind::Text) {
        if (event.replayText) event.replayText(pass);
        return;
    }
    if (event.kind == FrameEvent::Kind::Clear) {
        // As the frame cleared: every channel the back buffer has, and depth.
        const bool inside =
            event.rects.empty() ||
            std::any_of(event.rects.begin(), event.rects.end(), [&](const D3DRECT& r) {
                return pass.x >= r.x1 && pass.x < r.x2 && pass.y >= r.y1 && pass.y < r.y2;
            });
        if (!inside) return;
        BindDrawTarget(pass.framebuffer);
        cache_.Enable(GL_SCISSOR_TEST, true);
        cache_.Scissor(pass.x, pass.y, 1, 1);
        GLbitfield mask = 0;
        if (event.flags & D3DCLEAR_TARGET) {
            const Rgba c = ColorOf(event.color);
            cache_.ColorMask(alphaWritable_ ? 0xF : 0x7);
            glClearColor(c.r, c.g, c.b, c.a);
            mask |= GL_COLOR_BUFFER_BIT;
        }
        if ((event.flags & D3DCLEAR_ZBUFFER) && probeDepth_) {
            cache_.DepthMask(true);
            glClearDepth(event.z);
            mask |= GL_DEPTH_BUFFER_BIT;
        }
        if (mask) glClear(mask);
        return;
    }
    replayState_ = event.state.get();
    InvalidateDrawState();
    DrawMesh(*event.mesh, event.attribute, &pass, nullptr);
}

GLuint GlDevice::QuerySamples(const FrameEvent& event, const ReplayPass& pass) {
    glBeginQuery(GL_SAMPLES_PASSED, probeQuery_);
    ReplayEvent(event, pass);
    glEndQuery(GL_SAMPLES_PASSED);
    GLuint samples = 0;
    glGetQueryObjectuiv(probeQuery_, GL_QUERY_RESULT, &samples);
    return samples;
}

void GlDevice::ResetProbe(int x, int y) {
    // Before the frame's first clear the pixel is black, alpha 1, its depth the far plane.
    BindDrawTarget(probeFramebuffer_);
    cache_.Enable(GL_SCISSOR_TEST, true);
    cache_.Scissor(x, y, 1, 1);
    cache_.ColorMask(0xF);
    cache_.DepthMask(true);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | (probeDepth_ ? GL_DEPTH_BUFFER_BIT : 0));
}

float GlDevice::ReadProbeDepth(int x, int y) {
    float depth = 1.0f;
    if (!probeDepth_) return depth;
    cache_.BindFramebuffer(probeFramebuffer_);
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

void GlDevice::RestoreProbePixel(int x, int y, GLuint framebuffer, const float colour[4],
                                 float depth) {
    BindDrawTarget(framebuffer);
    cache_.Enable(GL_SCISSOR_TEST, true);
    cache_.Scissor(x, y, 1, 1);
    cache_.ColorMask(0xF);
    glClearColor(colour[0], colour[1], colour[2], colour[3]);
    GLbitfield mask = GL_COLOR_BUFFER_BIT;
    if (probeDepth_) {
        cache_.DepthMask(true);
        glClearDepth(depth);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    glClear(mask);
}

std::uint32_t GlDevice::ReadProbe(int x, int y) {
    cache_.BindFramebuffer(probeFramebuffer_);
    std::uint8_t rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return ArgbOf(rgba);
}

std::uint32_t GlDevice::ReadFramePixel(int x, int y) {
    if (!ResolveBackBuffer()) return 0;
    cache_.BindFramebuffer(samples_ ? resolveFramebuffer_ : framebuffer_);
    std::uint8_t rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return ArgbOf(rgba);
}

std::string GlDevice::ShaderOf(const d3d9::DeviceState& state) const {
    std::string text = state.pixelShader ? state.pixelShader->Description() : "fixed function";
    if (state.vertexShader) text += " after " + state.vertexShader->Description();
    return text;
}

PixelHistory GlDevice::ProbePixel(int x, int y) {
    const auto start = std::chrono::steady_clock::now();
    PixelHistory h;
    h.x = x;
    h.y = y;
    const auto fail = [&](std::string why) {
        h.why = std::move(why);
        return h;
    };
    if (!recordFrames_) return fail("the device is not recording frames");
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return fail("outside the " + std::to_string(width_) + " x " + std::to_string(height_) +
                    " back buffer");
    if (lastFrame_.events.empty()) return fail("no recorded frame has been presented");
    if (lastFrame_.objectsGone != ObjectsGone())
        return fail("an object the frame drew with has been released since");
    if (!MakeProbeTargets()) return fail("the device cannot make the probe's targets");
    h.frame = ReadFramePixel(x, y);

    const ReplayPass real{probeFramebuffer_, x, y, false, true, true, -1};
    ResetProbe(x, y);
    std::uint32_t current = ReadProbe(x, y);
    int draw = 0;
    std::size_t lastWriterEvent = 0;
    for (std::size_t i = 0; i < lastFrame_.events.size(); ++i) {
        const FrameEvent& e = lastFrame_.events[i];
        if (e.kind == FrameEvent::Kind::Clear) {
            ReplayEvent(e, real);
            const std::uint32_t after = ReadProbe(x, y);
            if (after != current || (e.flags & D3DCLEAR_TARGET)) {
                PixelEvent pe;
                pe.kind = PixelEvent::Kind::Clear;
                pe.what = "Clear";
                pe.after = after;
                h.events.push_back(pe);
            }
            current = after;
            continue;
        }
        ++draw;
        const bool text = e.kind == FrameEvent::Kind::Text;
        // Covered at all: every fragment passes the depth test, nothing is written.
        if (!QuerySamples(e, {probeFramebuffer_, x, y, true, false, false, 0})) continue;
        PixelEvent pe;
        pe.kind = text ? PixelEvent::Kind::Text : PixelEvent::Kind::Mesh;
        pe.draw = draw;
        const DWORD* rs = text ? nullptr : e.state->renderStates;
        if (text) {
            pe.what = "text \"" + e.text + "\"";
            pe.shader = "ID3DXFont";
        } else {
            pe.what = platform::ObjectName(static_cast<ID3DXMesh*>(e.mesh)) + " subset " +
                      std::to_string(e.attribute);
            pe.shader = ShaderOf(*e.state);
        }
        const bool depthOn = rs && rs[D3DRS_ZENABLE] != D3DZB_FALSE && depthBuffer_;
        const bool passed =
            !depthOn || QuerySamples(e, {probeFramebuffer_, x, y, false, false, false, 0}) > 0;
        pe.depth = !depthOn ? PixelEvent::Depth::Off
                   : passed ? PixelEvent::Depth::Passed
                            : PixelEvent::Depth::Failed;
        if (passed) {
            // The colour as it comes out, every channel written (the draw's own depth writes
            // decide between its overlapping triangles), then the pixel as it was.
            const float depth = ReadProbeDepth(x, y);
            ReplayEvent(e, {probeFramebuffer_, x, y, false, true, false, 0xF});
            pe.colour = ReadProbe(x, y);
            const Rgba c = ColorOf(current);
            const float before[4] = {c.r, c.g, c.b, c.a};
            RestoreProbePixel(x, y, probeFramebuffer_, before, depth);
        }
        ReplayEvent(e, real);
        pe.after = ReadProbe(x, y);
        pe.produced = passed;
        current = pe.after;
        const DWORD writes = rs ? rs[D3DRS_COLORWRITEENABLE] & 0xF : 0xF;
        if (passed && writes) {
            h.lastWriter = static_cast<int>(h.events.size());
            lastWriterEvent = i;
        }
        h.events.push_back(pe);
    }
    h.replayed = current;
    if (h.lastWriter >= 0 && lastFrame_.events[lastWriterEvent].kind == FrameEvent::Kind::Mesh)
        ShaderValues(lastWriterEvent, x, y, h);
    if (lastFrame_.truncated)
        h.why = "the frame had more than " + std::to_string(kMaxRecordedEvents) +
                " draws; those after were not recorded";
    // The device's own state at the next draw, and its own target.
    replayState_ = nullptr;
    InvalidateDrawState();
    BindBackBuffer();
    CheckErrors("the pixel probe");
    h.ok = true;
    h.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return h;
}

}  // namespace gl
