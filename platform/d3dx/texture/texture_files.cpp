// The texture file front end: tells the format by its signature, reads the header (ours for
// every format, so that a problem is named before any decoder runs: a picture too large, one
// larger than its file can hold, a variant that is not supported), then decodes. PNG and JPEG go
// to stb_image; JPEG files in a child process, as stb_image's JPEG decoder (as packaged) has
// faults on hostile files that read and write outside its tables.
#include <algorithm>
#include <functional>

#include "platform/d3dx/isolated_process.h"
#include "platform/d3dx/texture/picture_readers.h"
#include "platform/d3dx/texture/stb_image_config.h"

namespace d3dx {
namespace {

constexpr int kDecodeTimeLimitMs = 20000;

std::string Size(UINT w, UINT h) {
    return std::to_string(w) + " x " + std::to_string(h);
}

// Checks that a picture of the header's size could honestly come from a file this size, before
// a decoder allocates for it.
bool Plausible(std::span<const std::uint8_t> bytes, const PictureHeader& h, std::string& error) {
    const std::uint64_t pixels = std::uint64_t{h.width} * h.height;
    // Deflate's best ratio at one bit per pixel; a JPEG block needs some bits for its DC value.
    const std::uint64_t perByte = h.kind == PictureKind::Png ? 8300 : 1024;
    if (pixels > bytes.size() * perByte) {
        return error = std::string(KindName(h.kind)) + " claims " + Size(h.width, h.height) +
                       " pixels, more than its " + std::to_string(bytes.size()) + " bytes can hold",
               false;
    }
    return true;
}

bool IsSofMarker(std::uint8_t m) {
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
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
        const std::size_t length = Be16(bytes, pos + 2);
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

// Every chunk of a PNG up to IEND must fit in the file. stb_image grows its buffer for the image
// data to the length a chunk claims before it reads the chunk, so a 300-byte file claiming a
// gigabyte would make it allocate that much; the lengths are checked here first.
bool PngChunksFit(std::span<const std::uint8_t> bytes, std::string& error) {
    std::size_t at = 8;  // after the signature
    while (bytes.size() - at >= 12) {
        const std::uint32_t length = (std::uint32_t(bytes[at]) << 24) |
                                     (std::uint32_t(bytes[at + 1]) << 16) |
                                     (std::uint32_t(bytes[at + 2]) << 8) | bytes[at + 3];
        const std::string type(reinterpret_cast<const char*>(bytes.data() + at + 4), 4);
        const std::size_t left = bytes.size() - at - 12;
        if (length > left) {
            error = "damaged PNG: a chunk claims " + std::to_string(length) +
                    " bytes, more than the " + std::to_string(left) + " left in the file";
            return false;
        }
        if (type == "IEND") return true;
        at += 12 + std::size_t{length};
    }
    return true;  // no IEND: stb_image says what is wrong
}

// ARGB words from stb_image's RGBA bytes; alpha forced opaque where the file has none.
void AppendArgb(const stbi_uc* rgba, std::size_t pixels, bool alpha, std::uint8_t* out) {
    for (std::size_t i = 0; i < pixels; ++i) {
        const stbi_uc* p = rgba + 4 * i;
        const std::uint32_t argb = (std::uint32_t(alpha ? p[3] : 0xFF) << 24) |
                                   (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
        std::memcpy(out + 4 * i, &argb, 4);
    }
}

// stb_image on a PNG or JPEG whose header has been checked: ARGB bytes of the header's size.
bool DecodeWithStb(std::span<const std::uint8_t> bytes, const PictureHeader& h,
                   const std::function<std::uint8_t*(std::size_t)>& output, std::string& error) {
    if (bytes.size() > std::size_t{INT32_MAX}) return error = "file too large to decode", false;
    int w = 0, ht = 0, channels = 0;
    stbi_uc* pixels =
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &ht, &channels, 4);
    if (!pixels) {
        return error = std::string("damaged ") + KindName(h.kind) + " data (" +
                       stbi_failure_reason() + ")",
               false;
    }
    if (UINT(w) != h.width || UINT(ht) != h.height) {
        stbi_image_free(pixels);
        return error =
                   std::string(KindName(h.kind)) + " decoded to a size its header does not give",
               false;
    }
    const std::size_t count = std::size_t(w) * std::size_t(ht);
    AppendArgb(pixels, count, h.format == D3DFMT_A8R8G8B8, output(count * 4));
    stbi_image_free(pixels);
    return true;
}

bool DecodePng(std::span<const std::uint8_t> bytes, const PictureHeader& h, TextureData& out,
               std::string& error) {
    TextureData t;
    t.format = h.format;
    const auto output = [&t](std::size_t size) { return t.levels.emplace_back(size).data(); };
    if (!PngChunksFit(bytes, error) || !DecodeWithStb(bytes, h, output, error)) return false;
    t.width = h.width;
    t.height = h.height;
    out = std::move(t);
    return true;
}

// JPEG in a child process: its answer is "P" and the pixels, or "E" and the reason.
bool DecodeJpeg(std::span<const std::uint8_t> bytes, const PictureHeader& h, TextureData& out,
                std::string& error) {
    if (!JpegTablesSane(bytes)) return error = "bad JPEG Huffman table", false;
    const IsolatedResult run = RunIsolated(
        [bytes, &h] {
            std::string answer = "P", why;
            const auto output = [&answer](std::size_t size) {
                answer.resize(1 + size);
                return reinterpret_cast<std::uint8_t*>(answer.data() + 1);
            };
            return DecodeWithStb(bytes, h, output, why) ? answer : "E" + why;
        },
        kDecodeTimeLimitMs);
    if (!run.ok) return error = "the JPEG decoder " + run.failure, false;
    if (run.output.empty() || run.output[0] != 'P') {
        return error = run.output.empty() ? "the JPEG decoder said nothing" : run.output.substr(1),
               false;
    }
    if (run.output.size() != 1 + std::size_t{h.width} * h.height * 4) {
        return error = "the JPEG decoder's answer is cut short", false;
    }
    out = TextureData{};
    out.format = h.format;
    out.width = h.width;
    out.height = h.height;
    out.levels.emplace_back(run.output.begin() + 1, run.output.end());
    return true;
}

}  // namespace

const char* KindName(PictureKind kind) {
    switch (kind) {
        case PictureKind::Bmp:
            return "BMP";
        case PictureKind::Tga:
            return "TGA";
        case PictureKind::Png:
            return "PNG";
        case PictureKind::Jpeg:
            return "JPEG";
        case PictureKind::Dds:
            return "DDS";
        default:
            return "picture";
    }
}

bool WithinLimits(const PictureHeader& h, std::string& error) {
    // A DDS whose blocks go to the texture as they are costs no more than its file.
    const bool keptAsIs = h.kind == PictureKind::Dds && std::has_single_bit(h.width) &&
                          std::has_single_bit(h.height) &&
                          h.levels == std::bit_width(std::max(h.width, h.height));
    // The pixels of the texture the picture becomes: a 9000 x 7456 picture is a 16384 x 8192
    // texture, twice the pixels of the largest picture let in.
    const std::uint64_t tw = std::bit_ceil(std::uint64_t{std::max(h.width, 1u)});
    const std::uint64_t th = std::bit_ceil(std::uint64_t{std::max(h.height, 1u)});
    if (h.width > kMaxTextureSize || h.height > kMaxTextureSize ||
        (!keptAsIs && tw * th > kMaxPicturePixels)) {
        // Said where only the rounding takes the picture past the limit.
        const bool rounded = h.width <= kMaxTextureSize && h.height <= kMaxTextureSize &&
                             std::uint64_t{h.width} * h.height <= kMaxPicturePixels;
        return error =
                   std::string(KindName(h.kind)) + " picture of " + Size(h.width, h.height) +
                   " pixels is too large: the limit is " + std::to_string(kMaxTextureSize) +
                   " pixels a side and " + std::to_string(kMaxPicturePixels) + " pixels in all" +
                   (rounded
                        ? " (as a texture, " + std::to_string(tw) + " x " + std::to_string(th) + ")"
                        : ""),
               false;
    }
    return true;
}

std::size_t JpegStart(std::span<const std::uint8_t> bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size() && bytes[pos] == 0xFF) ++pos;
    return pos > 0 && pos < bytes.size() && bytes[pos] == 0xD8 ? pos + 1 : 0;
}

bool ReadPngHeader(std::span<const std::uint8_t> b, PictureHeader& out, std::string& error) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (b.size() < 8 || std::memcmp(b.data(), kSignature, 8) != 0) {
        return error = "damaged PNG signature", false;
    }
    if (b.size() < 33 || Be32(b, 8) != 13 || std::memcmp(b.data() + 12, "IHDR", 4) != 0) {
        return error = "PNG header cut short or out of place", false;
    }
    const std::uint32_t w = Be32(b, 16), h = Be32(b, 20);
    const unsigned depth = b[24], type = b[25];
    if (w == 0 || h == 0 || w > INT32_MAX || h > INT32_MAX) {
        return error = "PNG size " + std::to_string(w) + " x " + std::to_string(h) +
                       " is not a picture",
               false;
    }
    const bool depthOk = type == 0
                             ? depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16
                         : type == 3 ? depth == 1 || depth == 2 || depth == 4 || depth == 8
                         : type == 2 || type == 4 || type == 6 ? depth == 8 || depth == 16
                                                               : false;
    if (!depthOk) {
        return error = "PNG colour type " + std::to_string(type) + " with " +
                       std::to_string(depth) + "-bit samples is not valid",
               false;
    }
    out = PictureHeader{};
    out.kind = PictureKind::Png;
    out.width = w;
    out.height = h;
    // Alpha from an alpha channel or from a transparency chunk before the image data.
    bool alpha = type == 4 || type == 6;
    for (std::size_t pos = 33; !alpha && pos + 8 <= b.size();) {
        if (std::memcmp(b.data() + pos + 4, "IDAT", 4) == 0) break;
        alpha = std::memcmp(b.data() + pos + 4, "tRNS", 4) == 0;
        const std::uint64_t next = std::uint64_t{pos} + 12 + Be32(b, pos);
        if (next > b.size()) break;
        pos = static_cast<std::size_t>(next);
    }
    out.format = alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    return WithinLimits(out, error);
}

bool ReadJpegHeader(std::span<const std::uint8_t> b, PictureHeader& out, std::string& error) {
    std::size_t pos = JpegStart(b);
    if (!pos) return error = "damaged JPEG start marker", false;
    while (pos + 4 <= b.size()) {
        if (b[pos] != 0xFF) return error = "damaged JPEG: a segment was expected", false;
        const std::uint8_t m = b[pos + 1];
        if (m == 0xFF) {
            ++pos;  // fill byte
            continue;
        }
        if (m == 0x01 || (m >= 0xD0 && m <= 0xD8)) {
            pos += 2;  // markers that carry no segment
            continue;
        }
        if (m == 0xD9 || m == 0xDA) return error = "JPEG without a frame header", false;
        const std::size_t length = Be16(b, pos + 2);
        if (length < 2) return error = "damaged JPEG: a segment of no length", false;
        if (IsSofMarker(m)) {
            if (pos + 2 + 8 > b.size()) break;
            if (m == 0xC3 || m == 0xC7 || m == 0xCB || m == 0xCF) {
                return error = "lossless JPEG is not supported", false;
            }
            if (m >= 0xC9) return error = "arithmetic-coded JPEG is not supported", false;
            if (m >= 0xC5) return error = "hierarchical JPEG is not supported", false;
            if (b[pos + 4] != 8) {
                return error = std::to_string(b[pos + 4]) + "-bit JPEG is not supported", false;
            }
            out = PictureHeader{};
            out.kind = PictureKind::Jpeg;
            out.height = Be16(b, pos + 5);
            out.width = Be16(b, pos + 7);
            if (out.height == 0) {
                return error = "JPEG whose height comes after its first scan is not supported",
                       false;
            }
            if (out.width == 0) return error = "JPEG of zero width", false;
            return WithinLimits(out, error);
        }
        pos += 2 + length;
    }
    return error = "JPEG header cut short", false;
}

bool ReadPictureHeader(std::span<const std::uint8_t> b, PictureHeader& out, std::string& error) {
    if (b.size() >= 4 && std::memcmp(b.data(), "DDS ", 4) == 0) return ReadDdsHeader(b, out, error);
    if (b.size() >= 4 && std::memcmp(b.data(), "\x89PNG", 4) == 0) {
        return ReadPngHeader(b, out, error);
    }
    if (JpegStart(b)) return ReadJpegHeader(b, out, error);
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return ReadBmpHeader(b, out, error);
    // TGA has no signature: a header that a TGA reader would take is taken for one.
    std::string tgaError;
    if (ReadTgaHeader(b, out, tgaError)) return true;
    if (b.size() >= 3 && b[1] <= 1 && ((b[2] & ~8u) >= 1 && (b[2] & ~8u) <= 3)) {
        return error = tgaError, false;
    }
    return error = "not a picture file that is read here (BMP, TGA, PNG, JPEG, DDS)", false;
}

bool DecodeTextureFile(std::span<const std::uint8_t> bytes, TextureData& out, std::string& error) {
    PictureHeader h;
    if (!ReadPictureHeader(bytes, h, error)) return false;
    switch (h.kind) {
        case PictureKind::Dds:
            return ReadDds(bytes, out, error);
        case PictureKind::Bmp:
            return ReadBmp(bytes, out, error);
        case PictureKind::Tga:
            return ReadTga(bytes, out, error);
        case PictureKind::Png:
            return Plausible(bytes, h, error) && DecodePng(bytes, h, out, error);
        case PictureKind::Jpeg:
            return Plausible(bytes, h, error) && DecodeJpeg(bytes, h, out, error);
        default:
            return error = "unknown picture format", false;
    }
}

}  // namespace d3dx
