#include "tools/bmp_writer.h"

namespace assets {

std::string WriteBmp(int width, int height, const std::function<Rgb(int, int)>& colour) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const auto put = [](std::string& s, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    std::string bmp = "BM";
    put(bmp, static_cast<std::uint32_t>(54 + rowBytes * height), 4);
    put(bmp, 0, 4);
    put(bmp, 54, 4);
    put(bmp, 40, 4);
    put(bmp, static_cast<std::uint32_t>(width), 4);
    put(bmp, static_cast<std::uint32_t>(height), 4);
    put(bmp, 1, 2);
    put(bmp, 24, 2);
    for (int i = 0; i < 6; ++i) put(bmp, i == 2 ? 2835 : i == 3 ? 2835 : 0, 4);
    // Rows are stored bottom up, blue first, padded to four bytes.
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = colour(x, y);
            bmp += static_cast<char>(c.b);
            bmp += static_cast<char>(c.g);
            bmp += static_cast<char>(c.r);
        }
        bmp += std::string(static_cast<std::size_t>(rowBytes - width * 3), '\0');
    }
    return bmp;
}

}  // namespace assets
