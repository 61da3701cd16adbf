// Inside the texture file front end: the header readers of each format and the little-endian
// and big-endian reads and channel scaling they share.
#pragma once

#include <bit>
#include <cstring>

#include "platform/d3dx/texture/texture_files.h"

namespace d3dx {

bool ReadBmpHeader(std::span<const std::uint8_t> bytes, PictureHeader& out, std::string& error);
bool ReadTgaHeader(std::span<const std::uint8_t> bytes, PictureHeader& out, std::string& error);
bool ReadPngHeader(std::span<const std::uint8_t> bytes, PictureHeader& out, std::string& error);
bool ReadJpegHeader(std::span<const std::uint8_t> bytes, PictureHeader& out, std::string& error);
bool ReadDdsHeader(std::span<const std::uint8_t> bytes, PictureHeader& out, std::string& error);
// Checks a header's size, and that of the texture it becomes, against kMaxTextureSize and
// kMaxPicturePixels, naming both.
bool WithinLimits(const PictureHeader& header, std::string& error);
// Where a JPEG's segments begin: after the start-of-image marker, which stb_image accepts after
// any number of fill bytes. Zero where the file is not a JPEG.
std::size_t JpegStart(std::span<const std::uint8_t> bytes);

// Callers check the length first.
inline std::uint32_t Le16(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8;
}
inline std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
    return Le16(b, at) | Le16(b, at + 2) << 16;
}
inline std::uint32_t Be16(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t{b[at]} << 8 | b[at + 1];
}
inline std::uint32_t Be32(std::span<const std::uint8_t> b, std::size_t at) {
    return Be16(b, at) << 16 | Be16(b, at + 2);
}

// One channel of a packed pixel, given by its bit mask, scaled to 8 bits with rounding.
inline std::uint32_t MaskedChannel(std::uint32_t pixel, std::uint32_t mask) {
    if (!mask) return 0;
    const int shift = std::countr_zero(mask);
    const std::uint64_t bits = mask >> shift;
    const std::uint64_t value = (pixel & mask) >> shift;
    return bits == 0xFF ? static_cast<std::uint32_t>(value)
                        : static_cast<std::uint32_t>((value * 255 + bits / 2) / bits);
}

inline void PutWord(std::vector<std::uint8_t>& level, std::size_t index, std::uint32_t argb) {
    std::memcpy(level.data() + 4 * index, &argb, 4);
}

// A single-level texture of width x height ARGB words, all zero.
inline TextureData BlankTexture(UINT width, UINT height, bool alpha) {
    TextureData t;
    t.format = alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    t.width = width;
    t.height = height;
    t.levels.emplace_back(std::size_t{width} * height * 4);
    return t;
}

// A picture whose alpha is zero everywhere was written by a tool that leaves the byte unused:
// it is opaque, as the readers of these formats have long taken it.
inline void OpaqueIfAlphaUnused(TextureData& t) {
    std::vector<std::uint8_t>& level = t.levels[0];
    for (std::size_t i = 3; i < level.size(); i += 4) {
        if (level[i]) return;
    }
    for (std::size_t i = 3; i < level.size(); i += 4) level[i] = 0xFF;
    t.format = D3DFMT_X8R8G8B8;
}

}  // namespace d3dx
