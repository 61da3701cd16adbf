#include "platform/d3dx/xfile/mesh_builder.h"

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

// Normals go through the inverse transpose of the upper 3 x 3, so that they stay perpendicular
// to their surface under non-uniform scale. That is the cofactor matrix over the determinant;
// the normals are normalised afterwards, so only the determinant's sign is kept (which also
// gives a sensible result for a singular matrix).
struct NormalMatrix {
    float m[3][3];

    explicit NormalMatrix(const Matrix4& t) {
        const auto a = [&](int r, int c) { return t.m[r % 3][c % 3]; };
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                m[r][c] = a(r + 1, c + 1) * a(r + 2, c + 2) - a(r + 1, c + 2) * a(r + 2, c + 1);
            }
        }
        const float det = t.m[0][0] * m[0][0] + t.m[0][1] * m[0][1] + t.m[0][2] * m[0][2];
        if (det < 0) {
            for (auto& row : m) {
                for (float& v : row) v = -v;
            }
        }
    }

    Vec3 Apply(const Vec3& n) const {
        return {n.x * m[0][0] + n.y * m[1][0] + n.z * m[2][0],
                n.x * m[0][1] + n.y * m[1][1] + n.z * m[2][1],
                n.x * m[0][2] + n.y * m[1][2] + n.z * m[2][2]};
    }
};

// Equal in value: +0 and -0 are one normal; NaNs equal only themselves, bit for bit.
bool SameComponent(float a, float b) {
    if (a == b) return true;
    std::uint32_t x, y;
    std::memcpy(&x, &a, 4);
    std::memcpy(&y, &b, 4);
    return x == y;
}

bool SameVector(const Vec3& a, const Vec3& b) {
    return SameComponent(a.x, b.x) && SameComponent(a.y, b.y) && SameComponent(a.z, b.z);
}

bool SameUsage(const D3DVERTEXELEMENT9& a, const D3DVERTEXELEMENT9& b) {
    return a.Usage == b.Usage && a.UsageIndex == b.UsageIndex;
}

}  // namespace

XMaterial DefaultMaterial() {
    XMaterial m;
    m.faceColor = {0.5f, 0.5f, 0.5f, 0.0f};
    m.specular = {0.5f, 0.5f, 0.5f, 0.0f};
    m.ambient = {0.0f, 0.0f, 0.0f, 0.0f};
    m.emissive = {0.0f, 0.0f, 0.0f, 0.0f};
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
        const NormalMatrix normalMatrix(world);
        for (Vec3& n : mesh.normals) {
            n = normalMatrix.Apply(n);
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
    // A mesh without a list gets a default material of its own; Finish keeps only one for a file
    // in which no mesh has a list.
    if (mesh.hasMaterialList) {
        anyMaterialList_ = true;
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

// The layout: position, then normal, diffuse colour and texture coordinates where any mesh has
// them, then the DeclData elements of every mesh in order of first appearance. A component that
// a mesh lacks reads zero (white for the diffuse colour). A DeclData element whose usage the
// layout already has (a second TEXCOORD0, say) is dropped: the file's own component wins.
bool MeshBuilder::LayOut(MeshData& mesh, std::string& error) {
    bool normals = false, colors = false, texCoords = false;
    for (const RawMesh& m : parts_) {
        normals |= m.hasNormals;
        colors |= m.hasColors;
        texCoords |= m.hasTexCoords;
    }
    const DWORD fvf = D3DFVF_XYZ | (normals ? D3DFVF_NORMAL : 0) | (colors ? D3DFVF_DIFFUSE : 0) |
                      (texCoords ? D3DFVF_TEX1 : 0);
    std::vector<D3DVERTEXELEMENT9>& decl = mesh.declaration;
    decl = DeclarationOf(fvf);
    decl.pop_back();
    const std::size_t standard = decl.size();
    UINT stride = StrideOf(fvf);
    for (const RawMesh& m : parts_) {
        for (const D3DVERTEXELEMENT9& e : m.declElements) {
            const auto same = std::find_if(decl.begin(), decl.end(),
                                           [&](const auto& have) { return SameUsage(have, e); });
            if (same != decl.end()) {
                if (same - decl.begin() >= static_cast<std::ptrdiff_t>(standard) &&
                    same->Type != e.Type) {
                    error = "DeclData elements of one usage differ in type between meshes";
                    return false;
                }
                continue;
            }
            if (decl.size() + 1 >= MAX_FVF_DECL_SIZE) {
                error = "too many vertex elements";
                return false;
            }
            D3DVERTEXELEMENT9 added = e;
            added.Stream = 0;
            added.Offset = static_cast<WORD>(stride);
            decl.push_back(added);
            stride += SizeOfDeclType(e.Type);
        }
    }
    decl.push_back(D3DDECL_END());
    mesh.fvf = FvfOf(decl);
    mesh.stride = stride;
    mesh.vertexCount = static_cast<UINT>(vertexCount_);
    mesh.vertices.resize(vertexCount_ * stride);

    // Where each appended element comes from in one mesh's DeclData words (or nowhere: zeros).
    struct Copy {
        std::uint32_t fromWord;  // kNone: zeros
        std::uint32_t to, bytes;
    };
    std::uint8_t* dst = mesh.vertices.data();
    const float zeros[4] = {0, 0, 0, 0};
    for (RawMesh& m : parts_) {
        std::vector<Copy> copies;
        for (std::size_t i = standard; i + 1 < decl.size(); ++i) {
            Copy c{kNone, decl[i].Offset, SizeOfDeclType(decl[i].Type)};
            std::uint32_t word = 0;
            for (const D3DVERTEXELEMENT9& e : m.declElements) {
                if (SameUsage(e, decl[i])) {
                    c.fromWord = word;
                    break;
                }
                word += SizeOfDeclType(e.Type) / 4;
            }
            copies.push_back(c);
        }
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
            for (const Copy& c : copies) {
                std::memcpy(dst + c.to,
                            c.fromWord == kNone
                                ? static_cast<const void*>(zeros)
                                : &m.declData[std::size_t{m.declDwords} * s + c.fromWord],
                            c.bytes);
            }
            dst += stride;
        }
        m = RawMesh{};
    }
    return true;
}

bool MeshBuilder::Finish(XFileContents& out, std::string& error) {
    MeshData& mesh = out.mesh;
    if (!LayOut(mesh, error)) return false;
    parts_.clear();
    // No mesh named its materials: one default material for the whole file.
    if (!anyMaterialList_) {
        materials_.assign(1, DefaultMaterial());
        std::fill(attributes_.begin(), attributes_.end(), 0);
    }

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

}  // namespace d3dx
