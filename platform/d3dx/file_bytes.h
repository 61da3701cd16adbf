// Reads a whole file, refusing non-regular files and files above a size limit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace d3dx {

bool ReadFileBytes(const char* path, std::size_t limit, std::vector<std::uint8_t>& out,
                   std::string& error);

}  // namespace d3dx
