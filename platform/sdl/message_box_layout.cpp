// Our own message box's layout, pixels and keys (see the header). Sizes follow Win32's box at
// 96 DPI: 75 x 23 buttons in a band along the bottom, the text 16 pixels in from the edges.
#include "platform/sdl/message_box_layout.h"

#include <algorithm>
#include <cstring>

namespace sdl {
namespace {

constexpr int kMargin = 16;
constexpr int kMaxTextWidth = 420;
constexpr int kMinWidth = 220;
constexpr int kButtonWidth = 75, kButtonHeight = 23, kButtonGap = 8, kBandPadding = 10;
constexpr int kNoFontAdvance = 7, kNoFontLineHeight = 16;

int Width(const d3dx::FontAtlas* font, const std::string& text) {
    if (!font) return static_cast<int>(text.size()) * kNoFontAdvance;
    return d3dx::TextWidth(*font, text.c_str(), static_cast<int>(text.size()));
}

// Breaks one paragraph between words so that each line fits; a word wider than a line stays
// whole on a line of its own.
void Wrap(const d3dx::FontAtlas* font, const std::string& paragraph,
          std::vector<std::string>& lines) {
    std::string line;
    std::size_t start = 0;
    while (start <= paragraph.size()) {
        std::size_t end = paragraph.find(' ', start);
        if (end == std::string::npos) end = paragraph.size();
        const std::string word = paragraph.substr(start, end - start);
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && Width(font, candidate) > kMaxTextWidth) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
        start = end + 1;
    }
    lines.push_back(line);
}

struct Canvas {
    int width, height;
    std::vector<std::uint32_t>& pixels;

    void Fill(const BoxRect& r, std::uint32_t colour) {
        for (int y = std::max(0, r.y); y < std::min(height, r.y + r.h); ++y)
            for (int x = std::max(0, r.x); x < std::min(width, r.x + r.w); ++x)
                pixels[static_cast<std::size_t>(y) * width + x] = colour;
    }
    void Frame(const BoxRect& r, std::uint32_t colour, int thickness) {
        Fill({r.x, r.y, r.w, thickness}, colour);
        Fill({r.x, r.y + r.h - thickness, r.w, thickness}, colour);
        Fill({r.x, r.y, thickness, r.h}, colour);
        Fill({r.x + r.w - thickness, r.y, thickness, r.h}, colour);
    }
    // Black text over whatever is there, blended by the glyphs' coverage.
    void Text(const d3dx::FontAtlas& font, const std::string& text, int x, int top) {
        const int baseline = top + font.ascent;
        for (unsigned char c : text) {
            const d3dx::Glyph& g = font.glyphs[c < 128 && font.glyphs[c].advance ? c : '?'];
            for (int row = 0; row < g.height; ++row) {
                const int py = baseline - g.top + row;
                if (py < 0 || py >= height) continue;
                for (int col = 0; col < g.width; ++col) {
                    const int px = x + g.left + col;
                    if (px < 0 || px >= width) continue;
                    const unsigned cover =
                        font.coverage[static_cast<std::size_t>(g.y + row) * font.width + g.x + col];
                    std::uint32_t& p = pixels[static_cast<std::size_t>(py) * width + px];
                    const auto blend = [&](int shift) {
                        const unsigned under = (p >> shift) & 0xFF;
                        const unsigned over = (kBoxText >> shift) & 0xFF;
                        return ((under * (255 - cover) + over * cover + 127) / 255) << shift;
                    };
                    p = 0xFF000000u | blend(16) | blend(8) | blend(0);
                }
            }
            x += g.advance;
        }
    }
};

}  // namespace

int CloseAnswerOf(UINT type) {
    return (type & 0xF) == MB_OKCANCEL ? IDCANCEL : IDOK;
}

BoxLayout LayoutMessageBox(const d3dx::FontAtlas* font, const char* text, UINT type) {
    BoxLayout layout;
    const std::string all = text ? text : "";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = all.find('\n', start);
        Wrap(font, all.substr(start, end == std::string::npos ? end : end - start), layout.lines);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    layout.lineHeight = font ? std::max(font->cellHeight, 1) : kNoFontLineHeight;
    int textWidth = 0;
    for (const std::string& line : layout.lines) textWidth = std::max(textWidth, Width(font, line));

    layout.buttons.push_back({"OK", IDOK, {}});
    if ((type & 0xF) == MB_OKCANCEL) layout.buttons.push_back({"Cancel", IDCANCEL, {}});
    int buttonsWidth = 0;
    for (BoxButton& b : layout.buttons) {
        b.rect.w = std::max(kButtonWidth, Width(font, b.label) + 2 * kButtonGap);
        b.rect.h = kButtonHeight;
        buttonsWidth += b.rect.w + (buttonsWidth ? kButtonGap : 0);
    }

    layout.width = std::max({kMinWidth, textWidth + 2 * kMargin, buttonsWidth + 2 * kMargin});
    layout.textX = kMargin;
    layout.textY = kMargin + 4;
    layout.bandTop =
        layout.textY + static_cast<int>(layout.lines.size()) * layout.lineHeight + kMargin + 4;
    layout.height = layout.bandTop + kButtonHeight + 2 * kBandPadding;
    // Right-aligned in the band, the default first.
    int x = layout.width - kMargin - buttonsWidth;
    for (BoxButton& b : layout.buttons) {
        b.rect.x = x;
        b.rect.y = layout.bandTop + kBandPadding;
        x += b.rect.w + kButtonGap;
    }
    return layout;
}

std::vector<std::uint32_t> DrawMessageBox(const BoxLayout& layout, const d3dx::FontAtlas* font,
                                          int focus) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(layout.width) * layout.height,
                                      kBoxBackground);
    Canvas canvas{layout.width, layout.height, pixels};
    canvas.Fill({0, layout.bandTop, layout.width, layout.height - layout.bandTop}, kBoxBand);
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
        const BoxButton& b = layout.buttons[i];
        canvas.Fill(b.rect, kBoxButtonFace);
        const bool focused = static_cast<int>(i) == focus;
        canvas.Frame(b.rect, focused ? kBoxFocusEdge : kBoxButtonEdge, focused ? 2 : 1);
        if (font) {
            const int labelX = b.rect.x + (b.rect.w - Width(font, b.label)) / 2;
            const int labelTop = b.rect.y + (b.rect.h - font->cellHeight) / 2;
            canvas.Text(*font, b.label, labelX, labelTop);
        }
    }
    if (font) {
        for (std::size_t i = 0; i < layout.lines.size(); ++i) {
            canvas.Text(*font, layout.lines[i], layout.textX,
                        layout.textY + static_cast<int>(i) * layout.lineHeight);
        }
    }
    return pixels;
}

BoxKeyOutcome BoxKey(const BoxLayout& layout, int focus, SDL_Keycode key, Uint16 modifiers) {
    const int count = static_cast<int>(layout.buttons.size());
    BoxKeyOutcome out{0, focus};
    const auto answerOf = [&](int answer) {
        for (const BoxButton& b : layout.buttons)
            if (b.answer == answer) return answer;
        return IDOK;
    };
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_SPACE:
            out.answer = layout.buttons[static_cast<std::size_t>(focus)].answer;
            break;
        case SDLK_ESCAPE:
            out.answer = answerOf(IDCANCEL);
            break;
        case SDLK_F4:
            if (modifiers & KMOD_ALT) out.answer = answerOf(IDCANCEL);
            break;
        case SDLK_TAB:
            out.focus = (focus + ((modifiers & KMOD_SHIFT) ? count - 1 : 1)) % count;
            break;
        case SDLK_LEFT:
        case SDLK_UP:
            out.focus = (focus + count - 1) % count;
            break;
        case SDLK_RIGHT:
        case SDLK_DOWN:
            out.focus = (focus + 1) % count;
            break;
        default:
            break;
    }
    return out;
}

int ButtonAt(const BoxLayout& layout, int x, int y) {
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
        if (layout.buttons[i].rect.Contains(x, y)) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace sdl
