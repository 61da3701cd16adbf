// ID3DXFont on the OpenGL device: glyphs from the D3DX font rasteriser in one atlas texture,
// drawn as quads with alpha blending at the rectangle's top left, clipped to the rectangle, in
// the given colour. Supports DT_LEFT/TOP, DT_CENTER, DT_RIGHT, DT_NOCLIP and DT_CALCRECT;
// text is drawn solid whatever the fill mode, as D3DX's sprite sets it. A device that records
// frames keeps each draw's quads so that a pixel probe can replay it.
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/d3dx/font_raster.h"
#include "platform/gl/gl_device.h"
#include "platform/gl/gl_errors.h"
#include "platform/gl/gl_translate.h"

namespace gl {
namespace {

// Pixel coordinates, top row 0, straight to the back buffer's clip space (rows run down).
constexpr char kVertex[] = R"(#version 330 core
layout(location = 0) in vec2 aPixel;
layout(location = 1) in vec2 aUv;
uniform vec2 uTarget;
out vec2 vUv;
void main() {
    vUv = aUv;
    gl_Position = vec4(2.0 * aPixel.x / uTarget.x - 1.0, 2.0 * aPixel.y / uTarget.y - 1.0, 0.0, 1.0);
}
)";

constexpr char kFragment[] = R"(#version 330 core
in vec2 vUv;
uniform sampler2D uAtlas;
uniform vec4 uColor;
layout(location = 0) out vec4 fragColor;
void main() { fragColor = vec4(uColor.rgb, uColor.a * texture(uAtlas, vUv).r); }
)";

class GlFont final : public d3d9::Font {
  public:
    GlFont(GlDevice* device, d3dx::FontAtlas atlas) : device_(device), atlas_(std::move(atlas)) {
        program_ = LinkProgram(kVertex, kFragment, "text");
        target_ = glGetUniformLocation(program_, "uTarget");
        color_ = glGetUniformLocation(program_, "uColor");
        device_->Cache().UseProgram(program_);
        glUniform1i(glGetUniformLocation(program_, "uAtlas"), 0);
        glGenTextures(1, &texture_);
        device_->Cache().BindTexture(0, GL_TEXTURE_2D, texture_);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, atlas_.width, atlas_.height, 0, GL_RED,
                     GL_UNSIGNED_BYTE, atlas_.coverage.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glGenSamplers(1, &sampler_);
        glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glGenVertexArrays(1, &vao_);
        device_->Cache().BindVertexArray(vao_);
        glGenBuffers(1, &buffer_);
        glBindBuffer(GL_ARRAY_BUFFER, buffer_);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 16, nullptr);
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 16, reinterpret_cast<const void*>(8));
        device_->Cache().BindVertexArray(0);
    }

    ~GlFont() override {
        if (device_) DetachFromDevice();
    }

  private:
    void DetachFromDevice() override {
        GlCache& cache = device_->Cache();
        cache.DeleteProgram(program_);
        cache.DeleteTexture(texture_);
        cache.DeleteSampler(sampler_);
        cache.DeleteBuffer(buffer_);
        cache.DeleteVertexArray(vao_);
        device_ = nullptr;
    }

    INT DrawText(const char* pString, int length, RECT& rect, DWORD Format,
                 D3DCOLOR Color) override {
        RECT* pRect = &rect;
        // Lay the glyphs out line by line from the rectangle's top left.
        vertices_.clear();
        int lines = 1, widest = 0;
        for (int start = 0; start <= length;) {
            int end = start;
            while (end < length && pString[end] != '\n') ++end;
            const int width = d3dx::TextWidth(atlas_, pString + start, end - start);
            widest = std::max(widest, width);
            int pen = pRect->left;
            if (Format & DT_CENTER)
                pen = (pRect->left + pRect->right - width) / 2;
            else if (Format & DT_RIGHT)
                pen = pRect->right - width;
            const int baseline = pRect->top + (lines - 1) * atlas_.cellHeight + atlas_.ascent;
            for (int i = start; i < end; ++i) {
                unsigned char c = static_cast<unsigned char>(pString[i]);
                if (c >= 128 || !atlas_.glyphs[c].advance) c = '?';
                const d3dx::Glyph& g = atlas_.glyphs[c];
                AddQuad(static_cast<float>(pen + g.left), static_cast<float>(baseline - g.top), g);
                pen += g.advance;
            }
            if (end >= length) break;
            start = end + 1;
            ++lines;
        }
        const int height = lines * atlas_.cellHeight;
        if (Format & DT_CALCRECT) {
            pRect->right = pRect->left + widest;
            pRect->bottom = pRect->top + height;
            return height;
        }
        if (device_->RecordsFrames() && !vertices_.empty()) {
            device_->RecordText(
                std::string(pString, static_cast<std::size_t>(length)), pRect->top + height,
                [this, vertices = vertices_, rect = *pRect, Format, Color](const ReplayPass& pass) {
                    Draw(vertices, rect, Format, Color, &pass);
                });
        }
        Draw(vertices_, *pRect, Format, Color, nullptr);
        return height;
    }

    void AddQuad(float x, float y, const d3dx::Glyph& g) {
        if (!g.width || !g.height) return;
        const float w = static_cast<float>(g.width), h = static_cast<float>(g.height);
        const float u0 = static_cast<float>(g.x) / atlas_.width,
                    v0 = static_cast<float>(g.y) / atlas_.height;
        const float u1 = (g.x + w) / atlas_.width, v1 = (g.y + h) / atlas_.height;
        const float quad[6][4] = {{x, y, u0, v0}, {x + w, y, u1, v0},     {x + w, y + h, u1, v1},
                                  {x, y, u0, v0}, {x + w, y + h, u1, v1}, {x, y + h, u0, v1}};
        vertices_.insert(vertices_.end(), &quad[0][0], &quad[0][0] + 24);
    }

    // Draws the quads into the back buffer, or under a probe's pass into its target at its one
    // pixel (gl_pixel_history.h).
    void Draw(const std::vector<float>& vertices, const RECT& rect, DWORD format, D3DCOLOR color,
              const ReplayPass* pass) {
        if (vertices.empty() || !device_) return;
        GlCache& cache = device_->Cache();
        const bool clip = !(format & DT_NOCLIP);
        if (pass && clip &&
            (pass->x < rect.left || pass->x >= rect.right || pass->y < rect.top ||
             pass->y >= rect.bottom))
            return;
        if (pass) {
            device_->BindDrawTarget(pass->framebuffer);
        } else {
            device_->BindBackBuffer();
        }
        cache.UseProgram(program_);
        glUniform2f(target_, static_cast<float>(device_->Width()),
                    static_cast<float>(device_->Height()));
        const Rgba c = ColorOf(color);
        glUniform4f(color_, c.r, c.g, c.b, c.a);
        cache.CountUniform();
        cache.Enable(GL_DEPTH_TEST, false);
        cache.Enable(GL_CULL_FACE, false);
        cache.PolygonMode(GL_FILL);
        cache.Enable(GL_BLEND, !pass || pass->keepBlend);
        cache.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        cache.BlendEquation(GL_FUNC_ADD);
        const std::uint32_t mask = device_->AlphaWritable() ? 0xF : 0x7;
        cache.ColorMask(pass && pass->colorMask >= 0 ? static_cast<std::uint32_t>(pass->colorMask)
                                                     : mask);
        cache.Enable(GL_SCISSOR_TEST, clip || pass);
        // The back buffer's rows run down from the top, as the rectangle's do.
        if (pass) {
            cache.Scissor(pass->x, pass->y, 1, 1);
        } else if (clip) {
            cache.Scissor(rect.left, rect.top,
                          std::max(0, static_cast<int>(rect.right - rect.left)),
                          std::max(0, static_cast<int>(rect.bottom - rect.top)));
        }
        cache.BindTexture(0, GL_TEXTURE_2D, texture_);
        cache.BindSampler(0, sampler_);
        cache.BindVertexArray(vao_);
        glBindBuffer(GL_ARRAY_BUFFER, buffer_);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)),
                     vertices.data(), GL_STREAM_DRAW);
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / 4));
        cache.CountDraw();
        CheckErrors("ID3DXFont::DrawTextA");
    }

    GlDevice* device_;
    d3dx::FontAtlas atlas_;
    GLuint program_ = 0, texture_ = 0, sampler_ = 0, vao_ = 0, buffer_ = 0;
    GLint target_ = -1, color_ = -1;
    std::vector<float> vertices_;
};

}  // namespace

ID3DXFont* GlDevice::CreateFontObject(const d3dx::FontDesc& desc) {
    auto atlas = d3dx::RasteriseFont(desc.faceName, desc.height, static_cast<int>(desc.weight),
                                     desc.italic != FALSE);
    if (!atlas) {
        std::fprintf(stderr, "GL: no font face for '%s'\n", desc.faceName.c_str());
        return nullptr;
    }
    return new GlFont(this, std::move(*atlas));
}

}  // namespace gl
