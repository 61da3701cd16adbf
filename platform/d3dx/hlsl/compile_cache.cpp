// The compile cache (compile_cache.h). An entry is one file named by a hash of its request:
//
//   "tessaline compile cache 2\n", then length-prefixed fields (32-bit little-endian lengths):
//   the key (the compiler's identity and the whole request), the included files (their count,
//   then each one's type, including file, name and SHA-256), the messages, the code; then a
//   64-bit checksum of all that precedes it.
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
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/hlsl/build_id.h"

namespace d3dx {
namespace {

constexpr std::string_view kMagic = "tessaline compile cache 2\n";
constexpr std::string_view kSuffix = ".entry";
constexpr std::size_t kMaxEntryBytes = std::size_t{16} << 20;

std::mutex g_mutex;
std::string g_dir;
bool g_identityReplaced = false;
std::string g_identityForTests;

std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

void PutWord(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint64_t TakeWord(std::string_view& in, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint64_t{static_cast<unsigned char>(in[static_cast<std::size_t>(i)])}
                 << (8 * i);
    in.remove_prefix(static_cast<std::size_t>(bytes));
    return value;
}

void Put(std::string& out, std::string_view field) {
    PutWord(out, field.size(), 4);
    out += field;
}

bool Take(std::string_view& in, std::string_view& field) {
    if (in.size() < 4) return false;
    const std::uint64_t length = TakeWord(in, 4);
    if (length > in.size()) return false;
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
    if (in.size() < 4) return false;
    const std::uint64_t count = TakeWord(in, 4);
    if (count > kMaxIncludes) return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        IncludedFile f;
        std::string_view name, digest;
        if (in.size() < 8) return false;
        f.type = static_cast<std::uint32_t>(TakeWord(in, 4));
        f.parent = static_cast<std::uint32_t>(TakeWord(in, 4));
        if (!Take(in, name) || !Take(in, digest)) return false;
        f.name = name;
        f.digest = digest;
        includes.push_back(std::move(f));
    }
    return in.empty();
}

std::string Hex(const unsigned char* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0xF];
    }
    return out;
}

std::string EntryPath(const std::string& dir, const std::string& key) {
    const std::uint64_t hash = Fnv1a(key);
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(hash >> (56 - 8 * i));
    return dir + "/" + Hex(bytes, sizeof bytes) + std::string(kSuffix);
}

std::string BuiltIdentity() {
    const std::string& worker = CompileWorkerPath();
    const std::string compiler = worker.empty() ? std::string() : FileBuildId(worker);
    const std::string spirvCross =
        LoadedBuildId(reinterpret_cast<const void*>(&spvc_context_create));
    if (compiler.empty() || spirvCross.empty()) return {};
    return "compiler " + compiler + " spirv-cross " + spirvCross;
}

bool MakeDirectories(const std::string& path) {
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at != path.size() && path[at] != '/') continue;
        const std::string part = path.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
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
void Evict(const std::string& dir) {
    DIR* d = opendir(dir.c_str());
    if (!d) return;
    std::vector<std::pair<std::int64_t, std::string>> entries;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    while (const dirent* e = readdir(d)) {
        const std::string_view name = e->d_name;
        const bool part = name.find(".part-") != std::string_view::npos;
        if (!part && (name.size() <= kSuffix.size() || !name.ends_with(kSuffix))) continue;
        const std::string path = dir + "/" + std::string(name);
        struct stat info {};
        if (stat(path.c_str(), &info) != 0) continue;
        // A part left by a program that died while writing it.
        if (part) {
            if (now.tv_sec - info.st_mtim.tv_sec > 600) unlink(path.c_str());
            continue;
        }
        entries.emplace_back(
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
            path);
    }
    closedir(d);
    if (entries.size() <= static_cast<std::size_t>(kCompileCacheEntries)) return;
    std::sort(entries.begin(), entries.end());
    const std::size_t excess = entries.size() - static_cast<std::size_t>(kCompileCacheEntries);
    for (std::size_t i = 0; i < excess; ++i) unlink(entries[i].second.c_str());
}

std::string Directory() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_dir;
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
    const std::string dir = Directory();
    const std::string identity = CompilerIdentity();
    if (dir.empty() || identity.empty()) return false;
    const std::string key = KeyOf(identity, request);
    const std::string path = EntryPath(dir, key);
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(path.c_str(), kMaxEntryBytes, bytes, error)) return false;
    std::string_view in(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (in.size() < kMagic.size() + 8 || !in.starts_with(kMagic)) return false;
    std::string_view checked = in.substr(0, in.size() - 8);
    std::string_view sum = in.substr(in.size() - 8);
    if (TakeWord(sum, 8) != Fnv1a(checked)) return false;
    checked.remove_prefix(kMagic.size());
    std::string_view storedKey, included, errors, code;
    std::vector<IncludedFile> includes;
    if (!Take(checked, storedKey) || !Take(checked, included) || !Take(checked, errors) ||
        !Take(checked, code) || !checked.empty() || storedKey != key || code.empty() ||
        code.size() % 4 != 0 || !TakeIncludes(included, includes))
        return false;
    // The files it included, opened again: a changed one is a miss.
    if (!includes.empty() && (!includesUnchanged || !includesUnchanged(includes))) return false;
    result.ok = true;
    result.errors.assign(errors);
    result.code.resize(code.size() / 4);
    std::memcpy(result.code.data(), code.data(), code.size());
    result.includes = std::move(includes);
    result.identity = identity;
    // Used now: the last to be evicted.
    utimensat(AT_FDCWD, path.c_str(), nullptr, 0);
    return true;
}

void StoreCompile(const CompileRequest& request, const CompileResult& result) {
    const std::string dir = Directory();
    const std::string identity = CompilerIdentity();
    if (dir.empty() || identity.empty() || !result.ok || result.code.empty() ||
        (!result.identity.empty() && result.identity != identity))
        return;
    const std::string key = KeyOf(identity, request);
    std::string entry(kMagic);
    Put(entry, key);
    Put(entry, PutIncludes(result.includes));
    Put(entry, result.errors);
    Put(entry, std::string_view(reinterpret_cast<const char*>(result.code.data()),
                                result.code.size() * 4));
    PutWord(entry, Fnv1a(entry), 8);
    if (entry.size() > kMaxEntryBytes || !MakeDirectories(dir)) return;

    static std::atomic<unsigned> serial{0};
    const std::string path = EntryPath(dir, key);
    const std::string temporary =
        path + ".part-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const bool written = WriteWhole(fd, entry);
    if (close(fd) != 0 || !written || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return;
    }
    Evict(dir);
}

}  // namespace d3dx
