// Text forms of the platform's structures in the recorder's log. Tests build their expected
// values with the same functions, so a value compares equal exactly when every field does.
#pragma once

#include <string>
#include <vector>

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
std::string FmtValue(const DIMOUSESTATE& s);

// A declaration up to and including its D3DDECL_END entry.
std::string FmtDeclaration(const D3DVERTEXELEMENT9* elements);
