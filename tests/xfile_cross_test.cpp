// Every X file we ship or write, read by another reader, assimp, as well as by ours: the default
// assets, the test data and the corpus, the files the test assets are made of, and the writer's
// output in every encoding (text, binary with 32- and 64-bit floats, tzip, bzip). The two readers
// must agree on the counts of vertices, faces and materials. assimp 5.2.5 reads all four
// encodings; the one form it refuses, strings ended by the double word that some documentation
// shows, is checked against the format's rule for string records instead.
#include <assimp/cimport.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "tests/test_assets.h"
#include "tests/xfile_helpers.h"

namespace {

struct Counts {
    bool read = false;
    unsigned vertices = 0, faces = 0, materials = 0;
};

std::ostream& operator<<(std::ostream& out, const Counts& c) {
    if (!c.read) return out << "(not read)";
    return out << c.vertices << " vertices, " << c.faces << " faces, " << c.materials
               << " materials";
}

bool operator==(const Counts& a, const Counts& b) {
    return a.read == b.read && (!a.read || (a.vertices == b.vertices && a.faces == b.faces &&
                                            a.materials == b.materials));
}

// Ours. assimp keeps one mesh per material and shares a vertex only within it, so the vertices
// are counted the same way: the distinct vertices each subset uses, summed.
Counts Ours(const std::string& bytes) {
    d3dx::XFileContents x;
    Counts c;
    c.read = xtest::Read(bytes, x);
    if (!c.read) return c;
    c.faces = x.mesh.FaceCount();
    c.materials = static_cast<unsigned>(x.materials.size());
    for (const D3DXATTRIBUTERANGE& r : x.mesh.table) {
        const std::set<std::uint32_t> used(
            x.mesh.indices.begin() + std::ptrdiff_t{3} * r.FaceStart,
            x.mesh.indices.begin() + std::ptrdiff_t{3} * (r.FaceStart + r.FaceCount));
        c.vertices += static_cast<unsigned>(used.size());
    }
    return c;
}

// assimp's, with its polygons split into triangles and its per-corner vertices joined where they
// are identical, which gives the same indexed mesh.
Counts Assimp(const std::string& bytes) {
    Counts c;
    const aiScene* scene =
        aiImportFileFromMemory(bytes.data(), static_cast<unsigned>(bytes.size()),
                               aiProcess_Triangulate | aiProcess_JoinIdenticalVertices, "x");
    // A file without a mesh: assimp gives an empty scene where ours fails.
    c.read = scene && scene->mNumMeshes > 0;
    if (!c.read) {
        if (scene) aiReleaseImport(scene);
        return c;
    }
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        c.vertices += scene->mMeshes[i]->mNumVertices;
        c.faces += scene->mMeshes[i]->mNumFaces;
    }
    c.materials = scene->mNumMaterials;
    aiReleaseImport(scene);
    return c;
}

void ExpectBothAgree(const std::string& what, const std::string& bytes) {
    SCOPED_TRACE(what);
    const Counts ours = Ours(bytes), theirs = Assimp(bytes);
    EXPECT_EQ(ours, theirs) << "ours: " << ours << "; assimp: " << theirs << " ("
                            << aiGetErrorString() << ")";
}

std::vector<std::string> XFilesIn(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() == ".x") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(XFileCrossCheck, EveryFileWeShipIsReadAlikeByAssimp) {
    const std::string root = TESS_SOURCE_DIR;
    std::vector<std::string> files = {root + "/assets/Tiger.x", root + "/assets/seafloor.x"};
    for (const std::string& dir : {root + "/tests/data", root + "/tests/data/corpus"}) {
        for (const std::string& f : XFilesIn(dir)) files.push_back(f);
    }
    EXPECT_GE(files.size(), 12u);
    for (const std::string& f : files) ExpectBothAgree(f, test::ReadFile(f));
}

// The corpus and the test assets, converted by the writer into every encoding.
TEST(XFileCrossCheck, TheWritersOutputIsReadAlikeByAssimpInEveryEncoding) {
    test::TempDir dir;
    test::WriteTestAssets(dir.path());
    std::vector<std::pair<std::string, std::string>> texts;
    for (const std::string& f : XFilesIn(dir.path())) texts.emplace_back(f, test::ReadFile(f));
    for (const std::string& f : XFilesIn(std::string(TESS_SOURCE_DIR) + "/tests/data/corpus")) {
        texts.emplace_back(f, test::ReadFile(f));
    }
    // Both meshes with material lists: where one has none beside one that has, ours gives it a
    // default material of its own and assimp lends it the other mesh's first.
    xfile::XFileDesc grid;
    grid.frames.resize(1);
    xfile::XMeshDesc cube = xfile::CubeMesh();
    cube.materialList = true;
    cube.faceMaterials = {0, 1, 0, 1, 0, 1};
    cube.materials.resize(2);
    cube.materials[1].texture = "cube.bmp";
    grid.frames[0].meshes = {xfile::GridMesh(30, 0.5f), cube};
    texts.emplace_back("a grid and a cube", xfile::WriteX(grid, xfile::XEncoding::Text));
    for (const auto& [name, text] : texts) {
        for (const xtest::Form& form : xtest::Forms()) {
            if (form.style.dwordStringTerminator) continue;  // below
            ExpectBothAgree(name + ", " + form.name,
                            xfile::ConvertX(text, form.encoding, form.style));
        }
    }
}

// The format's rules for a binary file, walked token by token: every word is a token of the
// format, every record lies inside the file, and a string record (TOKEN_STRING, a DWORD count,
// the characters) is followed by its separator, TOKEN_SEMICOLON or TOKEN_COMMA: one word as
// exporters write it, or, with `dwordSeparator`, the double word some documentation shows.
// Returns what broke a rule, or nothing.
std::string RuleBreak(const std::string& bin, bool dwordSeparator, std::size_t& strings) {
    const std::size_t floatBytes = bin.compare(12, 4, "0064") == 0 ? 8 : 4;
    std::size_t at = 16;
    const auto fits = [&](std::size_t n) { return n <= bin.size() - at; };
    const auto dword = [&] {
        std::uint32_t d;
        std::memcpy(&d, &bin[at], 4);
        at += 4;
        return std::size_t{d};
    };
    while (at < bin.size()) {
        if (!fits(2)) return "a half token at the end";
        std::uint16_t t;
        std::memcpy(&t, &bin[at], 2);
        at += 2;
        const bool standAlone = (t >= 10 && t <= 20) || t == 31 || (t >= 40 && t <= 52);
        if (standAlone) continue;
        if (t == 1 || t == 2 || t == 6 || t == 7) {
            if (!fits(4)) return "a record's count beyond the end";
            const std::size_t n = dword();
            const std::size_t bytes = t == 6 ? 4 * n : t == 7 ? floatBytes * n : n;
            if (!fits(bytes)) return "a record beyond the end";
            at += bytes;
            if (t != 2) continue;
            ++strings;
            std::uint16_t separator = 0;
            if (fits(2)) std::memcpy(&separator, &bin[at], 2);
            if (separator != 19 && separator != 20) return "a string without its separator";
            at += 2;
            if (dwordSeparator) {
                if (!fits(2) || bin[at] != 0 || bin[at + 1] != 0) return "a one-word separator";
                at += 2;
            }
        } else if (t == 3 || t == 5) {
            if (!fits(t == 3 ? 4 : 16)) return "a record beyond the end";
            at += t == 3 ? 4 : 16;
        } else {
            return "word " + std::to_string(t) + " is no token";
        }
    }
    return {};
}

TEST(XFileCrossCheck, BinaryFilesKeepTheFormatsRules) {
    for (const std::string& f : XFilesIn(std::string(TESS_SOURCE_DIR) + "/tests/data/corpus")) {
        const std::string text = test::ReadFile(f);
        for (const xtest::Form& form : xtest::Forms()) {
            if (form.encoding != xfile::XEncoding::Binary32 &&
                form.encoding != xfile::XEncoding::Binary64) {
                continue;
            }
            SCOPED_TRACE(f + ", " + form.name);
            std::size_t strings = 0;
            const std::string bin = xfile::ConvertX(text, form.encoding, form.style);
            EXPECT_EQ(RuleBreak(bin, form.style.dwordStringTerminator, strings), "");
            EXPECT_EQ(strings > 0, text.find('"') != std::string::npos);
            // The form assimp refuses reads as the word form does, by ours.
            if (form.style.dwordStringTerminator) {
                EXPECT_EQ(Ours(bin), Ours(xfile::ConvertX(text, xfile::XEncoding::Binary32)));
            }
        }
    }
    // The rule catches the 4-byte separator where a word is the rule, and the reverse.
    std::size_t strings = 0;
    const std::string text = xtest::Corpus("exporter_scene.x");
    EXPECT_NE(
        RuleBreak(xfile::ConvertX(text, xfile::XEncoding::Binary32, {false, true}), false, strings),
        "");
    EXPECT_NE(RuleBreak(xfile::ConvertX(text, xfile::XEncoding::Binary32), true, strings), "");
}

}  // namespace
