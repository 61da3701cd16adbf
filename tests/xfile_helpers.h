// Helpers shared by the X file tests: reading bytes held in memory, the corpus of hand-written
// files, the encodings every file is converted to, and vertex components found through the
// mesh's declaration.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/d3dx/xfile/reader.h"
#include "tests/test_files.h"
#include "tools/x_writer.h"

namespace xtest {

inline bool Read(const std::string& bytes, d3dx::XFileContents& out, std::string* why = nullptr,
                 d3dx::XFailure* failure = nullptr) {
    std::string error;
    const bool ok = d3dx::ReadXFile(
        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, out, error, failure);
    if (why) *why = error;
    return ok;
}

inline d3dx::XFileContents ReadOk(const std::string& bytes) {
    d3dx::XFileContents out;
    std::string error;
    EXPECT_TRUE(Read(bytes, out, &error)) << error;
    return out;
}

inline std::string CorpusPath(const std::string& name) {
    return std::string(TESS_SOURCE_DIR) + "/tests/data/corpus/" + name;
}

inline std::string Corpus(const std::string& name) {
    std::string text = test::ReadFile(CorpusPath(name));
    EXPECT_FALSE(text.empty()) << name;
    return text;
}

// One way of writing a file: an encoding and the binary choices exporters differ in.
struct Form {
    const char* name;
    xfile::XEncoding encoding;
    xfile::XBinaryStyle style;
};

inline const std::vector<Form>& Forms() {
    static const std::vector<Form> forms = {
        {"text", xfile::XEncoding::Text, {}},
        {"binary", xfile::XEncoding::Binary32, {}},
        {"binary, 64-bit floats", xfile::XEncoding::Binary64, {}},
        {"tzip", xfile::XEncoding::TextZip, {}},
        {"bzip", xfile::XEncoding::BinaryZip, {}},
        {"binary, lone integers", xfile::XEncoding::Binary32, {true, false}},
        {"binary, double-word string terminators", xfile::XEncoding::Binary32, {false, true}},
    };
    return forms;
}

// The bytes of element (usage, index) of vertex v, or null where the layout has none.
inline const std::uint8_t* Element(const d3dx::MeshData& m, std::size_t v, BYTE usage,
                                   BYTE index = 0, BYTE* type = nullptr) {
    for (const D3DVERTEXELEMENT9& e : d3dx::DeclarationOf(m)) {
        if (e.Stream == 0xFF) break;
        if (e.Usage == usage && e.UsageIndex == index) {
            if (type) *type = e.Type;
            return m.vertices.data() + v * m.stride + e.Offset;
        }
    }
    return nullptr;
}

inline Vec3 Vector(const d3dx::MeshData& m, std::size_t v, BYTE usage, BYTE index = 0) {
    Vec3 out{};
    if (const std::uint8_t* p = Element(m, v, usage, index)) std::memcpy(&out, p, 12);
    return out;
}

// Every field of two loads, byte for byte.
inline void ExpectSameContents(const d3dx::XFileContents& got,
                               const d3dx::XFileContents& expected) {
    EXPECT_EQ(got.mesh.fvf, expected.mesh.fvf);
    EXPECT_EQ(got.mesh.stride, expected.mesh.stride);
    const auto a = d3dx::DeclarationOf(got.mesh), b = d3dx::DeclarationOf(expected.mesh);
    EXPECT_TRUE(a.size() == b.size() &&
                std::memcmp(a.data(), b.data(), a.size() * sizeof(D3DVERTEXELEMENT9)) == 0);
    EXPECT_EQ(got.mesh.vertexCount, expected.mesh.vertexCount);
    EXPECT_TRUE(got.mesh.vertices == expected.mesh.vertices);
    EXPECT_TRUE(got.mesh.indices == expected.mesh.indices);
    EXPECT_TRUE(got.mesh.attributes == expected.mesh.attributes);
    EXPECT_EQ(got.mesh.table.size(), expected.mesh.table.size());
    ASSERT_EQ(got.materials.size(), expected.materials.size());
    for (std::size_t i = 0; i < got.materials.size(); ++i) {
        const d3dx::XMaterial &x = got.materials[i], &y = expected.materials[i];
        EXPECT_EQ(std::memcmp(&x.faceColor, &y.faceColor, sizeof x.faceColor), 0) << i;
        EXPECT_EQ(std::memcmp(&x.specular, &y.specular, sizeof x.specular), 0) << i;
        EXPECT_EQ(std::memcmp(&x.emissive, &y.emissive, sizeof x.emissive), 0) << i;
        EXPECT_EQ(std::memcmp(&x.ambient, &y.ambient, sizeof x.ambient), 0) << i;
        EXPECT_EQ(x.power, y.power) << i;
        EXPECT_EQ(x.hasTexture, y.hasTexture) << i;
        EXPECT_EQ(x.texture, y.texture) << i;
    }
}

}  // namespace xtest
