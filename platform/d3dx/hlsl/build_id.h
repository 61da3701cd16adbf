// GNU build IDs, which name one build of a program or library: the compile cache keeps a
// compile for the compiler that made it, the compile worker (read from its file by the
// program, and from memory by the worker itself) and the SPIRV-Cross library it loads.
#pragma once

#include <string>

namespace d3dx {

// The build ID, in hex, of the loaded object that holds `address`; empty when it has none.
std::string LoadedBuildId(const void* address);
// The build ID, in hex, of an ELF file; empty when it has none or is not an ELF file.
std::string FileBuildId(const std::string& path);

}  // namespace d3dx
