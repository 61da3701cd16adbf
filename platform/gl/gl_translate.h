// Direct3D 9 values to OpenGL ones: small pure functions, one place for every translation.
#pragma once

#include <epoxy/gl.h>

#include "platform/graphics_device.h"

namespace gl {

// Culling, given that the device flips y so that Direct3D's clockwise front faces are
// OpenGL's counter-clockwise ones. A value other than 1, 2 or 3 culls nothing.
struct CullMode {
    bool enabled;
    GLenum face;
};
CullMode CullOf(DWORD d3dCull);

GLenum CompareOf(DWORD d3dCmp);
GLenum BlendOf(DWORD d3dBlend);
// SRCBLEND and DESTBLEND together: D3DBLEND_BOTHSRCALPHA and BOTHINVSRCALPHA as the source
// set both factors, overriding DESTBLEND.
struct BlendFactors {
    GLenum src, dst;
};
BlendFactors BlendFactorsOf(DWORD srcBlend, DWORD destBlend);
// D3DRS_BLENDOP; an unknown operation adds.
GLenum BlendOpOf(DWORD d3dBlendOp);
GLenum PolygonModeOf(DWORD d3dFill);
GLenum MinFilterOf(DWORD minFilter, DWORD mipFilter);
GLenum MagFilterOf(DWORD magFilter);
GLenum AddressOf(DWORD d3dAddress);

// An ARGB colour as four floats in [0, 1].
struct Rgba {
    float r, g, b, a;
};
Rgba ColorOf(D3DCOLOR argb);

// How OpenGL reads one vertex declaration type; `converted` for the types it cannot read as
// Direct3D 9 does (UDEC3 and DEC3N have no w in Direct3D, which reads 1 there; OpenGL's packed
// types take the 2-bit field); `known` false for a type OpenGL has no reading of.
struct AttribFormat {
    GLint size = 4;
    GLenum type = GL_FLOAT;
    bool normalized = false, converted = false, known = true;
};
AttribFormat AttribFormatOf(BYTE declType);

// The compressed format of a DXT texture; DXT1 keeps its one-bit alpha, as Direct3D's does.
GLenum CompressedFormatOf(D3DFORMAT dxt);

// The sample count a back buffer gets: 0 for none; a maskable type is its own count; the
// non-maskable type with quality q asks for 2^(q+1) samples. Clamped to what the driver offers.
int SampleCountOf(D3DMULTISAMPLE_TYPE type, DWORD quality, int maxSamples);

}  // namespace gl
