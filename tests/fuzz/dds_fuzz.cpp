// libFuzzer target: the DDS reader, and what a texture makes of what it reads (short chains, odd
// sizes, DXT decoding); the prepared size must be the one foreseen from the header.
#include <cstdint>
#include <string>

#include "platform/d3dx/texture/texture_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    d3dx::TextureData texture;
    d3dx::PictureHeader header;
    std::string error;
    if (d3dx::ReadDds({data, size}, texture, error) && texture.width <= 1024 &&
        texture.height <= 1024) {
        if (!d3dx::ReadPictureHeader({data, size}, header, error)) __builtin_trap();
        const d3dx::TextureData prepared = d3dx::PrepareTexture(std::move(texture));
        if (d3dx::TextureBytes(prepared) != d3dx::PreparedBytes(header)) __builtin_trap();
    }
    return 0;
}
