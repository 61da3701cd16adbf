// The X file reader's speed and memory on a large grid: SIDE x SIDE vertices (default 1415, four
// million triangles) with normals, texture coordinates and one material, in text (about 370 MB),
// binary and both MSZIP-compressed forms. Each run parses in a child process of its own, so that
// its peak resident size (VmHWM) is its own.
//
//   xfile_speed generate DIR [SIDE]  writes DIR/grid.x, grid_bin.x, grid_tzip.x, grid_bzip.x
//   xfile_speed measure FILE [N]     parses FILE N times (default 5); prints the best time and
//                                    MB/s and the peak resident size against the mesh size
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3dx/xfile/reader.h"
#include "tools/x_writer.h"

namespace {

int gridSide = 1415;  // vertices a side

void WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fclose(f);
    std::printf("wrote %s (%.1f MB)\n", path.c_str(), static_cast<double>(bytes.size()) / 1e6);
}

std::string Generate(const std::string& dir) {
    std::string text = "xof 0302txt 0032\nMesh grid {\n";
    text += std::to_string(gridSide * gridSide) + ";\n";
    char buf[128];
    // Indented and sized as exporters write them: about 90 MB in all.
    const auto coordinate = [](int i) {
        const int fromCentre = i - gridSide / 2;
        return static_cast<float>(fromCentre) * 0.371f;
    };
    for (int z = 0; z < gridSide; ++z) {
        for (int x = 0; x < gridSide; ++x) {
            const float height = 0.25f * static_cast<float>((x * 7 + z * 13) % 17) / 17.0f;
            std::snprintf(buf, sizeof buf, "    %.6f;%.6f;%.6f;%s\n", coordinate(x), height,
                          coordinate(z), (x == gridSide - 1 && z == gridSide - 1) ? ";" : ",");
            text += buf;
        }
    }
    const int quads = (gridSide - 1) * (gridSide - 1);
    std::string faces = std::to_string(quads) + ";\n";
    for (int z = 0; z + 1 < gridSide; ++z) {
        for (int x = 0; x + 1 < gridSide; ++x) {
            const int i = z * gridSide + x;
            std::snprintf(buf, sizeof buf, "    4;%d,%d,%d,%d;%s\n", i, i + gridSide,
                          i + gridSide + 1, i + 1,
                          (z == gridSide - 2 && x == gridSide - 2) ? ";" : ",");
            faces += buf;
        }
    }
    text += faces;
    text += "MeshNormals {\n" + std::to_string(gridSide * gridSide) + ";\n";
    for (int v = 0; v < gridSide * gridSide; ++v) {
        std::snprintf(buf, sizeof buf, "    %.6f;%.6f;%.6f;%s\n", 0.0123 * (v % 7), 0.998765,
                      -0.0234 * (v % 5), v == gridSide * gridSide - 1 ? ";" : ",");
        text += buf;
    }
    text += faces + "}\nMeshTextureCoords {\n" + std::to_string(gridSide * gridSide) + ";\n";
    for (int z = 0; z < gridSide; ++z) {
        for (int x = 0; x < gridSide; ++x) {
            std::snprintf(buf, sizeof buf, "    %.6f;%.6f;%s\n", x / double(gridSide - 1),
                          z / double(gridSide - 1),
                          (x == gridSide - 1 && z == gridSide - 1) ? ";" : ",");
            text += buf;
        }
    }
    text += "}\nMeshMaterialList {\n1;\n" + std::to_string(quads) + ";\n";
    for (int f = 0; f < quads; ++f) text += f + 1 < quads ? "    0,\n" : "    0;;\n";
    text +=
        "Material {\n0.8;0.7;0.5;1.0;;\n10.0;\n0.2;0.2;0.2;;\n0.0;0.0;0.0;;\n"
        "TextureFilename { \"sand.bmp\"; }\n}\n}\n}\n";
    WriteFile(dir + "/grid.x", text);
    return text;
}

// The binary form of the same grid, built from what the text form reads as.
std::string GenerateBinary(const std::string& dir) {
    d3dx::XFileContents contents;
    std::string error;
    if (!d3dx::ReadXFileFromPath((dir + "/grid.x").c_str(), contents, error)) {
        std::fprintf(stderr, "cannot read the text grid: %s\n", error.c_str());
        std::exit(1);
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
    const int n = gridSide * gridSide;
    std::vector<float> positions, normals, uvs;
    for (int v = 0; v < n; ++v) {
        const float* p = reinterpret_cast<const float*>(contents.mesh.vertices.data() +
                                                        std::size_t(v) * contents.mesh.stride);
        positions.insert(positions.end(), p, p + 3);
        normals.insert(normals.end(), p + 3, p + 6);
        uvs.insert(uvs.end(), p + 6, p + 8);
    }
    std::vector<std::uint32_t> faces{static_cast<std::uint32_t>((gridSide - 1) * (gridSide - 1))};
    for (int z = 0; z + 1 < gridSide; ++z) {
        for (int x = 0; x + 1 < gridSide; ++x) {
            const auto i = static_cast<std::uint32_t>(z * gridSide + x);
            faces.insert(faces.end(), {4, i, i + gridSide, i + gridSide + 1, i + 1});
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
    WriteFile(dir + "/grid_bin.x", out);
    return out;
}

struct RunResult {
    double seconds = 0;
    double cpuSeconds = 0;  // user and system, every thread
    long peakKb = 0;
    double meshBytes = 0;
    bool ok = false;
};

// The peak resident size of this process so far, in KiB.
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
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double cpu =
            static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        const double result[5] = {ok ? 1.0 : 0.0, seconds, mesh, static_cast<double>(PeakKb()),
                                  cpu};
        if (write(fds[1], result, sizeof result) != sizeof result) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    double result[5] = {};
    const bool got = read(fds[0], result, sizeof result) == sizeof result;
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return {result[1], result[4], static_cast<long>(result[3]), result[2], got && result[0] == 1.0};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "generate") == 0) {
        if (argc >= 4) gridSide = std::max(2, std::atoi(argv[3]));
        const std::string dir = argv[2];
        WriteFile(dir + "/grid_tzip.x", xfile::CompressX(Generate(dir)));
        WriteFile(dir + "/grid_bzip.x", xfile::CompressX(GenerateBinary(dir)));
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
            if (i == 0 || r.cpuSeconds < best.cpuSeconds) best.cpuSeconds = r.cpuSeconds;
            best.peakKb = std::max(best.peakKb, r.peakKb);
            best.meshBytes = r.meshBytes;
        }
        const double peakMib = static_cast<double>(best.peakKb) / 1024.0;
        const double meshMib = best.meshBytes / (1 << 20);
        std::printf(
            "file %s: %.1f MB, best of %d: %.3f s (CPU %.3f s), %.0f MB/s; peak resident %.0f MiB "
            "(mesh %.0f MiB, %.2f times)\n",
            argv[2], mb, runs, best.seconds, best.cpuSeconds, mb / best.seconds, peakMib, meshMib,
            peakMib / meshMib);
        return 0;
    }
    std::fprintf(stderr, "usage: xfile_speed generate DIR [SIDE] | measure FILE [RUNS]\n");
    return 2;
}
