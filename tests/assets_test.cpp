// The default assets are exactly what the generator makes, and the tiger reads the same in its
// text, binary and compressed forms.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/d3dx/xfile/reader.h"
#include "tests/test_files.h"

namespace {

const std::string kSource = TESS_SOURCE_DIR;

TEST(DefaultAssets, TheCommittedFilesAreTheGeneratorsOutput) {
    test::TempDir assets, data;
    const std::string command =
        std::string(TESS_ASSET_GENERATOR) + " " + assets.path() + " " + data.path();
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : {"Tiger.x", "seafloor.x", "tiger_coat.bmp", "tiger_muzzle.bmp",
                             "sand.bmp", "vertex.vsh", "pixel.psh"}) {
        SCOPED_TRACE(name);
        const std::string committed = test::ReadFile(kSource + "/assets/" + name);
        ASSERT_FALSE(committed.empty());
        EXPECT_TRUE(committed == test::ReadFile(assets.Path(name)))
            << "regenerate with asset_generator";
    }
    for (const char* name : {"Tiger_bin.x", "Tiger_tzip.x"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(test::ReadFile(kSource + "/tests/data/" + name) ==
                    test::ReadFile(data.Path(name)));
    }
}

TEST(DefaultAssets, TheTigerReadsTheSameInEveryEncoding) {
    d3dx::XFileContents text, binary, zip;
    std::string error;
    ASSERT_TRUE(d3dx::ReadXFileFromPath((kSource + "/assets/Tiger.x").c_str(), text, error))
        << error;
    ASSERT_TRUE(
        d3dx::ReadXFileFromPath((kSource + "/tests/data/Tiger_bin.x").c_str(), binary, error))
        << error;
    ASSERT_TRUE(d3dx::ReadXFileFromPath((kSource + "/tests/data/Tiger_tzip.x").c_str(), zip, error))
        << error;
    EXPECT_TRUE(text.mesh.vertices == binary.mesh.vertices);
    EXPECT_TRUE(text.mesh.vertices == zip.mesh.vertices);
    EXPECT_TRUE(text.mesh.indices == binary.mesh.indices);
    EXPECT_TRUE(text.mesh.attributes == zip.mesh.attributes);
    // A figure of a few thousand triangles in three materials, the coat textured, the eyes not.
    EXPECT_GT(text.mesh.FaceCount(), 2000u);
    EXPECT_LT(text.mesh.FaceCount(), 10000u);
    ASSERT_EQ(text.materials.size(), 3u);
    EXPECT_EQ(text.materials[0].texture, "tiger_coat.bmp");
    EXPECT_FALSE(text.materials[2].hasTexture);
    EXPECT_EQ(text.mesh.fvf, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1);
}

}  // namespace
