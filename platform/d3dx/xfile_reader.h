// Our reader of the DirectX X file format (text, binary with 32- or 64-bit floats, and their
// MSZIP-compressed forms), producing one merged mesh with D3DX's load semantics.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/d3dx/mesh_data.h"

namespace d3dx {

struct XMaterial {
    D3DCOLORVALUE faceColor{};
    float power = 0.0f;
    D3DCOLORVALUE specular{};  // alpha 1
    D3DCOLORVALUE emissive{};  // alpha 1
    bool hasTexture = false;
    std::string texture;  // exactly as the file writes it
};

struct XFileContents {
    MeshData mesh;
    std::vector<XMaterial> materials;
};

// Limits that keep a hostile file from exhausting the process.
inline constexpr std::size_t kMaxNesting = 128;
inline constexpr std::size_t kMaxDecompressedBytes = std::size_t{1} << 30;
inline constexpr std::uint32_t kMaxVertices = 1u << 26;

// Reads a whole file held in memory. Returns false with a one-line reason on any malformation.
bool ReadXFile(std::span<const std::uint8_t> bytes, XFileContents& out, std::string& error);

// Reads a file from disk; the pages already parsed are let go as the reader moves on.
bool ReadXFileFromPath(const char* path, XFileContents& out, std::string& error);

// Inflates an MSZIP body (after the 16-byte header) into `out`. Exposed for tests and fuzzing.
bool InflateMsZip(std::span<const std::uint8_t> body, std::vector<std::uint8_t>& out,
                  std::string& error);

}  // namespace d3dx
