// assimp's importer on an X file, timed the same way as xfile_speed: in a child process per run,
// best of N, with the child's peak resident size. "raw" is the import alone (assimp keeps one
// vertex per face corner); "indexed" adds the steps that give what D3DX hands back, an indexed
// triangle mesh whose vertices are shared where position, normal and coordinates agree.
#include <assimp/cimport.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: assimp_speed raw|indexed FILE [RUNS]\n");
        return 2;
    }
    const bool indexed = std::string(argv[1]) == "indexed";
    const unsigned flags = indexed ? aiProcess_Triangulate | aiProcess_JoinIdenticalVertices : 0;
    ++argv;
    --argc;
    const int runs = argc >= 3 ? std::atoi(argv[2]) : 3;
    struct stat st {};
    stat(argv[1], &st);
    const double mb = static_cast<double>(st.st_size) / 1e6;
    double best = 1e9;
    long peakKb = 0;
    for (int i = 0; i < runs; ++i) {
        int fds[2];
        if (pipe(fds) != 0) return 1;
        const pid_t pid = fork();
        if (pid == 0) {
            const auto start = std::chrono::steady_clock::now();
            const aiScene* scene = aiImportFile(argv[1], flags);
            double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (!scene || scene->mNumMeshes == 0) seconds = -1;
            if (write(fds[1], &seconds, sizeof seconds) != sizeof seconds) _exit(1);
            _exit(0);
        }
        close(fds[1]);
        double seconds = -1;
        if (read(fds[0], &seconds, sizeof seconds) != sizeof seconds) seconds = -1;
        close(fds[0]);
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        if (seconds < 0) {
            std::fprintf(stderr, "assimp could not import %s\n", argv[1]);
            return 1;
        }
        best = std::min(best, seconds);
        peakKb = std::max(peakKb, usage.ru_maxrss);
    }
    std::printf("assimp (%s) %s: %.1f MB, best of %d: %.3f s, %.0f MB/s; peak resident %.1f MB\n",
                indexed ? "indexed" : "raw", argv[1], mb, runs, best, mb / best,
                peakKb / 1024.0 * 1.048576);
    return 0;
}
