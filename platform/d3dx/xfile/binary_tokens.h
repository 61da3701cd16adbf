// The tokens of the binary X file encoding: 16-bit codes, shared by our reader
// (xfile/binary_source.h) and our writer (tools/x_convert.cpp), so that both speak one table.
// Record-bearing tokens (name, string, integer, GUID, integer and float lists) carry data after
// them; punctuation (10 to 20), TOKEN_TEMPLATE (31) and the type keywords of template
// declarations (40 to 52) stand alone.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

namespace d3dx {

enum XBinaryToken : std::uint16_t {
    kXName = 1,
    kXString = 2,
    kXInteger = 3,
    kXGuid = 5,
    kXIntegerList = 6,
    kXFloatList = 7,
    kXOBrace = 10,
    kXCBrace = 11,
    kXOParen = 12,
    kXCParen = 13,
    kXOBracket = 14,
    kXCBracket = 15,
    kXOAngle = 16,
    kXCAngle = 17,
    kXDot = 18,
    kXComma = 19,
    kXSemicolon = 20,
    kXTemplate = 31,
    kXWord = 40,   // the first type keyword
    kXArray = 52,  // the last
};

// The type keywords by their text; BYTE and UCHAR, LPSTR and STRING share a code.
inline constexpr std::pair<std::string_view, std::uint16_t> kXKeywords[] = {
    {"WORD", 40},  {"DWORD", 41},  {"FLOAT", 42},   {"DOUBLE", 43},  {"CHAR", 44},
    {"UCHAR", 45}, {"BYTE", 45},   {"SWORD", 46},   {"SDWORD", 47},  {"VOID", 48},
    {"LPSTR", 49}, {"STRING", 49}, {"UNICODE", 50}, {"CSTRING", 51}, {"array", 52},
};

}  // namespace d3dx
