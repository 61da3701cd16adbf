#include "platform/d3dx/mesh_builder.h"

#include <cmath>
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

Vec3 Normalized(const Vec3& v) {
    Vec3 out;
    D3DXVec3Normalize(&out, &v);
    return out;
}

bool SameVector(const Vec3& a, const Vec3& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Grows a per-vertex component to `size`, filling vertices that came without it.
template <typename T>
void Fill(std::vector<T>& component, std::size_t size, const T& value) {
    component.resize(size, value);
}

}  // namespace

XMaterial DefaultMaterial() {
    XMaterial m;
    m.faceColor = {0.5f, 0.5f, 0.5f, 0.0f};
    m.specular = {0.5f, 0.5f, 0.5f, 0.0f};
    return m;
}

bool MeshBuilder::Add(RawMesh&& mesh, const Matrix4& world, std::string& error) {
    const std::size_t base = positions_.size();
    const std::size_t count = mesh.positions.size();
    if (base + count > kMaxVertices) {
        error = "too many vertices";
        return false;
    }
    if (!IsIdentity(world)) {
        for (Vec3& p : mesh.positions) p = TransformPoint(p, world);
        for (Vec3& n : mesh.normals) n = TransformDirection(n, world);
    }
    for (Vec3& n : mesh.normals) n = Normalized(n);

    // Output vertex v of this mesh starts as position v; a position used with a second normal
    // vector gets a new vertex, chained from the first through `nextSplit`.
    std::vector<std::uint32_t> source(count);  // the position each output vertex copies
    for (std::size_t i = 0; i < count; ++i) source[i] = static_cast<std::uint32_t>(i);
    std::vector<Vec3> vertexNormals;
    std::vector<std::uint32_t> nextSplit;
    if (mesh.hasNormals) {
        vertexNormals.assign(count, Vec3{0, 0, 0});
        nextSplit.assign(count, kNone);
        std::vector<bool> assigned(count, false);
        std::uint32_t* corner = mesh.faces.data();
        const std::uint32_t* normalCorner = mesh.normalFaces.data();
        for (std::uint32_t f = 0; f < mesh.faceCount; ++f) {
            const std::uint32_t n = *corner++;
            ++normalCorner;
            for (std::uint32_t j = 0; j < n; ++j, ++corner, ++normalCorner) {
                const std::uint32_t p = *corner;
                const Vec3& normal = mesh.normals[*normalCorner];
                if (!assigned[p]) {
                    assigned[p] = true;
                    vertexNormals[p] = normal;
                    continue;
                }
                std::uint32_t v = p;
                while (!SameVector(vertexNormals[v], normal) && nextSplit[v] != kNone) {
                    v = nextSplit[v];
                }
                if (!SameVector(vertexNormals[v], normal)) {
                    const auto added = static_cast<std::uint32_t>(source.size());
                    if (base + added >= kMaxVertices) {
                        error = "too many vertices";
                        return false;
                    }
                    source.push_back(p);
                    vertexNormals.push_back(normal);
                    nextSplit.push_back(kNone);
                    nextSplit[v] = added;
                    v = added;
                }
                *corner = v;  // the corner now names its output vertex
            }
        }
        mesh.normals = {};
        mesh.normalFaces = {};
    }

    // Append the vertices, filling components this mesh lacks or earlier meshes lacked.
    const std::size_t added = source.size();
    positions_.reserve(base + added);
    for (std::uint32_t s : source) positions_.push_back(mesh.positions[s]);
    if (mesh.hasNormals || anyNormals_) {
        Fill(normals_, base, Vec3{0, 0, 0});
        if (mesh.hasNormals) {
            normals_.insert(normals_.end(), vertexNormals.begin(), vertexNormals.end());
        }
        Fill(normals_, base + added, Vec3{0, 0, 0});
        anyNormals_ = true;
    }
    if (mesh.hasTexCoords || anyTexCoords_) {
        Fill(texCoords_, 2 * base, 0.0f);
        if (mesh.hasTexCoords) {
            for (std::uint32_t s : source) {
                texCoords_.push_back(mesh.texCoords[2 * s]);
                texCoords_.push_back(mesh.texCoords[2 * s + 1]);
            }
        }
        Fill(texCoords_, 2 * (base + added), 0.0f);
        anyTexCoords_ = true;
    }
    if (mesh.hasColors || anyColors_) {
        Fill(colors_, base, kWhite);
        if (mesh.hasColors) {
            for (std::uint32_t s : source) colors_.push_back(mesh.colors[s]);
        }
        Fill(colors_, base + added, kWhite);
        anyColors_ = true;
    }

    // Fans (v0, vi, vi+1), each triangle with its polygon's attribute.
    const auto materialBase = static_cast<DWORD>(materials_.size());
    if (mesh.triangleCount > (std::numeric_limits<std::uint32_t>::max() - indices_.size()) / 3) {
        error = "too many faces";
        return false;
    }
    indices_.reserve(indices_.size() + 3 * mesh.triangleCount);
    attributes_.reserve(attributes_.size() + mesh.triangleCount);
    const std::uint32_t* corner = mesh.faces.data();
    for (std::uint32_t f = 0; f < mesh.faceCount; ++f) {
        const std::uint32_t n = *corner++;
        const DWORD attribute =
            materialBase + (mesh.hasMaterialList ? mesh.faceMaterials[f] : 0);
        for (std::uint32_t j = 1; j + 1 < n; ++j) {
            indices_.push_back(static_cast<std::uint32_t>(base + corner[0]));
            indices_.push_back(static_cast<std::uint32_t>(base + corner[j]));
            indices_.push_back(static_cast<std::uint32_t>(base + corner[j + 1]));
            attributes_.push_back(attribute);
        }
        corner += n;
    }
    if (mesh.hasMaterialList) {
        for (XMaterial& m : mesh.materials) materials_.push_back(std::move(m));
    } else {
        materials_.push_back(DefaultMaterial());
    }
    mesh = RawMesh{};
    return true;
}

bool MeshBuilder::Finish(XFileContents& out, std::string& error) {
    if (attributes_.empty()) {
        error = "the file holds no faces";
        return false;
    }
    MeshData& mesh = out.mesh;
    mesh.fvf = D3DFVF_XYZ | (anyNormals_ ? D3DFVF_NORMAL : 0) |
               (anyColors_ ? D3DFVF_DIFFUSE : 0) | (anyTexCoords_ ? D3DFVF_TEX1 : 0);
    mesh.stride = StrideOf(mesh.fvf);
    mesh.vertexCount = static_cast<UINT>(positions_.size());
    mesh.vertices.resize(std::size_t{mesh.vertexCount} * mesh.stride);
    std::uint8_t* dst = mesh.vertices.data();
    for (std::size_t v = 0; v < positions_.size(); ++v) {
        std::memcpy(dst, &positions_[v], 12);
        std::uint8_t* q = dst + 12;
        if (anyNormals_) std::memcpy(q, &normals_[v], 12), q += 12;
        if (anyColors_) std::memcpy(q, &colors_[v], 4), q += 4;
        if (anyTexCoords_) std::memcpy(q, &texCoords_[2 * v], 8);
        dst += mesh.stride;
    }
    positions_ = {};
    normals_ = {};
    colors_ = {};
    texCoords_ = {};

    // Stable counting sort of the triangles by attribute, skipped when already in order.
    const std::size_t faces = attributes_.size();
    const std::size_t materialCount = materials_.size();
    bool sorted = true;
    for (std::size_t f = 1; f < faces && sorted; ++f) sorted = attributes_[f - 1] <= attributes_[f];
    if (!sorted) {
        std::vector<std::size_t> start(materialCount + 1, 0);
        for (DWORD a : attributes_) ++start[a + 1];
        for (std::size_t a = 0; a < materialCount; ++a) start[a + 1] += start[a];
        std::vector<std::uint32_t> indices(indices_.size());
        std::vector<DWORD> attributes(faces);
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
        DWORD last = 0;
        for (; f < faces && attributes_[f] == a; ++f) {
            for (int k = 0; k < 3; ++k) {
                const std::uint32_t i = indices_[3 * f + k];
                range.VertexStart = std::min<DWORD>(range.VertexStart, i);
                last = std::max<DWORD>(last, i);
            }
        }
        range.FaceCount = static_cast<DWORD>(f) - range.FaceStart;
        range.VertexCount = last - range.VertexStart + 1;
        mesh.table.push_back(range);
    }
    mesh.options = mesh.vertexCount > 0xFFFF ? D3DXMESH_32BIT : 0;
    mesh.indices = std::move(indices_);
    mesh.attributes = std::move(attributes_);
    out.materials = std::move(materials_);
    (void)error;
    return true;
}

std::vector<D3DVERTEXELEMENT9> DeclarationOf(DWORD fvf) {
    std::vector<D3DVERTEXELEMENT9> decl;
    WORD offset = 0;
    decl.push_back({0, offset, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0});
    offset += 12;
    if (fvf & D3DFVF_NORMAL) {
        decl.push_back({0, offset, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0});
        offset += 12;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        decl.push_back({0, offset, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0});
        offset += 4;
    }
    if (fvf & D3DFVF_TEX1) {
        decl.push_back({0, offset, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0});
    }
    decl.push_back(D3DDECL_END());
    return decl;
}

UINT StrideOf(DWORD fvf) {
    return 12 + ((fvf & D3DFVF_NORMAL) ? 12 : 0) + ((fvf & D3DFVF_DIFFUSE) ? 4 : 0) +
           ((fvf & D3DFVF_TEX1) ? 8 : 0);
}

}  // namespace d3dx
