// The fixed-function texture stages on the OpenGL device, headless: every colour and alpha
// operation against Direct3D 9's documented formula worked out on the test's own values, the
// argument modifiers, TFACTOR, a cascade of stages, and what a stage reads where its texture is
// missing. The back buffer keeps alpha (A8R8G8B8) so that the alpha the stages make is read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/gl_fixture.h"

namespace {

using test::Channels;
using test::Drawing;
using test::kQuadClockwise;
using test::Pack;
using test::Unpack;

constexpr int kTolerance = 2;

// The texture's texel, the vertex colour and the texture factor.
constexpr std::uint32_t kTexel = 0x804080C0, kDiffuse = 0xC0804020, kFactor = 0x4020FF80;

Channels Map(const Channels& x, const std::function<double(double)>& f) {
    return {f(x.a), f(x.r), f(x.g), f(x.b)};
}
Channels Zip(const Channels& x, const Channels& y, const std::function<double(double, double)>& f) {
    return {f(x.a, y.a), f(x.r, y.r), f(x.g, y.g), f(x.b, y.b)};
}
Channels WithAlpha(Channels c, double a) {
    c.a = a;
    return c;
}

class Stages : public test::Drawing {
  protected:
    Stages() { format_ = D3DFMT_A8R8G8B8; }
    void SetUp() override {
        Drawing::SetUp();
        quad_ = MakeMesh(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1,
                         test::Quad(true, true, 0.5f, 0.8f, kDiffuse, kDiffuse), kQuadClockwise,
                         {0, 0});
        texture_ = MakeTexture(1, 1, {kTexel});
        device->SetRenderState(D3DRS_TEXTUREFACTOR, kFactor);
        device->SetRenderState(D3DRS_ZENABLE, FALSE);
    }
    void Stage(DWORD stage, DWORD colorOp, DWORD c1, DWORD c2, DWORD alphaOp, DWORD a1, DWORD a2) {
        device->SetTextureStageState(stage, D3DTSS_COLOROP, colorOp);
        device->SetTextureStageState(stage, D3DTSS_COLORARG1, c1);
        device->SetTextureStageState(stage, D3DTSS_COLORARG2, c2);
        device->SetTextureStageState(stage, D3DTSS_ALPHAOP, alphaOp);
        device->SetTextureStageState(stage, D3DTSS_ALPHAARG1, a1);
        device->SetTextureStageState(stage, D3DTSS_ALPHAARG2, a2);
    }
    std::uint32_t DrawnCentre() {
        Clear();
        Draw(quad_);
        return PixelAt(500, 250);
    }
    ID3DXMesh* quad_ = nullptr;
    IDirect3DTexture9* texture_ = nullptr;
};

// Each row: stage 0's operation for colour and alpha on (texture, diffuse), with TFACTOR as the
// third argument where the operation takes one, and the result by Direct3D 9's formula.
TEST_F(Stages, EachOperationGivesDirect3D9sFormula) {
    const Channels t = Unpack(kTexel), d = Unpack(kDiffuse), f = Unpack(kFactor);
    const auto sat = [](double v) { return std::clamp(v, 0.0, 1.0); };
    const auto blend = [&](const Channels& x, const Channels& y, double a) {
        return Zip(x, y, [a](double p, double q) { return p * a + q * (1 - a); });
    };
    struct Case {
        const char* name;
        DWORD op;
        Channels expected;
    } cases[] = {
        {"SELECTARG1", D3DTOP_SELECTARG1, t},
        {"SELECTARG2", D3DTOP_SELECTARG2, d},
        {"MODULATE", D3DTOP_MODULATE, Zip(t, d, [](double p, double q) { return p * q; })},
        {"MODULATE2X", D3DTOP_MODULATE2X,
         Zip(t, d, [&](double p, double q) { return sat(2 * p * q); })},
        {"MODULATE4X", D3DTOP_MODULATE4X,
         Zip(t, d, [&](double p, double q) { return sat(4 * p * q); })},
        {"ADD", D3DTOP_ADD, Zip(t, d, [&](double p, double q) { return sat(p + q); })},
        {"ADDSIGNED", D3DTOP_ADDSIGNED,
         Zip(t, d, [&](double p, double q) { return sat(p + q - 0.5); })},
        {"ADDSIGNED2X", D3DTOP_ADDSIGNED2X,
         Zip(t, d, [&](double p, double q) { return sat(2 * (p + q - 0.5)); })},
        {"SUBTRACT", D3DTOP_SUBTRACT, Zip(t, d, [&](double p, double q) { return sat(p - q); })},
        {"ADDSMOOTH", D3DTOP_ADDSMOOTH,
         Zip(t, d, [&](double p, double q) { return sat(p + q - p * q); })},
        {"BLENDDIFFUSEALPHA", D3DTOP_BLENDDIFFUSEALPHA, blend(t, d, d.a)},
        {"BLENDTEXTUREALPHA", D3DTOP_BLENDTEXTUREALPHA, blend(t, d, t.a)},
        {"BLENDFACTORALPHA", D3DTOP_BLENDFACTORALPHA, blend(t, d, f.a)},
        {"BLENDCURRENTALPHA", D3DTOP_BLENDCURRENTALPHA, blend(t, d, d.a)},  // current = diffuse
        {"BLENDTEXTUREALPHAPM", D3DTOP_BLENDTEXTUREALPHAPM,
         Zip(t, d, [&](double p, double q) { return sat(p + q * (1 - t.a)); })},
        {"MULTIPLYADD", D3DTOP_MULTIPLYADD,
         Zip(f, Zip(t, d, [](double p, double q) { return p * q; }),
             [&](double p, double q) { return sat(p + q); })},
        {"LERP",
         D3DTOP_LERP,
         {f.a * t.a + (1 - f.a) * d.a, f.r * t.r + (1 - f.r) * d.r, f.g * t.g + (1 - f.g) * d.g,
          f.b * t.b + (1 - f.b) * d.b}},
    };
    device->SetTexture(0, texture_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Stage(0, c.op, D3DTA_TEXTURE, D3DTA_DIFFUSE, c.op, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        device->SetTextureStageState(0, D3DTSS_COLORARG0, D3DTA_TFACTOR);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG0, D3DTA_TFACTOR);
        EXPECT_COLOR_NEAR(DrawnCentre(), Pack(c.expected), kTolerance);
    }
}

// The operations that mix colour and alpha, valid for colour only (alpha here: the texture's).
TEST_F(Stages, ColourOperationsThatReadAlpha) {
    const Channels t = Unpack(kTexel), d = Unpack(kDiffuse), f = Unpack(kFactor);
    const auto sat = [](double v) { return std::clamp(v, 0.0, 1.0); };
    // DOTPRODUCT3 of (texture, factor): 4 * sum((t - 0.5)(f - 0.5)) over r, g, b, in every
    // channel, alpha too.
    const double dot = sat(
        4 * ((t.r - 0.5) * (f.r - 0.5) + (t.g - 0.5) * (f.g - 0.5) + (t.b - 0.5) * (f.b - 0.5)));
    struct Case {
        const char* name;
        DWORD op, arg2;
        Channels expected;
    } cases[] = {
        {"MODULATEALPHA_ADDCOLOR", D3DTOP_MODULATEALPHA_ADDCOLOR, D3DTA_DIFFUSE,
         WithAlpha(Zip(t, d, [&](double p, double q) { return sat(p + t.a * q); }), t.a)},
        {"MODULATECOLOR_ADDALPHA", D3DTOP_MODULATECOLOR_ADDALPHA, D3DTA_DIFFUSE,
         WithAlpha(Zip(t, d, [&](double p, double q) { return sat(p * q + t.a); }), t.a)},
        {"MODULATEINVALPHA_ADDCOLOR", D3DTOP_MODULATEINVALPHA_ADDCOLOR, D3DTA_DIFFUSE,
         WithAlpha(Zip(t, d, [&](double p, double q) { return sat((1 - t.a) * q + p); }), t.a)},
        {"MODULATEINVCOLOR_ADDALPHA", D3DTOP_MODULATEINVCOLOR_ADDALPHA, D3DTA_DIFFUSE,
         WithAlpha(Zip(t, d, [&](double p, double q) { return sat((1 - p) * q + t.a); }), t.a)},
        {"DOTPRODUCT3", D3DTOP_DOTPRODUCT3, D3DTA_TFACTOR, {dot, dot, dot, dot}},
    };
    device->SetTexture(0, texture_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Stage(0, c.op, D3DTA_TEXTURE, c.arg2, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        EXPECT_COLOR_NEAR(DrawnCentre(), Pack(c.expected), kTolerance);
    }
}

TEST_F(Stages, ArgumentModifiersAndTheTextureFactor) {
    const Channels t = Unpack(kTexel), d = Unpack(kDiffuse), f = Unpack(kFactor);
    const auto complement = [](double v) { return 1 - v; };
    device->SetTexture(0, texture_);
    // TFACTOR complemented for colour; the diffuse alpha complemented for alpha.
    Stage(0, D3DTOP_SELECTARG1, D3DTA_TFACTOR | D3DTA_COMPLEMENT, D3DTA_DIFFUSE, D3DTOP_SELECTARG1,
          D3DTA_DIFFUSE | D3DTA_COMPLEMENT, D3DTA_DIFFUSE);
    EXPECT_COLOR_NEAR(DrawnCentre(), Pack(WithAlpha(Map(f, complement), 1 - d.a)), kTolerance);
    // The texture's alpha in every colour channel, times the factor.
    Stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE | D3DTA_ALPHAREPLICATE, D3DTA_TFACTOR,
          D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR);
    EXPECT_COLOR_NEAR(DrawnCentre(), Pack({f.a, t.a * f.r, t.a * f.g, t.a * f.b}), kTolerance);
}

// Stage 0 modulates the texture by the diffuse colour; stage 1 (no texture of its own, none
// read) adds the factor to that; stage 2 is disabled, and stage 3's settings never run.
TEST_F(Stages, StagesCascadeUntilTheFirstDisabledOne) {
    const Channels t = Unpack(kTexel), d = Unpack(kDiffuse), f = Unpack(kFactor);
    device->SetTexture(0, texture_);
    Stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE,
          D3DTA_DIFFUSE);
    Stage(1, D3DTOP_ADD, D3DTA_TFACTOR, D3DTA_CURRENT, D3DTOP_SELECTARG2, D3DTA_TFACTOR,
          D3DTA_CURRENT);
    Stage(3, D3DTOP_SELECTARG1, D3DTA_TFACTOR, D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_TFACTOR,
          D3DTA_CURRENT);
    const Channels expected = {t.a * d.a, std::min(1.0, t.r * d.r + f.r),
                               std::min(1.0, t.g * d.g + f.g), std::min(1.0, t.b * d.b + f.b)};
    EXPECT_COLOR_NEAR(DrawnCentre(), Pack(expected), kTolerance);
}

// A stage reads the texture coordinate set of its own number until D3DTSS_TEXCOORDINDEX says
// otherwise. Set 0's u picks the 2 x 1 texture's red texel, set 1's its blue one; stage 0 passes
// the diffuse colour on and stage 1 selects its texture.
TEST_F(Stages, EachStageReadsTheCoordinateSetOfItsOwnNumber) {
    const std::vector<float> corners = test::Quad(false, false);
    std::vector<float> v;
    for (std::size_t i = 0; i < corners.size(); i += 3)
        v.insert(v.end(), {corners[i], corners[i + 1], corners[i + 2], 0.25f, 0.5f, 0.75f, 0.5f});
    ID3DXMesh* twoSets =
        MakeMesh(D3DFVF_XYZ | 2 << D3DFVF_TEXCOUNT_SHIFT, v, kQuadClockwise, {0, 0});
    device->SetTexture(1, MakeTexture(2, 1, {0xFFFF0000, 0xFF0000FF}));
    Stage(0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE, D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_DIFFUSE,
          D3DTA_CURRENT);
    Stage(1, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
          D3DTA_CURRENT);
    Clear();
    Draw(twoSets);
    EXPECT_EQ(test::Hex(PixelAt(500, 250)), "0xFF0000FF") << "stage 1 reads set 1";
    device->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 0);
    Clear();
    Draw(twoSets);
    EXPECT_EQ(test::Hex(PixelAt(500, 250)), "0xFFFF0000") << "stage 1 told to read set 0";
}

// Direct3D 9's reference rasterizer defines a missing texture: a stage whose first argument is
// its texture acts as D3DTOP_DISABLE (it and the later stages pass the current colour and alpha
// through), while a texture read as another argument is opaque black. So an untextured material
// keeps its own colour and alpha under the default stage settings.
TEST_F(Stages, AStageWithoutItsTexture) {
    const Channels d = Unpack(kDiffuse), f = Unpack(kFactor);
    // The defaults: MODULATE(texture, current) and SELECTARG1(texture): the diffuse colour and
    // alpha as they are.
    EXPECT_COLOR_NEAR(DrawnCentre(), kDiffuse, kTolerance);
    // The texture as the second argument reads (0, 0, 0, 1).
    Stage(0, D3DTOP_ADD, D3DTA_DIFFUSE, D3DTA_TEXTURE, D3DTOP_MODULATE, D3DTA_DIFFUSE,
          D3DTA_TEXTURE);
    EXPECT_COLOR_NEAR(DrawnCentre(), kDiffuse, kTolerance);
    Stage(0, D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_TEXTURE, D3DTOP_SELECTARG1, D3DTA_DIFFUSE,
          D3DTA_TEXTURE);
    EXPECT_COLOR_NEAR(DrawnCentre(), Pack({d.a, 0, 0, 0}), kTolerance);
    // A stage disabled for want of its texture stops the cascade: stage 2's TFACTOR never adds.
    Stage(0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE, D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_DIFFUSE,
          D3DTA_CURRENT);
    Stage(1, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
          D3DTA_CURRENT);
    Stage(2, D3DTOP_ADD, D3DTA_TFACTOR, D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_TFACTOR,
          D3DTA_CURRENT);
    EXPECT_COLOR_NEAR(DrawnCentre(), kDiffuse, kTolerance);
    // With the texture bound stage 1 runs, and so does stage 2.
    device->SetTexture(1, texture_);
    const Channels t = Unpack(kTexel);
    EXPECT_COLOR_NEAR(DrawnCentre(),
                      Pack({f.a, std::min(1.0, t.r * d.r + f.r), std::min(1.0, t.g * d.g + f.g),
                            std::min(1.0, t.b * d.b + f.b)}),
                      kTolerance);
}

// The case: a lit, untextured material half transparent, blended over the background.
// Lit colour: emissive (1, 0, 0), alpha the diffuse's 0.5; blended 0.5 * colour + 0.5 * 0x2F.
TEST_F(Drawing, ABlendedUntexturedMaterialKeepsItsAlpha) {
    ID3DXMesh* quad = MakeMesh(D3DFVF_XYZ, test::Quad(false, false), kQuadClockwise, {0, 0});
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    D3DMATERIAL9 m{};
    m.Diffuse = {0, 0, 0, 0.5f};
    m.Emissive = {1, 0, 0, 1};
    device->SetMaterial(&m);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    Draw(quad);
    const double background = 0x2F / 255.0;
    EXPECT_COLOR_NEAR(PixelAt(500, 250),
                      Pack({1, 0.5 + 0.5 * background, 0.5 * background, 0.5 * background}),
                      kTolerance);
}

}  // namespace
