#include "platform/gl/gl_translate.h"

#include <algorithm>

namespace gl {

CullMode CullOf(DWORD d3dCull) {
    switch (d3dCull) {
        case D3DCULL_CW:
            return {true, GL_FRONT};
        case D3DCULL_CCW:
            return {true, GL_BACK};
        default:
            return {false, GL_BACK};
    }
}

GLenum CompareOf(DWORD d3dCmp) {
    switch (d3dCmp) {
        case D3DCMP_NEVER:
            return GL_NEVER;
        case D3DCMP_LESS:
            return GL_LESS;
        case D3DCMP_EQUAL:
            return GL_EQUAL;
        case D3DCMP_LESSEQUAL:
            return GL_LEQUAL;
        case D3DCMP_GREATER:
            return GL_GREATER;
        case D3DCMP_NOTEQUAL:
            return GL_NOTEQUAL;
        case D3DCMP_GREATEREQUAL:
            return GL_GEQUAL;
        default:
            return GL_ALWAYS;
    }
}

GLenum BlendOf(DWORD d3dBlend) {
    switch (d3dBlend) {
        case D3DBLEND_ZERO:
            return GL_ZERO;
        case D3DBLEND_SRCCOLOR:
            return GL_SRC_COLOR;
        case D3DBLEND_INVSRCCOLOR:
            return GL_ONE_MINUS_SRC_COLOR;
        case D3DBLEND_SRCALPHA:
            return GL_SRC_ALPHA;
        case D3DBLEND_INVSRCALPHA:
            return GL_ONE_MINUS_SRC_ALPHA;
        case D3DBLEND_DESTALPHA:
            return GL_DST_ALPHA;
        case D3DBLEND_INVDESTALPHA:
            return GL_ONE_MINUS_DST_ALPHA;
        case D3DBLEND_DESTCOLOR:
            return GL_DST_COLOR;
        case D3DBLEND_INVDESTCOLOR:
            return GL_ONE_MINUS_DST_COLOR;
        case D3DBLEND_SRCALPHASAT:
            return GL_SRC_ALPHA_SATURATE;
        case D3DBLEND_BLENDFACTOR:
            return GL_CONSTANT_COLOR;
        case D3DBLEND_INVBLENDFACTOR:
            return GL_ONE_MINUS_CONSTANT_COLOR;
        default:
            return GL_ONE;
    }
}

BlendFactors BlendFactorsOf(DWORD srcBlend, DWORD destBlend) {
    if (srcBlend == D3DBLEND_BOTHSRCALPHA) return {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
    if (srcBlend == D3DBLEND_BOTHINVSRCALPHA) return {GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA};
    return {BlendOf(srcBlend), BlendOf(destBlend)};
}

GLenum BlendOpOf(DWORD d3dBlendOp) {
    switch (d3dBlendOp) {
        case D3DBLENDOP_SUBTRACT:
            return GL_FUNC_SUBTRACT;
        case D3DBLENDOP_REVSUBTRACT:
            return GL_FUNC_REVERSE_SUBTRACT;
        case D3DBLENDOP_MIN:
            return GL_MIN;
        case D3DBLENDOP_MAX:
            return GL_MAX;
        default:
            return GL_FUNC_ADD;
    }
}

GLenum PolygonModeOf(DWORD d3dFill) {
    switch (d3dFill) {
        case D3DFILL_POINT:
            return GL_POINT;
        case D3DFILL_WIREFRAME:
            return GL_LINE;
        default:
            return GL_FILL;
    }
}

// A MIPFILTER of NONE samples level 0 only.
GLenum MinFilterOf(DWORD minFilter, DWORD mipFilter) {
    const bool linear = minFilter == D3DTEXF_LINEAR || minFilter == D3DTEXF_ANISOTROPIC;
    switch (mipFilter) {
        case D3DTEXF_POINT:
            return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
        case D3DTEXF_LINEAR:
        case D3DTEXF_ANISOTROPIC:
            return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
        default:
            return linear ? GL_LINEAR : GL_NEAREST;
    }
}

GLenum MagFilterOf(DWORD magFilter) {
    return magFilter == D3DTEXF_LINEAR || magFilter == D3DTEXF_ANISOTROPIC ? GL_LINEAR : GL_NEAREST;
}

GLenum AddressOf(DWORD d3dAddress) {
    switch (d3dAddress) {
        case D3DTADDRESS_MIRROR:
            return GL_MIRRORED_REPEAT;
        case D3DTADDRESS_CLAMP:
            return GL_CLAMP_TO_EDGE;
        case D3DTADDRESS_BORDER:
            return GL_CLAMP_TO_BORDER;
        case D3DTADDRESS_MIRRORONCE:
            return GL_MIRROR_CLAMP_TO_EDGE;
        default:
            return GL_REPEAT;
    }
}

Rgba ColorOf(D3DCOLOR argb) {
    return {((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
            ((argb >> 24) & 0xFF) / 255.0f};
}

int SampleCountOf(D3DMULTISAMPLE_TYPE type, DWORD quality, int maxSamples) {
    int wanted = 0;
    if (type == D3DMULTISAMPLE_NONMASKABLE)
        wanted = 1 << std::min<DWORD>(quality + 1, 5);
    else if (type >= 2 && type <= 16)
        wanted = static_cast<int>(type);
    if (wanted <= 1 || maxSamples <= 1) return 0;
    return std::min(wanted, maxSamples);
}

AttribFormat AttribFormatOf(BYTE declType) {
    AttribFormat f;
    switch (declType) {
        case D3DDECLTYPE_FLOAT1:
        case D3DDECLTYPE_FLOAT2:
        case D3DDECLTYPE_FLOAT3:
        case D3DDECLTYPE_FLOAT4:
            f.size = declType - D3DDECLTYPE_FLOAT1 + 1;
            break;
        case D3DDECLTYPE_D3DCOLOR:  // B, G, R, A in memory: read with the BGRA size
            f.size = GL_BGRA, f.type = GL_UNSIGNED_BYTE, f.normalized = true;
            break;
        case D3DDECLTYPE_UBYTE4:
        case D3DDECLTYPE_UBYTE4N:
            f.type = GL_UNSIGNED_BYTE, f.normalized = declType == D3DDECLTYPE_UBYTE4N;
            break;
        case D3DDECLTYPE_SHORT2:
        case D3DDECLTYPE_SHORT2N:
        case D3DDECLTYPE_SHORT4:
        case D3DDECLTYPE_SHORT4N:
            f.type = GL_SHORT;
            f.size = declType == D3DDECLTYPE_SHORT2 || declType == D3DDECLTYPE_SHORT2N ? 2 : 4;
            f.normalized = declType == D3DDECLTYPE_SHORT2N || declType == D3DDECLTYPE_SHORT4N;
            break;
        case D3DDECLTYPE_USHORT2N:
        case D3DDECLTYPE_USHORT4N:
            f.type = GL_UNSIGNED_SHORT, f.normalized = true;
            f.size = declType == D3DDECLTYPE_USHORT2N ? 2 : 4;
            break;
        case D3DDECLTYPE_UDEC3:
        case D3DDECLTYPE_DEC3N:
            f.converted = true;
            break;
        case D3DDECLTYPE_FLOAT16_2:
        case D3DDECLTYPE_FLOAT16_4:
            f.type = GL_HALF_FLOAT, f.size = declType == D3DDECLTYPE_FLOAT16_2 ? 2 : 4;
            break;
        default:
            f.known = false;
    }
    return f;
}

GLenum CompressedFormatOf(D3DFORMAT dxt) {
    return dxt == D3DFMT_DXT1   ? GL_COMPRESSED_RGBA_S3TC_DXT1_EXT
           : dxt == D3DFMT_DXT3 ? GL_COMPRESSED_RGBA_S3TC_DXT3_EXT
                                : GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
}

}  // namespace gl
