// D3DXLoadMeshFromXA: reads the X file, hands the merged mesh to the calling device and packs
// the materials into a buffer of D3DXMATERIAL records followed by their texture names. A file
// that cannot be read or parsed gives D3DXERR_INVALIDDATA; a well-formed file without a mesh
// gives E_FAIL, as D3DX does. D3DXPrepareMeshFromXA (prepare_ahead.h) reads a file ahead, on
// another thread, and keeps what it read for the D3DXLoadMeshFromXA of that file and version.
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/core/call_trace.h"
#include "platform/d3dx/device_services.h"
#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/prepare_ahead.h"
#include "platform/d3dx/xfile/reader.h"

using platform::Args;
using platform::Fmt;

namespace {

// A read made ahead: the version of the file it read and what it gave.
struct PreparedMesh {
    d3dx::FileIdentity identity;
    bool ok = false;
    d3dx::XFileContents contents;
    d3dx::XFailure failure = d3dx::XFailure::None;
    std::string error;
};

struct PreparedMeshes {
    std::mutex mutex;
    std::map<std::string, PreparedMesh> byPath;  // one for each name, the latest version's
};

PreparedMeshes& Prepared() {
    static auto* prepared = new PreparedMeshes;  // a preparing thread may outlive static objects
    return *prepared;
}

// The read made ahead for `path`, taken, where the file is still the version it read.
bool TakePrepared(const char* path, PreparedMesh& out) {
    PreparedMeshes& prepared = Prepared();
    {
        const std::lock_guard lock(prepared.mutex);
        const auto found = prepared.byPath.find(path);
        if (found == prepared.byPath.end()) return false;
        out = std::move(found->second);
        prepared.byPath.erase(found);
    }
    d3dx::RegularFile file;
    std::string error;
    return file.Open(path, error) && file.Identity() == out.identity;
}

D3DMATERIAL9 MaterialOf(const d3dx::XMaterial& m) {
    D3DMATERIAL9 out{};
    out.Diffuse = m.faceColor;
    out.Ambient = m.ambient;
    out.Specular = m.specular;
    out.Emissive = m.emissive;
    out.Power = m.power;
    return out;
}

ID3DXBuffer* PackMaterials(const std::vector<d3dx::XMaterial>& materials) {
    std::size_t size = materials.size() * sizeof(D3DXMATERIAL);
    for (const d3dx::XMaterial& m : materials) {
        if (m.hasTexture) size += m.texture.size() + 1;
    }
    ID3DXBuffer* buffer = d3dx::CreateBuffer(nullptr, size);
    auto* records = static_cast<D3DXMATERIAL*>(buffer->GetBufferPointer());
    char* names = reinterpret_cast<char*>(records + materials.size());
    for (std::size_t i = 0; i < materials.size(); ++i) {
        records[i].MatD3D = MaterialOf(materials[i]);
        records[i].pTextureFilename = nullptr;
        if (materials[i].hasTexture) {
            records[i].pTextureFilename = names;
            std::memcpy(names, materials[i].texture.c_str(), materials[i].texture.size() + 1);
            names += materials[i].texture.size() + 1;
        }
    }
    return buffer;
}

HRESULT Load(LPCSTR pFilename, DWORD Options, LPDIRECT3DDEVICE9 pD3DDevice,
             LPD3DXBUFFER* ppAdjacency, LPD3DXBUFFER* ppMaterials, LPD3DXBUFFER* ppEffectInstances,
             DWORD* pNumMaterials, LPD3DXMESH* ppMesh) {
    if (!pFilename || !pD3DDevice || !ppMesh) return D3DERR_INVALIDCALL;
    d3dx::DeviceServices* services = d3dx::ServicesOf(pD3DDevice);
    if (!services) return D3DERR_INVALIDCALL;
    d3dx::XFileContents contents;
    std::string error;
    d3dx::XFailure failure;
    PreparedMesh prepared;
    bool read;
    if (TakePrepared(pFilename, prepared)) {
        read = prepared.ok;
        contents = std::move(prepared.contents);
        error = std::move(prepared.error);
        failure = prepared.failure;
    } else {
        read = d3dx::ReadXFileFromPath(pFilename, contents, error, &failure);
    }
    if (!read) {
        std::fprintf(stderr, "X FILE: %s: %s\n", d3dx::NameForMessage(pFilename).c_str(),
                     error.c_str());
        return failure == d3dx::XFailure::NoMesh ? E_FAIL : D3DXERR_INVALIDDATA;
    }
    const std::size_t faceCount = contents.mesh.FaceCount();
    contents.mesh.options |= Options;
    ID3DXMesh* mesh = nullptr;
    const HRESULT hr = services->CreateMeshFromData(std::move(contents.mesh), &mesh);
    if (FAILED(hr)) return hr;
    *ppMesh = mesh;
    if (ppMaterials) *ppMaterials = PackMaterials(contents.materials);
    if (pNumMaterials) *pNumMaterials = static_cast<DWORD>(contents.materials.size());
    if (ppAdjacency) {
        // No adjacency is computed: every edge reads as open.
        std::vector<DWORD> adjacency(faceCount * 3, 0xFFFFFFFFu);
        *ppAdjacency = d3dx::CreateBuffer(adjacency.data(), adjacency.size() * sizeof(DWORD));
    }
    if (ppEffectInstances) *ppEffectInstances = nullptr;
    return D3D_OK;
}

}  // namespace

HRESULT D3DXPrepareMeshFromXA(LPCSTR pFilename, D3DXPREPARE_PROGRESS* pProgress,
                              std::vector<std::string>* pTextureNames) {
    if (pTextureNames) pTextureNames->clear();
    if (!pFilename) return D3DERR_INVALIDCALL;
    PreparedMesh read;
    bool opened = false;
    d3dx::XReadOptions options;
    if (pProgress) options.cancel = &pProgress->cancel;
    options.opened = [&](const d3dx::FileIdentity& identity) {
        read.identity = identity;
        opened = true;
        if (pProgress) pProgress->bytes += identity.size;
    };
    read.ok = d3dx::ReadXFileFromPath(pFilename, read.contents, read.error, &read.failure, options);
    if (pProgress && pProgress->cancel) return S_FALSE;
    const HRESULT hr = read.ok                                  ? S_OK
                       : read.failure == d3dx::XFailure::NoMesh ? E_FAIL
                                                                : D3DXERR_INVALIDDATA;
    if (pTextureNames) {
        for (const d3dx::XMaterial& m : read.contents.materials) {
            if (m.hasTexture && !m.texture.empty()) pTextureNames->push_back(m.texture);
        }
    }
    // A file that did not open is left to the load, which says why.
    if (!opened) return hr;
    PreparedMeshes& prepared = Prepared();
    const std::lock_guard lock(prepared.mutex);
    PreparedMesh& kept = prepared.byPath[pFilename];
    // Reads may finish out of order: the later version of the file is kept.
    if (kept.identity.changedNs <= read.identity.changedNs) kept = std::move(read);
    return hr;
}

HRESULT D3DXLoadMeshFromXA(LPCSTR pFilename, DWORD Options, LPDIRECT3DDEVICE9 pD3DDevice,
                           LPD3DXBUFFER* ppAdjacency, LPD3DXBUFFER* ppMaterials,
                           LPD3DXBUFFER* ppEffectInstances, DWORD* pNumMaterials,
                           LPD3DXMESH* ppMesh) {
    if (ppMesh) *ppMesh = nullptr;
    const HRESULT hr = Load(pFilename, Options, pD3DDevice, ppAdjacency, ppMaterials,
                            ppEffectInstances, pNumMaterials, ppMesh);
    if (platform::Tracing()) {
        // Appended piece by piece: `" " + std::string` trips GCC 12's -Wrestrict at -O3.
        std::string result = Fmt(hr);
        if (SUCCEEDED(hr)) {
            result.append(1, ' ').append(platform::ObjectName(*ppMesh));
            if (pNumMaterials)
                result.append(1, ' ').append(Fmt(*pNumMaterials)).append(" materials");
        }
        platform::Trace("D3DXLoadMeshFromXA",
                        Args(pFilename, Options, pD3DDevice, platform::OutArg(ppAdjacency),
                             platform::OutArg(ppMaterials), platform::OutArg(ppEffectInstances),
                             platform::OutArg(pNumMaterials), platform::OutArg(ppMesh)),
                        result);
    }
    return hr;
}
