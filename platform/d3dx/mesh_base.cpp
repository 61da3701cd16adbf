#include "platform/d3dx/mesh_base.h"

#include <cstring>

namespace d3dx {

MeshBase::MeshBase(IDirect3DDevice9* device, MeshData&& data)
    : device_(device), data_(std::move(data)), options_(data_.options) {}

HRESULT MeshBase::GetDeclaration(D3DVERTEXELEMENT9 Declaration[MAX_FVF_DECL_SIZE]) {
    if (!Declaration) return D3DERR_INVALIDCALL;
    const std::vector<D3DVERTEXELEMENT9> decl = DeclarationOf(data_.fvf);
    std::memcpy(Declaration, decl.data(), decl.size() * sizeof(D3DVERTEXELEMENT9));
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

const D3DXATTRIBUTERANGE* MeshBase::RangeOf(DWORD id) const {
    for (const D3DXATTRIBUTERANGE& r : data_.table) {
        if (r.AttribId == id) return &r;
    }
    return nullptr;
}

}  // namespace d3dx
