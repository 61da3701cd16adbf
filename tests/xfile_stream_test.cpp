// The X reader reads a window at a time: a file is judged by its 16-byte header before its body
// is read, a compressed body is inflated block by block as the parser asks for it (and reads as
// the whole-file path reads it, byte for byte), the memory a read takes does not grow with the
// file, names and numbers longer than their limits are refused and quoted short, and a set
// cancel flag ends a read. Reads whose bytes and memory are counted run in a child process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>

#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/isolated_process.h"
#include "tests/xfile_helpers.h"

namespace {

using d3dx::XFileContents;
using xfile::XEncoding;

// A /proc/self/status or /proc/self/io field, in its own units (kB, bytes).
std::uint64_t ProcField(const char* file, const std::string& field) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(field + ":", 0) == 0) return std::stoull(line.substr(field.size() + 1));
    }
    return 0;
}

struct Counted {
    bool ok = false;
    std::uint64_t bytesRead = 0;     // by read system calls, during the read
    std::uint64_t peakGrowthKb = 0;  // resident size at its peak, over that at the start
    std::string error;
};

// Reads `path` in a child process, counting the bytes it reads and the memory it adds.
Counted ReadCounted(const std::string& path) {
    const d3dx::IsolatedResult run = d3dx::RunIsolated(
        [&] {
            const std::uint64_t rss = ProcField("/proc/self/status", "VmRSS");
            const std::uint64_t read = ProcField("/proc/self/io", "rchar");
            XFileContents out;
            std::string error;
            const bool ok = d3dx::ReadXFileFromPath(path.c_str(), out, error);
            const std::uint64_t readAfter = ProcField("/proc/self/io", "rchar");
            const std::uint64_t peak = ProcField("/proc/self/status", "VmHWM");
            return std::to_string(ok) + " " + std::to_string(readAfter - read) + " " +
                   std::to_string(peak > rss ? peak - rss : 0) + " " + error;
        },
        120000);
    EXPECT_TRUE(run.ok) << run.failure;
    Counted c;
    std::size_t a = 0, b = 0;
    c.ok = std::stoi(run.output, &a) == 1;
    c.bytesRead = std::stoull(run.output.substr(a), &b);
    std::size_t d = 0;
    c.peakGrowthKb = std::stoull(run.output.substr(a + b), &d);
    c.error = run.output.substr(std::min(run.output.size(), a + b + d + 1));
    return c;
}

// `head`, then zeros up to `size` bytes that take no room on disk.
void WriteSparse(const std::string& path, const std::string& head, off_t size) {
    test::WriteFile(path, head);
    ASSERT_EQ(truncate(path.c_str(), size), 0);
}

const char kTriangle[] = "Mesh { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,2;; }\n";

TEST(XFileStreaming, AFileIsJudgedByItsHeaderBeforeItsBodyIsRead) {
    test::TempDir dir;
    const off_t kTwoGiB = off_t{2} << 30;
    const struct {
        const char* head;
        const char* error;
    } cases[] = {
        {"", "not an X file"},
        {"xof 0302abc 0032", "unknown X file format"},
        {"xof 0302txt 0016", "unsupported float size"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        WriteSparse(dir.Path("Tiger.x"), c.head, kTwoGiB);
        const Counted read = ReadCounted(dir.Path("Tiger.x"));
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.error, c.error);
        EXPECT_LT(read.bytesRead, 4096u);
        EXPECT_LT(read.peakGrowthKb, 4096u);
    }
}

// A body far larger than the mesh: 256 MiB of white space (text) or of a large object the
// reader passes over (compressed, 32 MiB inflated) take a window's memory, not the file's.
TEST(XFileStreaming, MemoryFollowsTheMeshNotTheFile) {
    test::TempDir dir;
    WriteSparse(dir.Path("blank.x"), "xof 0302txt 0032\n", off_t{256} << 20);
    const Counted blank = ReadCounted(dir.Path("blank.x"));
    EXPECT_FALSE(blank.ok);
    EXPECT_EQ(blank.error, "the file holds no mesh with faces");
    EXPECT_GT(blank.bytesRead, std::uint64_t{256} << 20);
    EXPECT_LT(blank.peakGrowthKb, 16u << 10);

    std::string text = "xof 0302txt 0032\nPadding {\n";
    while (text.size() < (std::size_t{32} << 20)) text += "   0.000000;0.000000;0.000000;,\n";
    text += std::string("}\n") + kTriangle;
    test::WriteFile(dir.Path("padded.x"), xfile::CompressX(text));
    const Counted padded = ReadCounted(dir.Path("padded.x"));
    EXPECT_TRUE(padded.ok) << padded.error;
    EXPECT_LT(padded.peakGrowthKb, 16u << 10);
}

// The inflated body of a compressed file as an uncompressed file of the same encoding.
std::string Inflated(const std::string& zip) {
    std::vector<std::uint8_t> body;
    std::string error;
    EXPECT_TRUE(d3dx::InflateMsZip(
        {reinterpret_cast<const std::uint8_t*>(zip.data()) + 16, zip.size() - 16}, body, error))
        << error;
    std::string file = zip.substr(0, 16);
    file.replace(8, 4, zip.compare(8, 4, "tzip") == 0 ? "txt " : "bin ");
    return file + std::string(body.begin(), body.end());
}

// Every compressed file we ship or write, with blocks of several sizes (so that blocks end
// anywhere in the window) and a grid larger than the window and the read-ahead: the streamed
// reader, with its inflating thread, gives what the whole-file path gives, byte for byte, and
// what the uncompressed original gives.
TEST(XFileStreaming, TheStreamedReaderReadsCompressedFilesAsTheWholeFilePathDoes) {
    test::TempDir dir;
    struct Source {
        std::string name, text;  // text: the uncompressed original, where there is one
        std::string zip;
    };
    std::vector<Source> files;
    for (const char* shipped : {"tests/data/Tiger_tzip.x", "tests/fuzz/corpus/xfile/tzip.x",
                                "tests/fuzz/corpus/xfile/bzip.x"}) {
        files.push_back(
            {shipped, "", test::ReadFile(std::string(TESS_SOURCE_DIR) + "/" + shipped)});
    }
    xfile::XFileDesc grid;
    grid.topMeshes.push_back(xfile::GridMesh(160, 0.25f));
    std::vector<std::pair<std::string, std::string>> texts = {
        {"grid", xfile::WriteX(grid, XEncoding::Text)}};
    for (const char* name : {"exporter_scene.x", "decl_data.x", "frames_two_matrices.x"})
        texts.emplace_back(name, xtest::Corpus(name));
    for (const auto& [name, text] : texts) {
        for (XEncoding e : {XEncoding::Text, XEncoding::Binary32}) {
            const std::string plain = e == XEncoding::Text ? text : xfile::ConvertX(text, e);
            for (std::size_t block : {32768u, 4096u, 777u}) {
                if (name == "grid" && block < 4096) continue;  // 20,000 blocks take a while
                files.push_back(
                    {name + (e == XEncoding::Text ? " tzip " : " bzip ") + std::to_string(block),
                     plain, xfile::CompressX(plain, block)});
            }
        }
    }
    // The grid is larger than the window and the read-ahead's chunks together.
    ASSERT_GT(Inflated(files[3].zip).size(), std::size_t{3} << 20) << files[3].name;
    for (const Source& f : files) {
        SCOPED_TRACE(f.name);
        test::WriteFile(dir.Path("file.x"), f.zip);
        XFileContents streamed;
        std::string error;
        ASSERT_TRUE(d3dx::ReadXFileFromPath(dir.Path("file.x").c_str(), streamed, error)) << error;
        xtest::ExpectSameContents(streamed, xtest::ReadOk(Inflated(f.zip)));
        if (!f.text.empty()) xtest::ExpectSameContents(streamed, xtest::ReadOk(f.text));
    }
}

// A texture name (a string) or an object name longer than 4096 bytes is refused before it is
// kept, in either encoding, and the message quotes 200 bytes of it; one of 4096 is read. A
// number longer than the window's look-ahead is refused, not read as two.
TEST(XFileStreaming, NamesAndNumbersPastTheirLimitsAreRefusedAndQuotedShort) {
    const auto withTexture = [](std::size_t length) {
        return "xof 0302txt 0032\nMesh { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; "
               "3;0,1,2;;\nMeshMaterialList { 1; 1; 0;; Material { 1.0;1.0;1.0;1.0;; 0.0; "
               "0.0;0.0;0.0;; 0.0;0.0;0.0;;\n"
               "TextureFilename { \"" +
               std::string(length, 'n') + "\"; } } } }\n";
    };
    for (XEncoding e : {XEncoding::Text, XEncoding::Binary32, XEncoding::BinaryZip}) {
        SCOPED_TRACE(static_cast<int>(e));
        const auto in = [e](const std::string& text) {
            return e == XEncoding::Text ? text : xfile::ConvertX(text, e);
        };
        EXPECT_EQ(xtest::ReadOk(in(withTexture(4096))).materials.at(0).texture.size(), 4096u);
        for (std::size_t length : {std::size_t{4097}, std::size_t{3} << 20}) {
            XFileContents out;
            std::string why;
            EXPECT_FALSE(xtest::Read(in(withTexture(length)), out, &why));
            EXPECT_EQ(
                why.rfind("a string of more than 4096 bytes (\"" + std::string(200, 'n') + "...\")",
                          0),
                0u)
                << why.substr(0, 300);
            EXPECT_LT(why.size(), 300u);
        }
        XFileContents out;
        std::string why;
        EXPECT_FALSE(xtest::Read(
            in("xof 0302txt 0032\nFrame " + std::string(5000, 'f') + " {}\n" + kTriangle), out,
            &why));
        EXPECT_EQ(why.rfind("a name of more than 4096 bytes", 0), 0u) << why.substr(0, 300);
    }
    XFileContents out;
    std::string why;
    EXPECT_FALSE(xtest::Read("xof 0302txt 0032\nMesh { 3; 0." + std::string(20000, '0') +
                                 "1;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n",
                             out, &why));
    EXPECT_EQ(why.rfind("a number of more than 8192 characters", 0), 0u) << why;
}

TEST(XFileStreaming, ASetCancelFlagEndsTheRead) {
    test::TempDir dir;
    test::WriteFile(dir.Path("Tiger.x"), std::string("xof 0302txt 0032\n") + kTriangle);
    for (const bool cancelled : {false, true}) {
        const std::atomic<bool> cancel{cancelled};
        XFileContents out;
        std::string error;
        d3dx::XFailure failure = d3dx::XFailure::None;
        d3dx::XReadOptions options;
        options.cancel = &cancel;
        EXPECT_EQ(
            d3dx::ReadXFileFromPath(dir.Path("Tiger.x").c_str(), out, error, &failure, options),
            !cancelled)
            << error;
        if (cancelled) {
            EXPECT_EQ(error.rfind("the read was cancelled", 0), 0u) << error;
            EXPECT_EQ(failure, d3dx::XFailure::Unreadable);
        }
    }
}

// Values of a binary list past those an object takes are passed over, as the text form passes
// over a stray value: a material's list of twelve floats reads as its eleven.
TEST(XFileStreaming, ExtraValuesInABinaryListArePassedOver) {
    const std::string text =
        "xof 0302txt 0032\nMesh { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,2;;\n"
        "MeshMaterialList { 1; 1; 0;; Material { 1.0;0.5;0.25;1.0;; 7.0; 0.1;0.2;0.3;; "
        "0.4;0.5;0.6;; 0.7; TextureFilename { \"a.bmp\"; } } } }\n";
    const XFileContents expected = xtest::ReadOk(text);
    ASSERT_EQ(expected.materials.size(), 1u);
    EXPECT_EQ(expected.materials[0].texture, "a.bmp");
    xtest::ExpectSameContents(xtest::ReadOk(xfile::ConvertX(text, XEncoding::Binary32)), expected);
}

}  // namespace
