// Our reader of the DirectX X file format (text, binary with 32- or 64-bit floats, and their
// MSZIP-compressed forms), producing one merged mesh with D3DX's load semantics.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/d3dx/mesh_data.h"

namespace d3dx {

// A material as D3DX reports it: the file's colours, with the ambient colour and the alphas D3DX
// gives (file materials: ambient (0, 0, 0, 1), specular and emissive alpha 1).
struct XMaterial {
    D3DCOLORVALUE faceColor{};
    float power = 0.0f;
    D3DCOLORVALUE specular{};
    D3DCOLORVALUE emissive{};
    D3DCOLORVALUE ambient{0.0f, 0.0f, 0.0f, 1.0f};
    bool hasTexture = false;
    std::string texture;  // exactly as the file writes it
};

struct XFileContents {
    MeshData mesh;
    std::vector<XMaterial> materials;
};

// Why a read failed: the file could not be read, its bytes are not a valid X file, or it is a
// valid X file that holds no mesh to load.
enum class XFailure { None, Unreadable, Malformed, NoMesh };

// Limits that keep a hostile file from exhausting the process.
inline constexpr std::size_t kMaxNesting = 128;
inline constexpr std::size_t kMaxDecompressedBytes = std::size_t{1} << 30;
inline constexpr std::size_t kMaxFileBytes = std::size_t{2} << 30;
inline constexpr std::uint32_t kMaxVertices = 1u << 26;

// Reads a whole file held in memory. Returns false with a one-line reason on any malformation.
bool ReadXFile(std::span<const std::uint8_t> bytes, XFileContents& out, std::string& error,
               XFailure* failure = nullptr);

// Reads a file from disk: opened without blocking, refused unless it is a regular file, read
// (never mapped, so that a file cut short meanwhile is a failed read, not a signal), and let go
// page by page as the parser moves on. Failures to open or read carry the system's reason.
bool ReadXFileFromPath(const char* path, XFileContents& out, std::string& error,
                       XFailure* failure = nullptr);

// Inflates an MSZIP body (after the 16-byte header) into `out`. Exposed for tests and fuzzing.
bool InflateMsZip(std::span<const std::uint8_t> body, std::vector<std::uint8_t>& out,
                  std::string& error);

}  // namespace d3dx
