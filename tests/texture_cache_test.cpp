// Reading input files safely (named pipes, links, directories, devices, files that change while
// they are read), and the per-device texture cache: one decode per version of a file, a texture
// object per call, the texture memory budget, and the messages on stderr.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/isolated_process.h"
#include "platform/d3dx/prepare_ahead.h"
#include "platform/d3dx/texture/texture_cache.h"
#include "platform/record/record_platform.h"
#include "tests/test_assets.h"
#include "tests/test_files.h"

namespace {

// A blocking call that is not fixed would hang the suite: each of these runs in a child that is
// killed after a few seconds, which reads as a failure.
constexpr int kHangLimitMs = 5000;

std::string ReadError(const std::string& path, std::size_t limit = 1 << 20) {
    const d3dx::IsolatedResult run = d3dx::RunIsolated(
        [&] {
            std::vector<std::uint8_t> bytes;
            std::string error;
            return d3dx::ReadFileBytes(path.c_str(), limit, bytes, error) ? "read" : error;
        },
        kHangLimitMs);
    return run.ok ? run.output : "child " + run.failure;
}

void MakeFifo(const std::string& path) {
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << std::strerror(errno);
}

TEST(FileReading, RefusalsCarryTheSystemsReason) {
    test::TempDir dir;
    test::WriteFile(dir.Path("big.bin"), std::string(5000, 'x'));
    ASSERT_EQ(symlink("loop.b", dir.Path("loop.a").c_str()), 0);
    ASSERT_EQ(symlink("loop.a", dir.Path("loop.b").c_str()), 0);
    MakeFifo(dir.Path("pixel.psh"));
    const struct {
        std::string path;
        std::size_t limit;
        const char* error;
    } cases[] = {
        {dir.Path("missing.bmp"), 1 << 20, "cannot open: No such file or directory"},
        {dir.Path("loop.a"), 1 << 20, "cannot open: Too many levels of symbolic links"},
        {dir.path(), 1 << 20, "not a regular file (a directory)"},
        {dir.Path("pixel.psh"), 1 << 20, "not a regular file (a named pipe)"},
        {"/dev/null", 1 << 20, "not a regular file (a character device)"},
        {dir.Path("big.bin"), 4096, "too large: 4.9 KiB, over the limit of 4.0 KiB"},
        {"", 1 << 20, "cannot open: no file name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ReadError(c.path, c.limit), c.error);
    }
}

TEST(FileReading, PermissionDeniedIsNamed) {
    test::TempDir dir;
    const std::string path = dir.Path("locked.bmp");
    test::WriteFile(path, "BM");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    // The superuser reads anything: the read is made as nobody.
    const d3dx::IsolatedResult run = d3dx::RunIsolated(
        [&] {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                return std::string("setuid");
            std::vector<std::uint8_t> bytes;
            std::string error;
            return d3dx::ReadFileBytes(path.c_str(), 100, bytes, error) ? "read" : error;
        },
        kHangLimitMs);
    ASSERT_TRUE(run.ok) << run.failure;
    EXPECT_EQ(run.output, "cannot open: Permission denied");
}

TEST(FileReading, AFileThatShrinksOrGrowsIsReadAsItIsNow) {
    test::TempDir dir;
    const std::string path = dir.Path("t.bmp");
    test::WriteFile(path, std::string(1000, 'a'));
    std::vector<std::uint8_t> bytes;
    std::string error;

    d3dx::RegularFile file;
    ASSERT_TRUE(file.Open(path.c_str(), error)) << error;
    ASSERT_EQ(truncate(path.c_str(), 300), 0);
    EXPECT_FALSE(file.StillTheSame());
    ASSERT_TRUE(file.ReadAll(1 << 20, bytes, error)) << error;
    EXPECT_EQ(bytes.size(), 300u);

    ASSERT_TRUE(file.Open(path.c_str(), error)) << error;
    test::WriteFile(path, std::string(70000, 'b'));
    ASSERT_TRUE(file.ReadAll(1 << 20, bytes, error)) << error;
    EXPECT_EQ(bytes.size(), 70000u);
    EXPECT_EQ(bytes.back(), 'b');

    test::WriteFile(path, std::string(100, 'c'));
    ASSERT_TRUE(file.Open(path.c_str(), error)) << error;
    EXPECT_TRUE(file.StillTheSame());
    test::WriteFile(path, std::string(9000, 'c'));
    EXPECT_FALSE(file.ReadAll(8192, bytes, error));
    EXPECT_EQ(error, "too large: it grew past the limit of 8.0 KiB while it was read");
}

// A file cut and grown again and again while it is read (where a mapped file would kill the
// process with SIGBUS): every read ends with some prefix of it.
TEST(FileReading, ReadsSurviveAFileChangingUnderneath) {
    test::TempDir dir;
    const std::string path = dir.Path("t.tga");
    test::WriteFile(path, std::string(1 << 22, 'z'));
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; !stop; ++i) {
            if (truncate(path.c_str(), (i % 2) ? 0 : (1 << 22)) != 0) break;
        }
    });
    for (int i = 0; i < 50; ++i) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(d3dx::ReadFileBytes(path.c_str(), 1 << 23, bytes, error)) << error;
        EXPECT_LE(bytes.size(), std::size_t{1} << 22);
    }
    stop = true;
    writer.join();
}

TEST(FifoInPlaceOfInputs, ShaderAndTextureCallsFailAtOnce) {
    test::TempDir dir;
    MakeFifo(dir.Path("pixel.psh"));
    MakeFifo(dir.Path("tiger_coat.bmp"));
    const d3dx::IsolatedResult run = d3dx::RunIsolated(
        [&] {
            record::InstallRecordingPlatform();
            IDirect3DDevice9* device = test::RecordingDevice();
            ID3DXBuffer* errors = nullptr;
            const HRESULT shader =
                D3DXCompileShaderFromFileA(dir.Path("pixel.psh").c_str(), nullptr, nullptr, "main",
                                           "ps_2_0", 0, nullptr, &errors, nullptr);
            IDirect3DTexture9* texture = nullptr;
            const HRESULT tex =
                D3DXCreateTextureFromFileA(device, dir.Path("tiger_coat.bmp").c_str(), &texture);
            return std::to_string(shader == HresultOf(0x80070002u)) + " " +
                   std::to_string(tex == D3DXERR_INVALIDDATA) + " " +
                   (errors ? static_cast<const char*>(errors->GetBufferPointer()) : "no errors");
        },
        kHangLimitMs);
    ASSERT_TRUE(run.ok) << run.failure;
    EXPECT_EQ(run.output.substr(0, 4), "1 1 ");
    EXPECT_NE(run.output.find("pixel.psh(1,1): error: not a regular file (a named pipe)"),
              std::string::npos)
        << run.output;
}

// ---- The cache ---------------------------------------------------------------------------------

// A w x h 24-bit TGA of one colour, rows bottom-up.
std::string SolidTga(int w, int h, std::uint8_t grey) {
    std::string s(18, '\0');
    s[2] = 2;
    s[12] = static_cast<char>(w), s[14] = static_cast<char>(h), s[16] = 24;
    return s + std::string(std::size_t(w) * std::size_t(h) * 3, static_cast<char>(grey));
}

constexpr std::uint64_t kTwoByTwo = 2 * 2 * 4 + 4;  // level 0 and the 1 x 1 level

class TextureCache : public ::testing::Test {
  protected:
    void SetUp() override {
        record::InstallRecordingPlatform();
        device_ = test::RecordingDevice();
        d3dx::ForgetDevice(device_);
        d3dx::SetTextureMemoryLimit(d3dx::kDefaultTextureMemoryLimit);
        test::WriteFile(Path("a.tga"), SolidTga(2, 2, 0x40));
    }
    void TearDown() override {
        for (IDirect3DTexture9* texture : kept_) texture->Release();
        d3dx::ForgetDevice(device_);
        d3dx::SetTextureMemoryLimit(d3dx::kDefaultTextureMemoryLimit);
        device_->Release();
    }
    std::string Path(const char* name) const { return dir_.Path(name); }
    HRESULT Load(const char* name, IDirect3DTexture9** texture) {
        return D3DXCreateTextureFromFileA(device_, Path(name).c_str(), texture);
    }
    IDirect3DTexture9* Loaded(const char* name) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(Load(name, &texture), D3D_OK);
        return texture;
    }
    // Loaded, and released when the test ends.
    IDirect3DTexture9* Kept(const char* name) {
        IDirect3DTexture9* texture = Loaded(name);
        if (texture) kept_.push_back(texture);
        return texture;
    }
    std::uint64_t Charged() const { return d3dx::TextureMemoryCharged(device_); }

    test::TempDir dir_;
    IDirect3DDevice9* device_ = nullptr;
    std::vector<IDirect3DTexture9*> kept_;
};

TEST_F(TextureCache, OneFileNamedManyTimesIsDecodedOnceAndEachCallGetsItsOwnTexture) {
    ASSERT_EQ(link(Path("a.tga").c_str(), Path("same.tga").c_str()), 0);
    ASSERT_EQ(symlink("a.tga", Path("alias.tga").c_str()), 0);
    const std::uint64_t decoded = d3dx::TextureFilesDecoded();
    std::vector<IDirect3DTexture9*> textures;
    for (const char* name : {"a.tga", "a.tga", "same.tga", "alias.tga", "a.tga"}) {
        textures.push_back(Loaded(name));
        ASSERT_NE(textures.back(), nullptr);
        EXPECT_EQ(textures.back()->GetLevelCount(), 2u);
    }
    EXPECT_EQ(d3dx::TextureFilesDecoded(), decoded + 1);
    std::vector<IDirect3DTexture9*> sorted = textures;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end());
    // The cache's copy and the one storage its textures share, however many they are.
    EXPECT_EQ(Charged(), kTwoByTwo * 2);
    // The device reports each texture it destroys; the storage is counted until the last goes.
    for (std::size_t i = 0; i < textures.size(); ++i) {
        textures[i]->Release();
        EXPECT_EQ(Charged(), i + 1 < textures.size() ? kTwoByTwo * 2 : kTwoByTwo);
    }
}

TEST_F(TextureCache, AnEditedFileIsDecodedAgainAndItsOlderVersionLetGo) {
    Kept("a.tga");
    Kept("a.tga");
    const std::uint64_t decoded = d3dx::TextureFilesDecoded();
    test::WriteFile(Path("a.tga"), SolidTga(4, 4, 0x80));
    IDirect3DTexture9* edited = Kept("a.tga");
    ASSERT_NE(edited, nullptr);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(edited->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(d3dx::TextureFilesDecoded(), decoded + 1);
    const std::uint64_t fourByFour = 64 + 16 + 4;
    EXPECT_EQ(Charged(), fourByFour * 2);
    // The same content written again is another version too: its times changed (the clock the
    // file system stamps with may tick only every few milliseconds).
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    test::WriteFile(Path("a.tga"), SolidTga(4, 4, 0x80));
    Kept("a.tga");
    EXPECT_EQ(d3dx::TextureFilesDecoded(), decoded + 2);
    EXPECT_EQ(Charged(), fourByFour * 2);
}

TEST_F(TextureCache, TheBudgetRefusesPastItsLimitWithOneMessage) {
    test::WriteFile(Path("b.tga"), SolidTga(2, 2, 0x90));
    d3dx::SetTextureMemoryLimit(kTwoByTwo * 3);
    IDirect3DTexture9* first = Loaded("a.tga");
    IDirect3DTexture9* second = Loaded("a.tga");  // shares a.tga's storage: nothing more
    EXPECT_EQ(Charged(), kTwoByTwo * 2);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 2; ++i) {
        IDirect3DTexture9* texture = first;
        EXPECT_EQ(Load("b.tga", &texture), D3DERR_OUTOFVIDEOMEMORY);
        EXPECT_EQ(texture, nullptr);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "TEXTURE: " + Path("b.tga") +
                  ": over the texture memory limit: this texture needs 40 bytes, and 40 bytes of "
                  "the device's 60 bytes is held by its decoded pictures and textures\n");
    // Released textures give their room back.
    first->Release();
    second->Release();
    EXPECT_EQ(Charged(), kTwoByTwo);
    EXPECT_NE(Kept("b.tga"), nullptr);
    EXPECT_EQ(Charged(), kTwoByTwo * 3);
}

TEST_F(TextureCache, APictureThatCannotFitIsRefusedBeforeItIsDecoded) {
    d3dx::SetTextureMemoryLimit(kTwoByTwo * 2 - 1);
    const std::uint64_t decoded = d3dx::TextureFilesDecoded();
    IDirect3DTexture9* texture = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Load("a.tga", &texture), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(Load("a.tga", &texture), D3DERR_OUTOFVIDEOMEMORY);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("this texture needs 40 bytes, and 0 bytes"), std::string::npos) << err;
    EXPECT_EQ(d3dx::TextureFilesDecoded(), decoded);
    EXPECT_EQ(Charged(), 0u);
    // With room, the same version loads.
    d3dx::SetTextureMemoryLimit(kTwoByTwo * 2);
    EXPECT_NE(Kept("a.tga"), nullptr);
}

TEST_F(TextureCache, PicturesWhoseTexturesAreGoneMakeRoom) {
    test::WriteFile(Path("b.tga"), SolidTga(2, 2, 0x90));
    d3dx::SetTextureMemoryLimit(kTwoByTwo * 5 / 2);
    IDirect3DTexture9* a = Kept("a.tga");
    d3dx::ForgetTexture(a);
    EXPECT_EQ(Charged(), kTwoByTwo);  // the cache's copy of a.tga
    EXPECT_NE(Kept("b.tga"), nullptr);
    EXPECT_EQ(Charged(), kTwoByTwo * 2);  // a.tga's picture was let go for b.tga
}

TEST_F(TextureCache, AFileThatFailsIsReportedOnceWithItsReason) {
    test::WriteFile(Path("junk.png"), "\x89PNG not really");
    testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(Load("junk.png", &texture), D3DXERR_INVALIDDATA);
        EXPECT_EQ(Load("missing.bmp", &texture), D3DXERR_INVALIDDATA);
        EXPECT_EQ(texture, nullptr);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "TEXTURE: " + Path("junk.png") + ": damaged PNG signature\nTEXTURE: " +
                  Path("missing.bmp") + ": cannot open: No such file or directory\n");
    // Mended, it loads.
    test::WriteFile(Path("junk.png"), test::SolidBmp(1, 2, 3));
    EXPECT_NE(Kept("junk.png"), nullptr);
}

// D3DXPrepareTextureFromFileA decodes ahead, silently, into the cache: the call that follows
// decodes nothing and makes the texture; a failure is kept and said by that call, once.
TEST_F(TextureCache, APicturePreparedAheadIsFoundDecoded) {
    test::WriteFile(Path("junk.png"), "\x89PNG not really");
    for (const char* name : {"a.tga", "junk.png"}) {
        SCOPED_TRACE(name);
        const bool good = name[0] == 'a';
        const std::uint64_t decoded = d3dx::TextureFilesDecoded(), charged = Charged();
        D3DXPREPARE_PROGRESS progress;
        testing::internal::CaptureStderr();
        EXPECT_EQ(D3DXPrepareTextureFromFileA(device_, Path(name).c_str(), &progress),
                  good ? D3D_OK : D3DXERR_INVALIDDATA);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(progress.bytes, test::ReadFile(Path(name)).size());
        EXPECT_EQ(d3dx::TextureFilesDecoded(), decoded + (good ? 1 : 0));
        EXPECT_EQ(Charged() - charged, good ? kTwoByTwo : 0);  // the cache's copy
        testing::internal::CaptureStderr();
        for (int i = 0; i < 2; ++i) {
            IDirect3DTexture9* texture = nullptr;
            EXPECT_EQ(Load(name, &texture), good ? D3D_OK : D3DXERR_INVALIDDATA);
            if (texture) kept_.push_back(texture);
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  good ? "" : "TEXTURE: " + Path(name) + ": damaged PNG signature\n");
        EXPECT_EQ(d3dx::TextureFilesDecoded(), decoded + (good ? 1 : 0));
    }
}

// An X file may name a texture with thousands of bytes: the line quotes 200 of them.
TEST_F(TextureCache, AMessageQuotesAtMost200BytesOfAName) {
    const std::string name = std::string(3000, 'n') + ".bmp";
    testing::internal::CaptureStderr();
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(Load(name.c_str(), &texture), D3DXERR_INVALIDDATA);
    const std::string line = testing::internal::GetCapturedStderr();
    const std::string path = Path(name.c_str());
    EXPECT_EQ(line, "TEXTURE: " + path.substr(0, 200) + "...: cannot open: File name too long\n");
}

TEST_F(TextureCache, PicturesTheIssueNamedLoadOrSayWhatIsWrong) {
    // A top-down BMP: rows top first, the height negative.
    std::string bmp = test::SolidBmp(10, 20, 30);
    const std::int32_t height = -2;
    std::memcpy(&bmp[22], &height, 4);
    test::WriteFile(Path("top_down.bmp"), bmp);
    EXPECT_NE(Kept("top_down.bmp"), nullptr);
    std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x75\x30\0\0\x75\x30\x08\x06\0\0\0", 29);
    test::WriteFile(Path("huge.png"), png + std::string(4, '\0') + std::string(100, 'x'));
    testing::internal::CaptureStderr();
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(Load("huge.png", &texture), D3DXERR_INVALIDDATA);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "TEXTURE: " + Path("huge.png") +
                  ": PNG picture of 30000 x 30000 pixels is too large: the limit is 16384 pixels a "
                  "side and 67108864 pixels in all\n");
}

TEST_F(TextureCache, ADeviceThatGoesTakesItsCountWithIt) {
    IDirect3DDevice9* device = test::RecordingDevice();
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileA(device, Path("a.tga").c_str(), &texture), D3D_OK);
    EXPECT_EQ(d3dx::TextureMemoryCharged(device), kTwoByTwo * 2);
    // The texture holds the device, which goes with it.
    EXPECT_EQ(device->Release(), 1u);
    EXPECT_EQ(d3dx::TextureMemoryCharged(device), kTwoByTwo * 2);
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(d3dx::TextureMemoryCharged(device), 0u);
}

TEST_F(TextureCache, ForgettingTheDeviceDropsItsCount) {
    Kept("a.tga");
    EXPECT_EQ(Charged(), kTwoByTwo * 2);
    d3dx::ForgetDevice(device_);
    EXPECT_EQ(Charged(), 0u);
    const std::uint64_t decoded = d3dx::TextureFilesDecoded();
    Kept("a.tga");
    EXPECT_EQ(d3dx::TextureFilesDecoded(), decoded + 1);
}

}  // namespace
