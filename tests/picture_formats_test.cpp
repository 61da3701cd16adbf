// The picture formats in the header shapes that writers produce: BMP (top-down rows, 16 and
// 32-bit layouts by default and by bit masks, every header size, palettes), TGA (both origin
// bits, 16-bit alpha, greys, colour maps, run-length packets across rows), PNG (grey with alpha,
// palettes with transparency, 16-bit samples) and progressive JPEG; and the messages that name
// what is wrong with a picture that is refused.
//
// The files are built here byte by byte after the formats' own rules, written beside each
// builder, so that the readers are checked against the format and not against our writers.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include "platform/d3dx/texture/texture_files.h"
#include "tests/test_files.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

using d3dx::TextureData;

std::span<const std::uint8_t> Span(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

void Le(std::string& s, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i));
}
void Be(std::string& s, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) s += static_cast<char>(v >> (8 * i));
}

std::uint32_t At(const TextureData& t, UINT x, UINT y) {
    std::uint32_t v;
    std::memcpy(&v, t.levels[0].data() + 4 * (std::size_t{y} * t.width + x), 4);
    return v;
}

// ---- BMP ---------------------------------------------------------------------------------------
// File header: "BM", file size, two reserved words, offset of the pixels (4 bytes each but the
// words). Info header: its size, width, height (negative: rows top-down), planes 1, bits per
// pixel, compression (0 RGB, 1 RLE8, 3 BITFIELDS, 6 ALPHABITFIELDS), then five unused words. A
// 40-byte header is followed by the masks when compressed by bit fields; headers of 52 bytes and
// more hold the red, green, blue masks at 40 and (56 and more) the alpha mask at 52. A palette of
// B, G, R, 0 entries follows; rows are padded to four bytes, bottom row first unless top-down.
struct BmpDesc {
    std::uint32_t headerSize = 40;
    std::int32_t width = 2, height = 2;
    std::uint32_t bpp = 24, compression = 0;
    std::vector<std::uint32_t> masks = {};    // where the header size puts them
    std::vector<std::uint32_t> palette = {};  // 0x00RRGGBB
    std::vector<std::string> rows = {};       // in file order, unpadded
};

std::string Bmp(const BmpDesc& d) {
    std::string info;
    Le(info, d.headerSize, 4);
    if (d.headerSize == 12) {
        Le(info, static_cast<std::uint32_t>(d.width), 2);
        Le(info, static_cast<std::uint32_t>(d.height), 2);
        Le(info, 1, 2);
        Le(info, d.bpp, 2);
    } else {
        Le(info, static_cast<std::uint32_t>(d.width), 4);
        Le(info, static_cast<std::uint32_t>(d.height), 4);
        Le(info, 1, 2);
        Le(info, d.bpp, 2);
        Le(info, d.compression, 4);
        for (int i = 0; i < 3; ++i) Le(info, 0, 4);
        Le(info, static_cast<std::uint32_t>(d.palette.size()), 4);
        Le(info, 0, 4);
        for (std::uint32_t m : d.masks) Le(info, m, 4);  // inside the header or after it
        while (info.size() < d.headerSize) Le(info, 0, 1);
    }
    std::string palette;
    for (std::uint32_t c : d.palette) Le(palette, c, d.headerSize == 12 ? 3 : 4);
    std::string pixels;
    for (const std::string& row : d.rows) {
        pixels += row;
        while (pixels.size() % 4) pixels += '\0';
    }
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + info.size() + palette.size());
    std::string file = "BM";
    Le(file, static_cast<std::uint32_t>(offset + pixels.size()), 4);
    Le(file, 0, 4);
    Le(file, offset, 4);
    return file + info + palette + pixels;
}

std::string Pixels(std::initializer_list<std::uint32_t> values, int bytes) {
    std::string s;
    for (std::uint32_t v : values) Le(s, v, bytes);
    return s;
}

struct PictureCase {
    const char* name;
    std::string file;
    D3DFORMAT format;
    std::uint32_t topLeft, topRight, bottomLeft;
};

void ExpectPictures(const std::vector<PictureCase>& cases) {
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.name);
        TextureData t;
        std::string why;
        ASSERT_TRUE(d3dx::DecodeTextureFile(Span(c.file), t, why)) << why;
        EXPECT_EQ(t.format, c.format);
        EXPECT_EQ(At(t, 0, 0), c.topLeft);
        EXPECT_EQ(At(t, t.width - 1, 0), c.topRight);
        EXPECT_EQ(At(t, 0, t.height - 1), c.bottomLeft);
    }
}

TEST(BmpShapes, EachLayoutDecodesRightWayUpWithItsChannels) {
    const std::uint32_t kMask565[] = {0xF800, 0x07E0, 0x001F};
    // 24-bit pixels are B, G, R; with two rows of two.
    const std::string red("\x00\x00\xFF", 3), green("\x00\xFF\x00", 3), blue("\xFF\x00\x00", 3),
        white("\xFF\xFF\xFF", 3);
    std::vector<PictureCase> cases = {
        {"bottom-up 24-bit", Bmp({.rows = {red + green, blue + white}}), D3DFMT_X8R8G8B8,
         0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000},
        {"top-down 24-bit", Bmp({.height = -2, .rows = {red + green, blue + white}}),
         D3DFMT_X8R8G8B8, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF},
        {"core header", Bmp({.headerSize = 12, .rows = {red + green, blue + white}}),
         D3DFMT_X8R8G8B8, 0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000},
        {"16-bit default X1R5G5B5",
         Bmp({.bpp = 16, .rows = {Pixels({0x7C00, 0x03E0}, 2), Pixels({0x001F, 0x4210}, 2)}}),
         D3DFMT_X8R8G8B8, 0xFF0000FF, 0xFF848484, 0xFFFF0000},
        {"16-bit R5G6B5 masks after a 40-byte header",
         Bmp({.bpp = 16,
              .compression = 3,
              .masks = {kMask565[0], kMask565[1], kMask565[2]},
              .rows = {Pixels({0xF800, 0x07E0}, 2), Pixels({0x001F, 0x8410}, 2)}}),
         D3DFMT_X8R8G8B8, 0xFF0000FF, 0xFF848284, 0xFFFF0000},
        {"16-bit A4R4G4B4 alpha bit fields",
         Bmp({.bpp = 16,
              .compression = 6,
              .masks = {0x0F00, 0x00F0, 0x000F, 0xF000},
              .rows = {Pixels({0x8F00, 0xF0F0}, 2), Pixels({0x000F, 0xFFFF}, 2)}}),
         D3DFMT_A8R8G8B8, 0x000000FF, 0xFFFFFFFF, 0x88FF0000},
        // The fourth byte of a BI_RGB pixel is unused, whatever it holds.
        {"32-bit BI_RGB",
         Bmp({.bpp = 32,
              .rows = {Pixels({0x80112233, 0x00445566}, 4), Pixels({0x12778899, 0xFFAABBCC}, 4)}}),
         D3DFMT_X8R8G8B8, 0xFF778899, 0xFFAABBCC, 0xFF112233},
        {"32-bit V4 header with an alpha mask",
         Bmp({.headerSize = 108,
              .bpp = 32,
              .compression = 3,
              .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
              .rows = {Pixels({0x80112233, 0x00445566}, 4), Pixels({0x12778899, 0xFFAABBCC}, 4)}}),
         D3DFMT_A8R8G8B8, 0x12778899, 0xFFAABBCC, 0x80112233},
        // A 56-byte header holds its masks: nothing follows it but the pixels.
        {"32-bit V3 header with masks in another order",
         Bmp({.headerSize = 56,
              .bpp = 32,
              .compression = 3,
              .masks = {0xFF, 0xFF00, 0xFF0000, 0xFF000000},
              .rows = {Pixels({0x80332211, 0x40665544}, 4), Pixels({0x20998877, 0x10CCBBAA}, 4)}}),
         D3DFMT_A8R8G8B8, 0x20778899, 0x10AABBCC, 0x80112233},
        {"32-bit V5 header whose alpha is zero everywhere",
         Bmp({.headerSize = 124,
              .height = -2,
              .bpp = 32,
              .compression = 3,
              .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
              .rows = {Pixels({0x112233, 0x445566}, 4), Pixels({0x778899, 0xAABBCC}, 4)}}),
         D3DFMT_X8R8G8B8, 0xFF112233, 0xFF445566, 0xFF778899},
        {"8-bit palette, odd width",
         Bmp({.width = 3,
              .bpp = 8,
              .palette = {0x0000FF, 0x00FF00, 0xFF0000},
              .rows = {std::string("\x01\x02\x00", 3), std::string("\x00\x01\x02", 3)}}),
         D3DFMT_X8R8G8B8, 0xFF0000FF, 0xFFFF0000, 0xFF00FF00},
        {"4-bit palette",
         Bmp({.width = 3,
              .bpp = 4,
              .palette = {0x000000, 0x123456, 0xABCDEF},
              .rows = {std::string("\x12\x00", 2), std::string("\x21\x10", 2)}}),
         D3DFMT_X8R8G8B8, 0xFFABCDEF, 0xFF123456, 0xFF123456},
        {"1-bit palette",
         Bmp({.width = 9,
              .bpp = 1,
              .palette = {0x000000, 0xFFFFFF},
              .rows = {std::string("\x80\x00", 2), std::string("\x00\x80", 2)}}),
         D3DFMT_X8R8G8B8, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF},
    };
    ExpectPictures(cases);
}

// ---- TGA ---------------------------------------------------------------------------------------
// Header of 18 bytes: id length, colour map type, image type (1 mapped, 2 true colour, 3 grey,
// +8 run-length), map first index and length (2 bytes each), map entry bits, x and y origin,
// width, height (2 bytes each), bits per pixel, descriptor (alpha bits 0-3, bit 4 right-to-left,
// bit 5 top-down). Then the id, the map, the pixels (B, G, R[, A]; 16-bit ARRRRRGGGGGBBBBB).
std::string Tga(int type, int w, int h, int bpp, int descriptor, const std::string& pixels,
                int mapFirst = 0, int mapBits = 0, const std::string& map = "") {
    std::string s;
    Le(s, 0, 1);
    Le(s, mapBits ? 1 : 0, 1);
    Le(s, static_cast<std::uint32_t>(type), 1);
    Le(s, static_cast<std::uint32_t>(mapFirst), 2);
    Le(s, mapBits ? static_cast<std::uint32_t>(map.size() / ((mapBits + 7) / 8)) : 0, 2);
    Le(s, static_cast<std::uint32_t>(mapBits), 1);
    Le(s, 0, 4);
    Le(s, static_cast<std::uint32_t>(w), 2);
    Le(s, static_cast<std::uint32_t>(h), 2);
    Le(s, static_cast<std::uint32_t>(bpp), 1);
    Le(s, static_cast<std::uint32_t>(descriptor), 1);
    return s + map + pixels;
}

TEST(TgaShapes, OriginBitsAlphaBitsGreysMapsAndPackets) {
    // Four pixels in file order: red, green, blue, white.
    const std::string rgbw = Pixels({0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}, 3);
    const std::vector<PictureCase> cases = {
        {"origin bottom left", Tga(2, 2, 2, 24, 0x00, rgbw), D3DFMT_X8R8G8B8, 0xFF0000FF,
         0xFFFFFFFF, 0xFFFF0000},
        {"origin top left", Tga(2, 2, 2, 24, 0x20, rgbw), D3DFMT_X8R8G8B8, 0xFFFF0000, 0xFF00FF00,
         0xFF0000FF},
        {"origin bottom right", Tga(2, 2, 2, 24, 0x10, rgbw), D3DFMT_X8R8G8B8, 0xFFFFFFFF,
         0xFF0000FF, 0xFF00FF00},
        {"origin top right", Tga(2, 2, 2, 24, 0x30, rgbw), D3DFMT_X8R8G8B8, 0xFF00FF00, 0xFFFF0000,
         0xFFFFFFFF},
        {"16-bit with an alpha bit",
         Tga(2, 2, 2, 16, 0x21, Pixels({0x7C00, 0x83E0, 0x801F, 0xFFFF}, 2)), D3DFMT_A8R8G8B8,
         0x00FF0000, 0xFF00FF00, 0xFF0000FF},
        {"16-bit without alpha bits",
         Tga(2, 2, 2, 16, 0x20, Pixels({0x7C00, 0x03E0, 0x001F, 0x7FFF}, 2)), D3DFMT_X8R8G8B8,
         0xFFFF0000, 0xFF00FF00, 0xFF0000FF},
        {"32-bit", Tga(2, 2, 2, 32, 0x28, Pixels({0x80FF0000, 0x4000FF00, 0xFF0000FF, 0}, 4)),
         D3DFMT_A8R8G8B8, 0x80FF0000, 0x4000FF00, 0xFF0000FF},
        {"32-bit whose alpha is zero everywhere",
         Tga(2, 2, 2, 32, 0x20, Pixels({0xFF0000, 0x00FF00, 0x0000FF, 0}, 4)), D3DFMT_X8R8G8B8,
         0xFFFF0000, 0xFF00FF00, 0xFF0000FF},
        {"grey", Tga(3, 2, 2, 8, 0x20, std::string("\x10\x80\xF0\x00", 4)), D3DFMT_X8R8G8B8,
         0xFF101010, 0xFF808080, 0xFFF0F0F0},
        {"grey with alpha", Tga(3, 2, 2, 16, 0x28, Pixels({0x8040, 0xFF20, 0x0010, 0x1030}, 2)),
         D3DFMT_A8R8G8B8, 0x80404040, 0xFF202020, 0x00101010},
        {"colour map from index 2",
         Tga(1, 2, 2, 8, 0x20, "\x02\x03\x04\x02", 2, 24,
             Pixels({0x123456, 0x654321, 0xABCDEF}, 3)),
         D3DFMT_X8R8G8B8, 0xFF123456, 0xFF654321, 0xFFABCDEF},
        // A run of four crosses from the first row into the second; then two raw pixels.
        {"run-length packets across rows",
         Tga(10, 3, 2, 24, 0x20,
             "\x83" + Pixels({0xFF0000}, 3) + "\x01" + Pixels({0x00FF00, 0x0000FF}, 3)),
         D3DFMT_X8R8G8B8, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000},
    };
    ExpectPictures(cases);
    TextureData t;
    std::string why;
    ASSERT_TRUE(d3dx::DecodeTextureFile(Span(cases.back().file), t, why)) << why;
    EXPECT_EQ(At(t, 1, 1), 0xFF00FF00u);
    EXPECT_EQ(At(t, 2, 1), 0xFF0000FFu);
}

// ---- PNG ---------------------------------------------------------------------------------------
// Signature, then chunks of length (big-endian), type, data, CRC-32 of type and data: IHDR
// (width, height, bit depth, colour type, compression 0, filter 0, interlace 0), optional PLTE and
// tRNS, IDAT (zlib of the rows, each after a filter byte), IEND.
std::string Chunk(const char* type, const std::string& data) {
    std::string s;
    Be(s, static_cast<std::uint32_t>(data.size()));
    const std::string body = type + data;
    s += body;
    Be(s, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                           static_cast<uInt>(body.size()))));
    return s;
}

std::string Png(std::uint32_t w, std::uint32_t h, int depth, int type,
                const std::vector<std::string>& rows, const std::string& extra = "") {
    std::string ihdr;
    Be(ihdr, w);
    Be(ihdr, h);
    ihdr += {static_cast<char>(depth), static_cast<char>(type), 0, 0, 0};
    std::string raw;
    for (const std::string& row : rows) raw += '\0' + row;
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size,
             reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()));
    packed.resize(size);
    return std::string("\x89PNG\r\n\x1A\n", 8) + Chunk("IHDR", ihdr) + extra +
           Chunk("IDAT", packed) + Chunk("IEND", "");
}

TEST(PngShapes, GreyAlphaPaletteTransparencyAndDeepSamples) {
    const std::vector<PictureCase> cases = {
        {"grey", Png(2, 2, 8, 0, {"\x10\x80", std::string("\xF0\x00", 2)}), D3DFMT_X8R8G8B8,
         0xFF101010, 0xFF808080, 0xFFF0F0F0},
        {"grey with alpha",
         Png(2, 2, 8, 4, {"\x40\x80\x20\xFF", std::string("\x10\x00\x30\x10", 4)}), D3DFMT_A8R8G8B8,
         0x80404040, 0xFF202020, 0x00101010},
        {"palette with transparency",
         Png(2, 2, 8, 3, {std::string("\x00\x01", 2), std::string("\x02\x00", 2)},
             Chunk("PLTE", std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF", 9)) +
                 Chunk("tRNS", "\x80")),
         D3DFMT_A8R8G8B8, 0x80FF0000, 0xFF00FF00, 0xFF0000FF},
        {"RGB with a colour key",
         Png(2, 2, 8, 2,
             {std::string("\xFF\x00\x00\x00\xFF\x00", 6),
              std::string("\x00\x00\xFF\xFF\xFF\xFF", 6)},
             Chunk("tRNS", std::string("\x00\xFF\x00\x00\x00\x00", 6))),
         D3DFMT_A8R8G8B8, 0x00FF0000, 0xFF00FF00, 0xFF0000FF},
        {"16-bit RGB",
         Png(1, 2, 16, 2,
             {std::string("\xFF\xFF\x00\x00\x80\x00", 6),
              std::string("\x00\x00\x12\x34\xFF\xFF", 6)}),
         D3DFMT_X8R8G8B8, 0xFFFF0080, 0xFFFF0080, 0xFF0012FF},
    };
    ExpectPictures(cases);
}

TEST(JpegShapes, AProgressiveJpegDecodesToItsColours) {
    // 16 x 16, top half orange (240, 120, 16), bottom half blue (16, 96, 224), written by libjpeg
    // with jpeg_simple_progression: ten scans after an SOF2 frame header.
    const std::string file =
        test::ReadFile(std::string(TESS_SOURCE_DIR) + "/tests/fuzz/corpus/image/progressive.jpg");
    ASSERT_NE(file.find("\xFF\xC2"), std::string::npos);
    TextureData t;
    std::string why;
    ASSERT_TRUE(d3dx::DecodeTextureFile(Span(file), t, why)) << why;
    EXPECT_EQ(t.format, D3DFMT_X8R8G8B8);
    ASSERT_EQ(t.width, 16u);
    const auto near = [](std::uint32_t argb, int r, int g, int b) {
        return std::abs(int((argb >> 16) & 0xFF) - r) <= 6 &&
               std::abs(int((argb >> 8) & 0xFF) - g) <= 6 && std::abs(int(argb & 0xFF) - b) <= 6 &&
               argb >> 24 == 0xFF;
    };
    EXPECT_TRUE(near(At(t, 3, 3), 240, 120, 16)) << std::hex << At(t, 3, 3);
    EXPECT_TRUE(near(At(t, 12, 12), 16, 96, 224)) << std::hex << At(t, 12, 12);
}

// ---- Refusals ----------------------------------------------------------------------------------

std::string PngHeaderOnly(std::uint32_t w, std::uint32_t h) {
    std::string ihdr;
    Be(ihdr, w);
    Be(ihdr, h);
    ihdr += {8, 6, 0, 0, 0};
    return std::string("\x89PNG\r\n\x1A\n", 8) + Chunk("IHDR", ihdr) + Chunk("IDAT", "xx");
}

std::string JpegFrame(std::uint8_t sof, std::uint8_t precision, std::uint16_t h) {
    std::string s = "\xFF\xD8\xFF";
    s += static_cast<char>(sof);
    s += std::string("\x00\x0B", 2);
    s += static_cast<char>(precision);
    s += static_cast<char>(h >> 8);
    s += static_cast<char>(h & 0xFF);
    s += std::string("\x00\x10\x01\x01\x11\x00", 6);
    return s;
}

TEST(PictureRefusals, TheMessageNamesTheProblem) {
    std::string damaged = Png(2, 2, 8, 2, {std::string(6, 'x'), std::string(6, 'y')});
    damaged[damaged.find("IDAT") + 4] ^= static_cast<char>(0xFF);  // the zlib stream's header
    // Image data that claims a gigabyte in a file of under a hundred bytes.
    std::string claims = Png(2, 2, 8, 2, {std::string(6, 'x'), std::string(6, 'y')});
    const std::size_t idat = claims.find("IDAT");
    const std::size_t idatLeft = claims.size() - idat - 8;  // after the type and the CRC
    claims.replace(idat - 4, 4, std::string("\x40\0\0\0", 4));
    const struct {
        const char* name;
        std::string file;
        std::string message;
    } cases[] = {
        {"30000 x 30000 PNG", PngHeaderOnly(30000, 30000),
         "PNG picture of 30000 x 30000 pixels is too large: the limit is 16384 pixels a side and "
         "67108864 pixels in all"},
        {"16384 x 16384 PNG", PngHeaderOnly(16384, 16384),
         "PNG picture of 16384 x 16384 pixels is too large"},
        {"PNG larger than its file", PngHeaderOnly(8000, 8000),
         "PNG claims 8000 x 8000 pixels, more than its"},
        {"damaged PNG data", damaged, "damaged PNG data ("},
        {"PNG chunk longer than its file", claims,
         "damaged PNG: a chunk claims 1073741824 bytes, more than the " + std::to_string(idatLeft) +
             " left in the file"},
        {"TGA without its pixels", Tga(2, 8000, 8000, 32, 0x28, ""),
         "TGA pixel data cut short: 256000000 bytes needed, 0 present"},
        {"TGA of 65535 x 65535", Tga(2, 65535, 65535, 32, 0x28, ""),
         "TGA picture of 65535 x 65535 pixels is too large"},
        // Within the limit as they are, twice over it as textures: refused by their headers.
        {"9000 x 7456 PNG", PngHeaderOnly(9000, 7456),
         "PNG picture of 9000 x 7456 pixels is too large: the limit is 16384 pixels a side and "
         "67108864 pixels in all (as a texture, 16384 x 8192)"},
        {"9000 x 7456 run-length TGA", Tga(10, 9000, 7456, 32, 0x28, ""),
         "TGA picture of 9000 x 7456 pixels is too large"},
        {"BMP of no height", Bmp({.height = 0}), "BMP size 2 x 0 is not a picture"},
        {"run-length BMP", Bmp({.bpp = 8, .compression = 1, .palette = {0}, .rows = {"ab"}}),
         "run-length compressed BMP files are not supported"},
        {"BMP cut short", Bmp({.rows = {"\x01\x02\x03\x04\x05\x06"}}),
         "BMP pixel data cut short: 14 bytes needed, 8 present"},
        {"arithmetic JPEG", JpegFrame(0xC9, 8, 16), "arithmetic-coded JPEG is not supported"},
        {"12-bit JPEG", JpegFrame(0xC1, 12, 16), "12-bit JPEG is not supported"},
        {"JPEG with its height after the scan", JpegFrame(0xC0, 8, 0),
         "JPEG whose height comes after its first scan is not supported"},
        {"no picture", "just some text", "not a picture file that is read here"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextureData t;
        std::string why;
        EXPECT_FALSE(d3dx::DecodeTextureFile(Span(c.file), t, why));
        EXPECT_EQ(why.substr(0, c.message.size()), c.message) << why;
    }
    // A picture whose texture is exactly the limit, 8192 x 8192, passes its header's check.
    d3dx::PictureHeader header;
    std::string why;
    EXPECT_TRUE(d3dx::ReadPictureHeader(Span(PngHeaderOnly(5000, 5000)), header, why)) << why;
}

}  // namespace
