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
    // and an X8R8G8B8 back buffer unless asked).
    IDirect3DDevice9* MakeDevice(D3DMULTISAMPLE_TYPE samples = D3DMULTISAMPLE_NONE,
                                 DWORD quality = 0, D3DFORMAT format = D3DFMT_X8R8G8B8);
    std::uint32_t PixelAt(int x, int y);  // ARGB, top-left origin
    void ReadBack();
    // A mesh made straight from vertices (x, y, z, then the FVF's other parts) and faces; it and
    // the texture below are the test's until it ends.
    ID3DXMesh* MakeMesh(DWORD fvf, const std::vector<float>& vertices,
                        const std::vector<std::uint32_t>& triangles,
                        const std::vector<DWORD>& attributes);
    IDirect3DTexture9* MakeTexture(UINT w, UINT h, const std::vector<std::uint32_t>& argb);
    // A texture with a whole chain, each level one colour, largest first.
    IDirect3DTexture9* MakeSolidLevels(UINT w, UINT h, const std::vector<std::uint32_t>& colours);
    // A mesh whose layout is a declaration (no FVF): `stride` bytes a vertex.
    ID3DXMesh* MakeDeclMesh(const std::vector<D3DVERTEXELEMENT9>& declaration, UINT stride,
                            const std::vector<std::uint8_t>& vertices,
                            const std::vector<std::uint32_t>& triangles);
    // Sets identity world and view and an orthographic-like projection for screen-space tests.
    void SetScreenSpace();
    // Releases `object` at the end of the test, before the device (null is kept as null).
    template <typename T>
    T* Keep(T* object) {
        if (object) kept_.push_back(object);
        return object;
    }

    gl::GlDevice* device_ = nullptr;
    HWND window_ = nullptr;
    std::vector<std::uint32_t> pixels_;
    std::vector<IUnknown*> kept_;
};

inline constexpr D3DCOLOR kBackground = 0xFF2F2F2F;

// A quad over most of the screen in clip space (identity transforms). Each vertex: position,
// then the FVF's colour (c0 along the top edge, c1 along the bottom) and texture coordinate
// where asked for.
std::vector<float> Quad(bool colour, bool uv, float z = 0.5f, float size = 0.8f,
                        D3DCOLOR c0 = 0xFFFF0000, D3DCOLOR c1 = 0xFF00FF00);
// A quad covering exactly the pixels [x0, x1) x [y0, y1) of the 1000 x 500 back buffer with
// identity transforms (its edges between pixel centres), at depth z; each vertex as Quad's.
std::vector<float> PixelQuad(int x0, int y0, int x1, int y1, bool colour, bool uv, float z = 0.5f,
                             D3DCOLOR c0 = 0xFFFF0000, D3DCOLOR c1 = 0xFF00FF00);
// A colour's four channels as floats in [0, 1], and back (rounded), for expected colours worked
// out from Direct3D 9's equations.
struct Channels {
    double a, r, g, b;
};
Channels Unpack(std::uint32_t argb);
std::uint32_t Pack(const Channels& c);
// Its faces drawn clockwise on screen (front faces) and counter-clockwise.
extern const std::vector<std::uint32_t> kQuadClockwise;
extern const std::vector<std::uint32_t> kQuadCounterClockwise;

// A device in screen space with lighting off, its back buffer cleared to kBackground.
class Drawing : public GlDeviceTest {
  protected:
    void SetUp() override;
    void Clear();
    // One scene with one DrawSubset, which must succeed.
    void Draw(ID3DXMesh* mesh, DWORD subset = 0);
    // The code of a shader compiled from `source` (empty, after a failed expectation, when it
    // does not compile).
    std::vector<std::uint32_t> CompileCode(const char* source, const char* entry,
                                           const char* profile);
    IDirect3DDevice9* device = nullptr;
    D3DFORMAT format_ = D3DFMT_X8R8G8B8;  // the back buffer's, for a fixture to change
};

// The largest difference of the four channels, alpha included, for colours compared with a
// tolerance.
int ColorDistance(std::uint32_t a, std::uint32_t b);
std::string Hex(std::uint32_t argb);

#define EXPECT_COLOR_NEAR(actual, expected, tolerance)                  \
    EXPECT_LE(::test::ColorDistance((actual), (expected)), (tolerance)) \
        << "got " << ::test::Hex(actual) << ", expected " << ::test::Hex(expected)

}  // namespace test
