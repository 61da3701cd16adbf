// The look and the keys of our own message box, apart from any window: where the text lines and
// the buttons go, the pixels that show them, and what each key and click does. Win32's box is
// the model: OK, or OK and Cancel for MB_OKCANCEL, the first button the default; Return and Space
// press the focused button, Escape presses Cancel (OK where there is no Cancel), Tab and the
// arrows move the focus, Alt+F4 and the close box give the close answer. Leaves out: icons, the
// other button sets (Yes/No, Retry, Abort), help, and copying the text with Ctrl+C.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dx/font_raster.h"
#include "platform/window_input.h"

namespace sdl {

struct BoxRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

struct BoxButton {
    std::string label;
    int answer = 0;
    BoxRect rect;
};

struct BoxLayout {
    int width = 0, height = 0;
    std::vector<std::string> lines;
    int textX = 0, textY = 0, lineHeight = 0;
    int bandTop = 0;                 // the top of the grey band that holds the buttons
    std::vector<BoxButton> buttons;  // left to right; the first is the default
};

// The answer of the box's close box and of Alt+F4: Cancel where there is one, else OK.
int CloseAnswerOf(UINT type);

// Lays out `text` (broken at line breaks and, past the widest line a box takes, between words)
// above the buttons that `type` asks for. Without a font the text takes room but shows nothing.
BoxLayout LayoutMessageBox(const d3dx::FontAtlas* font, const char* text, UINT type);

// The box's pixels, 0xAARRGGBB, width * height, top row first; the focus ring is on button
// `focus`.
std::vector<std::uint32_t> DrawMessageBox(const BoxLayout& layout, const d3dx::FontAtlas* font,
                                          int focus);

struct BoxKeyOutcome {
    int answer = 0;  // the button pressed, or 0: the box stays
    int focus = 0;   // the button with the focus afterwards
};
BoxKeyOutcome BoxKey(const BoxLayout& layout, int focus, SDL_Keycode key, Uint16 modifiers);

// The layout our own box takes for `text` and `type`, with the face it draws with.
BoxLayout OwnBoxLayout(const char* text, UINT type);

// The index of the button under a point of the box, or -1.
int ButtonAt(const BoxLayout& layout, int x, int y);

// The colours, for tests that read the pixels.
inline constexpr std::uint32_t kBoxText = 0xFF000000, kBoxBackground = 0xFFFFFFFF,
                               kBoxBand = 0xFFF0F0F0, kBoxButtonFace = 0xFFE1E1E1,
                               kBoxButtonEdge = 0xFFADADAD, kBoxFocusEdge = 0xFF0078D7;

}  // namespace sdl
