// The texture file front end (format sniffing, stb_image behind a plausibility check), DXT
// decoding, and the power-of-two resampling and mip chain that D3DX gives a texture by default.
#include "platform/d3dx/texture_files.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/d3dx/isolated_process.h"
#include "platform/d3dx/stb_image_config.h"

namespace d3dx {
namespace {

constexpr std::uint64_t kMaxPixels = std::uint64_t{64} << 20;
constexpr int kDecodeTimeLimitMs = 20000;

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

// Where a JPEG's segments begin: after the start-of-image marker, which stb_image accepts after
// any number of fill bytes. Zero where the file is not a JPEG.
std::size_t JpegStart(std::span<const std::uint8_t> bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size() && bytes[pos] == 0xFF) ++pos;
    return pos > 0 && pos < bytes.size() && bytes[pos] == 0xD8 ? pos + 1 : 0;
}

// Checks that a picture of these dimensions could honestly come from a file this size, before
// the decoder allocates for it.
bool Plausible(std::span<const std::uint8_t> bytes, int w, int h, std::string& error) {
    const std::uint64_t pixels = std::uint64_t(w) * std::uint64_t(h);
    if (w <= 0 || h <= 0 || w > int(kMaxTextureSize) || h > int(kMaxTextureSize) ||
        pixels > kMaxPixels) {
        return error = "picture too large", false;
    }
    const std::uint64_t size = bytes.size();
    std::uint64_t maxPixels;
    if (size >= 8 && std::memcmp(bytes.data(), "\x89PNG", 4) == 0) {
        maxPixels = size * 8300;  // deflate's best ratio at one bit per pixel
    } else if (JpegStart(bytes)) {
        maxPixels = size * 1024;
    } else if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        maxPixels = size * 8;  // uncompressed, at worst one bit per pixel
    } else if (size >= 18) {
        // TGA: raw types need their pixels in the file; run-length ones at most 128 per packet.
        const unsigned type = bytes[2];
        maxPixels = type >= 9 ? size * 128 : size;
    } else {
        return error = "unknown picture format", false;
    }
    if (pixels > maxPixels) return error = "picture larger than its file can hold", false;
    return true;
}

// The Huffman tables of a JPEG hold at most 256 codes each. stb_image (as packaged) does not
// check this and writes past its table, so the tables are checked here first.
bool JpegTablesSane(std::span<const std::uint8_t> bytes) {
    std::size_t pos = JpegStart(bytes);
    while (pos + 4 <= bytes.size()) {
        if (bytes[pos] != 0xFF) {
            ++pos;  // entropy-coded data between scans
            continue;
        }
        const std::uint8_t marker = bytes[pos + 1];
        // Fill bytes, stuffed zeros and restart markers carry no segment.
        if (marker == 0xFF || marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7)) {
            ++pos;
            continue;
        }
        if (marker == 0xD9) return true;  // end of image
        const std::size_t length = std::size_t{bytes[pos + 2]} << 8 | bytes[pos + 3];
        if (length < 2 || pos + 2 + length > bytes.size()) return false;  // cut short
        if (marker == 0xC4) {
            std::size_t at = pos + 4;
            const std::size_t end = pos + 2 + length;
            while (at < end) {
                if (at + 17 > end) return false;
                std::size_t codes = 0;
                for (int i = 1; i <= 16; ++i) codes += bytes[at + i];
                if (codes > 256) return false;
                at += 17 + codes;
            }
        }
        pos += 2 + length;
    }
    return true;
}

bool DecodeWithStbHere(std::span<const std::uint8_t> bytes, TextureData& out, std::string& error) {
    if (JpegStart(bytes) && !JpegTablesSane(bytes)) {
        return error = "bad JPEG Huffman table", false;
    }
    if (bytes.size() > std::size_t{INT32_MAX}) return error = "file too large", false;
    const int size = static_cast<int>(bytes.size());
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), size, &w, &h, &channels)) {
        return error = std::string("unreadable picture: ") + stbi_failure_reason(), false;
    }
    if (!Plausible(bytes, w, h, error)) return false;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), size, &w, &h, &channels, 4);
    if (!pixels) return error = std::string("unreadable picture: ") + stbi_failure_reason(), false;
    const bool alpha = channels == 2 || channels == 4;
    std::vector<std::uint8_t> level(std::size_t(w) * std::size_t(h) * 4);
    for (std::size_t i = 0; i < std::size_t(w) * std::size_t(h); ++i) {
        const stbi_uc* p = pixels + 4 * i;
        const std::uint32_t argb = (std::uint32_t(alpha ? p[3] : 0xFF) << 24) |
                                   (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
        std::memcpy(&level[4 * i], &argb, 4);
    }
    stbi_image_free(pixels);
    out = TextureData{};
    out.format = alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    out.width = static_cast<UINT>(w);
    out.height = static_cast<UINT>(h);
    out.levels.push_back(std::move(level));
    return true;
}

// stb_image's JPEG decoder (as packaged) has faults on hostile files that read and write
// outside its tables; JPEG files are decoded in a child process, where such a fault is a failed
// decode. The other formats decode here, under the fuzzer's eye.
bool DecodeWithStb(std::span<const std::uint8_t> bytes, TextureData& out, std::string& error) {
    if (!JpegStart(bytes)) return DecodeWithStbHere(bytes, out, error);
    const IsolatedResult run = RunIsolated(
        [bytes] {
            TextureData t;
            std::string why;
            if (!DecodeWithStbHere(bytes, t, why)) return "E" + why;
            std::string answer = "P";
            const std::uint32_t header[3] = {t.format, t.width, t.height};
            answer.append(reinterpret_cast<const char*>(header), sizeof header);
            answer.append(reinterpret_cast<const char*>(t.levels[0].data()), t.levels[0].size());
            return answer;
        },
        kDecodeTimeLimitMs);
    if (!run.ok) return error = "the picture decoder " + run.failure, false;
    if (run.output.empty() || run.output[0] != 'P') {
        return error =
                   run.output.empty() ? "the picture decoder said nothing" : run.output.substr(1),
               false;
    }
    std::uint32_t header[3];
    if (run.output.size() < 1 + sizeof header)
        return error = "the picture decoder's answer is cut short", false;
    std::memcpy(header, run.output.data() + 1, sizeof header);
    const std::size_t bytesWanted = std::size_t{header[1]} * header[2] * 4;
    if (run.output.size() != 1 + sizeof header + bytesWanted) {
        return error = "the picture decoder's answer is cut short", false;
    }
    out = TextureData{};
    out.format = static_cast<D3DFORMAT>(header[0]);
    out.width = header[1];
    out.height = header[2];
    out.levels.emplace_back(run.output.begin() + 1 + sizeof header, run.output.end());
    return true;
}

std::vector<std::uint32_t> Words(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint32_t> words(bytes.size() / 4);
    std::memcpy(words.data(), bytes.data(), words.size() * 4);
    return words;
}

std::vector<std::uint8_t> Bytes(const std::vector<std::uint32_t>& words) {
    std::vector<std::uint8_t> bytes(words.size() * 4);
    std::memcpy(bytes.data(), words.data(), bytes.size());
    return bytes;
}

UINT NextPowerOfTwo(UINT v) {
    return std::bit_ceil(std::max(v, 1u));
}

// Bilinear resampling to the new size, sampling at pixel centres with edges clamped.
std::vector<std::uint32_t> Resample(const std::vector<std::uint32_t>& src, UINT sw, UINT sh,
                                    UINT dw, UINT dh) {
    std::vector<std::uint32_t> dst(std::size_t{dw} * dh);
    for (UINT y = 0; y < dh; ++y) {
        const float fy = std::max(0.0f, (y + 0.5f) * sh / dh - 0.5f);
        const UINT y0 = std::min(static_cast<UINT>(fy), sh - 1), y1 = std::min(y0 + 1, sh - 1);
        const float ty = fy - static_cast<float>(y0);
        for (UINT x = 0; x < dw; ++x) {
            const float fx = std::max(0.0f, (x + 0.5f) * sw / dw - 0.5f);
            const UINT x0 = std::min(static_cast<UINT>(fx), sw - 1), x1 = std::min(x0 + 1, sw - 1);
            const float tx = fx - static_cast<float>(x0);
            std::uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const auto c = [&](UINT xx, UINT yy) {
                    return static_cast<float>((src[std::size_t{yy} * sw + xx] >> shift) & 0xFF);
                };
                const float v = (c(x0, y0) * (1 - tx) + c(x1, y0) * tx) * (1 - ty) +
                                (c(x0, y1) * (1 - tx) + c(x1, y1) * tx) * ty;
                out |= static_cast<std::uint32_t>(v + 0.5f) << shift;
            }
            dst[std::size_t{y} * dw + x] = out;
        }
    }
    return dst;
}

// The next level down: each pixel the average of the 2 x 2 (or 2 x 1) pixels it covers.
std::vector<std::uint32_t> BoxHalf(const std::vector<std::uint32_t>& src, UINT w, UINT h) {
    const UINT dw = std::max(1u, w / 2), dh = std::max(1u, h / 2);
    std::vector<std::uint32_t> dst(std::size_t{dw} * dh);
    for (UINT y = 0; y < dh; ++y) {
        for (UINT x = 0; x < dw; ++x) {
            const UINT xs[2] = {std::min(2 * x, w - 1), std::min(2 * x + 1, w - 1)};
            const UINT ys[2] = {std::min(2 * y, h - 1), std::min(2 * y + 1, h - 1)};
            std::uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                std::uint32_t sum = 0;
                for (UINT yy : ys) {
                    for (UINT xx : xs) sum += (src[std::size_t{yy} * w + xx] >> shift) & 0xFF;
                }
                out |= ((sum + 2) / 4) << shift;
            }
            dst[std::size_t{y} * dw + x] = out;
        }
    }
    return dst;
}

}  // namespace

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

bool DecodeTextureFile(std::span<const std::uint8_t> bytes, TextureData& out, std::string& error) {
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), "DDS ", 4) == 0) {
        return ReadDds(bytes, out, error);
    }
    return DecodeWithStb(bytes, out, error);
}

TextureData PrepareTexture(TextureData&& decoded) {
    const UINT w = NextPowerOfTwo(decoded.width), h = NextPowerOfTwo(decoded.height);
    const UINT fullChain = static_cast<UINT>(std::bit_width(std::max(w, h)));
    const bool dxt = decoded.format == D3DFMT_DXT1 || decoded.format == D3DFMT_DXT3 ||
                     decoded.format == D3DFMT_DXT5;
    // The file's own levels are kept where it holds the whole chain at these sizes.
    if (w == decoded.width && h == decoded.height && decoded.levels.size() == fullChain) {
        return std::move(decoded);
    }
    std::vector<std::uint32_t> top =
        dxt ? DecodeDxt(decoded.format, decoded.width, decoded.height, decoded.levels[0])
            : Words(decoded.levels[0]);
    const D3DFORMAT format = dxt ? D3DFMT_A8R8G8B8 : decoded.format;
    if (w != decoded.width || h != decoded.height) {
        top = Resample(top, decoded.width, decoded.height, w, h);
    }
    TextureData out;
    out.format = format;
    out.width = w;
    out.height = h;
    UINT lw = w, lh = h;
    out.levels.push_back(Bytes(top));
    while (lw > 1 || lh > 1) {
        top = BoxHalf(top, lw, lh);
        lw = std::max(1u, lw / 2);
        lh = std::max(1u, lh / 2);
        out.levels.push_back(Bytes(top));
    }
    return out;
}

}  // namespace d3dx
