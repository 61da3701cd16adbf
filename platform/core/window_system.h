// Win32 window and message semantics, independent of what shows the window: window classes,
// window creation with the messages Win32 sends during it, the message queue with WM_QUIT and
// WaitMessage, DefWindowProcA (Alt+F4, SC_CLOSE, screen saver), the cursor display counter, and
// input scripted at chosen idle iterations. A WindowBackend (SDL or the recorder) supplies the
// native window, events, message boxes (with their modal loop) and the cursor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window_input.h"

namespace platform {

struct NativeWindowDesc {
    std::string title;
    int outerX, outerY;    // screen position of the outer frame's top left, as asked for
    int clientX, clientY;  // screen position of the client area's top left
    int clientWidth, clientHeight;
    DWORD style, exStyle;
};

class WindowBackend {
  public:
    virtual ~WindowBackend() = default;
    // Returns an opaque native window, or null when none can be made.
    virtual void* CreateNativeWindow(const NativeWindowDesc& desc) = 0;
    virtual void ShowNativeWindow(void* native, bool show) = 0;
    virtual void RaiseNativeWindow(void* native) = 0;
    // Turns pending native events into queued or sent messages.
    virtual void PumpEvents() = 0;
    // Blocks until native events may be waiting (WaitMessage). A backend that cannot wait, such as
    // the recorder, returns at once.
    virtual void WaitForEvents() {}
    virtual int ShowMessageBox(void* ownerNative, const char* text, const char* caption,
                               UINT type) = 0;
    virtual void SetCursorVisible(bool visible) = 0;
    virtual void SetScreenSaverAllowed(bool allowed) = 0;
    // Called when the queue is found empty: the start of idle iteration `iteration`.
    virtual void OnIdle(std::uint64_t iteration) { (void)iteration; }
};

void SetWindowBackend(WindowBackend* backend);

// Mouse movement from a script, handed to whichever DirectInput mouse is listening.
class ScriptedMouseSink {
  public:
    virtual ~ScriptedMouseSink() = default;
    virtual void AddScriptedMotion(LONG dx, LONG dy, LONG dz) = 0;
};
void SetScriptedMouseSink(ScriptedMouseSink* sink);

// Input delivered when the queue runs empty before idle iteration `iteration` (0 = the first).
struct ScriptEvent {
    std::uint64_t iteration = 0;
    enum class Kind { Message, MouseMotion } kind = Kind::Message;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LONG dx = 0, dy = 0, dz = 0;
};
void SetInputScript(std::vector<ScriptEvent> events);
std::uint64_t IdleIterations();

// The process's module handle, as the runtime start-up hands it to WinMain.
HINSTANCE ModuleHandle();

// --watch: a message box does not wait for an answer. MessageBoxA writes "caption: text" on
// stderr, keeps it for AnsweredMessageBoxes, and returns IDOK, as if OK had been pressed.
void AnswerMessageBoxesWithOk(bool on);
// The boxes answered so, oldest first ("caption: text").
const std::vector<std::string>& AnsweredMessageBoxes();

// ---- Used by backends --------------------------------------------------------------------------

// The window that input goes to: the last one created.
HWND MainWindow();
void* NativeOf(HWND window);
// Queues a message as the system posts input; the time is stamped here.
void PostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the window procedure at once, as the system sends a message.
LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// For a backend's own modal loop (a message box it draws): dispatches what the queue holds, as
// the loop inside MessageBoxA does. Returns false once WM_QUIT is due; it stays posted, so that
// the program's own loop ends on it too.
bool DispatchForModalLoop();
bool QuitPending();
// Ends the message loop with `exitCode` when there is no window whose procedure could be asked
// to close (a termination request before or without a window).
void PostQuitFromSystem(int exitCode);
// Asks the foreground window's procedure whether the screen saver may start, as Win32 does
// with WM_SYSCOMMAND SC_SCREENSAVE, and tells the backend the answer.
void QueryScreenSaver();
// Forgets every window, class, message and counter (tests that run twice in one process).
void ResetWindowSystem();

}  // namespace platform
