// The SDL2 platform: windows, the message queue's events, the cursor, message boxes and the
// system mouse over SDL2, installed beneath the Win32 semantics of platform/core.
#pragma once

#include <SDL2/SDL.h>

#include "platform/window_input.h"

namespace sdl {

// Starts SDL's video and installs the SDL window backend. Returns false (after a diagnostic
// line) when SDL cannot start; the program then runs without windows.
bool InstallSdlPlatform();

// The SDL window behind a Win32 window handle, or null.
SDL_Window* WindowOf(HWND window);

// True where no display can show a message box or a window (SDL's offscreen or dummy driver).
bool Headless();

// Wheel notches seen by the event pump, for the DirectInput mouse.
void NoteMouseWheel(int notches);

// How the platform turns an SDL key event into a Win32 key message.
struct KeyMessage {
    UINT message = 0;  // 0: the key has no virtual-key code and is dropped
    WPARAM vk = 0;
    LPARAM lParam = 0;
};
WPARAM VirtualKeyOf(SDL_Keycode key, SDL_Scancode scancode);
KeyMessage TranslateKey(const SDL_KeyboardEvent& key);

}  // namespace sdl
