// Our DDS reader: A8R8G8B8, X8R8G8B8, R8G8B8, R5G6B5, A1R5G5B5 (any RGB layout given by bit
// masks, 16 to 32 bits) and DXT1/3/5, with or without mip chains, whole or stopping early, of
// any size (DXT blocks cover the edges of odd sizes). Cube maps, volumes and the DX10 extension
// are refused. Sizes, level counts and data lengths are checked before use.
#include <algorithm>

#include "platform/d3dx/texture/picture_readers.h"

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

// The header as read, its checks made.
bool Parse(std::span<const std::uint8_t> bytes, Header& h, PictureHeader& out, std::string& error) {
    std::uint32_t magic;
    if (bytes.size() < 4 + kHeaderSize) return error = "DDS header cut short", false;
    std::memcpy(&magic, bytes.data(), 4);
    std::memcpy(&h, bytes.data() + 4, kHeaderSize);
    if (magic != kMagic || h.size != kHeaderSize || h.pfSize != kPixelFormatSize) {
        return error = "not a DDS file (its header sizes are wrong)", false;
    }
    if (h.width == 0 || h.height == 0) {
        return error = "DDS size " + std::to_string(h.width) + " x " + std::to_string(h.height) +
                       " is not a picture",
               false;
    }
    if (h.caps2 & (kCaps2CubeMap | kCaps2Volume)) {
        return error = "cube and volume DDS files are not supported", false;
    }
    out = PictureHeader{};
    out.kind = PictureKind::Dds;
    out.width = h.width;
    out.height = h.height;
    const UINT maxLevels = static_cast<UINT>(std::bit_width(std::max(h.width, h.height)));
    if ((h.flags & kFlagMipMapCount) && h.mipCount > 1) out.levels = h.mipCount;
    if (out.levels > maxLevels) {
        return error = "DDS of " + std::to_string(out.levels) + " mip levels, more than its " +
                       std::to_string(maxLevels) + " sizes",
               false;
    }
    if (h.pfFlags & kPfFourCC) {
        if (h.fourCC != D3DFMT_DXT1 && h.fourCC != D3DFMT_DXT3 && h.fourCC != D3DFMT_DXT5) {
            std::string name(4, ' ');
            for (int i = 0; i < 4; ++i) {
                const char c = static_cast<char>(h.fourCC >> (8 * i));
                name[std::size_t(i)] = c >= ' ' && c <= '~' ? c : '?';
            }
            return error = "DDS format '" + name + "' is not supported", false;
        }
        out.format = static_cast<D3DFORMAT>(h.fourCC);
    } else if (!(h.pfFlags & kPfRgb) ||
               (h.bitCount != 16 && h.bitCount != 24 && h.bitCount != 32)) {
        return error = "DDS pixel format other than RGB of 16, 24 or 32 bits is not supported",
               false;
    } else {
        const bool alpha = (h.pfFlags & kPfAlphaPixels) && h.aMask;
        out.format = alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    }
    return WithinLimits(out, error);
}

}  // namespace

bool ReadDdsHeader(std::span<const std::uint8_t> bytes, PictureHeader& out, std::string& error) {
    Header h;
    return Parse(bytes, h, out, error);
}

bool ReadDds(std::span<const std::uint8_t> bytes, TextureData& out, std::string& error) {
    Header h;
    PictureHeader header;
    if (!Parse(bytes, h, header, error)) return false;
    const bool compressed = (h.pfFlags & kPfFourCC) != 0;
    const bool alpha = header.format == D3DFMT_A8R8G8B8;
    out = TextureData{};
    out.format = header.format;
    out.width = h.width;
    out.height = h.height;
    std::size_t pos = 4 + kHeaderSize;
    UINT w = h.width, hh = h.height;
    for (UINT level = 0; level < header.levels; ++level) {
        const std::size_t pixelBytes = h.bitCount / 8;
        const std::size_t size =
            compressed ? DxtLevelBytes(header.format, w, hh) : std::size_t{w} * hh * pixelBytes;
        if (size > bytes.size() - pos) {
            out = TextureData{};
            return error = "DDS data cut short in mip level " + std::to_string(level) + " of " +
                           std::to_string(header.levels),
                   false;
        }
        const std::uint8_t* src = bytes.data() + pos;
        if (compressed) {
            out.levels.emplace_back(src, src + size);
        } else {
            std::vector<std::uint8_t> level32(std::size_t{w} * hh * 4);
            for (std::size_t i = 0; i < std::size_t{w} * hh; ++i) {
                std::uint32_t pixel = 0;
                std::memcpy(&pixel, src + i * pixelBytes, pixelBytes);
                const std::uint32_t a = alpha ? MaskedChannel(pixel, h.aMask) : 0xFF;
                PutWord(level32, i,
                        (a << 24) | (MaskedChannel(pixel, h.rMask) << 16) |
                            (MaskedChannel(pixel, h.gMask) << 8) | MaskedChannel(pixel, h.bMask));
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
