// A line of text the platform draws in the window itself, after the present has copied the back
// buffer there and before the swap: the program's frame (the back buffer, what a probe and a
// snapshot read) never holds it. Its place is below the program's overlay lines, scaled with
// the back buffer to the window; its glyphs keep their size.
#pragma once

#include <epoxy/gl.h>

#include <optional>
#include <string>

#include "platform/d3dx/font_raster.h"

namespace gl {

class GlCache;

class OverlayLine {
  public:
    OverlayLine() = default;
    OverlayLine(const OverlayLine&) = delete;
    OverlayLine& operator=(const OverlayLine&) = delete;
    // Deletes its OpenGL objects through the cache; the device calls it before its context goes.
    void Free(GlCache& cache);

    void SetText(std::string text) { text_ = std::move(text); }
    bool Empty() const { return text_.empty(); }
    // Draws the line into the window's framebuffer, its top `top` back-buffer rows down;
    // `scaleY` is the window's height over the back buffer's.
    void Draw(GlCache& cache, int windowWidth, int windowHeight, float top, float scaleY);

  private:
    bool Make(GlCache& cache);
    std::string text_;
    std::optional<d3dx::FontAtlas> atlas_;
    bool failed_ = false;
    GLuint program_ = 0, texture_ = 0, sampler_ = 0, vao_ = 0, buffer_ = 0;
    GLint target_ = -1;
};

}  // namespace gl
