// Direct3D 9's argument checks (see validation.h).
#include "platform/d3d9/validation.h"

#include "platform/core/window_system.h"
#include "platform/d3d9/state.h"

namespace d3d9 {

bool ValidRenderState(DWORD state) {
    return state == 0 || (state >= D3DRS_ZENABLE && state < kRenderStates);
}

bool ValidStageState(DWORD stage, DWORD type) {
    return stage < kTextureStages && type < kStageStates;
}

bool ValidSamplerStateType(DWORD type) {
    return type >= D3DSAMP_ADDRESSU && type < kSamplerStates;
}

bool ValidLight(const D3DLIGHT9& l) {
    if (l.Type < D3DLIGHT_POINT || l.Type > D3DLIGHT_DIRECTIONAL) return false;
    if (l.Type != D3DLIGHT_DIRECTIONAL && l.Range < 0.0f) return false;
    if (l.Type != D3DLIGHT_POINT) {
        const Vec3& d = l.Direction;
        if (d.x == 0.0f && d.y == 0.0f && d.z == 0.0f) return false;
    }
    return !(l.Type == D3DLIGHT_SPOT && (l.Theta < 0.0f || l.Phi < l.Theta));
}

bool ValidClear(DWORD count, const D3DRECT* rects, DWORD flags,
                const D3DPRESENT_PARAMETERS& parameters) {
    constexpr DWORD kKnown = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    if ((count && !rects) || !flags || (flags & ~kKnown)) return false;
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !parameters.EnableAutoDepthStencil)
        return false;
    // D16 has no stencil bits.
    return !((flags & D3DCLEAR_STENCIL) && parameters.AutoDepthStencilFormat == D3DFMT_D16);
}

bool ValidPresent(const RECT* source, const RECT* dest, const RGNDATA* dirtyRegion,
                  const D3DPRESENT_PARAMETERS& parameters) {
    return parameters.SwapEffect == D3DSWAPEFFECT_COPY || (!source && !dest && !dirtyRegion);
}

std::optional<std::vector<D3DVERTEXELEMENT9>> ReadDeclaration(const D3DVERTEXELEMENT9* elements) {
    if (!elements) return std::nullopt;
    std::vector<D3DVERTEXELEMENT9> out;
    for (UINT i = 0; i < MAX_FVF_DECL_SIZE; ++i) {
        out.push_back(elements[i]);
        if (elements[i].Stream == 0xFF) return out;
        if (elements[i].Type > D3DDECLTYPE_UNUSED) return std::nullopt;
    }
    return std::nullopt;  // no end marker
}

HRESULT CheckCreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                          DWORD behaviorFlags, const D3DPRESENT_PARAMETERS* pp,
                          IDirect3DDevice9** device) {
    const DWORD processing =
        behaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING |
                         D3DCREATE_MIXED_VERTEXPROCESSING);
    // Exactly one kind of vertex processing.
    const bool oneProcessing = processing && !(processing & (processing - 1));
    if (!pp || !device || adapter != D3DADAPTER_DEFAULT || !oneProcessing ||
        (deviceType != D3DDEVTYPE_HAL && deviceType != D3DDEVTYPE_REF)) {
        return D3DERR_INVALIDCALL;
    }
    // A windowed device presents to its device window, or else to the focus window.
    const HWND window = pp->hDeviceWindow ? pp->hDeviceWindow : focusWindow;
    if (!platform::NativeOf(window) || pp->BackBufferCount > 3 ||
        (pp->MultiSampleType != D3DMULTISAMPLE_NONE && pp->SwapEffect != D3DSWAPEFFECT_DISCARD)) {
        return D3DERR_INVALIDCALL;
    }
    return pp->Windowed ? D3D_OK : D3DERR_NOTAVAILABLE;
}

}  // namespace d3d9
