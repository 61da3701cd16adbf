// Direct3D 9's argument checks (see validation.h).
#include "platform/d3d9/validation.h"

#include "platform/core/window_system.h"
#include "platform/d3d9/state.h"

namespace d3d9 {
namespace {

std::string N(unsigned long long v) {
    return std::to_string(v);
}

}  // namespace

Refusal CheckRenderState(DWORD state) {
    if (state == 0 || (state >= D3DRS_ZENABLE && state < kRenderStates)) return {};
    return "render state " + N(state) + " is none Direct3D 9 stores (0, or 7 to 255)";
}

Refusal CheckStageState(DWORD stage, DWORD type) {
    if (stage >= kTextureStages) return "texture stage " + N(stage) + " is past the last stage, 7";
    if (type >= kStageStates)
        return "texture stage state " + N(type) + " is past D3DTSS_CONSTANT (32)";
    return {};
}

Refusal CheckSampler(DWORD sampler) {
    if (SamplerSlot(sampler) >= 0) return {};
    return "sampler " + N(sampler) +
           " is none of 0 to 15, D3DDMAPSAMPLER (256) and D3DVERTEXTEXTURESAMPLER0 to 3 (257 to "
           "260)";
}

Refusal CheckSamplerState(DWORD sampler, DWORD type) {
    if (Refusal why = CheckSampler(sampler); !why.empty()) return why;
    if (type >= D3DSAMP_ADDRESSU && type < kSamplerStates) return {};
    return "sampler state " + N(type) +
           " is none of D3DSAMP_ADDRESSU (1) to D3DSAMP_DMAPOFFSET (13)";
}

Refusal CheckLight(const D3DLIGHT9* light) {
    if (!light) return "no light (NULL)";
    const D3DLIGHT9& l = *light;
    if (l.Type < D3DLIGHT_POINT || l.Type > D3DLIGHT_DIRECTIONAL)
        return "light type " + N(l.Type) + " is none of point (1), spot (2) and directional (3)";
    if (l.Type != D3DLIGHT_DIRECTIONAL && l.Range < 0.0f)
        return "a point or spot light's Range is negative";
    if (l.Type != D3DLIGHT_POINT) {
        const Vec3& d = l.Direction;
        if (d.x == 0.0f && d.y == 0.0f && d.z == 0.0f)
            return "a directional or spot light's Direction is (0, 0, 0)";
    }
    if (l.Type == D3DLIGHT_SPOT && (l.Theta < 0.0f || l.Phi < l.Theta))
        return "a spot light needs 0 <= Theta <= Phi";
    return {};
}

Refusal CheckClear(DWORD count, const D3DRECT* rects, DWORD flags,
                   const D3DPRESENT_PARAMETERS& parameters) {
    constexpr DWORD kKnown = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    if (count && !rects) return N(count) + " rectangles counted and none given (NULL)";
    if (!flags) return "no buffer to clear (Flags 0)";
    if (flags & ~kKnown) return "Flags hold bits other than TARGET, ZBUFFER and STENCIL";
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !parameters.EnableAutoDepthStencil)
        return "ZBUFFER or STENCIL cleared on a device without a depth buffer";
    // D16 has no stencil bits.
    if ((flags & D3DCLEAR_STENCIL) && parameters.AutoDepthStencilFormat == D3DFMT_D16)
        return "STENCIL cleared on a D3DFMT_D16 depth buffer, which has no stencil";
    return {};
}

Refusal CheckPresent(const RECT* source, const RECT* dest, const RGNDATA* dirtyRegion,
                     const D3DPRESENT_PARAMETERS& parameters) {
    if (parameters.SwapEffect == D3DSWAPEFFECT_COPY || (!source && !dest && !dirtyRegion))
        return {};
    return "source or destination rectangles or a dirty region need D3DSWAPEFFECT_COPY";
}

Refusal CheckConstantRun(const char* file, UINT size, UINT start, const void* data, UINT count) {
    if (!data) return "no values (NULL)";
    if (start > size || count > size - start)
        return "registers " + N(start) + " to " + N(std::uint64_t{start} + count - 1) +
               " are past the " + N(size) + " " + file + " registers";
    return {};
}

std::optional<std::vector<D3DVERTEXELEMENT9>> ReadDeclaration(const D3DVERTEXELEMENT9* elements,
                                                              Refusal* why) {
    const auto refuse = [why](std::string reason) -> std::optional<std::vector<D3DVERTEXELEMENT9>> {
        if (why) *why = std::move(reason);
        return std::nullopt;
    };
    if (!elements) return refuse("no elements (NULL)");
    std::vector<D3DVERTEXELEMENT9> out;
    for (UINT i = 0; i < MAX_FVF_DECL_SIZE; ++i) {
        out.push_back(elements[i]);
        if (elements[i].Stream == 0xFF) return out;
        if (elements[i].Type > D3DDECLTYPE_UNUSED)
            return refuse("element " + N(i) + " has type " + N(elements[i].Type) +
                          ", past D3DDECLTYPE_UNUSED (17)");
    }
    return refuse("no D3DDECL_END within " + N(MAX_FVF_DECL_SIZE) + " elements");
}

HRESULT CheckCreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                          DWORD behaviorFlags, const D3DPRESENT_PARAMETERS* pp,
                          IDirect3DDevice9** device, Refusal* why) {
    const auto refuse = [why](HRESULT hr, const char* reason) {
        if (why) *why = reason;
        return hr;
    };
    const DWORD processing =
        behaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING |
                         D3DCREATE_MIXED_VERTEXPROCESSING);
    if (!pp) return refuse(D3DERR_INVALIDCALL, "no presentation parameters (NULL)");
    if (!device) return refuse(D3DERR_INVALIDCALL, "nowhere to return the device (NULL)");
    if (adapter != D3DADAPTER_DEFAULT)
        return refuse(D3DERR_INVALIDCALL, "only adapter 0 (D3DADAPTER_DEFAULT) exists");
    // Exactly one kind of vertex processing.
    if (!processing || (processing & (processing - 1)))
        return refuse(D3DERR_INVALIDCALL,
                      "BehaviorFlags must name exactly one of SOFTWARE, HARDWARE and MIXED vertex "
                      "processing");
    if (deviceType != D3DDEVTYPE_HAL && deviceType != D3DDEVTYPE_REF)
        return refuse(D3DERR_INVALIDCALL, "the device type is neither D3DDEVTYPE_HAL nor _REF");
    // A windowed device presents to its device window, or else to the focus window.
    const HWND window = pp->hDeviceWindow ? pp->hDeviceWindow : focusWindow;
    if (!platform::NativeOf(window))
        return refuse(D3DERR_INVALIDCALL, "neither hDeviceWindow nor the focus window is a window");
    if (pp->BackBufferCount > 3)
        return refuse(D3DERR_INVALIDCALL, "more than 3 back buffers (BackBufferCount)");
    if (pp->MultiSampleType != D3DMULTISAMPLE_NONE && pp->SwapEffect != D3DSWAPEFFECT_DISCARD)
        return refuse(D3DERR_INVALIDCALL, "multisampling needs D3DSWAPEFFECT_DISCARD");
    if (!pp->Windowed)
        return refuse(D3DERR_NOTAVAILABLE, "this platform makes windowed devices only");
    return D3D_OK;
}

}  // namespace d3d9
