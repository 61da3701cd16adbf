// Frame writing: the snapshot tool's PNG encoder against zlib at level 1 alone on the same
// Sub-filtered rows (the cost of compression that any PNG writer pays), and against stb's PNG
// writer, which the tool used before; interleaved, medians of CPU time, and the file sizes.
//
//   png_bench [PICTURE.png] [RUNS]      (default docs/first-frame.png, 30 runs)
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "tools/png_writer.h"
#include "tools/rgb_picture.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The rows as the encoder filters them, for zlib alone.
std::vector<unsigned char> SubRows(const snapshot::RgbPicture& p) {
    const std::size_t stride = static_cast<std::size_t>(p.width) * 3;
    std::vector<unsigned char> rows;
    rows.reserve((stride + 1) * static_cast<std::size_t>(p.height));
    for (int y = 0; y < p.height; ++y) {
        const unsigned char* row = p.rgb.data() + stride * static_cast<std::size_t>(y);
        rows.push_back(1);
        for (std::size_t i = 0; i < stride; ++i)
            rows.push_back(static_cast<unsigned char>(row[i] - (i >= 3 ? row[i - 3] : 0)));
    }
    return rows;
}

void CountBytes(void* context, void*, int size) {
    *static_cast<std::size_t*>(context) += static_cast<std::size_t>(size);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "docs/first-frame.png";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 30;
    snapshot::RgbPicture picture;
    std::string error;
    if (!snapshot::ReadPng(path, picture, error)) {
        std::fprintf(stderr, "png_bench: %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    const std::vector<unsigned char> rows = SubRows(picture);
    std::vector<double> ours, zlibOnly, stb;
    std::size_t oursBytes = 0, zlibBytes = 0, stbBytes = 0;
    std::vector<unsigned char> packed(compressBound(static_cast<uLong>(rows.size())));
    for (int run = 0; run < runs; ++run) {
        double t = CpuMs();
        oursBytes = snapshot::EncodePng(picture).size();
        ours.push_back(CpuMs() - t);

        t = CpuMs();
        uLongf size = static_cast<uLongf>(packed.size());
        compress2(packed.data(), &size, rows.data(), static_cast<uLong>(rows.size()), 1);
        zlibOnly.push_back(CpuMs() - t);
        zlibBytes = size;

        t = CpuMs();
        stbBytes = 0;
        stbi_write_png_to_func(CountBytes, &stbBytes, picture.width, picture.height, 3,
                               picture.rgb.data(), picture.width * 3);
        stb.push_back(CpuMs() - t);
    }
    std::printf("%s, %d x %d, %d runs, medians of CPU time\n", path.c_str(), picture.width,
                picture.height, runs);
    std::printf("  ours (Sub rows, zlib level 1)  %7.2f ms  %8zu bytes\n", Median(ours), oursBytes);
    std::printf("  zlib level 1 on the same rows  %7.2f ms  %8zu bytes\n", Median(zlibOnly),
                zlibBytes);
    std::printf("  stb_image_write (before)       %7.2f ms  %8zu bytes\n", Median(stb), stbBytes);
    std::printf("  ours / zlib level 1: %.2f (target at most 2)\n",
                Median(ours) / Median(zlibOnly));
    return 0;
}
