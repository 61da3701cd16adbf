// Names from files written on Windows: '\' as a separator and each component matched without
// regard to case where the exact name is missing, as the D3DX services open them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/file_names.h"
#include "platform/record/record_platform.h"
#include "tests/test_files.h"
#include "tools/bmp_writer.h"

namespace {

void WriteWithFolders(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    test::WriteFile(path, bytes);
}

TEST(WindowsNames, ResolveAsTheWindowsFileSystemDid) {
    test::TempDir dir;
    for (const char* file : {"textures/checker.bmp", "dup/Sand.bmp", "dup/sand.bmp",
                             "exact/File.txt", "exact/file.txt", "Deep/Er/leaf.fxh"})
        WriteWithFolders(dir.Path(file), "x");
    const std::string root = dir.path() + "/";
    struct Case {
        const char* name;
        const char* expected;  // under the folder; empty: not found
    };
    const Case cases[] = {
        {"textures/checker.bmp", "textures/checker.bmp"},   // exact
        {"textures\\checker.bmp", "textures/checker.bmp"},  // backslash
        {"Textures/Checker.BMP", "textures/checker.bmp"},   // case
        {"TEXTURES\\CHECKER.bmp", "textures/checker.bmp"},  // both
        {"deep\\er\\LEAF.FXH", "Deep/Er/leaf.fxh"},         // every folder
        {"Textures\\\\.\\Checker.bmp", "textures/./checker.bmp"},
        {"exact/file.txt", "exact/file.txt"},  // exact beats the other case
        {"exact/FILE.txt", "exact/File.txt"},  // ambiguous: first in byte order
        {"dup/SAND.BMP", "dup/Sand.bmp"},
        {"textures/missing.bmp", ""},  // missing
        {"nothere\\checker.bmp", ""},
        {"textures\\checker.bmp\\more", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string expected = *c.expected ? root + c.expected : "";
        EXPECT_EQ(d3dx::ResolveWindowsName(root + c.name), expected);
    }
    // A relative name is taken from the current folder.
    char* before = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    EXPECT_EQ(d3dx::ResolveWindowsName("Textures\\Checker.bmp"), "textures/checker.bmp");
    EXPECT_EQ(d3dx::ResolveWindowsName(std::string("textures\0x", 10)), "");
    EXPECT_EQ(chdir(before), 0);
    std::free(before);
}

TEST(WindowsNames, MessagesQuoteAtMost200BytesOfAName) {
    EXPECT_EQ(d3dx::NameForMessage("short.bmp"), "short.bmp");
    const std::string longName(300, 'a');
    EXPECT_EQ(d3dx::NameForMessage(longName), std::string(200, 'a') + "...");
    // Not cut inside a character: "é" is two bytes, the 200th byte starting one.
    const std::string accented = std::string(199, 'a') + "\xC3\xA9" + std::string(50, 'b');
    EXPECT_EQ(d3dx::NameForMessage(accented), std::string(199, 'a') + "...");
}

TEST(WindowsNames, ATextureNamedTheWindowsWayIsFound) {
    test::TempDir dir;
    WriteWithFolders(dir.Path("textures/checker.bmp"), assets::WriteBmp(2, 2, [](int x, int y) {
                         return assets::Rgb{static_cast<std::uint8_t>(x * 255), 0,
                                            static_cast<std::uint8_t>(y * 255)};
                     }));
    record::InstallRecordingPlatform();
    IDirect3DDevice9* device = test::RecordingDevice();
    for (const char* name : {"textures\\Checker.BMP", "TEXTURES/checker.bmp"}) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(D3DXCreateTextureFromFileA(device, dir.Path(name).c_str(), &texture), D3D_OK)
            << name;
        if (texture) texture->Release();
    }
    // A missing file's message quotes a long name in part.
    testing::internal::CaptureStderr();
    IDirect3DTexture9* texture = nullptr;
    EXPECT_LT(D3DXCreateTextureFromFileA(
                  device, (dir.path() + "/" + std::string(1000, 'n')).c_str(), &texture),
              0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("..."), std::string::npos) << said;
    EXPECT_LT(said.size(), 400u) << said;
}

}  // namespace
