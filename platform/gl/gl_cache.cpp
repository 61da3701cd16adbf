// The compare-then-call cache of OpenGL state (see gl_cache.h).
#include "platform/gl/gl_cache.h"

namespace gl {

int GlCache::EnableSlot(GLenum cap) const {
    switch (cap) {
        case GL_DEPTH_TEST:
            return 0;
        case GL_CULL_FACE:
            return 1;
        case GL_BLEND:
            return 2;
        case GL_MULTISAMPLE:
            return 3;
        case GL_SCISSOR_TEST:
            return 4;
        default:
            return 5;
    }
}

void GlCache::Enable(GLenum cap, bool on) {
    const int slot = EnableSlot(cap);
    if (slot < 5 && enabled_[slot] == static_cast<std::int8_t>(on)) return;
    if (slot < 5) enabled_[slot] = static_cast<std::int8_t>(on);
    on ? glEnable(cap) : glDisable(cap);
    ++counts.enable;
}

void GlCache::DepthFunc(GLenum f) {
    if (depthFunc_ == f) return;
    depthFunc_ = f;
    glDepthFunc(f);
    ++counts.depthFunc;
}

void GlCache::DepthMask(bool on) {
    if (depthMask_ == static_cast<int>(on)) return;
    depthMask_ = on;
    glDepthMask(on ? GL_TRUE : GL_FALSE);
    ++counts.depthMask;
}

void GlCache::CullFace(GLenum face) {
    if (cullFace_ == face) return;
    cullFace_ = face;
    glCullFace(face);
    ++counts.cullFace;
}

void GlCache::PolygonMode(GLenum mode) {
    if (polygonMode_ == mode) return;
    polygonMode_ = mode;
    glPolygonMode(GL_FRONT_AND_BACK, mode);
    ++counts.polygonMode;
}

void GlCache::BlendFunc(GLenum src, GLenum dst) {
    if (blendSrc_ == src && blendDst_ == dst) return;
    blendSrc_ = src;
    blendDst_ = dst;
    glBlendFunc(src, dst);
    ++counts.blendFunc;
}

void GlCache::BlendEquation(GLenum mode) {
    if (blendEquation_ == mode) return;
    blendEquation_ = mode;
    glBlendEquation(mode);
    ++counts.blendEquation;
}

void GlCache::BlendColor(std::uint32_t argb) {
    if (blendColorKnown_ && blendColor_ == argb) return;
    blendColorKnown_ = true;
    blendColor_ = argb;
    const auto channel = [argb](int shift) {
        return static_cast<float>((argb >> shift) & 0xFF) / 255.0f;
    };
    glBlendColor(channel(16), channel(8), channel(0), channel(24));
    ++counts.blendColor;
}

void GlCache::ColorMask(std::uint32_t bits) {
    bits &= 0xF;
    if (colorMask_ == bits) return;
    colorMask_ = bits;
    glColorMask(bits & 1 ? GL_TRUE : GL_FALSE, bits & 2 ? GL_TRUE : GL_FALSE,
                bits & 4 ? GL_TRUE : GL_FALSE, bits & 8 ? GL_TRUE : GL_FALSE);
    ++counts.colorMask;
}

void GlCache::UseProgram(GLuint program) {
    if (program_ == program) return;
    program_ = program;
    glUseProgram(program);
    ++counts.useProgram;
}

void GlCache::BindVertexArray(GLuint vao) {
    if (vao_ == vao) return;
    vao_ = vao;
    glBindVertexArray(vao);
    ++counts.bindVertexArray;
}

void GlCache::BindTexture(int unit, GLenum target, GLuint texture) {
    if (unit < 0 || unit >= kUnits) return;
    if (textureKnown_[unit] && textures_[unit] == texture && textureTargets_[unit] == target)
        return;
    textureKnown_[unit] = true;
    textures_[unit] = texture;
    textureTargets_[unit] = target;
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    glBindTexture(target, texture);
    ++counts.bindTexture;
}

void GlCache::BindSampler(int unit, GLuint sampler) {
    if (unit < 0 || unit >= kUnits) return;
    if (samplerKnown_[unit] && samplers_[unit] == sampler) return;
    samplerKnown_[unit] = true;
    samplers_[unit] = sampler;
    glBindSampler(static_cast<GLuint>(unit), sampler);
    ++counts.bindSampler;
}

void GlCache::BindFramebuffer(GLuint framebuffer) {
    if (framebuffer_ == framebuffer) return;
    framebuffer_ = framebuffer;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    ++counts.bindFramebuffer;
}

void GlCache::Viewport(int x, int y, int w, int h) {
    if (viewport_[0] == x && viewport_[1] == y && viewport_[2] == w && viewport_[3] == h) return;
    viewport_[0] = x, viewport_[1] = y, viewport_[2] = w, viewport_[3] = h;
    glViewport(x, y, w, h);
    ++counts.viewport;
}

void GlCache::Scissor(int x, int y, int w, int h) {
    if (scissor_[0] == x && scissor_[1] == y && scissor_[2] == w && scissor_[3] == h) return;
    scissor_[0] = x, scissor_[1] = y, scissor_[2] = w, scissor_[3] = h;
    glScissor(x, y, w, h);
    ++counts.scissor;
}

void GlCache::DeleteTexture(GLuint texture) {
    if (!texture) return;
    glDeleteTextures(1, &texture);
    for (int unit = 0; unit < kUnits; ++unit) {
        if (textureKnown_[unit] && textures_[unit] == texture) textures_[unit] = 0;
    }
}

void GlCache::DeleteVertexArray(GLuint vao) {
    if (!vao) return;
    glDeleteVertexArrays(1, &vao);
    if (vao_ == vao) vao_ = 0;
}

void GlCache::DeleteProgram(GLuint program) {
    if (!program) return;
    glDeleteProgram(program);
    ++counts.deleteProgram;
    if (program_ == program) program_ = kUnknown;
}

void GlCache::DeleteSampler(GLuint sampler) {
    if (!sampler) return;
    glDeleteSamplers(1, &sampler);
    for (int unit = 0; unit < kUnits; ++unit) {
        if (samplerKnown_[unit] && samplers_[unit] == sampler) samplers_[unit] = 0;
    }
}

void GlCache::DeleteBuffer(GLuint buffer) {
    if (!buffer) return;
    glDeleteBuffers(1, &buffer);
}

void GlCache::DeleteFramebuffer(GLuint framebuffer) {
    if (!framebuffer) return;
    glDeleteFramebuffers(1, &framebuffer);
    if (framebuffer_ == framebuffer) framebuffer_ = 0;
}

void GlCache::Invalidate() {
    const GlCallCounts kept = counts;
    *this = GlCache{};
    counts = kept;
}

}  // namespace gl
