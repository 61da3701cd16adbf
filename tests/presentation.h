// The presentation parameters the program creates its device with, for tests and benchmarks
// that make devices of their own (multisampling off unless asked).
#pragma once

#include "platform/graphics_device.h"

namespace test {

inline D3DPRESENT_PARAMETERS ProgramPresentation(HWND window,
                                                 D3DMULTISAMPLE_TYPE type = D3DMULTISAMPLE_NONE,
                                                 DWORD quality = 0) {
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = 1000;
    pp.BackBufferHeight = 500;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 1;
    pp.MultiSampleType = type;
    pp.MultiSampleQuality = quality;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = window;
    pp.Windowed = TRUE;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    return pp;
}

}  // namespace test
