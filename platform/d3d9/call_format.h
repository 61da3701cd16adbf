// Text forms of Direct3D 9's structures in the call trace (TESSALINE_TRACE and the recorder's
// log). Tests build their expected values with the same functions, so a value compares equal
// exactly when every field does. Found by argument-dependent lookup from platform::Fmt.
#pragma once

#include <string>

#include "platform/core/call_trace.h"
#include "platform/graphics_device.h"

std::string FmtValue(const Vec3& v);
std::string FmtValue(const Matrix4& m);
std::string FmtValue(const D3DCOLORVALUE& c);
std::string FmtValue(const D3DMATERIAL9& m);
std::string FmtValue(const D3DLIGHT9& l);
std::string FmtValue(const RECT& r);
std::string FmtValue(const D3DPRESENT_PARAMETERS& p);
std::string FmtValue(const D3DVERTEXELEMENT9& e);

// A declaration up to and including its D3DDECL_END entry.
std::string FmtDeclaration(const D3DVERTEXELEMENT9* elements);
