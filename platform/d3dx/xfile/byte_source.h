// Where the X reader's bytes come from, a piece at a time: memory, an open file, MSZIP blocks
// inflated as they are asked for (mszip.cpp), or any of these read ahead on a thread of its own.
// No source ever holds the whole input: what the parser keeps is proportional to the mesh.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/raw_vector.h"

namespace d3dx {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes into `to`; `got` falls short of `size` only at the end of the input.
    // False where the bytes cannot be had: Error() then says why.
    virtual bool Read(std::uint8_t* to, std::size_t size, std::size_t& got) = 0;
    // The most bytes that can still come: exact for memory and files, what is declared for
    // compressed data.
    virtual std::uint64_t MostLeft() const = 0;

    const std::string& Error() const { return error_; }
    // A failure of the data itself (bad compressed blocks), as against one of reading it.
    bool Malformed() const { return malformed_; }

  protected:
    bool Fail(std::string why, bool malformed) {
        if (error_.empty()) error_ = std::move(why), malformed_ = malformed;
        return false;
    }

  private:
    std::string error_;
    bool malformed_ = false;
};

class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool Read(std::uint8_t* to, std::size_t size, std::size_t& got) override;
    std::uint64_t MostLeft() const override { return bytes_.size() - at_; }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

// An open regular file from `offset` to the size it had when it was opened, through a buffer of
// its own for small reads. A file that ends sooner, or that was written to by the time its end
// is read, is a failure; so is a set `cancel` flag, at the next read.
class FileSource : public ByteSource {
  public:
    FileSource(RegularFile& file, std::uint64_t offset, const std::atomic<bool>* cancel);
    bool Read(std::uint8_t* to, std::size_t size, std::size_t& got) override;
    std::uint64_t MostLeft() const override {
        return file_.Identity().size - offset_ + (end_ - at_);
    }

  private:
    bool Fill(std::uint8_t* to, std::size_t size, std::size_t& got);

    RegularFile& file_;
    std::uint64_t offset_;  // of the next byte read from the file
    const std::atomic<bool>* cancel_;
    std::vector<std::uint8_t> buffer_;
    std::size_t at_ = 0, end_ = 0;
};

// Reads another source ahead on a thread of its own, a few chunks at a time, so that inflating
// overlaps parsing.
class ReadAhead : public ByteSource {
  public:
    explicit ReadAhead(ByteSource& inner);
    ~ReadAhead() override;
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;
    bool Read(std::uint8_t* to, std::size_t size, std::size_t& got) override;
    std::uint64_t MostLeft() const override { return (chunkEnd_ - chunkAt_) + leftAfterChunk_; }

  private:
    struct Chunk {
        std::vector<std::uint8_t> bytes;
        std::size_t size = 0;
        std::uint64_t leftAfter = 0;  // the inner source's MostLeft once it was read
        bool last = false;            // the end of the input, or a failure
    };
    void Produce();
    bool TakeNext();

    ByteSource& inner_;
    std::vector<Chunk> chunks_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t produced_ = 0, consumed_ = 0;  // chunks, counted from the start
    bool stop_ = false;
    std::thread thread_;
    // The consumer's chunk.
    std::size_t current_ = 0, chunkAt_ = 0, chunkEnd_ = 0;
    std::uint64_t leftAfterChunk_;
    bool finished_ = false;
};

// MSZIP ("tzip", "bzip"): from the 32-bit declared size after the header, blocks inflated one at
// a time, each with the 32 KiB of output before it as its dictionary (mszip.cpp).
class MsZipSource : public ByteSource {
  public:
    explicit MsZipSource(ByteSource& compressed);
    ~MsZipSource() override;
    MsZipSource(const MsZipSource&) = delete;
    MsZipSource& operator=(const MsZipSource&) = delete;
    bool Read(std::uint8_t* to, std::size_t size, std::size_t& got) override;
    std::uint64_t MostLeft() const override;

  private:
    bool Start();
    bool NextBlock();
    bool ReadCompressed(std::uint8_t* to, std::size_t size, const char* shortage);

    ByteSource& compressed_;
    void* zlib_ = nullptr;
    bool started_ = false, ended_ = false;
    std::uint64_t expected_ = 0, produced_ = 0;  // bytes of output, the header's 16 not counted
    // The dictionary (the last 32 KiB of output) followed by the current block's output.
    RawVector<std::uint8_t> window_, input_;
    std::size_t blockAt_ = 0, blockEnd_ = 0;
};

}  // namespace d3dx
