// MSZIP, the compression of the "tzip" and "bzip" X file formats: a 32-bit total size (the
// decompressed file, its 16-byte header included), then blocks of a 16-bit uncompressed size, a
// 16-bit compressed size (counting the "CK" signature), "CK" and raw deflate data. Each block
// uses the previous block's output as its preset dictionary. zlib does the inflating; every size
// is checked against the declared total, the bytes present and an overall limit.
#include <zlib.h>

#include <cstring>

#include "platform/d3dx/xfile/reader.h"

namespace d3dx {
namespace {

constexpr std::size_t kDictionaryBytes = 32768;
// The most that deflate can expand its input by, with room for block headers.
constexpr std::size_t kMaxRatio = 1032;

std::uint16_t Word(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

bool InflateMsZip(std::span<const std::uint8_t> body, std::vector<std::uint8_t>& out,
                  std::string& error) {
    if (body.size() < 4) {
        error = "compressed file too short";
        return false;
    }
    std::uint32_t declared;
    std::memcpy(&declared, body.data(), 4);
    if (declared < 16) {
        error = "bad decompressed size";
        return false;
    }
    const std::size_t expected = declared - 16;
    if (expected > kMaxDecompressedBytes || expected > body.size() * kMaxRatio) {
        error = "declared size too large";
        return false;
    }
    out.clear();
    out.reserve(expected);

    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
        error = "zlib failed to start";
        return false;
    }
    std::size_t pos = 4;
    bool ok = true;
    while (ok && pos < body.size()) {
        if (body.size() - pos < 6) {
            error = "truncated block header";
            ok = false;
            break;
        }
        const std::size_t uncompressed = Word(&body[pos]);
        const std::size_t compressed = Word(&body[pos + 2]);
        if (body[pos + 4] != 'C' || body[pos + 5] != 'K' || compressed < 2) {
            error = "bad block signature";
            ok = false;
            break;
        }
        if (compressed > body.size() - pos - 4) {
            error = "block larger than the file";
            ok = false;
            break;
        }
        if (out.size() + uncompressed > expected) {
            error = "blocks exceed the declared size";
            ok = false;
            break;
        }
        inflateReset(&z);
        const std::size_t dictionary = std::min(out.size(), kDictionaryBytes);
        if (dictionary) {
            inflateSetDictionary(&z, out.data() + out.size() - dictionary,
                                 static_cast<uInt>(dictionary));
        }
        const std::size_t start = out.size();
        out.resize(start + uncompressed);
        z.next_in = const_cast<Bytef*>(&body[pos + 6]);
        z.avail_in = static_cast<uInt>(compressed - 2);
        z.next_out = out.data() + start;
        z.avail_out = static_cast<uInt>(uncompressed);
        const int rc = inflate(&z, Z_FINISH);
        // The block must end its deflate stream exactly where its declared size says.
        if (rc != Z_STREAM_END || z.avail_out != 0) {
            error = rc == Z_STREAM_END ? "block shorter than declared" : "bad deflate data";
            ok = false;
            break;
        }
        pos += 4 + compressed;
    }
    inflateEnd(&z);
    if (ok && out.size() != expected) {
        error = "decompressed size does not match the declared size";
        ok = false;
    }
    if (!ok) out.clear();
    return ok;
}

}  // namespace d3dx
