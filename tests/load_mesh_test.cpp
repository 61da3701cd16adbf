// D3DXLoadMeshFromXA on a device: the mesh's data, the material buffer's records and names, and
// the result of a missing or broken file; files that are not regular files, that cannot be
// opened or that shrink while they are read fail with the system's reason and harm nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/d3dx/prepare_ahead.h"
#include "platform/d3dx/xfile/reader.h"

#include "platform/record/call_log.h"
#include "platform/record/record_platform.h"
#include "tests/test_files.h"
#include "tools/x_writer.h"

namespace {

class LoadMesh : public ::testing::Test {
  protected:
    void SetUp() override {
        record::InstallRecordingPlatform();
        device_ = test::RecordingDevice();
    }
    void TearDown() override { device_->Release(); }
    test::TempDir dir_;
    IDirect3DDevice9* device_ = nullptr;
};

TEST_F(LoadMesh, TheMeshAndItsMaterialRecordsComeBack) {
    xfile::XFileDesc spec;
    xfile::XMeshDesc cube = xfile::CubeMesh();
    cube.materialList = true;
    cube.faceMaterials = {0, 0, 1, 1, 2, 2};
    xfile::XMaterialDesc a, b, c;
    a.faceColor = {0.5f, 0.25f, 1.0f, 0.75f};
    a.specular = {0.1f, 0.2f, 0.3f};
    a.power = 8;
    a.texture = "dir\\Tiger Skin.bmp";
    b.texture = "";
    cube.materials = {a, b, c};
    spec.topMeshes.push_back(cube);
    test::WriteFile(dir_.Path("cube.x"), xfile::WriteX(spec, xfile::XEncoding::Text));

    ID3DXBuffer* materials = nullptr;
    DWORD count = 0;
    ID3DXMesh* mesh = nullptr;
    ASSERT_EQ(D3DXLoadMeshFromXA(dir_.Path("cube.x").c_str(), D3DXMESH_SYSTEMMEM, device_, nullptr,
                                 &materials, nullptr, &count, &mesh),
              D3D_OK);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(mesh->GetNumFaces(), 12u);
    EXPECT_EQ(mesh->GetNumVertices(), 24u);
    EXPECT_EQ(mesh->GetFVF(), D3DFVF_XYZ | D3DFVF_NORMAL);
    EXPECT_EQ(mesh->GetNumBytesPerVertex(), 24u);
    EXPECT_EQ(mesh->GetOptions(), D3DXMESH_SYSTEMMEM);
    DWORD tableSize = 0;
    ASSERT_EQ(mesh->GetAttributeTable(nullptr, &tableSize), D3D_OK);
    EXPECT_EQ(tableSize, 3u);
    void* indices = nullptr;
    ASSERT_EQ(mesh->LockIndexBuffer(0, &indices), D3D_OK);
    EXPECT_LT(static_cast<const WORD*>(indices)[35], 24);  // 16-bit indices

    const auto* records = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    EXPECT_FLOAT_EQ(records[0].MatD3D.Diffuse.b, 1.0f);
    EXPECT_FLOAT_EQ(records[0].MatD3D.Diffuse.a, 0.75f);
    EXPECT_FLOAT_EQ(records[0].MatD3D.Ambient.r, 0.0f);
    EXPECT_FLOAT_EQ(records[0].MatD3D.Ambient.a, 1.0f);
    EXPECT_FLOAT_EQ(records[0].MatD3D.Specular.g, 0.2f);
    EXPECT_FLOAT_EQ(records[0].MatD3D.Power, 8.0f);
    EXPECT_STREQ(records[0].pTextureFilename, "dir\\Tiger Skin.bmp");
    ASSERT_NE(records[1].pTextureFilename, nullptr);
    EXPECT_STREQ(records[1].pTextureFilename, "");
    EXPECT_EQ(records[2].pTextureFilename, nullptr);
    EXPECT_EQ(materials->Release(), 0u);

    device_->BeginScene();
    EXPECT_EQ(mesh->DrawSubset(2), D3D_OK);
    EXPECT_EQ(record::Log().Calls().back().Text(), "DrawSubset(mesh#1, 2) = 0");
    device_->EndScene();
    mesh->Release();
}

TEST_F(LoadMesh, AMissingOrBrokenFileFailsAndLeavesNoMesh) {
    test::WriteFile(dir_.Path("broken.x"), "xof 0302txt 0032\nMesh { 3; 0;0;0;,");
    for (const char* name : {"missing.x", "broken.x"}) {
        SCOPED_TRACE(name);
        ID3DXBuffer* materials = nullptr;
        DWORD count = 77;
        ID3DXMesh* mesh = reinterpret_cast<ID3DXMesh*>(&count);
        testing::internal::CaptureStderr();
        EXPECT_EQ(D3DXLoadMeshFromXA(dir_.Path(name).c_str(), D3DXMESH_SYSTEMMEM, device_, nullptr,
                                     &materials, nullptr, &count, &mesh),
                  D3DXERR_INVALIDDATA);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err.rfind("X FILE: ", 0), 0u) << err;
        EXPECT_EQ(mesh, nullptr);
        EXPECT_EQ(materials, nullptr);
    }
}

std::uint64_t BytesReadSoFar() {
    std::ifstream in("/proc/self/io");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("rchar:", 0) == 0) return std::stoull(line.substr(6));
    }
    return 0;
}

// D3DXPrepareMeshFromXA reads ahead (on any thread) what the next D3DXLoadMeshFromXA of the same
// file and version takes instead of reading the file again: the mesh, or the failure, which the
// load says. A changed file is read anew; a cancelled preparation keeps nothing.
TEST_F(LoadMesh, AMeshPreparedAheadIsTakenByTheLoadOfTheSameVersion) {
    xfile::XFileDesc spec;
    spec.topMeshes.push_back(xfile::GridMesh(40, 0.5f));
    spec.topMeshes[0].materials.at(0).texture = "a.bmp";
    const std::string grid = xfile::WriteX(spec, xfile::XEncoding::Text);
    const std::string path = dir_.Path("grid.x");
    const std::string noMesh = "xof 0302txt 0032\n" + std::string(100000, ' ');
    const struct {
        const char* name;
        std::string prepared;  // the file when it is prepared
        std::string loaded;    // the file when it is loaded
        bool cancel;
        HRESULT prepare, load;
        bool readAgain;
    } cases[] = {
        {"unchanged", grid, grid, false, S_OK, D3D_OK, false},
        {"changed after", "xof 0302txt 0032\nHeader { 1; 0; 1; }\n", grid, false, E_FAIL, D3D_OK,
         true},
        {"no mesh", noMesh, noMesh, false, E_FAIL, E_FAIL, false},
        {"cancelled", grid, grid, true, S_FALSE, D3D_OK, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteFile(path, c.prepared);
        D3DXPREPARE_PROGRESS progress;
        progress.cancel = c.cancel;
        std::vector<std::string> textures;
        testing::internal::CaptureStderr();
        EXPECT_EQ(D3DXPrepareMeshFromXA(path.c_str(), &progress, &textures), c.prepare);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // the load speaks
        EXPECT_EQ(progress.bytes, c.prepared.size());
        if (c.prepare == S_OK) {
            EXPECT_EQ(textures, std::vector<std::string>{"a.bmp"});
        }
        if (c.loaded != c.prepared) test::WriteFile(path, c.loaded);
        const std::uint64_t before = BytesReadSoFar();
        ID3DXMesh* mesh = nullptr;
        testing::internal::CaptureStderr();
        EXPECT_EQ(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_SYSTEMMEM, device_, nullptr, nullptr,
                                     nullptr, nullptr, &mesh),
                  c.load);
        const std::uint64_t read = BytesReadSoFar() - before;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(read >= c.loaded.size(), c.readAgain) << read;
        if (c.load == D3D_OK) {
            ASSERT_NE(mesh, nullptr);
            EXPECT_EQ(mesh->GetNumVertices(), 41u * 41u);
            mesh->Release();
        } else {
            EXPECT_EQ(err, "X FILE: " + path + ": the file holds no mesh with faces\n");
        }
    }
}

// The reason a path fails to read, as the reader gives it.
std::string ReasonFor(const std::string& path) {
    d3dx::XFileContents out;
    std::string error;
    d3dx::XFailure failure = d3dx::XFailure::None;
    EXPECT_FALSE(d3dx::ReadXFileFromPath(path.c_str(), out, error, &failure));
    EXPECT_EQ(failure, d3dx::XFailure::Unreadable) << error;
    return error;
}

TEST(XFileOnDisk, FailuresToOpenCarryTheSystemsReason) {
    test::TempDir dir;
    ASSERT_EQ(symlink("b.x", dir.Path("a.x").c_str()), 0);
    ASSERT_EQ(symlink("a.x", dir.Path("b.x").c_str()), 0);
    mkdir(dir.Path("folder.x").c_str(), 0755);
    test::WriteFile(dir.Path("empty.x"), "");
    EXPECT_NE(ReasonFor(dir.Path("missing.x")).find("No such file or directory"),
              std::string::npos);
    EXPECT_NE(ReasonFor(dir.Path("a.x")).find("Too many levels of symbolic links"),
              std::string::npos);
    EXPECT_NE(ReasonFor(dir.Path("folder.x")).find("not a regular file"), std::string::npos);
    EXPECT_NE(ReasonFor(dir.Path("empty.x")).find("empty"), std::string::npos);
    if (geteuid() != 0) {  // root reads whatever the mode says
        test::WriteFile(dir.Path("locked.x"), "xof 0302txt 0032\n");
        chmod(dir.Path("locked.x").c_str(), 0);
        EXPECT_NE(ReasonFor(dir.Path("locked.x")).find("Permission denied"), std::string::npos);
    }
}

// A FIFO in place of the file: an ordinary open would wait for a writer for ever. The read runs
// in a child process with an alarm, so that a hang fails the test instead of stopping it.
TEST(XFileOnDisk, AFifoIsRefusedWithoutWaitingForAWriter) {
    test::TempDir dir;
    const std::string fifo = dir.Path("Tiger.x");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EXIT(
        {
            alarm(10);
            d3dx::XFileContents out;
            std::string error;
            const bool ok = d3dx::ReadXFileFromPath(fifo.c_str(), out, error);
            std::fprintf(stderr, "%s\n", error.c_str());
            std::_Exit(ok ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "not a regular file");
}

// A file cut short while it is read: a failed read or, if the cut came late enough, a whole one;
// never a signal. The file is a valid X file whose first object, a large unknown one, takes the
// parser a while to pass over.
TEST(XFileOnDisk, AFileThatShrinksWhileItIsReadDoesNotKillTheProcess) {
    test::TempDir dir;
    const std::string path = dir.Path("shrinking.x");
    std::string text = "xof 0302txt 0032\nPadding {\n";
    const std::string row = "0.500000;0.250000;0.125000;0.062500;0.031250;0.015625;\n";
    while (text.size() < (std::size_t{48} << 20)) text += row;
    text += "}\nMesh { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,2;; }\n";
    test::WriteFile(path, text);
    EXPECT_EXIT(
        {
            std::thread cut([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                if (truncate(path.c_str(), 4096) != 0) std::perror("truncate");
            });
            d3dx::XFileContents out;
            std::string error;
            d3dx::ReadXFileFromPath(path.c_str(), out, error);
            cut.join();
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
