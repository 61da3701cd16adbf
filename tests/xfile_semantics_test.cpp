// D3DX's load semantics, value by value, on the corpus in every encoding: the default material,
// frames with two matrices, normals under non-uniform scale and mirrors, normals equal but for
// the sign of a zero, DeclData in the declaration and the vertex buffer, and E_FAIL for a file
// without a mesh.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "platform/record/record_platform.h"
#include "tests/xfile_helpers.h"

namespace {

using xtest::Corpus;
using xtest::Forms;
using xtest::ReadOk;

// Runs `check` on the corpus file `name` in every form.
template <typename Check>
void ForEachForm(const char* name, Check&& check) {
    const std::string text = Corpus(name);
    for (const xtest::Form& form : Forms()) {
        SCOPED_TRACE(std::string(name) + ", " + form.name);
        check(ReadOk(xfile::ConvertX(text, form.encoding, form.style)));
    }
}

void ExpectVector(const Vec3& got, const Vec3& expected, float tolerance = 1e-6f) {
    EXPECT_NEAR(got.x, expected.x, tolerance);
    EXPECT_NEAR(got.y, expected.y, tolerance);
    EXPECT_NEAR(got.z, expected.z, tolerance);
}

TEST(XFileSemantics, AFileWithoutMaterialListsGetsOneDefaultMaterialForAllItsMeshes) {
    ForEachForm("no_material_list.x", [](const d3dx::XFileContents& got) {
        ASSERT_EQ(got.materials.size(), 1u);
        EXPECT_EQ(got.mesh.FaceCount(), 2u);
        EXPECT_EQ(got.mesh.attributes[0], 0u);
        EXPECT_EQ(got.mesh.attributes[1], 0u);
        ASSERT_EQ(got.mesh.table.size(), 1u);
        EXPECT_EQ(got.mesh.table[0].FaceCount, 2u);
        const d3dx::XMaterial& m = got.materials[0];
        const float diffuse[4] = {0.5f, 0.5f, 0.5f, 0.0f}, zero[4] = {0, 0, 0, 0};
        EXPECT_EQ(std::memcmp(&m.faceColor, diffuse, 16), 0);
        EXPECT_EQ(std::memcmp(&m.specular, diffuse, 16), 0);
        EXPECT_EQ(std::memcmp(&m.ambient, zero, 16), 0);
        EXPECT_EQ(std::memcmp(&m.emissive, zero, 16), 0);
        EXPECT_EQ(m.power, 0.0f);
        EXPECT_FALSE(m.hasTexture);
    });
}

// A file in which some meshes have lists: each mesh without one keeps a default material of its
// own after the materials before it, so that its faces name no other mesh's material.
TEST(XFileSemantics, AMeshWithoutAListBesideOnesWithListsGetsADefaultMaterialOfItsOwn) {
    xfile::XFileDesc desc;
    xfile::XMeshDesc listed = xfile::CubeMesh(), bare = xfile::CubeMesh();
    listed.materialList = true;
    listed.faceMaterials.assign(6, 0);
    listed.materials.resize(1);
    desc.topMeshes = {bare, listed};
    const d3dx::XFileContents got = ReadOk(xfile::WriteX(desc, xfile::XEncoding::Text));
    ASSERT_EQ(got.materials.size(), 2u);
    EXPECT_EQ(got.materials[0].faceColor.a, 0.0f);  // the default, first in file order
    EXPECT_EQ(got.materials[1].faceColor.a, 1.0f);
    EXPECT_EQ(got.mesh.table.size(), 2u);
}

TEST(XFileSemantics, TwoFrameMatricesComposeInFileOrder) {
    ForEachForm("frames_two_matrices.x", [](const d3dx::XFileContents& got) {
        ASSERT_EQ(got.mesh.vertexCount, 9u);
        // (1, 0, 0): before the inner matrices only the outer move; between them the first
        // move; after them the move, then the doubling of x, then the outer move.
        ExpectVector(xtest::Vector(got.mesh, 0, D3DDECLUSAGE_POSITION), {11, 0, 0});
        ExpectVector(xtest::Vector(got.mesh, 3, D3DDECLUSAGE_POSITION), {12, 0, 0});
        ExpectVector(xtest::Vector(got.mesh, 6, D3DDECLUSAGE_POSITION), {14, 0, 0});
        ExpectVector(xtest::Vector(got.mesh, 7, D3DDECLUSAGE_POSITION), {12, 1, 0});
    });
}

TEST(XFileSemantics, NormalsFollowTheInverseTransposeOfTheFrameMatrix) {
    ForEachForm("nonuniform_scale.x", [](const d3dx::XFileContents& got) {
        ASSERT_EQ(got.mesh.vertexCount, 6u);
        // The slope x + y = 1 stretched to x / 2 + y = 1: its normal is (1/2, 1, 0) normalised,
        // not the normal stretched, (2, 1, 0) normalised. The translation moves points only.
        const float s = 1.0f / std::sqrt(1.25f);
        ExpectVector(xtest::Vector(got.mesh, 0, D3DDECLUSAGE_NORMAL), {0.5f * s, s, 0});
        ExpectVector(xtest::Vector(got.mesh, 0, D3DDECLUSAGE_POSITION), {7, 6, 7});
        // A mirror in x turns a normal along x over; one across it is unchanged (and the
        // unnormalised (0, 3, 0) is normalised).
        ExpectVector(xtest::Vector(got.mesh, 3, D3DDECLUSAGE_NORMAL), {-1, 0, 0});
        ExpectVector(xtest::Vector(got.mesh, 4, D3DDECLUSAGE_NORMAL), {0, 1, 0});
    });
}

TEST(XFileSemantics, NormalsThatDifferOnlyInTheSignOfAZeroShareAVertex) {
    ForEachForm("signed_zero_normals.x", [](const d3dx::XFileContents& got) {
        EXPECT_EQ(got.mesh.vertexCount, 4u);
        const std::vector<std::uint32_t> indices(got.mesh.indices.begin(), got.mesh.indices.end());
        EXPECT_EQ(indices, (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3}));
        // The vertex keeps the normal of its first use, +0.
        const Vec3 n = xtest::Vector(got.mesh, 0, D3DDECLUSAGE_NORMAL);
        EXPECT_FALSE(std::signbit(n.x));
        EXPECT_EQ(n.y, 1.0f);
    });
}

struct ExpectedElement {
    WORD offset;
    BYTE type, usage, index;
};

TEST(XFileSemantics, DeclDataElementsFollowTheFilesComponentsInDeclarationAndVertices) {
    const ExpectedElement kLayout[] = {
        {0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0},
        {12, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0},
        {24, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 0},
        {32, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_TANGENT, 0},
        {44, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_BINORMAL, 0},
        {56, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 1},
        {64, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 1},
    };
    ForEachForm("decl_data.x", [&](const d3dx::XFileContents& got) {
        const auto decl = d3dx::DeclarationOf(got.mesh);
        ASSERT_EQ(decl.size(), std::size(kLayout) + 1);
        for (std::size_t i = 0; i < std::size(kLayout); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(decl[i].Stream, 0);
            EXPECT_EQ(decl[i].Offset, kLayout[i].offset);
            EXPECT_EQ(decl[i].Type, kLayout[i].type);
            EXPECT_EQ(decl[i].Method, D3DDECLMETHOD_DEFAULT);
            EXPECT_EQ(decl[i].Usage, kLayout[i].usage);
            EXPECT_EQ(decl[i].UsageIndex, kLayout[i].index);
        }
        EXPECT_EQ(decl.back().Stream, 0xFF);
        EXPECT_EQ(got.mesh.stride, 68u);
        EXPECT_EQ(got.mesh.fvf, 0u);  // no FVF has tangents
        // Position 0 has two normals: vertex 4 is its copy, with the same DeclData values.
        ASSERT_EQ(got.mesh.vertexCount, 5u);
        for (std::size_t v : {0u, 4u}) {
            ExpectVector(xtest::Vector(got.mesh, v, D3DDECLUSAGE_TANGENT), {1, 0, 0}, 0);
            ExpectVector(xtest::Vector(got.mesh, v, D3DDECLUSAGE_BINORMAL), {0, 0, 1}, 0);
        }
        ExpectVector(xtest::Vector(got.mesh, 4, D3DDECLUSAGE_NORMAL), {0, 0, -1}, 0);
        ExpectVector(xtest::Vector(got.mesh, 1, D3DDECLUSAGE_TANGENT), {0.6f, 0.8f, 0}, 0);
        float uv[2];
        std::memcpy(uv, xtest::Element(got.mesh, 3, D3DDECLUSAGE_TEXCOORD, 1), 8);
        EXPECT_EQ(uv[0], 0.7f);
        EXPECT_EQ(uv[1], 0.8f);
        D3DCOLOR specular;
        std::memcpy(&specular, xtest::Element(got.mesh, 1, D3DDECLUSAGE_COLOR, 1), 4);
        EXPECT_EQ(specular, 0x80405060u);
        std::memcpy(uv, xtest::Element(got.mesh, 2, D3DDECLUSAGE_TEXCOORD, 0), 8);
        EXPECT_EQ(uv[0], 1.0f);
    });
}

xfile::XMeshDesc QuadWith(std::vector<xfile::XDeclElement> elements, std::uint32_t wordsEach) {
    xfile::XMeshDesc m;
    m.positions = {{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 0, 0}};
    m.faces = {{0, 1, 2, 3}};
    m.normals = {{0, 1, 0}};
    m.normalFaces = {{0, 0, 0, 0}};
    m.texCoords = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    m.declElements = std::move(elements);
    for (std::uint32_t i = 0; i < 4 * wordsEach; ++i) m.declData.push_back(0x3F800000u + i);
    return m;
}

// Where the layout with DeclData is one an FVF describes, the mesh reports that FVF.
TEST(XFileSemantics, DeclDataThatAnFvfDescribesKeepsTheFvf) {
    struct Case {
        xfile::XDeclElement element;
        std::uint32_t words;
        DWORD fvf;
    };
    const Case cases[] = {
        {{D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 1},
         2,
         D3DFVF_XYZ | D3DFVF_NORMAL | (2 << D3DFVF_TEXCOUNT_SHIFT)},
        {{D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_TEXCOORD, 1},
         3,
         D3DFVF_XYZ | D3DFVF_NORMAL | (2 << D3DFVF_TEXCOUNT_SHIFT) | (1u << 18)},
        {{D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_TEXCOORD, 2}, 4, 0},  // set 1 is missing
        {{D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_TANGENT, 0}, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fvf);
        xfile::XFileDesc desc;
        desc.topMeshes = {QuadWith({c.element}, c.words)};
        const d3dx::XFileContents got = ReadOk(xfile::WriteX(desc, xfile::XEncoding::Binary32));
        EXPECT_EQ(got.mesh.fvf, c.fvf);
        EXPECT_EQ(got.mesh.stride, 32 + 4 * c.words);
        if (c.fvf) {
            EXPECT_EQ(d3dx::StrideOf(c.fvf), got.mesh.stride);
        }
    }
}

// A DeclData element whose usage the file's own components already give is dropped: the layout
// has one TEXCOORD0, from MeshTextureCoords.
TEST(XFileSemantics, ADeclDataElementRepeatingAComponentIsDropped) {
    xfile::XFileDesc desc;
    desc.topMeshes = {QuadWith({{D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                {D3DDECLTYPE_FLOAT1, 0, D3DDECLUSAGE_PSIZE, 0}},
                               3)};
    const d3dx::XFileContents got = ReadOk(xfile::WriteX(desc, xfile::XEncoding::Text));
    EXPECT_EQ(got.mesh.stride, 36u);
    EXPECT_EQ(d3dx::DeclarationOf(got.mesh).size(), 5u);
    float uv[2], size;
    std::memcpy(uv, xtest::Element(got.mesh, 2, D3DDECLUSAGE_TEXCOORD), 8);
    EXPECT_EQ(uv[0], 1.0f);
    std::memcpy(&size, xtest::Element(got.mesh, 1, D3DDECLUSAGE_PSIZE), 4);
    const std::uint32_t bits = 0x3F800000u + 3 + 2;  // position 1's third word
    EXPECT_EQ(std::memcmp(&size, &bits, 4), 0);
}

TEST(XFileSemantics, MalformedDeclDataFails) {
    struct Case {
        const char* name;
        std::vector<xfile::XDeclElement> elements;
        std::uint32_t words;
    };
    const Case cases[] = {
        {"too few words", {{D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_TANGENT, 0}}, 2},
        {"unknown type", {{17, 0, D3DDECLUSAGE_TANGENT, 0}}, 1},
        {"unknown usage", {{D3DDECLTYPE_FLOAT1, 0, 14, 0}}, 1},
        {"one usage twice",
         {{D3DDECLTYPE_FLOAT1, 0, D3DDECLUSAGE_TANGENT, 0},
          {D3DDECLTYPE_FLOAT1, 0, D3DDECLUSAGE_TANGENT, 0}},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        xfile::XFileDesc desc;
        desc.topMeshes = {QuadWith(c.elements, c.words)};
        d3dx::XFileContents out;
        d3dx::XFailure failure;
        EXPECT_FALSE(
            xtest::Read(xfile::WriteX(desc, xfile::XEncoding::Binary32), out, nullptr, &failure));
        EXPECT_EQ(failure, d3dx::XFailure::Malformed);
    }
    // Two meshes whose DeclData give one usage two types cannot share a layout.
    xfile::XFileDesc desc;
    desc.topMeshes = {QuadWith({{D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_TANGENT, 0}}, 3),
                      QuadWith({{D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_TANGENT, 0}}, 4)};
    d3dx::XFileContents out;
    d3dx::XFailure failure;
    EXPECT_FALSE(xtest::Read(xfile::WriteX(desc, xfile::XEncoding::Text), out, nullptr, &failure));
    EXPECT_EQ(failure, d3dx::XFailure::Malformed);
    // The same elements of one type are shared, and a mesh without them reads zeros there.
    desc.topMeshes[1] = QuadWith({{D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_TANGENT, 0}}, 3);
    desc.topMeshes.push_back(QuadWith({}, 0));
    const d3dx::XFileContents shared = ReadOk(xfile::WriteX(desc, xfile::XEncoding::Text));
    EXPECT_EQ(shared.mesh.stride, 44u);
    EXPECT_EQ(xtest::Vector(shared.mesh, 5, D3DDECLUSAGE_TANGENT).y,
              std::bit_cast<float>(0x3F800000u + 4));
    ExpectVector(xtest::Vector(shared.mesh, 9, D3DDECLUSAGE_TANGENT), {0, 0, 0}, 0);
}

// Through D3DXLoadMeshFromXA on a device: the material records and the mesh's layout as the
// program sees them, and the results of files without a mesh and of broken files.
class LoadedFromDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        record::InstallRecordingPlatform();
        device_ = test::RecordingDevice();
    }
    void TearDown() override { device_->Release(); }
    HRESULT Load(const std::string& bytes, ID3DXMesh** mesh, ID3DXBuffer** materials,
                 DWORD* count) {
        test::WriteFile(dir_.Path("file.x"), bytes);
        testing::internal::CaptureStderr();
        const HRESULT hr = D3DXLoadMeshFromXA(dir_.Path("file.x").c_str(), D3DXMESH_SYSTEMMEM,
                                              device_, nullptr, materials, nullptr, count, mesh);
        stderr_ = testing::internal::GetCapturedStderr();
        return hr;
    }
    test::TempDir dir_;
    IDirect3DDevice9* device_ = nullptr;
    std::string stderr_;
};

TEST_F(LoadedFromDisk, MaterialRecordsCarryD3DXsAmbientAndAlphas) {
    const struct {
        const char* file;
        std::size_t record;
        D3DMATERIAL9 expected;
    } cases[] = {
        {"no_material_list.x",
         0,
         {{0.5f, 0.5f, 0.5f, 0}, {0, 0, 0, 0}, {0.5f, 0.5f, 0.5f, 0}, {0, 0, 0, 0}, 0}},
        {"exporter_scene.x",
         1,
         {{0.5f, 0.25f, 1, 1},
          {0, 0, 0, 1},
          {0.125f, 0.25f, 0.375f, 1},
          {0.0625f, 0, 0.5f, 1},
          12.5f}},
    };
    for (const auto& c : cases) {
        for (const xtest::Form& form : Forms()) {
            SCOPED_TRACE(std::string(c.file) + ", " + form.name);
            ID3DXMesh* mesh = nullptr;
            ID3DXBuffer* buffer = nullptr;
            DWORD count = 0;
            ASSERT_EQ(Load(xfile::ConvertX(Corpus(c.file), form.encoding, form.style), &mesh,
                           &buffer, &count),
                      D3D_OK);
            ASSERT_GT(count, c.record);
            const auto* records = static_cast<const D3DXMATERIAL*>(buffer->GetBufferPointer());
            EXPECT_EQ(std::memcmp(&records[c.record].MatD3D, &c.expected, sizeof c.expected), 0);
            buffer->Release();
            mesh->Release();
        }
    }
}

TEST_F(LoadedFromDisk, TheMeshReportsItsDeclDataDeclarationAndVertices) {
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* buffer = nullptr;
    DWORD count = 0;
    ASSERT_EQ(Load(xfile::ConvertX(Corpus("decl_data.x"), xfile::XEncoding::BinaryZip), &mesh,
                   &buffer, &count),
              D3D_OK);
    D3DVERTEXELEMENT9 decl[MAX_FVF_DECL_SIZE];
    ASSERT_EQ(mesh->GetDeclaration(decl), D3D_OK);
    EXPECT_EQ(decl[3].Usage, D3DDECLUSAGE_TANGENT);
    EXPECT_EQ(decl[3].Offset, 32);
    EXPECT_EQ(decl[7].Stream, 0xFF);
    EXPECT_EQ(mesh->GetFVF(), 0u);
    EXPECT_EQ(mesh->GetNumBytesPerVertex(), 68u);
    void* vertices = nullptr;
    ASSERT_EQ(mesh->LockVertexBuffer(0, &vertices), D3D_OK);
    float binormal[3];
    std::memcpy(binormal, static_cast<const std::uint8_t*>(vertices) + std::ptrdiff_t{68} * 2 + 44,
                12);
    EXPECT_EQ(binormal[0], 1.0f);  // position 2's binormal, (1, 0, 0)
    mesh->UnlockVertexBuffer();
    buffer->Release();
    mesh->Release();
}

TEST_F(LoadedFromDisk, AFileWithAHeaderAndNoMeshFailsWithEFail) {
    for (const xtest::Form& form : Forms()) {
        SCOPED_TRACE(form.name);
        ID3DXMesh* mesh = nullptr;
        ID3DXBuffer* buffer = nullptr;
        DWORD count = 5;
        EXPECT_EQ(Load(xfile::ConvertX(Corpus("header_only.x"), form.encoding, form.style), &mesh,
                       &buffer, &count),
                  E_FAIL);
        EXPECT_EQ(mesh, nullptr);
        EXPECT_EQ(buffer, nullptr);
        EXPECT_NE(stderr_.find("no mesh"), std::string::npos) << stderr_;
    }
    // A header alone is the same; a file cut inside its mesh is bad data.
    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(Load("xof 0302txt 0032\n", &mesh, nullptr, nullptr), E_FAIL);
    EXPECT_EQ(Load("xof 0302txt 0032\nMesh { 3; 0.0;0.0;0.0;,", &mesh, nullptr, nullptr),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(mesh, nullptr);
}

}  // namespace
