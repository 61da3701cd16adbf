// The OpenGL backend's resolve and present (part of IDirect3DDevice9::Present): the
// multisampled back buffer is averaged into a single-sampled picture, which is drawn to the
// window's client area, scaled and with its first row at the top. Both are a full-target
// triangle with programs of ours rather than glBlitFramebuffer: a driver that compiles its own
// blit shaders at first use (Mesa's llvmpipe spends most of the first frame's time there) then
// runs programs that its shader cache keeps from one run to the next. The result is the blit's:
// each pixel the mean of its samples, and the picture sampled bilinearly where the window's size
// differs. Where it does not, which is nearly always, one pass reads each pixel's samples and
// writes the window's pixel: no resolved copy, no filtering, as cheap per frame as the blits.
#include <cstdio>
#include <string>

#include "platform/gl/gl_device.h"
#include "platform/gl/gl_errors.h"

namespace gl {
namespace {

// Covers the target with one triangle, with no vertex attributes; vUv runs 0 to 1 over it.
constexpr char kFullTargetVertex[] = R"(#version 330 core
out vec2 vUv;
void main() {
    vec2 corner = vec2(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0);
    vUv = corner * 0.5 + 0.5;
    gl_Position = vec4(corner, 0.0, 1.0);
}
)";

// Writes each pixel of the target from the back buffer's pixel at the same place, or, with
// FLIP, the window's pixel (x, y) from the back buffer's (x, height - 1 - y): the back buffer's
// first row is the top one. With samples, their mean. The sample count is written into the
// source, so that the driver unrolls the loop.
std::string FetchFragment(int samples, bool flip) {
    std::string source = "#version 330 core\n#define SAMPLES " + std::to_string(samples) + "\n";
    if (flip) source += "#define FLIP\n";
    return source + R"(
#if SAMPLES > 0
uniform sampler2DMS uPicture;
#else
uniform sampler2D uPicture;
#endif
uniform int uHeight;
out vec4 oColor;
void main() {
#ifdef FLIP
    ivec2 at = ivec2(int(gl_FragCoord.x), uHeight - 1 - int(gl_FragCoord.y));
#else
    ivec2 at = ivec2(gl_FragCoord.xy);
#endif
#if SAMPLES > 0
    vec4 sum = texelFetch(uPicture, at, 0);
    for (int i = 1; i < SAMPLES; ++i) sum += texelFetch(uPicture, at, i);
    oColor = sum / float(SAMPLES);
#else
    oColor = texelFetch(uPicture, at, 0);
#endif
}
)";
}

// Another size: the resolved picture, scaled bilinearly.
constexpr char kPresentFragment[] = R"(#version 330 core
uniform sampler2D uPicture;
in vec2 vUv;
out vec4 oColor;
void main() {
    oColor = texture(uPicture, vec2(vUv.x, 1.0 - vUv.y));
}
)";

}  // namespace

// Links one of the full-target programs, with its uniforms set; 0 when the driver refuses it.
GLuint GlDevice::LinkFullTargetProgram(const std::string& fragment, const char* name) {
    const GLuint program = LinkProgram(kFullTargetVertex, fragment, name);
    if (!program) return 0;
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "uPicture"), 0);
    glUniform1i(glGetUniformLocation(program, "uHeight"), height_);
    glUseProgram(0);
    cache_.Invalidate();
    return program;
}

// Only the same-size present is made with the device: the resolve target and program and the
// scaled present are made when first needed (a read-back, another window size), as each costs a
// software driver milliseconds of the start-up.
bool GlDevice::MakePresentPrograms() {
    presentSameSizeProgram_ =
        LinkFullTargetProgram(FetchFragment(samples_, true), "present at the same size");
    if (!presentSameSizeProgram_) return false;
    glGenVertexArrays(1, &emptyVao_);
    if (!samples_) SetScaledFiltering(colorTexture_);
    return true;
}

// The colour texture of the back buffer or of the resolve target: multisampled or not, so that
// the resolve and the present can read it with programs of ours.
GLuint GlDevice::MakeColorTexture(int samples) {
    GLuint id = 0;
    glGenTextures(1, &id);
    if (samples) {
        glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, id);
        glTexImage2DMultisample(GL_TEXTURE_2D_MULTISAMPLE, samples, GL_RGBA8, width_, height_,
                                GL_TRUE);
        glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, 0);
    } else {
        glBindTexture(GL_TEXTURE_2D, id);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width_, height_, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    return id;
}

// The scaled present samples the picture bilinearly, as a linear blit scales it.
void GlDevice::SetScaledFiltering(GLuint picture) {
    glBindTexture(GL_TEXTURE_2D, picture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    cache_.Invalidate();
}

// The single-sampled picture that the multisampled back buffer resolves into, and the program
// that resolves it; false where the driver refuses either (said once).
bool GlDevice::MakeResolveTarget() {
    if (resolveProgram_) return true;
    if (resolveFailed_) return false;
    resolveTexture_ = MakeColorTexture(0);
    SetScaledFiltering(resolveTexture_);
    glGenFramebuffers(1, &resolveFramebuffer_);
    cache_.BindFramebuffer(resolveFramebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, resolveTexture_, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE)
        resolveProgram_ = LinkFullTargetProgram(FetchFragment(samples_, false), "resolve");
    if (!resolveProgram_) {
        resolveFailed_ = true;
        std::fprintf(stderr, "GL: cannot make the %dx%d resolve target\n", width_, height_);
        return false;
    }
    return true;
}

// Draws the full-target triangle into the framebuffer and viewport bound, with only the state
// it needs; the next draw of the device sets its own state again.
void GlDevice::DrawFullTarget(GLuint program, GLenum textureTarget, GLuint texture) {
    cache_.Enable(GL_SCISSOR_TEST, false);
    cache_.Enable(GL_DEPTH_TEST, false);
    cache_.Enable(GL_CULL_FACE, false);
    cache_.Enable(GL_BLEND, false);
    cache_.PolygonMode(GL_FILL);
    cache_.ColorMask(0xF);
    cache_.UseProgram(program);
    cache_.BindVertexArray(emptyVao_);
    cache_.BindTexture(0, textureTarget, texture);
    cache_.BindSampler(0, 0);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    cache_.CountDraw();
    glStateDirty_ = true;
}

bool GlDevice::ResolveBackBuffer() {
    if (!samples_) return true;
    if (!MakeResolveTarget()) return false;
    cache_.BindFramebuffer(resolveFramebuffer_);
    cache_.Viewport(0, 0, width_, height_);
    DrawFullTarget(resolveProgram_, GL_TEXTURE_2D_MULTISAMPLE, colorTexture_);
    return true;
}

void GlDevice::PresentBackBuffer() {
    // The whole back buffer, scaled to the client area.
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    const bool sameSize = w == width_ && h == height_;
    if (!sameSize && !presentProgram_ && !presentFailed_) {
        presentProgram_ = LinkFullTargetProgram(kPresentFragment, "present");
        presentFailed_ = !presentProgram_;  // tried once: a refused program is said once
    }
    const bool scaled = !sameSize && presentProgram_ && ResolveBackBuffer();
    cache_.BindFramebuffer(0);
    cache_.Viewport(0, 0, w, h);
    if (sameSize) {
        DrawFullTarget(presentSameSizeProgram_,
                       samples_ ? GL_TEXTURE_2D_MULTISAMPLE : GL_TEXTURE_2D, colorTexture_);
    } else if (scaled) {
        DrawFullTarget(presentProgram_, GL_TEXTURE_2D, samples_ ? resolveTexture_ : colorTexture_);
    }
    if (recordFrames_) {
        // The frame just drawn is the one a probe replays from now on.
        lastFrame_ = std::move(frame_);
        frame_ = {};
        snapshot_.reset();
        lastTextBottom_ = textBottom_;
        textBottom_ = 0;
    }
    DrawOverlay(w, h);
    SDL_GL_SwapWindow(window_);
    CheckErrors("Present");
    // An observer (the snapshot tool, the benchmarks) sees the frame once it is presented; a
    // read-back there reads the back buffer, which the swap leaves as it was.
    if (presentObserver_) presentObserver_(presentContext_, *this);
}

std::vector<std::uint32_t> GlDevice::ReadBackBuffer() {
    if (!ResolveBackBuffer()) return {};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width_) * height_);
    cache_.BindFramebuffer(samples_ ? resolveFramebuffer_ : framebuffer_);
    glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
    CheckErrors("reading the back buffer");
    return pixels;
}

}  // namespace gl
