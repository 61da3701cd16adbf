// SHA-256 (FIPS 180-4) and HMAC-SHA-256 (RFC 2104), written here from their definitions for the
// compile cache: the digest of each included file, and the keyed tag that makes an entry this
// user's own (a copied or forged entry fails it).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace d3dx {

using Digest = std::array<std::uint8_t, 32>;

class Sha256 {
  public:
    Sha256();
    void Add(std::string_view bytes);
    Digest Finish();

  private:
    void Block(const std::uint8_t* block);
    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pendingBytes_ = 0;
    std::uint64_t totalBytes_ = 0;
};

Digest Sha256Of(std::string_view bytes);
Digest HmacSha256(std::string_view key, std::string_view message);

// Compares in time that does not depend on where the first difference is.
bool SameDigest(const Digest& a, const Digest& b);

}  // namespace d3dx
