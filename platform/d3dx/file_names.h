// File names that came from files written on Windows (the textures an X file names, a shader's
// #include), resolved as the Windows file system resolved them: '\' separates folders as '/'
// does, and a name that does not exist exactly matches each folder and file case-insensitively.
// Used by every D3DX service that opens such a name (texture/, hlsl/); names the program itself
// passes are opened as they are, except through these services.
#pragma once

#include <string>
#include <string_view>

namespace d3dx {

// The path to open for `name`: `name` itself where it exists; else with every '\' read as '/';
// else with each component matched case-insensitively (ASCII letters) in its folder, a component
// that exists exactly being taken as it is. Where two entries of a folder differ only in case
// and neither is the exact name, the first in byte order wins ("Sand.bmp" before "sand.bmp"), so
// that the same files always give the same answer. Empty where nothing matches.
std::string ResolveWindowsName(std::string_view name);

}  // namespace d3dx
