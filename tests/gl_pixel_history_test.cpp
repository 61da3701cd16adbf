// Pixel history on the OpenGL device, headless: on a frame of known overdraw (a quad, one behind
// it that fails the depth test, one blended over both) each probed pixel's clears and draws in
// order, with the depth test's verdicts and the colours exact; the inputs and output of a pixel
// shader whose inputs are known at the pixel; and a probe that leaves the frame and the device's
// state as they were.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/gl_fixture.h"

namespace {

using test::Drawing;
using test::kBackground;
using test::kQuadClockwise;
using test::PixelQuad;
using Depth = gl::PixelEvent::Depth;

constexpr D3DCOLOR kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kHalfBlue = 0x800000FF;
constexpr D3DCOLOR kYellow = 0xFFFFFF00, kCyan = 0xFF00FFFF;

class PixelHistory : public Drawing {
  protected:
    void SetUp() override {
        Drawing::SetUp();
        device_->RecordFrames(true);
        red_ = Rect(100, 200, 0.5f, kRed);
        green_ = Rect(150, 250, 0.7f, kGreen);
        blue_ = Rect(180, 300, 0.3f, kHalfBlue);
        // One subset of two layers over one place, the near one first: its depth writes keep
        // the far one out.
        std::vector<float> layers =
            PixelQuad(320, 100, 380, 200, true, false, 0.2f, kYellow, kYellow);
        const std::vector<float> far =
            PixelQuad(320, 100, 380, 200, true, false, 0.6f, kCyan, kCyan);
        layers.insert(layers.end(), far.begin(), far.end());
        std::vector<std::uint32_t> faces = kQuadClockwise;
        for (std::uint32_t i : kQuadClockwise) faces.push_back(i + 4);
        layers_ = MakeMesh(D3DFVF_XYZ | D3DFVF_DIFFUSE, layers, faces, {0, 0, 0, 0});
    }
    ID3DXMesh* Rect(int x0, int x1, float z, D3DCOLOR colour) {
        return MakeMesh(D3DFVF_XYZ | D3DFVF_DIFFUSE,
                        PixelQuad(x0, 100, x1, 200, true, false, z, colour, colour), kQuadClockwise,
                        {0, 0});
    }
    // Red at depth 0.5; green behind it at 0.7, further right; half-transparent blue in front
    // at 0.3, further right still, blended over what is there.
    void DrawOverdraw() {
        Clear();
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        Draw(red_);
        Draw(green_);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        Draw(blue_);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        Draw(layers_);
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }
    ID3DXMesh *red_ = nullptr, *green_ = nullptr, *blue_ = nullptr, *layers_ = nullptr;
};

// 0x80 alpha is 128/255: blue at that weight over red or green, the back buffer's alpha kept.
constexpr std::uint32_t kBlueOverRed = 0xFF7F0080, kBlueOverGreen = 0xFF007F80;

struct Step {
    int draw;  // 0: the clear
    Depth depth;
    bool produced;
    std::uint32_t colour, after;
};

TEST_F(PixelHistory, EachPixelListsItsDrawsInOrderWithTheirVerdictsAndColours) {
    DrawOverdraw();
    struct Case {
        int x, y;
        std::vector<Step> steps;
        int lastDraw;  // 0: no draw wrote it
    } cases[] = {
        {50, 50, {{0, Depth::Off, false, 0, kBackground}}, 0},
        {120,
         150,
         {{0, Depth::Off, false, 0, kBackground}, {1, Depth::Passed, true, kRed, kRed}},
         1},
        {190,
         150,
         {{0, Depth::Off, false, 0, kBackground},
          {1, Depth::Passed, true, kRed, kRed},
          {2, Depth::Failed, false, 0, kRed},
          {3, Depth::Passed, true, kHalfBlue, kBlueOverRed}},
         3},
        {170,
         150,
         {{0, Depth::Off, false, 0, kBackground},
          {1, Depth::Passed, true, kRed, kRed},
          {2, Depth::Failed, false, 0, kRed}},
         1},
        {240,
         150,
         {{0, Depth::Off, false, 0, kBackground},
          {2, Depth::Passed, true, kGreen, kGreen},
          {3, Depth::Passed, true, kHalfBlue, kBlueOverGreen}},
         3},
        {350,
         150,
         {{0, Depth::Off, false, 0, kBackground}, {4, Depth::Passed, true, kYellow, kYellow}},
         4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pixel " << c.x << ", " << c.y);
        const gl::PixelHistory h = device_->ProbePixel(c.x, c.y);
        ASSERT_TRUE(h.ok) << h.why;
        EXPECT_EQ(h.frame, PixelAt(c.x, c.y));
        EXPECT_EQ(h.replayed, h.frame) << "without multisampling the replay ends as the frame";
        ASSERT_EQ(h.events.size(), c.steps.size()) << gl::FormatPixelHistory(h);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "step " << i);
            const gl::PixelEvent& e = h.events[i];
            const Step& s = c.steps[i];
            EXPECT_EQ(e.draw, s.draw);
            EXPECT_EQ(e.depth, s.depth);
            EXPECT_EQ(e.produced, s.produced);
            if (s.produced) {
                EXPECT_COLOR_NEAR(e.colour, s.colour, 1);
            }
            EXPECT_COLOR_NEAR(e.after, s.after, 1);
        }
        const int last =
            h.lastWriter < 0 ? 0 : h.events[static_cast<std::size_t>(h.lastWriter)].draw;
        EXPECT_EQ(last, c.lastDraw);
    }
}

TEST_F(PixelHistory, TheFixedFunctionStagesInputsAreItsVaryings) {
    DrawOverdraw();
    const gl::PixelHistory h = device_->ProbePixel(120, 150);
    ASSERT_TRUE(h.ok) << h.why;
    ASSERT_FALSE(h.inputs.empty());
    EXPECT_EQ(h.inputs[0].semantic, "COLOR0");
    EXPECT_FLOAT_EQ(h.inputs[0].v[0], 1.0f);
    EXPECT_FLOAT_EQ(h.inputs[0].v[1], 0.0f);
    ASSERT_TRUE(h.hasOutput);
    EXPECT_FLOAT_EQ(h.output.v[0], 1.0f);
}

// A pixel shader that returns (u, v, blue, 1) on a quad whose texture coordinates run 0 to 1
// across pixels 100 to 199 (edges at 99.5 and 199.5) and whose colour is one colour.
TEST_F(PixelHistory, APixelShadersInputsAndOutputAreThoseAtThePixel) {
    const std::vector<std::uint32_t> code = CompileCode(
        "float4 ps_main(float2 uv : TEXCOORD0, float4 c : COLOR0) : COLOR0 {\n"
        "    return float4(uv, c.b, 1);\n}\n",
        "ps_main", "ps_2_0");
    ASSERT_FALSE(code.empty());
    IDirect3DPixelShader9* shader = nullptr;
    ASSERT_EQ(device->CreatePixelShader(reinterpret_cast<const DWORD*>(code.data()), &shader),
              D3D_OK);
    device->SetPixelShader(Keep(shader));
    ID3DXMesh* quad =
        MakeMesh(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1,
                 PixelQuad(100, 100, 200, 200, true, true, 0.5f, 0xFF336699, 0xFF336699),
                 kQuadClockwise, {0, 0});
    Clear();
    Draw(quad);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    const gl::PixelHistory h = device_->ProbePixel(149, 124);
    ASSERT_TRUE(h.ok) << h.why;
    ASSERT_EQ(h.lastWriter, 1) << gl::FormatPixelHistory(h);
    const float u = (149 - 99.5f) / 100, v = (124 - 99.5f) / 100;
    struct Expected {
        const char* semantic;
        int components;
        float value[4];
    } expected[] = {{"TEXCOORD0", 2, {u, v, 0, 0}},
                    {"COLOR0", 4, {0x33 / 255.0f, 0x66 / 255.0f, 0x99 / 255.0f, 1}}};
    ASSERT_EQ(h.inputs.size(), std::size(expected)) << gl::FormatPixelHistory(h);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].semantic);
        EXPECT_EQ(h.inputs[i].semantic, expected[i].semantic);
        EXPECT_EQ(h.inputs[i].components, expected[i].components);
        for (int k = 0; k < expected[i].components; ++k)
            EXPECT_NEAR(h.inputs[i].v[k], expected[i].value[k], 1e-4);
    }
    ASSERT_TRUE(h.hasOutput);
    const float output[4] = {u, v, 0x99 / 255.0f, 1};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(h.output.v[k], output[k], 1e-4);
}

// The frame draws red with its world moved, then blue where it is; the probe replays red last
// (the last writer of the pixel probed). Blue drawn again at once, with no state set, must land
// where it landed before the probe.
TEST_F(PixelHistory, AProbeLeavesTheFrameAndTheDevicesStateAsTheyWere) {
    Matrix4 moved, identity;
    D3DXMatrixTranslation(&moved, 0.1f, 0.0f, 0.0f);
    D3DXMatrixIdentity(&identity);
    const auto frameThenBlueAgain = [&](bool probe) {
        Clear();
        device->SetTransform(D3DTS_WORLD, &moved);
        Draw(red_);
        device->SetTransform(D3DTS_WORLD, &identity);
        Draw(blue_);
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        const std::vector<std::uint32_t> frame = device_->ReadBackBuffer();
        if (probe) {
            const gl::PixelHistory h = device_->ProbePixel(150, 150);
            ASSERT_TRUE(h.ok) << h.why;
            ASSERT_EQ(h.events.back().colour, kRed) << gl::FormatPixelHistory(h);
            ASSERT_EQ(h.lastWriter + 1, static_cast<int>(h.events.size()));
            EXPECT_EQ(device_->ReadBackBuffer(), frame) << "the probe drew into the back buffer";
        }
        Draw(blue_);
    };
    frameThenBlueAgain(false);
    const std::vector<std::uint32_t> unprobed = device_->ReadBackBuffer();
    frameThenBlueAgain(true);
    EXPECT_EQ(device_->ReadBackBuffer(), unprobed) << "the probe changed the device's state";
}

TEST_F(PixelHistory, AProbeWithoutAFrameOrOutsideTheBufferSaysWhy) {
    EXPECT_NE(device_->ProbePixel(10, 10).why.find("no recorded frame"), std::string::npos);
    DrawOverdraw();
    EXPECT_NE(device_->ProbePixel(1000, 10).why.find("outside"), std::string::npos);
    device_->RecordFrames(false);
    EXPECT_NE(device_->ProbePixel(10, 10).why.find("not recording"), std::string::npos);
}

}  // namespace
