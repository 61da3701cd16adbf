// Texture files: BMP and TGA by our own readers, PNG and JPEG through stb_image, DDS by our own
// reader, and what D3DXCreateTextureFromFileA makes of them (power-of-two sizes, a full
// box-filtered mip chain). Every reader checks a file's header and its data length before it
// allocates, and says what is wrong in a short phrase.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/d3dx/device_services.h"

namespace d3dx {

// The largest picture decoded: a side of the largest texture Direct3D 9 hardware offers, and a
// pixel count of the texture it becomes (each side rounded up to a power of two) that keeps the
// texture's top level to 256 MiB. Both are checked on the header, before a decoder allocates.
inline constexpr UINT kMaxTextureSize = 16384;
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{64} << 20;

enum class PictureKind { Unknown, Bmp, Tga, Png, Jpeg, Dds };
const char* KindName(PictureKind kind);

// What a file's header says, read before anything is decoded.
struct PictureHeader {
    PictureKind kind = PictureKind::Unknown;
    UINT width = 0;
    UINT height = 0;
    D3DFORMAT format = D3DFMT_X8R8G8B8;  // what it decodes to (DDS: DXT or ARGB)
    UINT levels = 1;                     // mip levels the file holds
};

// The header of any supported file, its size checked against the limits above.
bool ReadPictureHeader(std::span<const std::uint8_t> bytes, PictureHeader& out, std::string& error);

// Any supported file: the levels it holds, uncompressed ones as ARGB words (top row first).
bool DecodeTextureFile(std::span<const std::uint8_t> bytes, TextureData& out, std::string& error);

// The readers behind DecodeTextureFile, for the tests and the fuzzers.
bool ReadDds(std::span<const std::uint8_t> bytes, TextureData& out, std::string& error);
bool ReadBmp(std::span<const std::uint8_t> bytes, TextureData& out, std::string& error);
bool ReadTga(std::span<const std::uint8_t> bytes, TextureData& out, std::string& error);

// DXT1/3/5 blocks of a width x height level to ARGB words.
std::vector<std::uint32_t> DecodeDxt(D3DFORMAT format, UINT width, UINT height,
                                     std::span<const std::uint8_t> blocks);
// Bytes of one level of a DXT format.
std::size_t DxtLevelBytes(D3DFORMAT format, UINT width, UINT height);

// What the texture gets: sizes rounded up to powers of two and a full mip chain. The file's own
// levels are kept where its size needs no rounding; levels it lacks are filtered from its last.
TextureData PrepareTexture(TextureData&& decoded);
// The bytes PrepareTexture will make of a file with this header, and the bytes of a texture.
std::uint64_t PreparedBytes(const PictureHeader& header);
std::uint64_t TextureBytes(const TextureData& texture);

}  // namespace d3dx
