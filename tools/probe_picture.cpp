// The probe picture (see probe_picture.h).
#include "tools/probe_picture.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/d3dx/font_raster.h"

namespace snapshot {
namespace {

constexpr int kMargin = 8;
constexpr unsigned char kMark[3] = {255, 0, 255};  // magenta rings and numbers

void Blend(RgbPicture& p, int x, int y, const unsigned char* colour, int alpha) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height || alpha <= 0) return;
    unsigned char* at = &p.rgb[(static_cast<std::size_t>(y) * p.width + x) * 3];
    for (int c = 0; c < 3; ++c)
        at[c] = static_cast<unsigned char>((colour[c] * alpha + at[c] * (255 - alpha)) / 255);
}

// Draws `text` with its top left at (x, y); returns the pen's end.
int DrawText(RgbPicture& p, const d3dx::FontAtlas& font, int x, int y, const std::string& text,
             const unsigned char* colour) {
    const int baseline = y + font.ascent;
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 128 || !font.glyphs[c].advance) c = '?';
        const d3dx::Glyph& g = font.glyphs[c];
        for (int gy = 0; gy < g.height; ++gy) {
            for (int gx = 0; gx < g.width; ++gx) {
                const int alpha =
                    font.coverage[static_cast<std::size_t>(g.y + gy) * font.width + g.x + gx];
                Blend(p, x + g.left + gx, baseline - g.top + gy, colour, alpha);
            }
        }
        x += g.advance;
    }
    return x;
}

// A ring around the pixel, two pixels thick, with a gap where the pixel itself stays visible.
void Ring(RgbPicture& p, int cx, int cy) {
    for (int dy = -9; dy <= 9; ++dy) {
        for (int dx = -9; dx <= 9; ++dx) {
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r >= 6.0 && r <= 8.0) Blend(p, cx + dx, cy + dy, kMark, 255);
        }
    }
}

// The lines of `text`, each wrapped to `width` pixels at a space where it can be.
std::vector<std::string> Wrap(const d3dx::FontAtlas& font, const std::string& text, int width) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        while (d3dx::TextWidth(font, line.c_str(), static_cast<int>(line.size())) > width) {
            std::size_t cut = line.size();
            while (cut > 1 && d3dx::TextWidth(font, line.c_str(), static_cast<int>(cut)) > width)
                --cut;
            const std::size_t space = line.rfind(' ', cut);
            if (space != std::string::npos && space > 8) cut = space;
            out.push_back(line.substr(0, cut));
            line = "      " + line.substr(line[cut] == ' ' ? cut + 1 : cut);
        }
        out.push_back(line);
    }
    return out;
}

}  // namespace

RgbPicture ProbePicture(const RgbPicture& frame, const std::vector<std::pair<int, int>>& pixels,
                        const std::vector<std::string>& reports) {
    const std::optional<d3dx::FontAtlas> font =
        d3dx::RasteriseFont("DejaVu Sans Mono", 14, 400, false);
    std::vector<std::string> lines;
    if (font) {
        for (std::size_t i = 0; i < reports.size(); ++i) {
            const std::string text = std::to_string(i + 1) + ": " + reports[i];
            for (std::string& l : Wrap(*font, text, frame.width - 2 * kMargin))
                lines.push_back(std::move(l));
        }
    }
    const int lineHeight = font ? font->cellHeight : 0;
    RgbPicture p;
    p.width = frame.width;
    p.height = frame.height +
               (lines.empty() ? 0 : 2 * kMargin + lineHeight * static_cast<int>(lines.size()));
    p.rgb.assign(static_cast<std::size_t>(p.width) * p.height * 3, 24);
    std::copy(frame.rgb.begin(), frame.rgb.end(), p.rgb.begin());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const auto [x, y] = pixels[i];
        Ring(p, x, y);
        if (font)
            DrawText(p, *font, x + 10, y - 10 - font->ascent / 2, std::to_string(i + 1), kMark);
    }
    const unsigned char white[3] = {230, 230, 230};
    int y = frame.height + kMargin;
    for (const std::string& line : lines) {
        DrawText(p, *font, kMargin, y, line, line.empty() || line[0] == ' ' ? white : kMark);
        y += lineHeight;
    }
    return p;
}

}  // namespace snapshot
