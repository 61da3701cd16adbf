// The platform's overlay line (see gl_overlay.h): glyphs from the D3DX font rasteriser, drawn
// as quads with alpha blending in window pixels, top row first.
#include "platform/gl/gl_overlay.h"

#include <vector>

#include "platform/gl/gl_cache.h"
#include "platform/gl/gl_errors.h"
#include "platform/gl/gl_ffp.h"

namespace gl {
namespace {

// Window pixels, top row 0, to the window's clip space (its rows run up).
constexpr char kVertex[] = R"(#version 330 core
layout(location = 0) in vec2 aPixel;
layout(location = 1) in vec2 aUv;
uniform vec2 uTarget;
out vec2 vUv;
void main() {
    vUv = aUv;
    gl_Position = vec4(2.0 * aPixel.x / uTarget.x - 1.0, 1.0 - 2.0 * aPixel.y / uTarget.y, 0.0, 1.0);
}
)";

// Cyan, apart from the program's yellow and red lines.
constexpr char kFragment[] = R"(#version 330 core
in vec2 vUv;
uniform sampler2D uAtlas;
layout(location = 0) out vec4 fragColor;
void main() { fragColor = vec4(0.0, 1.0, 1.0, texture(uAtlas, vUv).r); }
)";

}  // namespace

void OverlayLine::Free(GlCache& cache) {
    cache.DeleteProgram(program_);
    cache.DeleteTexture(texture_);
    cache.DeleteSampler(sampler_);
    cache.DeleteBuffer(buffer_);
    cache.DeleteVertexArray(vao_);
    program_ = texture_ = sampler_ = buffer_ = vao_ = 0;
}

bool OverlayLine::Make(GlCache& cache) {
    if (program_) return true;
    if (failed_) return false;
    atlas_ = d3dx::RasteriseFont("Verdana", 14, 400, false);
    program_ = atlas_ ? LinkProgram(kVertex, kFragment, "overlay line") : 0;
    if (!program_) {
        failed_ = true;
        return false;
    }
    target_ = glGetUniformLocation(program_, "uTarget");
    cache.UseProgram(program_);
    glUniform1i(glGetUniformLocation(program_, "uAtlas"), 0);
    glGenTextures(1, &texture_);
    cache.BindTexture(0, GL_TEXTURE_2D, texture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, atlas_->width, atlas_->height, 0, GL_RED,
                 GL_UNSIGNED_BYTE, atlas_->coverage.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glGenSamplers(1, &sampler_);
    glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glGenVertexArrays(1, &vao_);
    cache.BindVertexArray(vao_);
    glGenBuffers(1, &buffer_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 16, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 16, reinterpret_cast<const void*>(8));
    return true;
}

void OverlayLine::Draw(GlCache& cache, int windowWidth, int windowHeight, float top, float scaleY) {
    if (text_.empty() || windowWidth <= 0 || windowHeight <= 0 || !Make(cache)) return;
    const d3dx::FontAtlas& a = *atlas_;
    std::vector<float> vertices;
    float pen = 2.0f;
    const float baseline = top * scaleY + static_cast<float>(a.ascent);
    for (char ch : text_) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 128 || !a.glyphs[c].advance) c = '?';
        const d3dx::Glyph& g = a.glyphs[c];
        if (g.width && g.height) {
            const float x = pen + static_cast<float>(g.left),
                        y = baseline - static_cast<float>(g.top);
            const float w = static_cast<float>(g.width), h = static_cast<float>(g.height);
            const float u0 = static_cast<float>(g.x) / static_cast<float>(a.width);
            const float v0 = static_cast<float>(g.y) / static_cast<float>(a.height);
            const float u1 = (static_cast<float>(g.x) + w) / static_cast<float>(a.width);
            const float v1 = (static_cast<float>(g.y) + h) / static_cast<float>(a.height);
            const float quad[6][4] = {{x, y, u0, v0},         {x + w, y, u1, v0},
                                      {x + w, y + h, u1, v1}, {x, y, u0, v0},
                                      {x + w, y + h, u1, v1}, {x, y + h, u0, v1}};
            vertices.insert(vertices.end(), &quad[0][0], &quad[0][0] + 24);
        }
        pen += static_cast<float>(g.advance);
    }
    if (vertices.empty()) return;
    cache.UseProgram(program_);
    glUniform2f(target_, static_cast<float>(windowWidth), static_cast<float>(windowHeight));
    cache.Enable(GL_SCISSOR_TEST, false);
    cache.Enable(GL_DEPTH_TEST, false);
    cache.Enable(GL_CULL_FACE, false);
    cache.PolygonMode(GL_FILL);
    cache.Enable(GL_BLEND, true);
    cache.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    cache.BlendEquation(GL_FUNC_ADD);
    cache.ColorMask(0xF);
    cache.BindTexture(0, GL_TEXTURE_2D, texture_);
    cache.BindSampler(0, sampler_);
    cache.BindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)),
                 vertices.data(), GL_STREAM_DRAW);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / 4));
    cache.CountDraw();
    CheckErrors("the overlay line");
}

}  // namespace gl
