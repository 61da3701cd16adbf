// IDirect3D9 for every backend (see direct3d.h).
#include "platform/d3d9/direct3d.h"

#include "platform/d3d9/trace.h"
#include "platform/d3d9/validation.h"

using platform::Args;

namespace d3d9 {

Direct3D::Direct3D() {
    platform::RegisterObjectName(static_cast<IDirect3D9*>(this), "d3d");
}

HRESULT Direct3D::CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                               DWORD BehaviorFlags, D3DPRESENT_PARAMETERS* pp,
                               IDirect3DDevice9** ppDevice) {
    if (ppDevice) *ppDevice = nullptr;
    Refusal why;
    HRESULT hr =
        CheckCreateDevice(Adapter, DeviceType, hFocusWindow, BehaviorFlags, pp, ppDevice, &why);
    IDirect3DDevice9* device = nullptr;
    if (hr == D3D_OK && pp && ppDevice) {
        D3DPRESENT_PARAMETERS parameters = *pp;
        // A windowed device takes the display's format where none is named.
        if (parameters.BackBufferFormat == D3DFMT_UNKNOWN)
            parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        device = MakeDevice(pp->hDeviceWindow ? pp->hDeviceWindow : hFocusWindow, parameters);
        if (device) {
            *ppDevice = device;
        } else {
            hr = D3DERR_NOTAVAILABLE;
            why = "the device could not be made on this system (stderr says why)";
        }
    }
    TracedCreation(hr, device, "CreateDevice", Adapter, DeviceType, hFocusWindow, BehaviorFlags, pp,
                   platform::OutArg(ppDevice));
    if (hr != D3D_OK) NoteRefusal(hr, why);
    return hr;
}

IDirect3D9* CreateDirect3D(UINT sdkVersion, Direct3D* (*make)()) {
    IDirect3D9* d3d = sdkVersion == D3D_SDK_VERSION ? make() : nullptr;
    if (platform::Tracing())
        platform::Trace("Direct3DCreate9", Args(sdkVersion), platform::ObjectName(d3d));
    return d3d;
}

}  // namespace d3d9
