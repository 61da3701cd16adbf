// Our TGA reader: colour-mapped, true-colour and greyscale pictures (types 1, 2, 3), raw or
// run-length encoded (types 9, 10, 11); 15, 16, 24 and 32-bit colours, 8 and 16-bit indexes and
// greys; both origin bits of the image descriptor (bit 5 top-down, bit 4 right-to-left).
// The top bit of a 16-bit colour is alpha where the descriptor declares an alpha bit; a 32-bit
// colour's fourth byte is alpha, unless it is zero everywhere (written by tools that leave it
// unused).
#include "platform/d3dx/texture/picture_readers.h"

namespace d3dx {
namespace {

constexpr std::size_t kHeader = 18;

struct Layout {
    PictureHeader header;
    unsigned type = 0;  // without the run-length bit
    bool rle = false;
    unsigned bpp = 0, alphaBits = 0;
    bool topDown = false, rightToLeft = false;
    std::size_t map = 0, mapFirst = 0, mapLength = 0;
    unsigned mapBits = 0;
    std::size_t pixels = 0;
};

bool Parse(std::span<const std::uint8_t> b, Layout& l, std::string& error) {
    if (b.size() < kHeader) return error = "TGA header cut short", false;
    const unsigned mapType = b[1], imageType = b[2];
    l.type = imageType & 7;
    l.rle = imageType & 8;
    if (imageType == 0) return error = "TGA file holds no picture", false;
    if (mapType > 1 || (imageType & ~8u) < 1 || (imageType & ~8u) > 3) {
        return error = "TGA image type " + std::to_string(imageType) + " is not supported", false;
    }
    if (l.type == 1 && mapType != 1) return error = "colour-mapped TGA without a colour map", false;
    l.mapFirst = Le16(b, 3);
    l.mapLength = mapType ? Le16(b, 5) : 0;
    l.mapBits = mapType ? b[7] : 0;
    const UINT width = Le16(b, 12), height = Le16(b, 14);
    l.bpp = b[16];
    const unsigned descriptor = b[17];
    l.alphaBits = descriptor & 15;
    l.rightToLeft = descriptor & 0x10;
    l.topDown = descriptor & 0x20;
    if (descriptor & 0xC0) return error = "interleaved TGA rows are not supported", false;
    if (width == 0 || height == 0) {
        return error = "TGA size " + std::to_string(width) + " x " + std::to_string(height) +
                       " is not a picture",
               false;
    }
    const unsigned mb = l.mapBits;
    if (mapType && mb != 15 && mb != 16 && mb != 24 && mb != 32) {
        return error = "TGA colour map of " + std::to_string(mb) + "-bit entries", false;
    }
    const bool bppOk = l.type == 1   ? l.bpp == 8 || l.bpp == 16
                       : l.type == 2 ? l.bpp == 15 || l.bpp == 16 || l.bpp == 24 || l.bpp == 32
                                     : l.bpp == 8 || l.bpp == 16;
    if (!bppOk) return error = "TGA of " + std::to_string(l.bpp) + " bits per pixel", false;
    l.header.kind = PictureKind::Tga;
    l.header.width = width;
    l.header.height = height;
    if (!WithinLimits(l.header, error)) return false;
    l.map = kHeader + b[0];
    l.pixels = l.map + l.mapLength * ((mb + 7) / 8);
    if (l.pixels > b.size()) return error = "TGA colour map cut short", false;
    // Before anything is allocated: raw data must all be there; a run-length packet of at
    // least two bytes gives at most 128 pixels.
    const std::uint64_t count = std::uint64_t{width} * height, pixelBytes = (l.bpp + 7) / 8;
    const std::uint64_t present = b.size() - l.pixels;
    if (!l.rle && count * pixelBytes > present) {
        return error = "TGA pixel data cut short: " + std::to_string(count * pixelBytes) +
                       " bytes needed, " + std::to_string(present) + " present",
               false;
    }
    if (l.rle && count > present / (1 + pixelBytes) * 128 + 128) {
        return error = "TGA picture larger than its file can hold", false;
    }
    const unsigned colourBits = l.type == 1 ? mb : l.bpp;
    const bool alpha = colourBits == 32 || (colourBits == 16 && l.type != 3 && l.alphaBits) ||
                       (l.type == 3 && l.bpp == 16);
    l.header.format = alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    return true;
}

// One colour of `bits` bits (15, 16, 24, 32; greys 8 and 16) as ARGB.
std::uint32_t Colour(const std::uint8_t* p, unsigned bits, bool grey, bool alpha16) {
    if (grey) {
        const std::uint32_t v = p[0], a = bits == 16 ? p[1] : 0xFF;
        return a << 24 | v << 16 | v << 8 | v;
    }
    if (bits <= 16) {
        const std::uint32_t c = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8;
        const std::uint32_t a = alpha16 ? (c & 0x8000 ? 0xFF : 0) : 0xFF;
        return a << 24 | MaskedChannel(c, 0x7C00) << 16 | MaskedChannel(c, 0x03E0) << 8 |
               MaskedChannel(c, 0x001F);
    }
    const std::uint32_t a = bits == 32 ? p[3] : 0xFF;
    return a << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

}  // namespace

bool ReadTgaHeader(std::span<const std::uint8_t> bytes, PictureHeader& out, std::string& error) {
    Layout layout;
    if (!Parse(bytes, layout, error)) return false;
    out = layout.header;
    return true;
}

bool ReadTga(std::span<const std::uint8_t> b, TextureData& out, std::string& error) {
    Layout l;
    if (!Parse(b, l, error)) return false;
    const UINT w = l.header.width, h = l.header.height;
    const bool alpha16 = l.alphaBits != 0;
    std::vector<std::uint32_t> map(l.mapLength);
    for (std::size_t i = 0; i < l.mapLength; ++i) {
        map[i] = Colour(b.data() + l.map + i * ((l.mapBits + 7) / 8), l.mapBits, false, alpha16);
    }
    const std::size_t pixelBytes = (l.bpp + 7) / 8;
    const auto pixel = [&](const std::uint8_t* p) -> std::uint32_t {
        if (l.type != 1) return Colour(p, l.bpp, l.type == 3, alpha16);
        const std::size_t index = l.bpp == 8 ? p[0] : Le16({p, 2}, 0);
        return index >= l.mapFirst && index - l.mapFirst < map.size() ? map[index - l.mapFirst]
                                                                      : 0xFF000000u;
    };
    TextureData t = BlankTexture(w, h, l.header.format == D3DFMT_A8R8G8B8);
    std::size_t pos = l.pixels;
    std::size_t run = 0;  // pixels left in the current run-length packet
    bool repeat = false;
    std::uint32_t repeated = 0;
    for (std::size_t i = 0; i < std::size_t{w} * h; ++i) {
        std::uint32_t argb;
        if (l.rle && run == 0) {
            if (pos >= b.size()) return error = "TGA run-length data cut short", false;
            repeat = b[pos] & 0x80;
            run = (b[pos] & 0x7F) + 1u;
            ++pos;
            if (repeat) {
                if (pixelBytes > b.size() - pos)
                    return error = "TGA run-length data cut short", false;
                repeated = pixel(b.data() + pos);
                pos += pixelBytes;
            }
        }
        if (l.rle && repeat) {
            argb = repeated;
        } else {
            if (pixelBytes > b.size() - pos) return error = "TGA run-length data cut short", false;
            argb = pixel(b.data() + pos);
            pos += pixelBytes;
        }
        if (l.rle) --run;
        const std::size_t row = i / w, column = i % w;
        const std::size_t y = l.topDown ? row : h - 1 - row;
        const std::size_t x = l.rightToLeft ? w - 1 - column : column;
        PutWord(t.levels[0], y * w + x, argb);
    }
    if (t.format == D3DFMT_A8R8G8B8) OpaqueIfAlphaUnused(t);
    out = std::move(t);
    return true;
}

}  // namespace d3dx
