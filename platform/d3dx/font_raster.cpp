#include "platform/d3dx/font_raster.h"
#include "platform/d3dx/isolated_process.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace d3dx {
namespace {

constexpr int kFirst = 32, kLast = 126;
constexpr int kAtlasWidth = 512;

std::string FindFace(const std::string& name, int weight, bool italic) {
    // Where the warm-up is loading the configuration, wait for it: FcInit beside it finds no
    // configuration yet and loads a second one (3.3 ms against 0.9 at start-up).
    FinishBackgroundWork();
    FcInit();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(
        pattern, FC_FAMILY,
        reinterpret_cast<const FcChar8*>(name.empty() ? "sans-serif" : name.c_str()));
    // The fallback when the named face is missing: the system's sans face.
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        file = reinterpret_cast<const char*>(path);
    }
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return file;
}

}  // namespace

void WarmFonts() {
    FcInit();
}

void StartWarmUp() {
    StartBackgroundWork([] { WarmFonts(); });
}

std::optional<FontAtlas> RasteriseFont(const std::string& faceName, int height, int weight,
                                       bool italic) {
    FontAtlas atlas;
    atlas.file = FindFace(faceName, weight, italic);
    if (atlas.file.empty() || height == 0 || std::abs(height) > 512) return std::nullopt;
    FT_Library library;
    if (FT_Init_FreeType(&library)) return std::nullopt;
    FT_Face face;
    if (FT_New_Face(library, atlas.file.c_str(), 0, &face)) {
        FT_Done_FreeType(library);
        return std::nullopt;
    }
    // GDI's cell height is ascent + descent; the em size follows from the face's metrics.
    const double units = face->units_per_EM ? face->units_per_EM : 2048;
    const double cellUnits = std::max<double>(1, face->ascender - face->descender);
    const double em = height > 0 ? height * units / cellUnits : -height;
    FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72);
    atlas.ascent = static_cast<int>(std::lround(face->ascender * em / units));
    atlas.cellHeight = height > 0 ? height : static_cast<int>(std::lround(cellUnits * em / units));

    // Shelf packing into a fixed-width atlas.
    std::vector<std::vector<std::uint8_t>> bitmaps(128);
    int x = 1, y = 1, shelf = 0;
    for (int c = kFirst; c <= kLast; ++c) {
        if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_RENDER)) continue;
        const FT_GlyphSlot g = face->glyph;
        Glyph& glyph = atlas.glyphs[c];
        glyph.width = static_cast<int>(g->bitmap.width);
        glyph.height = static_cast<int>(g->bitmap.rows);
        glyph.left = g->bitmap_left;
        glyph.top = g->bitmap_top;
        glyph.advance = static_cast<int>((g->advance.x + 32) >> 6);
        if (x + glyph.width + 1 > kAtlasWidth) {
            x = 1;
            y += shelf + 1;
            shelf = 0;
        }
        glyph.x = x;
        glyph.y = y;
        x += glyph.width + 1;
        shelf = std::max(shelf, glyph.height);
        auto& bitmap = bitmaps[c];
        bitmap.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
        for (int row = 0; row < glyph.height; ++row) {
            const unsigned char* src =
                g->bitmap.buffer + static_cast<std::ptrdiff_t>(row) * g->bitmap.pitch;
            std::copy(src, src + glyph.width,
                      bitmap.begin() + static_cast<std::ptrdiff_t>(row) * glyph.width);
        }
    }
    atlas.width = kAtlasWidth;
    atlas.height = y + shelf + 1;
    atlas.coverage.assign(static_cast<std::size_t>(atlas.width) * atlas.height, 0);
    for (int c = kFirst; c <= kLast; ++c) {
        const Glyph& glyph = atlas.glyphs[c];
        for (int row = 0; row < glyph.height; ++row) {
            std::copy_n(bitmaps[c].begin() + static_cast<std::ptrdiff_t>(row) * glyph.width,
                        glyph.width,
                        atlas.coverage.begin() +
                            static_cast<std::ptrdiff_t>(glyph.y + row) * atlas.width + glyph.x);
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return atlas;
}

int TextWidth(const FontAtlas& atlas, const char* text, int count) {
    int width = 0;
    for (int i = 0; i < count && text[i] && text[i] != '\n'; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        width += atlas.glyphs[c < 128 && atlas.glyphs[c].advance ? c : '?'].advance;
    }
    return width;
}

}  // namespace d3dx
