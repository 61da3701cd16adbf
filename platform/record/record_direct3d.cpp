// Direct3DCreate9 of the recording platform: its devices are RecordDevices. Kept apart from the
// device so that a test can make a recording device beside another platform's.
#include "platform/d3d9/direct3d.h"
#include "platform/record/record_device.h"
#include "platform/record/record_platform.h"

namespace {

class RecordDirect3D final : public d3d9::Direct3D {
    IDirect3DDevice9* MakeDevice(HWND, const D3DPRESENT_PARAMETERS& parameters) override {
        if (record::CurrentOptions().failCreateDevice) return nullptr;
        return new record::RecordDevice(parameters);
    }
};

}  // namespace

IDirect3D9* Direct3DCreate9(UINT SDKVersion) {
    return d3d9::CreateDirect3D(SDKVersion, []() -> d3d9::Direct3D* { return new RecordDirect3D; });
}
