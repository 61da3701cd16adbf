// The part of ID3DXMesh that is the same on every device: the data, its locks and the attribute
// table. A device adds DrawSubset.
#pragma once

#include "platform/core/ref_counted.h"
#include "platform/d3dx/mesh_data.h"

namespace d3dx {

class MeshBase : public platform::RefCounted<ID3DXMesh> {
  public:
    MeshBase(IDirect3DDevice9* device, MeshData&& data);

    DWORD GetNumFaces() override { return data_.FaceCount(); }
    DWORD GetNumVertices() override { return data_.vertexCount; }
    DWORD GetFVF() override { return data_.fvf; }
    HRESULT GetDeclaration(D3DVERTEXELEMENT9 Declaration[MAX_FVF_DECL_SIZE]) override;
    DWORD GetNumBytesPerVertex() override { return data_.stride; }
    DWORD GetOptions() override { return options_; }
    // The device that made the mesh, with a reference added as Direct3D 9 adds one; it lives as
    // long as the mesh does (a device's objects hold it: platform/d3d9/resources.h).
    HRESULT GetDevice(IDirect3DDevice9** ppDevice) override;
    HRESULT LockVertexBuffer(DWORD Flags, LPVOID* ppData) override;
    HRESULT UnlockVertexBuffer() override { return D3D_OK; }
    HRESULT LockIndexBuffer(DWORD Flags, LPVOID* ppData) override;
    HRESULT UnlockIndexBuffer() override { return D3D_OK; }
    HRESULT LockAttributeBuffer(DWORD Flags, DWORD** ppData) override;
    HRESULT UnlockAttributeBuffer() override { return D3D_OK; }
    HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) override;

    const MeshData& Data() const { return data_; }

  protected:
    IDirect3DDevice9* device_;
    MeshData data_;
    DWORD options_;
    std::vector<std::uint16_t> indices16_;  // the locked index buffer where 16 bits suffice
};

}  // namespace d3dx
