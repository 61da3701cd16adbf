// PNG files as tessaline-snapshot writes its frames: 8-bit RGB, every row with the Sub filter and
// zlib at its fastest level. A rendered frame is mostly runs of equal colours, which Sub turns
// into zeros; the fast level then packs a 1000 x 500 frame in a few milliseconds, where stb's
// writer tried five filters per row at a slow level for a file no smaller.
#pragma once

#include <string>

#include "tools/rgb_picture.h"

namespace snapshot {

// The whole PNG file, or an empty string for a picture with no pixels.
std::string EncodePng(const RgbPicture& picture);

}  // namespace snapshot
