// The DirectInput mouse over SDL, headless: creation's checks, the data format and acquisition
// rules, relative movement since the previous read, and a mouse at rest reading zero.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/core/window_system.h"
#include "platform/sdl/sdl_platform.h"
#include "tests/keep_gl_driver.h"

namespace {

LRESULT Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, m, wp, lp);
}

class SdlMouse : public ::testing::Test {
  protected:
    void SetUp() override {
        static const bool started = [] {
            setenv("SDL_VIDEODRIVER", "offscreen", 1);
            return sdl::InstallSdlPlatform();
        }();
        ASSERT_TRUE(started);
        platform::ResetWindowSystem();
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = "MouseTest";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, "MouseTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                  nullptr, nullptr, nullptr);
        test::KeepGlDriverLoaded();
        void* out = nullptr;
        ASSERT_EQ(DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION,
                                     IID_IDirectInput8A, &out, nullptr),
                  DI_OK);
        input_ = static_cast<IDirectInput8*>(out);
        ASSERT_EQ(input_->CreateDevice(GUID_SysMouse, &mouse_, nullptr), DI_OK);
    }
    void TearDown() override {
        if (mouse_) mouse_->Release();
        if (input_) input_->Release();
        if (SDL_Window* w = sdl::WindowOf(window_)) SDL_DestroyWindow(w);
    }

    HWND window_ = nullptr;
    IDirectInput8* input_ = nullptr;
    IDirectInputDevice8* mouse_ = nullptr;
};

TEST_F(SdlMouse, CreationChecksTheVersionTheInterfaceAndTheDevice) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(
        DirectInput8Create(GetModuleHandleA(nullptr), 0x0700, IID_IDirectInput8A, &out, nullptr),
        DIERR_OLDDIRECTINPUTVERSION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(
        DirectInput8Create(GetModuleHandleA(nullptr), 0x0900, IID_IDirectInput8A, &out, nullptr),
        DIERR_BETADIRECTINPUTVERSION);
    EXPECT_EQ(DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, GUID_SysMouse,
                                 &out, nullptr),
              DIERR_NOINTERFACE);
    IDirectInputDevice8* other = nullptr;
    EXPECT_EQ(input_->CreateDevice(GUID_XAxis, &other, nullptr), DIERR_DEVICENOTREG);
    EXPECT_EQ(other, nullptr);
    DIDEVCAPS caps{};
    caps.dwSize = sizeof caps;
    ASSERT_EQ(mouse_->GetCapabilities(&caps), DI_OK);
    EXPECT_TRUE(caps.dwFlags & DIDC_ATTACHED);
    caps.dwSize = 20;
    EXPECT_EQ(mouse_->GetCapabilities(&caps), DIERR_INVALIDPARAM);
}

TEST_F(SdlMouse, ReadsNeedTheFormatAndAcquisitionAndGiveMovementSinceTheLastRead) {
    DIMOUSESTATE state{};
    EXPECT_EQ(mouse_->Acquire(), DIERR_INVALIDPARAM);  // no data format yet
    ASSERT_EQ(mouse_->SetDataFormat(&c_dfDIMouse), DI_OK);
    EXPECT_EQ(mouse_->SetCooperativeLevel(window_, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
    EXPECT_EQ(mouse_->SetCooperativeLevel(window_, DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE),
              DIERR_INVALIDPARAM);
    EXPECT_EQ(mouse_->GetDeviceState(sizeof state, &state), DIERR_NOTACQUIRED);
    ASSERT_EQ(mouse_->Acquire(), DI_OK);
    EXPECT_EQ(mouse_->Acquire(), S_FALSE);
    EXPECT_EQ(mouse_->SetDataFormat(&c_dfDIMouse), DIERR_ACQUIRED);
    EXPECT_EQ(mouse_->GetDeviceState(12, &state), DIERR_INVALIDPARAM);

    // At rest: zero, however often it is read.
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(mouse_->GetDeviceState(sizeof state, &state), DI_OK);
        EXPECT_EQ(state.lX, 0);
        EXPECT_EQ(state.lY, 0);
    }
    // Movement adds up until the next read, then starts again; the wheel counts 120 a notch.
    platform::ScriptEvent move;
    move.kind = platform::ScriptEvent::Kind::MouseMotion;
    move.dx = 7;
    move.dy = -3;
    platform::SetInputScript({move, move});
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);  // delivers the script's first iteration
    sdl::NoteMouseWheel(2);
    ASSERT_EQ(mouse_->GetDeviceState(sizeof state, &state), DI_OK);
    EXPECT_EQ(state.lX, 14);
    EXPECT_EQ(state.lY, -6);
    EXPECT_EQ(state.lZ, 240);
    ASSERT_EQ(mouse_->GetDeviceState(sizeof state, &state), DI_OK);
    EXPECT_EQ(state.lX, 0);
    EXPECT_EQ(state.lZ, 0);
    EXPECT_EQ(mouse_->Unacquire(), DI_OK);
    EXPECT_EQ(mouse_->GetDeviceState(sizeof state, &state), DIERR_NOTACQUIRED);
}

}  // namespace
