// PNG reading and writing for tessaline-snapshot. Its stb_image instance is static and reads
// PNG only, apart from the texture readers' instance and its limits: a reference picture is
// the CI's own file, read once.
#include "tools/rgb_picture.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_MAX_DIMENSIONS 16384
#include <stb/stb_image.h>

#include "tools/checked_write.h"
#include "tools/png_writer.h"

namespace snapshot {

bool ReadPng(const std::string& path, RgbPicture& out, std::string& error) {
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 3);
    if (!pixels) {
        error = stbi_failure_reason() ? stbi_failure_reason() : "unreadable";
        if (error == "can't fopen") error = "cannot open the file";
        if (error == "unknown image type") error = "not a PNG picture";
        return false;
    }
    out.width = width;
    out.height = height;
    out.rgb.assign(pixels, pixels + static_cast<std::size_t>(width) * height * 3);
    stbi_image_free(pixels);
    return true;
}

bool WritePng(const std::string& path, const RgbPicture& picture, std::string* error) {
    std::string why;
    const std::string png = EncodePng(picture);
    const bool ok =
        png.empty() ? (why = "the picture has no pixels", false) : WriteFileChecked(path, png, why);
    if (!ok && error) *error = why;
    return ok;
}

}  // namespace snapshot
