// The X file reader's speed and memory on a large grid: 700 x 700 vertices with normals, texture
// coordinates and one material, in text (about 90 MB) and binary. Each run parses in a child
// process of its own, so that its peak resident size is its own.
//
//   xfile_speed generate DIR       writes DIR/grid.x and DIR/grid_bin.x
//   xfile_speed measure FILE [N]   parses FILE N times (default 5); prints the best MB/s and the
//                                  peak resident size against the input and mesh sizes
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3dx/xfile/reader.h"

namespace {

constexpr int kSide = 700;

void Generate(const std::string& dir) {
    std::string text = "xof 0302txt 0032\nMesh grid {\n";
    text += std::to_string(kSide * kSide) + ";\n";
    char buf[128];
    // Indented and sized as exporters write them: about 90 MB in all.
    const auto coordinate = [](int i) {
        const int fromCentre = i - kSide / 2;
        return static_cast<float>(fromCentre) * 0.371f;
    };
    for (int z = 0; z < kSide; ++z) {
        for (int x = 0; x < kSide; ++x) {
            const float height = 0.25f * static_cast<float>((x * 7 + z * 13) % 17) / 17.0f;
            std::snprintf(buf, sizeof buf, "    %.6f;%.6f;%.6f;%s\n", coordinate(x), height,
                          coordinate(z), (x == kSide - 1 && z == kSide - 1) ? ";" : ",");
            text += buf;
        }
    }
    const int quads = (kSide - 1) * (kSide - 1);
    std::string faces = std::to_string(quads) + ";\n";
    for (int z = 0; z + 1 < kSide; ++z) {
        for (int x = 0; x + 1 < kSide; ++x) {
            const int i = z * kSide + x;
            std::snprintf(buf, sizeof buf, "    4;%d,%d,%d,%d;%s\n", i, i + kSide, i + kSide + 1,
                          i + 1, (z == kSide - 2 && x == kSide - 2) ? ";" : ",");
            faces += buf;
        }
    }
    text += faces;
    text += "MeshNormals {\n" + std::to_string(kSide * kSide) + ";\n";
    for (int v = 0; v < kSide * kSide; ++v) {
        std::snprintf(buf, sizeof buf, "    %.6f;%.6f;%.6f;%s\n", 0.0123 * (v % 7), 0.998765,
                      -0.0234 * (v % 5), v == kSide * kSide - 1 ? ";" : ",");
        text += buf;
    }
    text += faces + "}\nMeshTextureCoords {\n" + std::to_string(kSide * kSide) + ";\n";
    for (int z = 0; z < kSide; ++z) {
        for (int x = 0; x < kSide; ++x) {
            std::snprintf(buf, sizeof buf, "    %.6f;%.6f;%s\n", x / double(kSide - 1),
                          z / double(kSide - 1), (x == kSide - 1 && z == kSide - 1) ? ";" : ",");
            text += buf;
        }
    }
    text += "}\nMeshMaterialList {\n1;\n" + std::to_string(quads) + ";\n";
    for (int f = 0; f < quads; ++f) text += f + 1 < quads ? "    0,\n" : "    0;;\n";
    text +=
        "Material {\n0.8;0.7;0.5;1.0;;\n10.0;\n0.2;0.2;0.2;;\n0.0;0.0;0.0;;\n"
        "TextureFilename { \"sand.bmp\"; }\n}\n}\n}\n";
    std::FILE* f = std::fopen((dir + "/grid.x").c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    std::printf("wrote %s/grid.x (%.1f MB)\n", dir.c_str(), text.size() / 1e6);
}

// The binary form of the same grid, built from what the text form reads as.
void GenerateBinary(const std::string& dir) {
    d3dx::XFileContents contents;
    std::string error;
    if (!d3dx::ReadXFileFromPath((dir + "/grid.x").c_str(), contents, error)) {
        std::fprintf(stderr, "cannot read the text grid: %s\n", error.c_str());
        return;
    }
    std::string out = "xof 0302bin 0032";
    const auto word = [&](std::uint16_t w) { out.append(reinterpret_cast<const char*>(&w), 2); };
    const auto dword = [&](std::uint32_t d) { out.append(reinterpret_cast<const char*>(&d), 4); };
    const auto name = [&](const std::string& n) {
        word(1);
        dword(static_cast<std::uint32_t>(n.size()));
        out += n;
    };
    const auto floats = [&](const std::vector<float>& v) {
        word(7);
        dword(static_cast<std::uint32_t>(v.size()));
        out.append(reinterpret_cast<const char*>(v.data()), v.size() * 4);
    };
    const auto ints = [&](const std::vector<std::uint32_t>& v) {
        word(6);
        dword(static_cast<std::uint32_t>(v.size()));
        out.append(reinterpret_cast<const char*>(v.data()), v.size() * 4);
    };
    const int n = kSide * kSide;
    std::vector<float> positions, normals, uvs;
    for (int v = 0; v < n; ++v) {
        const float* p = reinterpret_cast<const float*>(contents.mesh.vertices.data() +
                                                        std::size_t(v) * contents.mesh.stride);
        positions.insert(positions.end(), p, p + 3);
        normals.insert(normals.end(), p + 3, p + 6);
        uvs.insert(uvs.end(), p + 6, p + 8);
    }
    std::vector<std::uint32_t> faces{static_cast<std::uint32_t>((kSide - 1) * (kSide - 1))};
    for (int z = 0; z + 1 < kSide; ++z) {
        for (int x = 0; x + 1 < kSide; ++x) {
            const auto i = static_cast<std::uint32_t>(z * kSide + x);
            faces.insert(faces.end(), {4, i, i + kSide, i + kSide + 1, i + 1});
        }
    }
    name("Mesh");
    word(10);
    ints({static_cast<std::uint32_t>(n)});
    floats(positions);
    ints(faces);
    name("MeshNormals");
    word(10);
    ints({static_cast<std::uint32_t>(n)});
    floats(normals);
    ints(faces);
    word(11);
    name("MeshTextureCoords");
    word(10);
    ints({static_cast<std::uint32_t>(n)});
    floats(uvs);
    word(11);
    name("MeshMaterialList");
    word(10);
    std::vector<std::uint32_t> list{1, faces[0]};
    list.resize(2 + faces[0], 0);
    ints(list);
    name("Material");
    word(10);
    floats({0.8f, 0.7f, 0.5f, 1.0f, 10.0f, 0.2f, 0.2f, 0.2f, 0, 0, 0});
    word(11);
    word(11);
    word(11);
    std::FILE* f = std::fopen((dir + "/grid_bin.x").c_str(), "wb");
    std::fwrite(out.data(), 1, out.size(), f);
    std::fclose(f);
    std::printf("wrote %s/grid_bin.x (%.1f MB)\n", dir.c_str(), out.size() / 1e6);
}

struct RunResult {
    double seconds = 0;
    long peakKb = 0;
    double meshBytes = 0;
    bool ok = false;
};

RunResult MeasureOnce(const char* path) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const auto start = std::chrono::steady_clock::now();
        d3dx::XFileContents contents;
        std::string error;
        const bool ok = d3dx::ReadXFileFromPath(path, contents, error);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double mesh =
            static_cast<double>(contents.mesh.vertices.size() + contents.mesh.indices.size() * 4 +
                                contents.mesh.attributes.size() * 4);
        if (!ok) std::fprintf(stderr, "%s\n", error.c_str());
        const double result[3] = {ok ? 1.0 : 0.0, seconds, mesh};
        if (write(fds[1], result, sizeof result) != sizeof result) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    double result[3] = {};
    const bool got = read(fds[0], result, sizeof result) == sizeof result;
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return {result[1], usage.ru_maxrss, result[2], got && result[0] == 1.0};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "generate") == 0) {
        Generate(argv[2]);
        GenerateBinary(argv[2]);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "measure") == 0) {
        const int runs = argc >= 4 ? std::atoi(argv[3]) : 5;
        struct stat st {};
        stat(argv[2], &st);
        const double mb = static_cast<double>(st.st_size) / 1e6;
        RunResult best;
        best.seconds = 1e9;
        for (int i = 0; i < runs; ++i) {
            const RunResult r = MeasureOnce(argv[2]);
            if (!r.ok) {
                std::fprintf(stderr, "the read failed\n");
                return 1;
            }
            if (r.seconds < best.seconds) best.seconds = r.seconds;
            best.peakKb = std::max(best.peakKb, r.peakKb);
            best.meshBytes = r.meshBytes;
        }
        const double peakMb = best.peakKb / 1024.0 * 1.048576;
        const double budgetMb = mb + 2 * best.meshBytes / 1e6;
        std::printf(
            "file %s: %.1f MB, best of %d: %.3f s, %.0f MB/s; peak resident %.1f MB "
            "(input + twice the mesh: %.1f MB; mesh %.1f MB)\n",
            argv[2], mb, runs, best.seconds, mb / best.seconds, peakMb, budgetMb,
            best.meshBytes / 1e6);
        return 0;
    }
    std::fprintf(stderr, "usage: xfile_speed generate DIR | measure FILE [RUNS]\n");
    return 2;
}
