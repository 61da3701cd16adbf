// A mesh as D3DX hands it to a device: interleaved vertices, triangle indices sorted into
// subsets by attribute, the attribute of each face and the attribute table.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3dx/raw_vector.h"
#include "platform/graphics_device.h"

namespace d3dx {

struct MeshData {
    DWORD fvf = 0;
    UINT stride = 0;
    UINT vertexCount = 0;
    RawVector<std::uint8_t> vertices;  // vertexCount * stride bytes
    RawVector<std::uint32_t> indices;  // three per face
    RawVector<DWORD> attributes;       // one per face
    std::vector<D3DXATTRIBUTERANGE> table;
    DWORD options = 0;  // D3DXMESH_32BIT where the indices need 32 bits

    UINT FaceCount() const { return static_cast<UINT>(attributes.size()); }
};

// The vertex declaration of an FVF made of XYZ, NORMAL, DIFFUSE and TEX1.
std::vector<D3DVERTEXELEMENT9> DeclarationOf(DWORD fvf);
UINT StrideOf(DWORD fvf);

}  // namespace d3dx
