// The corpus: X files written by hand in the shapes exporters produce (templates first, comments,
// a tool's own template and objects, strings and references, skinning and animation objects,
// frames with two matrices, non-uniform scale, DeclData), converted by the writer into the binary
// and compressed encodings. Every file loads the same in every form; the binary forms hold every
// token of the format.
#include <gtest/gtest.h>

#include <set>

#include "tests/xfile_helpers.h"

namespace {

using xtest::Corpus;
using xtest::Forms;
using xtest::ReadOk;

const char* const kLoadable[] = {
    "exporter_scene.x",      "exporter_skinned.x", "frames_two_matrices.x", "nonuniform_scale.x",
    "signed_zero_normals.x", "decl_data.x",        "no_material_list.x",    "separator_variants.x",
};

TEST(XFileCorpus, EveryFileLoadsIdenticallyInEveryEncoding) {
    for (const char* name : kLoadable) {
        const std::string text = Corpus(name);
        const d3dx::XFileContents expected = ReadOk(text);
        for (const xtest::Form& form : Forms()) {
            SCOPED_TRACE(std::string(name) + ", " + form.name);
            xtest::ExpectSameContents(ReadOk(xfile::ConvertX(text, form.encoding, form.style)),
                                      expected);
        }
    }
}

TEST(XFileCorpus, AFileWithoutAMeshFailsAsSuchInEveryEncoding) {
    const std::string text = Corpus("header_only.x");
    for (const xtest::Form& form : Forms()) {
        SCOPED_TRACE(form.name);
        d3dx::XFileContents out;
        d3dx::XFailure failure = d3dx::XFailure::None;
        std::string why;
        EXPECT_FALSE(
            xtest::Read(xfile::ConvertX(text, form.encoding, form.style), out, &why, &failure));
        EXPECT_EQ(failure, d3dx::XFailure::NoMesh) << why;
    }
}

// The binary tokens of a file, walked by their record sizes.
std::multiset<std::uint16_t> Tokens(const std::string& file) {
    std::multiset<std::uint16_t> tokens;
    std::size_t at = 16;
    const auto word = [&] {
        std::uint16_t w;
        std::memcpy(&w, &file[at], 2);
        at += 2;
        return w;
    };
    const auto dword = [&] {
        std::uint32_t d;
        std::memcpy(&d, &file[at], 4);
        at += 4;
        return d;
    };
    const std::size_t floatBytes = file.compare(12, 4, "0064") == 0 ? 8 : 4;
    while (at + 2 <= file.size()) {
        const std::uint16_t t = word();
        tokens.insert(t);
        if (t == 1 || t == 2) at += dword();
        if (t == 3) at += 4;
        if (t == 5) at += 16;
        if (t == 6) at += 4 * std::size_t{dword()};
        if (t == 7) at += floatBytes * dword();
    }
    return tokens;
}

TEST(XFileCorpus, TheBinaryFormsHoldEveryTokenOfTheFormat) {
    std::multiset<std::uint16_t> seen;
    for (const char* name : kLoadable) {
        for (const xtest::Form& form : Forms()) {
            if (form.encoding != xfile::XEncoding::Binary32) continue;
            const auto tokens = Tokens(xfile::ConvertX(Corpus(name), form.encoding, form.style));
            seen.insert(tokens.begin(), tokens.end());
        }
    }
    // Record-bearing tokens, punctuation, TOKEN_TEMPLATE and the type keywords 40 to 52;
    // parentheses and angle brackets have no place in a declaration and are not written.
    for (std::uint16_t t : {1,  2,  3,  5,  6,  7,  10, 11, 14, 15, 18, 19, 20, 31,
                            40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52}) {
        EXPECT_GT(seen.count(t), 0u) << "token " << t;
    }
}

// Objects the loader does not use (skin weights, a skin header, vertex duplication indices,
// FVFData, effect instances, animations) are passed over whole: the mesh is what the file's own
// Mesh object says, nothing more.
TEST(XFileCorpus, ObjectsTheLoaderDoesNotUseArePassedOver) {
    for (const xtest::Form& form : Forms()) {
        SCOPED_TRACE(form.name);
        const d3dx::XFileContents got =
            ReadOk(xfile::ConvertX(Corpus("exporter_skinned.x"), form.encoding, form.style));
        EXPECT_EQ(got.mesh.vertexCount, 4u);
        EXPECT_EQ(got.mesh.FaceCount(), 2u);
        EXPECT_EQ(got.mesh.fvf, D3DFVF_XYZ);  // FVFData's texture coordinates are not added
        ASSERT_EQ(got.materials.size(), 1u);
        EXPECT_FLOAT_EQ(got.materials[0].power, 5.0f);
        EXPECT_FALSE(got.materials[0].hasTexture);
        EXPECT_FLOAT_EQ(xtest::Vector(got.mesh, 2, D3DDECLUSAGE_POSITION).x, 1.0f);
    }
}

TEST(XFileCorpus, NamedMaterialsReferencesAndStringsReadAsWritten) {
    for (const xtest::Form& form : Forms()) {
        SCOPED_TRACE(form.name);
        const d3dx::XFileContents got =
            ReadOk(xfile::ConvertX(Corpus("exporter_scene.x"), form.encoding, form.style));
        ASSERT_EQ(got.materials.size(), 2u);
        EXPECT_FLOAT_EQ(got.materials[0].faceColor.a, 0.8f);
        EXPECT_FALSE(got.materials[0].hasTexture);
        const d3dx::XMaterial& shared = got.materials[1];  // { Shared }
        EXPECT_EQ(shared.texture, "Coat Stripes.BMP");
        EXPECT_FLOAT_EQ(shared.power, 12.5f);
        EXPECT_FLOAT_EQ(shared.specular.b, 0.375f);
        EXPECT_FLOAT_EQ(shared.emissive.r, 0.0625f);
        // The box's 24 corners, moved by the root frame; three faces in each material.
        EXPECT_EQ(got.mesh.vertexCount, 24u);
        ASSERT_EQ(got.mesh.table.size(), 2u);
        EXPECT_EQ(got.mesh.table[0].FaceCount, 6u);
        EXPECT_EQ(got.mesh.fvf, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1);
        EXPECT_FLOAT_EQ(xtest::Vector(got.mesh, 1, D3DDECLUSAGE_POSITION).x, 3.0f);
    }
}

// Windows line ends, tabs, commas inside vectors, semicolons between face indices, a list closed
// by two semicolons and comments between values read as the plain form the writer gives.
TEST(XFileCorpus, SeparatorVariantsReadAsThePlainForm) {
    xfile::XMeshDesc m;
    m.positions = {{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 0, 0}};
    m.faces = {{0, 1, 2}, {0, 2, 3}};
    m.normals = {{0, 1, 0}};
    m.normalFaces = {{0, 0, 0}, {0, 0, 0}};
    m.texCoords = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    m.materialList = true;
    m.faceMaterials = {0, 0};
    m.materials.resize(1);
    m.materials[0].faceColor = {0.8f, 0.6f, 0.4f, 1};
    m.materials[0].power = 10;
    m.materials[0].specular = {0.5f, 0.5f, 0.5f};
    m.materials[0].texture = "sand.bmp";
    xfile::XFileDesc desc;
    desc.topMeshes = {m};
    const d3dx::XFileContents plain = ReadOk(xfile::WriteX(desc, xfile::XEncoding::Text));
    const std::string text = Corpus("separator_variants.x");
    ASSERT_NE(text.find("\r\n\t"), std::string::npos);
    for (const xtest::Form& form : Forms()) {
        SCOPED_TRACE(form.name);
        xtest::ExpectSameContents(ReadOk(xfile::ConvertX(text, form.encoding, form.style)), plain);
    }
}

}  // namespace
