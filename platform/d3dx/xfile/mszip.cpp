// MSZIP, the compression of the "tzip" and "bzip" X file formats: a 32-bit total size (the
// decompressed file, its 16-byte header included), then blocks of a 16-bit uncompressed size, a
// 16-bit compressed size (counting the "CK" signature), "CK" and raw deflate data. Each block
// uses the 32 KiB of output before it as its preset dictionary. zlib does the inflating, one
// block at a time as the reader asks for bytes; every size is checked against the declared total
// and the bytes present before anything is read for it.
#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "platform/d3dx/xfile/byte_source.h"
#include "platform/d3dx/xfile/reader.h"

namespace d3dx {
namespace {

constexpr std::size_t kDictionaryBytes = 32768;
constexpr std::size_t kMaxBlockBytes = 65535;  // what a 16-bit size can say
// The most that deflate can expand its input by, with room for block headers.
constexpr std::uint64_t kMaxRatio = 1032;

std::uint16_t Word(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

MsZipSource::MsZipSource(ByteSource& compressed)
    : compressed_(compressed), window_(kDictionaryBytes + kMaxBlockBytes), input_(kMaxBlockBytes) {
    started_ = Start();
    if (!started_) ended_ = true;
}

MsZipSource::~MsZipSource() {
    if (zlib_) {
        inflateEnd(static_cast<z_stream*>(zlib_));
        delete static_cast<z_stream*>(zlib_);
    }
}

// The declared size, checked against what the compressed bytes could hold.
bool MsZipSource::Start() {
    const std::uint64_t body = compressed_.MostLeft();
    std::uint8_t size[4];
    if (!ReadCompressed(size, 4, "compressed file too short")) return false;
    std::uint32_t declared;
    std::memcpy(&declared, size, 4);
    if (declared < 16) return Fail("bad decompressed size", true);
    expected_ = declared - 16;
    if (expected_ > body * kMaxRatio) return Fail("declared size too large", true);
    auto* z = new z_stream{};
    if (inflateInit2(z, -MAX_WBITS) != Z_OK) {
        delete z;
        return Fail("zlib failed to start", false);
    }
    zlib_ = z;
    return true;
}

bool MsZipSource::ReadCompressed(std::uint8_t* to, std::size_t size, const char* shortage) {
    std::size_t got = 0;
    if (!compressed_.Read(to, size, got)) {
        return Fail(compressed_.Error(), compressed_.Malformed());
    }
    return got == size || Fail(shortage, true);
}

std::uint64_t MsZipSource::MostLeft() const {
    const std::uint64_t declared = expected_ - produced_;
    return (blockEnd_ - blockAt_) +
           (ended_ ? 0 : std::min(declared, compressed_.MostLeft() * kMaxRatio));
}

// Inflates the next block after the last 32 KiB of output. False at the end of the blocks (where
// the output must have reached the declared size) and on any failure.
bool MsZipSource::NextBlock() {
    const std::uint64_t left = compressed_.MostLeft();
    if (left == 0) {
        ended_ = true;
        return produced_ == expected_ ||
               Fail("decompressed size does not match the declared size", true);
    }
    std::uint8_t header[6];
    if (left < 6) return Fail("truncated block header", true);
    if (!ReadCompressed(header, 6, "truncated block header")) return false;
    const std::size_t uncompressed = Word(header);
    const std::size_t compressed = Word(header + 2);
    if (header[4] != 'C' || header[5] != 'K' || compressed < 2) {
        return Fail("bad block signature", true);
    }
    if (compressed - 2 > compressed_.MostLeft()) return Fail("block larger than the file", true);
    if (produced_ + uncompressed > expected_) {
        return Fail("blocks exceed the declared size", true);
    }
    if (!ReadCompressed(input_.data(), compressed - 2, "block larger than the file")) return false;

    const std::size_t keep = std::min(blockEnd_, kDictionaryBytes);
    std::memmove(window_.data(), window_.data() + blockEnd_ - keep, keep);
    auto* z = static_cast<z_stream*>(zlib_);
    inflateReset(z);
    if (keep) inflateSetDictionary(z, window_.data(), static_cast<uInt>(keep));
    z->next_in = input_.data();
    z->avail_in = static_cast<uInt>(compressed - 2);
    z->next_out = window_.data() + keep;
    z->avail_out = static_cast<uInt>(uncompressed);
    const int rc = inflate(z, Z_FINISH);
    // The block must end its deflate stream exactly where its declared size says.
    if (rc != Z_STREAM_END || z->avail_out != 0) {
        return Fail(rc == Z_STREAM_END ? "block shorter than declared" : "bad deflate data", true);
    }
    blockAt_ = keep;
    blockEnd_ = keep + uncompressed;
    produced_ += uncompressed;
    return true;
}

bool MsZipSource::Read(std::uint8_t* to, std::size_t size, std::size_t& got) {
    got = 0;
    if (!Error().empty()) return false;
    while (got < size) {
        if (blockAt_ == blockEnd_) {
            if (ended_) break;
            if (!NextBlock()) {
                ended_ = true;
                if (!Error().empty()) return false;
            }
            continue;
        }
        const std::size_t take = std::min(size - got, blockEnd_ - blockAt_);
        std::memcpy(to + got, window_.data() + blockAt_, take);
        blockAt_ += take;
        got += take;
    }
    return true;
}

bool InflateMsZip(std::span<const std::uint8_t> body, std::vector<std::uint8_t>& out,
                  std::string& error) {
    out.clear();
    MemorySource memory(body);
    MsZipSource zip(memory);
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    for (;;) {
        const std::size_t at = out.size();
        out.resize(at + kPiece);
        std::size_t got = 0;
        if (!zip.Read(out.data() + at, kPiece, got)) {
            error = zip.Error();
            out.clear();
            return false;
        }
        out.resize(at + got);
        if (got < kPiece) return true;
    }
}

}  // namespace d3dx
