// A small writer of X files: one description, written in text, binary (32- or 64-bit floats) or
// MSZIP-compressed form. The asset generator writes the default meshes with it, and the tests
// write their files with it so that the encodings can be compared.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics_device.h"

namespace xfile {

struct XMaterialSpec {
    std::string name;  // empty: unnamed
    std::array<float, 4> faceColor{1, 1, 1, 1};
    float power = 0;
    std::array<float, 3> specular{0, 0, 0};
    std::array<float, 3> emissive{0, 0, 0};
    std::optional<std::string> texture;
};

struct XMeshSpec {
    std::vector<Vec3> positions;
    std::vector<std::vector<std::uint32_t>> faces;
    std::vector<Vec3> normals;
    std::vector<std::vector<std::uint32_t>> normalFaces;
    std::vector<std::array<float, 2>> texCoords;
    std::vector<std::pair<std::uint32_t, std::array<float, 4>>> colors;
    bool materialList = false;
    std::vector<std::uint32_t> faceMaterials;
    std::vector<XMaterialSpec> materials;   // written inline
    std::vector<std::string> materialRefs;  // written as { Name } after the inline ones
};

struct XFrameSpec {
    std::string name = "Frame";
    std::optional<Matrix4> transform;
    std::vector<XMeshSpec> meshes;
    std::vector<XFrameSpec> children;
    bool meshesBeforeTransform = false;
};

struct XFileSpec {
    std::vector<XMaterialSpec> topMaterials;
    std::vector<XMeshSpec> topMeshes;
    std::vector<XFrameSpec> frames;
    bool withTemplates = true;
};

enum class XEncoding { Text, Binary32, Binary64, TextZip, BinaryZip };

std::string WriteX(const XFileSpec& spec, XEncoding encoding);
// MSZIP-compresses a whole uncompressed file (header included) into "tzip"/"bzip".
std::string CompressX(const std::string& file, std::size_t blockBytes = 32768);

// A grid of n x n quads in the xz plane with normals, texture coordinates and one material.
XMeshSpec GridMesh(int n, float spacing);
// A unit cube: 8 positions, 6 quads, 24 normals (one per face corner).
XMeshSpec CubeMesh();

}  // namespace xfile
