// Successful compiles kept on disk, as a driver keeps its shader cache: a start-up whose shaders
// have not changed since the last run takes the compiler's result from there instead of running
// the compiler, which is most of a compile's time. An entry holds the whole request it answers
// (compared byte for byte, so that a hash collision cannot hand back another shader's code) and
// the identity of the compiler that made it (the build IDs of this program's compiler and of
// SPIRV-Cross), so that a rebuilt or upgraded compiler never sees an older one's results. A
// damaged, cut short or foreign entry is a miss. Failed compiles are not kept: their messages
// must come from the compiler each time, and a limit hit on a busy machine is not a result.
#pragma once

#include <string>

#include "platform/d3dx/hlsl/compiler.h"

namespace d3dx {

// Keeps compiles in `dir` (made on first store, readable by the user alone); an empty `dir`
// turns the cache off, as it is until a program turns it on.
void UseCompileCache(const std::string& dir);

// Where the programs keep it: $TESSALINE_COMPILE_CACHE when set (empty or "off": no cache),
// else tessaline/compiles under $XDG_CACHE_HOME or ~/.cache; empty where none of these is set.
std::string DefaultCompileCacheDir();

// True, with the result, when the cache holds this request's compile by this compiler.
bool LookUpCompile(const CompileRequest& request, CompileResult& result);
// Keeps a successful compile. At most kCompileCacheEntries are kept; the least recently used
// go first. Nothing is kept when the cache is off or the compiler has no identity.
void StoreCompile(const CompileRequest& request, const CompileResult& result);
constexpr int kCompileCacheEntries = 256;

// The compiler's identity as this process sees it; empty when a build ID is missing (the cache
// then keeps nothing). Tests may replace it, and put it back.
std::string CompilerIdentity();
void SetCompilerIdentityForTests(const std::string& identity);
void ResetCompilerIdentityForTests();

}  // namespace d3dx
