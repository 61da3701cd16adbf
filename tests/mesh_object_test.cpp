// Mesh objects on the recording device: loading with its material copies and texture boxes,
// placement, the world matrix and drawing.
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/record/record_platform.h"
#include "render/graphics.h"
#include "scene/mesh_object.h"
#include "tests/test_assets.h"
#include "tests/test_files.h"
#include "tests/test_support.h"
#include "tools/x_writer.h"

namespace {

using platform::Verbatim;
using test::Args;
using test::CallText;

constexpr float kPi = 3.14159265f;

// A mesh object whose mesh and textures go with it (the program's live as long as it runs).
struct TestMeshObject : MeshObject {
    ~TestMeshObject() { ReleaseResources(); }
};

class MeshObjects : public ::testing::Test {
  protected:
    void SetUp() override {
        getcwd(previous_, sizeof previous_);
        ASSERT_EQ(chdir(dir_.path().c_str()), 0);
        record::InstallRecordingPlatform();
        device = test::RecordingDevice();
        test::WriteTestAssets(dir_.path());
        record::Log().Clear();
    }
    void TearDown() override {
        device->Release();
        device = nullptr;
        chdir(previous_);
    }

    // A mesh whose materials name the given textures (empty optional: none).
    void WriteMesh(const std::string& name, const std::vector<std::optional<std::string>>& textures,
                   float diffuseAlpha = 1.0f) {
        xfile::XMeshDesc mesh = xfile::CubeMesh();
        mesh.materialList = true;
        for (std::size_t i = 0; i < textures.size(); ++i) {
            xfile::XMaterialDesc m;
            m.faceColor = {0.5f, 0.25f, 1.0f, diffuseAlpha};
            m.texture = textures[i];
            mesh.materials.push_back(m);
        }
        for (int f = 0; f < 6; ++f)
            mesh.faceMaterials.push_back(static_cast<std::uint32_t>(f % textures.size()));
        xfile::XFileDesc spec;
        spec.topMeshes.push_back(mesh);
        test::WriteFile(name, xfile::WriteX(spec, xfile::XEncoding::Text));
    }

    std::vector<std::string> Calls(std::initializer_list<std::string_view> apis) {
        return test::TextsOf(record::Log().Calls(), apis);
    }

    test::TempDir dir_;
    char previous_[4096] = {};
};

Vec3 Transformed(const Matrix4& m, Vec3 v) {
    Vec3 out;
    D3DXVec3TransformCoord(&out, &v, &m);
    return out;
}

TEST_F(MeshObjects, LoadingCopiesMaterialsWithDiffuseAsAmbientAndMakesTextures) {
    TestMeshObject object;
    object.Load("Tiger.x");
    ASSERT_EQ(object.materialCount, 2u);
    ASSERT_NE(object.mesh, nullptr);
    const D3DMATERIAL9& coat = object.materials[0];
    EXPECT_EQ(FmtValue(coat.Ambient), FmtValue(coat.Diffuse));
    EXPECT_NE(object.textures[0], nullptr);
    EXPECT_EQ(object.textures[1], nullptr);  // the plain material names no texture
    EXPECT_TRUE(Calls({"MessageBoxA"}).empty());
    // The placement starts at zero, whatever the file holds.
    EXPECT_EQ(FmtValue(object.position), "(0 0 0)");
    EXPECT_EQ(FmtValue(object.rotation), "(0 0 0)");
    Matrix4 identity;
    D3DXMatrixIdentity(&identity);
    EXPECT_EQ(FmtValue(object.translation), FmtValue(identity));
}

TEST_F(MeshObjects, AmbientTakesAllFourDiffuseComponentsAlphaIncluded) {
    WriteMesh("glass.x", {std::nullopt}, 0.25f);
    TestMeshObject object;
    object.Load("glass.x");
    ASSERT_EQ(object.materialCount, 1u);
    EXPECT_EQ(FmtValue(object.materials[0].Ambient), "(0.5 0.25 1 0.25)");
    // And so it reaches the device.
    device->BeginScene();
    record::Log().Clear();
    object.Draw();
    EXPECT_EQ(Calls({"SetMaterial"}),
              std::vector<std::string>{CallText(
                  "SetMaterial",
                  Args(Verbatim{"{diffuse (0.5 0.25 1 0.25) ambient (0.5 0.25 1 0.25) specular "
                                "(0 0 0 1) emissive (0 0 0 1) power 0}"}),
                  "0")});
}

TEST_F(MeshObjects, EveryMaterialWhoseTextureFailsGetsItsOwnBox) {
    WriteMesh("three.x",
              {"missing.bmp", "missing.bmp", "missing.bmp", std::string(""), std::nullopt});
    TestMeshObject object;
    object.Load("three.x");
    ASSERT_EQ(object.materialCount, 5u);
    const std::string box = CallText(
        "MessageBoxA", Args(Verbatim{"NULL"}, "Could not find texture map!", "ERROR", 0), "1");
    EXPECT_EQ(Calls({"MessageBoxA"}), (std::vector<std::string>{box, box, box}));
    // Each material tries its own texture: no sharing between materials.
    EXPECT_EQ(Calls({"D3DXCreateTextureFromFileA"}).size(), 3u);
    for (DWORD i = 0; i < 5; ++i) EXPECT_EQ(object.textures[i], nullptr);
    // Those subsets still draw, without a texture.
    record::Log().Clear();
    object.Draw();
    EXPECT_EQ(Calls({"DrawSubset"}).size(), 5u);
}

TEST_F(MeshObjects, AFailedLoadShowsTheFileNameAndLeavesAnObjectThatDrawsNothing) {
    TestMeshObject object;
    object.SetPosition(1, 2, 3);
    object.Load("Nowhere.x");
    EXPECT_EQ(Calls({"MessageBoxA"}),
              std::vector<std::string>{CallText(
                  "MessageBoxA", Args(Verbatim{"NULL"}, "Nowhere.x", "CAN'T LOAD MESH!", 0), "1")});
    EXPECT_EQ(object.mesh, nullptr);
    EXPECT_EQ(object.materialCount, 0u);
    EXPECT_EQ(FmtValue(object.position), "(0 0 0)");
    record::Log().Clear();
    object.SetPosition(0, 8.5f, 3);
    object.Draw();
    EXPECT_TRUE(record::Log().Calls().empty());
}

TEST_F(MeshObjects, DrawSetsTheSameWorldBeforeEverySubset) {
    TestMeshObject object;
    object.Load("Tiger.x");
    object.SetPosition(1, 2, 3);
    object.SetRotation(10, 20, 30);
    device->BeginScene();  // the device draws only inside a scene
    record::Log().Clear();
    object.Draw();
    const std::vector<std::string> worlds = Calls({"SetTransform"});
    ASSERT_EQ(worlds.size(), 2u);
    EXPECT_EQ(worlds[0], worlds[1]);
    EXPECT_EQ(Calls({"DrawSubset"}),
              (std::vector<std::string>{"DrawSubset(mesh#1, 0) = 0", "DrawSubset(mesh#1, 1) = 0"}));
    // After the draw the device keeps the last subset's material and texture.
    EXPECT_EQ(Calls({"SetTexture"}).back(), CallText("SetTexture", Args(0, Verbatim{"NULL"}), "0"));
}

struct PlacementCase {
    const char* name;
    Vec3 rotation, position, model, world;
};

TEST_F(MeshObjects, TheWorldTurnsAboutYThenXThenZAndMovesLast) {
    const PlacementCase cases[] = {
        {"Y before X", {90, 90, 0}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
        {"X before Z", {90, 0, 90}, {0, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {"translation last", {0, 90, 0}, {1, 2, 3}, {1, 0, 0}, {1, 2, 2}},
        {"450 degrees is 90", {0, 450, 0}, {0, 0, 0}, {0, 0, 1}, {1, 0, 0}},
    };
    TestMeshObject object;
    object.Load("Tiger.x");
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.name);
        object.SetPlacement(c.position.x, c.position.y, c.position.z, c.rotation.x, c.rotation.y,
                            c.rotation.z);
        object.ApplyWorld();
        const Vec3 w = Transformed(object.world, c.model);
        EXPECT_NEAR(w.x, c.world.x, 1e-5f);
        EXPECT_NEAR(w.y, c.world.y, 1e-5f);
        EXPECT_NEAR(w.z, c.world.z, 1e-5f);
    }
    Matrix4 ninety;
    D3DXMatrixRotationY(&ninety, kPi / 2);
    object.SetPlacement(0, 0, 0, 0, 450, 0);
    object.ApplyWorld();
    for (int r = 0; r < 4; ++r) {
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(object.world.m[r][k], ninety.m[r][k], 1e-5f);
    }
}

TEST_F(MeshObjects, SettersChangeOnlyTheirOwnFields) {
    TestMeshObject object;
    object.Load("Tiger.x");
    object.SetPosition(0, 8.5f, 3);
    object.SetRotation(1, 2, 3);
    EXPECT_EQ(FmtValue(object.translation), "[1 0 0 0; 0 1 0 0; 0 0 1 0; 0 8.5 3 1]");
    object.SetRotation(4, 5, 6);
    EXPECT_EQ(FmtValue(object.position), "(0 8.5 3)");
    EXPECT_EQ(FmtValue(object.translation), "[1 0 0 0; 0 1 0 0; 0 0 1 0; 0 8.5 3 1]");
    object.SetPosition(7, 8, 9);
    EXPECT_EQ(FmtValue(object.rotation), "(4 5 6)");
    EXPECT_TRUE(record::Only(record::Log().Calls(), {"SetTransform"}).empty());
}

TEST_F(MeshObjects, TheSceneTableRefusesAnObjectWhenFull) {
    sceneTable = SceneTable{};
    sceneTable.count = SceneTable::kCapacity - 1;
    ASSERT_NE(AddSceneObject("Tiger.x"), nullptr);
    EXPECT_EQ(sceneTable.count, SceneTable::kCapacity);
    EXPECT_EQ(AddSceneObject("Tiger.x"), nullptr);
    EXPECT_EQ(sceneTable.count, SceneTable::kCapacity);
    EXPECT_EQ(Calls({"D3DXLoadMeshFromXA"}).size(), 1u);
    MeshObject* added = sceneTable.slots[SceneTable::kCapacity - 1];
    added->ReleaseResources();
    delete added;
    sceneTable = SceneTable{};
}

}  // namespace
