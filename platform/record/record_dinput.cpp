// The recording DirectInput 8: DirectInput8Create and a system mouse whose calls are logged and
// whose movement comes from the script. Each set-up step can be made to fail; reads can fail
// with DIERR_INPUTLOST at chosen idle iterations, and Acquire can keep answering it.
#include <cstring>

#include "platform/core/call_trace.h"
#include "platform/core/ref_counted.h"
#include "platform/core/window_system.h"
#include "platform/record/formatting.h"
#include "platform/record/record_platform.h"

using platform::Args;
using platform::Fmt;

namespace record {
namespace {

HRESULT Logged(const char* api, std::vector<std::string> args, HRESULT hr) {
    platform::Trace(api, std::move(args), Fmt(hr));
    return hr;
}

class RecordMouse : public platform::RefCounted<IDirectInputDevice8A>,
                    public platform::ScriptedMouseSink {
  public:
    RecordMouse() {
        platform::RegisterObjectName(static_cast<IDirectInputDevice8A*>(this), "mouse");
        platform::SetScriptedMouseSink(this);
    }
    ~RecordMouse() override { platform::SetScriptedMouseSink(nullptr); }

    void AddScriptedMotion(LONG dx, LONG dy, LONG dz) override {
        pending_.lX += dx;
        pending_.lY += dy;
        pending_.lZ += dz;
    }

    HRESULT GetCapabilities(LPDIDEVCAPS caps) override {
        HRESULT hr = DI_OK;
        if (!caps || caps->dwSize != sizeof(DIDEVCAPS)) {
            hr = DIERR_INVALIDPARAM;
        } else if (CurrentOptions().failGetCapabilities) {
            hr = DIERR_GENERIC;
        } else {
            const DWORD size = caps->dwSize;
            *caps = DIDEVCAPS{};
            caps->dwSize = size;
            caps->dwFlags = CurrentOptions().mouseDetached ? 0 : DIDC_ATTACHED;
            caps->dwDevType = DI8DEVTYPE_MOUSE;
            caps->dwAxes = 3;
            caps->dwButtons = 4;
        }
        return Logged("GetCapabilities", Args(this), hr);
    }

    HRESULT SetDataFormat(LPCDIDATAFORMAT format) override {
        HRESULT hr = DI_OK;
        if (!format || format->dwDataSize != sizeof(DIMOUSESTATE) ||
            CurrentOptions().failSetDataFormat) {
            hr = DIERR_INVALIDPARAM;
        } else if (acquired_) {
            hr = DIERR_ACQUIRED;
        } else {
            formatSet_ = true;
        }
        return Logged(
            "SetDataFormat",
            Args(this, platform::Verbatim{format == &c_dfDIMouse ? "c_dfDIMouse" : "format"}), hr);
    }

    HRESULT SetCooperativeLevel(HWND hwnd, DWORD flags) override {
        const bool oneMode = !(flags & DISCL_EXCLUSIVE) != !(flags & DISCL_NONEXCLUSIVE);
        const bool oneScope = !(flags & DISCL_FOREGROUND) != !(flags & DISCL_BACKGROUND);
        const HRESULT hr =
            oneMode && oneScope && platform::NativeOf(hwnd) ? DI_OK : DIERR_INVALIDPARAM;
        return Logged("SetCooperativeLevel", Args(this, hwnd, flags), hr);
    }

    HRESULT Acquire() override {
        HRESULT hr = DI_OK;
        if (!formatSet_) {
            hr = DIERR_INVALIDPARAM;
        } else if (CurrentOptions().acquireAlwaysLost ||
                   lostAnswers_ < CurrentOptions().acquireInputLostTimes) {
            ++lostAnswers_;
            hr = DIERR_INPUTLOST;
        } else {
            hr = acquired_ ? S_FALSE : DI_OK;
            acquired_ = true;
        }
        return Logged("Acquire", Args(this), hr);
    }

    HRESULT Unacquire() override {
        const HRESULT hr = acquired_ ? DI_OK : DI_NOEFFECT;
        acquired_ = false;
        return Logged("Unacquire", Args(this), hr);
    }

    // The movement since the previous read; a failed read leaves the buffer as it was.
    HRESULT GetDeviceState(DWORD size, LPVOID data) override {
        HRESULT hr = DI_OK;
        if (!data || size != sizeof(DIMOUSESTATE)) {
            hr = DIERR_INVALIDPARAM;
        } else if (!acquired_) {
            hr = DIERR_NOTACQUIRED;
        } else if (CurrentOptions().failReadAt.count(platform::IdleIterations() - 1)) {
            // The poll of idle iteration k runs once the counter has moved on to k + 1.
            acquired_ = false;
            hr = DIERR_INPUTLOST;
        } else {
            std::memcpy(data, &pending_, sizeof pending_);
            pending_ = DIMOUSESTATE{};
        }
        platform::Trace(
            "GetDeviceState", Args(this, size),
            Fmt(hr) + (hr == DI_OK ? " " + FmtValue(*static_cast<DIMOUSESTATE*>(data)) : ""));
        return hr;
    }

  private:
    DIMOUSESTATE pending_{};
    bool formatSet_ = false;
    bool acquired_ = false;
    int lostAnswers_ = 0;
};

class RecordDirectInput : public platform::RefCounted<IDirectInput8A> {
  public:
    RecordDirectInput() { platform::RegisterObjectName(this, "dinput"); }

    HRESULT CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8A* device, LPUNKNOWN outer) override {
        HRESULT hr = DI_OK;
        IDirectInputDevice8A* made = nullptr;
        if (!device || outer) {
            hr = DIERR_INVALIDPARAM;
        } else if (!(guid == GUID_SysMouse) || CurrentOptions().failCreateDevice8) {
            hr = DIERR_DEVICENOTREG;
            *device = nullptr;
        } else if (CurrentOptions().createDevice8ReturnsNull) {
            *device = nullptr;
        } else {
            made = new RecordMouse;
            *device = made;
        }
        platform::Trace(
            "CreateDevice",
            Args(this, platform::Verbatim{guid == GUID_SysMouse ? "GUID_SysMouse" : "guid"},
                 platform::OutArg(device), outer),
            Fmt(hr) + (made ? " " + platform::ObjectName(made) : ""));
        return hr;
    }
};

}  // namespace
}  // namespace record

HRESULT DirectInput8Create(HINSTANCE hinst, DWORD dwVersion, REFIID riidltf, LPVOID* ppvOut,
                           LPUNKNOWN punkOuter) {
    HRESULT hr = DI_OK;
    IDirectInput8A* made = nullptr;
    if (!ppvOut || punkOuter || !hinst) {
        hr = DIERR_INVALIDPARAM;
    } else if (dwVersion < DIRECTINPUT_VERSION) {
        hr = DIERR_OLDDIRECTINPUTVERSION;
    } else if (dwVersion > DIRECTINPUT_VERSION) {
        hr = DIERR_BETADIRECTINPUTVERSION;
    } else if (!(riidltf == IID_IDirectInput8A)) {
        hr = DIERR_NOINTERFACE;
    } else if (record::CurrentOptions().failDirectInputCreate) {
        hr = DIERR_GENERIC;
    } else {
        made = new record::RecordDirectInput;
        *ppvOut = made;
    }
    if (FAILED(hr) && ppvOut) *ppvOut = nullptr;
    platform::Trace(
        "DirectInput8Create",
        Args(platform::Presence(hinst, "module"), dwVersion,
             platform::Verbatim{riidltf == IID_IDirectInput8A ? "IID_IDirectInput8A" : "iid"},
             platform::OutArg(ppvOut), punkOuter),
        Fmt(hr) + (made ? " " + platform::ObjectName(made) : ""));
    return hr;
}
