// Successful compiles kept on disk, as a driver keeps its shader cache: a start-up whose shaders
// have not changed since the last run takes the compiler's result from there instead of running
// the compiler, which is most of a compile's time. An entry holds the whole request it answers
// (compared byte for byte), the files the compile included (each checked again on lookup: a
// changed header compiles again) and the identity of the compiler that made it (the build IDs of
// the compile worker and of SPIRV-Cross), so that a rebuilt or upgraded compiler never sees an
// older one's results. Failed compiles are not kept: their messages must come from the compiler
// each time, and a limit hit on a busy machine is not a result.
//
// Only its user can write it: the directory, checked once it is open (not by its path), must be
// the user's own, not writable by group or others, and not a symbolic link; a random 32-byte
// key, kept in it readable by the user alone, signs every entry (HMAC-SHA-256), so that an entry
// written by anyone without the key (forged, or copied from another user's cache) is a miss.
// Where the directory or its key fails these checks the cache is off, with one line on stderr
// that says why.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/d3dx/hlsl/compiler.h"

namespace d3dx {

// Keeps compiles in `dir` (made on first store, the user's alone); an empty `dir` turns the
// cache off, as it is until a program turns it on.
void UseCompileCache(const std::string& dir);

// Where the programs keep it: $TESSALINE_COMPILE_CACHE when set (empty or "off": no cache),
// else tessaline/compiles under $XDG_CACHE_HOME or ~/.cache; empty where none of these is set.
std::string DefaultCompileCacheDir();

// True, with the result, when the cache holds this request's compile by this compiler and
// `includesUnchanged` says that the files it included hold the same bytes now (an entry with
// included files is a miss without it).
using IncludeCheck = std::function<bool(const std::vector<IncludedFile>&)>;
bool LookUpCompile(const CompileRequest& request, CompileResult& result,
                   const IncludeCheck& includesUnchanged = {});
// Keeps a successful compile with the files it included (result.includes). At most
// kCompileCacheEntries are kept; the least recently used go first. Nothing is kept when the
// cache is off, the compiler has no identity, or the result names another compiler than this
// process expects (a library replaced while the program ran).
void StoreCompile(const CompileRequest& request, const CompileResult& result);
constexpr int kCompileCacheEntries = 256;

// The compiler's identity as this process sees it: the compile worker's build ID (read from its
// file) and that of the SPIRV-Cross library; empty when one is missing (the cache then keeps
// nothing). Tests may replace it, and put it back.
std::string CompilerIdentity();
void SetCompilerIdentityForTests(const std::string& identity);
void ResetCompilerIdentityForTests();

}  // namespace d3dx
