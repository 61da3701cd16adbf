// DirectInput 8 over SDL2: DirectInput8Create and the system mouse. Movement is the change of
// the global cursor position between reads (so it arrives while the window is in the background
// and the cursor is not captured), plus wheel notches and scripted motion. While the cursor is
// hidden over the focused window the pointer is brought back to the window's centre after each
// read, so that turning is not stopped by the screen's edge. Leaves out: buffered data,
// keyboards and joysticks, exclusive mode.
#include <cstring>

#include "platform/core/ref_counted.h"
#include "platform/core/window_system.h"
#include "platform/sdl/sdl_platform.h"

namespace sdl {
namespace {

constexpr LONG kWheelDelta = 120;  // one notch, as the platform counts it

class SdlMouse;
SdlMouse* g_mouse = nullptr;

class SdlMouse : public platform::RefCounted<IDirectInputDevice8A>,
                 public platform::ScriptedMouseSink {
  public:
    SdlMouse() {
        g_mouse = this;
        platform::SetScriptedMouseSink(this);
    }
    ~SdlMouse() override {
        if (g_mouse == this) g_mouse = nullptr;
        platform::SetScriptedMouseSink(nullptr);
    }

    void AddScriptedMotion(LONG dx, LONG dy, LONG dz) override {
        pending_.lX += dx;
        pending_.lY += dy;
        pending_.lZ += dz;
    }
    void AddWheel(int notches) { pending_.lZ += notches * kWheelDelta; }

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
        havePrevious_ = false;  // movement counts from here
        return DI_OK;
    }

    HRESULT Unacquire() override {
        if (!acquired_) return DI_NOEFFECT;
        acquired_ = false;
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
    void Sample() {
        int x = 0, y = 0;
        const Uint32 buttons = SDL_GetGlobalMouseState(&x, &y);
        if (havePrevious_) {
            pending_.lX += x - previousX_;
            pending_.lY += y - previousY_;
        }
        previousX_ = x;
        previousY_ = y;
        havePrevious_ = true;
        const Uint32 masks[4] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK,
                                 SDL_BUTTON_X1MASK};
        for (int i = 0; i < 4; ++i) pending_.rgbButtons[i] = (buttons & masks[i]) ? 0x80 : 0;
        Recentre();
    }

    void Recentre() {
        SDL_Window* window = WindowOf(window_ ? window_ : platform::MainWindow());
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

    DIMOUSESTATE pending_{};
    HWND window_ = nullptr;
    bool formatSet_ = false;
    bool acquired_ = false;
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

void NoteMouseWheel(int notches) {
    if (g_mouse) g_mouse->AddWheel(notches);
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
