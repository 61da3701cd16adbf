// The D3DX buffers that start-up is given (the compiled shaders' code, the meshes' material
// lists) are all released once their contents are taken. The buffers are counted by putting
// this file's CreateBuffer in place of the platform's at link time.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "platform/core/ref_counted.h"
#include "platform/d3dx/device_services.h"
#include "platform/record/record_platform.h"
#include "render/graphics.h"
#include "shell/shell.h"
#include "tests/presentation.h"
#include "tests/test_assets.h"
#include "tests/test_files.h"

namespace {

int g_made = 0;
int g_live = 0;

class CountedBuffer final : public platform::RefCounted<ID3DXBuffer> {
  public:
    CountedBuffer(const void* data, std::size_t size)
        : bytes_(new std::uint64_t[(size + 7) / 8]()), size_(size) {
        if (data && size) std::memcpy(bytes_.get(), data, size);
        ++g_made;
        ++g_live;
    }
    ~CountedBuffer() override { --g_live; }
    LPVOID GetBufferPointer() override { return bytes_.get(); }
    DWORD GetBufferSize() override { return static_cast<DWORD>(size_); }

  private:
    std::unique_ptr<std::uint64_t[]> bytes_;
    std::size_t size_;
};

}  // namespace

namespace d3dx {

ID3DXBuffer* CreateBuffer(const void* data, std::size_t size) {
    return new CountedBuffer(data, size);
}

DeviceServices* ServicesOf(IDirect3DDevice9* device) {
    return dynamic_cast<DeviceServices*>(device);
}

}  // namespace d3dx

namespace {

TEST(D3DXBuffers, StartUpReleasesEveryShaderCodeAndMaterialBuffer) {
    test::TempDir dir;
    test::WriteTestAssets(dir.path());
    char previous[4096] = {};
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    record::InstallRecordingPlatform();
    appWindow = test::ProgramSizedWindow("Buffers");
    CreateGraphics();
    ASSERT_NE(device, nullptr);
    ASSERT_NE(pixelShader, nullptr);
    ASSERT_NE(vertexShader, nullptr);
    // Two compiled shaders and two meshes' materials at least; none of them kept.
    EXPECT_GE(g_made, 4);
    EXPECT_EQ(g_live, 0);
    ASSERT_EQ(chdir(previous), 0);
}

}  // namespace
