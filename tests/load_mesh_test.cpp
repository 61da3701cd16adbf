// D3DXLoadMeshFromXA on a device: the mesh's data, the material buffer's records and names, and
// the result of a missing or broken file.
#include <gtest/gtest.h>

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
    test::TempDir dir_;
    IDirect3DDevice9* device_ = nullptr;
};

TEST_F(LoadMesh, TheMeshAndItsMaterialRecordsComeBack) {
    xfile::XFileSpec spec;
    xfile::XMeshSpec cube = xfile::CubeMesh();
    cube.materialList = true;
    cube.faceMaterials = {0, 0, 1, 1, 2, 2};
    xfile::XMaterialSpec a, b, c;
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

    EXPECT_EQ(mesh->DrawSubset(2), D3D_OK);
    EXPECT_EQ(record::Log().Calls().back().Text(), "DrawSubset(mesh#1, 2) = 0");
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

}  // namespace
