// libFuzzer target: the DDS reader, and what a texture makes of what it reads.
#include <cstdint>
#include <string>

#include "platform/d3dx/texture_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    d3dx::TextureData texture;
    std::string error;
    if (d3dx::ReadDds({data, size}, texture, error) && texture.width <= 1024 &&
        texture.height <= 1024) {
        d3dx::PrepareTexture(std::move(texture));
    }
    return 0;
}
