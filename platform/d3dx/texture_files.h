// Texture files: BMP, TGA, PNG and JPEG through stb_image, DDS by our own reader, and what
// D3DXCreateTextureFromFileA makes of them (power-of-two sizes, a full box-filtered mip chain).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/d3dx/device_services.h"

namespace d3dx {

inline constexpr UINT kMaxTextureSize = 16384;

// A picture as 32-bit ARGB words, top row first.
struct Image {
    UINT width = 0;
    UINT height = 0;
    bool hasAlpha = false;
    std::vector<std::uint32_t> argb;
};

// A DDS file: uncompressed formats come as ARGB words (A8R8G8B8 or X8R8G8B8), DXT as blocks.
bool ReadDds(std::span<const std::uint8_t> bytes, TextureData& out, std::string& error);

// Any supported file: the levels it holds, uncompressed ones as ARGB words.
bool DecodeTextureFile(std::span<const std::uint8_t> bytes, TextureData& out, std::string& error);

// DXT1/3/5 blocks of a width x height level to ARGB words.
std::vector<std::uint32_t> DecodeDxt(D3DFORMAT format, UINT width, UINT height,
                                     std::span<const std::uint8_t> blocks);
// Bytes of one level of a DXT format.
std::size_t DxtLevelBytes(D3DFORMAT format, UINT width, UINT height);

// What the texture gets: sizes rounded up to powers of two and a full mip chain.
TextureData PrepareTexture(TextureData&& decoded);

}  // namespace d3dx
