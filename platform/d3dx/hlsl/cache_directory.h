// The compile cache's directory and key, checked as the cache opens them (compile_cache.h says
// why): the directory by the descriptor it opened (open with O_NOFOLLOW, then fstat, so that no
// one can swap what was checked for what is used), the key by its own descriptor. Entries are
// then opened relative to that descriptor (openat).
#pragma once

#include <string>

namespace d3dx {

enum class CacheDirectoryState { Ready, Missing, Refused };

struct CacheDirectory {
    int fd = -1;      // the directory, open
    std::string key;  // 32 random bytes
};

// Opens `path` (making it, with its parents, where `make`) and checks it and its key, making
// the key where `make` and there is none. Missing: there is no directory or key yet and `make`
// is false. Refused: `why` says what is wrong ("it is writable by its group").
CacheDirectoryState OpenCacheDirectory(const std::string& path, bool make, CacheDirectory& out,
                                       std::string& why);

}  // namespace d3dx
