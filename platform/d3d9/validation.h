// The argument checks of the Direct3D 9 calls, as small pure functions: each says why Direct3D 9
// refuses the arguments, in a Direct3D 9 programmer's words, or nothing where it accepts them (a
// refused call returns D3DERR_INVALIDCALL and changes nothing; the call trace notes the reason).
// Used by the front end only, so that every device refuses the same calls for the same reasons.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/graphics_device.h"

namespace d3d9 {

// Why a call is refused; empty where it is accepted.
using Refusal = std::string;

// Direct3D 9 stores any render state number from D3DRS_ZENABLE (7) to 255, whether it defines
// it or not, and 0; it refuses 1 to 6 and every number above 255.
Refusal CheckRenderState(DWORD state);
// Stages 0 to 7; types up to D3DTSS_CONSTANT (32).
Refusal CheckStageState(DWORD stage, DWORD type);
// Sampler numbers 0 to 15, D3DDMAPSAMPLER and the four vertex texture samplers; types
// D3DSAMP_ADDRESSU (1) to D3DSAMP_DMAPOFFSET (13).
Refusal CheckSamplerState(DWORD sampler, DWORD type);
// A sampler number alone, for SetTexture.
Refusal CheckSampler(DWORD sampler);
// A light type Direct3D 9 defines, a non-negative range, a direction for directional and spot
// lights, and 0 <= Theta <= Phi for spot lights.
Refusal CheckLight(const D3DLIGHT9* light);
// A rectangle list with its count, at least one known buffer to clear, and only buffers the
// device has (a depth buffer for ZBUFFER, a stencil format for STENCIL).
Refusal CheckClear(DWORD count, const D3DRECT* rects, DWORD flags,
                   const D3DPRESENT_PARAMETERS& parameters);
// Source and destination rectangles and a dirty region only with D3DSWAPEFFECT_COPY.
Refusal CheckPresent(const RECT* source, const RECT* dest, const RGNDATA* dirtyRegion,
                     const D3DPRESENT_PARAMETERS& parameters);
// A run of `count` shader constant registers from `start` in a file of `size`, with values.
Refusal CheckConstantRun(const char* file, UINT size, UINT start, const void* data, UINT count);
// A declaration's elements up to and including its D3DDECL_END entry, which must come within
// MAX_FVF_DECL_SIZE entries; nothing, with the reason, when the list is refused.
std::optional<std::vector<D3DVERTEXELEMENT9>> ReadDeclaration(const D3DVERTEXELEMENT9* elements,
                                                              Refusal* why = nullptr);
// The arguments of IDirect3D9::CreateDevice: D3D_OK, D3DERR_INVALIDCALL, or
// D3DERR_NOTAVAILABLE for what this platform cannot give (a full-screen device); `why` says
// why where it is not D3D_OK.
HRESULT CheckCreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                          DWORD behaviorFlags, const D3DPRESENT_PARAMETERS* parameters,
                          IDirect3DDevice9** device, Refusal* why = nullptr);

}  // namespace d3d9
