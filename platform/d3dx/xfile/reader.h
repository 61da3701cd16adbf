// Our reader of the DirectX X file format (text, binary with 32- or 64-bit floats, and their
// MSZIP-compressed forms), producing one merged mesh with D3DX's load semantics.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/d3dx/file_bytes.h"
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

// Limits that keep a hostile file from exhausting the process. Memory follows the mesh: every
// count is checked against the bytes that can still come before anything is allocated for it,
// and the input is read through a window of 1 MiB. The vertices of one file are at most what
// 32-bit indices of a device can address in practice; the bytes gone through (time, not memory)
// are at most what an MSZIP header can declare, for uncompressed files alike, so that a file
// reads the same in every form. Names and strings: kMaxNameBytes (input_window.h).
inline constexpr std::size_t kMaxNesting = 128;
inline constexpr std::uint64_t kMaxFileBytes = 0xFFFFFFFFu;
inline constexpr std::uint32_t kMaxVertices = 1u << 26;

struct XReadOptions {
    // Set by another thread: the read ends at its next window, as a failure.
    const std::atomic<bool>* cancel = nullptr;
    // Told which version of the file is read, once it is open and before its body is read.
    std::function<void(const FileIdentity&)> opened;
    // The input window's size; 0 for the usual 256 KiB. A read gives the same result with any
    // (the fuzzer and the tests read with small ones, so that refills fall everywhere).
    std::size_t windowBytes = 0;
};

// Reads a file held in memory. Returns false with a one-line reason on any malformation.
bool ReadXFile(std::span<const std::uint8_t> bytes, XFileContents& out, std::string& error,
               XFailure* failure = nullptr, const XReadOptions& options = {});

// Reads a file from disk: opened without blocking, refused unless it is a regular file, its
// header read and checked before anything else, then its body read a window at a time (never
// mapped, so that a file cut short meanwhile is a failed read, not a signal; a file written to
// while it was read is a failed read too). A compressed body is inflated block by block on a
// thread beside the parser. Failures to open or read carry the system's reason.
bool ReadXFileFromPath(const char* path, XFileContents& out, std::string& error,
                       XFailure* failure = nullptr, const XReadOptions& options = {});

// Inflates a whole MSZIP body (after the 16-byte header) into `out`, with the checks of the
// streamed reader. For tests and fuzzing.
bool InflateMsZip(std::span<const std::uint8_t> body, std::vector<std::uint8_t>& out,
                  std::string& error);

}  // namespace d3dx
