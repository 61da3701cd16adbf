// The X file reader: the encodings agree (the binary one with every token, in templates too),
// the mesh follows D3DX's load semantics, and hostile input fails cleanly.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>

#include "tests/xfile_helpers.h"

namespace {

using d3dx::XFileContents;
using xfile::XEncoding;
using xfile::XFileDesc;
using xfile::XFrameDesc;
using xfile::XMeshDesc;

std::vector<std::uint32_t> Indices(const d3dx::MeshData& m) {
    return {m.indices.begin(), m.indices.end()};
}

using xtest::Read;
using xtest::ReadOk;

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
XFileDesc RichFile() {
    XFileDesc spec;
    xfile::XMaterialDesc shared;
    shared.name = "Shared";
    shared.faceColor = {0.5f, 0.25f, 1.0f, 1.0f};
    shared.power = 12.5f;
    shared.specular = {0.125f, 0.25f, 0.375f};
    shared.emissive = {0.0625f, 0, 0.5f};
    shared.texture = "Coat Stripes.BMP";
    spec.topMaterials.push_back(shared);

    XMeshDesc cube = xfile::CubeMesh();
    for (int i = 0; i < 8; ++i) cube.texCoords.push_back({i * 0.125f, 1 - i * 0.125f});
    cube.colors = {{0, {1, 0, 0, 1}}, {5, {0, 0.5f, 1, 0.25f}}};
    cube.materialList = true;
    cube.faceMaterials = {1, 0, 1, 0, 1, 0};
    xfile::XMaterialDesc plain;
    plain.faceColor = {0.2f, 0.4f, 0.6f, 0.8f};
    cube.materials.push_back(plain);
    cube.materialRefs.push_back("Shared");

    XFrameDesc root;
    root.name = "Root";
    Matrix4 move;
    D3DXMatrixTranslation(&move, 2, 0, 0);
    root.transforms = {move};
    root.meshes.push_back(cube);
    XFrameDesc ground;
    ground.name = "Ground";
    ground.meshes.push_back(xfile::GridMesh(40, 0.5f));
    root.children.push_back(ground);
    spec.frames.push_back(root);
    return spec;
}

TEST(XFile, AllFiveEncodingsGiveTheSameMesh) {
    const XFileDesc spec = RichFile();
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
    XFileDesc spec;
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
    XMeshDesc smooth = xfile::CubeMesh();
    smooth.normals = smooth.positions;
    smooth.normalFaces = smooth.faces;
    spec.topMeshes = {smooth};
    EXPECT_EQ(ReadOk(xfile::WriteX(spec, XEncoding::Text)).mesh.vertexCount, 8u);
}

TEST(XFile, PolygonsBecomeFansAndNormalsAreNormalised) {
    XMeshDesc m;
    m.positions = {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {1, 2, 0}, {0, 1, 0},
                   {5, 5, 5}, {6, 5, 5}, {6, 6, 5}, {5, 6, 5}};
    m.faces = {{0, 1, 2, 3, 4}, {5, 6, 7, 8}};
    m.normals = {{0, 0, -3}};
    m.normalFaces = {{0, 0, 0, 0, 0}, {0, 0, 0, 0}};
    XFileDesc spec;
    spec.topMeshes.push_back(m);
    const XFileContents got = ReadOk(xfile::WriteX(spec, XEncoding::Text));
    EXPECT_EQ(Indices(got.mesh),
              (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3, 0, 3, 4, 5, 6, 7, 5, 7, 8}));
    const Vertex v = VertexAt(got.mesh, 0);
    EXPECT_FLOAT_EQ(v.n.z, -1.0f);
}

TEST(XFile, NestedFramesTransformTheirMeshesAndOffsetIndices) {
    XMeshDesc tri;
    tri.positions = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    tri.faces = {{0, 1, 2}};
    XFrameDesc outer, inner;
    Matrix4 move, turn;
    D3DXMatrixTranslation(&move, 10, 0, 0);
    D3DXMatrixRotationY(&turn, 3.14159265f / 2);
    outer.transforms = {move};
    outer.meshes.push_back(tri);
    inner.transforms = {turn};
    inner.meshes.push_back(tri);
    outer.children.push_back(inner);
    XFileDesc spec;
    spec.frames.push_back(outer);
    const XFileContents got = ReadOk(xfile::WriteX(spec, XEncoding::Text));
    ASSERT_EQ(got.mesh.vertexCount, 6u);
    EXPECT_EQ(Indices(got.mesh), (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_NEAR(VertexAt(got.mesh, 0).p.x, 11.0f, 1e-5f);
    // The inner frame turns first, then the outer one moves: (1,0,0) -> (0,0,-1) -> (10,0,-1).
    const Vertex turned = VertexAt(got.mesh, 3);
    EXPECT_NEAR(turned.p.x, 10.0f, 1e-5f);
    EXPECT_NEAR(turned.p.z, -1.0f, 1e-5f);
    // No mesh has a material list: one default material for both.
    ASSERT_EQ(got.materials.size(), 1u);
    EXPECT_EQ(std::vector<DWORD>(got.mesh.attributes.begin(), got.mesh.attributes.end()),
              (std::vector<DWORD>{0, 0}));
}

TEST(XFile, AFrameMatrixAppliesOnlyToTheMeshesAfterIt) {
    XMeshDesc tri;
    tri.positions = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    tri.faces = {{0, 1, 2}};
    XFrameDesc frame;
    Matrix4 move;
    D3DXMatrixTranslation(&move, 10, 0, 0);
    frame.transforms = {move};
    frame.meshes.push_back(tri);
    frame.meshesBeforeTransform = true;
    XFileDesc spec;
    spec.frames.push_back(frame);
    EXPECT_FLOAT_EQ(VertexAt(ReadOk(xfile::WriteX(spec, XEncoding::Text)).mesh, 0).p.x, 1.0f);
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

// A binary file built token by token: a template declaration holding every stand-alone token of
// the format, then the data of a text file converted.
std::string BinaryWithTemplate(int extraToken = -1) {
    std::string f = "xof 0302bin 0032";
    const auto word = [&](std::uint16_t w) { f.append(reinterpret_cast<const char*>(&w), 2); };
    const auto dword = [&](std::uint32_t d) { f.append(reinterpret_cast<const char*>(&d), 4); };
    word(31);
    word(1), dword(3), f += "Odd";
    word(10);
    word(5), f.append(16, '\x5A');
    for (std::uint16_t t = 12; t <= 20; ++t) word(t);
    for (std::uint16_t t = 40; t <= 52; ++t) word(t);
    word(3), dword(16);
    word(1), dword(4), f += "name";
    if (extraToken >= 0) word(static_cast<std::uint16_t>(extraToken));
    word(11);
    xfile::XFileDesc desc;
    desc.withTemplates = false;
    desc.topMeshes.push_back(xfile::CubeMesh());
    f += xfile::WriteX(desc, XEncoding::Binary32).substr(16);
    return f;
}

TEST(XFile, BinaryTemplatesWithEveryStandAloneTokenArePassedOver) {
    xfile::XFileDesc desc;
    desc.withTemplates = false;
    desc.topMeshes.push_back(xfile::CubeMesh());
    const XFileContents got = ReadOk(BinaryWithTemplate());
    EXPECT_TRUE(got.mesh.vertices == ReadOk(xfile::WriteX(desc, XEncoding::Text)).mesh.vertices);
    // A word that is no token of the format is malformed, in a template as anywhere.
    for (int bad : {0, 4, 8, 9, 21, 30, 32, 39, 53, 0xFFFF}) {
        XFileContents out;
        std::string why;
        EXPECT_FALSE(Read(BinaryWithTemplate(bad), out, &why)) << bad;
        EXPECT_FALSE(why.empty());
    }
}

// Exporters end a string with a 2-byte separator token; the writer does the same, and the
// double-word form some documentation shows reads the same.
TEST(XFile, ABinaryStringEndsWithATwoByteSeparator) {
    xfile::XFileDesc desc;
    desc.withTemplates = false;
    xfile::XMeshDesc cube = xfile::CubeMesh();
    cube.materialList = true;
    cube.faceMaterials = {0};
    cube.materials.resize(1);
    cube.materials[0].texture = "a.bmp";
    desc.topMeshes = {cube};
    const std::string text = xfile::WriteX(desc, XEncoding::Text);
    const std::string binary = xfile::WriteX(desc, XEncoding::Binary32);
    const std::string record(
        "\x02\x00\x05\x00\x00\x00"
        "a.bmp",
        11);
    const std::size_t at = binary.find(record);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(binary.substr(at + 11, 4), std::string("\x14\x00\x0B\x00", 4));  // ';', then '}'
    const std::string dword = xfile::ConvertX(text, XEncoding::Binary32, {false, true});
    EXPECT_EQ(dword.substr(dword.find(record) + 11, 6), std::string("\x14\x00\x00\x00\x0B\x00", 6));
    EXPECT_EQ(ReadOk(dword).materials[0].texture, "a.bmp");
    EXPECT_EQ(ReadOk(binary).materials[0].texture, "a.bmp");
}

// Text FLOAT fields have a decimal point and read back as the same float; a single FLOAT member
// (a material's power) has one separator.
TEST(XFile, TheWriterWritesFloatsAsExportersDo) {
    EXPECT_EQ(xfile::FormatFloat(0.0f), "0.000000");
    EXPECT_EQ(xfile::FormatFloat(-0.0f), "-0.000000");
    EXPECT_EQ(xfile::FormatFloat(8.0f), "8.000000");
    EXPECT_EQ(xfile::FormatFloat(0.62f), "0.620000");
    for (float f : {1.3f * 0.7071f, 1e-7f, -123456.79f, 0.1f}) {
        const std::string s = xfile::FormatFloat(f);
        EXPECT_NE(s.find('.'), std::string::npos) << s;
        float back = 0;
        std::from_chars(s.data(), s.data() + s.size(), back);
        EXPECT_EQ(back, f) << s;
    }
    xfile::XFileDesc desc;
    desc.topMaterials.resize(1);
    desc.topMaterials[0].power = 8;
    const std::string text = xfile::WriteX(desc, XEncoding::Text);
    EXPECT_NE(text.find("\n 8.000000;\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n 1.000000;1.000000;1.000000;1.000000;;\n"), std::string::npos);
}

// Text numbers read as the float nearest to their decimal value, as std::from_chars gives it:
// plain forms, exponents, signs, halfway cases and many random values of every length.
TEST(XFile, TextFloatsReadAsTheNearestFloat) {
    std::vector<std::string> numbers = {"0.000000",
                                        "-0.000000",
                                        "0.1",
                                        ".5",
                                        "5.",
                                        "+3.25",
                                        "16777217",
                                        "16777217.0",
                                        "1e-5",
                                        "-2.5E3",
                                        "123456789012345678.5",
                                        "9007199254740993",
                                        "0.30000001192092896",
                                        "3.4028235e38"};
    std::uint64_t state = 12345;
    const auto next = [&] { return state = state * 6364136223846793005u + 1442695040888963407u; };
    for (int i = 0; i < 30000; ++i) {
        const int decimals = static_cast<int>(next() >> 60) % 12;
        const double magnitude = std::pow(10.0, static_cast<int>(next() >> 61) - 3);
        const double value =
            (static_cast<double>(next() >> 11) / 9007199254740992.0 - 0.5) * magnitude;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
        numbers.push_back(buf);
    }
    std::string text = "xof 0302txt 0032\nMesh {\n" + std::to_string(numbers.size()) + ";\n";
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        text += numbers[i] + ";0.0;0.0;" + (i + 1 < numbers.size() ? ",\n" : ";\n");
    }
    text += "1;\n3;0,1,2;;\n}\n";
    const XFileContents got = ReadOk(text);
    ASSERT_EQ(got.mesh.vertexCount, numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::string& n = numbers[i];
        float expected = 0;
        std::from_chars(n.data() + (n[0] == '+'), n.data() + n.size(), expected);
        float read;
        std::memcpy(&read, got.mesh.vertices.data() + i * got.mesh.stride, 4);
        EXPECT_EQ(std::memcmp(&read, &expected, 4), 0) << n;
    }
}

struct BadCase {
    const char* name;
    void (*spoil)(XFileDesc&);
};

TEST(XFile, BadCountsAndIndicesFail) {
    const BadCase cases[] = {
        {"face index out of range", [](XFileDesc& s) { s.topMeshes[0].faces[2][1] = 8; }},
        {"face with two corners",
         [](XFileDesc& s) {
             s.topMeshes[0].faces[0] = {0, 1};
         }},
        {"normal index out of range", [](XFileDesc& s) { s.topMeshes[0].normalFaces[1][0] = 24; }},
        {"normal face size differs",
         [](XFileDesc& s) { s.topMeshes[0].normalFaces[1].pop_back(); }},
        {"normal face count differs", [](XFileDesc& s) { s.topMeshes[0].normalFaces.pop_back(); }},
        {"texture coordinate count differs",
         [](XFileDesc& s) {
             s.topMeshes[0].texCoords.assign(7, {0, 0});
         }},
        {"material index out of range",
         [](XFileDesc& s) {
             s.topMeshes[0].materialList = true;
             s.topMeshes[0].materials.resize(1);
             s.topMeshes[0].faceMaterials.assign(6, 1);
         }},
        {"more material indices than faces",
         [](XFileDesc& s) {
             s.topMeshes[0].materialList = true;
             s.topMeshes[0].materials.resize(1);
             s.topMeshes[0].faceMaterials.assign(7, 0);
         }},
        {"unknown material reference",
         [](XFileDesc& s) {
             s.topMeshes[0].materialList = true;
             s.topMeshes[0].materialRefs = {"Nowhere"};
             s.topMeshes[0].faceMaterials.assign(6, 0);
         }},
        {"no faces at all", [](XFileDesc& s) { s.topMeshes.clear(); }},
        {"color index out of range",
         [](XFileDesc& s) {
             s.topMeshes[0].colors = {{8, {1, 1, 1, 1}}};
         }},
    };
    for (const BadCase& c : cases) {
        for (XEncoding e : {XEncoding::Text, XEncoding::Binary32}) {
            SCOPED_TRACE(std::string(c.name) + (e == XEncoding::Text ? " (text)" : " (binary)"));
            XFileDesc spec;
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
    XFileDesc spec;
    XMeshDesc cube = xfile::CubeMesh();
    cube.materialList = true;
    cube.faceMaterials.assign(6, 0);
    xfile::XMaterialDesc mat;
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

    XFileDesc spec;
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
