// The OpenGL device, headless on llvmpipe: what it draws, pixel by pixel, against what
// Direct3D 9 draws for the same calls.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/d3dx/device_services.h"
#include "tests/gl_fixture.h"
#include "tests/test_files.h"

namespace {

using test::GlDeviceTest;

using test::Drawing;
using test::kBackground;
using test::kQuadClockwise;
using test::kQuadCounterClockwise;
using test::Quad;

constexpr int kTolerance = 3;

TEST_F(Drawing, TheClearColourFillsTheWholeBackBuffer) {
    for (auto [x, y] : {std::pair{0, 0}, {999, 0}, {0, 499}, {999, 499}, {500, 250}}) {
        EXPECT_EQ(PixelAt(x, y), kBackground) << x << "," << y;
    }
}

TEST_F(Drawing, ATexturedMeshWithLightingOffShowsTheTexturesColours) {
    // Left half red, right half blue, in a 2 x 1 texture sampled at its texel centres.
    IDirect3DTexture9* texture = MakeTexture(2, 1, {0xFFFF0000, 0xFF0000FF});
    device->SetTexture(0, texture);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    D3DMATERIAL9 dark{};
    dark.Diffuse = {0.1f, 0.1f, 0.1f, 1};
    device->SetMaterial(&dark);  // no effect without lighting
    Draw(MakeMesh(D3DFVF_XYZ | D3DFVF_TEX1, Quad(false, true), kQuadClockwise, {0, 0}));
    EXPECT_COLOR_NEAR(PixelAt(300, 250), 0xFFFF0000u, kTolerance);
    EXPECT_COLOR_NEAR(PixelAt(700, 250), 0xFF0000FFu, kTolerance);
    EXPECT_EQ(PixelAt(20, 20), kBackground);
}

TEST_F(Drawing, AMeshWithVertexColoursShowsThem) {
    // Red along the top edge, green along the bottom, with Gouraud shading between.
    Draw(MakeMesh(D3DFVF_XYZ | D3DFVF_DIFFUSE, Quad(true, false), kQuadClockwise, {0, 0}));
    EXPECT_COLOR_NEAR(PixelAt(500, 60), 0xFFF90600u, 8);
    EXPECT_COLOR_NEAR(PixelAt(500, 440), 0xFF06F900u, 8);
    EXPECT_COLOR_NEAR(PixelAt(500, 250), 0xFF808000u, 4);
}

TEST_F(Drawing, LightingWithAPointLightAndAMaterialGivesTheExpectedShade) {
    // A quad facing the light (normal toward -z, the viewer), the light 2 units in front of its
    // centre. Lighting is per vertex: each corner is sqrt(0.8^2 + 0.8^2 + 2^2) from the light,
    // with N.L = 2 / d and attenuation 1 / (1 + 0.25 d), and the four corners agree.
    std::vector<float> v;
    const float p[4][2] = {{-0.8f, 0.8f}, {0.8f, 0.8f}, {0.8f, -0.8f}, {-0.8f, -0.8f}};
    for (auto& q : p) v.insert(v.end(), {q[0], q[1], 0.5f, 0, 0, -1});
    ID3DXMesh* mesh = MakeMesh(D3DFVF_XYZ | D3DFVF_NORMAL, v, kQuadClockwise, {0, 0});
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_AMBIENT, 0xFF202020);  // adds 0.125 * ambient colour
    D3DMATERIAL9 m{};
    m.Diffuse = {0.9f, 0.6f, 0.3f, 1};
    m.Ambient = {1, 1, 1, 1};
    device->SetMaterial(&m);
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = {1, 1, 1, 1};
    light.Position = {0, 0, -1.5f};
    light.Range = 10;
    light.Attenuation0 = 1;
    light.Attenuation1 = 0.25f;
    device->SetLight(0, &light);
    device->LightEnable(0, TRUE);
    Draw(mesh);
    const auto expectedAt = [](float distance) {
        const float d = std::sqrt(0.64f + 0.64f + distance * distance);
        const float shade = (distance / d) / (1.0f + 0.25f * d);
        const auto channel = [&](float diffuse) {
            return static_cast<std::uint32_t>(
                std::lround((0x20 / 255.0f + diffuse * shade) * 255.0f));
        };
        return 0xFF000000u | channel(0.9f) << 16 | channel(0.6f) << 8 | channel(0.3f);
    };
    EXPECT_COLOR_NEAR(PixelAt(500, 250), expectedAt(2.0f), kTolerance);
    EXPECT_COLOR_NEAR(PixelAt(120, 60), expectedAt(2.0f), kTolerance);
    // Moved to half a unit from the quad: nearer, but at a steeper angle to the corners.
    light.Position = {0, 0, 0};
    device->SetLight(0, &light);
    Clear();
    Draw(mesh);
    EXPECT_COLOR_NEAR(PixelAt(500, 250), expectedAt(0.5f), kTolerance);
}

TEST_F(Drawing, CullingFollowsDirect3DsWindingAndZeroCullsNothing) {
    ID3DXMesh* front = MakeMesh(D3DFVF_XYZ, Quad(false, false), kQuadClockwise, {0, 0});
    ID3DXMesh* back = MakeMesh(D3DFVF_XYZ, Quad(false, false), kQuadCounterClockwise, {0, 0});
    struct Case {
        DWORD cull;
        bool frontShows, backShows;
    } cases[] = {{D3DCULL_CCW, true, false},
                 {D3DCULL_CW, false, true},
                 {D3DCULL_NONE, true, true},
                 {0, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cull);
        device->SetRenderState(D3DRS_CULLMODE, c.cull);
        Clear();
        Draw(front);
        EXPECT_EQ(PixelAt(500, 250) == kBackground, !c.frontShows);
        Clear();
        Draw(back);
        EXPECT_EQ(PixelAt(500, 250) == kBackground, !c.backShows);
    }
}

TEST_F(Drawing, TheNearerOfTwoOverlappingMeshesWins) {
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    ID3DXMesh* nearRed =
        MakeMesh(D3DFVF_XYZ | D3DFVF_DIFFUSE, Quad(true, false, 0.3f, 0.5f, 0xFFFF0000, 0xFFFF0000),
                 kQuadClockwise, {0, 0});
    ID3DXMesh* farBlue =
        MakeMesh(D3DFVF_XYZ | D3DFVF_DIFFUSE, Quad(true, false, 0.6f, 0.8f, 0xFF0000FF, 0xFF0000FF),
                 kQuadClockwise, {0, 0});
    device->BeginScene();
    nearRed->DrawSubset(0);
    farBlue->DrawSubset(0);  // drawn later, but behind
    device->EndScene();
    EXPECT_COLOR_NEAR(PixelAt(500, 250), 0xFFFF0000u, kTolerance);
    EXPECT_COLOR_NEAR(PixelAt(150, 250), 0xFF0000FFu, kTolerance);
}

TEST_F(Drawing, WireframeDrawsTheEdgesAndLeavesTheInteriorClear) {
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    Draw(MakeMesh(D3DFVF_XYZ, Quad(false, false), kQuadClockwise, {0, 0}));
    // The interior of each triangle is clear; the quad's top edge is drawn.
    EXPECT_EQ(PixelAt(400, 150), kBackground);
    EXPECT_EQ(PixelAt(600, 350), kBackground);
    int white = 0;
    for (int y = 45; y <= 55; ++y) white += PixelAt(500, y) == 0xFFFFFFFFu;
    EXPECT_GE(white, 1);
}

TEST_F(Drawing, AVertexLandsAtThePixelWorkedOutByHand) {
    // A small square around the world point (1, 0.5, 2), moved there by the world matrix, seen
    // from (0, 0, -3) looking at the origin, with the program's projection.
    std::vector<float> v;
    const float s = 0.01f;
    const float p[4][2] = {{-s, s}, {s, s}, {s, -s}, {-s, -s}};
    for (auto& q : p) v.insert(v.end(), {q[0], q[1], 0.0f});
    ID3DXMesh* mesh = MakeMesh(D3DFVF_XYZ, v, kQuadClockwise, {0, 0});
    Matrix4 world, view, projection;
    D3DXMatrixTranslation(&world, 1.0f, 0.5f, 2.0f);
    const Vec3 eye{0, 0, -3}, at{0, 0, 0}, up{0, 1, 0};
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 2.0f, 1.0f, 500.0f);
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    Draw(mesh);
    // View space (1, 0.5, 5); x_ndc = 1 * 1.2071 / 5, y_ndc = 0.5 * 2.4142 / 5.
    const double xNdc = 1.0 / std::tan(0.7853982 / 2) / 2.0 / 5.0,
                 yNdc = 0.5 / std::tan(0.7853982 / 2) / 5.0;
    const int px = static_cast<int>(std::lround((xNdc + 1) * 500.0));
    const int py = static_cast<int>(std::lround((1 - yNdc) * 250.0));
    EXPECT_EQ(PixelAt(px, py), 0xFFFFFFFFu) << px << "," << py;
    EXPECT_EQ(PixelAt(px + 4, py), kBackground);
    EXPECT_EQ(PixelAt(px, py - 4), kBackground);
    EXPECT_EQ(PixelAt(1000 - px, py), kBackground);  // not mirrored
    EXPECT_EQ(PixelAt(px, 500 - py), kBackground);   // not upside down
}

TEST_F(Drawing, SettingTheSameStateTwiceReachesOpenGLOnce) {
    ID3DXMesh* mesh = MakeMesh(D3DFVF_XYZ, Quad(false, false), kQuadClockwise, {0, 0});
    Draw(mesh);
    const gl::GlCallCounts before = device_->Cache().counts;
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    Draw(mesh);
    Draw(mesh);
    const gl::GlCallCounts after = device_->Cache().counts;
    EXPECT_EQ(after.cullFace - before.cullFace, 1u);
    EXPECT_EQ(after.useProgram - before.useProgram, 0u);
    EXPECT_EQ(after.bindVertexArray - before.bindVertexArray, 0u);
    EXPECT_EQ(after.draw - before.draw, 2u);
    // Unchanged transforms are not uploaded again.
    EXPECT_EQ(after.uniform - before.uniform, 0u);
}

}  // namespace

namespace {

class PixelShaders : public Drawing {
  protected:
    IDirect3DPixelShader9* Compile(const char* source) {
        test::WriteFile(dir_.Path("shader.psh"), source);
        ID3DXBuffer* code = nullptr;
        ID3DXBuffer* errors = nullptr;
        const HRESULT hr =
            D3DXCompileShaderFromFileA(dir_.Path("shader.psh").c_str(), nullptr, nullptr, "ps_main",
                                       "ps_2_0", 0, &code, &errors, nullptr);
        EXPECT_EQ(hr, D3D_OK) << (errors ? static_cast<const char*>(errors->GetBufferPointer())
                                         : "");
        if (FAILED(hr)) return nullptr;
        IDirect3DPixelShader9* shader = nullptr;
        EXPECT_EQ(
            device->CreatePixelShader(static_cast<const DWORD*>(code->GetBufferPointer()), &shader),
            D3D_OK);
        code->Release();
        return Keep(shader);
    }
    test::TempDir dir_;
};

TEST_F(PixelShaders, AConstantColourShaderColoursTheMesh) {
    device->SetPixelShader(Compile("float4 ps_main() : COLOR0 { return float4(0, 1, 0, 1); }"));
    Draw(MakeMesh(D3DFVF_XYZ, Quad(false, false), kQuadClockwise, {0, 0}));
    EXPECT_EQ(PixelAt(500, 250), 0xFF00FF00u);
    EXPECT_EQ(PixelAt(20, 20), kBackground);
}

TEST_F(PixelShaders, SamplerRegistersReadTheirStagesTextures) {
    device->SetTexture(0, MakeTexture(2, 1, {0xFFFF0000, 0xFF0000FF}));
    device->SetTexture(1, MakeTexture(1, 1, {0xFF00FF00}));
    ID3DXMesh* quad = MakeMesh(D3DFVF_XYZ | D3DFVF_TEX1, Quad(false, true), kQuadClockwise, {0, 0});
    device->SetPixelShader(Compile(R"(
sampler2D first : register(s0);
float4 ps_main(float2 uv : TEXCOORD0) : COLOR0 { return tex2D(first, uv); }
)"));
    Draw(quad);
    EXPECT_COLOR_NEAR(PixelAt(300, 250), 0xFFFF0000u, kTolerance);
    EXPECT_COLOR_NEAR(PixelAt(700, 250), 0xFF0000FFu, kTolerance);
    device->SetPixelShader(Compile(R"(
sampler2D second : register(s1);
float4 ps_main(float2 uv : TEXCOORD0) : COLOR0 { return tex2D(second, uv); }
)"));
    Clear();
    Draw(quad);
    EXPECT_COLOR_NEAR(PixelAt(300, 250), 0xFF00FF00u, kTolerance);
}

TEST_F(PixelShaders, InputsMatchBySemanticWhateverTheirOrder) {
    ID3DXMesh* quad = MakeMesh(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1, Quad(true, true),
                               kQuadClockwise, {0, 0});
    // The colour second, after the coordinates: still the vertex colour.
    device->SetPixelShader(Compile(R"(
float4 ps_main(float2 uv : TEXCOORD0, float4 colour : COLOR0) : COLOR0 { return colour; }
)"));
    Draw(quad);
    EXPECT_COLOR_NEAR(PixelAt(500, 60), 0xFFF90600u, 8);
    // And the coordinates, read second: u grows to the right, v downward.
    device->SetPixelShader(Compile(R"(
struct In { float4 colour : COLOR0; float2 uv : TEXCOORD0; };
float4 ps_main(In i) : COLOR0 { return float4(i.uv.x, i.uv.y, 0, 1); }
)"));
    Clear();
    Draw(quad);
    EXPECT_COLOR_NEAR(PixelAt(140, 70), 0xFF0D0D00u, 8);
    EXPECT_COLOR_NEAR(PixelAt(860, 430), 0xFFF2F200u, 8);
}

TEST_F(PixelShaders, ConstantsNeverSetReadZeroWhateverTheirInitialiser) {
    device->SetPixelShader(Compile(R"(
float4 brighten = float4(1, 1, 1, 1);
float4 ps_main() : COLOR0 { return float4(0, 0, 1, 1) + brighten; }
)"));
    Draw(MakeMesh(D3DFVF_XYZ, Quad(false, false), kQuadClockwise, {0, 0}));
    EXPECT_EQ(PixelAt(500, 250), 0xFF0000FFu);
}

TEST_F(PixelShaders, ASwitchedOffShaderFallsBackToTheFixedFunctionResult) {
    device->SetTexture(0, MakeTexture(2, 1, {0xFFFF0000, 0xFF0000FF}));
    ID3DXMesh* quad = MakeMesh(D3DFVF_XYZ | D3DFVF_TEX1, Quad(false, true), kQuadClockwise, {0, 0});
    device->SetPixelShader(Compile("float4 ps_main() : COLOR0 { return float4(0, 1, 0, 1); }"));
    Draw(quad);
    EXPECT_EQ(PixelAt(300, 250), 0xFF00FF00u);
    device->SetPixelShader(nullptr);
    Clear();
    Draw(quad);
    EXPECT_COLOR_NEAR(PixelAt(300, 250), 0xFFFF0000u, kTolerance);
}

TEST_F(Drawing, TheOverlayLinesWriteInsideTheirRowsAndNothingOutsideTheRectangle) {
    ID3DXFont* font = nullptr;
    ASSERT_EQ(D3DXCreateFontA(device, 14, 0, FW_NORMAL, 0, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLEARTYPE_QUALITY, 0, "Verdana", &font),
              D3D_OK);
    Keep(font);
    RECT rect{0, 0, 1000, 500};
    device->BeginScene();
    EXPECT_EQ(font->DrawTextA(nullptr, "rendering in process...", -1, &rect, DT_TOP | DT_LEFT,
                              0xFFFFFF00),
              14);
    rect.top += 14;
    font->DrawTextA(nullptr, "SPACE: show/hide text; RETURN: wireframe", -1, &rect, 0, 0xFFFFFF00);
    rect.top += 14;
    font->DrawTextA(nullptr, "dbg info empty", -1, &rect, 0, 0xFFFF0000);
    // Clipped: a long line in a small rectangle stays inside it.
    RECT small{600, 200, 660, 214};
    font->DrawTextA(nullptr, "WWWWWWWWWWWWWWWWWWWWWWWWW", -1, &small, 0, 0xFFFFFFFF);
    device->EndScene();
    const auto count = [&](int top, int bottom, int left, int right, auto test) {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) n += test(PixelAt(x, y));
        }
        return n;
    };
    const auto yellow = [](std::uint32_t p) {
        return (p & 0xFFFF00) > 0xA0A000 && (p & 0xFF) < 0x60 && ((p >> 16) & 0xFF) > 0xA0 &&
               ((p >> 8) & 0xFF) > 0xA0;
    };
    const auto red = [](std::uint32_t p) {
        return ((p >> 16) & 0xFF) > 0xA0 && ((p >> 8) & 0xFF) < 0x60;
    };
    EXPECT_GT(count(0, 14, 0, 200, yellow), 20);
    EXPECT_GT(count(14, 28, 0, 300, yellow), 20);
    EXPECT_EQ(count(28, 42, 0, 300, yellow), 0);
    EXPECT_GT(count(28, 42, 0, 120, red), 20);
    EXPECT_EQ(count(42, 60, 0, 300, red), 0);
    const auto lit = [](std::uint32_t p) { return p != kBackground; };
    EXPECT_GT(count(200, 214, 600, 660, lit), 20);
    EXPECT_EQ(count(195, 220, 660, 800, lit), 0);
    EXPECT_EQ(count(214, 230, 590, 700, lit), 0);
}

}  // namespace

namespace {

TEST_F(Drawing, DxtTexturesAreDrawnWithTheirDecodedColours) {
    // One 4 x 4 DXT1 block, all red, as the whole chain would hold it at level 0.
    d3dx::TextureData data;
    data.format = D3DFMT_DXT1;
    data.width = data.height = 4;
    data.levels.push_back({0x00, 0xF8, 0x00, 0xF8, 0, 0, 0, 0});
    data.levels.push_back({0x00, 0xF8, 0x00, 0xF8, 0, 0, 0, 0});
    data.levels.push_back({0x00, 0xF8, 0x00, 0xF8, 0, 0, 0, 0});
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTextureFromData(std::move(data), &texture), D3D_OK);
    Keep(texture);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_DXT1);
    EXPECT_EQ(texture->GetLevelCount(), 3u);
    device->SetTexture(0, texture);
    Draw(MakeMesh(D3DFVF_XYZ | D3DFVF_TEX1, Quad(false, true), kQuadClockwise, {0, 0}));
    EXPECT_COLOR_NEAR(PixelAt(500, 250), 0xFFFF0000u, kTolerance);
}

}  // namespace

namespace {

TEST_F(PixelShaders, ABoundVertexShaderPlacesTheVerticesItself) {
    test::WriteFile(dir_.Path("shader.vsh"), R"(
struct Out { float4 position : POSITION; float4 colour : COLOR0; };
Out vs_main(float4 p : POSITION) {
    Out o;
    o.position = float4(p.xy * 0.5, p.z, 1.0);  // half size, whatever the transforms
    o.colour = float4(1, 0, 1, 1);
    return o;
}
)");
    ID3DXBuffer* code = nullptr;
    ASSERT_EQ(D3DXCompileShaderFromFileA(dir_.Path("shader.vsh").c_str(), nullptr, nullptr,
                                         "vs_main", "vs_2_0", 0, &code, nullptr, nullptr),
              D3D_OK);
    IDirect3DVertexShader9* shader = nullptr;
    ASSERT_EQ(
        device->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()), &shader),
        D3D_OK);
    code->Release();
    device->SetVertexShader(Keep(shader));
    device->SetPixelShader(Compile("float4 ps_main(float4 c : COLOR0) : COLOR0 { return c; }"));
    Draw(MakeMesh(D3DFVF_XYZ, Quad(false, false), kQuadClockwise, {0, 0}));
    EXPECT_EQ(PixelAt(500, 250), 0xFFFF00FFu);
    EXPECT_EQ(PixelAt(200, 250), kBackground);  // inside the quad's full size, outside its half
}

}  // namespace

namespace {

TEST_F(GlDeviceTest, CreationAndScenesGiveDirect3DsResults) {
    EXPECT_EQ(Direct3DCreate9(31), nullptr);
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DPRESENT_PARAMETERS pp{};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(&pp);
    // No window: no device, and the pointer cleared.
    EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &device),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device, nullptr);
    pp.hDeviceWindow = window_;
    EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_, 0, &pp, &device),
              D3DERR_INVALIDCALL);  // no vertex processing named
    d3d->Release();

    IDirect3DDevice9* made = MakeDevice();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(made->BeginScene(), D3D_OK);
    EXPECT_EQ(made->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(made->EndScene(), D3D_OK);
    EXPECT_EQ(made->Clear(0, nullptr, 0, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(made->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0),
              D3DERR_INVALIDCALL);  // D16 has none
    EXPECT_EQ(made->SetTransform(D3DTS_WORLD, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(made->SetLight(0, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(made->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    // The program's non-maskable type with quality 2 asks for 8 samples, as many as the driver has.
    device_->Release();
    device_ = nullptr;
    MakeDevice(D3DMULTISAMPLE_NONMASKABLE, 2);
    GLint maxSamples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
    EXPECT_EQ(device_->SampleCount(), std::min(8, static_cast<int>(maxSamples)));
}

}  // namespace
