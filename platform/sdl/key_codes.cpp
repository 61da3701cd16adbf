// SDL keys to Win32 virtual-key codes and key messages, for every keyboard layout as Win32's
// layouts give them. A Latin layout (most letter keys type Latin letters: QWERTY, AZERTY, QWERTZ,
// Dvorak) gives each key that types a Latin letter that letter's code, wherever it sits (AZERTY's
// A key gives 'A'), and its punctuation keys the code of what they type (AZERTY's comma key gives
// VK_OEM_COMMA). A non-Latin layout (Russian, Greek) keeps the US layout's codes by position:
// the key where US has W gives 'W' whatever it types. The digit row gives its digits on every
// layout (AZERTY types "&é\"'(" there). Function and keypad keys follow their position.
// Keys pressed with Alt (and not Ctrl), and F10, become WM_SYSKEYDOWN/WM_SYSKEYUP, as Win32 sends
// them.
#include <utility>

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

// The US layout's punctuation codes by position, for non-Latin layouts.
constexpr std::pair<SDL_Scancode, WPARAM> kUsPunctuation[] = {
    {SDL_SCANCODE_SEMICOLON, 0xBA},  {SDL_SCANCODE_EQUALS, 0xBB},
    {SDL_SCANCODE_COMMA, 0xBC},      {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_PERIOD, 0xBE},     {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_GRAVE, 0xC0},      {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_BACKSLASH, 0xDC},  {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},
};

bool IsLatinLetter(SDL_Keycode key) {
    return key >= SDLK_a && key <= SDLK_z;
}

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

bool LayoutIsLatin() {
    int latin = 0;
    for (int s = SDL_SCANCODE_A; s <= SDL_SCANCODE_Z; ++s) {
        latin += IsLatinLetter(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(s)));
    }
    return latin * 2 > SDL_SCANCODE_Z - SDL_SCANCODE_A + 1;
}

WPARAM VirtualKeyOf(SDL_Keycode key, SDL_Scancode scancode, bool latinLayout) {
    if (IsLatinLetter(key)) {
        const int letter = 'A' + (key - SDLK_a);
        return static_cast<WPARAM>(letter);
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_0) {
        return scancode == SDL_SCANCODE_0 ? '0'
                                          : '1' + static_cast<WPARAM>(scancode - SDL_SCANCODE_1);
    }
    // A letter key that types no Latin letter: by position on a non-Latin layout, and on a Latin
    // one where it types a letter outside ASCII or nothing the layout names.
    const bool nonAscii = key >= 0x80 && !(key & SDLK_SCANCODE_MASK);
    const bool unnamed = key == SDLK_UNKNOWN || (key & SDLK_SCANCODE_MASK);
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z &&
        (!latinLayout || nonAscii || unnamed)) {
        return 'A' + static_cast<WPARAM>(scancode - SDL_SCANCODE_A);
    }
    if (!latinLayout) {
        for (const auto& [position, vk] : kUsPunctuation) {
            if (position == scancode) return vk;
        }
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        const int digit = '0' + (key - SDLK_0);
        return static_cast<WPARAM>(digit);
    }
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
    out.vk = VirtualKeyOf(key.keysym.sym, key.keysym.scancode, LayoutIsLatin());
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
