// libFuzzer target: the X file reader on arbitrary bytes.
#include <cstdint>
#include <string>

#include "platform/d3dx/xfile/reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    d3dx::XFileContents out;
    std::string error;
    d3dx::ReadXFile({data, size}, out, error);
    return 0;
}
