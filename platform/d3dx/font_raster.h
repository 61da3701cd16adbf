// The D3DX font rasteriser: fontconfig finds the face by name (falling back to the system's
// default sans face), FreeType renders the printable ASCII glyphs into an 8-bit coverage atlas.
// A positive height is the cell height (ascent + descent), as GDI defines it; a negative one is
// the character height (the em size).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace d3dx {

struct Glyph {
    int x = 0, y = 0;           // top left in the atlas
    int width = 0, height = 0;  // of the bitmap
    int left = 0, top = 0;      // bitmap offset from the pen: right, and up from the baseline
    int advance = 0;            // pen advance in pixels
};

struct FontAtlas {
    std::string file;  // the face file used
    int cellHeight = 0;
    int ascent = 0;  // baseline below the cell's top
    int width = 0, height = 0;
    std::vector<std::uint8_t> coverage;  // width * height, top row first
    Glyph glyphs[128];                   // printable ASCII; others draw as '?'
};

// Returns nothing when no face can be found or loaded.
std::optional<FontAtlas> RasteriseFont(const std::string& faceName, int height, int weight,
                                       bool italic);

// Loads the font configuration ahead of the first font (it takes a while on a cold start).
void WarmFonts();
// Starts WarmFonts on a thread of its own, so that it overlaps the program's start-up; the
// decoders wait for it before they fork. Started once SDL has started: beside SDL_Init it slowed
// the start-up by 4 ms under X11. The compiler is not warmed here: it runs, and warms, in a
// worker process of its own (hlsl/compile_process.cpp), which a start-up whose shaders the
// compile cache answers never starts.
void StartWarmUp();

// The width in pixels of `text` (up to the first line break) in this atlas.
int TextWidth(const FontAtlas& atlas, const char* text, int count);

}  // namespace d3dx
