// Our BMP reader: the core (OS/2) header and the Windows headers of 40 to 124 bytes; 1, 4 and
// 8 bits per pixel through a palette, 24 bits, and 16 and 32 bits either in the default layouts
// (X1R5G5B5, X8R8G8B8) or by bit masks (BI_BITFIELDS, BI_ALPHABITFIELDS); rows bottom-up or, with
// a negative height, top-down. Run-length and embedded JPEG or PNG data are refused by name.
// As the format defines, the fourth byte of a BI_RGB 32-bit pixel is unused: such a picture is
// opaque. Alpha comes only from an alpha mask.
#include <algorithm>
#include <iterator>

#include "platform/d3dx/texture/picture_readers.h"

namespace d3dx {
namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4,
                        kBiPng = 5, kBiAlphaBitfields = 6;
constexpr std::size_t kFileHeader = 14;

struct Layout {
    PictureHeader header;
    bool topDown = false;
    unsigned bpp = 0;
    std::uint32_t masks[4] = {};  // red, green, blue, alpha
    std::size_t palette = 0, paletteEntries = 0, entryBytes = 4;
    std::size_t pixels = 0, stride = 0, rowBytes = 0;
};

bool Parse(std::span<const std::uint8_t> b, Layout& l, std::string& error) {
    if (b.size() < kFileHeader + 16 || b[0] != 'B' || b[1] != 'M') {
        return error = "BMP header cut short", false;
    }
    const std::size_t offset = Le32(b, 10);
    const std::size_t headerSize = Le32(b, 14);
    const bool core = headerSize == 12;
    if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124) {
        return error = "BMP header of " + std::to_string(headerSize) + " bytes is of no known kind",
               false;
    }
    if (b.size() < kFileHeader + headerSize) return error = "BMP header cut short", false;
    std::int64_t width, height;
    std::uint32_t planes, compression = kBiRgb, colorsUsed = 0;
    if (core) {
        width = Le16(b, 18);
        height = Le16(b, 20);
        planes = Le16(b, 22);
        l.bpp = Le16(b, 24);
    } else {
        width = static_cast<std::int32_t>(Le32(b, 18));
        height = static_cast<std::int32_t>(Le32(b, 22));
        planes = Le16(b, 26);
        l.bpp = Le16(b, 28);
        compression = Le32(b, 30);
        colorsUsed = Le32(b, 46);
    }
    if (width <= 0 || height == 0) {
        return error = "BMP size " + std::to_string(width) + " x " + std::to_string(height) +
                       " is not a picture",
               false;
    }
    l.topDown = height < 0;
    if (l.topDown) height = -height;
    if (planes != 1) return error = "BMP plane count is not 1", false;
    if (compression == kBiRle8 || compression == kBiRle4) {
        return error = "run-length compressed BMP files are not supported", false;
    }
    if (compression == kBiJpeg || compression == kBiPng) {
        return error = "BMP files holding JPEG or PNG data are not supported", false;
    }
    const bool masked = compression == kBiBitfields || compression == kBiAlphaBitfields;
    if (compression != kBiRgb && !masked) {
        return error = "BMP compression " + std::to_string(compression) + " is unknown", false;
    }
    const unsigned bpp = l.bpp;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        return error = "BMP of " + std::to_string(bpp) + " bits per pixel", false;
    }
    if (masked && bpp != 16 && bpp != 32) {
        return error = "BMP bit masks need 16 or 32 bits per pixel", false;
    }
    l.header.kind = PictureKind::Bmp;
    l.header.width = static_cast<UINT>(std::min<std::int64_t>(width, UINT32_MAX));
    l.header.height = static_cast<UINT>(std::min<std::int64_t>(height, UINT32_MAX));
    if (!WithinLimits(l.header, error)) return false;

    if (masked) {
        // A 40-byte header is followed by the masks; the later headers hold them.
        const std::size_t at = kFileHeader + 40;
        const int count = headerSize >= 56 || compression == kBiAlphaBitfields ? 4 : 3;
        if (b.size() < at + 4 * std::size_t(count)) return error = "BMP masks cut short", false;
        for (int i = 0; i < count; ++i) l.masks[i] = Le32(b, at + 4 * std::size_t(i));
        const std::uint64_t limit = bpp == 16 ? 0xFFFF : 0xFFFFFFFF;
        for (std::uint32_t m : l.masks) {
            if (m > limit) return error = "BMP mask wider than its 16-bit pixels", false;
        }
        if (!(l.masks[0] | l.masks[1] | l.masks[2]))
            return error = "BMP colour masks are empty", false;
    } else if (bpp == 16) {
        l.masks[0] = 0x7C00, l.masks[1] = 0x03E0, l.masks[2] = 0x001F;
    } else if (bpp >= 24) {
        l.masks[0] = 0xFF0000, l.masks[1] = 0xFF00, l.masks[2] = 0xFF;
    }
    l.header.format = l.masks[3] ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;

    if (bpp <= 8) {
        l.entryBytes = core ? 3 : 4;
        l.palette = kFileHeader + headerSize;
        const std::size_t most = std::size_t{1} << bpp;
        l.paletteEntries = colorsUsed == 0 || colorsUsed > most ? most : colorsUsed;
        const std::size_t end = std::min(offset, b.size());
        const std::size_t room = end > l.palette ? (end - l.palette) / l.entryBytes : 0;
        l.paletteEntries = std::min(l.paletteEntries, room);
        if (l.paletteEntries == 0) return error = "BMP palette missing", false;
    }
    l.rowBytes = static_cast<std::size_t>((std::uint64_t(l.header.width) * bpp + 7) / 8);
    l.stride = (l.rowBytes + 3) & ~std::size_t{3};
    l.pixels = offset;
    // Some writers leave out the last row's padding; the pixels themselves must all be there.
    const std::uint64_t needed = std::uint64_t(l.stride) * (l.header.height - 1) + l.rowBytes;
    if (offset > b.size() || needed > b.size() - offset) {
        return error = "BMP pixel data cut short: " + std::to_string(needed) + " bytes needed, " +
                       std::to_string(offset > b.size() ? 0 : b.size() - offset) + " present",
               false;
    }
    return true;
}

}  // namespace

bool ReadBmpHeader(std::span<const std::uint8_t> bytes, PictureHeader& out, std::string& error) {
    Layout layout;
    if (!Parse(bytes, layout, error)) return false;
    out = layout.header;
    return true;
}

bool ReadBmp(std::span<const std::uint8_t> b, TextureData& out, std::string& error) {
    Layout l;
    if (!Parse(b, l, error)) return false;
    std::uint32_t palette[256];
    std::fill(std::begin(palette), std::end(palette), 0xFF000000u);  // past the palette: black
    for (std::size_t i = 0; i < l.paletteEntries; ++i) {
        const std::uint8_t* e = b.data() + l.palette + i * l.entryBytes;
        palette[i] = 0xFF000000u | std::uint32_t{e[2]} << 16 | std::uint32_t{e[1]} << 8 | e[0];
    }
    const UINT w = l.header.width, h = l.header.height;
    const bool alpha = l.masks[3] != 0;
    TextureData t = BlankTexture(w, h, alpha);
    for (UINT row = 0; row < h; ++row) {
        const std::uint8_t* src = b.data() + l.pixels + std::size_t{row} * l.stride;
        const std::size_t y = l.topDown ? row : h - 1 - row;
        for (UINT x = 0; x < w; ++x) {
            std::uint32_t argb;
            if (l.bpp <= 8) {
                const std::size_t bit = std::size_t{x} * l.bpp;
                const unsigned index =
                    (src[bit / 8] >> (8 - l.bpp - bit % 8)) & ((1u << l.bpp) - 1);
                argb = palette[index];
            } else {
                std::uint32_t pixel = 0;
                std::memcpy(&pixel, src + std::size_t{x} * (l.bpp / 8), l.bpp / 8);
                const std::uint32_t a = alpha ? MaskedChannel(pixel, l.masks[3]) : 0xFF;
                argb = a << 24 | MaskedChannel(pixel, l.masks[0]) << 16 |
                       MaskedChannel(pixel, l.masks[1]) << 8 | MaskedChannel(pixel, l.masks[2]);
            }
            PutWord(t.levels[0], y * w + x, argb);
        }
    }
    if (alpha) OpaqueIfAlphaUnused(t);
    out = std::move(t);
    return true;
}

}  // namespace d3dx
