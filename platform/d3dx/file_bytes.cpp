#include "platform/d3dx/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace d3dx {

bool ReadFileBytes(const char* path, std::size_t limit, std::vector<std::uint8_t>& out,
                   std::string& error) {
    const int fd = path ? open(path, O_RDONLY | O_CLOEXEC) : -1;
    if (fd < 0) return error = "cannot open the file", false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return error = "not a regular file", false;
    }
    if (static_cast<std::uint64_t>(st.st_size) > limit) {
        close(fd);
        return error = "file too large", false;
    }
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = read(fd, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    close(fd);
    out.resize(done);
    return true;
}

}  // namespace d3dx
