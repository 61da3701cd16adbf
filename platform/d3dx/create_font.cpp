// D3DXCreateFontA: the font is the device's; the description is checked and passed on.
#include "platform/core/call_trace.h"
#include "platform/d3dx/device_services.h"

HRESULT D3DXCreateFontA(LPDIRECT3DDEVICE9 pDevice, INT Height, UINT Width, UINT Weight,
                        UINT MipLevels, BOOL Italic, DWORD CharSet, DWORD OutputPrecision,
                        DWORD Quality, DWORD PitchAndFamily, LPCSTR pFaceName, LPD3DXFONT* ppFont) {
    HRESULT hr = D3DERR_INVALIDCALL;
    if (ppFont) *ppFont = nullptr;
    d3dx::DeviceServices* services = pDevice ? d3dx::ServicesOf(pDevice) : nullptr;
    if (services && ppFont && Weight <= 1000) {
        d3dx::FontDesc desc;
        desc.height = Height;
        desc.width = Width;
        desc.weight = Weight;
        desc.mipLevels = MipLevels;
        desc.italic = Italic;
        desc.charSet = CharSet;
        desc.outputPrecision = OutputPrecision;
        desc.quality = Quality;
        desc.pitchAndFamily = PitchAndFamily;
        desc.faceName = pFaceName ? pFaceName : "";
        hr = services->CreateFontFromDesc(desc, ppFont);
    }
    platform::Trace(
        "D3DXCreateFontA",
        platform::Args(pDevice, Height, Width, Weight, MipLevels, Italic, CharSet, OutputPrecision,
                       Quality, PitchAndFamily, pFaceName, platform::OutArg(ppFont)),
        platform::Fmt(hr) + (SUCCEEDED(hr) ? " " + platform::ObjectName(*ppFont) : ""));
    return hr;
}
