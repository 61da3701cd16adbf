// libFuzzer target: the texture file front end (format sniffing, the plausibility check and
// stb_image behind it).
#include <cstdint>
#include <string>

#include "platform/d3dx/texture_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    d3dx::TextureData texture;
    std::string error;
    if (d3dx::DecodeTextureFile({data, size}, texture, error) && texture.width <= 512 &&
        texture.height <= 512) {
        d3dx::PrepareTexture(std::move(texture));
    }
    return 0;
}
