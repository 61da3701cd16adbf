// The argument checks of the Direct3D 9 calls, as small pure functions: each says whether
// Direct3D 9 accepts the arguments (a refused call returns D3DERR_INVALIDCALL and changes
// nothing). Used by the front end only, so that every device refuses the same calls.
#pragma once

#include <optional>
#include <vector>

#include "platform/graphics_device.h"

namespace d3d9 {

// Direct3D 9 stores any render state number from D3DRS_ZENABLE (7) to 255, whether it defines
// it or not, and 0; it refuses 1 to 6 and every number above 255.
bool ValidRenderState(DWORD state);
// Stages 0 to 7; types up to D3DTSS_CONSTANT (32).
bool ValidStageState(DWORD stage, DWORD type);
// D3DSAMP_ADDRESSU (1) to D3DSAMP_DMAPOFFSET (13). Sampler numbers are checked by SamplerSlot.
bool ValidSamplerStateType(DWORD type);
// A light type Direct3D 9 defines, a non-negative range, a direction for directional and spot
// lights, and 0 <= Theta <= Phi for spot lights.
bool ValidLight(const D3DLIGHT9& light);
// A rectangle list with its count, at least one known buffer to clear, and only buffers the
// device has (a depth buffer for ZBUFFER, a stencil format for STENCIL).
bool ValidClear(DWORD count, const D3DRECT* rects, DWORD flags,
                const D3DPRESENT_PARAMETERS& parameters);
// Source and destination rectangles and a dirty region only with D3DSWAPEFFECT_COPY.
bool ValidPresent(const RECT* source, const RECT* dest, const RGNDATA* dirtyRegion,
                  const D3DPRESENT_PARAMETERS& parameters);
// A declaration's elements up to and including its D3DDECL_END entry, which must come within
// MAX_FVF_DECL_SIZE entries; nothing when the list is refused.
std::optional<std::vector<D3DVERTEXELEMENT9>> ReadDeclaration(const D3DVERTEXELEMENT9* elements);
// The arguments of IDirect3D9::CreateDevice: D3D_OK, D3DERR_INVALIDCALL, or
// D3DERR_NOTAVAILABLE for what this platform cannot give (a full-screen device).
HRESULT CheckCreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                          DWORD behaviorFlags, const D3DPRESENT_PARAMETERS* parameters,
                          IDirect3DDevice9** device);

}  // namespace d3d9
