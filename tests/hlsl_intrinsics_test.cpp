// Every intrinsic of shader models 2 and 3 against its documented definition: each row is an
// expression whose value the pixel shader writes as a colour at the centre of the screen, and
// the value worked out from the definition (noise, which only texture shaders have, is refused
// in the corpus; texture reads of 1D, 3D and cube samplers compile there).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/gl_fixture.h"

namespace {

struct Row {
    const char* expression;  // a float, float2 or float3 in [0, 1]
    float r, g = 0, b = 0;
};

constexpr float kPi = 3.14159265f;

// uv is (0.5, 0.5) at the centre; `zero` is a constant never set, which reads 0.
const Row kRows[] = {
    {"abs(-0.25)", 0.25f},
    {"acos(0.5) / 3.14159265", 1.0f / 3},
    {"float2(all(float3(1, 0.5, -1)), all(float2(1, 0)))", 1, 0},
    {"float2(any(float2(0, 0)), any(float2(0, 0.1)))", 0, 1},
    {"asin(0.5)", kPi / 6},
    {"atan(1)", kPi / 4},
    {"float2(atan2(0.5, 1), atan2(1, -1) / 3.14159265)", std::atan2(0.5f, 1.0f), 0.75f},
    {"float2(ceil(0.2), ceil(-0.7) + 0.5)", 1, 0.5f},
    {"float2(clamp(1.5, 0.25, 0.75), clamp(0.1, 0.25, 0.75))", 0.75f, 0.25f},
    {"cos(1)", std::cos(1.0f)},
    {"cosh(0.5) / 2", std::cosh(0.5f) / 2},
    {"cross(float3(0, 0, 1), float3(1, 0, 0))", 0, 1, 0},
    {"float3(D3DCOLORtoUBYTE4(float4(0.2, 0.4, 0.6, 1)).xyz) / 255", 0.6f, 0.4f, 0.2f},
    {"float2(ddx(uv.x) * 500, ddy(uv.y) * 250)", 0.5f, 0.5f},
    {"float2(fwidth(uv.x) * 500, fwidth(uv.y) * 250)", 0.5f, 0.5f},
    {"degrees(0.5) / 100", 0.5f * 180 / kPi / 100},
    {"determinant(float3x3(0.5, 0, 0, 0, 0.5, 0, 0, 0, 2))", 0.5f},
    {"determinant(float2x2(0.5, 0.25, 0.125, 0.5))", 0.25f - 0.03125f},
    {"distance(float3(0, 0, 0), float3(0.2, 0.4, 0.4))", 0.6f},
    {"dot(float3(0.5, 0.5, 0.5), float3(0.2, 0.4, 0.6))", 0.6f},
    {"dst(float4(0, 0.5, 0.25, 0), float4(0, 0.8, 0, 0.75)).yzw", 0.4f, 0.25f, 0.75f},
    {"exp(-1)", std::exp(-1.0f)},
    {"exp2(-2)", 0.25f},
    {"-faceforward(float3(0.5, 0, 0), float3(0, 0, 1), float3(0, 0, 1))", 0.5f, 0, 0},
    {"faceforward(float3(0.5, 0, 0), float3(0, 0, 1), float3(0, 0, -1))", 0.5f, 0, 0},
    {"floor(1.75) - 0.5", 0.5f},
    {"float2(fmod(-1.25, 1) + 0.5, fmod(1.25, -1))", 0.25f, 0.25f},
    {"float2(frac(1.75), frac(-1.25))", 0.75f, 0.75f},
    {"isfinite(1.0) ? 1.0 : 0.0", 1},
    {"float2(isinf(1 / zero), isnan(zero / zero))", 1, 1},
    {"ldexp(0.75, -1)", 0.375f},
    {"length(float2(0.3, 0.4))", 0.5f},
    {"lerp(0.25, 0.75, 0.25)", 0.375f},
    {"lit(0.6, 0.5, 3).yzw", 0.6f, 0.125f, 1},
    {"lit(-0.6, 0.5, 3).xyz", 1, 0, 0},
    {"log(2.718281828) * 0.5", 0.5f},
    {"log10(1000) * 0.25", 0.75f},
    {"log2(8) * 0.25", 0.75f},
    {"float2(max(0.25, 0.5), min(0.25, 0.5))", 0.5f, 0.25f},
    {"mul(float2(0.5, 0.25), float2x2(1, 0, 0.5, 1))", 0.625f, 0.25f},
    {"mul(float2x2(1, 0, 0.5, 1), float2(0.5, 0.25))", 0.5f, 0.5f},
    {"float2(mul(2, 0.25), mul(float3(0.5, 0.5, 0), float3(0.5, 0.5, 1)))", 0.5f, 0.5f},
    {"mul(float3(0.5, 0.25, 1), float3x3(1, 0, 0, 0, 1, 0, 0.25, 0.5, 0.75))", 0.75f, 0.75f, 0.75f},
    {"normalize(float3(0, 3, 4))", 0, 0.6f, 0.8f},
    {"pow(0.5, 3)", 0.125f},
    {"radians(90) / 3.14159265", 0.5f},
    {"reflect(float3(0.5, -0.5, 0), float3(0, 1, 0))", 0.5f, 0.5f, 0},
    // eta i - (eta dot(n, i) + sqrt(k)) n with k = 1 - eta^2 (1 - dot(n, i)^2) = 0.91: y is
    // -0.4 - (-0.4 + sqrt(0.91)).
    {"refract(float3(0.6, -0.8, 0), float3(0, 1, 0), 0.5).xy * float2(1, -0.5)", 0.3f,
     std::sqrt(0.91f) * 0.5f},
    {"float2(round(0.6), round(0.4))", 1, 0},
    {"rsqrt(0.25) * 0.25", 0.5f},
    {"float2(saturate(-0.5), saturate(0.5))", 0, 0.5f},
    {"float2(0.5 + 0.5 * sign(-0.1), 0.5 + sign(0))", 0, 0.5f},
    {"sin(0.5)", std::sin(0.5f)},
    {"sinh(0.5)", std::sinh(0.5f)},
    {"smoothstep(0.2, 0.6, 0.3)", 0.15625f},
    {"sqrt(0.36)", 0.6f},
    {"float2(step(0.5, 0.6), step(0.5, 0.4))", 1, 0},
    {"tan(0.5)", std::tan(0.5f)},
    {"tanh(0.5)", std::tanh(0.5f)},
    {"transpose(float2x2(0.1, 0.2, 0.3, 0.4))[0]", 0.1f, 0.3f},
    {"float2(trunc(1.7) - 0.5, trunc(-1.7) + 1.5)", 0.5f, 0.5f},
    // A 2 x 2 texture of red, green, blue and white, point sampled.
    {"tex2D(s, float2(0.25, 0.25)).rgb", 1, 0, 0},
    {"tex2Dbias(s, float4(0.75, 0.25, 0, 0)).rgb", 0, 1, 0},
    {"tex2Dlod(s, float4(0.25, 0.75, 0, 0)).rgb", 0, 0, 1},
    {"tex2Dgrad(s, float2(0.75, 0.75), float2(0, 0), float2(0, 0)).rgb", 1, 1, 1},
    {"tex2Dproj(s, float4(0.375, 0.125, 0, 0.5)).rgb", 0, 1, 0},
};

// Shaders whose statements the expression form cannot hold.
struct Statements {
    const char* body;  // ends by returning a float3 in [0, 1]
    float r, g, b;
};

const Statements kStatements[] = {
    {"float w; float f = modf(1.25, w); return float3(f, w * 0.5, 0);", 0.25f, 0.5f, 0},
    {"float e; float m = frexp(0.375, e); return float3(m, -e * 0.5, 0);", 0.75f, 0.5f, 0},
    {"float s, c; sincos(0.5, s, c); return float3(s, c, 0);", std::sin(0.5f), std::cos(0.5f), 0},
    {"clip(uv.x - 0.75); return float3(1, 1, 1);", 0x2F / 255.0f, 0x2F / 255.0f, 0x2F / 255.0f},
    {"clip(0.25 - uv.x); return float3(1, 1, 1);", 0x2F / 255.0f, 0x2F / 255.0f, 0x2F / 255.0f},
    {"clip(uv.x - 0.25); return float3(1, 0, 1);", 1, 0, 1},
};

std::uint32_t Colour(float r, float g, float b) {
    const auto c = [](float v) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    return 0xFF000000u | (c(r) << 16) | (c(g) << 8) | c(b);
}

class Intrinsics : public test::Drawing {
  protected:
    std::uint32_t Render(const std::string& body) {
        const std::string source =
            "sampler2D s;\nfloat zero;\n"
            "float3 Widen(float x) { return float3(x, 0, 0); }\n"
            "float3 Widen(float2 x) { return float3(x, 0); }\n"
            "float3 Widen(float3 x) { return x; }\n"
            "float3 value(float2 uv) {\n" +
            body +
            "\n}\nfloat4 main(float2 uv : TEXCOORD0) : COLOR { return float4(value(uv), 1); }\n";
        const std::vector<std::uint32_t> code = CompileCode(source.c_str(), "main", "ps_3_0");
        if (code.empty()) return 0;
        IDirect3DPixelShader9* shader = nullptr;
        EXPECT_EQ(device->CreatePixelShader(code.data(), &shader), D3D_OK);
        if (!shader) return 0;
        device->SetPixelShader(shader);
        Clear();
        Draw(quad_);
        device->SetPixelShader(nullptr);
        shader->Release();
        return PixelAt(500, 250);
    }

    // The fixture keeps (and releases) what it makes.
    void SetUp() override {
        test::Drawing::SetUp();
        quad_ = MakeMesh(D3DFVF_XYZ | D3DFVF_TEX1, test::Quad(false, true, 0.5f, 1.0f),
                         test::kQuadClockwise, {0, 0});
        texture_ = MakeTexture(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});
        device->SetTexture(0, texture_);
    }
    ID3DXMesh* quad_ = nullptr;
    IDirect3DTexture9* texture_ = nullptr;
};

TEST_F(Intrinsics, EachGivesWhatItsDefinitionGives) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.expression);
        EXPECT_COLOR_NEAR(Render(std::string("return Widen(") + row.expression + ");"),
                          Colour(row.r, row.g, row.b), 2);
    }
}

TEST_F(Intrinsics, ThoseWithOutParametersAndClipGiveWhatTheirDefinitionsGive) {
    for (const Statements& s : kStatements) {
        SCOPED_TRACE(s.body);
        EXPECT_COLOR_NEAR(Render(s.body), Colour(s.r, s.g, s.b), 2);
    }
}

}  // namespace
