// The OpenGL backend's resolve and present (part of IDirect3DDevice9::Present): the
// multisampled back buffer is averaged into a single-sampled picture, which is drawn to the
// window's client area, scaled and with its first row at the top. Both are a full-target
// triangle with programs of ours rather than glBlitFramebuffer: a driver that compiles its own
// blit shaders at first use (Mesa's llvmpipe spends most of the first frame's time there) then
// runs programs that its shader cache keeps from one run to the next. The result is the blit's:
// each pixel the mean of its samples, and the picture sampled bilinearly where the window's size
// differs.
#include <cstdio>

#include "platform/gl/gl_device.h"

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

constexpr char kResolveFragment[] = R"(#version 330 core
uniform sampler2DMS uSamples;
uniform int uSampleCount;
out vec4 oColor;
void main() {
    ivec2 at = ivec2(gl_FragCoord.xy);
    vec4 sum = vec4(0.0);
    for (int i = 0; i < uSampleCount; ++i) sum += texelFetch(uSamples, at, i);
    oColor = sum / float(uSampleCount);
}
)";

// The back buffer's first row is its top one: the window's top row reads it.
constexpr char kPresentFragment[] = R"(#version 330 core
uniform sampler2D uPicture;
in vec2 vUv;
out vec4 oColor;
void main() {
    oColor = texture(uPicture, vec2(vUv.x, 1.0 - vUv.y));
}
)";

}  // namespace

bool GlDevice::MakePresentPrograms() {
    resolveProgram_ = LinkProgram(kFullTargetVertex, kResolveFragment, "resolve");
    presentProgram_ = LinkProgram(kFullTargetVertex, kPresentFragment, "present");
    if (!resolveProgram_ || !presentProgram_) return false;
    glUseProgram(resolveProgram_);
    glUniform1i(glGetUniformLocation(resolveProgram_, "uSamples"), 0);
    resolveSamples_ = glGetUniformLocation(resolveProgram_, "uSampleCount");
    glUniform1i(resolveSamples_, samples_);
    glUseProgram(presentProgram_);
    glUniform1i(glGetUniformLocation(presentProgram_, "uPicture"), 0);
    glUseProgram(0);
    cache_.Invalidate();
    glGenVertexArrays(1, &emptyVao_);
    // The picture is scaled with bilinear filtering, as a linear blit scales it.
    const GLuint picture = samples_ ? resolveTexture_ : colorTexture_;
    glBindTexture(GL_TEXTURE_2D, picture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
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

void GlDevice::ResolveBackBuffer() {
    if (!samples_) return;
    cache_.BindFramebuffer(resolveFramebuffer_);
    cache_.Viewport(0, 0, width_, height_);
    DrawFullTarget(resolveProgram_, GL_TEXTURE_2D_MULTISAMPLE, colorTexture_);
}

void GlDevice::PresentBackBuffer() {
    ResolveBackBuffer();
    if (presentObserver_) presentObserver_(presentContext_, *this);
    // The whole back buffer, scaled to the client area.
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    cache_.BindFramebuffer(0);
    cache_.Viewport(0, 0, w, h);
    DrawFullTarget(presentProgram_, GL_TEXTURE_2D, samples_ ? resolveTexture_ : colorTexture_);
    SDL_GL_SwapWindow(window_);
}

std::vector<std::uint32_t> GlDevice::ReadBackBuffer() {
    ResolveBackBuffer();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width_) * height_);
    cache_.BindFramebuffer(samples_ ? resolveFramebuffer_ : framebuffer_);
    glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
    return pixels;
}

}  // namespace gl
