// What the program and its compile worker (tessaline-compile-worker) say to each other over the
// worker's socket. Each message is a frame: a tag byte, a 32-bit little-endian length, then the
// body, whose fields are length-prefixed byte strings and 32-bit numbers.
//
//   program -> worker   'C' the request: what to do (compile or preprocess), the file name for
//                           messages, entry point, profile, defines, source
//   worker -> program   'W' ready: the compiler's own tables are built, the request's work
//                           starts (the program's wall clock for the request starts here)
//   worker -> program   'I' an #include to open: its type (D3DXINC_LOCAL or D3DXINC_SYSTEM),
//                           the file that includes it (0: the source, k: the k-th file opened),
//                           its name as written
//   program -> worker   'A' the answer: opened (with its number, the name messages give it and
//                           its bytes) or not (with the reason)
//   worker -> program   'R' the result: success, the worker's compiler identity, the code,
//                           the messages, the preprocessed text
//
// Both sides refuse a frame over its size limit or a body that does not parse: the program
// treats a worker that breaks the protocol as a failed compile.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/d3dx/hlsl/compiler.h"

namespace d3dx {

// Largest frame body either side accepts: a source or an included file (4 MiB each) with room
// for its fields, or a result (code, messages and text).
constexpr std::size_t kMaxFrameBody = std::size_t{64} << 20;

std::string Frame(char tag, std::string_view body);
// Takes one whole frame off the front of `buffer`: 1 when it did, 0 when more bytes are needed,
// -1 when the buffer cannot start a valid frame.
int TakeFrame(std::string& buffer, char& tag, std::string& body);

std::string EncodeRequest(const CompileRequest& request);
bool DecodeRequest(std::string_view body, CompileRequest& request);
std::string EncodeAsk(const IncludeAsk& ask);
bool DecodeAsk(std::string_view body, IncludeAsk& ask);
std::string EncodeAnswer(const IncludeAnswer& answer);
bool DecodeAnswer(std::string_view body, IncludeAnswer& answer);
std::string EncodeResult(const CompileResult& result);
bool DecodeResult(std::string_view body, CompileResult& result);

}  // namespace d3dx
