// Pictures as tessaline-snapshot writes and compares them: 8-bit RGB, top row first, read from
// and written to PNG files (stb_image and stb_image_write, an instance of their own here).
#pragma once

#include <string>
#include <vector>

namespace snapshot {

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // width * height * 3 bytes
};

// A PNG file as RGB (grey and alpha are converted, alpha dropped). False, with the reason in
// `error`, when the file cannot be read or is not a PNG picture.
bool ReadPng(const std::string& path, RgbPicture& out, std::string& error);

// False when the file cannot be written.
bool WritePng(const std::string& path, const RgbPicture& picture);

}  // namespace snapshot
