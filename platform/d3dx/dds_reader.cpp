// Our DDS reader: A8R8G8B8, X8R8G8B8, R8G8B8, R5G6B5, A1R5G5B5 (any RGB layout given by bit
// masks, 16 to 32 bits) and DXT1/3/5, with or without mip chains. Cube maps, volumes and the
// DX10 extension are refused. Sizes, level counts and data lengths are checked before use.
#include <bit>
#include <cstring>

#include "platform/d3dx/texture_files.h"

namespace d3dx {
namespace {

constexpr std::uint32_t kMagic = 0x20534444;  // "DDS "
constexpr std::uint32_t kHeaderSize = 124;
constexpr std::uint32_t kPixelFormatSize = 32;
constexpr std::uint32_t kFlagMipMapCount = 0x20000;
constexpr std::uint32_t kPfAlphaPixels = 0x1;
constexpr std::uint32_t kPfFourCC = 0x4;
constexpr std::uint32_t kPfRgb = 0x40;
constexpr std::uint32_t kCaps2CubeMap = 0x200;
constexpr std::uint32_t kCaps2Volume = 0x200000;

struct Header {
    std::uint32_t size, flags, height, width, pitch, depth, mipCount;
    std::uint32_t reserved[11];
    std::uint32_t pfSize, pfFlags, fourCC, bitCount, rMask, gMask, bMask, aMask;
    std::uint32_t caps, caps2, caps3, caps4, reserved2;
};
static_assert(sizeof(Header) == kHeaderSize);

// One channel from its mask, scaled to 8 bits.
std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask) {
    if (!mask) return 0;
    const int shift = std::countr_zero(mask);
    const std::uint32_t bits = mask >> shift;
    const std::uint32_t value = (pixel & mask) >> shift;
    return bits == 0xFF ? value : (value * 255 + bits / 2) / bits;
}

}  // namespace

std::size_t DxtLevelBytes(D3DFORMAT format, UINT width, UINT height) {
    const std::size_t blocks = std::size_t{(width + 3) / 4} * ((height + 3) / 4);
    return blocks * (format == D3DFMT_DXT1 ? 8 : 16);
}

bool ReadDds(std::span<const std::uint8_t> bytes, TextureData& out, std::string& error) {
    Header h;
    std::uint32_t magic;
    if (bytes.size() < 4 + kHeaderSize) return error = "DDS header truncated", false;
    std::memcpy(&magic, bytes.data(), 4);
    std::memcpy(&h, bytes.data() + 4, kHeaderSize);
    if (magic != kMagic || h.size != kHeaderSize || h.pfSize != kPixelFormatSize) {
        return error = "not a DDS file", false;
    }
    if (h.width == 0 || h.height == 0 || h.width > kMaxTextureSize || h.height > kMaxTextureSize) {
        return error = "bad DDS dimensions", false;
    }
    if (h.caps2 & (kCaps2CubeMap | kCaps2Volume)) {
        return error = "cube and volume DDS files are not supported", false;
    }
    const UINT maxLevels = static_cast<UINT>(std::bit_width(std::max(h.width, h.height)));
    UINT levels = 1;
    if ((h.flags & kFlagMipMapCount) && h.mipCount > 1) levels = h.mipCount;
    if (levels > maxLevels) return error = "too many mip levels", false;

    bool compressed = false;
    D3DFORMAT format = D3DFMT_A8R8G8B8;
    if (h.pfFlags & kPfFourCC) {
        if (h.fourCC == D3DFMT_DXT1 || h.fourCC == D3DFMT_DXT3 || h.fourCC == D3DFMT_DXT5) {
            format = static_cast<D3DFORMAT>(h.fourCC);
            compressed = true;
        } else {
            return error = "unsupported DDS FourCC", false;
        }
    } else if (!(h.pfFlags & kPfRgb) ||
               (h.bitCount != 16 && h.bitCount != 24 && h.bitCount != 32)) {
        return error = "unsupported DDS pixel format", false;
    }
    const bool alpha = compressed ? true : (h.pfFlags & kPfAlphaPixels) && h.aMask;
    if (!compressed) format = alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;

    out = TextureData{};
    out.format = format;
    out.width = h.width;
    out.height = h.height;
    std::size_t pos = 4 + kHeaderSize;
    UINT w = h.width, hh = h.height;
    for (UINT level = 0; level < levels; ++level) {
        const std::size_t pixelBytes = h.bitCount / 8;
        const std::size_t size =
            compressed ? DxtLevelBytes(format, w, hh) : std::size_t{w} * hh * pixelBytes;
        if (size > bytes.size() - pos) return error = "DDS data truncated", false;
        const std::uint8_t* src = bytes.data() + pos;
        if (compressed) {
            out.levels.emplace_back(src, src + size);
        } else {
            std::vector<std::uint8_t> level32(std::size_t{w} * hh * 4);
            for (std::size_t i = 0; i < std::size_t{w} * hh; ++i) {
                std::uint32_t pixel = 0;
                std::memcpy(&pixel, src + i * pixelBytes, pixelBytes);
                const std::uint32_t a = alpha ? Channel(pixel, h.aMask) : 0xFF;
                const std::uint32_t argb = (a << 24) | (Channel(pixel, h.rMask) << 16) |
                                           (Channel(pixel, h.gMask) << 8) | Channel(pixel, h.bMask);
                std::memcpy(&level32[i * 4], &argb, 4);
            }
            out.levels.push_back(std::move(level32));
        }
        pos += size;
        w = std::max(1u, w / 2);
        hh = std::max(1u, hh / 2);
    }
    return true;
}

}  // namespace d3dx
