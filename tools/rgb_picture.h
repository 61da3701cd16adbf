// Pictures as tessaline-snapshot writes and compares them: 8-bit RGB, top row first, read from
// PNG files (stb_image, an instance of its own here) and written as png_writer.h encodes them.
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

// Writes the picture through WriteFileChecked (checked_write.h): false, with the reason in
// `error` where one is given, when the file could not be written whole.
bool WritePng(const std::string& path, const RgbPicture& picture, std::string* error = nullptr);

}  // namespace snapshot
