// Our own message box, apart from its window: the buttons each style gets, the lines the text
// breaks into, the pixels that show the text and the labels, and what each key does.
#include <gtest/gtest.h>

#include <optional>

#include "platform/sdl/message_box_layout.h"

namespace {

const d3dx::FontAtlas& Font() {
    static const std::optional<d3dx::FontAtlas> font = d3dx::RasteriseFont("Sans", 16, 400, false);
    if (!font) ADD_FAILURE() << "no sans face (fonts-dejavu-core)";
    return *font;
}

// Darkness (255 - grey) summed over a rectangle of the box, where the pixels are grey.
long Ink(const std::vector<std::uint32_t>& pixels, int width, const sdl::BoxRect& r,
         std::uint32_t background) {
    long ink = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
            ink += static_cast<long>(background & 0xFF) - static_cast<long>(p & 0xFF);
        }
    return ink;
}

// The coverage of a string's glyphs in the atlas: the ink it leaves when nothing overlaps.
long Coverage(const d3dx::FontAtlas& font, const std::string& text) {
    long sum = 0;
    for (unsigned char c : text) {
        const d3dx::Glyph& g = font.glyphs[c];
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                sum += font.coverage[static_cast<std::size_t>(g.y + y) * font.width + g.x + x];
    }
    return sum;
}

TEST(OwnMessageBox, EachStyleGetsItsButtonsAndItsCloseAnswer) {
    const sdl::BoxLayout ok = sdl::LayoutMessageBox(&Font(), "text", MB_OK | MB_ICONWARNING);
    ASSERT_EQ(ok.buttons.size(), 1u);
    EXPECT_EQ(ok.buttons[0].label, "OK");
    EXPECT_EQ(ok.buttons[0].answer, IDOK);
    EXPECT_EQ(sdl::CloseAnswerOf(MB_OK | MB_ICONINFORMATION), IDOK);

    const sdl::BoxLayout okCancel = sdl::LayoutMessageBox(&Font(), "text", MB_OKCANCEL);
    ASSERT_EQ(okCancel.buttons.size(), 2u);
    EXPECT_EQ(okCancel.buttons[0].label, "OK");
    EXPECT_EQ(okCancel.buttons[1].label, "Cancel");
    EXPECT_EQ(okCancel.buttons[1].answer, IDCANCEL);
    EXPECT_EQ(sdl::CloseAnswerOf(MB_OKCANCEL), IDCANCEL);
    // Side by side in the band, inside the box, the default first.
    const sdl::BoxRect a = okCancel.buttons[0].rect, b = okCancel.buttons[1].rect;
    EXPECT_LT(a.x + a.w, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_GE(a.y, okCancel.bandTop);
    EXPECT_LE(b.x + b.w, okCancel.width);
    EXPECT_LE(a.y + a.h, okCancel.height);
    EXPECT_EQ(sdl::ButtonAt(okCancel, b.x + b.w / 2, b.y + b.h / 2), 1);
    EXPECT_EQ(sdl::ButtonAt(okCancel, 2, 2), -1);
}

TEST(OwnMessageBox, TextBreaksAtLineBreaksAndBetweenWordsPastTheWidestLine) {
    EXPECT_EQ(sdl::LayoutMessageBox(&Font(), "bad PS code or the file doesn't exist!", MB_OK).lines,
              std::vector<std::string>{"bad PS code or the file doesn't exist!"});
    EXPECT_EQ(sdl::LayoutMessageBox(&Font(), "one\ntwo", MB_OK).lines,
              (std::vector<std::string>{"one", "two"}));
    std::string longText;
    for (int i = 0; i < 40; ++i)
        longText += (i ? " " : "") + std::string("word") + char('a' + i % 26);
    const sdl::BoxLayout layout = sdl::LayoutMessageBox(&Font(), longText.c_str(), MB_OK);
    ASSERT_GT(layout.lines.size(), 1u);
    std::string joined;
    for (const std::string& line : layout.lines) {
        EXPECT_LE(d3dx::TextWidth(Font(), line.c_str(), static_cast<int>(line.size())), 420);
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, longText);
    // The box grows with its lines.
    EXPECT_GT(layout.bandTop, sdl::LayoutMessageBox(&Font(), "x", MB_OK).bandTop);
}

TEST(OwnMessageBox, ThePixelsShowTheTextAndTheLabelsWithTheFocusRing) {
    const char* text = "Could not find texture map!";
    const sdl::BoxLayout layout = sdl::LayoutMessageBox(&Font(), text, MB_OKCANCEL);
    const std::vector<std::uint32_t> pixels = sdl::DrawMessageBox(layout, &Font(), 1);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(layout.width) * layout.height);
    // The text's ink is its glyphs' coverage, within the line's rectangle and nowhere else above
    // the band.
    const sdl::BoxRect line{layout.textX - 4, layout.textY, layout.width - layout.textX,
                            layout.lineHeight};
    const long textInk = Ink(pixels, layout.width, line, sdl::kBoxBackground);
    const long expected = Coverage(Font(), text);
    EXPECT_NEAR(textInk, expected, expected / 50.0);
    EXPECT_EQ(Ink(pixels, layout.width, {0, 0, layout.width, layout.bandTop}, sdl::kBoxBackground),
              textInk);
    // Each label inside its button.
    for (const sdl::BoxButton& b : layout.buttons) {
        SCOPED_TRACE(b.label);
        const sdl::BoxRect inside{b.rect.x + 2, b.rect.y + 2, b.rect.w - 4, b.rect.h - 4};
        // Black over the button's grey face darkens it by the grey's share of the coverage.
        const long labelInk = Ink(pixels, layout.width, inside, sdl::kBoxButtonFace);
        const long expectedLabel = Coverage(Font(), b.label) * (sdl::kBoxButtonFace & 0xFF) / 255;
        EXPECT_NEAR(labelInk, expectedLabel, expectedLabel / 50.0 + 1);
    }
    // The focus ring is on Cancel, the plain edge on OK.
    const auto at = [&](int x, int y) {
        return pixels[static_cast<std::size_t>(y) * layout.width + x];
    };
    EXPECT_EQ(at(layout.buttons[1].rect.x, layout.buttons[1].rect.y + 5), sdl::kBoxFocusEdge);
    EXPECT_EQ(at(layout.buttons[0].rect.x, layout.buttons[0].rect.y + 5), sdl::kBoxButtonEdge);
    // Another text of the same length draws other pixels.
    const sdl::BoxLayout other =
        sdl::LayoutMessageBox(&Font(), "Could not find texture mat?", MB_OKCANCEL);
    EXPECT_NE(sdl::DrawMessageBox(other, &Font(), 1), pixels);
}

struct KeyCase {
    const char* name;
    UINT type;
    int focus;
    SDL_Keycode key;
    Uint16 modifiers;
    int answer, focusAfter;
};

TEST(OwnMessageBox, KeysDoWhatTheyDoInWin32sBox) {
    const KeyCase cases[] = {
        {"Return presses OK", MB_OK, 0, SDLK_RETURN, 0, IDOK, 0},
        {"Escape gives OK where there is no Cancel", MB_OK, 0, SDLK_ESCAPE, 0, IDOK, 0},
        {"Escape presses Cancel", MB_OKCANCEL, 0, SDLK_ESCAPE, 0, IDCANCEL, 0},
        {"Return presses the focused button", MB_OKCANCEL, 1, SDLK_RETURN, 0, IDCANCEL, 1},
        {"Space presses the focused button", MB_OKCANCEL, 0, SDLK_SPACE, 0, IDOK, 0},
        {"keypad Enter", MB_OKCANCEL, 0, SDLK_KP_ENTER, 0, IDOK, 0},
        {"Tab moves the focus", MB_OKCANCEL, 0, SDLK_TAB, 0, 0, 1},
        {"Tab wraps", MB_OKCANCEL, 1, SDLK_TAB, 0, 0, 0},
        {"Shift+Tab moves back", MB_OKCANCEL, 0, SDLK_TAB, KMOD_LSHIFT, 0, 1},
        {"Right arrow", MB_OKCANCEL, 0, SDLK_RIGHT, 0, 0, 1},
        {"Left arrow", MB_OKCANCEL, 1, SDLK_LEFT, 0, 0, 0},
        {"Alt+F4 is the close box", MB_OKCANCEL, 0, SDLK_F4, KMOD_LALT, IDCANCEL, 0},
        {"F4 alone does nothing", MB_OKCANCEL, 0, SDLK_F4, 0, 0, 0},
        {"a letter does nothing", MB_OK, 0, SDLK_w, 0, 0, 0},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        const sdl::BoxLayout layout = sdl::LayoutMessageBox(&Font(), "text", c.type);
        const sdl::BoxKeyOutcome out = sdl::BoxKey(layout, c.focus, c.key, c.modifiers);
        EXPECT_EQ(out.answer, c.answer);
        EXPECT_EQ(out.focus, c.focusAfter);
    }
}

TEST(OwnMessageBox, WithoutAFontTheBoxStillHasItsButtonsAndItsRoom) {
    const sdl::BoxLayout layout = sdl::LayoutMessageBox(nullptr, "some words", MB_OKCANCEL);
    EXPECT_EQ(layout.buttons.size(), 2u);
    EXPECT_EQ(layout.lines, std::vector<std::string>{"some words"});
    const std::vector<std::uint32_t> pixels = sdl::DrawMessageBox(layout, nullptr, 0);
    EXPECT_EQ(Ink(pixels, layout.width, {0, 0, layout.width, layout.bandTop}, sdl::kBoxBackground),
              0);
}

}  // namespace
