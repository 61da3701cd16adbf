// Reading the files the D3DX services are named: opened without blocking (a named pipe in a
// file's place must not hang the harness), refused unless they are regular files, read rather
// than mapped (a file that shrinks while it is read must not kill the process), and identified
// by what changes when the file is edited, so that a decoded picture can be reused safely.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace d3dx {

// What tells one version of a file from another: the same (device, inode) with the same size
// and times is the same content.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

// An open regular file. Errors are short phrases with the system's reason:
// "cannot open: No such file or directory", "not a regular file (a named pipe)".
class RegularFile {
  public:
    RegularFile() = default;
    ~RegularFile();
    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&& other) noexcept;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool Open(const char* path, std::string& error);
    const FileIdentity& Identity() const { return identity_; }
    // The whole file as it is now, however it changes while it is read; more than `limit` bytes
    // is an error.
    bool ReadAll(std::size_t limit, std::vector<std::uint8_t>& out, std::string& error);
    // Up to `size` bytes from `offset` into `to`, however often read() stops short; `got` is less
    // than `size` only at the end of the file.
    bool ReadAt(std::uint64_t offset, std::uint8_t* to, std::size_t size, std::size_t& got,
                std::string& error) const;
    // The identity again, from the open file: it differs from Identity() where the file was
    // written to since it was opened.
    bool StillTheSame() const;

  private:
    int fd_ = -1;
    FileIdentity identity_;
};

// Opens and reads a whole regular file of at most `limit` bytes.
bool ReadFileBytes(const char* path, std::size_t limit, std::vector<std::uint8_t>& out,
                   std::string& error);

// "12.5 MiB", "300 bytes": sizes in messages.
std::string ByteSize(std::uint64_t bytes);

// A name (a file name, a name from a file) as messages quote it: whole up to kQuotedNameBytes,
// else cut there (at the start of a UTF-8 character) and followed by "...". A hostile file may
// name a texture with megabytes; no message repeats them.
inline constexpr std::size_t kQuotedNameBytes = 200;
std::string NameForMessage(std::string_view name);

}  // namespace d3dx
