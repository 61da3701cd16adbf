// Opening and checking the compile cache's directory and key (see cache_directory.h).
#include "platform/d3dx/hlsl/cache_directory.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace d3dx {
namespace {

constexpr std::size_t kKeyBytes = 32;
constexpr const char* kKeyName = "key";

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

bool MakeDirectories(const std::string& path) {
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at != path.size() && path[at] != '/') continue;
        const std::string part = path.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

// The owner and mode rules, for the directory and for the key alike.
const char* Refusal(const struct stat& info, bool directory) {
    if (info.st_uid != geteuid()) return "it belongs to another user";
    if (directory && !S_ISDIR(info.st_mode)) return "it is not a directory";
    if (directory && (info.st_mode & S_IWGRP)) return "it is writable by its group";
    if (directory && (info.st_mode & S_IWOTH)) return "it is writable by others";
    if (!directory && !S_ISREG(info.st_mode)) return "its key is not a plain file";
    if (!directory && (info.st_mode & 07777) != 0600)
        return "its key may be read or written by others than its user (it is not mode 0600)";
    return nullptr;
}

// Writes a new key under a name of its own, then links it in place: the key appears whole or
// not at all, and of two programs making one at once, the second takes the first one's.
bool MakeKey(int dir, std::string& why) {
    std::string key(kKeyBytes, '\0');
    if (getrandom(key.data(), key.size(), 0) != static_cast<ssize_t>(key.size()))
        return why = SystemError("cannot make its key"), false;
    static std::atomic<unsigned> serial{0};
    const std::string part = std::string(kKeyName) + ".part-" + std::to_string(getpid()) + "-" +
                             std::to_string(serial++);
    const int fd =
        openat(dir, part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return why = SystemError("cannot make its key"), false;
    const bool written = write(fd, key.data(), key.size()) == static_cast<ssize_t>(key.size());
    const bool closed = close(fd) == 0;
    const bool linked =
        written && closed && (linkat(dir, part.c_str(), dir, kKeyName, 0) == 0 || errno == EEXIST);
    if (!linked) why = SystemError("cannot make its key");
    unlinkat(dir, part.c_str(), 0);
    return linked;
}

CacheDirectoryState ReadKey(int dir, bool make, std::string& key, std::string& why) {
    int fd = openat(dir, kKeyName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        if (!make) return CacheDirectoryState::Missing;
        if (!MakeKey(dir, why)) return CacheDirectoryState::Refused;
        fd = openat(dir, kKeyName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    }
    if (fd < 0) {
        why = errno == ELOOP ? "its key is a symbolic link" : SystemError("cannot open its key");
        return CacheDirectoryState::Refused;
    }
    struct stat info {};
    const char* refusal = fstat(fd, &info) != 0 ? "cannot read its key" : Refusal(info, false);
    key.assign(kKeyBytes, '\0');
    if (!refusal && (info.st_size != static_cast<off_t>(kKeyBytes) ||
                     read(fd, key.data(), key.size()) != static_cast<ssize_t>(kKeyBytes)))
        refusal = "its key is not 32 bytes";
    close(fd);
    if (refusal) {
        why = refusal;
        return CacheDirectoryState::Refused;
    }
    return CacheDirectoryState::Ready;
}

}  // namespace

CacheDirectoryState OpenCacheDirectory(const std::string& path, bool make, CacheDirectory& out,
                                       std::string& why) {
    if (make && !MakeDirectories(path)) {
        why = SystemError("cannot make it");
        return CacheDirectoryState::Refused;
    }
    const int dir = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0) {
        if (errno == ENOENT && !make) return CacheDirectoryState::Missing;
        // O_NOFOLLOW on a symbolic link: ELOOP; on a link to something else: ENOTDIR.
        struct stat link {};
        const bool symbolic = lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
        why = symbolic ? "it is a symbolic link" : SystemError("cannot open it");
        return CacheDirectoryState::Refused;
    }
    struct stat info {};
    const char* refusal = fstat(dir, &info) != 0 ? "cannot read its owner" : Refusal(info, true);
    if (refusal) {
        close(dir);
        why = refusal;
        return CacheDirectoryState::Refused;
    }
    const CacheDirectoryState key = ReadKey(dir, make, out.key, why);
    if (key != CacheDirectoryState::Ready) {
        close(dir);
        return key;
    }
    out.fd = dir;
    return CacheDirectoryState::Ready;
}

}  // namespace d3dx
