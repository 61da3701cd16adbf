#include "tests/gl_fixture.h"

#include <cstdio>
#include <cstdlib>

#include "platform/core/window_system.h"
#include "platform/sdl/sdl_platform.h"
#include "tests/presentation.h"

namespace test {
namespace {

bool StartSdl() {
    static const bool started = [] {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        return sdl::InstallSdlPlatform();
    }();
    return started;
}

}  // namespace

void GlDeviceTest::SetUp() {
    ASSERT_TRUE(StartSdl()) << "SDL's offscreen driver did not start";
    platform::ResetWindowSystem();
    window_ = ProgramSizedWindow("GlTest");
    ASSERT_NE(window_, nullptr);
}

void GlDeviceTest::TearDown() {
    if (device_) device_->Release();
    device_ = nullptr;
    if (SDL_Window* w = sdl::WindowOf(window_)) SDL_DestroyWindow(w);
}

IDirect3DDevice9* GlDeviceTest::MakeDevice(D3DMULTISAMPLE_TYPE samples, DWORD quality) {
    IDirect3DDevice9* device = nullptr;
    EXPECT_EQ(CreateProgramDevice(window_, &device, samples, quality), D3D_OK);
    device_ = gl::GlDeviceOf(device);
    return device;
}

void GlDeviceTest::ReadBack() {
    pixels_ = device_->ReadBackBuffer();
}

std::uint32_t GlDeviceTest::PixelAt(int x, int y) {
    if (pixels_.empty()) ReadBack();
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(device_->Width()) +
                   static_cast<std::size_t>(x)];
}

ID3DXMesh* GlDeviceTest::MakeMesh(DWORD fvf, const std::vector<float>& vertices,
                                  const std::vector<std::uint32_t>& triangles,
                                  const std::vector<DWORD>& attributes) {
    d3dx::MeshData data;
    data.fvf = fvf;
    data.stride = d3dx::StrideOf(fvf);
    data.vertexCount = static_cast<UINT>(vertices.size() * 4 / data.stride);
    data.vertices.resize(vertices.size() * 4);
    std::memcpy(data.vertices.data(), vertices.data(), data.vertices.size());
    data.indices.assign(triangles.begin(), triangles.end());
    data.attributes.assign(attributes.begin(), attributes.end());
    for (std::size_t f = 0; f < attributes.size();) {
        std::size_t end = f;
        while (end < attributes.size() && attributes[end] == attributes[f]) ++end;
        data.table.push_back({attributes[f], static_cast<DWORD>(f), static_cast<DWORD>(end - f), 0,
                              data.vertexCount});
        f = end;
    }
    data.options = D3DXMESH_32BIT;
    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(device_->CreateMeshFromData(std::move(data), &mesh), D3D_OK);
    return mesh;
}

IDirect3DTexture9* GlDeviceTest::MakeTexture(UINT w, UINT h,
                                             const std::vector<std::uint32_t>& argb) {
    d3dx::TextureData data;
    data.format = D3DFMT_A8R8G8B8;
    data.width = w;
    data.height = h;
    data.levels.emplace_back(reinterpret_cast<const std::uint8_t*>(argb.data()),
                             reinterpret_cast<const std::uint8_t*>(argb.data() + argb.size()));
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device_->CreateTextureFromData(std::move(data), &texture), D3D_OK);
    return texture;
}

void GlDeviceTest::SetScreenSpace() {
    Matrix4 identity;
    D3DXMatrixIdentity(&identity);
    device_->SetTransform(D3DTS_WORLD, &identity);
    device_->SetTransform(D3DTS_VIEW, &identity);
    device_->SetTransform(D3DTS_PROJECTION, &identity);
}

int ColorDistance(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                         static_cast<int>((b >> shift) & 0xFF)));
    }
    return worst;
}

std::string Hex(std::uint32_t argb) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", argb);
    return buf;
}

}  // namespace test
