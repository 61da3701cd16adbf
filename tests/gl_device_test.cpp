// The OpenGL device, headless on llvmpipe: what it draws, pixel by pixel.
#include <gtest/gtest.h>

#include "tests/gl_fixture.h"

namespace {

using test::GlDeviceTest;

TEST_F(GlDeviceTest, ClearFillsTheWholeBackBuffer) {
    IDirect3DDevice9* device = MakeDevice();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF2F2F2F, 1.0f, 0), D3D_OK);
    for (auto [x, y] : {std::pair{0, 0}, {999, 0}, {0, 499}, {999, 499}, {500, 250}}) {
        EXPECT_EQ(PixelAt(x, y) & 0xFFFFFF, 0x2F2F2Fu) << x << "," << y;
    }
}

}  // namespace
