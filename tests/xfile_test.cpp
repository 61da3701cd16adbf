// The X file reader: the encodings agree, the mesh follows D3DX's load semantics, and hostile
// input fails cleanly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/d3dx/xfile_reader.h"
#include "tools/x_writer.h"

namespace {

using d3dx::XFileContents;
using xfile::XEncoding;
using xfile::XFileSpec;
using xfile::XFrameSpec;
using xfile::XMeshSpec;

std::vector<std::uint32_t> Indices(const d3dx::MeshData& m) {
    return {m.indices.begin(), m.indices.end()};
}

bool Read(const std::string& bytes, XFileContents& out, std::string* why = nullptr) {
    std::string error;
    const bool ok = d3dx::ReadXFile(
        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, out, error);
    if (why) *why = error;
    return ok;
}

XFileContents ReadOk(const std::string& bytes) {
    XFileContents out;
    std::string error;
    EXPECT_TRUE(Read(bytes, out, &error)) << error;
    return out;
}

// Position, normal and texture coordinate of vertex v (as laid out for XYZ|NORMAL|TEX1).
struct Vertex {
    Vec3 p, n;
    float u, v;
};
Vertex VertexAt(const d3dx::MeshData& m, std::size_t v) {
    Vertex out{};
    const std::uint8_t* src = m.vertices.data() + v * m.stride;
    std::memcpy(&out.p, src, 12);
    std::size_t at = 12;
    if (m.fvf & D3DFVF_NORMAL) std::memcpy(&out.n, src + at, 12), at += 12;
    if (m.fvf & D3DFVF_DIFFUSE) at += 4;
    if (m.fvf & D3DFVF_TEX1) std::memcpy(&out.u, src + at, 8);
    return out;
}

// A mesh with every kind of data, and a second frame's grid to pass 32 KB in every encoding.
XFileSpec RichFile() {
    XFileSpec spec;
    xfile::XMaterialSpec shared;
    shared.name = "Shared";
    shared.faceColor = {0.5f, 0.25f, 1.0f, 1.0f};
    shared.power = 12.5f;
    shared.specular = {0.125f, 0.25f, 0.375f};
    shared.emissive = {0.0625f, 0, 0.5f};
    shared.texture = "Coat Stripes.BMP";
    spec.topMaterials.push_back(shared);

    XMeshSpec cube = xfile::CubeMesh();
    for (int i = 0; i < 8; ++i) cube.texCoords.push_back({i * 0.125f, 1 - i * 0.125f});
    cube.colors = {{0, {1, 0, 0, 1}}, {5, {0, 0.5f, 1, 0.25f}}};
    cube.materialList = true;
    cube.faceMaterials = {1, 0, 1, 0, 1, 0};
    xfile::XMaterialSpec plain;
    plain.faceColor = {0.2f, 0.4f, 0.6f, 0.8f};
    cube.materials.push_back(plain);
    cube.materialRefs.push_back("Shared");

    XFrameSpec root;
    root.name = "Root";
    Matrix4 move;
    D3DXMatrixTranslation(&move, 2, 0, 0);
    root.transform = move;
    root.meshes.push_back(cube);
    XFrameSpec ground;
    ground.name = "Ground";
    ground.meshes.push_back(xfile::GridMesh(40, 0.5f));
    root.children.push_back(ground);
    spec.frames.push_back(root);
    return spec;
}

TEST(XFile, AllFiveEncodingsGiveTheSameMesh) {
    const XFileSpec spec = RichFile();
    const std::string text = xfile::WriteX(spec, XEncoding::Text);
    ASSERT_GT(text.size(), 65536u);  // the compressed forms need several blocks
    const XFileContents expected = ReadOk(text);
    for (XEncoding e :
         {XEncoding::Binary32, XEncoding::Binary64, XEncoding::TextZip, XEncoding::BinaryZip}) {
        SCOPED_TRACE(static_cast<int>(e));
        const XFileContents got = ReadOk(xfile::WriteX(spec, e));
        EXPECT_EQ(got.mesh.fvf, expected.mesh.fvf);
        EXPECT_EQ(got.mesh.vertexCount, expected.mesh.vertexCount);
        EXPECT_TRUE(got.mesh.vertices == expected.mesh.vertices);
        EXPECT_TRUE(got.mesh.indices == expected.mesh.indices);
        EXPECT_TRUE(got.mesh.attributes == expected.mesh.attributes);
        ASSERT_EQ(got.materials.size(), expected.materials.size());
        for (std::size_t i = 0; i < got.materials.size(); ++i) {
            EXPECT_EQ(std::memcmp(&got.materials[i].faceColor, &expected.materials[i].faceColor,
                                  sizeof(D3DCOLORVALUE)),
                      0);
            EXPECT_EQ(got.materials[i].texture, expected.materials[i].texture);
            EXPECT_EQ(got.materials[i].power, expected.materials[i].power);
        }
    }
    EXPECT_EQ(expected.mesh.fvf, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    EXPECT_EQ(expected.materials.size(), 3u);  // the cube's two, then the grid's one
}

TEST(XFile, ACubeWithPerFaceNormalsSplitsIntoTwentyFourVertices) {
    XFileSpec spec;
    spec.topMeshes.push_back(xfile::CubeMesh());
    const XFileContents got = ReadOk(xfile::WriteX(spec, XEncoding::Text));
    EXPECT_EQ(got.mesh.vertexCount, 24u);
    EXPECT_EQ(got.mesh.FaceCount(), 12u);
    // The first use of each position keeps its place; each vertex carries its face's normal.
    for (std::size_t f = 0; f < got.mesh.FaceCount(); ++f) {
        const Vertex a = VertexAt(got.mesh, got.mesh.indices[3 * f]);
        for (int k = 1; k < 3; ++k) {
            const Vertex b = VertexAt(got.mesh, got.mesh.indices[3 * f + k]);
            EXPECT_EQ(std::memcmp(&a.n, &b.n, 12), 0);
        }
    }
    // Shared normals do not split: the same cube with one normal per position keeps 8.
    XMeshSpec smooth = xfile::CubeMesh();
    smooth.normals = smooth.positions;
    smooth.normalFaces = smooth.faces;
    spec.topMeshes = {smooth};
    EXPECT_EQ(ReadOk(xfile::WriteX(spec, XEncoding::Text)).mesh.vertexCount, 8u);
}

TEST(XFile, PolygonsBecomeFansAndNormalsAreNormalised) {
    XMeshSpec m;
    m.positions = {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {1, 2, 0}, {0, 1, 0},
                   {5, 5, 5}, {6, 5, 5}, {6, 6, 5}, {5, 6, 5}};
    m.faces = {{0, 1, 2, 3, 4}, {5, 6, 7, 8}};
    m.normals = {{0, 0, -3}};
    m.normalFaces = {{0, 0, 0, 0, 0}, {0, 0, 0, 0}};
    XFileSpec spec;
    spec.topMeshes.push_back(m);
    const XFileContents got = ReadOk(xfile::WriteX(spec, XEncoding::Text));
    EXPECT_EQ(Indices(got.mesh),
              (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3, 0, 3, 4, 5, 6, 7, 5, 7, 8}));
    const Vertex v = VertexAt(got.mesh, 0);
    EXPECT_FLOAT_EQ(v.n.z, -1.0f);
}

TEST(XFile, NestedFramesTransformTheirMeshesAndOffsetIndices) {
    XMeshSpec tri;
    tri.positions = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    tri.faces = {{0, 1, 2}};
    XFrameSpec outer, inner;
    Matrix4 move, turn;
    D3DXMatrixTranslation(&move, 10, 0, 0);
    D3DXMatrixRotationY(&turn, 3.14159265f / 2);
    outer.transform = move;
    outer.meshes.push_back(tri);
    inner.transform = turn;
    inner.meshes.push_back(tri);
    outer.children.push_back(inner);
    XFileSpec spec;
    spec.frames.push_back(outer);
    const XFileContents got = ReadOk(xfile::WriteX(spec, XEncoding::Text));
    ASSERT_EQ(got.mesh.vertexCount, 6u);
    EXPECT_EQ(Indices(got.mesh), (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_NEAR(VertexAt(got.mesh, 0).p.x, 11.0f, 1e-5f);
    // The inner frame turns first, then the outer one moves: (1,0,0) -> (0,0,-1) -> (10,0,-1).
    const Vertex turned = VertexAt(got.mesh, 3);
    EXPECT_NEAR(turned.p.x, 10.0f, 1e-5f);
    EXPECT_NEAR(turned.p.z, -1.0f, 1e-5f);
    // Each mesh without a material list brings one default material.
    ASSERT_EQ(got.materials.size(), 2u);
    EXPECT_EQ(std::vector<DWORD>(got.mesh.attributes.begin(), got.mesh.attributes.end()),
              (std::vector<DWORD>{0, 1}));
}

TEST(XFile, AFrameMatrixAppliesOnlyToTheMeshesAfterIt) {
    XMeshSpec tri;
    tri.positions = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    tri.faces = {{0, 1, 2}};
    XFrameSpec frame;
    Matrix4 move;
    D3DXMatrixTranslation(&move, 10, 0, 0);
    frame.transform = move;
    frame.meshes.push_back(tri);
    frame.meshesBeforeTransform = true;
    XFileSpec spec;
    spec.frames.push_back(frame);
    EXPECT_FLOAT_EQ(VertexAt(ReadOk(xfile::WriteX(spec, XEncoding::Text)).mesh, 0).p.x, 1.0f);
}

TEST(XFile, MaterialsKeepTheirFieldsAndTextureNamesAsWritten) {
    const XFileContents got = ReadOk(xfile::WriteX(RichFile(), XEncoding::Text));
    const d3dx::XMaterial& plain = got.materials[0];
    EXPECT_FALSE(plain.hasTexture);
    EXPECT_FLOAT_EQ(plain.faceColor.a, 0.8f);
    const d3dx::XMaterial& shared = got.materials[1];  // through the { Shared } reference
    EXPECT_TRUE(shared.hasTexture);
    EXPECT_EQ(shared.texture, "Coat Stripes.BMP");
    EXPECT_FLOAT_EQ(shared.power, 12.5f);
    EXPECT_FLOAT_EQ(shared.specular.b, 0.375f);
    EXPECT_FLOAT_EQ(shared.specular.a, 1.0f);
    EXPECT_FLOAT_EQ(shared.emissive.b, 0.5f);
    EXPECT_FLOAT_EQ(shared.emissive.a, 1.0f);
}

TEST(XFile, FacesAreSortedIntoSubsetsByAttribute) {
    const XFileContents got = ReadOk(xfile::WriteX(RichFile(), XEncoding::Text));
    const d3dx::MeshData& m = got.mesh;
    for (std::size_t f = 1; f < m.attributes.size(); ++f)
        EXPECT_LE(m.attributes[f - 1], m.attributes[f]);
    ASSERT_EQ(m.table.size(), 3u);
    EXPECT_EQ(m.table[0].AttribId, 0u);
    EXPECT_EQ(m.table[0].FaceStart, 0u);
    EXPECT_EQ(m.table[0].FaceCount, 6u);  // three quads of the cube
    EXPECT_EQ(m.table[1].FaceStart, 6u);
    EXPECT_EQ(m.table[2].FaceCount, 2u * 40 * 40);
    // Within a subset the faces keep their order: subset 0 starts with the cube's face 1,
    // whose first corner is position 4, (0, 0, 1), moved by the root frame to (2, 0, 1).
    const Vertex first = VertexAt(m, m.indices[0]);
    EXPECT_FLOAT_EQ(first.p.x, 2.0f);
    EXPECT_FLOAT_EQ(first.p.z, 1.0f);
    EXPECT_FLOAT_EQ(first.n.z, 1.0f);
}

TEST(XFile, AMeshWithoutAMaterialListGetsOneDefaultMaterial) {
    XFileSpec spec;
    spec.topMeshes.push_back(xfile::CubeMesh());
    const XFileContents got = ReadOk(xfile::WriteX(spec, XEncoding::Binary32));
    ASSERT_EQ(got.materials.size(), 1u);
    EXPECT_FLOAT_EQ(got.materials[0].faceColor.r, 0.5f);
    EXPECT_FLOAT_EQ(got.materials[0].faceColor.a, 0.0f);
    EXPECT_FLOAT_EQ(got.materials[0].specular.g, 0.5f);
    EXPECT_FALSE(got.materials[0].hasTexture);
}

struct BadCase {
    const char* name;
    void (*spoil)(XFileSpec&);
};

TEST(XFile, BadCountsAndIndicesFail) {
    const BadCase cases[] = {
        {"face index out of range", [](XFileSpec& s) { s.topMeshes[0].faces[2][1] = 8; }},
        {"face with two corners",
         [](XFileSpec& s) {
             s.topMeshes[0].faces[0] = {0, 1};
         }},
        {"normal index out of range", [](XFileSpec& s) { s.topMeshes[0].normalFaces[1][0] = 24; }},
        {"normal face size differs",
         [](XFileSpec& s) { s.topMeshes[0].normalFaces[1].pop_back(); }},
        {"normal face count differs", [](XFileSpec& s) { s.topMeshes[0].normalFaces.pop_back(); }},
        {"texture coordinate count differs",
         [](XFileSpec& s) {
             s.topMeshes[0].texCoords.assign(7, {0, 0});
         }},
        {"material index out of range",
         [](XFileSpec& s) {
             s.topMeshes[0].materialList = true;
             s.topMeshes[0].materials.resize(1);
             s.topMeshes[0].faceMaterials.assign(6, 1);
         }},
        {"more material indices than faces",
         [](XFileSpec& s) {
             s.topMeshes[0].materialList = true;
             s.topMeshes[0].materials.resize(1);
             s.topMeshes[0].faceMaterials.assign(7, 0);
         }},
        {"unknown material reference",
         [](XFileSpec& s) {
             s.topMeshes[0].materialList = true;
             s.topMeshes[0].materialRefs = {"Nowhere"};
             s.topMeshes[0].faceMaterials.assign(6, 0);
         }},
        {"no faces at all", [](XFileSpec& s) { s.topMeshes.clear(); }},
        {"color index out of range",
         [](XFileSpec& s) {
             s.topMeshes[0].colors = {{8, {1, 1, 1, 1}}};
         }},
    };
    for (const BadCase& c : cases) {
        for (XEncoding e : {XEncoding::Text, XEncoding::Binary32}) {
            SCOPED_TRACE(std::string(c.name) + (e == XEncoding::Text ? " (text)" : " (binary)"));
            XFileSpec spec;
            spec.topMeshes.push_back(xfile::CubeMesh());
            c.spoil(spec);
            XFileContents out;
            std::string why;
            EXPECT_FALSE(Read(xfile::WriteX(spec, e), out, &why));
            EXPECT_FALSE(why.empty());
        }
    }
}

// Every prefix of a file either fails or, where only trailing bytes were cut, reads the same.
TEST(XFile, EveryTruncationFailsCleanly) {
    XFileSpec spec;
    XMeshSpec cube = xfile::CubeMesh();
    cube.materialList = true;
    cube.faceMaterials.assign(6, 0);
    xfile::XMaterialSpec mat;
    mat.texture = "a.bmp";
    cube.materials.push_back(mat);
    spec.topMeshes.push_back(cube);
    for (XEncoding e : {XEncoding::Text, XEncoding::Binary32, XEncoding::TextZip}) {
        const std::string full = xfile::WriteX(spec, e);
        const XFileContents whole = ReadOk(full);
        for (std::size_t n = 0; n < full.size(); ++n) {
            XFileContents out;
            if (Read(full.substr(0, n), out)) {
                EXPECT_TRUE(Indices(out.mesh) == Indices(whole.mesh)) << n;
            }
        }
    }
}

std::string TextFile(const std::string& body) {
    return "xof 0302txt 0032\n" + body;
}

TEST(XFile, HostileCountsNestingAndCompressionFailWithoutHarm) {
    XFileContents out;
    std::string why;
    // A count of 0xFFFFFFFF is refused before anything is allocated for it.
    EXPECT_FALSE(Read(TextFile("Mesh { 4294967295; 1;2;3;; }"), out, &why));
    EXPECT_FALSE(Read(TextFile("Mesh { 67108864; 1;2;3;; }"), out, &why));
    EXPECT_NE(why.find("larger than the file"), std::string::npos) << why;
    EXPECT_FALSE(Read(TextFile("Mesh { 3; 0;0;0;,1;0;0;,0;1;0;; 4294967295; 3;0,1,2;; }"), out));
    EXPECT_FALSE(Read(TextFile("Mesh { 3; 0;0;0;,1;0;0;,0;1;0;; 1; 4294967295;0,1,2;; }"), out));

    // Ten thousand nested frames: refused at the depth limit, not by the stack.
    std::string deep;
    for (int i = 0; i < 10000; ++i) deep += "Frame {\n";
    for (int i = 0; i < 10000; ++i) deep += "}\n";
    EXPECT_FALSE(Read(TextFile(deep), out, &why));
    EXPECT_NE(why.find("nested"), std::string::npos) << why;
    std::string deepUnknown;
    for (int i = 0; i < 10000; ++i) deepUnknown += "Whatever {\n";
    EXPECT_FALSE(Read(TextFile(deepUnknown), out));

    XFileSpec spec;
    spec.topMeshes.push_back(xfile::CubeMesh());
    const std::string zip = xfile::WriteX(spec, XEncoding::TextZip);
    // A bad deflate block.
    std::string bad = zip;
    bad[26] = static_cast<char>(bad[26] ^ 0xFF);
    bad[27] = static_cast<char>(bad[27] ^ 0x5A);
    EXPECT_FALSE(Read(bad, out, &why));
    // A block that claims more output than its data holds.
    std::string claims = zip;
    const std::uint16_t more = 60000;
    std::memcpy(&claims[20], &more, 2);
    EXPECT_FALSE(Read(claims, out, &why));
    // A declared total far beyond what the file could hold.
    std::string huge = zip;
    const std::uint32_t total = 0xFFFFFFF0u;
    std::memcpy(&huge[16], &total, 4);
    EXPECT_FALSE(Read(huge, out, &why));
    EXPECT_NE(why.find("too large"), std::string::npos) << why;
    // A block that is longer than the rest of the file.
    std::string longer = zip;
    const std::uint16_t compressed = 65000;
    std::memcpy(&longer[22], &compressed, 2);
    EXPECT_FALSE(Read(longer, out));
    // Not an X file at all, and unknown formats.
    EXPECT_FALSE(Read("hello", out));
    EXPECT_FALSE(Read("xof 0302abc 0032 Mesh {}", out));
}

TEST(XFile, TemplatesCommentsAndUnknownObjectsAreSkipped) {
    const std::string body =
        "// a comment { with braces }\n"
        "# another\n"
        "template Unused { <00000000-0000-0000-0000-000000000000> DWORD x; }\n"
        "Header { 1; 0; 1; }\n"
        "Strange Name { \"a } string\"; Nested { 1; } }\n"
        "Mesh tri { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
        "  VertexDuplicationIndices { 3; 3; 0, 1, 2; }\n"
        "}\n";
    const XFileContents got = ReadOk(TextFile(body));
    EXPECT_EQ(got.mesh.vertexCount, 3u);
    EXPECT_EQ(got.mesh.FaceCount(), 1u);
}

TEST(XFile, InflateMsZipChecksItsDeclaredSize) {
    const std::string file = "xof 0302txt 0032" + std::string(70000, 'a');
    const std::string zip = xfile::CompressX(file);
    std::vector<std::uint8_t> out;
    std::string why;
    const auto body = std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(zip.data()) + 16, zip.size() - 16);
    ASSERT_TRUE(d3dx::InflateMsZip(body, out, why)) << why;
    EXPECT_EQ(out.size(), 70000u);
    // One block missing: the output falls short of the declared size.
    EXPECT_FALSE(d3dx::InflateMsZip(body.first(body.size() - 20), out, why));
}

}  // namespace
