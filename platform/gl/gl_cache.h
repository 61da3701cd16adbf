// The OpenGL calls the device makes for state, each behind a compare-then-call helper that
// remembers the last value and counts the calls that reached OpenGL, so that redundant changes
// are filtered and the filtering can be seen. Objects are deleted through the cache too, so that
// it forgets a deleted name: the driver may hand the same name out again, and a bind of the new
// object must then reach OpenGL.
#pragma once

#include <epoxy/gl.h>

#include <cstdint>

namespace gl {

// Calls that reached OpenGL, by kind.
struct GlCallCounts {
    std::uint64_t enable = 0;  // glEnable and glDisable
    std::uint64_t depthFunc = 0;
    std::uint64_t depthMask = 0;
    std::uint64_t cullFace = 0;
    std::uint64_t polygonMode = 0;
    std::uint64_t blendFunc = 0;
    std::uint64_t blendEquation = 0;
    std::uint64_t blendColor = 0;
    std::uint64_t colorMask = 0;
    std::uint64_t useProgram = 0;
    std::uint64_t bindVertexArray = 0;
    std::uint64_t bindTexture = 0;
    std::uint64_t bindSampler = 0;
    std::uint64_t bindFramebuffer = 0;
    std::uint64_t viewport = 0;
    std::uint64_t scissor = 0;
    std::uint64_t uniform = 0;
    std::uint64_t draw = 0;
    std::uint64_t deleteProgram = 0;
};

class GlCache {
  public:
    void Enable(GLenum cap, bool on);
    void DepthFunc(GLenum f);
    void DepthMask(bool on);
    void CullFace(GLenum face);
    void PolygonMode(GLenum mode);
    void BlendFunc(GLenum src, GLenum dst);
    void BlendEquation(GLenum mode);
    void BlendColor(std::uint32_t argb);
    // D3DRS_COLORWRITEENABLE's bits: red 1, green 2, blue 4, alpha 8.
    void ColorMask(std::uint32_t bits);
    void UseProgram(GLuint program);
    void BindVertexArray(GLuint vao);
    void BindTexture(int unit, GLenum target, GLuint texture);
    void BindSampler(int unit, GLuint sampler);
    void BindFramebuffer(GLuint framebuffer);
    void Viewport(int x, int y, int w, int h);
    void Scissor(int x, int y, int w, int h);
    void CountUniform() { ++counts.uniform; }
    void CountDraw() { ++counts.draw; }
    // Forgets what OpenGL holds, after code outside the cache has changed it.
    void Invalidate();

    // Deletes an object and forgets it wherever the cache remembers it bound: OpenGL unbinds a
    // deleted texture, vertex array, sampler or framebuffer (the binding reverts to 0), while a
    // deleted program stays in use until another is used, so its binding becomes unknown.
    // Buffer bindings are not cached (meshes bind their buffers as they are made).
    void DeleteTexture(GLuint texture);
    void DeleteVertexArray(GLuint vao);
    void DeleteProgram(GLuint program);
    void DeleteSampler(GLuint sampler);
    void DeleteBuffer(GLuint buffer);
    void DeleteFramebuffer(GLuint framebuffer);

    GlCallCounts counts;

  private:
    static constexpr int kUnits = 20;  // the pixel samplers', then the vertex samplers'
    // Each remembered value starts unknown, so that the first set always reaches OpenGL.
    static constexpr GLuint kUnknown = 0xFFFFFFFFu;
    int EnableSlot(GLenum cap) const;
    std::int8_t enabled_[6] = {-1, -1, -1, -1, -1, -1};
    GLenum depthFunc_ = kUnknown;
    int depthMask_ = -1;
    GLenum cullFace_ = kUnknown;
    GLenum polygonMode_ = kUnknown;
    GLenum blendSrc_ = kUnknown, blendDst_ = kUnknown;
    GLenum blendEquation_ = kUnknown;
    std::uint32_t blendColor_ = 0;
    bool blendColorKnown_ = false;
    std::uint32_t colorMask_ = kUnknown;
    GLuint program_ = kUnknown;
    GLuint vao_ = kUnknown;
    GLuint textures_[kUnits] = {};
    GLenum textureTargets_[kUnits] = {};
    bool textureKnown_[kUnits] = {};
    GLuint samplers_[kUnits] = {};
    bool samplerKnown_[kUnits] = {};
    GLuint framebuffer_ = kUnknown;
    int viewport_[4] = {-1, -1, -1, -1};
    int scissor_[4] = {-1, -1, -1, -1};
};

}  // namespace gl
