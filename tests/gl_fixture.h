// Image tests of the OpenGL device, headless: SDL's offscreen driver on Mesa's llvmpipe, a real
// window and device made through the platform's own calls, pixels read back from the back buffer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gl/gl_device.h"

namespace test {

class GlDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A device on a new 1000 x 500 window with the program's parameters (multisampling off
    // unless asked).
    IDirect3DDevice9* MakeDevice(D3DMULTISAMPLE_TYPE samples = D3DMULTISAMPLE_NONE,
                                 DWORD quality = 0);
    std::uint32_t PixelAt(int x, int y);  // ARGB, top-left origin
    void ReadBack();
    // A mesh made straight from vertices (x, y, z, then the FVF's other parts) and faces.
    ID3DXMesh* MakeMesh(DWORD fvf, const std::vector<float>& vertices,
                        const std::vector<std::uint32_t>& triangles,
                        const std::vector<DWORD>& attributes);
    IDirect3DTexture9* MakeTexture(UINT w, UINT h, const std::vector<std::uint32_t>& argb);
    // Sets identity world and view and an orthographic-like projection for screen-space tests.
    void SetScreenSpace();

    gl::GlDevice* device_ = nullptr;
    HWND window_ = nullptr;
    std::vector<std::uint32_t> pixels_;
};

// Channel distance, for colours compared with a tolerance.
int ColorDistance(std::uint32_t a, std::uint32_t b);
std::string Hex(std::uint32_t argb);

#define EXPECT_COLOR_NEAR(actual, expected, tolerance)                  \
    EXPECT_LE(::test::ColorDistance((actual), (expected)), (tolerance)) \
        << "got " << ::test::Hex(actual) << ", expected " << ::test::Hex(expected)

}  // namespace test
