#include "tests/gl_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/core/window_system.h"
#include "platform/sdl/sdl_platform.h"
#include "tests/keep_gl_driver.h"
#include "tests/presentation.h"
#include "tests/test_files.h"

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
    for (auto it = kept_.rbegin(); it != kept_.rend(); ++it) (*it)->Release();
    kept_.clear();
    if (device_) device_->Release();
    device_ = nullptr;
    if (SDL_Window* w = sdl::WindowOf(window_)) SDL_DestroyWindow(w);
}

IDirect3DDevice9* GlDeviceTest::MakeDevice(D3DMULTISAMPLE_TYPE samples, DWORD quality,
                                           D3DFORMAT format) {
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS pp = ProgramPresentation(window_, samples, quality);
    pp.BackBufferFormat = format;
    IDirect3DDevice9* device = nullptr;
    EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_,
                                D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &device),
              D3D_OK);
    d3d->Release();
    device_ = gl::GlDeviceOf(device);
    if (device_) KeepGlDriverLoaded();
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
    return Keep(mesh);
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
    return Keep(texture);
}

IDirect3DTexture9* GlDeviceTest::MakeSolidLevels(UINT w, UINT h,
                                                 const std::vector<std::uint32_t>& colours) {
    d3dx::TextureData data;
    data.format = D3DFMT_A8R8G8B8;
    data.width = w;
    data.height = h;
    for (std::size_t level = 0; level < colours.size(); ++level) {
        const std::size_t lw = std::max<std::size_t>(1, w >> level),
                          lh = std::max<std::size_t>(1, h >> level);
        const std::vector<std::uint32_t> argb(lw * lh, colours[level]);
        data.levels.emplace_back(reinterpret_cast<const std::uint8_t*>(argb.data()),
                                 reinterpret_cast<const std::uint8_t*>(argb.data() + argb.size()));
    }
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device_->CreateTextureFromData(std::move(data), &texture), D3D_OK);
    return Keep(texture);
}

ID3DXMesh* GlDeviceTest::MakeDeclMesh(const std::vector<D3DVERTEXELEMENT9>& declaration,
                                      UINT stride, const std::vector<std::uint8_t>& vertices,
                                      const std::vector<std::uint32_t>& triangles) {
    d3dx::MeshData data;
    data.fvf = 0;
    data.declaration = declaration;
    data.stride = stride;
    data.vertexCount = static_cast<UINT>(vertices.size() / stride);
    data.vertices.assign(vertices.begin(), vertices.end());
    data.indices.assign(triangles.begin(), triangles.end());
    data.attributes.assign(triangles.size() / 3, 0);
    data.table.push_back({0, 0, static_cast<DWORD>(triangles.size() / 3), 0, data.vertexCount});
    data.options = D3DXMESH_32BIT;
    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(device_->CreateMeshFromData(std::move(data), &mesh), D3D_OK);
    return Keep(mesh);
}

void GlDeviceTest::SetScreenSpace() {
    Matrix4 identity;
    D3DXMatrixIdentity(&identity);
    device_->SetTransform(D3DTS_WORLD, &identity);
    device_->SetTransform(D3DTS_VIEW, &identity);
    device_->SetTransform(D3DTS_PROJECTION, &identity);
}

// The four corners `p` (top left, top right, bottom right, bottom left) as vertices: position,
// then the colour (c0 along the top edge, c1 along the bottom) and texture coordinate asked for.
static std::vector<float> QuadVertices(const float (&p)[4][2], bool colour, bool uv, float z,
                                       D3DCOLOR c0, D3DCOLOR c1) {
    const float t[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    std::vector<float> v;
    for (int i = 0; i < 4; ++i) {
        v.insert(v.end(), {p[i][0], p[i][1], z});
        if (colour) {
            float bits;
            const D3DCOLOR c = i < 2 ? c0 : c1;
            std::memcpy(&bits, &c, 4);
            v.push_back(bits);
        }
        if (uv) v.insert(v.end(), {t[i][0], t[i][1]});
    }
    return v;
}

std::vector<float> Quad(bool colour, bool uv, float z, float size, D3DCOLOR c0, D3DCOLOR c1) {
    const float p[4][2] = {{-size, size}, {size, size}, {size, -size}, {-size, -size}};
    return QuadVertices(p, colour, uv, z, c0, c1);
}

std::vector<float> PixelQuad(int x0, int y0, int x1, int y1, bool colour, bool uv, float z,
                             D3DCOLOR c0, D3DCOLOR c1) {
    // Direct3D 9 puts pixel centres on whole coordinates: the edge between pixels x - 1 and x
    // is at x - 0.5.
    const auto nx = [](int x) { return static_cast<float>((x - 0.5) / 500.0 - 1.0); };
    const auto ny = [](int y) { return static_cast<float>(1.0 - (y - 0.5) / 250.0); };
    const float p[4][2] = {{nx(x0), ny(y0)}, {nx(x1), ny(y0)}, {nx(x1), ny(y1)}, {nx(x0), ny(y1)}};
    return QuadVertices(p, colour, uv, z, c0, c1);
}

Channels Unpack(std::uint32_t argb) {
    return {((argb >> 24) & 0xFF) / 255.0, ((argb >> 16) & 0xFF) / 255.0,
            ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0};
}

std::uint32_t Pack(const Channels& c) {
    const auto byte = [](double v) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
    };
    return byte(c.a) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

const std::vector<std::uint32_t> kQuadClockwise = {0, 1, 2, 0, 2, 3};
const std::vector<std::uint32_t> kQuadCounterClockwise = {0, 2, 1, 0, 3, 2};

void Drawing::SetUp() {
    GlDeviceTest::SetUp();
    device = MakeDevice(D3DMULTISAMPLE_NONE, 0, format_);
    ASSERT_NE(device, nullptr);
    SetScreenSpace();
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    Clear();
}

void Drawing::Clear() {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBackground, 1.0f, 0);
}

void Drawing::Draw(ID3DXMesh* mesh, DWORD subset) {
    device->BeginScene();
    EXPECT_EQ(mesh->DrawSubset(subset), D3D_OK);
    device->EndScene();
    pixels_.clear();
}

std::vector<std::uint32_t> Drawing::CompileCode(const char* source, const char* entry,
                                                const char* profile) {
    TempDir dir;
    WriteFile(dir.Path("shader.hlsl"), source);
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    const HRESULT hr = D3DXCompileShaderFromFileA(dir.Path("shader.hlsl").c_str(), nullptr, nullptr,
                                                  entry, profile, 0, &code, &errors, nullptr);
    EXPECT_EQ(hr, D3D_OK) << (errors ? static_cast<const char*>(errors->GetBufferPointer()) : "");
    if (errors) errors->Release();
    if (FAILED(hr)) return {};
    const auto* words = static_cast<const std::uint32_t*>(code->GetBufferPointer());
    std::vector<std::uint32_t> out(words, words + code->GetBufferSize() / 4);
    code->Release();
    return out;
}

int ColorDistance(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 32; shift += 8) {  // blue, green, red and alpha
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
