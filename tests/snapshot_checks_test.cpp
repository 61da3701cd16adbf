// What tessaline-snapshot's CI checks measure: the colour distance and the share of differing
// pixels of --compare with its difference picture, the PNG files it reads and writes (checked
// against the PNG format's own layout), and the problems --strict notes from the call trace.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "platform/core/call_trace.h"
#include "platform/graphics_device.h"
#include "platform/window_input.h"
#include "tests/test_files.h"
#include "tools/picture_compare.h"
#include "tools/rgb_picture.h"
#include "tools/strict_watch.h"

namespace {

using snapshot::RgbPicture;

RgbPicture Solid(int width, int height, unsigned char r, unsigned char g, unsigned char b) {
    RgbPicture p;
    p.width = width;
    p.height = height;
    for (int i = 0; i < width * height; ++i) p.rgb.insert(p.rgb.end(), {r, g, b});
    return p;
}

void SetPixel(RgbPicture& p, int x, int y, unsigned char r, unsigned char g, unsigned char b) {
    unsigned char* px = &p.rgb[3 * static_cast<std::size_t>(y * p.width + x)];
    px[0] = r, px[1] = g, px[2] = b;
}

const unsigned char* Pixel(const RgbPicture& p, int x, int y) {
    return &p.rgb[3 * static_cast<std::size_t>(y * p.width + x)];
}

TEST(PictureCompare, ColourDistanceIsEuclideanInLevels) {
    const struct {
        unsigned char a[3], b[3];
        double distance;
    } cases[] = {
        {{10, 20, 30}, {10, 20, 30}, 0.0}, {{10, 20, 30}, {11, 20, 30}, 1.0},
        {{0, 0, 0}, {3, 4, 0}, 5.0},       {{0, 0, 0}, {255, 255, 255}, std::sqrt(3.0) * 255.0},
        {{200, 0, 0}, {0, 0, 0}, 200.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(snapshot::ColourDistance(c.a, c.b), c.distance);
        EXPECT_DOUBLE_EQ(snapshot::ColourDistance(c.b, c.a), c.distance);
    }
}

TEST(PictureCompare, CountsPixelsAboveTheToleranceAndMarksThem) {
    // 10 x 10 grey; pixel (1, 0) off by exactly the tolerance, (2, 0) by one more, (3, 0) far.
    const RgbPicture reference = Solid(10, 10, 100, 100, 100);
    RgbPicture frame = reference;
    SetPixel(frame, 1, 0, 116, 100, 100);
    SetPixel(frame, 2, 0, 117, 100, 100);
    SetPixel(frame, 3, 0, 0, 255, 0);
    const snapshot::PictureDifference d = snapshot::ComparePictures(frame, reference, 16.0);
    EXPECT_EQ(d.total, 100);
    EXPECT_EQ(d.differing, 2);
    EXPECT_DOUBLE_EQ(d.percent, 2.0);
    EXPECT_NEAR(d.largest, std::sqrt(100.0 * 100 + 155.0 * 155 + 100.0 * 100), 1e-9);
    ASSERT_EQ(d.picture.width, 10);
    ASSERT_EQ(d.picture.height, 10);
    const unsigned char red[3] = {255, 0, 0};
    EXPECT_EQ(std::memcmp(Pixel(d.picture, 2, 0), red, 3), 0);
    EXPECT_EQ(std::memcmp(Pixel(d.picture, 3, 0), red, 3), 0);
    // Within the tolerance but not equal: yellow; equal: the reference's grey, faded.
    EXPECT_EQ(Pixel(d.picture, 1, 0)[0], 255);
    EXPECT_EQ(Pixel(d.picture, 1, 0)[2], 0);
    EXPECT_EQ(Pixel(d.picture, 5, 5)[0], Pixel(d.picture, 5, 5)[2]);
    EXPECT_EQ(Pixel(d.picture, 5, 5)[0], 216);  // 191.25 + 100 / 4

    // A tolerance of 0 counts every unequal pixel; the same picture differs nowhere.
    EXPECT_EQ(snapshot::ComparePictures(frame, reference, 0.0).differing, 3);
    const snapshot::PictureDifference same = snapshot::ComparePictures(frame, frame, 0.0);
    EXPECT_EQ(same.differing, 0);
    EXPECT_EQ(same.largest, 0.0);
}

// PNG's layout: an 8-byte signature, then the IHDR chunk (length 13, "IHDR", width and height
// as big-endian 32-bit numbers, bit depth, colour type).
TEST(SnapshotPng, WrittenFilesFollowThePngLayoutAndReadBack) {
    test::TempDir dir;
    RgbPicture picture = Solid(300, 7, 1, 2, 3);
    SetPixel(picture, 299, 6, 250, 128, 9);
    ASSERT_TRUE(snapshot::WritePng(dir.Path("p.png"), picture));
    const std::string bytes = test::ReadFile(dir.Path("p.png"));
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(bytes.substr(8, 8), std::string("\0\0\0\x0dIHDR", 8));
    const auto be32 = [&](std::size_t at) {
        return (static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) << 24) |
               (static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 16) |
               (static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 2])) << 8) |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 3]));
    };
    EXPECT_EQ(be32(16), 300u);
    EXPECT_EQ(be32(20), 7u);
    EXPECT_EQ(bytes[24], 8);  // bits per channel
    EXPECT_EQ(bytes[25], 2);  // colour type 2: RGB
}

// What the writer filters and packs, another reader (stb_image) reads back byte for byte, at odd
// sizes too; the content varies in every channel from pixel to pixel and row to row, so a filter
// that takes the wrong neighbour shows.
TEST(SnapshotPng, EveryPictureReadsBackAsItWasWritten) {
    test::TempDir dir;
    for (const auto& [w, h] :
         std::vector<std::pair<int, int>>{{1, 1}, {3, 2}, {7, 5}, {1000, 500}}) {
        RgbPicture picture = Solid(w, h, 0, 0, 0);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                SetPixel(picture, x, y, static_cast<unsigned char>(x * 7 + y),
                         static_cast<unsigned char>(x * y + 3),
                         static_cast<unsigned char>(255 - x));
        }
        const std::string path = dir.Path(std::to_string(w) + "x" + std::to_string(h) + ".png");
        ASSERT_TRUE(snapshot::WritePng(path, picture)) << path;
        RgbPicture back;
        std::string error;
        ASSERT_TRUE(snapshot::ReadPng(path, back, error)) << path << ": " << error;
        EXPECT_EQ(back.width, w);
        EXPECT_EQ(back.height, h);
        EXPECT_EQ(back.rgb, picture.rgb) << path;
    }
}

// A write that fails is a failure with the system's reason, and never leaves a cut file in the
// target's place or a part file beside it: on a device that is full, in a folder that cannot be
// written, and when the file may grow no further (a full disk, made with RLIMIT_FSIZE in a child).
TEST(SnapshotPng, AFailedWriteSaysWhyAndLeavesNoCutFile) {
    test::TempDir dir;
    const RgbPicture picture = Solid(1000, 500, 9, 9, 9);
    std::string error;
    EXPECT_FALSE(snapshot::WritePng("/dev/full", picture, &error));
    EXPECT_EQ(error, "cannot write: No space left on device");
    EXPECT_FALSE(snapshot::WritePng(dir.Path("none/p.png"), picture, &error));
    EXPECT_EQ(error, "cannot create a file beside it: No such file or directory");

    test::WriteFile(dir.Path("old.png"), "the last good frame");
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small{100, 100};
        setrlimit(RLIMIT_FSIZE, &small);
        RgbPicture noisy = picture;
        for (std::size_t i = 0; i < noisy.rgb.size(); ++i)
            noisy.rgb[i] = static_cast<unsigned char>(i * 2654435761u >> 24);
        std::string why;
        const bool written = snapshot::WritePng(dir.Path("old.png"), noisy, &why);
        _exit(!written && why == "cannot write: File too large" ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(test::ReadFile(dir.Path("old.png")), "the last good frame");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(SnapshotPng, UnreadableReferencesSayWhy) {
    test::TempDir dir;
    test::WriteFile(dir.Path("text.png"), "not a picture at all");
    const struct {
        std::string name, says;
    } cases[] = {{"missing.png", "cannot open the file"}, {"text.png", "not a PNG picture"}};
    for (const auto& c : cases) {
        RgbPicture p;
        std::string error;
        EXPECT_FALSE(snapshot::ReadPng(dir.Path(c.name), p, error));
        EXPECT_EQ(error, c.says);
    }
}

// Stands behind the watch as TESSALINE_TRACE's file does.
class CountingTrace : public platform::CallTrace {
  public:
    std::size_t Record(std::string api, std::vector<std::string>, std::string) override {
        apis.push_back(api);
        return 100 + apis.size();
    }
    void SetResult(std::size_t call, std::string result) override {
        results.emplace_back(call, result);
    }
    std::vector<std::string> apis;
    std::vector<std::pair<std::size_t, std::string>> results;
};

TEST(StrictWatch, NotesMessageBoxesAndFailedCompilesAndPassesEveryCallOn) {
    test::TempDir dir;
    test::WriteFile(dir.Path("broken.psh"), "float4 ps_main() : COLOR0 { return 1 }\n");
    CountingTrace file;
    snapshot::StrictWatch watch(&file);
    platform::SetCallTrace(&watch);
    MessageBoxA(nullptr, "Could not find texture map!", "ERROR", MB_OK);
    LPD3DXBUFFER code = nullptr;
    const std::string missing = dir.Path("missing.vsh");
    const HRESULT notFound = D3DXCompileShaderFromFileA(
        missing.c_str(), nullptr, nullptr, "vs_main", "vs_1_1", 0, &code, nullptr, nullptr);
    const std::string broken = dir.Path("broken.psh");
    const HRESULT refused = D3DXCompileShaderFromFileA(broken.c_str(), nullptr, nullptr, "ps_main",
                                                       "ps_2_0", 0, &code, nullptr, nullptr);
    lstrlenA("not watched");
    platform::SetCallTrace(nullptr);
    ASSERT_LT(notFound, 0);
    ASSERT_LT(refused, 0);

    char notFoundCode[16], refusedCode[16];
    std::snprintf(notFoundCode, sizeof notFoundCode, "0x%08X", static_cast<unsigned>(notFound));
    std::snprintf(refusedCode, sizeof refusedCode, "0x%08X", static_cast<unsigned>(refused));
    EXPECT_EQ(watch.Problems(),
              (std::vector<std::string>{
                  "message box \"ERROR\": \"Could not find texture map!\"",
                  "compile failed: \"" + missing +
                      "\" (entry \"vs_main\", profile \"vs_1_1\"): " + notFoundCode,
                  "compile failed: \"" + broken +
                      "\" (entry \"ps_main\", profile \"ps_2_0\"): " + refusedCode,
              }));
    // Every call reaches the trace behind, and a result filled in later reaches it under the
    // position that trace gave.
    EXPECT_EQ(file.apis, (std::vector<std::string>{"MessageBoxA", "D3DXCompileShaderFromFileA",
                                                   "D3DXCompileShaderFromFileA", "lstrlenA"}));
    ASSERT_EQ(file.results.size(), 1u);
    EXPECT_EQ(file.results[0].first, 101u);
}

// A shader that compiled but that the device refused to create is a failure too, named by the
// compile of its stage that made it; a shader created is none.
TEST(StrictWatch, AShaderTheDeviceRefusesIsNamedByItsCompile) {
    snapshot::StrictWatch watch(nullptr);
    const auto compile = [&](const char* file, const char* entry, const char* profile) {
        watch.Record("D3DXCompileShaderFromFileA",
                     {file, "NULL", "NULL", entry, profile, "0", "&", "NULL", "NULL"}, "0");
    };
    compile("\"vertex.vsh\"", "\"vs_main\"", "\"vs_1_1\"");
    compile("\"pixel.psh\"", "\"ps_main\"", "\"ps_2_0\"");
    watch.Record("CreateVertexShader", {"code", "&"}, "0");
    watch.Record("CreatePixelShader", {"code", "&"}, "-2005530516");
    EXPECT_EQ(watch.Problems(),
              (std::vector<std::string>{
                  "the device refused the pixel shader compiled from \"pixel.psh\" (entry "
                  "\"ps_main\", profile \"ps_2_0\"): 0x8876086C"}));
}

TEST(StrictWatch, AGoodCompileIsNoProblem) {
    test::TempDir dir;
    test::WriteFile(dir.Path("good.psh"),
                    "float4 ps_main() : COLOR0 { return float4(1, 0, 0, 1); }\n");
    snapshot::StrictWatch watch(nullptr);
    platform::SetCallTrace(&watch);
    LPD3DXBUFFER code = nullptr;
    const std::string good = dir.Path("good.psh");
    const HRESULT hr = D3DXCompileShaderFromFileA(good.c_str(), nullptr, nullptr, "ps_main",
                                                  "ps_2_0", 0, &code, nullptr, nullptr);
    platform::SetCallTrace(nullptr);
    ASSERT_EQ(hr, D3D_OK);
    if (code) code->Release();
    EXPECT_TRUE(watch.Problems().empty());
}

}  // namespace
