// The window backend over SDL2. Implements: windows made from the Win32 class and style values
// (OpenGL-capable, hidden until shown, resizable with a thick frame, borderless without a
// caption, the outer frame where the program asks for it under a window manager), key, close,
// focus and size events turned into messages, waiting for events (WaitMessage), the cursor,
// modal message boxes (SDL's, else our own, stderr only where no display can show one),
// termination signals turned into a close, and the screen saver kept off while the window
// procedure refuses SC_SCREENSAVE; a Ctrl + left click handed to the platform's pixel probe,
// never to the program. Leaves out: mouse messages (the program reads the mouse through
// DirectInput), menus, painting.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/core/window_system.h"
#include "platform/sdl/message_box_layout.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/termination.h"

namespace sdl {
namespace {

// How often the window procedure is asked whether the screen saver may start.
constexpr Uint32 kScreenSaverQueryMs = 30000;
// How often a wait wakes to take the raw mouse's events, so that none pile up.
constexpr Uint32 kWaitSliceMs = 1000;
// What SDL reports when the child process that shows its X11 box did not finish: here, because
// a termination request ended it.
constexpr char kSdlBoxChildFailed[] = "msgbox child process failed";

bool IsInput(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
        case SDL_TEXTINPUT:
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEWHEEL:
            return true;
        case SDL_WINDOWEVENT:
            return e.window.event == SDL_WINDOWEVENT_CLOSE;
        default:
            return false;
    }
}

ModifierClickHandler& ClickHandler() {
    static ModifierClickHandler handler;
    return handler;
}

// A Ctrl + left click in the program's window, for the handler alone; true where it took it.
bool TakeModifierClick(const SDL_MouseButtonEvent& e) {
    const ModifierClickHandler& handler = ClickHandler();
    if (!handler || e.button != SDL_BUTTON_LEFT || !(SDL_GetModState() & KMOD_CTRL)) return false;
    SDL_Window* window = SDL_GetWindowFromID(e.windowID);
    if (!window || platform::NativeOf(platform::MainWindow()) != window) return false;
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    handler(e.x, e.y, w, h);
    return true;
}

HWND HandleOf(Uint32 windowId) {
    HWND main = platform::MainWindow();
    SDL_Window* window = SDL_GetWindowFromID(windowId);
    return window && platform::NativeOf(main) == window ? main : nullptr;
}

void TranslateWindowEvent(const SDL_WindowEvent& e) {
    HWND window = HandleOf(e.windowID);
    if (!window) return;
    switch (e.event) {
        case SDL_WINDOWEVENT_CLOSE:
            // The close box: Win32 sends SC_CLOSE, whose default handling sends WM_CLOSE.
            platform::PostInput(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            platform::SendToWindow(window, WM_ACTIVATE, WA_ACTIVE, 0);
            NoteMouseFocus();
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            platform::SendToWindow(window, WM_ACTIVATE, WA_INACTIVE, 0);
            NoteMouseFocus();
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            platform::SendToWindow(window, WM_SIZE, SIZE_RESTORED,
                                   static_cast<LPARAM>((e.data2 << 16) | (e.data1 & 0xFFFF)));
            break;
        default:
            break;
    }
}

// Input that came for `window` while SDL's own box showed: the box is modal, so it is dropped.
void DropQueuedInputFor(SDL_Window* window) {
    if (!window) return;
    const Uint32 id = SDL_GetWindowID(window);
    SDL_PumpEvents();
    std::vector<SDL_Event> kept;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (!(IsInput(e) && EventWindowId(e) == id)) kept.push_back(e);
    }
    for (SDL_Event& k : kept) SDL_PushEvent(&k);
}

class SdlWindowBackend : public platform::WindowBackend {
  public:
    void* CreateNativeWindow(const platform::NativeWindowDesc& desc) override {
        Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
        if (desc.style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
        if ((desc.style & WS_CAPTION) != WS_CAPTION) flags |= SDL_WINDOW_BORDERLESS;
        if (desc.exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
        // A window manager puts its own frame's top left where the window asks to be (north-west
        // gravity); without one the window is its client area, placed inside the Win32 frame.
        const bool framed = IsX11() && X11WindowManagerRunning();
        SDL_Window* window = SDL_CreateWindow(
            desc.title.c_str(), framed ? desc.outerX : desc.clientX,
            framed ? desc.outerY : desc.clientY, desc.clientWidth, desc.clientHeight, flags);
        if (!window) std::fprintf(stderr, "SDL: cannot create a window: %s\n", SDL_GetError());
        // Wayland gives clients no say in where their windows go.
        static bool placementSaid = false;
        if (window && !placementSaid && IsWayland()) {
            placementSaid = true;
            std::fprintf(stderr,
                         "SDL: on Wayland the compositor places windows: the window is not put at "
                         "(%d, %d)\n",
                         desc.outerX, desc.outerY);
        }
        return window;
    }

    void ShowNativeWindow(void* native, bool show) override {
        auto* window = static_cast<SDL_Window*>(native);
        if (show)
            SDL_ShowWindow(window);
        else
            SDL_HideWindow(window);
        if (show) platform::QueryScreenSaver();
    }

    void RaiseNativeWindow(void* native) override {
        SDL_RaiseWindow(static_cast<SDL_Window*>(native));
    }

    void PumpEvents() override {
        TurnTerminationIntoClose();
        SDL_Event event;
        while (SDL_PollEvent(&event)) TranslateEvent(event);
        DrainMouse();
        const Uint32 now = SDL_GetTicks();
        if (now - lastScreenSaverQuery_ >= kScreenSaverQueryMs) {
            lastScreenSaverQuery_ = now;
            platform::QueryScreenSaver();
        }
    }

    void WaitForEvents() override {
        for (;;) {
            if (TerminationRequested()) return;
            const Uint32 sinceQuery = SDL_GetTicks() - lastScreenSaverQuery_;
            if (sinceQuery >= kScreenSaverQueryMs) return;
            const Uint32 slice = std::min(kWaitSliceMs, kScreenSaverQueryMs - sinceQuery);
            // With no event argument SDL only looks: the event stays for PumpEvents.
            if (SDL_WaitEventTimeout(nullptr, static_cast<int>(slice))) return;
            DrainMouse();
        }
    }

    int ShowMessageBox(void* ownerNative, const char* text, const char* caption,
                       UINT type) override {
        auto* owner = static_cast<SDL_Window*>(ownerNative);
        if (Headless()) {
            std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
            return IDOK;
        }
        // The box's modal loop takes what is queued first: a close already asked for ends the
        // program's loop, and with it the box, before the box shows.
        PumpEvents();
        if (!platform::DispatchForModalLoop()) return CloseAnswerOf(type);
        if (sdlBoxesWork_) {
            int answer = 0;
            if (ShowSdlBox(owner, text, caption, type, answer)) return answer;
            if (TerminationRequested() || std::strcmp(SDL_GetError(), kSdlBoxChildFailed) == 0) {
                // Ended from outside: the box counts as closed, and no other box replaces it.
                return CloseAnswerOf(type);
            }
            std::fprintf(stderr, "SDL: cannot show a message box (%s); showing our own\n",
                         SDL_GetError());
            sdlBoxesWork_ = false;
        }
        return ShowOwnMessageBox(owner, text, caption, type);
    }

    void SetCursorVisible(bool visible) override {
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
        NoteMouseFocus();
    }

    void SetScreenSaverAllowed(bool allowed) override {
        if (allowed)
            SDL_EnableScreenSaver();
        else
            SDL_DisableScreenSaver();
    }

  private:
    static bool IsX11() {
        const char* driver = SDL_GetCurrentVideoDriver();
        return driver && std::strcmp(driver, "x11") == 0;
    }
    static bool IsWayland() {
        const char* driver = SDL_GetCurrentVideoDriver();
        return driver && std::strcmp(driver, "wayland") == 0;
    }

    static Uint32 IconFlags(UINT type) {
        switch (type & MB_ICONMASK) {
            case MB_ICONERROR:
                return SDL_MESSAGEBOX_ERROR;
            case MB_ICONWARNING:
                return SDL_MESSAGEBOX_WARNING;
            case MB_ICONINFORMATION:
            case MB_ICONQUESTION:
                return SDL_MESSAGEBOX_INFORMATION;
            default:
                return 0;
        }
    }

    // SDL's box; false when SDL could not show it (SDL_GetError says why).
    static bool ShowSdlBox(SDL_Window* owner, const char* text, const char* caption, UINT type,
                           int& answer) {
        SDL_MessageBoxButtonData buttons[2] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"},
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"},
        };
        const bool okCancel = (type & 0xF) == MB_OKCANCEL;
        if (!okCancel) buttons[0].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        SDL_MessageBoxData data{};
        data.flags = IconFlags(type);
        data.window = owner;
        data.title = caption ? caption : "";
        data.message = text ? text : "";
        data.numbuttons = okCancel ? 2 : 1;
        data.buttons = buttons;
        SDL_ClearError();
        SetForeignBoxShowing(true);
        const int result = SDL_ShowMessageBox(&data, &answer);
        SetForeignBoxShowing(false);
        if (result != 0) return false;
        // Closed without a button: the close answer, as Win32 gives it.
        if (answer < 0) answer = CloseAnswerOf(type);
        DropQueuedInputFor(owner);
        return true;
    }

    Uint32 lastScreenSaverQuery_ = 0;
    bool sdlBoxesWork_ = true;
};

}  // namespace

Uint32 EventWindowId(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return e.key.windowID;
        case SDL_TEXTINPUT:
            return e.text.windowID;
        case SDL_MOUSEMOTION:
            return e.motion.windowID;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            return e.button.windowID;
        case SDL_MOUSEWHEEL:
            return e.wheel.windowID;
        case SDL_WINDOWEVENT:
            return e.window.windowID;
        default:
            return 0;
    }
}

void TranslateEvent(const SDL_Event& event, SDL_Window* disabled) {
    if (disabled && IsInput(event) && EventWindowId(event) == SDL_GetWindowID(disabled)) return;
    if (event.type == TerminationWakeEvent()) {
        TurnTerminationIntoClose();
        return;
    }
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            HWND window = HandleOf(event.key.windowID);
            if (!window) window = platform::MainWindow();
            const KeyMessage key = TranslateKey(event.key);
            if (window && key.message) platform::PostInput(window, key.message, key.vk, key.lParam);
            break;
        }
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(event.window);
            break;
        case SDL_MOUSEWHEEL:
            NoteMouseWheel(event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y
                                                                           : event.wheel.y);
            break;
        case SDL_MOUSEMOTION:
            NoteMouseMotion(event.motion.xrel, event.motion.yrel);
            break;
        case SDL_MOUSEBUTTONDOWN:
            TakeModifierClick(event.button);
            break;
        default:
            break;
    }
}

void SetModifierClickHandler(ModifierClickHandler handler) {
    ClickHandler() = std::move(handler);
}

void TurnTerminationIntoClose() {
    if (!TakeTerminationRequest()) return;
    // As Windows' taskkill asks a program to end: WM_CLOSE to its window, whose procedure
    // decides. Without a window there is no one to ask, and the loop ends with exit code 0.
    if (HWND window = platform::MainWindow())
        platform::PostInput(window, WM_CLOSE, 0, 0);
    else
        platform::PostQuitFromSystem(0);
}

const char kNoDisplayMessage[] =
    "tessaline: no display: set DISPLAY or WAYLAND_DISPLAY, or use tessaline-snapshot for "
    "headless runs";

bool DisplayNamed() {
    for (const char* name : {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

bool Headless() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return !driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

SDL_Window* WindowOf(HWND window) {
    return static_cast<SDL_Window*>(platform::NativeOf(window));
}

bool InstallSdlPlatform() {
    static SdlWindowBackend backend;
    // Termination signals are ours (termination.h), not SDL's.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Keep running in the background while another window has the focus.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // Our own message box draws into its window surface: in memory, not through an OpenGL
    // renderer whose context would displace the device's.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_version linked;
    SDL_GetVersion(&linked);
    const int version = SDL_VERSIONNUM(linked.major, linked.minor, linked.patch);
    const WaylandCompositor wayland = ProbeWaylandCompositor();
    if (wayland.reached && !wayland.seat && version < SDL_VERSIONNUM(2, 30, 0)) {
        std::fprintf(stderr,
                     "SDL: the Wayland compositor offers no keyboard or pointer, where SDL %d.%d "
                     "cannot start; use an X display (DISPLAY) or tessaline-snapshot\n",
                     linked.major, linked.minor);
        return false;
    }
    // Seen with SDL 2.26.5 and libdecor 0.1.1: a crash after most message boxes.
    const bool noFrames =
        wayland.reached && !wayland.serverFrames && version < SDL_VERSIONNUM(2, 28, 0);
    if (noFrames) SDL_SetHint(SDL_HINT_VIDEO_WAYLAND_ALLOW_LIBDECOR, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL: cannot start video: %s\n", SDL_GetError());
        return false;
    }
    if (const char* driver = SDL_GetCurrentVideoDriver();
        driver && std::strcmp(driver, "wayland") == 0) {
        // SDL 2.26 keeps no window surface in memory on Wayland: there the box's surface goes
        // through a renderer of its own (the box puts the device's context back afterwards).
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1");
        if (noFrames &&
            SDL_GetHintBoolean(SDL_HINT_VIDEO_WAYLAND_ALLOW_LIBDECOR, SDL_TRUE) == SDL_FALSE) {
            std::fprintf(stderr,
                         "SDL: the Wayland compositor draws no window frames, and SDL %d.%d's own "
                         "crash when a window closes: the windows have no title bar (Alt+F4 "
                         "closes)\n",
                         linked.major, linked.minor);
        }
    }
    // SDL falls back to its offscreen driver when no display opens; a desktop program without a
    // display says so instead of running invisibly.
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (Headless() && !(asked && SDL_strcasecmp(asked, SDL_GetCurrentVideoDriver()) == 0)) {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
            const char* value = std::getenv(name);
            if (value && *value) std::fprintf(stderr, "SDL: cannot open %s=%s\n", name, value);
        }
        std::fprintf(stderr, "%s\n", kNoDisplayMessage);
        SDL_Quit();
        return false;
    }
    SDL_DisableScreenSaver();
    platform::SetWindowBackend(&backend);
    const Uint32 wake = SDL_RegisterEvents(1);
    if (wake != static_cast<Uint32>(-1)) SetTerminationWakeEvent(wake);
    return true;
}

}  // namespace sdl
