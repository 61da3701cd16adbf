// 24-bit BMP files, as the default assets and the tests write their textures.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace assets {

struct Rgb {
    std::uint8_t r, g, b;
};

// A width x height picture whose pixel (x, y), y from the top, is colour(x, y).
std::string WriteBmp(int width, int height, const std::function<Rgb(int x, int y)>& colour);

}  // namespace assets
