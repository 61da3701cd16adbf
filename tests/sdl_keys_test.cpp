// SDL key events become the key messages and virtual-key codes Win32 would send, on every
// keyboard layout.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_platform.h"

namespace {

SDL_KeyboardEvent Key(Uint32 type, SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod = 0,
                      Uint8 repeat = 0) {
    SDL_KeyboardEvent e{};
    e.type = type;
    e.repeat = repeat;
    e.keysym.sym = sym;
    e.keysym.scancode = scancode;
    e.keysym.mod = mod;
    return e;
}

struct KeyCase {
    const char* name;
    SDL_KeyboardEvent event;
    UINT message;
    WPARAM vk;
    LPARAM lParam;
};

constexpr LPARAM kUpBits = KF_REPEAT_BIT | KF_UP_BIT;

TEST(SdlKeys, KeyEventsBecomeWin32KeyMessages) {
    const KeyCase cases[] = {
        {"letter", Key(SDL_KEYDOWN, SDLK_w, SDL_SCANCODE_W), WM_KEYDOWN, 'W', 1},
        {"letter up", Key(SDL_KEYUP, SDLK_w, SDL_SCANCODE_W), WM_KEYUP, 'W', 1 | kUpBits},
        {"auto-repeat", Key(SDL_KEYDOWN, SDLK_SPACE, SDL_SCANCODE_SPACE, 0, 1), WM_KEYDOWN,
         VK_SPACE, 1 | KF_REPEAT_BIT},
        {"digit", Key(SDL_KEYDOWN, SDLK_7, SDL_SCANCODE_7), WM_KEYDOWN, '7', 1},
        {"return", Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN), WM_KEYDOWN, VK_RETURN, 1},
        {"escape", Key(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE), WM_KEYDOWN, VK_ESCAPE, 1},
        {"arrow is extended", Key(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT), WM_KEYDOWN, VK_LEFT,
         1 | (LPARAM{1} << 24)},
        {"function key", Key(SDL_KEYDOWN, SDLK_F5, SDL_SCANCODE_F5), WM_KEYDOWN, VK_F1 + 4, 1},
        {"F10 is a system key", Key(SDL_KEYDOWN, SDLK_F10, SDL_SCANCODE_F10), WM_SYSKEYDOWN, VK_F10,
         1},
        {"with Alt", Key(SDL_KEYDOWN, SDLK_m, SDL_SCANCODE_M, KMOD_LALT), WM_SYSKEYDOWN, 'M',
         1 | KF_ALTDOWN_BIT},
        {"Alt+F4", Key(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT), WM_SYSKEYDOWN, VK_F4,
         1 | KF_ALTDOWN_BIT},
        {"Alt itself", Key(SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT), WM_SYSKEYDOWN,
         VK_MENU, 1 | KF_ALTDOWN_BIT},
        {"Ctrl+Alt is not a system key",
         Key(SDL_KEYDOWN, SDLK_m, SDL_SCANCODE_M, KMOD_LALT | KMOD_LCTRL), WM_KEYDOWN, 'M',
         1 | KF_ALTDOWN_BIT},
        {"shift", Key(SDL_KEYDOWN, SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, KMOD_RSHIFT), WM_KEYDOWN,
         VK_SHIFT, 1},
        {"right ctrl is extended", Key(SDL_KEYDOWN, SDLK_RCTRL, SDL_SCANCODE_RCTRL), WM_KEYDOWN,
         VK_CONTROL, 1 | (LPARAM{1} << 24)},
        {"punctuation", Key(SDL_KEYDOWN, SDLK_COMMA, SDL_SCANCODE_COMMA), WM_KEYDOWN, 0xBC, 1},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        const sdl::KeyMessage m = sdl::TranslateKey(c.event);
        EXPECT_EQ(m.message, c.message);
        EXPECT_EQ(m.vk, c.vk);
        EXPECT_EQ(m.lParam, c.lParam);
    }
}

struct LayoutCase {
    const char* name;
    SDL_Keycode typed;  // what the layout types on the key
    SDL_Scancode position;
    bool latinLayout;
    WPARAM vk;
};

TEST(SdlKeys, LetterAndDigitKeysGetTheirCodesAsWin32LayoutsGiveThem) {
    const LayoutCase cases[] = {
        // US: as typed.
        {"us W", SDLK_w, SDL_SCANCODE_W, true, 'W'},
        {"us 7", SDLK_7, SDL_SCANCODE_7, true, '7'},
        // French AZERTY: letters follow the layout, the digit row keeps its digits, the comma
        // where US has M is a comma, and the key where US has ';' types 'm'.
        {"fr Z on the W key", SDLK_z, SDL_SCANCODE_W, true, 'Z'},
        {"fr A on the Q key", SDLK_a, SDL_SCANCODE_Q, true, 'A'},
        {"fr Q on the A key", SDLK_q, SDL_SCANCODE_A, true, 'Q'},
        {"fr & on the 1 key", SDLK_AMPERSAND, SDL_SCANCODE_1, true, '1'},
        {"fr e-acute on the 2 key", 0xE9, SDL_SCANCODE_2, true, '2'},
        {"fr minus on the 6 key", SDLK_MINUS, SDL_SCANCODE_6, true, '6'},
        {"fr comma on the M key", SDLK_COMMA, SDL_SCANCODE_M, true, 0xBC},
        {"fr M on the ; key", SDLK_m, SDL_SCANCODE_SEMICOLON, true, 'M'},
        // German QWERTZ: Y and Z swap.
        {"de Z on the Y key", SDLK_z, SDL_SCANCODE_Y, true, 'Z'},
        {"de Y on the Z key", SDLK_y, SDL_SCANCODE_Z, true, 'Y'},
        {"de u-umlaut on a letter key of a Latin layout", 0xFC, SDL_SCANCODE_U, true, 'U'},
        // Russian and Greek: the US codes by position.
        {"ru tse on the W key", 0x446, SDL_SCANCODE_W, false, 'W'},
        {"ru ef on the A key", 0x444, SDL_SCANCODE_A, false, 'A'},
        {"ru yeru on the S key", 0x44B, SDL_SCANCODE_S, false, 'S'},
        {"ru ve on the D key", 0x432, SDL_SCANCODE_D, false, 'D'},
        {"ru soft sign on the M key", 0x44C, SDL_SCANCODE_M, false, 'M'},
        {"ru ka on the R key", 0x43A, SDL_SCANCODE_R, false, 'R'},
        {"ru ghe on the U key", 0x433, SDL_SCANCODE_U, false, 'U'},
        {"ru be on the comma key", 0x431, SDL_SCANCODE_COMMA, false, 0xBC},
        {"ru digit", SDLK_1, SDL_SCANCODE_1, false, '1'},
        {"gr final sigma on the W key", 0x3C2, SDL_SCANCODE_W, false, 'W'},
        {"gr semicolon on the Q key", SDLK_SEMICOLON, SDL_SCANCODE_Q, false, 'Q'},
        // A letter key the layout names nothing for still has its place.
        {"unnamed letter key", SDL_SCANCODE_TO_KEYCODE(SDL_SCANCODE_R), SDL_SCANCODE_R, true, 'R'},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sdl::VirtualKeyOf(c.typed, c.position, c.latinLayout), c.vk);
    }
}

TEST(SdlKeys, KeysWithoutAVirtualKeyCodeAreDropped) {
    EXPECT_EQ(sdl::TranslateKey(Key(SDL_KEYDOWN, SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY)).message,
              0u);
}

}  // namespace
