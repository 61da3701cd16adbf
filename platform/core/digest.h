// A short digest of bytes, for telling two versions of a shader's source or code apart in traces
// and reports: 64-bit FNV-1a, written as 16 hex digits. Not for security: nothing trusts it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {

inline std::uint64_t Digest64(const void* data, std::size_t size) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

inline std::string DigestText(std::uint64_t digest) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(digest));
    return text;
}

}  // namespace platform
