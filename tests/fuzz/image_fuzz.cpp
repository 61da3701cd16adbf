// libFuzzer target: the texture file front end (format sniffing, our header readers, our BMP,
// TGA and DDS readers, stb_image behind the plausibility checks) and the preparation of what it
// decodes. The texture budget trusts the size foreseen from a header: a decoded file whose
// prepared size differs from it is a fault.
#include <cstdint>
#include <string>

#include "platform/d3dx/texture/texture_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    d3dx::PictureHeader header;
    d3dx::TextureData texture;
    std::string error;
    const bool headerRead = d3dx::ReadPictureHeader({data, size}, header, error);
    if (d3dx::DecodeTextureFile({data, size}, texture, error)) {
        if (!headerRead) __builtin_trap();
        if (texture.width <= 512 && texture.height <= 512) {
            const d3dx::TextureData prepared = d3dx::PrepareTexture(std::move(texture));
            if (d3dx::TextureBytes(prepared) != d3dx::PreparedBytes(header)) __builtin_trap();
        }
    }
    return 0;
}
