// Reading regular files without blocking and without mapping them (see file_bytes.h).
#include "platform/d3dx/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace d3dx {
namespace {

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a plain file";
}

FileIdentity IdentityOf(const struct stat& st) {
    FileIdentity id;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = static_cast<std::uint64_t>(st.st_size);
    id.modifiedNs = std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
    id.changedNs = std::int64_t{st.st_ctim.tv_sec} * 1000000000 + st.st_ctim.tv_nsec;
    return id;
}

}  // namespace

RegularFile::~RegularFile() {
    if (fd_ >= 0) close(fd_);
}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : fd_(other.fd_), identity_(other.identity_) {
    other.fd_ = -1;
}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) close(fd_);
        fd_ = other.fd_;
        identity_ = other.identity_;
        other.fd_ = -1;
    }
    return *this;
}

bool RegularFile::Open(const char* path, std::string& error) {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    if (!path || !*path) return error = "cannot open: no file name", false;
    // O_NONBLOCK: opening a named pipe for reading would otherwise wait for a writer; it has no
    // effect on the regular files that are read below.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return error = std::string("cannot open: ") + std::strerror(errno), false;
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        error = std::string("cannot read its status: ") + std::strerror(errno);
        close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        close(fd);
        return error = std::string("not a regular file (") + KindOf(st.st_mode) + ")", false;
    }
    fd_ = fd;
    identity_ = IdentityOf(st);
    return true;
}

bool RegularFile::ReadAll(std::size_t limit, std::vector<std::uint8_t>& out, std::string& error) {
    out.clear();
    if (fd_ < 0) return error = "not open", false;
    if (identity_.size > limit) {
        return error = "too large: " + ByteSize(identity_.size) + ", over the limit of " +
                       ByteSize(limit),
               false;
    }
    // The size from fstat is a first guess: the file may shrink or grow while it is read, and
    // what counts is what read() returns up to the end of the file.
    out.resize(static_cast<std::size_t>(identity_.size) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == out.size()) {
            if (out.size() > limit) {
                out.clear();
                return error = "too large: it grew past the limit of " + ByteSize(limit) +
                               " while it was read",
                       false;
            }
            out.resize(std::min(limit + 1, out.size() + out.size() / 2 + 4096));
        }
        std::size_t got = 0;
        if (!ReadAt(done, out.data() + done, out.size() - done, got, error)) {
            out.clear();
            return false;
        }
        done += got;
        if (done < out.size()) break;
    }
    out.resize(done);
    return true;
}

bool RegularFile::ReadAt(std::uint64_t offset, std::uint8_t* to, std::size_t size, std::size_t& got,
                         std::string& error) const {
    got = 0;
    if (fd_ < 0) return error = "not open", false;
    while (got < size) {
        const ssize_t n = pread(fd_, to + got, size - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return error = std::string("read failed: ") + std::strerror(errno), false;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool RegularFile::StillTheSame() const {
    struct stat st {};
    return fd_ >= 0 && fstat(fd_, &st) == 0 && IdentityOf(st) == identity_;
}

bool ReadFileBytes(const char* path, std::size_t limit, std::vector<std::uint8_t>& out,
                   std::string& error) {
    RegularFile file;
    return file.Open(path, error) && file.ReadAll(limit, out, error);
}

std::string ByteSize(std::uint64_t bytes) {
    char text[64];
    if (bytes < 1024) {
        std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
    } else if (bytes < (std::uint64_t{1} << 20)) {
        std::snprintf(text, sizeof text, "%.1f KiB", static_cast<double>(bytes) / 1024);
    } else {
        std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1 << 20));
    }
    return text;
}

std::string NameForMessage(std::string_view name) {
    if (name.size() <= kQuotedNameBytes) return std::string(name);
    std::size_t cut = kQuotedNameBytes;
    // Not inside a character: continuation bytes are 10xxxxxx.
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return std::string(name.substr(0, cut)) + "...";
}

}  // namespace d3dx
