// Sampler states on the OpenGL device, headless: the address modes, which mip level a pixel
// reads (MIPFILTER NONE, MAXMIPLEVEL, MIPMAPLODBIAS) and anisotropic filtering, each on quads
// laid out so that the texel a pixel reads can be worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/gl_fixture.h"

namespace {

using test::Drawing;
using test::kQuadClockwise;

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF,
                        kYellow = 0xFFFFFF00, kCyan = 0xFF00FFFF, kMagenta = 0xFFFF00FF,
                        kWhite = 0xFFFFFFFF;

// A quad over pixels [x0, x1) x [y0, y1) whose texture coordinates run from (u0, v0) at the top
// left to (u1, v1) at the bottom right.
std::vector<float> UvQuad(int x0, int y0, int x1, int y1, float u0, float v0, float u1, float v1) {
    const std::vector<float> q = test::PixelQuad(x0, y0, x1, y1, false, true);
    std::vector<float> v(q);
    const float uv[4][2] = {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}};
    for (int i = 0; i < 4; ++i) {
        v[i * 5 + 3] = uv[i][0];
        v[i * 5 + 4] = uv[i][1];
    }
    return v;
}

class Sampling : public Drawing {
  protected:
    ID3DXMesh* Mesh(const std::vector<float>& v) {
        return MakeMesh(D3DFVF_XYZ | D3DFVF_TEX1, v, kQuadClockwise, {0, 0});
    }
    void Redraw(ID3DXMesh* mesh) {
        Clear();
        Draw(mesh);
    }
};

// A 2 x 1 texture (red, blue) over 600 pixels with u from -1 to 2: each 100-pixel run reads one
// half of one repetition of u, and the mode decides which texel it is.
TEST_F(Sampling, AddressModesMapCoordinatesOutsideZeroToOne) {
    device->SetTexture(0, MakeTexture(2, 1, {kRed, kBlue}));
    device->SetSamplerState(0, D3DSAMP_BORDERCOLOR, kGreen);
    ID3DXMesh* mesh = Mesh(UvQuad(100, 100, 700, 200, -1, 0, 2, 1));
    struct Case {
        const char* name;
        DWORD mode;
        // u in [-1, -0.5), [-0.5, 0), [0, 0.5), [0.5, 1), [1, 1.5), [1.5, 2)
        std::uint32_t runs[6];
    } cases[] = {
        {"WRAP: u mod 1", D3DTADDRESS_WRAP, {kRed, kBlue, kRed, kBlue, kRed, kBlue}},
        {"MIRROR: every other repetition reversed",
         D3DTADDRESS_MIRROR,
         {kBlue, kRed, kRed, kBlue, kBlue, kRed}},
        {"CLAMP: the edge texels", D3DTADDRESS_CLAMP, {kRed, kRed, kRed, kBlue, kBlue, kBlue}},
        {"BORDER: the border colour",
         D3DTADDRESS_BORDER,
         {kGreen, kGreen, kRed, kBlue, kGreen, kGreen}},
        {"MIRRORONCE: |u|, clamped",
         D3DTADDRESS_MIRRORONCE,
         {kBlue, kRed, kRed, kBlue, kBlue, kBlue}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device->SetSamplerState(0, D3DSAMP_ADDRESSU, c.mode);
        Redraw(mesh);
        for (int run = 0; run < 6; ++run)
            EXPECT_EQ(PixelAt(150 + 100 * run, 150), c.runs[run]) << "run " << run;
    }
    // V has its own mode: a 1 x 2 texture (red over blue), v from -1 to 2, clamped in v while u
    // wraps.
    device->SetTexture(0, MakeTexture(1, 2, {kRed, kBlue}));
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    Redraw(Mesh(UvQuad(100, 50, 200, 350, 0, -1, 1, 2)));
    const std::uint32_t runs[6] = {kRed, kRed, kRed, kBlue, kBlue, kBlue};
    for (int run = 0; run < 6; ++run) EXPECT_EQ(PixelAt(150, 75 + 50 * run), runs[run]);
}

// A new device wraps in u and v (Direct3D 9's default for every sampler): a 2 x 2 texture over
// u and v from 0 to 2 shows four times, where clamping would stretch its last row and column.
TEST_F(Sampling, ANewDeviceWrapsInUAndV) {
    const std::uint32_t texels[2][2] = {{kRed, kBlue}, {kGreen, kYellow}};
    device->SetTexture(0, MakeTexture(2, 2, {kRed, kBlue, kGreen, kYellow}));
    Redraw(Mesh(UvQuad(100, 50, 500, 450, 0, 0, 2, 2)));
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(test::Hex(PixelAt(150 + 100 * col, 100 + 100 * row)),
                      test::Hex(texels[row % 2][col % 2]))
                << "u cell " << col << ", v cell " << row;
    }
}

// A 64 x 64 texture drawn on 16 x 16 pixels is minified by 4: level of detail 2. Each level is
// one colour, so the pixel names the level read.
TEST_F(Sampling, TheMipLevelReadFollowsMipfilterMaxmiplevelAndLodBias) {
    device->SetTexture(
        0, MakeSolidLevels(64, 64, {kRed, kGreen, kBlue, kYellow, kCyan, kMagenta, kWhite}));
    ID3DXMesh* mesh = Mesh(UvQuad(500, 200, 516, 216, 0, 0, 1, 1));
    const auto bias = [](float b) {
        DWORD bits;
        std::memcpy(&bits, &b, 4);
        return bits;
    };
    struct Case {
        const char* name;
        DWORD mipFilter, maxMipLevel, lodBias;
        std::uint32_t expected;
    } cases[] = {
        {"NONE reads level 0 only", D3DTEXF_NONE, 0, 0, kRed},
        {"NONE whatever MAXMIPLEVEL says", D3DTEXF_NONE, 3, 0, kRed},
        {"POINT: the nearest level, 2", D3DTEXF_POINT, 0, 0, kBlue},
        {"LINEAR at exactly level 2", D3DTEXF_LINEAR, 0, 0, kBlue},
        {"MAXMIPLEVEL 3: nothing larger than level 3", D3DTEXF_POINT, 3, 0, kYellow},
        {"MAXMIPLEVEL 1 allows level 2", D3DTEXF_POINT, 1, 0, kBlue},
        {"LOD bias +1: level 3", D3DTEXF_POINT, 0, bias(1.0f), kYellow},
        {"LOD bias -1: level 1", D3DTEXF_POINT, 0, bias(-1.0f), kGreen},
        {"LOD bias -1 under MAXMIPLEVEL 2", D3DTEXF_POINT, 2, bias(-1.0f), kBlue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device->SetSamplerState(0, D3DSAMP_MIPFILTER, c.mipFilter);
        device->SetSamplerState(0, D3DSAMP_MAXMIPLEVEL, c.maxMipLevel);
        device->SetSamplerState(0, D3DSAMP_MIPMAPLODBIAS, c.lodBias);
        Redraw(mesh);
        EXPECT_EQ(PixelAt(508, 208), c.expected);
    }
}

// Vertical stripes one texel wide (black, white), drawn 64 pixels wide and 4 high: one texel a
// pixel across, 16 down. Isotropic filtering takes level 4, whose texels are the stripes'
// average (flat grey); anisotropic filtering samples along the squashed axis at a finer level
// and keeps the stripes. Neither Direct3D 9 nor OpenGL defines the anisotropic kernel, so only
// the stripes' showing is checked, not their exact shade.
TEST_F(Sampling, AnisotropicFilteringKeepsDetailAlongTheSquashedAxis) {
    if (device_->MaxAnisotropy() < 16.0f) GTEST_SKIP() << "the driver has no 16x anisotropy";
    d3dx::TextureData data;
    data.width = data.height = 64;
    for (UINT size = 64; size >= 1; size /= 2) {
        std::vector<std::uint32_t> texels(std::size_t{size} * size, 0xFF808080);
        if (size == 64) {
            for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = i % 2 ? kWhite : 0xFF000000;
        }
        data.levels.emplace_back(
            reinterpret_cast<const std::uint8_t*>(texels.data()),
            reinterpret_cast<const std::uint8_t*>(texels.data() + texels.size()));
    }
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTextureFromData(std::move(data), &texture), D3D_OK);
    device->SetTexture(0, Keep(texture));
    ID3DXMesh* mesh = Mesh(UvQuad(400, 300, 464, 304, 0, 0, 1, 1));
    const auto contrast = [&] {
        Redraw(mesh);
        int lo = 255, hi = 0;
        for (int x = 404; x < 460; ++x) {
            const int g = static_cast<int>((PixelAt(x, 302) >> 8) & 0xFF);
            lo = std::min(lo, g);
            hi = std::max(hi, g);
        }
        return hi - lo;
    };
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAXANISOTROPY, 16);
    EXPECT_LT(contrast(), 0x10);  // LINEAR ignores MAXANISOTROPY: level 4's grey
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_ANISOTROPIC);
    EXPECT_GT(contrast(), 0x30);
    device->SetSamplerState(0, D3DSAMP_MAXANISOTROPY, 1);
    EXPECT_LT(contrast(), 0x10);
}

}  // namespace
