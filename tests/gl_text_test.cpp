// ID3DXFont::DrawTextA on the OpenGL device, headless: DT_CALCRECT measures without drawing,
// DT_CENTER and DT_RIGHT place the text in the rectangle, and DT_NOCLIP lets it leave the
// rectangle. Where the ink falls is read back from the pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "tests/gl_fixture.h"

namespace {

using test::kBackground;

constexpr D3DCOLOR kInk = 0xFFFFFFFF;
constexpr INT kHeight = 20;

// The smallest rectangle holding every pixel that is not the background, or an empty one.
struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};

class Text : public test::Drawing {
  protected:
    void SetUp() override {
        Drawing::SetUp();
        ASSERT_EQ(D3DXCreateFontA(device, kHeight, 0, FW_NORMAL, 0, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLEARTYPE_QUALITY, 0, "Verdana", &font_),
                  D3D_OK);
        Keep(font_);
        device->BeginScene();
    }
    void TearDown() override {
        device->EndScene();
        Drawing::TearDown();
    }
    INT DrawText(const char* text, RECT& rect, DWORD format) {
        pixels_.clear();
        return font_->DrawTextA(nullptr, text, -1, &rect, format, kInk);
    }
    Ink InkIn(int left, int top, int right, int bottom) {
        Ink ink;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (PixelAt(x, y) == kBackground) continue;
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x + 1);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y + 1);
            }
        }
        return ink;
    }
    // The width DT_CALCRECT gives `text`.
    int Width(const char* text) {
        RECT r{0, 0, 0, 0};
        DrawText(text, r, DT_CALCRECT);
        return r.right;
    }
    ID3DXFont* font_ = nullptr;
};

TEST_F(Text, CalcRectMeasuresAndDrawsNothing) {
    RECT one{100, 100, 100, 100};
    const INT height = DrawText("Hello", one, DT_CALCRECT);
    // A positive font height is the cell height: one line is that high.
    EXPECT_EQ(height, kHeight);
    EXPECT_EQ(one.left, 100);
    EXPECT_EQ(one.top, 100);
    EXPECT_EQ(one.bottom, 100 + kHeight);
    EXPECT_GT(one.right, 100 + 2 * 5);  // five glyphs of some width
    EXPECT_TRUE(InkIn(0, 0, 1000, 500).Empty());
    // Two lines: twice the height, as wide as the wider.
    RECT two{100, 100, 100, 100};
    EXPECT_EQ(DrawText("Hello\nHello, world", two, DT_CALCRECT), 2 * kHeight);
    EXPECT_EQ(two.bottom, 100 + 2 * kHeight);
    EXPECT_EQ(two.right - 100, Width("Hello, world"));
    EXPECT_TRUE(InkIn(0, 0, 1000, 500).Empty());
    // Drawn in the rectangle it measured, the text stays inside it.
    RECT drawn = one;
    EXPECT_EQ(DrawText("Hello", drawn, DT_LEFT | DT_TOP), kHeight);
    const Ink ink = InkIn(0, 0, 1000, 500);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.left, one.left);
    EXPECT_LE(ink.right, one.right);
    EXPECT_GE(ink.top, one.top);
    EXPECT_LE(ink.bottom, one.bottom);
}

TEST_F(Text, CenterAndRightPlaceTheLineInTheRectangle) {
    const int w = Width("Hello");
    RECT centred{0, 200, 1000, 240};
    DrawText("Hello", centred, DT_CENTER);
    // The line's box is (1000 - w) / 2 to (1000 + w) / 2; the ink lies within it, give or take
    // a pixel of bearing.
    const Ink c = InkIn(0, 200, 1000, 240);
    ASSERT_FALSE(c.Empty());
    EXPECT_GE(c.left, (1000 - w) / 2 - 1);
    EXPECT_LE(c.right, (1000 + w) / 2 + 1);
    EXPECT_LE(std::abs((c.left + c.right) / 2 - 500), 3);
    RECT right{0, 300, 700, 340};
    DrawText("Hello", right, DT_RIGHT);
    const Ink r = InkIn(0, 300, 1000, 340);
    ASSERT_FALSE(r.Empty());
    EXPECT_LE(r.right, 700);
    EXPECT_GE(r.right, 700 - 4);
    EXPECT_GE(r.left, 700 - w - 1);
    EXPECT_LE(r.left, 700 - w + 4);
    // Left, the default, for comparison.
    RECT left{200, 400, 700, 440};
    DrawText("Hello", left, 0);
    const Ink l = InkIn(0, 400, 1000, 440);
    ASSERT_FALSE(l.Empty());
    EXPECT_GE(l.left, 200);
    EXPECT_LE(l.left, 204);
}

TEST_F(Text, NoClipLetsTheTextLeaveTheRectangle) {
    RECT clipped{600, 100, 610, 100 + kHeight};
    DrawText("WWWWWWWW", clipped, 0);
    const Ink inside = InkIn(590, 90, 1000, 140);
    ASSERT_FALSE(inside.Empty());
    EXPECT_GE(inside.left, 600);
    EXPECT_LE(inside.right, 610);
    RECT unclipped{600, 300, 610, 300 + kHeight};
    DrawText("WWWWWWWW", unclipped, DT_NOCLIP);
    const Ink outside = InkIn(590, 290, 1000, 340);
    ASSERT_FALSE(outside.Empty());
    EXPECT_GT(outside.right, 650);
}

}  // namespace
