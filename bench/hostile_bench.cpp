// The readers on small (or sparse) files that claim much: each file is written by this program,
// then read in a child process of its own through the D3DX entry points (D3DXLoadMeshFromXA's
// reader, D3DXCreateTextureFromFileA on a recording device), and printed with the time, the
// child's peak resident size (VmHWM) and the reader's answer.
//
//   hostile_bench DIR [CASE...]   writes the files into DIR (once) and measures each case
//
// The cases: a compressed X file whose text inflates to 1 GiB around a small mesh, and one of
// 1.5 GiB; a 2 GiB file that is not an X file and a 2 GiB X file of white space (both sparse);
// an X file naming a 64 MiB texture; a 65 KB PNG and a 2.6 MB run-length TGA of 9000 x 7456
// pixels (a 16384 x 8192 texture); the largest pictures let in, 16384 x 4096, and one of
// 16383 x 4096 that is resampled to that size.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/d3dx/xfile/reader.h"
#include "platform/record/record_platform.h"
#include "tests/presentation.h"

namespace {

constexpr std::size_t kBlock = 32768;
const char kSmallMesh[] =
    "Mesh small {\n 3;\n 0.0;0.0;0.0;,\n 1.0;0.0;0.0;,\n 0.0;1.0;0.0;;\n 1;\n 3;0,1,2;;\n}\n";

void Put32(std::string& s, std::uint32_t v) {
    s.append(reinterpret_cast<const char*>(&v), 4);
}

// One MSZIP block: sizes, "CK", raw deflate that may refer back into `dictionary`.
std::string MsZipBlock(const std::string& data, const std::string& dictionary) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    if (!dictionary.empty()) {
        deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dictionary.data()),
                             static_cast<uInt>(dictionary.size()));
    }
    std::vector<Bytef> out(deflateBound(&z, data.size()) + 16);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    const std::size_t n = out.size() - z.avail_out;
    deflateEnd(&z);
    std::string block;
    const std::uint16_t sizes[2] = {static_cast<std::uint16_t>(data.size()),
                                    static_cast<std::uint16_t>(n + 2)};
    block.append(reinterpret_cast<const char*>(sizes), 4);
    block += "CK";
    block.append(reinterpret_cast<const char*>(out.data()), n);
    return block;
}

// A tzip file: a first block that opens an object the reader passes over, `paddingBlocks` blocks
// of number lines inside it (each block the same, so it is compressed once), then the close and
// a small mesh.
std::string InflatingX(std::size_t paddingBlocks) {
    std::string first = "xof 0302txt 0032\nAnimationKey padding {\n";
    first.resize(16 + kBlock, ' ');
    first.back() = '\n';
    std::string line = "   0.000000;0.000000;0.000000;,\n";  // 32 bytes: a block is whole lines
    std::string padding;
    while (padding.size() < kBlock) padding += line;
    const std::string last = std::string("}\n") + kSmallMesh;
    std::string file = "xof 0302tzip0032";
    Put32(file, static_cast<std::uint32_t>(first.size() + paddingBlocks * kBlock + last.size()));
    file += MsZipBlock(first.substr(16), "");
    file += MsZipBlock(padding, first.substr(16));
    const std::string repeated = MsZipBlock(padding, padding);
    for (std::size_t i = 1; i < paddingBlocks; ++i) file += repeated;
    file += MsZipBlock(last, padding);
    return file;
}

std::string Chunk(const char* type, const std::string& data) {
    std::string s;
    for (int i = 3; i >= 0; --i) s += static_cast<char>(data.size() >> (8 * i));
    s += std::string(type, 4) + data;
    std::uint32_t crc =
        static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(type), 4));
    crc = static_cast<std::uint32_t>(
        crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    for (int i = 3; i >= 0; --i) s += static_cast<char>(crc >> (8 * i));
    return s;
}

// A grey 8-bit PNG of w x h black pixels.
std::string BlackPng(std::uint32_t w, std::uint32_t h) {
    std::string ihdr;
    for (std::uint32_t v : {w, h}) {
        for (int i = 3; i >= 0; --i) ihdr += static_cast<char>(v >> (8 * i));
    }
    ihdr += std::string("\x08\x00\x00\x00\x00", 5);
    const std::string raw(std::size_t{h} * (1 + w), '\0');  // filter byte 0 and the row
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
              reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 9);
    packed.resize(size);
    return std::string("\x89PNG\r\n\x1A\n", 8) + Chunk("IHDR", ihdr) + Chunk("IDAT", packed) +
           Chunk("IEND", "");
}

// A 32-bit run-length TGA of w x h pixels of one colour: packets of 128.
std::string RunLengthTga(std::uint32_t w, std::uint32_t h) {
    std::string s(18, '\0');
    s[2] = 10;
    s[12] = static_cast<char>(w & 0xFF), s[13] = static_cast<char>(w >> 8);
    s[14] = static_cast<char>(h & 0xFF), s[15] = static_cast<char>(h >> 8);
    s[16] = 32;
    s[17] = 8;
    const std::string colour = "\x20\x40\x60\x80";
    for (std::uint64_t left = std::uint64_t{w} * h; left > 0;) {
        const std::uint64_t run = std::min<std::uint64_t>(left, 128);
        s += static_cast<char>(0x80 | (run - 1));
        s += colour;
        left -= run;
    }
    return s;
}

void Write(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fclose(f);
}

// `head` followed by zeros up to `size` bytes, without writing them (a sparse file).
void WriteSparse(const std::string& path, const std::string& head, off_t size) {
    Write(path, head);
    if (truncate(path.c_str(), size) != 0) std::perror(path.c_str());
}

long PeakKb() {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, f)) {
        if (std::sscanf(line, "VmHWM: %ld", &kb) == 1) break;
    }
    std::fclose(f);
    return kb;
}

std::string ReadMesh(const std::string& path) {
    d3dx::XFileContents contents;
    std::string error;
    if (!d3dx::ReadXFileFromPath(path.c_str(), contents, error)) return "refused: " + error;
    return "read: " + std::to_string(contents.mesh.vertexCount) + " vertices, " +
           std::to_string(contents.mesh.FaceCount()) + " faces";
}

std::string ReadTexture(const std::string& path) {
    record::InstallRecordingPlatform();
    IDirect3DDevice9* device = nullptr;
    test::CreateProgramDevice(test::ProgramSizedWindow("Bench"), &device);
    IDirect3DTexture9* texture = nullptr;
    const HRESULT hr = D3DXCreateTextureFromFileA(device, path.c_str(), &texture);
    if (FAILED(hr)) return "refused (see the TEXTURE line)";
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    return "read: " + std::to_string(desc.Width) + " x " + std::to_string(desc.Height);
}

struct Case {
    const char* name;
    const char* file;
    std::function<void(const std::string&)> write;
    std::function<std::string(const std::string&)> read;
};

void Measure(const Case& c, const std::string& path) {
    int fds[2];
    if (pipe(fds) != 0) return;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const auto start = std::chrono::steady_clock::now();
        std::string answer = c.read(path);
        const double s =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (answer.size() > 160) {
            answer = answer.substr(0, 160) + "... (" + std::to_string(answer.size()) + " bytes)";
        }
        char line[512];
        std::snprintf(line, sizeof line, "%.3f s, peak resident %.0f MiB; %s", s,
                      static_cast<double>(PeakKb()) / 1024.0, answer.c_str());
        if (write(fds[1], line, std::strlen(line)) < 0) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    std::string out;
    char buf[512];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, std::size_t(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    struct stat st {};
    stat(path.c_str(), &st);
    std::printf("%-18s %9.1f MB on disk (%8.1f MB allocated): %s\n", c.name,
                static_cast<double>(st.st_size) / 1e6,
                static_cast<double>(st.st_blocks) * 512 / 1e6,
                out.empty() ? "the child died" : out.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: hostile_bench DIR [CASE...]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const std::size_t gib = std::size_t{1} << 30;
    const std::vector<Case> cases = {
        {"tzip-1gib", "inflate_1gib.x",
         [&](const std::string& p) { Write(p, InflatingX(gib / kBlock - 2)); }, ReadMesh},
        {"tzip-1.5gib", "inflate_1_5gib.x",
         [&](const std::string& p) { Write(p, InflatingX(gib * 3 / 2 / kBlock)); }, ReadMesh},
        {"not-x-2gib", "not_x.x", [&](const std::string& p) { WriteSparse(p, "", off_t{2} << 30); },
         ReadMesh},
        {"x-blank-2gib", "blank.x",
         [&](const std::string& p) { WriteSparse(p, "xof 0302txt 0032\n", off_t{2} << 30); },
         ReadMesh},
        {"name-64mib", "long_name.x",
         [&](const std::string& p) {
             Write(p, std::string("xof 0302txt 0032\n") +
                          "Mesh m {\n 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n 1;\n 3;0,1,2;;\n"
                          "MeshMaterialList {\n 1;\n 1;\n 0;;\n Material {\n"
                          "  1;1;1;1;;\n  0;\n  0;0;0;;\n  0;0;0;;\n  TextureFilename { \"" +
                          std::string(std::size_t{64} << 20, 'n') + "\"; }\n }\n}\n}\n");
         },
         ReadMesh},
        {"png-16384x4096", "black.png",
         [&](const std::string& p) { Write(p, BlackPng(16384, 4096)); }, ReadTexture},
        {"tga-rle-16384x4096", "runs.tga",
         [&](const std::string& p) { Write(p, RunLengthTga(16384, 4096)); }, ReadTexture},
        {"png-9000x7456", "black_9000.png",
         [&](const std::string& p) { Write(p, BlackPng(9000, 7456)); }, ReadTexture},
        {"tga-rle-9000x7456", "runs_9000.tga",
         [&](const std::string& p) { Write(p, RunLengthTga(9000, 7456)); }, ReadTexture},
        {"tga-rle-16383x4096", "runs_16383.tga",
         [&](const std::string& p) { Write(p, RunLengthTga(16383, 4096)); }, ReadTexture},
    };
    for (const Case& c : cases) {
        bool wanted = argc == 2;
        for (int i = 2; i < argc; ++i) wanted |= c.name == std::string(argv[i]);
        if (!wanted) continue;
        const std::string path = dir + "/" + c.file;
        struct stat st {};
        if (stat(path.c_str(), &st) != 0) c.write(path);
        Measure(c, path);
    }
    return 0;
}
