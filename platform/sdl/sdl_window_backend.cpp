// The window backend over SDL2. Implements: windows made from the Win32 class and style values
// (OpenGL-capable, hidden until shown, resizable with a thick frame, borderless without a
// caption), key, close, focus and size events turned into messages, the cursor, modal message
// boxes (stderr where no display can show one), and the screen saver kept off while the window
// procedure refuses SC_SCREENSAVE. Leaves out: mouse messages (the program reads the mouse
// through DirectInput), menus, painting.
#include <cstdio>
#include <cstring>

#include "platform/core/window_system.h"
#include "platform/sdl/sdl_platform.h"

namespace sdl {
namespace {

// How often the window procedure is asked whether the screen saver may start.
constexpr Uint32 kScreenSaverQueryMs = 30000;

class SdlWindowBackend : public platform::WindowBackend {
  public:
    void* CreateNativeWindow(const platform::NativeWindowDesc& desc) override {
        Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
        if (desc.style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
        if ((desc.style & WS_CAPTION) != WS_CAPTION) flags |= SDL_WINDOW_BORDERLESS;
        if (desc.exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
        SDL_Window* window = SDL_CreateWindow(desc.title.c_str(), desc.clientX, desc.clientY,
                                              desc.clientWidth, desc.clientHeight, flags);
        if (!window) std::fprintf(stderr, "SDL: cannot create a window: %s\n", SDL_GetError());
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
        SDL_Event event;
        while (SDL_PollEvent(&event)) Translate(event);
        const Uint32 now = SDL_GetTicks();
        if (now - lastScreenSaverQuery_ >= kScreenSaverQueryMs) {
            lastScreenSaverQuery_ = now;
            platform::QueryScreenSaver();
        }
    }

    int ShowMessageBox(void* ownerNative, const char* text, const char* caption,
                       UINT type) override {
        if (!Headless()) {
            SDL_MessageBoxButtonData buttons[2] = {
                {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"},
                {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"},
            };
            const bool okCancel = (type & 0xF) == MB_OKCANCEL;
            if (!okCancel) buttons[0].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
            SDL_MessageBoxData data{};
            data.flags = IconFlags(type);
            data.window = static_cast<SDL_Window*>(ownerNative);
            data.title = caption ? caption : "";
            data.message = text ? text : "";
            data.numbuttons = okCancel ? 2 : 1;
            data.buttons = buttons;
            int answer = IDOK;
            if (SDL_ShowMessageBox(&data, &answer) == 0) return answer < 0 ? IDCANCEL : answer;
        }
        std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
        return IDOK;
    }

    void SetCursorVisible(bool visible) override {
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }

    void SetScreenSaverAllowed(bool allowed) override {
        if (allowed)
            SDL_EnableScreenSaver();
        else
            SDL_DisableScreenSaver();
    }

  private:
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

    static HWND HandleOf(Uint32 windowId) {
        HWND main = platform::MainWindow();
        SDL_Window* window = SDL_GetWindowFromID(windowId);
        return window && platform::NativeOf(main) == window ? main : nullptr;
    }

    void Translate(const SDL_Event& event) {
        switch (event.type) {
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                HWND window = HandleOf(event.key.windowID);
                if (!window) window = platform::MainWindow();
                const KeyMessage key = TranslateKey(event.key);
                if (window && key.message) {
                    platform::PostInput(window, key.message, key.vk, key.lParam);
                }
                break;
            }
            case SDL_WINDOWEVENT:
                TranslateWindowEvent(event.window);
                break;
            case SDL_MOUSEWHEEL:
                NoteMouseWheel(event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y
                                                                               : event.wheel.y);
                break;
            default:
                break;
        }
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
                break;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                platform::SendToWindow(window, WM_ACTIVATE, WA_INACTIVE, 0);
                break;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                platform::SendToWindow(window, WM_SIZE, SIZE_RESTORED,
                                       static_cast<LPARAM>((e.data2 << 16) | (e.data1 & 0xFFFF)));
                break;
            default:
                break;
        }
    }

    Uint32 lastScreenSaverQuery_ = 0;
};

}  // namespace

bool Headless() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return !driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

SDL_Window* WindowOf(HWND window) {
    return static_cast<SDL_Window*>(platform::NativeOf(window));
}

bool InstallSdlPlatform() {
    static SdlWindowBackend backend;
    // Ctrl+C and SIGTERM end the process as they would any other program.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Keep running in the background while another window has the focus.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL: cannot start video: %s\n", SDL_GetError());
        return false;
    }
    SDL_DisableScreenSaver();
    platform::SetWindowBackend(&backend);
    return true;
}

}  // namespace sdl
