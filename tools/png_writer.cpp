// The PNG encoder (see png_writer.h): signature, IHDR, one IDAT, IEND, each chunk with its CRC.
#include "tools/png_writer.h"

#include <zlib.h>

#include <cstdint>
#include <vector>

namespace snapshot {
namespace {

void PutBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

void PutChunk(std::string& out, const char type[4], const unsigned char* data, std::size_t size) {
    PutBigEndian(out, static_cast<std::uint32_t>(size));
    const std::size_t typeAt = out.size();
    out.append(type, 4);
    out.append(reinterpret_cast<const char*>(data), size);
    // The CRC covers the type and the data.
    const uLong crc =
        crc32(0, reinterpret_cast<const Bytef*>(out.data() + typeAt), static_cast<uInt>(size + 4));
    PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

// Every row behind its filter byte: Sub (1), each byte less the same byte of the pixel to its
// left.
std::vector<unsigned char> SubFilteredRows(const RgbPicture& picture) {
    const std::size_t stride = static_cast<std::size_t>(picture.width) * 3;
    std::vector<unsigned char> rows((stride + 1) * static_cast<std::size_t>(picture.height));
    unsigned char* out = rows.data();
    for (int y = 0; y < picture.height; ++y) {
        const unsigned char* row = picture.rgb.data() + stride * static_cast<std::size_t>(y);
        *out++ = 1;
        for (std::size_t i = 0; i < 3 && i < stride; ++i) *out++ = row[i];
        for (std::size_t i = 3; i < stride; ++i)
            *out++ = static_cast<unsigned char>(row[i] - row[i - 3]);
    }
    return rows;
}

}  // namespace

std::string EncodePng(const RgbPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgb.size() != static_cast<std::size_t>(picture.width) * picture.height * 3)
        return {};
    const std::vector<unsigned char> rows = SubFilteredRows(picture);
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()),
                  Z_BEST_SPEED) != Z_OK)
        return {};

    std::string out("\x89PNG\r\n\x1a\n", 8);
    unsigned char header[13] = {};
    for (int i = 0; i < 4; ++i) {
        header[i] =
            static_cast<unsigned char>(static_cast<std::uint32_t>(picture.width) >> (24 - 8 * i));
        header[4 + i] =
            static_cast<unsigned char>(static_cast<std::uint32_t>(picture.height) >> (24 - 8 * i));
    }
    header[8] = 8;  // bits per channel
    header[9] = 2;  // colour type: RGB
    // Compression, filter method and interlacing: 0, the only methods there are, and none.
    PutChunk(out, "IHDR", header, sizeof header);
    PutChunk(out, "IDAT", packed.data(), packedSize);
    PutChunk(out, "IEND", nullptr, 0);
    return out;
}

}  // namespace snapshot
