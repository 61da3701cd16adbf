#include "platform/d3dx/mesh_builder.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace d3dx {
namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
constexpr D3DCOLOR kWhite = 0xFFFFFFFFu;

bool IsIdentity(const Matrix4& m) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (m.m[r][c] != (r == c ? 1.0f : 0.0f)) return false;
        }
    }
    return true;
}

Vec3 TransformPoint(const Vec3& v, const Matrix4& m) {
    return {v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0],
            v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1],
            v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2] + m.m[3][2]};
}

Vec3 TransformDirection(const Vec3& v, const Matrix4& m) {
    return {v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0],
            v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
            v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]};
}

// Bit-for-bit equality: a vertex splits where its normal vectors differ in any bit.
bool SameVector(const Vec3& a, const Vec3& b) {
    std::uint32_t x[3], y[3];
    std::memcpy(x, &a, 12);
    std::memcpy(y, &b, 12);
    return x[0] == y[0] && x[1] == y[1] && x[2] == y[2];
}

}  // namespace

XMaterial DefaultMaterial() {
    XMaterial m;
    m.faceColor = {0.5f, 0.5f, 0.5f, 0.0f};
    m.specular = {0.5f, 0.5f, 0.5f, 0.0f};
    return m;
}

NormalSplitter::NormalSplitter(RawMesh& mesh) : mesh_(mesh) {
    mesh_.vertexNormal.assign(mesh_.positions.size(), kNone);
    next_.assign(mesh_.positions.size(), kNone);
}

// A corner whose position already has a different normal index: reuse a vertex with the same
// normal vector, or split off a new one.
bool NormalSplitter::Split(std::uint32_t& corner, std::uint32_t normalIndex, std::string& error) {
    const std::uint32_t p = corner;
    const Vec3& normal = mesh_.normals[normalIndex];
    std::uint32_t v = p;
    while (!SameVector(mesh_.normals[mesh_.vertexNormal[v]], normal) && next_[v] != kNone) {
        v = next_[v];
    }
    if (!SameVector(mesh_.normals[mesh_.vertexNormal[v]], normal)) {
        if (mesh_.source.empty()) {
            mesh_.source.resize(mesh_.positions.size());
            for (std::size_t i = 0; i < mesh_.source.size(); ++i) {
                mesh_.source[i] = static_cast<std::uint32_t>(i);
            }
        }
        const auto added = static_cast<std::uint32_t>(mesh_.source.size());
        if (added >= kMaxVertices) {
            error = "too many vertices";
            return false;
        }
        mesh_.source.push_back(p);
        mesh_.vertexNormal.push_back(normalIndex);
        next_.push_back(kNone);
        next_[v] = added;
        v = added;
    }
    corner = v;
    return true;
}

void NormalSplitter::Finish() {
    next_ = {};
}

bool MeshBuilder::Add(RawMesh&& mesh, const Matrix4& world, std::string& error) {
    const std::size_t base = vertexCount_;
    if (base + mesh.VertexCount() > kMaxVertices) {
        error = "too many vertices";
        return false;
    }
    if (!IsIdentity(world)) {
        for (Vec3& p : mesh.positions) p = TransformPoint(p, world);
        for (Vec3& n : mesh.normals) {
            n = TransformDirection(n, world);
            D3DXVec3Normalize(&n, &n);
        }
    }

    // Fans (v0, vi, vi+1), each triangle with its polygon's attribute.
    const auto materialBase = static_cast<DWORD>(materials_.size());
    if (mesh.triangleCount > (std::numeric_limits<std::uint32_t>::max() - indices_.size()) / 3) {
        error = "too many faces";
        return false;
    }
    std::size_t at = indices_.size();
    std::size_t face = attributes_.size();
    indices_.resize(at + 3 * mesh.triangleCount);
    attributes_.resize(face + mesh.triangleCount);
    const auto offset = static_cast<std::uint32_t>(base);
    const std::uint32_t* corner = mesh.faces.data();
    for (std::uint32_t f = 0; f < mesh.faceCount; ++f) {
        const std::uint32_t n = *corner++;
        const DWORD attribute = materialBase + (mesh.hasMaterialList ? mesh.faceMaterials[f] : 0);
        for (std::uint32_t j = 1; j + 1 < n; ++j) {
            indices_[at++] = offset + corner[0];
            indices_[at++] = offset + corner[j];
            indices_[at++] = offset + corner[j + 1];
            attributes_[face++] = attribute;
        }
        corner += n;
    }
    if (mesh.hasMaterialList) {
        for (XMaterial& m : mesh.materials) materials_.push_back(std::move(m));
    } else {
        materials_.push_back(DefaultMaterial());
    }
    mesh.faces = {};
    mesh.faceMaterials = {};
    mesh.materials = {};
    vertexCount_ += mesh.VertexCount();
    parts_.push_back(std::move(mesh));
    return true;
}

bool MeshBuilder::Finish(XFileContents& out, std::string& error) {
    if (attributes_.empty()) {
        error = "the file holds no faces";
        return false;
    }
    // A component is in the layout when any mesh has it; the others get zeros (white colours).
    bool normals = false, colors = false, texCoords = false;
    for (const RawMesh& m : parts_) {
        normals |= m.hasNormals;
        colors |= m.hasColors;
        texCoords |= m.hasTexCoords;
    }
    MeshData& mesh = out.mesh;
    mesh.fvf = D3DFVF_XYZ | (normals ? D3DFVF_NORMAL : 0) | (colors ? D3DFVF_DIFFUSE : 0) |
               (texCoords ? D3DFVF_TEX1 : 0);
    mesh.stride = StrideOf(mesh.fvf);
    mesh.vertexCount = static_cast<UINT>(vertexCount_);
    mesh.vertices.resize(vertexCount_ * mesh.stride);
    std::uint8_t* dst = mesh.vertices.data();
    const float zeros[3] = {0, 0, 0};
    for (RawMesh& m : parts_) {
        const std::size_t n = m.VertexCount();
        for (std::size_t v = 0; v < n; ++v) {
            const std::size_t s = m.source.empty() ? v : m.source[v];
            std::memcpy(dst, &m.positions[s], 12);
            std::uint8_t* q = dst + 12;
            if (normals) {
                // A position that no face uses has a zero normal.
                const bool has = m.hasNormals && m.vertexNormal[v] != kNone;
                std::memcpy(
                    q, has ? static_cast<const void*>(&m.normals[m.vertexNormal[v]]) : zeros, 12);
                q += 12;
            }
            if (colors) {
                std::memcpy(q, m.hasColors ? &m.colors[s] : &kWhite, 4);
                q += 4;
            }
            if (texCoords) std::memcpy(q, m.hasTexCoords ? &m.texCoords[2 * s] : zeros, 8);
            dst += mesh.stride;
        }
        m = RawMesh{};
    }
    parts_.clear();

    // Stable counting sort of the triangles by attribute, skipped when already in order.
    const std::size_t faces = attributes_.size();
    const std::size_t materialCount = materials_.size();
    bool sorted = true;
    for (std::size_t f = 1; f < faces && sorted; ++f) sorted = attributes_[f - 1] <= attributes_[f];
    if (!sorted) {
        std::vector<std::size_t> start(materialCount + 1, 0);
        for (DWORD a : attributes_) ++start[a + 1];
        for (std::size_t a = 0; a < materialCount; ++a) start[a + 1] += start[a];
        RawVector<std::uint32_t> indices(indices_.size());
        RawVector<DWORD> attributes(faces);
        for (std::size_t f = 0; f < faces; ++f) {
            const std::size_t to = start[attributes_[f]]++;
            attributes[to] = attributes_[f];
            std::memcpy(&indices[3 * to], &indices_[3 * f], 12);
        }
        indices_.swap(indices);
        attributes_.swap(attributes);
    }

    // One table entry per attribute that has faces, with the range of vertices it uses.
    for (std::size_t f = 0; f < faces;) {
        const DWORD a = attributes_[f];
        D3DXATTRIBUTERANGE range{a, static_cast<DWORD>(f), 0, 0xFFFFFFFFu, 0};
        std::uint32_t first = 0xFFFFFFFFu, last = 0;
        std::size_t end = f;
        while (end < faces && attributes_[end] == a) ++end;
        for (std::size_t i = 3 * f; i < 3 * end; ++i) {
            first = std::min(first, indices_[i]);
            last = std::max(last, indices_[i]);
        }
        range.FaceCount = static_cast<DWORD>(end - f);
        range.VertexStart = first;
        range.VertexCount = last - first + 1;
        mesh.table.push_back(range);
        f = end;
    }
    mesh.options = mesh.vertexCount > 0xFFFF ? D3DXMESH_32BIT : 0;
    mesh.indices = std::move(indices_);
    mesh.attributes = std::move(attributes_);
    out.materials = std::move(materials_);
    return true;
}

std::vector<D3DVERTEXELEMENT9> DeclarationOf(DWORD fvf) {
    std::vector<D3DVERTEXELEMENT9> decl;
    WORD offset = 0;
    const auto add = [&](BYTE type, BYTE usage, WORD size) {
        decl.push_back({0, offset, type, D3DDECLMETHOD_DEFAULT, usage, 0});
        offset = static_cast<WORD>(offset + size);
    };
    add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 12);
    if (fvf & D3DFVF_NORMAL) add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 12);
    if (fvf & D3DFVF_DIFFUSE) add(D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 4);
    if (fvf & D3DFVF_TEX1) add(D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 8);
    decl.push_back(D3DDECL_END());
    return decl;
}

UINT StrideOf(DWORD fvf) {
    return 12 + ((fvf & D3DFVF_NORMAL) ? 12 : 0) + ((fvf & D3DFVF_DIFFUSE) ? 4 : 0) +
           ((fvf & D3DFVF_TEX1) ? 8 : 0);
}

}  // namespace d3dx
