// SDL key events become the key messages and virtual-key codes Win32 would send.
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

TEST(SdlKeys, KeysWithoutAVirtualKeyCodeAreDropped) {
    EXPECT_EQ(sdl::TranslateKey(Key(SDL_KEYDOWN, SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY)).message,
              0u);
}

}  // namespace
