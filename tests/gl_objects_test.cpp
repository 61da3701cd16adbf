// The OpenGL device's objects over their lives: a bound texture drawn after the program let it
// go, the cache forgetting deleted names, programs evicted with their shader, a shader the
// driver refuses, programs told apart by both of their shaders, texture objects sharing one
// picture's OpenGL texture, and meshes with sparse attribute ids.
#include <gtest/gtest.h>

#include "platform/d3dx/hlsl/shader_container.h"
#include "tests/gl_fixture.h"
#include "tests/test_assets.h"
#include "tests/test_files.h"

namespace {

using test::Drawing;
using test::GlDeviceTest;
using test::kBackground;
using test::kQuadClockwise;
using test::Quad;

constexpr int kTolerance = 3;

TEST_F(Drawing, ATextureReleasedWhileBoundIsStillDrawnUntilUnbound) {
    ID3DXMesh* quad = MakeMesh(D3DFVF_XYZ | D3DFVF_TEX1, Quad(false, true), kQuadClockwise, {0, 0});
    d3dx::TextureData data;
    data.width = 2;
    data.height = 1;
    data.levels.push_back({0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0xFF});  // red, blue
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTextureFromData(std::move(data), &texture), D3D_OK);
    device->SetTexture(0, texture);
    EXPECT_EQ(texture->Release(), 1u);  // the device's reference remains
    Draw(quad);
    EXPECT_COLOR_NEAR(PixelAt(300, 250), 0xFFFF0000u, kTolerance);
    EXPECT_COLOR_NEAR(PixelAt(700, 250), 0xFF0000FFu, kTolerance);
    // Unbound, it is gone: the stage reads no texture (opaque white here).
    device->SetTexture(0, nullptr);
    Clear();
    Draw(quad);
    EXPECT_COLOR_NEAR(PixelAt(300, 250), 0xFFFFFFFFu, kTolerance);
}

struct ForgetCase {
    const char* kind;
    GLuint (*make)();
    void (*bind)(gl::GlCache&, GLuint);
    void (*remove)(gl::GlCache&, GLuint);
    std::uint64_t gl::GlCallCounts::*count;  // the bind's count
};

// The driver may hand a deleted object's name out again for a new object (llvmpipe does not, so
// the same name is bound again here): that bind must reach OpenGL, not be filtered as one the
// cache still remembers.
TEST_F(GlDeviceTest, TheCacheForgetsEveryNameItIsToldIsDeleted) {
    MakeDevice();
    gl::GlCache& cache = device_->Cache();
    const ForgetCase cases[] = {
        {"texture",
         [] {
             GLuint n;
             glGenTextures(1, &n);
             return n;
         },
         [](gl::GlCache& c, GLuint n) { c.BindTexture(5, GL_TEXTURE_2D, n); },
         [](gl::GlCache& c, GLuint n) { c.DeleteTexture(n); }, &gl::GlCallCounts::bindTexture},
        {"vertex array",
         [] {
             GLuint n;
             glGenVertexArrays(1, &n);
             return n;
         },
         [](gl::GlCache& c, GLuint n) { c.BindVertexArray(n); },
         [](gl::GlCache& c, GLuint n) { c.DeleteVertexArray(n); },
         &gl::GlCallCounts::bindVertexArray},
        {"program", [] { return glCreateProgram(); },
         [](gl::GlCache& c, GLuint n) { c.UseProgram(n); },
         [](gl::GlCache& c, GLuint n) { c.DeleteProgram(n); }, &gl::GlCallCounts::useProgram},
        {"sampler",
         [] {
             GLuint n;
             glGenSamplers(1, &n);
             return n;
         },
         [](gl::GlCache& c, GLuint n) { c.BindSampler(5, n); },
         [](gl::GlCache& c, GLuint n) { c.DeleteSampler(n); }, &gl::GlCallCounts::bindSampler},
        {"framebuffer",
         [] {
             GLuint n;
             glGenFramebuffers(1, &n);
             return n;
         },
         [](gl::GlCache& c, GLuint n) { c.BindFramebuffer(n); },
         [](gl::GlCache& c, GLuint n) { c.DeleteFramebuffer(n); },
         &gl::GlCallCounts::bindFramebuffer},
    };
    for (const ForgetCase& c : cases) {
        SCOPED_TRACE(c.kind);
        const GLuint name = c.make();
        c.bind(cache, name);
        const std::uint64_t bound = cache.counts.*c.count;
        c.bind(cache, name);
        EXPECT_EQ(cache.counts.*c.count, bound);  // filtered while it lives
        c.remove(cache, name);
        c.bind(cache, name);
        EXPECT_EQ(cache.counts.*c.count, bound + 1);
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    // The device's own state is bound again by the next draw.
    cache.Invalidate();
}

class Shaders : public Drawing {
  protected:
    IDirect3DPixelShader9* PixelShader(const char* source) {
        const std::vector<std::uint32_t> code = CompileCode(source, "ps_main", "ps_2_0");
        IDirect3DPixelShader9* shader = nullptr;
        if (!code.empty()) {
            EXPECT_EQ(
                device->CreatePixelShader(reinterpret_cast<const DWORD*>(code.data()), &shader),
                D3D_OK);
        }
        return shader;
    }
    IDirect3DVertexShader9* VertexShader(float scale) {
        const std::string source =
            "float4 vs_main(float4 p : POSITION) : POSITION { return float4(p.xy * " +
            std::to_string(scale) + ", p.z, 1.0); }";
        const std::vector<std::uint32_t> code = CompileCode(source.c_str(), "vs_main", "vs_2_0");
        IDirect3DVertexShader9* shader = nullptr;
        if (!code.empty()) {
            EXPECT_EQ(
                device->CreateVertexShader(reinterpret_cast<const DWORD*>(code.data()), &shader),
                D3D_OK);
        }
        return shader;
    }
    gl::GlDevice* Gl() { return dynamic_cast<gl::GlDevice*>(device); }
};

TEST_F(Shaders, ReleasingAShaderDeletesTheProgramsLinkedWithIt) {
    ID3DXMesh* quad = MakeMesh(D3DFVF_XYZ, Quad(false, false), kQuadClockwise, {0, 0});
    Draw(quad);  // the fixed-function program
    const std::size_t before = Gl()->ProgramCount();
    IDirect3DPixelShader9* green =
        PixelShader("float4 ps_main() : COLOR0 { return float4(0, 1, 0, 1); }");
    ASSERT_NE(green, nullptr);
    device->SetPixelShader(green);
    Draw(quad);
    EXPECT_EQ(PixelAt(500, 250), 0xFF00FF00u);
    EXPECT_EQ(Gl()->ProgramCount(), before + 1);
    const std::uint64_t deleted = Gl()->Cache().counts.deleteProgram;
    device->SetPixelShader(nullptr);
    EXPECT_EQ(green->Release(), 0u);
    EXPECT_EQ(Gl()->ProgramCount(), before);
    EXPECT_EQ(Gl()->Cache().counts.deleteProgram, deleted + 1);
    // A new shader, perhaps at the same address, gets a program of its own.
    IDirect3DPixelShader9* red =
        PixelShader("float4 ps_main() : COLOR0 { return float4(1, 0, 0, 1); }");
    device->SetPixelShader(Keep(red));
    Clear();
    Draw(quad);
    EXPECT_EQ(PixelAt(500, 250), 0xFFFF0000u);
}

TEST_F(Shaders, ProgramsAreToldApartByBothShaders) {
    ID3DXMesh* quad = MakeMesh(D3DFVF_XYZ, Quad(false, false), kQuadClockwise, {0, 0});
    device->SetPixelShader(
        Keep(PixelShader("float4 ps_main() : COLOR0 { return float4(0, 0, 1, 1); }")));
    device->SetVertexShader(Keep(VertexShader(0.5f)));
    Draw(quad);
    EXPECT_EQ(PixelAt(500, 250), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(250, 250), kBackground);  // outside half the quad
    // Another vertex shader with the same pixel shader: the whole quad.
    device->SetVertexShader(Keep(VertexShader(1.0f)));
    Clear();
    Draw(quad);
    EXPECT_EQ(PixelAt(250, 250), 0xFF0000FFu);
}

TEST_F(Shaders, AShaderTheDriverRefusesIsNotCreatedAndTheDriverSaysWhy) {
    d3dx::ShaderReflection shader;
    shader.stage = d3dx::ShaderStage::Pixel;
    shader.entry = "ps_main";
    shader.glsl = "#version 330 core\nvoid main() { undeclared = 1.0; }\n";
    const std::vector<std::uint32_t> code = d3dx::PackShader(shader);
    IDirect3DPixelShader9* made = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_EQ(device->CreatePixelShader(reinterpret_cast<const DWORD*>(code.data()), &made),
              D3DERR_INVALIDCALL);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(made, nullptr);
    EXPECT_NE(said.find("GL: pixel shader: fragment shader does not compile"), std::string::npos)
        << said;
    EXPECT_NE(said.find("undeclared"), std::string::npos) << said;  // the driver's own log
}

}  // namespace

namespace {

using test::Drawing;
using test::kBackground;
using test::kQuadClockwise;
using test::Quad;

GLuint GlNameOf(IDirect3DTexture9* texture) {
    const auto* made = dynamic_cast<d3d9::Texture*>(texture);
    const auto* storage = made ? dynamic_cast<const gl::GlTexture*>(made->Object()) : nullptr;
    return storage ? storage->Id() : 0;
}

// Texture objects made from one decoded picture share its OpenGL texture, which goes with the
// last of them; each object is still the program's own to bind and release.
TEST_F(Drawing, TexturesOfOnePictureShareOneOpenGLTexture) {
    auto picture = std::make_shared<d3dx::TextureData>();
    picture->width = 2;
    picture->height = 1;
    picture->levels.push_back({0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0xFF});  // red, blue
    IDirect3DTexture9* first = nullptr;
    IDirect3DTexture9* second = nullptr;
    ASSERT_EQ(device_->CreateTextureFromPicture(picture, &first), D3D_OK);
    ASSERT_EQ(device_->CreateTextureFromPicture(picture, &second), D3D_OK);
    EXPECT_NE(first, second);
    EXPECT_EQ(GlNameOf(first), GlNameOf(second));
    EXPECT_EQ(device_->TextureStorageCount(), 1u);
    // Another picture of the same texels is another texture.
    IDirect3DTexture9* other = nullptr;
    ASSERT_EQ(
        device_->CreateTextureFromPicture(std::make_shared<d3dx::TextureData>(*picture), &other),
        D3D_OK);
    EXPECT_EQ(device_->TextureStorageCount(), 2u);
    other->Release();
    EXPECT_EQ(device_->TextureStorageCount(), 1u);
    // The first goes; the second still draws the picture.
    device->SetTexture(0, second);
    first->Release();
    ID3DXMesh* quad = MakeMesh(D3DFVF_XYZ | D3DFVF_TEX1, Quad(false, true), kQuadClockwise, {0, 0});
    Draw(quad);
    EXPECT_COLOR_NEAR(PixelAt(300, 250), 0xFFFF0000u, kTolerance);
    EXPECT_COLOR_NEAR(PixelAt(700, 250), 0xFF0000FFu, kTolerance);
    EXPECT_EQ(device_->TextureStorageCount(), 1u);
    device->SetTexture(0, nullptr);
    second->Release();
    EXPECT_EQ(device_->TextureStorageCount(), 0u);
}

// D3DXCreateTextureFromFileA of one file from many materials: a texture object each, one
// OpenGL texture for all of them.
TEST_F(Drawing, AFileNamedTwiceIsOneOpenGLTexture) {
    test::TempDir dir;
    test::WriteFile(dir.Path("coat.bmp"), test::SolidBmp(0xFF, 0x80, 0x00));
    IDirect3DTexture9* a = nullptr;
    IDirect3DTexture9* b = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileA(device, dir.Path("coat.bmp").c_str(), &a), D3D_OK);
    ASSERT_EQ(D3DXCreateTextureFromFileA(device, dir.Path("coat.bmp").c_str(), &b), D3D_OK);
    Keep(a);
    Keep(b);
    EXPECT_NE(a, b);
    EXPECT_EQ(GlNameOf(a), GlNameOf(b));
    EXPECT_EQ(device_->TextureStorageCount(), 1u);
}

// A picture wider than the driver's largest texture is refused with the file and both sizes
// named, and a texture the driver itself refuses is not made: the front end fails, and the
// program says so in its box instead of drawing a black mesh.
TEST_F(Drawing, ATextureTheDriverCannotHoldIsRefusedAndTheReasonSaid) {
    test::TempDir dir;
    test::WriteFile(dir.Path("coat.bmp"), test::SolidBmp(0xFF, 0x80, 0x00));
    const UINT realLimit = device_->MaxTextureSize();
    device_->SetMaxTextureSizeForTests(1);
    IDirect3DTexture9* texture = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileA(device, dir.Path("coat.bmp").c_str(), &texture)));
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(texture, nullptr);
    EXPECT_NE(said.find("coat.bmp: 2 x 2 is larger than the device's largest texture, 1 x 1"),
              std::string::npos)
        << said;

    // Past our own check, the driver's: twice its real limit.
    device_->SetMaxTextureSizeForTests(4 * realLimit);
    d3dx::TextureData wide;
    wide.width = 2 * realLimit;
    wide.height = 1;
    wide.levels.emplace_back(std::size_t{wide.width} * 4, std::uint8_t{0xFF});
    testing::internal::CaptureStderr();
    EXPECT_EQ(device_->CreateTextureFromData(std::move(wide), &texture), D3DERR_OUTOFVIDEOMEMORY);
    said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(texture, nullptr);
    EXPECT_NE(said.find("GL: the driver refused a " + std::to_string(2 * realLimit) + " x 1"),
              std::string::npos)
        << said;
    EXPECT_EQ(device_->TextureStorageCount(), 0u);
}

// An attribute id is any DWORD: a mesh whose ids are 7 and 4,000,000,000 is drawn by id without a
// lookup table sized by the largest.
TEST_F(Drawing, ASparseAttributeIdIsDrawnByItsId) {
    ID3DXMesh* quad = MakeMesh(D3DFVF_XYZ, Quad(false, false), kQuadClockwise, {7, 4000000000u});
    device->BeginScene();
    EXPECT_EQ(quad->DrawSubset(4000000000u), D3D_OK);  // the lower left triangle (0, 2, 3)
    EXPECT_EQ(quad->DrawSubset(5), D3D_OK);            // no such subset: nothing
    device->EndScene();
    EXPECT_EQ(PixelAt(200, 400), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(800, 100), kBackground);
    Clear();
    Draw(quad, 7);
    EXPECT_EQ(PixelAt(800, 100), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(200, 400), kBackground);
}

}  // namespace
