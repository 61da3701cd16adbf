// What happens to a pixel after the texture stages on the OpenGL device, headless: the alpha
// test (fixed-function and with a pixel shader), alpha blending with its factors and
// operations, the back buffer's alpha channel, colour write masks, and the depth test with
// ZFUNC and ZWRITEENABLE; each against the pixels Direct3D 9's definitions give.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/gl_fixture.h"

namespace {

using test::Channels;
using test::Drawing;
using test::GlDeviceTest;
using test::kBackground;
using test::kQuadClockwise;
using test::Pack;
using test::Quad;
using test::Unpack;

constexpr int kTolerance = 2;

class Blending : public Drawing {
  protected:
    // A quad of one vertex colour, lighting off: the colour reaches the pixel as it is.
    ID3DXMesh* Solid(D3DCOLOR colour, float z = 0.5f, float size = 0.8f) {
        return MakeMesh(D3DFVF_XYZ | D3DFVF_DIFFUSE,
                        test::Quad(true, false, z, size, colour, colour), kQuadClockwise, {0, 0});
    }
    std::uint32_t DrawnCentre(ID3DXMesh* mesh) {
        Clear();
        Draw(mesh);
        return PixelAt(500, 250);
    }
};

// The 8-bit alpha written (0x80 here) against ALPHAREF's low byte, for each comparison.
TEST_F(Blending, TheAlphaTestKeepsThePixelsThatPass) {
    ID3DXMesh* quad = Solid(0x80FF0000);
    struct Case {
        DWORD func, ref;
        bool drawn;
    } cases[] = {
        {D3DCMP_NEVER, 0x00, false},        {D3DCMP_LESS, 0x80, false},
        {D3DCMP_LESS, 0x81, true},          {D3DCMP_EQUAL, 0x80, true},
        {D3DCMP_EQUAL, 0x7F, false},        {D3DCMP_LESSEQUAL, 0x80, true},
        {D3DCMP_LESSEQUAL, 0x7F, false},    {D3DCMP_GREATER, 0x80, false},
        {D3DCMP_GREATER, 0x7F, true},       {D3DCMP_NOTEQUAL, 0x80, false},
        {D3DCMP_NOTEQUAL, 0x81, true},      {D3DCMP_GREATEREQUAL, 0x80, true},
        {D3DCMP_GREATEREQUAL, 0x81, false}, {D3DCMP_ALWAYS, 0xFF, true},
        {D3DCMP_GREATER, 0x17F, true},  // only the low byte counts
    };
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "func " << c.func << " ref " << c.ref);
        device->SetRenderState(D3DRS_ALPHAFUNC, c.func);
        device->SetRenderState(D3DRS_ALPHAREF, c.ref);
        EXPECT_EQ(DrawnCentre(quad), c.drawn ? 0xFFFF0000u : kBackground);
    }
    // Disabled, nothing is tested.
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_NEVER);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    EXPECT_EQ(DrawnCentre(quad), 0xFFFF0000u);
}

TEST_F(Blending, TheAlphaTestAppliesToAPixelShadersOutput) {
    const std::vector<std::uint32_t> code = CompileCode(
        "float4 ps_main() : COLOR0 { return float4(0, 1, 0, 0.25); }", "ps_main", "ps_2_0");
    ASSERT_FALSE(code.empty());
    IDirect3DPixelShader9* shader = nullptr;
    ASSERT_EQ(device->CreatePixelShader(reinterpret_cast<const DWORD*>(code.data()), &shader),
              D3D_OK);
    device->SetPixelShader(Keep(shader));
    ID3DXMesh* quad = Solid(0xFFFFFFFF);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    // 0.25 is written as 64 (0x40).
    device->SetRenderState(D3DRS_ALPHAREF, 0x40);
    EXPECT_EQ(DrawnCentre(quad), kBackground);
    device->SetRenderState(D3DRS_ALPHAREF, 0x3F);
    EXPECT_EQ(DrawnCentre(quad), 0xFF00FF00u);
}

// Source: the quad's colour S; destination: the cleared background B. Each row by Direct3D 9's
// blend factors and operation.
TEST_F(Blending, BlendFactorsAndOperations) {
    constexpr D3DCOLOR kSource = 0x60C08040;
    const Channels s = Unpack(kSource), b = Unpack(kBackground);
    const auto mix = [](const Channels& x, const Channels& y, double fx, double fy) {
        return Pack({1, std::min(1.0, x.r * fx + y.r * fy), std::min(1.0, x.g * fx + y.g * fy),
                     std::min(1.0, x.b * fx + y.b * fy)});
    };
    struct Case {
        const char* name;
        DWORD src, dest, op;
        std::uint32_t expected;
    } cases[] = {
        {"SRCALPHA, INVSRCALPHA", D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DBLENDOP_ADD,
         mix(s, b, s.a, 1 - s.a)},
        {"ONE, ONE", D3DBLEND_ONE, D3DBLEND_ONE, D3DBLENDOP_ADD, mix(s, b, 1, 1)},
        {"ZERO, SRCCOLOR", D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, D3DBLENDOP_ADD,
         Pack({1, b.r * s.r, b.g * s.g, b.b * s.b})},
        {"DESTCOLOR, ZERO", D3DBLEND_DESTCOLOR, D3DBLEND_ZERO, D3DBLENDOP_ADD,
         Pack({1, b.r * s.r, b.g * s.g, b.b * s.b})},
        {"BOTHSRCALPHA ignores DESTBLEND", D3DBLEND_BOTHSRCALPHA, D3DBLEND_ONE, D3DBLENDOP_ADD,
         mix(s, b, s.a, 1 - s.a)},
        {"BOTHINVSRCALPHA", D3DBLEND_BOTHINVSRCALPHA, D3DBLEND_ZERO, D3DBLENDOP_ADD,
         mix(s, b, 1 - s.a, s.a)},
        {"SUBTRACT: source - destination", D3DBLEND_ONE, D3DBLEND_ONE, D3DBLENDOP_SUBTRACT,
         Pack({1, s.r - b.r, s.g - b.g, std::max(0.0, s.b - b.b)})},
        {"REVSUBTRACT", D3DBLEND_ONE, D3DBLEND_ONE, D3DBLENDOP_REVSUBTRACT,
         Pack({1, std::max(0.0, b.r - s.r), std::max(0.0, b.g - s.g), std::max(0.0, b.b - s.b)})},
        {"MIN", D3DBLEND_ONE, D3DBLEND_ONE, D3DBLENDOP_MIN,
         Pack({1, std::min(s.r, b.r), std::min(s.g, b.g), std::min(s.b, b.b)})},
        {"MAX", D3DBLEND_ONE, D3DBLEND_ONE, D3DBLENDOP_MAX,
         Pack({1, std::max(s.r, b.r), std::max(s.g, b.g), std::max(s.b, b.b)})},
        // BLENDFACTOR 0x80404040: the source times 0.25, the destination times 0.75.
        {"BLENDFACTOR, INVBLENDFACTOR", D3DBLEND_BLENDFACTOR, D3DBLEND_INVBLENDFACTOR,
         D3DBLENDOP_ADD, mix(s, b, 0x40 / 255.0, 1 - 0x40 / 255.0)},
    };
    ID3DXMesh* quad = Solid(kSource);
    device->SetRenderState(D3DRS_BLENDFACTOR, 0x80404040);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device->SetRenderState(D3DRS_SRCBLEND, c.src);
        device->SetRenderState(D3DRS_DESTBLEND, c.dest);
        device->SetRenderState(D3DRS_BLENDOP, c.op);
        EXPECT_COLOR_NEAR(DrawnCentre(quad), c.expected, kTolerance);
    }
    // Blending off: the source replaces the destination.
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    EXPECT_COLOR_NEAR(DrawnCentre(quad), 0xFFC08040u, kTolerance);
}

// An X8R8G8B8 back buffer has no alpha: DESTALPHA reads 1, whatever was cleared or drawn.
TEST_F(Blending, DestinationAlphaOfABufferWithoutAlphaIsOne) {
    ID3DXMesh* half = Solid(0x00FF0000);  // alpha 0, were it kept
    ID3DXMesh* quad = Solid(0xFF0000FF);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x002F2F2F, 1.0f, 0);
    Draw(half);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVDESTALPHA);
    Draw(quad);
    EXPECT_EQ(PixelAt(500, 250), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(10, 10) >> 24, 0xFFu);  // the clear's alpha 0 is not kept either
}

// With alpha in the back buffer, DESTALPHA reads what is there: cleared alpha 0x40 lets a quarter
// of the source through.
TEST_F(GlDeviceTest, DestinationAlphaOfABufferWithAlphaIsWhatWasWritten) {
    IDirect3DDevice9* device = MakeDevice(D3DMULTISAMPLE_NONE, 0, D3DFMT_A8R8G8B8);
    ASSERT_NE(device, nullptr);
    SetScreenSpace();
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    ID3DXMesh* quad =
        MakeMesh(D3DFVF_XYZ | D3DFVF_DIFFUSE, Quad(true, false, 0.5f, 0.8f, 0xFFFF0000, 0xFFFF0000),
                 kQuadClockwise, {0, 0});
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x40000000, 1.0f, 0);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    device->BeginScene();
    quad->DrawSubset(0);
    device->EndScene();
    // Red 0x40 / 255 of 1; alpha 1 * 0x40 / 255 of 1 as well.
    EXPECT_COLOR_NEAR(PixelAt(500, 250), 0x40400000u, kTolerance);
}

TEST_F(Blending, ColourWritesOnlyToTheChannelsEnabled) {
    ID3DXMesh* quad = Solid(0xFFFFFFFF);
    device->SetRenderState(D3DRS_COLORWRITEENABLE,
                           D3DCOLORWRITEENABLE_RED | D3DCOLORWRITEENABLE_BLUE);
    EXPECT_EQ(DrawnCentre(quad), 0xFFFF2FFFu);
    // A clear writes every channel whatever the mask.
    EXPECT_EQ(PixelAt(10, 10), kBackground);
    device->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
    EXPECT_EQ(DrawnCentre(quad), kBackground);
}

// A near quad (z 0.3) drawn first, a far one (z 0.6) second, over the near one's area.
TEST_F(Blending, TheDepthTestFollowsZfuncAndZwriteenable) {
    ID3DXMesh* nearRed = Solid(0xFFFF0000, 0.3f, 0.5f);
    ID3DXMesh* farBlue = Solid(0xFF0000FF, 0.6f, 0.5f);
    struct Case {
        DWORD func;
        BOOL write;
        std::uint32_t expected;  // at the centre, where both are drawn
    } cases[] = {
        {D3DCMP_LESSEQUAL, TRUE, 0xFFFF0000},  // the far one fails
        {D3DCMP_GREATER, TRUE, 0xFF0000FF},    // depth cleared to 0: each passes in turn
        {D3DCMP_ALWAYS, TRUE, 0xFF0000FF},     {D3DCMP_NEVER, TRUE, kBackground},
        {D3DCMP_LESSEQUAL, FALSE, 0xFF0000FF},  // the near one writes no depth
    };
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "func " << c.func << " write " << c.write);
        device->SetRenderState(D3DRS_ZFUNC, c.func);
        device->SetRenderState(D3DRS_ZWRITEENABLE, c.write);
        if (c.func == D3DCMP_GREATER) {
            // Cleared to 0: both pass GREATER, the far one last and greater.
            device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBackground, 0.0f, 0);
        } else {
            Clear();
        }
        device->BeginScene();
        nearRed->DrawSubset(0);
        farBlue->DrawSubset(0);
        device->EndScene();
        ReadBack();
        EXPECT_EQ(PixelAt(500, 250), c.expected);
    }
    // ZENABLE off: drawing order alone.
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_NEVER);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    Clear();
    device->BeginScene();
    farBlue->DrawSubset(0);
    nearRed->DrawSubset(0);
    device->EndScene();
    ReadBack();
    EXPECT_EQ(PixelAt(500, 250), 0xFFFF0000u);
}

}  // namespace
