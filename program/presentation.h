// The sizes the program is built around, named once: the window's client area and back buffer,
// the overlay font's height (which is also the step between overlay lines), and the
// presentation parameters the device is created with. Tests and benchmarks that make devices of
// their own take them from here.
#pragma once

#include "platform/graphics_device.h"
#include "platform/window_input.h"

inline constexpr LONG kClientWidth = 1000;
inline constexpr LONG kClientHeight = 500;
inline constexpr INT kFontHeight = 14;

inline D3DPRESENT_PARAMETERS ProgramPresentation(HWND window) {
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = kClientWidth;
    parameters.BackBufferHeight = kClientHeight;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.MultiSampleType = D3DMULTISAMPLE_NONMASKABLE;
    parameters.MultiSampleQuality = 2;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = window;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    parameters.Flags = 0;
    parameters.FullScreen_RefreshRateInHz = 0;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
    return parameters;
}
