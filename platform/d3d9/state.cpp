// Direct3D 9's starting values for a new device's states.
#include "platform/d3d9/state.h"

#include <cstring>

namespace d3d9 {
namespace {

DWORD FloatBits(float f) {
    DWORD bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

// Values of enumerations the table below needs and the interface does not otherwise name.
constexpr DWORD kStencilKeep = 1;  // D3DSTENCILOP_KEEP
constexpr DWORD kBlendOpAdd = 1;   // D3DBLENDOP_ADD
constexpr DWORD kDegreeCubic = 3;  // D3DDEGREE_CUBIC
constexpr DWORD kDegreeLinear = 1;

struct Default {
    D3DRENDERSTATETYPE state;
    DWORD value;
};

// Every defined state whose starting value is not zero (ZENABLE is set by SetDefaults).
const Default kRenderStateDefaults[] = {
    {D3DRS_FILLMODE, D3DFILL_SOLID},
    {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
    {D3DRS_ZWRITEENABLE, TRUE},
    {D3DRS_LASTPIXEL, TRUE},
    {D3DRS_SRCBLEND, D3DBLEND_ONE},
    {D3DRS_DESTBLEND, D3DBLEND_ZERO},
    {D3DRS_CULLMODE, D3DCULL_CCW},
    {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
    {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
    {D3DRS_FOGEND, FloatBits(1.0f)},
    {D3DRS_FOGDENSITY, FloatBits(1.0f)},
    {D3DRS_STENCILFAIL, kStencilKeep},
    {D3DRS_STENCILZFAIL, kStencilKeep},
    {D3DRS_STENCILPASS, kStencilKeep},
    {D3DRS_STENCILFUNC, D3DCMP_ALWAYS},
    {D3DRS_STENCILMASK, 0xFFFFFFFFu},
    {D3DRS_STENCILWRITEMASK, 0xFFFFFFFFu},
    {D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu},
    {D3DRS_CLIPPING, TRUE},
    {D3DRS_LIGHTING, TRUE},
    {D3DRS_COLORVERTEX, TRUE},
    {D3DRS_LOCALVIEWER, TRUE},
    {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
    {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
    {D3DRS_POINTSIZE, FloatBits(1.0f)},
    {D3DRS_POINTSIZE_MIN, FloatBits(1.0f)},
    {D3DRS_POINTSCALE_A, FloatBits(1.0f)},
    {D3DRS_MULTISAMPLEANTIALIAS, TRUE},
    {D3DRS_MULTISAMPLEMASK, 0xFFFFFFFFu},
    {D3DRS_POINTSIZE_MAX, FloatBits(64.0f)},
    {D3DRS_COLORWRITEENABLE, 0x0000000Fu},
    {D3DRS_BLENDOP, kBlendOpAdd},
    {D3DRS_POSITIONDEGREE, kDegreeCubic},
    {D3DRS_NORMALDEGREE, kDegreeLinear},
    {D3DRS_MINTESSELLATIONLEVEL, FloatBits(1.0f)},
    {D3DRS_MAXTESSELLATIONLEVEL, FloatBits(1.0f)},
    {D3DRS_ADAPTIVETESS_Z, FloatBits(1.0f)},
    {D3DRS_CCW_STENCILFAIL, kStencilKeep},
    {D3DRS_CCW_STENCILZFAIL, kStencilKeep},
    {D3DRS_CCW_STENCILPASS, kStencilKeep},
    {D3DRS_CCW_STENCILFUNC, D3DCMP_ALWAYS},
    {D3DRS_COLORWRITEENABLE1, 0x0000000Fu},
    {D3DRS_COLORWRITEENABLE2, 0x0000000Fu},
    {D3DRS_COLORWRITEENABLE3, 0x0000000Fu},
    {D3DRS_BLENDFACTOR, 0xFFFFFFFFu},
    {D3DRS_SRCBLENDALPHA, D3DBLEND_ONE},
    {D3DRS_DESTBLENDALPHA, D3DBLEND_ZERO},
    {D3DRS_BLENDOPALPHA, kBlendOpAdd},
};

}  // namespace

DeviceState::DeviceState() {
    SetDefaults(false);
}

void DeviceState::SetDefaults(bool depthBuffer) {
    std::memset(renderStates, 0, sizeof renderStates);
    for (const Default& d : kRenderStateDefaults) renderStates[d.state] = d.value;
    renderStates[D3DRS_ZENABLE] = depthBuffer ? D3DZB_TRUE : D3DZB_FALSE;

    std::memset(stageStates, 0, sizeof stageStates);
    for (DWORD s = 0; s < kTextureStages; ++s) {
        DWORD* st = stageStates[s];
        // Stage 0 modulates its texture by the diffuse colour; the others start disabled.
        st[D3DTSS_COLOROP] = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        st[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        st[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        st[D3DTSS_ALPHAOP] = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        st[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        st[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        st[D3DTSS_TEXCOORDINDEX] = s;
        st[D3DTSS_COLORARG0] = D3DTA_CURRENT;
        st[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
        st[D3DTSS_RESULTARG] = D3DTA_CURRENT;
    }

    std::memset(samplerStates, 0, sizeof samplerStates);
    for (DWORD* sampler : samplerStates) {
        sampler[D3DSAMP_ADDRESSU] = sampler[D3DSAMP_ADDRESSV] = sampler[D3DSAMP_ADDRESSW] =
            D3DTADDRESS_WRAP;
        sampler[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        sampler[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        sampler[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        sampler[D3DSAMP_MAXANISOTROPY] = 1;
    }

    D3DXMatrixIdentity(&view);
    D3DXMatrixIdentity(&projection);
    for (Matrix4& m : world) D3DXMatrixIdentity(&m);
    for (Matrix4& m : textureTransforms) D3DXMatrixIdentity(&m);
    lights.clear();
    enabledLights.clear();
    material = D3DMATERIAL9{};
}

D3DLIGHT9 DefaultLight() {
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1, 1, 1, 0};
    light.Direction = {0, 0, 1};
    return light;
}

}  // namespace d3d9
