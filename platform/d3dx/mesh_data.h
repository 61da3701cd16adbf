// A mesh as D3DX hands it to a device: interleaved vertices described by a vertex declaration
// (and by an FVF where one describes them), triangle indices sorted into subsets by attribute,
// the attribute of each face and the attribute table.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3dx/raw_vector.h"
#include "platform/graphics_device.h"

namespace d3dx {

struct MeshData {
    DWORD fvf = 0;  // 0 where no FVF describes the layout (tangents, for example)
    UINT stride = 0;
    // The layout, D3DDECL_END included; empty: the layout of `fvf`.
    std::vector<D3DVERTEXELEMENT9> declaration;
    UINT vertexCount = 0;
    RawVector<std::uint8_t> vertices;  // vertexCount * stride bytes
    RawVector<std::uint32_t> indices;  // three per face
    RawVector<DWORD> attributes;       // one per face
    std::vector<D3DXATTRIBUTERANGE> table;
    DWORD options = 0;  // D3DXMESH_32BIT where the indices need 32 bits

    UINT FaceCount() const { return static_cast<UINT>(attributes.size()); }
};

// The mesh's declaration: its own, or that of its FVF.
std::vector<D3DVERTEXELEMENT9> DeclarationOf(const MeshData& mesh);
// The declaration of an FVF of XYZ, NORMAL, PSIZE, DIFFUSE, SPECULAR and texture coordinate
// sets (two floats each unless D3DFVF_TEXCOORDSIZEn says otherwise).
std::vector<D3DVERTEXELEMENT9> DeclarationOf(DWORD fvf);
UINT StrideOf(DWORD fvf);
// The FVF that describes a declaration exactly, or 0 where none does.
DWORD FvfOf(const std::vector<D3DVERTEXELEMENT9>& declaration);
// The bytes of one element of a D3DDECLTYPE; 0 for D3DDECLTYPE_UNUSED and unknown types.
UINT SizeOfDeclType(BYTE type);

}  // namespace d3dx
