// The compile cache (compile_cache.h). An entry is one file, named by a keyed hash of its
// request, opened relative to the checked directory (cache_directory.h):
//
//   "tessaline compile cache 3\n", then length-prefixed fields (32-bit little-endian lengths):
//   the key (the compiler's identity and the whole request), the included files (their count,
//   then each one's type, including file, name and SHA-256), the messages, the code; then the
//   HMAC-SHA-256, under the cache's key, of all that precedes it.
//
// Entries are written whole under another name and renamed into place, so that a reader (this
// program started twice) sees a whole entry or none.
#include "platform/d3dx/hlsl/compile_cache.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <spirv_cross/spirv_cross_c.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/d3dx/hlsl/build_id.h"
#include "platform/d3dx/hlsl/cache_directory.h"
#include "platform/d3dx/hlsl/sha256.h"

namespace d3dx {
namespace {

constexpr std::string_view kMagic = "tessaline compile cache 3\n";
constexpr std::string_view kSuffix = ".entry";
constexpr std::size_t kMaxEntryBytes = std::size_t{16} << 20;

enum class State { Unknown, Ready, Off };

std::mutex g_mutex;
std::string g_dir;
State g_state = State::Unknown;
CacheDirectory g_open;
bool g_identityReplaced = false;
std::string g_identityForTests;

void PutWord(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool TakeWord(std::string_view& in, std::uint64_t& value, int bytes) {
    if (in.size() < static_cast<std::size_t>(bytes)) return false;
    value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint64_t{static_cast<unsigned char>(in[static_cast<std::size_t>(i)])}
                 << (8 * i);
    in.remove_prefix(static_cast<std::size_t>(bytes));
    return true;
}

void Put(std::string& out, std::string_view field) {
    PutWord(out, field.size(), 4);
    out += field;
}

bool Take(std::string_view& in, std::string_view& field) {
    std::uint64_t length = 0;
    if (!TakeWord(in, length, 4) || length > in.size()) return false;
    field = in.substr(0, length);
    in.remove_prefix(length);
    return true;
}

std::string KeyOf(const std::string& identity, const CompileRequest& request) {
    std::string key;
    Put(key, identity);
    Put(key, request.fileName);
    Put(key, request.entry);
    Put(key, request.profile);
    Put(key, std::to_string(request.defines.size()));
    for (const auto& [name, value] : request.defines) {
        Put(key, name);
        Put(key, value);
    }
    Put(key, request.source);
    return key;
}

std::string PutIncludes(const std::vector<IncludedFile>& includes) {
    std::string out;
    PutWord(out, includes.size(), 4);
    for (const IncludedFile& f : includes) {
        PutWord(out, f.type, 4);
        PutWord(out, f.parent, 4);
        Put(out, f.name);
        Put(out, f.digest);
    }
    return out;
}

bool TakeIncludes(std::string_view in, std::vector<IncludedFile>& includes) {
    std::uint64_t count = 0;
    if (!TakeWord(in, count, 4) || count > kMaxIncludes) return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        IncludedFile f;
        std::uint64_t type = 0, parent = 0;
        std::string_view name, digest;
        if (!TakeWord(in, type, 4) || !TakeWord(in, parent, 4) || !Take(in, name) ||
            !Take(in, digest))
            return false;
        f.type = static_cast<std::uint32_t>(type);
        f.parent = static_cast<std::uint32_t>(parent);
        f.name = name;
        f.digest = digest;
        includes.push_back(std::move(f));
    }
    return in.empty();
}

std::string_view View(const Digest& d) {
    return {reinterpret_cast<const char*>(d.data()), d.size()};
}

// Named by a keyed hash, so that nobody without the key can tell which entry answers what.
std::string EntryName(const std::string& cacheKey, const std::string& key) {
    static constexpr char kDigits[] = "0123456789abcdef";
    const Digest d = HmacSha256(cacheKey, "entry name\n" + key);
    std::string out;
    for (std::size_t i = 0; i < 16; ++i) {
        out += kDigits[d[i] >> 4];
        out += kDigits[d[i] & 0xF];
    }
    return out + std::string(kSuffix);
}

std::string BuiltIdentity() {
    const std::string& worker = CompileWorkerPath();
    const std::string compiler = worker.empty() ? std::string() : FileBuildId(worker);
    const std::string spirvCross =
        LoadedBuildId(reinterpret_cast<const void*>(&spvc_context_create));
    if (compiler.empty() || spirvCross.empty()) return {};
    return "compiler " + compiler + " spirv-cross " + spirvCross;
}

// The directory ready to use, opened and checked once; `make` where a store may make it. Called
// with g_mutex held.
bool Ready(bool make) {
    if (g_state != State::Unknown) return g_state == State::Ready;
    if (g_dir.empty()) return false;
    std::string why;
    const CacheDirectoryState state = OpenCacheDirectory(g_dir, make, g_open, why);
    if (state == CacheDirectoryState::Refused) {
        std::fprintf(stderr, "HLSL: the compile cache %s is off: %s\n", g_dir.c_str(), why.c_str());
        g_state = State::Off;
    } else if (state == CacheDirectoryState::Ready) {
        g_state = State::Ready;
    }
    return g_state == State::Ready;
}

// A whole regular file of the directory, not following a link and not waiting on a pipe.
bool ReadEntry(const std::string& name, std::string& bytes) {
    const int fd = openat(g_open.fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
              static_cast<std::size_t>(info.st_size) <= kMaxEntryBytes;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        ok = got == bytes.size();
    }
    close(fd);
    return ok;
}

bool WriteWhole(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Keeps the newest kCompileCacheEntries entries (a hit renews its entry's time).
void Evict() {
    const int listing = dup(g_open.fd);
    DIR* d = listing >= 0 ? fdopendir(listing) : nullptr;
    if (!d) {
        if (listing >= 0) close(listing);
        return;
    }
    rewinddir(d);
    std::vector<std::pair<std::int64_t, std::string>> entries;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    while (const dirent* e = readdir(d)) {
        const std::string_view name = e->d_name;
        const bool part = name.find(".part-") != std::string_view::npos;
        if (!part && (name.size() <= kSuffix.size() || !name.ends_with(kSuffix))) continue;
        struct stat info {};
        if (fstatat(g_open.fd, e->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        // A part left by a program that died while writing it.
        if (part) {
            if (now.tv_sec - info.st_mtim.tv_sec > 600) unlinkat(g_open.fd, e->d_name, 0);
            continue;
        }
        entries.emplace_back(
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
            std::string(name));
    }
    closedir(d);
    if (entries.size() <= static_cast<std::size_t>(kCompileCacheEntries)) return;
    std::sort(entries.begin(), entries.end());
    const std::size_t excess = entries.size() - static_cast<std::size_t>(kCompileCacheEntries);
    for (std::size_t i = 0; i < excess; ++i) unlinkat(g_open.fd, entries[i].second.c_str(), 0);
}

}  // namespace

void UseCompileCache(const std::string& dir) {
    std::string absolute = dir;
    // Made absolute now: the programs change directory (--dir) after turning the cache on.
    if (!absolute.empty() && absolute[0] != '/') {
        if (char* here = getcwd(nullptr, 0)) {
            absolute = std::string(here) + "/" + absolute;
            std::free(here);
        }
    }
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_open.fd >= 0) close(g_open.fd);
    g_open = CacheDirectory{};
    g_state = State::Unknown;
    g_dir = absolute;
}

std::string DefaultCompileCacheDir() {
    if (const char* chosen = std::getenv("TESSALINE_COMPILE_CACHE")) {
        const std::string_view value = chosen;
        return value.empty() || value == "off" ? std::string() : std::string(value);
    }
    // As freedesktop.org's base directory rules ask, a relative XDG_CACHE_HOME is ignored.
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/tessaline/compiles";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.cache/tessaline/compiles";
    return {};
}

std::string CompilerIdentity() {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (g_identityReplaced) return g_identityForTests;
    }
    static const std::string identity = BuiltIdentity();
    return identity;
}

void SetCompilerIdentityForTests(const std::string& identity) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_identityReplaced = true;
    g_identityForTests = identity;
}

void ResetCompilerIdentityForTests() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_identityReplaced = false;
}

bool LookUpCompile(const CompileRequest& request, CompileResult& result,
                   const IncludeCheck& includesUnchanged) {
    const std::string identity = CompilerIdentity();
    std::vector<IncludedFile> includes;
    CompileResult found;
    std::string name;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (identity.empty() || !Ready(false)) return false;
        const std::string key = KeyOf(identity, request);
        name = EntryName(g_open.key, key);
        std::string bytes;
        if (!ReadEntry(name, bytes) || bytes.size() < kMagic.size() + 32 ||
            !std::string_view(bytes).starts_with(kMagic))
            return false;
        std::string_view in(bytes);
        std::string_view signedPart = in.substr(0, in.size() - 32);
        Digest tag;
        std::memcpy(tag.data(), bytes.data() + bytes.size() - 32, 32);
        if (!SameDigest(tag, HmacSha256(g_open.key, signedPart))) return false;
        signedPart.remove_prefix(kMagic.size());
        std::string_view storedKey, included, errors, code;
        if (!Take(signedPart, storedKey) || !Take(signedPart, included) ||
            !Take(signedPart, errors) || !Take(signedPart, code) || !signedPart.empty() ||
            storedKey != key || code.empty() || code.size() % 4 != 0 ||
            !TakeIncludes(included, includes))
            return false;
        found.ok = true;
        found.errors.assign(errors);
        found.code.resize(code.size() / 4);
        std::memcpy(found.code.data(), code.data(), code.size());
    }
    // Opened again, outside the lock: the caller's handler may take its time.
    if (!includes.empty() && (!includesUnchanged || !includesUnchanged(includes))) return false;
    found.includes = std::move(includes);
    found.identity = identity;
    result = std::move(found);
    std::lock_guard<std::mutex> lock(g_mutex);
    // Used now: the last to be evicted.
    if (g_state == State::Ready) utimensat(g_open.fd, name.c_str(), nullptr, AT_SYMLINK_NOFOLLOW);
    return true;
}

void StoreCompile(const CompileRequest& request, const CompileResult& result) {
    const std::string identity = CompilerIdentity();
    if (identity.empty() || !result.ok || result.code.empty() ||
        (!result.identity.empty() && result.identity != identity))
        return;
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!Ready(true)) return;
    const std::string key = KeyOf(identity, request);
    std::string entry(kMagic);
    Put(entry, key);
    Put(entry, PutIncludes(result.includes));
    Put(entry, result.errors);
    Put(entry, std::string_view(reinterpret_cast<const char*>(result.code.data()),
                                result.code.size() * 4));
    entry += View(HmacSha256(g_open.key, entry));
    if (entry.size() > kMaxEntryBytes) return;

    static std::atomic<unsigned> serial{0};
    const std::string name = EntryName(g_open.key, key);
    const std::string part =
        name + ".part-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
    const int fd =
        openat(g_open.fd, part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const bool written = WriteWhole(fd, entry);
    if (close(fd) != 0 || !written ||
        renameat(g_open.fd, part.c_str(), g_open.fd, name.c_str()) != 0) {
        unlinkat(g_open.fd, part.c_str(), 0);
        return;
    }
    Evict();
}

}  // namespace d3dx
