// The program's window and presentation parameters for tests and benchmarks that make devices of
// their own, with multisampling off unless asked.
#pragma once

#include "platform/graphics_device.h"
#include "platform/window_input.h"
#include "program/presentation.h"

namespace test {

inline D3DPRESENT_PARAMETERS ProgramPresentation(HWND window,
                                                 D3DMULTISAMPLE_TYPE type = D3DMULTISAMPLE_NONE,
                                                 DWORD quality = 0) {
    D3DPRESENT_PARAMETERS pp = ::ProgramPresentation(window);
    pp.MultiSampleType = type;
    pp.MultiSampleQuality = quality;
    return pp;
}

// A window of the program's style whose client area is the program's back buffer.
inline HWND ProgramSizedWindow(const char* className) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    RECT r{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
    return CreateWindowExA(0, className, "test", WS_OVERLAPPEDWINDOW, 0, 0, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
}

// A device made as the program makes its own, on whichever platform is installed.
inline HRESULT CreateProgramDevice(HWND window, IDirect3DDevice9** device,
                                   D3DMULTISAMPLE_TYPE type = D3DMULTISAMPLE_NONE,
                                   DWORD quality = 0) {
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS pp = ProgramPresentation(window, type, quality);
    const HRESULT hr = d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                         D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, device);
    d3d->Release();
    return hr;
}

}  // namespace test
