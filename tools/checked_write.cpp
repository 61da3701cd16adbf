// Checked file writes (see checked_write.h).
#include "tools/checked_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace snapshot {
namespace {

bool Fail(std::string& error, const char* what) {
    error = std::string(what) + ": " + std::strerror(errno);
    return false;
}

bool WriteAll(int fd, const std::string& bytes, std::string& error) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Fail(error, "cannot write");
        if (n == 0) {
            errno = ENOSPC;
            return Fail(error, "cannot write");
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes and closes; the close reports what a write behind it could not (a network file
// system's quota). The first failure is the one said.
bool WriteAndClose(int fd, const std::string& bytes, std::string& error) {
    bool ok = WriteAll(fd, bytes, error);
    if (close(fd) != 0 && errno != EINTR && ok) ok = Fail(error, "cannot finish writing");
    return ok;
}

}  // namespace

bool WriteFileChecked(const std::string& path, const std::string& bytes, std::string& error) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) return Fail(error, "cannot open");
        return WriteAndClose(fd, bytes, error);
    }
    std::vector<char> part(path.begin(), path.end());
    const char suffix[] = ".part-XXXXXX";
    part.insert(part.end(), suffix, suffix + sizeof suffix);
    const int fd = mkstemp(part.data());
    if (fd < 0) return Fail(error, "cannot create a file beside it");
    // mkstemp makes the file 0600; a frame is as readable as any file the user writes.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    bool ok = WriteAndClose(fd, bytes, error);
    if (ok && rename(part.data(), path.c_str()) != 0) ok = Fail(error, "cannot rename into place");
    if (!ok) unlink(part.data());
    return ok;
}

}  // namespace snapshot
