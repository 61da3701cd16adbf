// IDirect3D9 as every backend gives it: Direct3DCreate9's version check, CreateDevice's argument
// checks and results, and the trace of both. A backend supplies only the making of its device.
#pragma once

#include "platform/core/ref_counted.h"
#include "platform/graphics_device.h"

namespace d3d9 {

class Direct3D : public platform::RefCounted<IDirect3D9> {
  public:
    Direct3D();
    HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                         DWORD BehaviorFlags, D3DPRESENT_PARAMETERS* pPresentationParameters,
                         IDirect3DDevice9** ppReturnedDeviceInterface) final;

  protected:
    // Makes the device on `window` with checked parameters; null (after a diagnostic line)
    // when the backend cannot.
    virtual IDirect3DDevice9* MakeDevice(HWND window, const D3DPRESENT_PARAMETERS& parameters) = 0;
};

// Direct3DCreate9 for a backend: `make` is called only for the right SDK version.
IDirect3D9* CreateDirect3D(UINT sdkVersion, Direct3D* (*make)());

}  // namespace d3d9
