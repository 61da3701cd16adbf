// Direct3DCreate9 of the OpenGL platform: its devices are GlDevices on SDL windows. Kept apart
// from the device so that a test can make an OpenGL device beside another platform's.
#include "platform/d3d9/direct3d.h"
#include "platform/gl/gl_device.h"
#include "platform/sdl/sdl_platform.h"

namespace {

class GlDirect3D final : public d3d9::Direct3D {
    IDirect3DDevice9* MakeDevice(HWND window, const D3DPRESENT_PARAMETERS& checked) override {
        SDL_Window* sdlWindow = sdl::WindowOf(window);
        if (!sdlWindow) return nullptr;
        // A size of zero takes the client area's, as a windowed device does.
        D3DPRESENT_PARAMETERS parameters = checked;
        int w = 0, h = 0;
        SDL_GetWindowSize(sdlWindow, &w, &h);
        if (!parameters.BackBufferWidth) parameters.BackBufferWidth = static_cast<UINT>(w);
        if (!parameters.BackBufferHeight) parameters.BackBufferHeight = static_cast<UINT>(h);
        return gl::GlDevice::Create(sdlWindow, parameters);
    }
};

}  // namespace

IDirect3D9* Direct3DCreate9(UINT SDKVersion) {
    return d3d9::CreateDirect3D(SDKVersion, []() -> d3d9::Direct3D* { return new GlDirect3D; });
}
