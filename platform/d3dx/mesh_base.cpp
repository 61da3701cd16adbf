// ID3DXMesh's device-independent part (declaration, locks, attribute table) and the vertex
// layouts behind it: declarations of FVFs, the FVF of a declaration, element sizes.
#include "platform/d3dx/mesh_base.h"

#include <algorithm>
#include <cstring>

namespace d3dx {

MeshBase::MeshBase(IDirect3DDevice9* device, MeshData&& data)
    : device_(device), data_(std::move(data)), options_(data_.options) {}

HRESULT MeshBase::GetDeclaration(D3DVERTEXELEMENT9 Declaration[MAX_FVF_DECL_SIZE]) {
    if (!Declaration) return D3DERR_INVALIDCALL;
    const std::vector<D3DVERTEXELEMENT9> decl = DeclarationOf(data_);
    std::memcpy(Declaration, decl.data(),
                std::min<std::size_t>(decl.size(), MAX_FVF_DECL_SIZE) * sizeof(D3DVERTEXELEMENT9));
    return D3D_OK;
}

HRESULT MeshBase::GetDevice(IDirect3DDevice9** ppDevice) {
    if (!ppDevice) return D3DERR_INVALIDCALL;
    device_->AddRef();
    *ppDevice = device_;
    return D3D_OK;
}

HRESULT MeshBase::LockVertexBuffer(DWORD, LPVOID* ppData) {
    if (!ppData) return D3DERR_INVALIDCALL;
    *ppData = data_.vertices.data();
    return D3D_OK;
}

HRESULT MeshBase::LockIndexBuffer(DWORD, LPVOID* ppData) {
    if (!ppData) return D3DERR_INVALIDCALL;
    // The 16-bit form is made on the first lock; drawing uses the 32-bit indices.
    if (!(options_ & D3DXMESH_32BIT) && indices16_.empty()) {
        indices16_.assign(data_.indices.begin(), data_.indices.end());
    }
    *ppData = (options_ & D3DXMESH_32BIT) ? static_cast<void*>(data_.indices.data())
                                          : static_cast<void*>(indices16_.data());
    return D3D_OK;
}

HRESULT MeshBase::LockAttributeBuffer(DWORD, DWORD** ppData) {
    if (!ppData) return D3DERR_INVALIDCALL;
    *ppData = data_.attributes.data();
    return D3D_OK;
}

HRESULT MeshBase::GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) {
    if (!pAttribTableSize) return D3DERR_INVALIDCALL;
    if (!pAttribTable) {
        *pAttribTableSize = static_cast<DWORD>(data_.table.size());
        return D3D_OK;
    }
    std::memcpy(pAttribTable, data_.table.data(), data_.table.size() * sizeof(D3DXATTRIBUTERANGE));
    return D3D_OK;
}

// ---- Vertex layouts ----------------------------------------------------------------------------

namespace {

constexpr DWORD kTexCoordSizeShift = 16;  // D3DFVF_TEXCOORDSIZEn: two bits per set from bit 16

// D3DFVF_TEXCOORDSIZEn's codes: 0 two floats, 1 three, 2 four, 3 one.
BYTE TexCoordType(DWORD fvf, int set) {
    static constexpr BYTE kTypes[4] = {D3DDECLTYPE_FLOAT2, D3DDECLTYPE_FLOAT3, D3DDECLTYPE_FLOAT4,
                                       D3DDECLTYPE_FLOAT1};
    return kTypes[(fvf >> (kTexCoordSizeShift + 2 * set)) & 3];
}

DWORD TexCoordSizeBits(BYTE type, int set) {
    const DWORD code = type == D3DDECLTYPE_FLOAT3   ? 1
                       : type == D3DDECLTYPE_FLOAT4 ? 2
                       : type == D3DDECLTYPE_FLOAT1 ? 3
                                                    : 0;
    return code << (kTexCoordSizeShift + 2 * set);
}

}  // namespace

UINT SizeOfDeclType(BYTE type) {
    switch (type) {
        case D3DDECLTYPE_FLOAT1:
        case D3DDECLTYPE_D3DCOLOR:
        case D3DDECLTYPE_UBYTE4:
        case D3DDECLTYPE_SHORT2:
        case D3DDECLTYPE_UBYTE4N:
        case D3DDECLTYPE_SHORT2N:
        case D3DDECLTYPE_USHORT2N:
        case D3DDECLTYPE_UDEC3:
        case D3DDECLTYPE_DEC3N:
        case D3DDECLTYPE_FLOAT16_2:
            return 4;
        case D3DDECLTYPE_FLOAT2:
        case D3DDECLTYPE_SHORT4:
        case D3DDECLTYPE_SHORT4N:
        case D3DDECLTYPE_USHORT4N:
        case D3DDECLTYPE_FLOAT16_4:
            return 8;
        case D3DDECLTYPE_FLOAT3:
            return 12;
        case D3DDECLTYPE_FLOAT4:
            return 16;
        default:
            return 0;
    }
}

std::vector<D3DVERTEXELEMENT9> DeclarationOf(DWORD fvf) {
    std::vector<D3DVERTEXELEMENT9> decl;
    WORD offset = 0;
    const auto add = [&](BYTE type, BYTE usage, BYTE index) {
        decl.push_back({0, offset, type, D3DDECLMETHOD_DEFAULT, usage, index});
        offset = static_cast<WORD>(offset + SizeOfDeclType(type));
    };
    if (fvf & D3DFVF_XYZ) add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0);
    if (fvf & D3DFVF_NORMAL) add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0);
    if (fvf & D3DFVF_PSIZE) add(D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_PSIZE, 0);
    if (fvf & D3DFVF_DIFFUSE) add(D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0);
    if (fvf & D3DFVF_SPECULAR) add(D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 1);
    const int sets = static_cast<int>((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
    for (int i = 0; i < sets && i < 8; ++i) {
        add(TexCoordType(fvf, i), D3DDECLUSAGE_TEXCOORD, static_cast<BYTE>(i));
    }
    decl.push_back(D3DDECL_END());
    return decl;
}

std::vector<D3DVERTEXELEMENT9> DeclarationOf(const MeshData& mesh) {
    return mesh.declaration.empty() ? DeclarationOf(mesh.fvf) : mesh.declaration;
}

UINT StrideOf(DWORD fvf) {
    UINT stride = 0;
    for (const D3DVERTEXELEMENT9& e : DeclarationOf(fvf)) stride += SizeOfDeclType(e.Type);
    return stride;
}

// An FVF lays its parts out in one order, packed, in stream 0: position, normal, point size,
// diffuse, specular, then texture coordinate sets 0, 1, ... of one to four floats.
DWORD FvfOf(const std::vector<D3DVERTEXELEMENT9>& declaration) {
    struct Part {
        BYTE usage, index, type;
        DWORD bit;
    };
    static constexpr Part kParts[] = {
        {D3DDECLUSAGE_POSITION, 0, D3DDECLTYPE_FLOAT3, D3DFVF_XYZ},
        {D3DDECLUSAGE_NORMAL, 0, D3DDECLTYPE_FLOAT3, D3DFVF_NORMAL},
        {D3DDECLUSAGE_PSIZE, 0, D3DDECLTYPE_FLOAT1, D3DFVF_PSIZE},
        {D3DDECLUSAGE_COLOR, 0, D3DDECLTYPE_D3DCOLOR, D3DFVF_DIFFUSE},
        {D3DDECLUSAGE_COLOR, 1, D3DDECLTYPE_D3DCOLOR, D3DFVF_SPECULAR},
    };
    DWORD fvf = 0;
    std::size_t part = 0;
    int sets = 0;
    UINT offset = 0;
    for (const D3DVERTEXELEMENT9& e : declaration) {
        if (e.Stream == 0xFF) break;  // D3DDECL_END
        if (e.Stream != 0 || e.Offset != offset || e.Method != D3DDECLMETHOD_DEFAULT) return 0;
        while (part < std::size(kParts) &&
               (kParts[part].usage != e.Usage || kParts[part].index != e.UsageIndex)) {
            ++part;
        }
        if (part < std::size(kParts) && sets == 0) {
            if (kParts[part].type != e.Type) return 0;
            fvf |= kParts[part++].bit;
        } else if (e.Usage == D3DDECLUSAGE_TEXCOORD && e.UsageIndex == sets && sets < 8 &&
                   e.Type <= D3DDECLTYPE_FLOAT4) {
            fvf |= TexCoordSizeBits(e.Type, sets++);
        } else {
            return 0;
        }
        offset += SizeOfDeclType(e.Type);
    }
    if (!(fvf & D3DFVF_XYZ)) return 0;
    return fvf | static_cast<DWORD>(sets) << D3DFVF_TEXCOUNT_SHIFT;
}

}  // namespace d3dx
