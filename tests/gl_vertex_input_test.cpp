// What reaches the vertex stage on the OpenGL device, headless: meshes whose layout is a
// declaration (no FVF) drawn lit and textured by the fixed-function stage, several texture
// coordinate sets picked by D3DTSS_TEXCOORDINDEX, the vertex's specular colour, UDEC3 and DEC3N
// elements (whose w Direct3D 9 reads as 1), vs_3_0 vertex texture samplers with their own
// states, and the constant registers of a vertex and a pixel shader kept apart.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/gl_fixture.h"

namespace {

using test::Drawing;
using test::kQuadClockwise;
using test::Pack;

constexpr std::uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00;
constexpr int kTolerance = 2;

// Appends the bytes of `values` to `bytes`.
template <typename T>
void Put(std::vector<std::uint8_t>& bytes, std::initializer_list<T> values) {
    for (const T& v : values) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(&v);
        bytes.insert(bytes.end(), p, p + sizeof v);
    }
}

const float kCorners[4][2] = {{-0.8f, 0.8f}, {0.8f, 0.8f}, {0.8f, -0.8f}, {-0.8f, -0.8f}};
const float kUv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

class VertexInput : public Drawing {
  protected:
    IDirect3DVertexShader9* VertexShader(const char* source, const char* profile) {
        const std::vector<std::uint32_t> code = CompileCode(source, "vs_main", profile);
        IDirect3DVertexShader9* shader = nullptr;
        if (!code.empty()) {
            EXPECT_EQ(
                device->CreateVertexShader(reinterpret_cast<const DWORD*>(code.data()), &shader),
                D3D_OK);
        }
        return Keep(shader);
    }
    IDirect3DPixelShader9* PixelShader(const char* source, const char* profile) {
        const std::vector<std::uint32_t> code = CompileCode(source, "ps_main", profile);
        IDirect3DPixelShader9* shader = nullptr;
        if (!code.empty()) {
            EXPECT_EQ(
                device->CreatePixelShader(reinterpret_cast<const DWORD*>(code.data()), &shader),
                D3D_OK);
        }
        return Keep(shader);
    }
};

// Position, normal, tangent and one texture coordinate set: no FVF describes it. Lit by a
// light straight on (N.L = 1) with diffuse 0.5, the 2 x 1 texture (red, blue) modulated by it.
TEST_F(VertexInput, AMeshWithADeclarationIsLitAndTextured) {
    const std::vector<D3DVERTEXELEMENT9> decl = {
        {0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
        {0, 12, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_NORMAL, 0},
        {0, 24, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_TANGENT, 0},
        {0, 36, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
        D3DDECL_END()};
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 4; ++i) {
        Put<float>(bytes,
                   {kCorners[i][0], kCorners[i][1], 0.5f, 0, 0, -1, 1, 0, 0, kUv[i][0], kUv[i][1]});
    }
    ID3DXMesh* mesh = MakeDeclMesh(decl, 44, bytes, kQuadClockwise);
    EXPECT_EQ(mesh->GetFVF(), 0u);
    device->SetTexture(0, MakeTexture(2, 1, {kRed, kBlue}));
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    D3DMATERIAL9 m{};
    m.Diffuse = {0.5f, 0.5f, 0.5f, 1};
    device->SetMaterial(&m);
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1, 1, 1, 1};
    light.Direction = {0, 0, 1};
    device->SetLight(0, &light);
    device->LightEnable(0, TRUE);
    Draw(mesh);
    EXPECT_COLOR_NEAR(PixelAt(300, 250), 0xFF800000u, kTolerance);
    EXPECT_COLOR_NEAR(PixelAt(700, 250), 0xFF000080u, kTolerance);
}

// Two sets: set 0 reads the red texel, set 1 the blue one; D3DTSS_TEXCOORDINDEX picks.
TEST_F(VertexInput, TexCoordIndexPicksAmongTheVertexsSets) {
    std::vector<float> v;
    for (const auto& c : kCorners) v.insert(v.end(), {c[0], c[1], 0.5f, 0.25f, 0.5f, 0.75f, 0.5f});
    ID3DXMesh* mesh =
        MakeMesh(D3DFVF_XYZ | (2 << D3DFVF_TEXCOUNT_SHIFT), v, kQuadClockwise, {0, 0});
    device->SetTexture(0, MakeTexture(2, 1, {kRed, kBlue}));
    Draw(mesh);
    EXPECT_EQ(PixelAt(500, 250), kRed);
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 1);
    Clear();
    Draw(mesh);
    EXPECT_EQ(PixelAt(500, 250), kBlue);
}

// The vertex's second colour is its specular: added after the stages with SPECULARENABLE, and
// with lighting on the specular material colour by default (D3DMCS_COLOR2).
TEST_F(VertexInput, TheVertexsSpecularColour) {
    std::vector<float> unlit;
    const auto bits = [](D3DCOLOR c) {
        float f;
        std::memcpy(&f, &c, 4);
        return f;
    };
    for (const auto& c : kCorners)
        unlit.insert(unlit.end(), {c[0], c[1], 0.5f, bits(0xFF402000), bits(0xFF204080)});
    ID3DXMesh* mesh =
        MakeMesh(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_SPECULAR, unlit, kQuadClockwise, {0, 0});
    Draw(mesh);
    EXPECT_EQ(PixelAt(500, 250), 0xFF402000u);
    device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    Clear();
    Draw(mesh);
    EXPECT_EQ(PixelAt(500, 250), 0xFF606080u);
    // Lit, straight on with a distant viewer (N.H = 1): the highlight is the vertex's specular
    // (0.25, 0.5, 1) times the light's; the material's own specular is black, its diffuse too.
    std::vector<float> lit;
    for (const auto& c : kCorners)
        lit.insert(lit.end(), {c[0], c[1], 0.5f, 0, 0, -1, bits(0xFF4080FF)});
    ID3DXMesh* litMesh =
        MakeMesh(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_SPECULAR, lit, kQuadClockwise, {0, 0});
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_LOCALVIEWER, FALSE);
    D3DMATERIAL9 m{};
    m.Power = 4;
    device->SetMaterial(&m);
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Specular = {1, 1, 1, 1};
    light.Direction = {0, 0, 1};
    device->SetLight(0, &light);
    device->LightEnable(0, TRUE);
    Clear();
    Draw(litMesh);
    EXPECT_COLOR_NEAR(PixelAt(500, 250), 0xFF4080FFu, kTolerance);
    // From the material instead: none.
    device->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL);
    Clear();
    Draw(litMesh);
    EXPECT_COLOR_NEAR(PixelAt(500, 250), 0xFF000000u, kTolerance);
}

// UDEC3 (1, 2, 3) and DEC3N (511, -511, 0) / 511, both with 0 in their unused two bits: Direct3D
// 9 reads (1, 2, 3, 1) and (1, -1, 0, 1). The shader shows them as
// red = u.w / 2 + u.x / 8 = 0.625, green = n.w / 2 + (n.y + 1) / 4 = 0.5,
// blue = u.z / 4 + n.x / 4 = 1.
TEST_F(VertexInput, TenBitElementsReadOneForW) {
    const std::vector<D3DVERTEXELEMENT9> decl = {
        {0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
        {0, 12, D3DDECLTYPE_UDEC3, 0, D3DDECLUSAGE_TEXCOORD, 0},
        {0, 16, D3DDECLTYPE_DEC3N, 0, D3DDECLUSAGE_TEXCOORD, 1},
        D3DDECL_END()};
    const std::uint32_t udec3 = 1u | 2u << 10 | 3u << 20;
    const std::uint32_t dec3n = 511u | (static_cast<std::uint32_t>(-511) & 0x3FF) << 10;
    std::vector<std::uint8_t> bytes;
    for (const auto& c : kCorners) {
        Put<float>(bytes, {c[0], c[1], 0.5f});
        Put<std::uint32_t>(bytes, {udec3, dec3n});
    }
    ID3DXMesh* mesh = MakeDeclMesh(decl, 20, bytes, kQuadClockwise);
    device->SetVertexShader(VertexShader(R"(
struct Out { float4 p : POSITION; float4 c : COLOR0; };
Out vs_main(float4 p : POSITION, float4 u : TEXCOORD0, float4 n : TEXCOORD1) {
    Out o;
    o.p = float4(p.xyz, 1);
    o.c = float4(u.w * 0.5 + u.x * 0.125, n.w * 0.5 + (n.y + 1) * 0.25, u.z * 0.25 + n.x * 0.25, 1);
    return o;
}
)",
                                         "vs_2_0"));
    device->SetPixelShader(
        PixelShader("float4 ps_main(float4 c : COLOR0) : COLOR0 { return c; }", "ps_2_0"));
    Draw(mesh);
    EXPECT_COLOR_NEAR(PixelAt(500, 250), Pack({1, 0.625, 0.5, 1}), kTolerance);
}

// vs_3_0's s0 is D3DVERTEXTEXTURESAMPLER0: its texture (red, blue) and its address mode, not
// sampler 0's (whose texture is green and whose mode is the other one). u = 1.25: blue where
// clamped, red where wrapped.
TEST_F(VertexInput, VertexTextureSamplersReadTheirOwnTextureAndStates) {
    ID3DXMesh* mesh = MakeMesh(D3DFVF_XYZ, test::Quad(false, false), kQuadClockwise, {0, 0});
    device->SetVertexShader(VertexShader(R"(
sampler2D lookup : register(s0);
struct Out { float4 p : POSITION; float4 c : COLOR0; };
Out vs_main(float4 p : POSITION) {
    Out o;
    o.p = float4(p.xyz, 1);
    o.c = tex2Dlod(lookup, float4(1.25, 0.5, 0, 0));
    return o;
}
)",
                                         "vs_3_0"));
    device->SetPixelShader(
        PixelShader("float4 ps_main(float4 c : COLOR0) : COLOR { return c; }", "ps_3_0"));
    device->SetTexture(0, MakeTexture(1, 1, {kGreen}));
    ASSERT_EQ(device->SetTexture(D3DVERTEXTEXTURESAMPLER0, MakeTexture(2, 1, {kRed, kBlue})),
              D3D_OK);
    device->SetSamplerState(D3DVERTEXTEXTURESAMPLER0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    Draw(mesh);
    EXPECT_EQ(PixelAt(500, 250), kBlue);
    device->SetSamplerState(D3DVERTEXTEXTURESAMPLER0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    Clear();
    Draw(mesh);
    EXPECT_EQ(PixelAt(500, 250), kRed);
}

// Both shaders read register c0: each its own stage's.
TEST_F(VertexInput, EachShaderReadsItsOwnStagesConstants) {
    ID3DXMesh* mesh =
        MakeMesh(D3DFVF_XYZ, test::Quad(false, false, 0.5f, 0.2f), kQuadClockwise, {0, 0});
    device->SetVertexShader(VertexShader(R"(
float4 offset : register(c0);
float4 vs_main(float4 p : POSITION) : POSITION { return float4(p.xy + offset.xy, p.z, 1); }
)",
                                         "vs_2_0"));
    device->SetPixelShader(PixelShader(R"(
float4 tint : register(c0);
float4 ps_main() : COLOR0 { return tint; }
)",
                                       "ps_2_0"));
    const float offset[4] = {0.5f, 0, 0, 0}, tint[4] = {0, 1, 0, 1};
    device->SetVertexShaderConstantF(0, offset, 1);
    device->SetPixelShaderConstantF(0, tint, 1);
    Draw(mesh);
    // The quad (0.2 wide in clip space) moved right by 0.5: centred on pixel 750.
    EXPECT_EQ(PixelAt(750, 250), kGreen);
    EXPECT_EQ(PixelAt(500, 250), test::kBackground);
}

}  // namespace
