// Texture files: the picture formats decode to the right pixels, DDS files in each format and
// hostile headers, power-of-two sizes and the box-filtered mip chain, and the D3DX entry point.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include "platform/d3dx/texture/texture_files.h"
#include "platform/record/record_platform.h"
#include "tests/test_files.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

using d3dx::TextureData;

std::span<const std::uint8_t> Span(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::uint32_t Pixel(const TextureData& t, std::size_t level, std::size_t i) {
    std::uint32_t v;
    std::memcpy(&v, t.levels[level].data() + 4 * i, 4);
    return v;
}

void Append(std::string& s, std::uint32_t v, int bytes) {
    s.append(reinterpret_cast<const char*>(&v), bytes);
}

// A DDS header; pixel data is appended by the caller.
std::string DdsHeader(std::uint32_t w, std::uint32_t h, std::uint32_t mips, std::uint32_t pfFlags,
                      std::uint32_t fourCC, std::uint32_t bits, std::uint32_t r, std::uint32_t g,
                      std::uint32_t b, std::uint32_t a, std::uint32_t caps2 = 0) {
    std::string s = "DDS ";
    const std::uint32_t flags = 0x1007 | (mips > 1 ? 0x20000 : 0);
    for (std::uint32_t v : {124u, flags, h, w, 0u, 0u, mips}) Append(s, v, 4);
    for (int i = 0; i < 11; ++i) Append(s, 0, 4);
    for (std::uint32_t v : {32u, pfFlags, fourCC, bits, r, g, b, a}) Append(s, v, 4);
    for (std::uint32_t v : {0x1000u, caps2, 0u, 0u, 0u}) Append(s, v, 4);
    return s;
}

struct DdsCase {
    const char* name;
    std::uint32_t pfFlags, bits, r, g, b, a;
    std::uint32_t rawPixel;
    std::uint32_t argb;
    D3DFORMAT format;
};

TEST(Dds, UncompressedFormatsDecodeToArgb) {
    const DdsCase cases[] = {
        {"A8R8G8B8", 0x41, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 0x80112233, 0x80112233,
         D3DFMT_A8R8G8B8},
        {"X8R8G8B8", 0x40, 32, 0xFF0000, 0xFF00, 0xFF, 0, 0x00112233, 0xFF112233, D3DFMT_X8R8G8B8},
        {"R8G8B8", 0x40, 24, 0xFF0000, 0xFF00, 0xFF, 0, 0x445566, 0xFF445566, D3DFMT_X8R8G8B8},
        {"R5G6B5", 0x40, 16, 0xF800, 0x07E0, 0x001F, 0, 0xF81F, 0xFFFF00FF, D3DFMT_X8R8G8B8},
        {"A1R5G5B5", 0x41, 16, 0x7C00, 0x03E0, 0x001F, 0x8000, 0x83E0, 0xFF00FF00, D3DFMT_A8R8G8B8},
    };
    for (const DdsCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = DdsHeader(2, 1, 1, c.pfFlags, 0, c.bits, c.r, c.g, c.b, c.a);
        Append(file, c.rawPixel, static_cast<int>(c.bits / 8));
        Append(file, c.rawPixel, static_cast<int>(c.bits / 8));
        TextureData t;
        std::string why;
        ASSERT_TRUE(d3dx::ReadDds(Span(file), t, why)) << why;
        EXPECT_EQ(t.format, c.format);
        EXPECT_EQ(Pixel(t, 0, 1), c.argb);
    }
}

// One DXT1 block: red and blue end points, the given 2-bit indices.
std::string Dxt1Block(std::uint16_t c0, std::uint16_t c1, std::uint32_t indices) {
    std::string s;
    Append(s, c0, 2);
    Append(s, c1, 2);
    Append(s, indices, 4);
    return s;
}

TEST(Dds, DxtBlocksDecodeWithTheirPalettes) {
    // Four-colour mode: red, blue, two thirds between.
    const std::string four = Dxt1Block(0xF800, 0x001F, 0b10'01'00);
    auto px = d3dx::DecodeDxt(D3DFMT_DXT1, 4, 4, Span(four));
    EXPECT_EQ(px[0], 0xFFFF0000u);
    EXPECT_EQ(px[1], 0xFF0000FFu);
    EXPECT_EQ(px[2], 0xFFAA0055u);
    // Three-colour mode (c0 <= c1): the fourth entry is transparent black.
    const std::string three = Dxt1Block(0x001F, 0xF800, 0b11'10);
    px = d3dx::DecodeDxt(D3DFMT_DXT1, 4, 4, Span(three));
    EXPECT_EQ(px[0], 0xFF7F007Fu);
    EXPECT_EQ(px[1], 0x00000000u);
    // DXT3: explicit four-bit alpha before the colour block.
    std::string dxt3(8, '\0');
    dxt3[0] = 0x08;
    dxt3 += Dxt1Block(0xF800, 0x001F, 0);
    px = d3dx::DecodeDxt(D3DFMT_DXT3, 4, 4, Span(dxt3));
    EXPECT_EQ(px[0], 0x88FF0000u);
    EXPECT_EQ(px[1], 0x00FF0000u);
    // DXT5: interpolated alpha; index 1 is the second end point.
    std::string dxt5 = {'\xFF', '\x00', '\x01', 0, 0, 0, 0, 0};
    dxt5 += Dxt1Block(0xF800, 0x001F, 0);
    px = d3dx::DecodeDxt(D3DFMT_DXT5, 4, 4, Span(dxt5));
    EXPECT_EQ(px[0] >> 24, 0u);
    EXPECT_EQ(px[1] >> 24, 0xFFu);
}

TEST(Dds, CompressedLevelsAreKeptAndOddSizesDecode) {
    // 8 x 8 DXT1 with its full chain of four levels.
    std::string file = DdsHeader(8, 8, 4, 0x4, D3DFMT_DXT1, 0, 0, 0, 0, 0);
    for (int level = 0; level < 4; ++level) {
        const int blocks = level == 0 ? 4 : 1;
        for (int b = 0; b < blocks; ++b) file += Dxt1Block(0xF800, 0x001F, 0);
    }
    TextureData t;
    std::string why;
    ASSERT_TRUE(d3dx::ReadDds(Span(file), t, why)) << why;
    EXPECT_EQ(t.levels.size(), 4u);
    const TextureData kept = d3dx::PrepareTexture(std::move(t));
    EXPECT_EQ(kept.format, D3DFMT_DXT1);
    EXPECT_EQ(kept.levels.size(), 4u);

    // 5 x 3 is not a multiple of four: decoded, then rounded up to 8 x 4 with its chain.
    std::string odd = DdsHeader(5, 3, 1, 0x4, D3DFMT_DXT1, 0, 0, 0, 0, 0);
    odd += Dxt1Block(0xF800, 0x001F, 0) + Dxt1Block(0xF800, 0x001F, 0);
    ASSERT_TRUE(d3dx::ReadDds(Span(odd), t, why)) << why;
    const TextureData prepared = d3dx::PrepareTexture(std::move(t));
    EXPECT_EQ(prepared.format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(prepared.width, 8u);
    EXPECT_EQ(prepared.height, 4u);
    EXPECT_EQ(prepared.levels.size(), 4u);
    EXPECT_EQ(Pixel(prepared, 0, 0), 0xFFFF0000u);
}

// A chain that stops early keeps the file's levels (a hand-made mip is not a box filter's) and
// goes on from its last one; odd sizes read their edge blocks and are rounded up.
TEST(Dds, ShortChainsKeepTheirLevelsAndOddSizesKeepTheirBlocks) {
    const std::uint32_t red = 0xFFFF0000, blue = 0xFF0000FF;
    std::string argb = DdsHeader(8, 8, 2, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    for (int i = 0; i < 64; ++i) Append(argb, red, 4);
    for (int i = 0; i < 16; ++i) Append(argb, blue, 4);
    std::string dxt = DdsHeader(8, 8, 2, 0x4, D3DFMT_DXT1, 0, 0, 0, 0, 0);
    for (int b = 0; b < 4; ++b) dxt += Dxt1Block(0xF800, 0x001F, 0);  // all red
    dxt += Dxt1Block(0x001F, 0x0000, 0);                              // all blue
    for (const std::string& file : {argb, dxt}) {
        TextureData t;
        std::string why;
        ASSERT_TRUE(d3dx::ReadDds(Span(file), t, why)) << why;
        ASSERT_EQ(t.levels.size(), 2u);
        const TextureData p = d3dx::PrepareTexture(std::move(t));
        EXPECT_EQ(p.format, D3DFMT_A8R8G8B8);
        ASSERT_EQ(p.levels.size(), 4u);
        EXPECT_EQ(Pixel(p, 0, 63), red);
        EXPECT_EQ(Pixel(p, 1, 15), blue);
        EXPECT_EQ(Pixel(p, 2, 3), blue);
        EXPECT_EQ(Pixel(p, 3, 0), blue);
    }
    // 5 x 3 DXT1 with its chain 5 x 3, 2 x 1, 1 x 1: two blocks, then one each.
    std::string odd = DdsHeader(5, 3, 3, 0x4, D3DFMT_DXT1, 0, 0, 0, 0, 0);
    odd += Dxt1Block(0xF800, 0x001F, 0) + Dxt1Block(0x001F, 0, 0) + Dxt1Block(0x001F, 0, 0) +
           Dxt1Block(0x001F, 0, 0);
    TextureData t;
    std::string why;
    ASSERT_TRUE(d3dx::ReadDds(Span(odd), t, why)) << why;
    EXPECT_EQ(t.levels.size(), 3u);
    EXPECT_EQ(t.levels[1].size(), 8u);
    const TextureData p = d3dx::PrepareTexture(std::move(t));
    EXPECT_EQ(p.width, 8u);
    EXPECT_EQ(p.height, 4u);
    EXPECT_EQ(p.levels.size(), 4u);
    EXPECT_EQ(Pixel(p, 0, 0), red);
    EXPECT_EQ(Pixel(p, 0, 7), blue);  // the second block's colour at the right edge
    // One block short of its last level.
    EXPECT_FALSE(d3dx::ReadDds(Span(odd.substr(0, odd.size() - 8)), t, why));
    EXPECT_EQ(why, "DDS data cut short in mip level 2 of 3");
}

TEST(Dds, HostileHeadersAreRefused) {
    struct Case {
        const char* name;
        std::string file;
    } cases[] = {
        {"zero width", DdsHeader(0, 4, 1, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000)},
        {"huge size",
         DdsHeader(1u << 20, 1u << 20, 1, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000)},
        {"too many mip levels",
         DdsHeader(4, 4, 9, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000) +
             std::string(4096, 'x')},
        {"truncated data", DdsHeader(64, 64, 1, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000) +
                               std::string(100, 'x')},
        {"truncated chain",
         DdsHeader(4, 4, 3, 0x4, D3DFMT_DXT5, 0, 0, 0, 0, 0) + std::string(16, 'x')},
        {"cube map", DdsHeader(4, 4, 1, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 0x200) +
                         std::string(64, 'x')},
        {"unknown FourCC", DdsHeader(4, 4, 1, 0x4, MakeFourCC('A', 'T', 'I', '2'), 0, 0, 0, 0, 0) +
                               std::string(64, 'x')},
        {"8-bit palette", DdsHeader(4, 4, 1, 0x20, 0, 8, 0, 0, 0, 0) + std::string(64, 'x')},
        {"header cut short", std::string("DDS ") + std::string(40, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextureData t;
        std::string why;
        EXPECT_FALSE(d3dx::DecodeTextureFile(Span(c.file), t, why));
        EXPECT_FALSE(why.empty());
    }
}

std::string Written(int (*write)(stbi_write_func*, void*, int, int, int, const void*, int), int w,
                    int h, int comp, const std::vector<std::uint8_t>& pixels) {
    std::string out;
    auto sink = [](void* ctx, void* data, int size) {
        static_cast<std::string*>(ctx)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
    };
    write(sink, &out, w, h, comp, pixels.data(), 0);
    return out;
}

int WritePng(stbi_write_func* f, void* c, int w, int h, int comp, const void* data, int) {
    return stbi_write_png_to_func(f, c, w, h, comp, data, w * comp);
}
int WriteBmp(stbi_write_func* f, void* c, int w, int h, int comp, const void* data, int) {
    return stbi_write_bmp_to_func(f, c, w, h, comp, data);
}
int WriteTga(stbi_write_func* f, void* c, int w, int h, int comp, const void* data, int) {
    return stbi_write_tga_to_func(f, c, w, h, comp, data);
}
int WriteJpg(stbi_write_func* f, void* c, int w, int h, int comp, const void* data, int) {
    return stbi_write_jpg_to_func(f, c, w, h, comp, data, 95);
}

TEST(Pictures, EachFormatDecodesToItsPixels) {
    // Red, green / blue, translucent white.
    const std::vector<std::uint8_t> rgba = {255, 0, 0,   255, 0,   255, 0,   255,
                                            0,   0, 255, 255, 255, 255, 255, 128};
    const std::vector<std::uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    struct Case {
        const char* name;
        std::string file;
        D3DFORMAT format;
        std::uint32_t last;
    } cases[] = {
        {"PNG with alpha", Written(WritePng, 2, 2, 4, rgba), D3DFMT_A8R8G8B8, 0x80FFFFFF},
        {"BMP", Written(WriteBmp, 2, 2, 3, rgb), D3DFMT_X8R8G8B8, 0xFFFFFFFF},
        {"TGA with alpha", Written(WriteTga, 2, 2, 4, rgba), D3DFMT_A8R8G8B8, 0x80FFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextureData t;
        std::string why;
        ASSERT_TRUE(d3dx::DecodeTextureFile(Span(c.file), t, why)) << why;
        EXPECT_EQ(t.format, c.format);
        EXPECT_EQ(Pixel(t, 0, 0) & 0x00FFFFFF, 0xFF0000u);
        EXPECT_EQ(Pixel(t, 0, 1) & 0x00FFFFFF, 0x00FF00u);
        EXPECT_EQ(Pixel(t, 0, 3), c.last);
    }
    // JPEG is lossy: a flat orange stays close to orange.
    const std::vector<std::uint8_t> orange(std::size_t{8} * 8 * 3, 0);
    std::vector<std::uint8_t> flat;
    for (int i = 0; i < 64; ++i) flat.insert(flat.end(), {240, 120, 16});
    TextureData t;
    std::string why;
    ASSERT_TRUE(d3dx::DecodeTextureFile(Span(Written(WriteJpg, 8, 8, 3, flat)), t, why)) << why;
    const std::uint32_t p = Pixel(t, 0, 27);
    EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 240, 6);
    EXPECT_NEAR(static_cast<int>((p >> 8) & 0xFF), 120, 6);
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 16, 6);
}

TEST(Pictures, AHeaderClaimingAHugePictureFailsBeforeDecoding) {
    // An 18-byte TGA header: true colour, 8000 x 8000, and nothing after it.
    std::string tga(18, '\0');
    tga[2] = 2;
    const std::uint16_t size = 8000;
    std::memcpy(&tga[12], &size, 2);
    std::memcpy(&tga[14], &size, 2);
    tga[16] = 32;
    TextureData t;
    std::string why;
    EXPECT_FALSE(d3dx::DecodeTextureFile(Span(tga), t, why));
    EXPECT_NE(why.find("TGA pixel data cut short"), std::string::npos) << why;
    const std::uint16_t giant = 65535;
    std::memcpy(&tga[12], &giant, 2);
    EXPECT_FALSE(d3dx::DecodeTextureFile(Span(tga), t, why));
    EXPECT_FALSE(d3dx::DecodeTextureFile(Span(std::string("garbage!")), t, why));
}

// The packaged stb_image writes past its table on a Huffman table of more than 256 codes; such
// a JPEG is refused before it gets there, fill bytes before the start marker or not.
TEST(Pictures, AJpegHuffmanTableOfTooManyCodesIsRefused) {
    for (const char* start : {"\xFF\xD8", "\xFF\xFF\xD8"}) {
        // A baseline frame of 8 x 8, one component, then the table.
        std::string jpeg = std::string(start) +
                           std::string("\xFF\xC0\x00\x0B\x08\x00\x08\x00\x08\x01\x01\x11\x00", 13) +
                           "\xFF\xC4";
        const std::uint16_t length = 2 + 17 + 300;
        jpeg += static_cast<char>(length >> 8);
        jpeg += static_cast<char>(length & 0xFF);
        jpeg += '\x10';  // an AC table
        jpeg += std::string(14, '\0');
        jpeg += static_cast<char>(100);  // codes of 15 bits
        jpeg += static_cast<char>(200);  // codes of 16 bits
        jpeg += std::string(300, '\x01') + "\xFF\xD9";
        TextureData t;
        std::string why;
        EXPECT_FALSE(d3dx::DecodeTextureFile(Span(jpeg), t, why));
        EXPECT_EQ(why, "bad JPEG Huffman table");
    }
}

TEST(Textures, SizesRoundUpToPowersOfTwoWithABoxFilteredChain) {
    TextureData t;
    t.format = D3DFMT_X8R8G8B8;
    t.width = 3;
    t.height = 5;
    t.levels.emplace_back(3 * 5 * 4, 0x40);
    const TextureData p = d3dx::PrepareTexture(std::move(t));
    EXPECT_EQ(p.width, 4u);
    EXPECT_EQ(p.height, 8u);
    ASSERT_EQ(p.levels.size(), 4u);  // 4x8, 2x4, 1x2, 1x1
    EXPECT_EQ(p.levels[3].size(), 4u);

    TextureData square;
    square.format = D3DFMT_A8R8G8B8;
    square.width = square.height = 2;
    const std::uint32_t px[4] = {0xFF000000, 0xFF0000FF, 0x00FF0000, 0x0000FF00};
    square.levels.emplace_back(reinterpret_cast<const std::uint8_t*>(px),
                               reinterpret_cast<const std::uint8_t*>(px) + 16);
    const TextureData chain = d3dx::PrepareTexture(std::move(square));
    ASSERT_EQ(chain.levels.size(), 2u);
    // Each channel the rounded average of the four: a 0x80, r 0x40, g 0x40, b 0x40.
    EXPECT_EQ(Pixel(chain, 1, 0), 0x80404040u);
}

// The budget sizes a texture from its file's header before decoding: the size must be the one
// the decode and preparation make.
TEST(Textures, TheSizeForeseenFromTheHeaderIsTheSizeMade) {
    std::string dxtChain = DdsHeader(8, 8, 4, 0x4, D3DFMT_DXT1, 0, 0, 0, 0, 0);
    for (int b = 0; b < 7; ++b) dxtChain += Dxt1Block(0xF800, 0x001F, 0);
    std::string dxtShort =
        DdsHeader(8, 8, 1, 0x4, D3DFMT_DXT5, 0, 0, 0, 0, 0) + std::string(64, 'x');
    std::string argbOdd =
        DdsHeader(3, 3, 2, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000) + std::string(40, 'x');
    const std::vector<std::uint8_t> rgb(std::size_t{5} * 3 * 3, 90);
    const std::string files[] = {dxtChain,
                                 dxtShort,
                                 argbOdd,
                                 Written(WriteBmp, 5, 3, 3, rgb),
                                 Written(WritePng, 5, 3, 3, rgb),
                                 Written(WriteTga, 1, 9, 3, rgb)};
    for (const std::string& file : files) {
        d3dx::PictureHeader header;
        TextureData t;
        std::string why;
        ASSERT_TRUE(d3dx::ReadPictureHeader(Span(file), header, why)) << why;
        ASSERT_TRUE(d3dx::DecodeTextureFile(Span(file), t, why)) << why;
        EXPECT_EQ(d3dx::PreparedBytes(header),
                  d3dx::TextureBytes(d3dx::PrepareTexture(std::move(t))))
            << d3dx::KindName(header.kind) << " " << header.width << " x " << header.height;
    }
}

TEST(Textures, CreateTextureFromFileMakesTheChainOrFailsNegative) {
    test::TempDir dir;
    const std::vector<std::uint8_t> rgb(std::size_t{3} * 5 * 3, 200);
    test::WriteFile(dir.Path("odd.bmp"), Written(WriteBmp, 3, 5, 3, rgb));
    test::WriteFile(dir.Path("junk.png"), "\x89PNG not really");
    record::InstallRecordingPlatform();
    IDirect3DDevice9* device = test::RecordingDevice();

    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileA(device, dir.Path("odd.bmp").c_str(), &texture), D3D_OK);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->GetLevelCount(), 4u);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(desc.Height, 8u);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(texture->GetLevelDesc(4, &desc), D3DERR_INVALIDCALL);
    texture->Release();

    for (const char* bad : {"missing.bmp", "junk.png"}) {
        texture = reinterpret_cast<IDirect3DTexture9*>(&desc);
        EXPECT_EQ(D3DXCreateTextureFromFileA(device, dir.Path(bad).c_str(), &texture),
                  D3DXERR_INVALIDDATA);
        EXPECT_EQ(texture, nullptr);
    }
    // A directory is not a texture file.
    EXPECT_LT(D3DXCreateTextureFromFileA(device, dir.Path("").c_str(), &texture), 0);
    device->Release();
}

}  // namespace

#include "platform/d3dx/isolated_process.h"

namespace {

// The third-party decoders run through this: whatever they do, the caller gets an answer.
TEST(IsolatedWork, ACrashOrAHangIsAFailureAndAnAnswerComesBackWhole) {
    const d3dx::IsolatedResult fine =
        d3dx::RunIsolated([] { return std::string(100000, 'x'); }, 5000);
    EXPECT_TRUE(fine.ok);
    EXPECT_EQ(fine.output.size(), 100000u);
    const d3dx::IsolatedResult crash = d3dx::RunIsolated(
        [] {
            raise(SIGSEGV);
            return std::string();
        },
        5000);
    EXPECT_FALSE(crash.ok);
    EXPECT_NE(crash.failure.find("crashed"), std::string::npos) << crash.failure;
    const d3dx::IsolatedResult hang = d3dx::RunIsolated(
        [] {
            for (;;) pause();
            return std::string();
        },
        200);
    EXPECT_FALSE(hang.ok);
    EXPECT_NE(hang.failure.find("did not finish"), std::string::npos) << hang.failure;
    const d3dx::IsolatedResult quit = d3dx::RunIsolated(
        [] {
            _exit(3);
            return std::string();
        },
        5000);
    EXPECT_FALSE(quit.ok);
}

}  // namespace
