// A small writer of X files as exporters write them: one description, written in text with the
// standard template declarations first, then converted token for token into the binary encoding
// (32- or 64-bit floats) or MSZIP-compressed. The asset generator writes the default meshes with
// it, and the tests write their files with it so that the encodings can be compared.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics_device.h"

namespace xfile {

struct XMaterialDesc {
    std::string name;  // empty: unnamed
    std::array<float, 4> faceColor{1, 1, 1, 1};
    float power = 0;
    std::array<float, 3> specular{0, 0, 0};
    std::array<float, 3> emissive{0, 0, 0};
    std::optional<std::string> texture;
};

// One element of a DeclData object: D3DDECLTYPE, D3DDECLMETHOD, D3DDECLUSAGE, usage index.
struct XDeclElement {
    std::uint32_t type = 0, method = 0, usage = 0, usageIndex = 0;
};

struct XMeshDesc {
    std::string name;  // empty: unnamed
    std::vector<Vec3> positions;
    std::vector<std::vector<std::uint32_t>> faces;
    std::vector<Vec3> normals;
    std::vector<std::vector<std::uint32_t>> normalFaces;
    std::vector<std::array<float, 2>> texCoords;
    std::vector<std::pair<std::uint32_t, std::array<float, 4>>> colors;
    bool materialList = false;
    std::vector<std::uint32_t> faceMaterials;
    std::vector<XMaterialDesc> materials;   // written inline
    std::vector<std::string> materialRefs;  // written as { Name } after the inline ones
    // DeclData: its elements and, per position, the elements' words in order.
    std::vector<XDeclElement> declElements;
    std::vector<std::uint32_t> declData;
    std::string extraObjects;  // further child objects, in text, written as given
};

struct XFrameDesc {
    std::string name = "Frame";
    std::vector<Matrix4> transforms;  // one FrameTransformMatrix object each, in order
    std::vector<XMeshDesc> meshes;
    std::vector<XFrameDesc> children;
    bool meshesBeforeTransform = false;
};

struct XFileDesc {
    std::vector<XMaterialDesc> topMaterials;
    std::vector<XMeshDesc> topMeshes;
    std::vector<XFrameDesc> frames;
    bool withTemplates = true;  // the standard template declarations, as exporters write them
    bool withHeader = true;     // a Header object (version 1.0, flags 1)
    std::string extraObjects;   // further top-level objects, in text, written as given
};

enum class XEncoding { Text, Binary32, Binary64, TextZip, BinaryZip };

// Choices in the binary encoding that exporters make differently; both read the same.
struct XBinaryStyle {
    bool loneIntegerTokens = false;      // a single integer as TOKEN_INTEGER, not a list of one
    bool dwordStringTerminator = false;  // a string's separator as a double word, not a word
};

std::string WriteX(const XFileDesc& desc, XEncoding encoding);
// Converts a text X file (header included) into `encoding`: names, strings, GUIDs, runs of
// integers and of floats (a number with a decimal point or an exponent), template punctuation
// and keywords each become their binary token.
std::string ConvertX(const std::string& text, XEncoding encoding, XBinaryStyle style = {});
// MSZIP-compresses a whole uncompressed file (header included) into "tzip"/"bzip".
std::string CompressX(const std::string& file, std::size_t blockBytes = 32768);
// A FLOAT as exporters write it in text: with a decimal point, and as many digits as it takes
// to read back the same float (six at least).
std::string FormatFloat(float value);

// A grid of n x n quads in the xz plane with normals, texture coordinates and one material.
XMeshDesc GridMesh(int n, float spacing);
// A unit cube: 8 positions, 6 quads, 24 normals (one per face corner).
XMeshDesc CubeMesh();

}  // namespace xfile
