// Merges the meshes of an X file into one, as D3DX loads them: frame transforms applied (normals
// by the inverse transpose), polygons split into fans, a vertex split only where it is used with
// a different normal vector, DeclData elements appended to the layout, materials concatenated
// with attribute ids offset, faces sorted by attribute.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dx/raw_vector.h"
#include "platform/d3dx/xfile/reader.h"

namespace d3dx {

// One Mesh object as read from the file, before merging.
struct RawMesh {
    RawVector<Vec3> positions;
    RawVector<std::uint32_t> faces;  // per face: corner count, then position indices
    std::uint32_t faceCount = 0;
    std::uint64_t triangleCount = 0;

    // With normals, the corners in `faces` name output vertices: vertex v copies position
    // source[v] (v itself while `source` is empty) and has normal normals[vertexNormal[v]].
    bool hasNormals = false;
    RawVector<Vec3> normals;
    RawVector<std::uint32_t> source;
    RawVector<std::uint32_t> vertexNormal;

    bool hasTexCoords = false;
    RawVector<float> texCoords;  // two per position

    bool hasColors = false;
    std::vector<D3DCOLOR> colors;  // one per position

    bool hasMaterialList = false;
    RawVector<std::uint32_t> faceMaterials;  // one per face
    std::vector<XMaterial> materials;

    // DeclData: its elements (offsets within one position's data) and declDwords words per
    // position.
    std::vector<D3DVERTEXELEMENT9> declElements;
    std::uint32_t declDwords = 0;
    RawVector<std::uint32_t> declData;

    std::size_t VertexCount() const { return source.empty() ? positions.size() : source.size(); }
};

// Splits vertices by normal vector as the normal faces stream in: a position keeps its place for
// its first normal and gets a new vertex for each further, different normal vector.
class NormalSplitter {
  public:
    explicit NormalSplitter(RawMesh& mesh);
    // Renames one face's corners (position indices, in place) to output vertices.
    bool Face(std::uint32_t* corners, const std::uint32_t* normalIndices, std::uint32_t n,
              std::string& error) {
        for (std::uint32_t j = 0; j < n; ++j) {
            std::uint32_t& first = mesh_.vertexNormal[corners[j]];
            // Most corners name the normal their position already has.
            if (first == normalIndices[j]) continue;
            if (first == kUnassigned) {
                first = normalIndices[j];
                continue;
            }
            if (!Split(corners[j], normalIndices[j], error)) return false;
        }
        return true;
    }
    void Finish();

    static constexpr std::uint32_t kUnassigned = 0xFFFFFFFFu;

  private:
    bool Split(std::uint32_t& corner, std::uint32_t normalIndex, std::string& error);

    RawMesh& mesh_;
    RawVector<std::uint32_t> next_;  // the next vertex split from the same position
};

class MeshBuilder {
  public:
    // Adds one mesh placed by `world` (the combined frame transform).
    bool Add(RawMesh&& mesh, const Matrix4& world, std::string& error);
    // Whether the meshes added so far have any face; Finish needs one.
    bool HasFaces() const { return !attributes_.empty(); }
    // Lays out, interleaves and sorts the merged mesh.
    bool Finish(XFileContents& out, std::string& error);

  private:
    bool LayOut(MeshData& mesh, std::string& error);

    std::vector<RawMesh> parts_;  // kept for their vertex data until the layout is known
    std::size_t vertexCount_ = 0;
    bool anyMaterialList_ = false;
    RawVector<std::uint32_t> indices_;
    RawVector<DWORD> attributes_;
    std::vector<XMaterial> materials_;
};

// D3DX's material for a file in which no mesh has a material list: every field zero but the
// diffuse and specular red, green and blue, 0.5; no texture.
XMaterial DefaultMaterial();

}  // namespace d3dx
