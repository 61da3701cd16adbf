// The SDL2 platform: windows, the message queue's events, the cursor, message boxes and the
// system mouse over SDL2, installed beneath the Win32 semantics of platform/core.
#pragma once

#include <functional>

#include <SDL2/SDL.h>

#include <string>

#include "platform/window_input.h"

namespace sdl {

// True where SDL_VIDEODRIVER, DISPLAY or WAYLAND_DISPLAY names somewhere to show windows.
bool DisplayNamed();
// The line printed when there is no display to show the program on.
extern const char kNoDisplayMessage[];

// The Wayland compositor SDL is about to start on, where it would try Wayland first.
struct WaylandCompositor {
    bool reached = false;       // SDL would try Wayland, and a compositor answered
    bool seat = false;          // it offers a seat (a keyboard or a pointer)
    bool serverFrames = false;  // it draws window frames (xdg-decoration)
};
WaylandCompositor ProbeWaylandCompositor();

// Starts SDL's video and installs the SDL window backend. Returns false (after a diagnostic
// line) when SDL cannot start, or when it could only start the offscreen or dummy driver that
// SDL_VIDEODRIVER did not ask for.
bool InstallSdlPlatform();

// The SDL window behind a Win32 window handle, or null.
SDL_Window* WindowOf(HWND window);
// The window an input or window event is addressed to (0 for other events).
Uint32 EventWindowId(const SDL_Event& e);

// True where no display can show a message box or a window (SDL's offscreen or dummy driver).
bool Headless();

// ---- The DirectInput mouse -------------------------------------------------------------------

// Where the mouse's movement comes from. Automatic: XInput 2 raw motion on X11, SDL's relative
// motion on Wayland, nothing but scripted motion headless, the cursor's movement elsewhere.
enum class MouseSource { Automatic, RawX11, SdlMotion, Cursor, ScriptOnly };
void ChooseMouseSource(MouseSource source);  // for the mouse devices created after the call
MouseSource MouseSourceInUse();              // of the last mouse device created

// Events the event pump hands to the mouse.
void NoteMouseWheel(int notches);
void NoteMouseMotion(int dx, int dy);  // SDL's relative motion (the SdlMotion source)
void NoteMouseFocus();                 // focus or cursor visibility changed
// Takes what the mouse's own connection has received, so that nothing piles up in a long wait.
void DrainMouse();

// ---- Keys --------------------------------------------------------------------------------------

// How the platform turns an SDL key event into a Win32 key message.
struct KeyMessage {
    UINT message = 0;  // 0: the key has no virtual-key code and is dropped
    WPARAM vk = 0;
    LPARAM lParam = 0;
};
// `latinLayout`: most letter keys of the layout type Latin letters (LayoutIsLatin).
WPARAM VirtualKeyOf(SDL_Keycode key, SDL_Scancode scancode, bool latinLayout);
bool LayoutIsLatin();
KeyMessage TranslateKey(const SDL_KeyboardEvent& key);

// ---- Message boxes -----------------------------------------------------------------------------

// Our own modal box, for where SDL cannot show one: a window titled with the caption, the text,
// OK (and Cancel for MB_OKCANCEL). The owner, if any, takes no input while it shows; other
// windows' messages are dispatched. Returns the button's answer, or the close answer (IDCANCEL
// where there is a Cancel button, else IDOK) when the box is closed or WM_QUIT ends it.
int ShowOwnMessageBox(SDL_Window* owner, const char* text, const char* caption, UINT type);

// One event as the event pump turns it into messages; input aimed at `disabled` (the owner of
// a modal box) is dropped, as Win32 drops input to a disabled window.
void TranslateEvent(const SDL_Event& event, SDL_Window* disabled = nullptr);
// Turns a termination signal, once, into WM_CLOSE to the program's window (see termination.h).
void TurnTerminationIntoClose();

// A Ctrl + left click in the program's window goes here, in the window's pixels with the
// window's size, and nowhere else: the program never sees it (the pixel probe). Null: none.
using ModifierClickHandler = std::function<void(int x, int y, int windowWidth, int windowHeight)>;
void SetModifierClickHandler(ModifierClickHandler handler);

// ---- X11 facts that SDL does not give --------------------------------------------------------

// Whether a window manager (one that announces itself, as EWMH asks) runs on the X display.
bool X11WindowManagerRunning();

}  // namespace sdl
