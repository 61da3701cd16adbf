// The mouse through DirectInput 8: creation, set-up step by step with a message box for each
// failure, and the per-iteration read into deltas.
#include "input/mouse_input.h"

namespace {

constexpr float kSensitivity = 0.0035f;
// A device that keeps answering DIERR_INPUTLOST is asked again at the next read, not forever.
constexpr int kMaxReacquireTries = 8;

// Set once the set-up has run to its end; a mouse whose set-up stopped reads as still.
bool g_mouseReady = false;

void Report(const char* text) {
    MessageBoxA(nullptr, text, "ERROR", MB_OK);
}

void PublishStill() {
    mouseInput->deltaX = 0;
    mouseInput->deltaY = 0;
    mouseInput->deltaZ = 0;
}

}  // namespace

void CreateMouseInput() {
    mouseInput = new MouseInput;
    void* directInput = nullptr;
    if (FAILED(DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION,
                                  IID_IDirectInput8A, &directInput, nullptr))) {
        Report("DirectInput init FAILED!");
        return;
    }
    mouseInput->directInput = static_cast<IDirectInput8*>(directInput);
}

void SetUpMouse() {
    // Without DirectInput there is nothing to ask; its failure has been reported.
    IDirectInput8* directInput = mouseInput->directInput;
    if (!directInput) return;
    if (FAILED(directInput->CreateDevice(GUID_SysMouse, &mouseDevice, nullptr))) {
        Report("Mouse init failed!");
        return;
    }
    if (!mouseDevice) {
        Report("Can't recognize pointing device!");
        return;
    }
    if (FAILED(mouseDevice->SetDataFormat(&c_dfDIMouse))) {
        Report("Mouse: SetDataFormat() failed!");
        return;
    }
    mouseDevice->SetCooperativeLevel(appWindow, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
    mouseDevice->Acquire();
    mouseInput->state = DIMOUSESTATE{};
    mouseDevice->GetDeviceState(sizeof(DIMOUSESTATE), &mouseInput->state);

    DIDEVCAPS caps{};
    caps.dwSize = sizeof(DIDEVCAPS);
    // A failed query says nothing about the mouse: it counts as not attached.
    if (FAILED(mouseDevice->GetCapabilities(&caps)) || !(caps.dwFlags & DIDC_ATTACHED)) {
        Report("Mouse is currently not attached!");
        return;
    }
    mouseInput->sensitivity = kSensitivity;
    PublishStill();
    g_mouseReady = true;
}

void PollMouse() {
    if (!mouseDevice || !g_mouseReady) {
        PublishStill();
        return;
    }
    if (FAILED(mouseDevice->GetDeviceState(sizeof(DIMOUSESTATE), &mouseInput->state))) {
        HRESULT hr = mouseDevice->Acquire();
        for (int tries = 1; hr == DIERR_INPUTLOST && tries < kMaxReacquireTries; ++tries) {
            hr = mouseDevice->Acquire();
        }
        // A failed read publishes no movement, not the last movement again.
        PublishStill();
        return;
    }
    mouseInput->deltaX = mouseInput->state.lX;
    mouseInput->deltaY = mouseInput->state.lY;
    mouseInput->deltaZ = mouseInput->state.lZ;
}
