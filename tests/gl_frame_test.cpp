// The frame on the OpenGL device, headless: Clear with rectangles (clipped to the back buffer,
// depth as well as colour), Present into a window of another size, and the multisampled back
// buffer resolved for reading and presenting.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_platform.h"
#include "tests/gl_fixture.h"

namespace {

using test::Drawing;
using test::GlDeviceTest;
using test::kBackground;
using test::kQuadClockwise;

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF,
                        kWhite = 0xFFFFFFFF;

// Rectangles are half-open (x2 and y2 are outside), in the back buffer's pixels from the top
// left; a rectangle reaching outside the back buffer clears the part inside, an empty or
// inverted one nothing.
TEST_F(Drawing, ClearWithRectanglesClearsOnlyInsideThem) {
    const D3DRECT rects[3] = {{10, 20, 110, 70}, {900, 450, 1100, 600}, {60, 300, 40, 280}};
    ASSERT_EQ(device->Clear(3, rects, D3DCLEAR_TARGET, kRed, 1.0f, 0), D3D_OK);
    struct Probe {
        int x, y;
        std::uint32_t expected;
    } probes[] = {
        {10, 20, kRed},         {109, 69, kRed},        {110, 69, kBackground},
        {109, 70, kBackground}, {9, 20, kBackground},   {10, 19, kBackground},
        {900, 450, kRed},       {999, 499, kRed},       {899, 450, kBackground},
        {50, 290, kBackground}, {45, 285, kBackground}, {500, 250, kBackground},
    };
    for (const Probe& p : probes) EXPECT_EQ(PixelAt(p.x, p.y), p.expected) << p.x << "," << p.y;
}

// Depth cleared to 0 inside a rectangle only: a quad at depth 0.5 then fails the depth test
// there and nowhere else.
TEST_F(Drawing, ClearWithARectangleClearsDepthOnlyInsideIt) {
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    const D3DRECT rect{400, 200, 600, 300};
    ASSERT_EQ(device->Clear(1, &rect, D3DCLEAR_ZBUFFER, 0, 0.0f, 0), D3D_OK);
    Draw(MakeMesh(D3DFVF_XYZ, test::Quad(false, false), kQuadClockwise, {0, 0}));
    EXPECT_EQ(PixelAt(500, 250), kBackground);
    EXPECT_EQ(PixelAt(399, 250), kWhite);
    EXPECT_EQ(PixelAt(600, 250), kWhite);
}

class Presenting : public GlDeviceTest {
  protected:
    // Four quadrants of the back buffer: red, green over blue, white.
    void FillQuadrants(IDirect3DDevice9* device) {
        const D3DRECT quadrants[4] = {
            {0, 0, 500, 250}, {500, 0, 1000, 250}, {0, 250, 500, 500}, {500, 250, 1000, 500}};
        const std::uint32_t colours[4] = {kRed, kGreen, kBlue, kWhite};
        for (int i = 0; i < 4; ++i)
            device->Clear(1, &quadrants[i], D3DCLEAR_TARGET, colours[i], 1, 0);
    }
    // The window's pixels as Present left them, ARGB, top row first.
    std::vector<std::uint32_t> WindowPixels(int w, int h) {
        std::vector<std::uint32_t> rows(static_cast<std::size_t>(w) * h);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
        device_->Cache().Invalidate();
        std::vector<std::uint32_t> top(rows.size());
        for (int y = 0; y < h; ++y) {
            std::copy_n(rows.begin() + static_cast<std::ptrdiff_t>(y) * w, w,
                        top.begin() + static_cast<std::ptrdiff_t>(h - 1 - y) * w);
        }
        return top;
    }
};

// Present shows the whole back buffer scaled to the client area, the right way up.
TEST_F(Presenting, PresentScalesTheBackBufferToAResizedWindow) {
    IDirect3DDevice9* device = MakeDevice();
    ASSERT_NE(device, nullptr);
    FillQuadrants(device);
    SDL_Window* window = sdl::WindowOf(window_);
    ASSERT_NE(window, nullptr);
    SDL_SetWindowSize(window, 500, 250);
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    ASSERT_EQ(w, 500);
    ASSERT_EQ(h, 250);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    const std::vector<std::uint32_t> shown = WindowPixels(w, h);
    const auto at = [&](int x, int y) { return shown[static_cast<std::size_t>(y) * w + x]; };
    EXPECT_EQ(at(10, 10), kRed);
    EXPECT_EQ(at(490, 10), kGreen);
    EXPECT_EQ(at(10, 240), kBlue);
    EXPECT_EQ(at(490, 240), kWhite);
    EXPECT_EQ(at(240, 115), kRed);  // each quadrant is a quarter of the window
    EXPECT_EQ(at(260, 135), kWhite);
    // The back buffer itself keeps its size and contents.
    ReadBack();
    EXPECT_EQ(PixelAt(999, 499), kWhite);
}

// At the back buffer's own size the window shows every pixel of it unchanged, the right way
// up, with and without samples to average (then each pixel is its samples' mean, as the resolve
// that reads the back buffer back gives it).
class PresentingAtTheSameSize : public Presenting,
                                public ::testing::WithParamInterface<D3DMULTISAMPLE_TYPE> {};

TEST_P(PresentingAtTheSameSize, TheWindowShowsTheBackBufferPixelForPixel) {
    IDirect3DDevice9* device = MakeDevice(GetParam());
    ASSERT_NE(device, nullptr);
    FillQuadrants(device);
    // A slanted edge, so that multisampled pixels along it are means, not one colour.
    SetScreenSpace();
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    std::vector<float> v = test::PixelQuad(100, 100, 400, 400, false, false);
    v[0] += 0.37f;
    ID3DXMesh* mesh = MakeMesh(D3DFVF_XYZ, v, kQuadClockwise, {0, 0});
    device->BeginScene();
    mesh->DrawSubset(0);
    device->EndScene();
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    const std::vector<std::uint32_t> shown = WindowPixels(1000, 500);
    const std::vector<std::uint32_t> back = device_->ReadBackBuffer();
    ASSERT_EQ(shown.size(), back.size());
    std::size_t differ = 0, first = 0, means = 0;
    for (std::size_t i = 0; i < back.size(); ++i) {
        if ((shown[i] & 0xFFFFFF) != (back[i] & 0xFFFFFF) && differ++ == 0) first = i;
        const std::uint32_t c = back[i] & 0xFFFFFF;
        if (c != (kRed & 0xFFFFFF) && c != (kGreen & 0xFFFFFF) && c != (kBlue & 0xFFFFFF) &&
            c != (kWhite & 0xFFFFFF))
            ++means;
    }
    EXPECT_EQ(differ, 0u) << "first at (" << first % 1000 << ", " << first / 1000 << ")";
    EXPECT_EQ(shown[10], kRed);
    EXPECT_EQ(shown[499 * 1000 + 990], kWhite);
    if (GetParam() != D3DMULTISAMPLE_NONE) {
        EXPECT_GT(means, 100u);
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, PresentingAtTheSameSize,
                         ::testing::Values(D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_4_SAMPLES));

// Scaled to half the size, stripes one pixel wide blend into grey, as a linear blit scales them,
// with and without samples (then the resolved picture is the one scaled).
class PresentingScaled : public Presenting,
                         public ::testing::WithParamInterface<D3DMULTISAMPLE_TYPE> {};

TEST_P(PresentingScaled, ThePictureIsFilteredBilinearly) {
    IDirect3DDevice9* device = MakeDevice(GetParam());
    ASSERT_NE(device, nullptr);
    std::vector<D3DRECT> stripes;
    for (LONG x = 0; x < 1000; x += 2) stripes.push_back({x, 0, x + 1, 500});
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1, 0);
    device->Clear(static_cast<DWORD>(stripes.size()), stripes.data(), D3DCLEAR_TARGET, kWhite, 1,
                  0);
    SDL_Window* window = sdl::WindowOf(window_);
    ASSERT_NE(window, nullptr);
    SDL_SetWindowSize(window, 500, 250);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    const std::vector<std::uint32_t> shown = WindowPixels(500, 250);
    for (const auto& [x, y] : {std::pair{10, 10}, {250, 125}, {480, 240}}) {
        const std::uint32_t green = (shown[static_cast<std::size_t>(y) * 500 + x] >> 8) & 0xFF;
        EXPECT_NEAR(static_cast<int>(green), 0x80, 8) << "at (" << x << ", " << y << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, PresentingScaled,
                         ::testing::Values(D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_4_SAMPLES));

// A vertical edge through the centres of pixel column 500: with 4 samples, Direct3D's standard
// pattern puts two on each side of a pixel's centre, so that column resolves to half the quad's
// colour over half the background; without multisampling a pixel is all one or the other.
TEST_F(GlDeviceTest, TheMultisampledBackBufferIsResolved) {
    IDirect3DDevice9* device = MakeDevice(D3DMULTISAMPLE_4_SAMPLES);
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(device_->SampleCount(), 4);
    SetScreenSpace();
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    // Left edge at pixel 100.5's boundary, right edge through pixel 500's centre (x = 0.0 in
    // clip space is 499.5 + 0.5).
    std::vector<float> v = test::PixelQuad(100, 100, 501, 400, false, false);
    v[3] = v[6] = static_cast<float>(500.0 / 500.0 - 1.0);  // top and bottom right corners
    ID3DXMesh* mesh = MakeMesh(D3DFVF_XYZ, v, kQuadClockwise, {0, 0});
    const auto draw = [&] {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        mesh->DrawSubset(0);
        device->EndScene();
        ReadBack();
    };
    draw();
    EXPECT_EQ(PixelAt(499, 250), kWhite);
    EXPECT_COLOR_NEAR(PixelAt(500, 250), 0xFF808080u, 2);
    EXPECT_EQ(PixelAt(501, 250), 0xFF000000u);
    // MULTISAMPLEANTIALIAS off: every sample takes the pixel centre's coverage.
    device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, FALSE);
    draw();
    const std::uint32_t edge = PixelAt(500, 250);
    EXPECT_TRUE(edge == kWhite || edge == 0xFF000000u) << test::Hex(edge);
}

}  // namespace
