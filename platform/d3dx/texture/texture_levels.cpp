// What a decoded file becomes as a texture, as D3DX makes it by default: DXT blocks decoded to
// ARGB where they must be, sizes rounded up to powers of two with bilinear resampling, and a full
// mip chain, each level the box-filtered half of the one above.
#include <algorithm>
#include <cmath>

#include "platform/d3dx/texture/picture_readers.h"

namespace d3dx {
namespace {

using Level = std::vector<std::uint8_t>;

bool IsDxt(D3DFORMAT format) {
    return format == D3DFMT_DXT1 || format == D3DFMT_DXT3 || format == D3DFMT_DXT5;
}

std::uint32_t Word(const Level& level, std::size_t index) {
    std::uint32_t v;
    std::memcpy(&v, level.data() + 4 * index, 4);
    return v;
}

std::uint32_t Expand565(std::uint16_t c) {
    const std::uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, std::uint32_t wa, std::uint32_t wb) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= ((ca * wa + cb * wb) / (wa + wb)) << shift;
    }
    return out;
}

// The four colours of a DXT colour block; DXT1's three-colour mode makes the fourth clear.
void ColorBlock(const std::uint8_t* block, bool dxt1, std::uint32_t rgba[16]) {
    const std::uint16_t c0 = static_cast<std::uint16_t>(block[0] | block[1] << 8);
    const std::uint16_t c1 = static_cast<std::uint16_t>(block[2] | block[3] << 8);
    std::uint32_t palette[4] = {Expand565(c0) | 0xFF000000u, Expand565(c1) | 0xFF000000u, 0, 0};
    if (c0 > c1 || !dxt1) {
        palette[2] = Mix(palette[0], palette[1], 2, 1) | 0xFF000000u;
        palette[3] = Mix(palette[0], palette[1], 1, 2) | 0xFF000000u;
    } else {
        palette[2] = Mix(palette[0], palette[1], 1, 1) | 0xFF000000u;
        palette[3] = 0;
    }
    std::uint32_t bits;
    std::memcpy(&bits, block + 4, 4);
    for (int i = 0; i < 16; ++i) rgba[i] = palette[(bits >> (2 * i)) & 3];
}

void AlphaBlockDxt3(const std::uint8_t* block, std::uint32_t rgba[16]) {
    for (int i = 0; i < 16; ++i) {
        const std::uint32_t a4 = (block[i / 2] >> ((i & 1) * 4)) & 0xF;
        rgba[i] = (rgba[i] & 0x00FFFFFFu) | ((a4 * 17) << 24);
    }
}

void AlphaBlockDxt5(const std::uint8_t* block, std::uint32_t rgba[16]) {
    const std::uint32_t a0 = block[0], a1 = block[1];
    std::uint32_t alpha[8] = {a0, a1};
    if (a0 > a1) {
        for (std::uint32_t i = 1; i < 7; ++i) alpha[i + 1] = ((7 - i) * a0 + i * a1) / 7;
    } else {
        for (std::uint32_t i = 1; i < 5; ++i) alpha[i + 1] = ((5 - i) * a0 + i * a1) / 5;
        alpha[6] = 0;
        alpha[7] = 255;
    }
    std::uint64_t bits = 0;
    for (int i = 0; i < 6; ++i) bits |= std::uint64_t{block[2 + i]} << (8 * i);
    for (int i = 0; i < 16; ++i) {
        rgba[i] = (rgba[i] & 0x00FFFFFFu) | (alpha[(bits >> (3 * i)) & 7] << 24);
    }
}

// A level as ARGB words in bytes, whatever its format.
Level ArgbLevel(D3DFORMAT format, UINT w, UINT h, Level&& level) {
    if (!IsDxt(format)) return std::move(level);
    const std::vector<std::uint32_t> words = DecodeDxt(format, w, h, level);
    Level out(words.size() * 4);
    std::memcpy(out.data(), words.data(), out.size());
    return out;
}

// Bilinear resampling to the new size, sampling at pixel centres with edges clamped. Where each
// column samples is worked out once, not once a row.
Level Resample(const Level& src, UINT sw, UINT sh, UINT dw, UINT dh) {
    struct Tap {
        UINT i0, i1;
        float t;
    };
    const auto taps = [](UINT s, UINT d) {
        std::vector<Tap> out(d);
        for (UINT i = 0; i < d; ++i) {
            const float f = std::max(0.0f, (i + 0.5f) * s / d - 0.5f);
            const UINT i0 = std::min(static_cast<UINT>(f), s - 1);
            out[i] = {i0, std::min(i0 + 1, s - 1), f - static_cast<float>(i0)};
        }
        return out;
    };
    const std::vector<Tap> columns = taps(sw, dw), rows = taps(sh, dh);
    Level dst(std::size_t{dw} * dh * 4);
    for (UINT y = 0; y < dh; ++y) {
        const Tap& r = rows[y];
        const float ty = r.t;
        for (UINT x = 0; x < dw; ++x) {
            const Tap& c = columns[x];
            const float tx = c.t;
            const std::uint32_t p00 = Word(src, std::size_t{r.i0} * sw + c.i0),
                                p10 = Word(src, std::size_t{r.i0} * sw + c.i1),
                                p01 = Word(src, std::size_t{r.i1} * sw + c.i0),
                                p11 = Word(src, std::size_t{r.i1} * sw + c.i1);
            std::uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const auto ch = [shift](std::uint32_t p) {
                    return static_cast<float>((p >> shift) & 0xFF);
                };
                const float v = (ch(p00) * (1 - tx) + ch(p10) * tx) * (1 - ty) +
                                (ch(p01) * (1 - tx) + ch(p11) * tx) * ty;
                out |= static_cast<std::uint32_t>(std::floor(v + 0.5f)) << shift;
            }
            PutWord(dst, std::size_t{y} * dw + x, out);
        }
    }
    return dst;
}

// The next level down: each pixel the average of the 2 x 2 (or 2 x 1) pixels it covers.
Level BoxHalf(const Level& src, UINT w, UINT h) {
    const UINT dw = std::max(1u, w / 2), dh = std::max(1u, h / 2);
    Level dst(std::size_t{dw} * dh * 4);
    for (UINT y = 0; y < dh; ++y) {
        const std::size_t r0 = std::size_t{std::min(2 * y, h - 1)} * w;
        const std::size_t r1 = std::size_t{std::min(2 * y + 1, h - 1)} * w;
        for (UINT x = 0; x < dw; ++x) {
            const UINT x0 = std::min(2 * x, w - 1), x1 = std::min(2 * x + 1, w - 1);
            const std::uint8_t* p[4] = {&src[4 * (r0 + x0)], &src[4 * (r0 + x1)],
                                        &src[4 * (r1 + x0)], &src[4 * (r1 + x1)]};
            std::uint8_t* d = &dst[4 * (std::size_t{y} * dw + x)];
            for (int c = 0; c < 4; ++c) {
                d[c] = static_cast<std::uint8_t>((p[0][c] + p[1][c] + p[2][c] + p[3][c] + 2) / 4);
            }
        }
    }
    return dst;
}

UINT NextPowerOfTwo(UINT v) {
    return std::bit_ceil(std::max(v, 1u));
}

UINT FullChain(UINT w, UINT h) {
    return static_cast<UINT>(std::bit_width(std::max(w, h)));
}

}  // namespace

std::size_t DxtLevelBytes(D3DFORMAT format, UINT width, UINT height) {
    const std::size_t blocks = std::size_t{(width + 3) / 4} * ((height + 3) / 4);
    return blocks * (format == D3DFMT_DXT1 ? 8 : 16);
}

std::vector<std::uint32_t> DecodeDxt(D3DFORMAT format, UINT width, UINT height,
                                     std::span<const std::uint8_t> blocks) {
    std::vector<std::uint32_t> out(std::size_t{width} * height);
    const std::size_t blockBytes = format == D3DFMT_DXT1 ? 8 : 16;
    const UINT bw = (width + 3) / 4, bh = (height + 3) / 4;
    if (blocks.size() < std::size_t{bw} * bh * blockBytes) return out;
    for (UINT by = 0; by < bh; ++by) {
        for (UINT bx = 0; bx < bw; ++bx) {
            const std::uint8_t* block = blocks.data() + (std::size_t{by} * bw + bx) * blockBytes;
            std::uint32_t rgba[16];
            if (format == D3DFMT_DXT1) {
                ColorBlock(block, true, rgba);
            } else {
                ColorBlock(block + 8, false, rgba);
                if (format == D3DFMT_DXT3)
                    AlphaBlockDxt3(block, rgba);
                else
                    AlphaBlockDxt5(block, rgba);
            }
            for (UINT py = 0; py < 4; ++py) {
                for (UINT px = 0; px < 4; ++px) {
                    const UINT x = bx * 4 + px, y = by * 4 + py;
                    if (x < width && y < height)
                        out[std::size_t{y} * width + x] = rgba[py * 4 + px];
                }
            }
        }
    }
    return out;
}

TextureData PrepareTexture(TextureData&& decoded) {
    const UINT w = NextPowerOfTwo(decoded.width), h = NextPowerOfTwo(decoded.height);
    const UINT fullChain = FullChain(w, h);
    const bool sameSize = w == decoded.width && h == decoded.height;
    if (decoded.levels.empty()) return std::move(decoded);
    if (sameSize && decoded.levels.size() == fullChain) return std::move(decoded);

    TextureData out;
    out.format = IsDxt(decoded.format) ? D3DFMT_A8R8G8B8 : decoded.format;
    out.width = w;
    out.height = h;
    // Where the size stays, the file's levels are kept (an artist's hand-made mips among them)
    // and the chain goes on from its last one; otherwise level 0 is resampled and the chain
    // made anew, as the file's levels are of the wrong sizes.
    const std::size_t kept =
        sameSize ? std::clamp<std::size_t>(decoded.levels.size(), 1, std::max(fullChain, 1u)) : 1;
    const UINT fileWidth = decoded.width, fileHeight = decoded.height;
    UINT lw = fileWidth, lh = fileHeight;
    for (std::size_t i = 0; i < kept; ++i) {
        out.levels.push_back(ArgbLevel(decoded.format, lw, lh, std::move(decoded.levels[i])));
        lw = std::max(1u, lw / 2);
        lh = std::max(1u, lh / 2);
    }
    decoded = TextureData{};
    if (!sameSize) out.levels[0] = Resample(out.levels[0], fileWidth, fileHeight, w, h);
    lw = std::max(1u, w >> (kept - 1));
    lh = std::max(1u, h >> (kept - 1));
    while (out.levels.size() < fullChain) {
        out.levels.push_back(BoxHalf(out.levels.back(), lw, lh));
        lw = std::max(1u, lw / 2);
        lh = std::max(1u, lh / 2);
    }
    return out;
}

std::uint64_t PreparedBytes(const PictureHeader& header) {
    const UINT w = NextPowerOfTwo(header.width), h = NextPowerOfTwo(header.height);
    const UINT chain = FullChain(w, h);
    const bool keepsFormat = w == header.width && h == header.height && header.levels == chain;
    std::uint64_t total = 0;
    for (UINT i = 0; i < chain; ++i) {
        const UINT lw = std::max(1u, w >> i), lh = std::max(1u, h >> i);
        total += keepsFormat && IsDxt(header.format) ? DxtLevelBytes(header.format, lw, lh)
                                                     : std::uint64_t{lw} * lh * 4;
    }
    return total;
}

std::uint64_t TextureBytes(const TextureData& texture) {
    std::uint64_t total = 0;
    for (const auto& level : texture.levels) total += level.size();
    return total;
}

}  // namespace d3dx
