// libFuzzer target: the X file reader on arbitrary bytes, read twice: through the usual window,
// which holds any input of the fuzzer's sizes whole, and through the smallest window, which
// refills wherever a token, a list or an MSZIP block happens to fall. Both reads must give the
// same answer, byte for byte.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/d3dx/xfile/reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    d3dx::XFileContents whole, windowed;
    std::string error, windowedError;
    d3dx::XReadOptions small;
    small.windowBytes = 1;  // raised to the smallest the reader takes
    const bool ok = d3dx::ReadXFile({data, size}, whole, error);
    const bool windowedOk = d3dx::ReadXFile({data, size}, windowed, windowedError, nullptr, small);
    if (ok != windowedOk || error != windowedError ||
        whole.mesh.vertices != windowed.mesh.vertices ||
        whole.mesh.indices != windowed.mesh.indices ||
        whole.materials.size() != windowed.materials.size()) {
        std::abort();
    }
    return 0;
}
