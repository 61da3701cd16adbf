// SDL keys to Win32 virtual-key codes and key messages. Letters and digits follow the keyboard
// layout (as Win32's codes do); other keys follow their position. Keys pressed with Alt (and not
// Ctrl), and F10, become WM_SYSKEYDOWN/WM_SYSKEYUP, as Win32 sends them.
#include "platform/sdl/sdl_platform.h"

namespace sdl {
namespace {

struct KeyPair {
    SDL_Keycode key;
    WPARAM vk;
};

constexpr KeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},  {SDLK_TAB, VK_TAB},       {SDLK_RETURN, VK_RETURN},
    {SDLK_KP_ENTER, VK_RETURN}, {SDLK_LSHIFT, VK_SHIFT},  {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},   {SDLK_RCTRL, VK_CONTROL}, {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},       {SDLK_PAUSE, VK_PAUSE},   {SDLK_CAPSLOCK, VK_CAPITAL},
    {SDLK_ESCAPE, VK_ESCAPE},   {SDLK_SPACE, VK_SPACE},   {SDLK_PAGEUP, VK_PRIOR},
    {SDLK_PAGEDOWN, VK_NEXT},   {SDLK_END, VK_END},       {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},       {SDLK_UP, VK_UP},         {SDLK_RIGHT, VK_RIGHT},
    {SDLK_DOWN, VK_DOWN},       {SDLK_INSERT, VK_INSERT}, {SDLK_DELETE, VK_DELETE},
    {SDLK_LGUI, VK_LWIN},       {SDLK_RGUI, VK_RWIN},     {SDLK_SEMICOLON, 0xBA},
    {SDLK_EQUALS, 0xBB},        {SDLK_COMMA, 0xBC},       {SDLK_MINUS, 0xBD},
    {SDLK_PERIOD, 0xBE},        {SDLK_SLASH, 0xBF},       {SDLK_BACKQUOTE, 0xC0},
    {SDLK_LEFTBRACKET, 0xDB},   {SDLK_BACKSLASH, 0xDC},   {SDLK_RIGHTBRACKET, 0xDD},
    {SDLK_QUOTE, 0xDE},
};

// Keys that Win32 marks as extended (bit 24 of lParam).
bool IsExtended(SDL_Scancode s) {
    switch (s) {
        case SDL_SCANCODE_RCTRL:
        case SDL_SCANCODE_RALT:
        case SDL_SCANCODE_INSERT:
        case SDL_SCANCODE_DELETE:
        case SDL_SCANCODE_HOME:
        case SDL_SCANCODE_END:
        case SDL_SCANCODE_PAGEUP:
        case SDL_SCANCODE_PAGEDOWN:
        case SDL_SCANCODE_LEFT:
        case SDL_SCANCODE_RIGHT:
        case SDL_SCANCODE_UP:
        case SDL_SCANCODE_DOWN:
        case SDL_SCANCODE_KP_ENTER:
        case SDL_SCANCODE_KP_DIVIDE:
            return true;
        default:
            return false;
    }
}

}  // namespace

WPARAM VirtualKeyOf(SDL_Keycode key, SDL_Scancode scancode) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<WPARAM>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<WPARAM>('0' + (key - SDLK_0));
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
        return VK_F1 + static_cast<WPARAM>(scancode - SDL_SCANCODE_F1);
    }
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) {
        return VK_F1 + 12 + static_cast<WPARAM>(scancode - SDL_SCANCODE_F13);
    }
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
        return VK_NUMPAD0 + 1 + static_cast<WPARAM>(scancode - SDL_SCANCODE_KP_1);
    }
    if (scancode == SDL_SCANCODE_KP_0) return VK_NUMPAD0;
    for (const KeyPair& p : kNamedKeys) {
        if (p.key == key) return p.vk;
    }
    return 0;
}

KeyMessage TranslateKey(const SDL_KeyboardEvent& key) {
    KeyMessage out;
    out.vk = VirtualKeyOf(key.keysym.sym, key.keysym.scancode);
    if (!out.vk) return out;
    const bool up = key.type == SDL_KEYUP;
    const Uint16 mod = key.keysym.mod;
    // Alt itself, or a key with Alt held and Ctrl not, or F10, is a system key.
    const bool alt = (mod & KMOD_ALT) != 0 || out.vk == VK_MENU;
    const bool system = (alt && !(mod & KMOD_CTRL)) || out.vk == VK_F10;
    out.message = system ? (up ? WM_SYSKEYUP : WM_SYSKEYDOWN) : (up ? WM_KEYUP : WM_KEYDOWN);
    LPARAM l = 1;  // repeat count
    if (IsExtended(key.keysym.scancode)) l |= LPARAM{1} << 24;
    if (alt && !up) l |= KF_ALTDOWN_BIT;
    if (alt && up && out.vk != VK_MENU) l |= KF_ALTDOWN_BIT;
    if (up || key.repeat) l |= KF_REPEAT_BIT;  // the key was down before this message
    if (up) l |= KF_UP_BIT;
    out.lParam = l;
    return out;
}

}  // namespace sdl
