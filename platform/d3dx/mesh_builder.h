// Merges the meshes of an X file into one, as D3DX loads them: frame transforms applied,
// polygons split into fans, a vertex split only where it is used with a different normal
// vector, materials concatenated with attribute ids offset, faces sorted by attribute.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dx/xfile_reader.h"

namespace d3dx {

// One Mesh object as read from the file, before merging.
struct RawMesh {
    std::vector<Vec3> positions;
    std::vector<std::uint32_t> faces;  // per face: corner count, then position indices
    std::uint32_t faceCount = 0;
    std::uint64_t triangleCount = 0;

    bool hasNormals = false;
    std::vector<Vec3> normals;
    std::vector<std::uint32_t> normalFaces;  // laid out as `faces`, with normal indices

    bool hasTexCoords = false;
    std::vector<float> texCoords;  // two per position

    bool hasColors = false;
    std::vector<D3DCOLOR> colors;  // one per position

    bool hasMaterialList = false;
    std::vector<std::uint32_t> faceMaterials;  // one per face
    std::vector<XMaterial> materials;
};

class MeshBuilder {
public:
    // Adds one mesh placed by `world` (the combined frame transform). Releases its buffers.
    bool Add(RawMesh&& mesh, const Matrix4& world, std::string& error);
    // Lays out, interleaves and sorts the merged mesh.
    bool Finish(XFileContents& out, std::string& error);

private:
    std::vector<Vec3> positions_;
    std::vector<Vec3> normals_;
    std::vector<float> texCoords_;
    std::vector<D3DCOLOR> colors_;
    bool anyNormals_ = false, anyTexCoords_ = false, anyColors_ = false;
    std::vector<std::uint32_t> indices_;
    std::vector<DWORD> attributes_;
    std::vector<XMaterial> materials_;
};

// The material of a mesh that names none: grey, no texture.
XMaterial DefaultMaterial();

}  // namespace d3dx
