// DirectInput 8 over SDL2: DirectInput8Create and the system mouse, non-exclusive, read as
// immediate data. The movement is the device's own counts where the display gives them: XInput 2
// raw motion on X11 (every count, unaccelerated, past the screen's edge, focused or not; a warp
// of the pointer by another program moves nothing). On Wayland, which gives no pointer input to
// a window in the background, SDL's relative pointer while our window has the focus and hides
// the cursor (mouse look), and SDL's motion over the window otherwise. Elsewhere, or where
// XInput 2 is missing, the change of the global cursor position, with the hidden cursor brought
// back to the window's centre after each read (a notice says so once). Headless, only scripted
// motion. Wheel notches come from SDL's events, buttons from the pointer's state. Leaves out:
// buffered data, keyboards and joysticks, exclusive mode.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/core/ref_counted.h"
#include "platform/core/window_system.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/x11_raw_mouse.h"

namespace sdl {
namespace {

constexpr LONG kWheelDelta = 120;  // one notch, as the platform counts it

class SdlMouse;
SdlMouse* g_mouse = nullptr;
MouseSource g_chosen = MouseSource::Automatic;
MouseSource g_inUse = MouseSource::ScriptOnly;

bool DriverIs(const char* name) {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, name) == 0;
}

void Notice(const std::string& why) {
    static bool said = false;
    if (said) return;
    said = true;
    std::fprintf(stderr,
                 "MOUSE: %s: the mouse reads the cursor's movement, which stops at the screen's "
                 "edge\n",
                 why.c_str());
}

class SdlMouse : public platform::RefCounted<IDirectInputDevice8A>,
                 public platform::ScriptedMouseSink {
  public:
    SdlMouse() {
        g_mouse = this;
        platform::SetScriptedMouseSink(this);
        ChooseSource();
    }
    ~SdlMouse() override {
        SetRelativeMode(false);
        if (g_mouse == this) g_mouse = nullptr;
        platform::SetScriptedMouseSink(nullptr);
    }

    void AddScriptedMotion(LONG dx, LONG dy, LONG dz) override {
        pending_.lX += dx;
        pending_.lY += dy;
        pending_.lZ += dz;
    }
    void AddWheel(int notches) {
        if (acquired_) pending_.lZ += notches * kWheelDelta;
    }
    void AddMotion(int dx, int dy) {
        if (source_ != MouseSource::SdlMotion || !acquired_) return;
        pending_.lX += dx;
        pending_.lY += dy;
    }
    void Drain() {
        if (raw_) raw_->Drain();
    }
    void FocusChanged() {
        if (source_ != MouseSource::SdlMotion) return;
        SDL_Window* window = Window();
        const bool focused = window && (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS);
        SetRelativeMode(acquired_ && focused && SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE);
    }

    HRESULT GetCapabilities(LPDIDEVCAPS caps) override {
        if (!caps || caps->dwSize != sizeof(DIDEVCAPS)) return DIERR_INVALIDPARAM;
        *caps = DIDEVCAPS{};
        caps->dwSize = sizeof(DIDEVCAPS);
        caps->dwFlags = DIDC_ATTACHED;
        caps->dwDevType = DI8DEVTYPE_MOUSE;
        caps->dwAxes = 3;
        caps->dwButtons = 4;
        return DI_OK;
    }

    HRESULT SetDataFormat(LPCDIDATAFORMAT format) override {
        if (!format || format->dwDataSize != sizeof(DIMOUSESTATE) ||
            !(format->dwFlags & DIDF_RELAXIS)) {
            return DIERR_INVALIDPARAM;
        }
        if (acquired_) return DIERR_ACQUIRED;
        formatSet_ = true;
        return DI_OK;
    }

    HRESULT SetCooperativeLevel(HWND hwnd, DWORD flags) override {
        const bool oneMode = !(flags & DISCL_EXCLUSIVE) != !(flags & DISCL_NONEXCLUSIVE);
        const bool oneScope = !(flags & DISCL_FOREGROUND) != !(flags & DISCL_BACKGROUND);
        if (!oneMode || !oneScope || !platform::NativeOf(hwnd)) return DIERR_INVALIDPARAM;
        window_ = hwnd;
        return DI_OK;
    }

    HRESULT Acquire() override {
        if (!formatSet_) return DIERR_INVALIDPARAM;
        if (acquired_) return S_FALSE;
        acquired_ = true;
        // Movement counts from here.
        havePrevious_ = false;
        if (raw_) raw_->Discard();
        FocusChanged();
        return DI_OK;
    }

    HRESULT Unacquire() override {
        if (!acquired_) return DI_NOEFFECT;
        acquired_ = false;
        FocusChanged();
        return DI_OK;
    }

    HRESULT GetDeviceState(DWORD size, LPVOID data) override {
        if (!data || size != sizeof(DIMOUSESTATE)) return DIERR_INVALIDPARAM;
        if (!acquired_) return DIERR_NOTACQUIRED;
        Sample();
        std::memcpy(data, &pending_, sizeof pending_);
        pending_ = DIMOUSESTATE{};
        return DI_OK;
    }

  private:
    SDL_Window* Window() const { return WindowOf(window_ ? window_ : platform::MainWindow()); }

    void ChooseSource() {
        MouseSource source = g_chosen;
        if (source == MouseSource::Automatic) {
            if (Headless())
                source = MouseSource::ScriptOnly;
            else if (DriverIs("x11"))
                source = MouseSource::RawX11;
            else if (DriverIs("wayland"))
                source = MouseSource::SdlMotion;
            else
                source = MouseSource::Cursor;
        }
        if (source == MouseSource::RawX11) {
            std::string why;
            raw_ = RawMotionX11::Open(why);
            if (!raw_) {
                Notice("no raw motion (" + why + ")");
                source = MouseSource::Cursor;
            }
        } else if (source == MouseSource::Cursor && g_chosen == MouseSource::Automatic) {
            Notice(std::string("no raw motion on the ") + SDL_GetCurrentVideoDriver() + " driver");
        }
        source_ = source;
        g_inUse = source;
    }

    void Sample() {
        if (source_ == MouseSource::RawX11) {
            long dx = 0, dy = 0;
            raw_->Take(dx, dy, pending_.rgbButtons);
            pending_.lX += static_cast<LONG>(dx);
            pending_.lY += static_cast<LONG>(dy);
            return;
        }
        int x = 0, y = 0;
        const Uint32 buttons = SDL_GetGlobalMouseState(&x, &y);
        const Uint32 masks[4] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK,
                                 SDL_BUTTON_X1MASK};
        for (int i = 0; i < 4; ++i) pending_.rgbButtons[i] = (buttons & masks[i]) ? 0x80 : 0;
        if (source_ != MouseSource::Cursor) return;
        if (havePrevious_) {
            pending_.lX += x - previousX_;
            pending_.lY += y - previousY_;
        }
        previousX_ = x;
        previousY_ = y;
        havePrevious_ = true;
        Recentre();
    }

    // The cursor method only: a hidden cursor over the focused window goes back to the window's
    // centre, so that turning is not stopped by the screen's edge. Movement between the read and
    // the warp is lost.
    void Recentre() {
        SDL_Window* window = Window();
        if (!window || SDL_ShowCursor(SDL_QUERY) != SDL_DISABLE ||
            !(SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS)) {
            return;
        }
        int wx = 0, wy = 0, w = 0, h = 0;
        SDL_GetWindowPosition(window, &wx, &wy);
        SDL_GetWindowSize(window, &w, &h);
        SDL_WarpMouseInWindow(window, w / 2, h / 2);
        previousX_ = wx + w / 2;
        previousY_ = wy + h / 2;
    }

    void SetRelativeMode(bool on) {
        if (on == relative_) return;
        relative_ = on;
        SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE);
    }

    MouseSource source_ = MouseSource::ScriptOnly;
    std::unique_ptr<RawMotionX11> raw_;
    DIMOUSESTATE pending_{};
    HWND window_ = nullptr;
    bool formatSet_ = false;
    bool acquired_ = false;
    bool relative_ = false;
    bool havePrevious_ = false;
    int previousX_ = 0, previousY_ = 0;
};

class SdlDirectInput : public platform::RefCounted<IDirectInput8A> {
  public:
    HRESULT CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8A* device, LPUNKNOWN outer) override {
        if (!device || outer) return DIERR_INVALIDPARAM;
        *device = nullptr;
        if (!(guid == GUID_SysMouse)) return DIERR_DEVICENOTREG;
        *device = new SdlMouse;
        return DI_OK;
    }
};

}  // namespace

void ChooseMouseSource(MouseSource source) {
    g_chosen = source;
}

MouseSource MouseSourceInUse() {
    return g_inUse;
}

void NoteMouseWheel(int notches) {
    if (g_mouse) g_mouse->AddWheel(notches);
}

void NoteMouseMotion(int dx, int dy) {
    if (g_mouse) g_mouse->AddMotion(dx, dy);
}

void NoteMouseFocus() {
    if (g_mouse) g_mouse->FocusChanged();
}

void DrainMouse() {
    if (g_mouse) g_mouse->Drain();
}

}  // namespace sdl

HRESULT DirectInput8Create(HINSTANCE hinst, DWORD dwVersion, REFIID riidltf, LPVOID* ppvOut,
                           LPUNKNOWN punkOuter) {
    if (!ppvOut) return DIERR_INVALIDPARAM;
    *ppvOut = nullptr;
    if (punkOuter || !hinst) return DIERR_INVALIDPARAM;
    if (dwVersion < DIRECTINPUT_VERSION) return DIERR_OLDDIRECTINPUTVERSION;
    if (dwVersion > DIRECTINPUT_VERSION) return DIERR_BETADIRECTINPUTVERSION;
    if (!(riidltf == IID_IDirectInput8A)) return DIERR_NOINTERFACE;
    *ppvOut = static_cast<IDirectInput8A*>(new sdl::SdlDirectInput);
    return DI_OK;
}
