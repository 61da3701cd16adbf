// Where each vertex element reaches a device: one attribute location per Direct3D declaration
// usage and usage index. Meshes bind their elements here; the fixed-function vertex stage and
// translated vertex shaders read their inputs from here, so that a vertex shader's input meets
// the mesh element of the same semantic whatever the order of either.
#pragma once

#include "platform/graphics_device.h"

namespace d3dx {

inline constexpr int kNoAttribute = -1;

// POSITION0 0, NORMAL0 1, COLOR0 2, TEXCOORD0 3, TEXCOORD1-7 4-10, TANGENT0 11, BINORMAL0 12,
// COLOR1 13, BLENDWEIGHT0 14, BLENDINDICES0 15; anything else has no location (OpenGL 3.3
// guarantees 16).
constexpr int AttributeLocationOf(BYTE usage, BYTE index) {
    switch (usage) {
        case D3DDECLUSAGE_POSITION:
            return index == 0 ? 0 : kNoAttribute;
        case D3DDECLUSAGE_NORMAL:
            return index == 0 ? 1 : kNoAttribute;
        case D3DDECLUSAGE_COLOR:
            return index == 0 ? 2 : index == 1 ? 13 : kNoAttribute;
        case D3DDECLUSAGE_TEXCOORD:
            return index == 0 ? 3 : index < 8 ? 3 + index : kNoAttribute;
        case D3DDECLUSAGE_TANGENT:
            return index == 0 ? 11 : kNoAttribute;
        case D3DDECLUSAGE_BINORMAL:
            return index == 0 ? 12 : kNoAttribute;
        case D3DDECLUSAGE_BLENDWEIGHT:
            return index == 0 ? 14 : kNoAttribute;
        case D3DDECLUSAGE_BLENDINDICES:
            return index == 0 ? 15 : kNoAttribute;
        default:
            return kNoAttribute;
    }
}

}  // namespace d3dx
