// The X reader's byte sources: memory, an open file, and a source read ahead on a thread.
#include "platform/d3dx/xfile/byte_source.h"

#include <algorithm>
#include <cstring>

namespace d3dx {
namespace {

// Reads this large or larger go straight to their destination: the window's refills.
constexpr std::size_t kFileBufferBytes = std::size_t{64} << 10;
constexpr std::size_t kChunkBytes = std::size_t{512} << 10;
constexpr std::size_t kChunks = 4;

}  // namespace

bool MemorySource::Read(std::uint8_t* to, std::size_t size, std::size_t& got) {
    got = std::min(size, bytes_.size() - at_);
    if (got) std::memcpy(to, bytes_.data() + at_, got);
    at_ += got;
    return true;
}

FileSource::FileSource(RegularFile& file, std::uint64_t offset, const std::atomic<bool>* cancel)
    : file_(file), offset_(offset), cancel_(cancel), buffer_(kFileBufferBytes) {}

bool FileSource::Read(std::uint8_t* to, std::size_t size, std::size_t& got) {
    got = 0;
    if (cancel_ && cancel_->load(std::memory_order_relaxed)) {
        return Fail("the read was cancelled", false);
    }
    while (got < size) {
        if (at_ < end_) {
            const std::size_t take = std::min(size - got, end_ - at_);
            std::memcpy(to + got, buffer_.data() + at_, take);
            at_ += take;
            got += take;
            continue;
        }
        std::size_t n = 0;
        // Large reads go straight to their destination; small ones through the buffer.
        const bool direct = size - got >= buffer_.size();
        if (!Fill(direct ? to + got : buffer_.data(), direct ? size - got : buffer_.size(), n)) {
            return false;
        }
        if (n == 0) break;
        if (direct) {
            got += n;
        } else {
            at_ = 0;
            end_ = n;
        }
    }
    return true;
}

bool FileSource::Fill(std::uint8_t* to, std::size_t size, std::size_t& got) {
    got = 0;
    const std::uint64_t size0 = file_.Identity().size;
    if (offset_ >= size0) return true;
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(size, size0 - offset_));
    std::string error;
    if (!file_.ReadAt(offset_, to, want, got, error)) return Fail(error, false);
    offset_ += got;
    if (got < want) return Fail("the file became shorter while it was read", false);
    // A file written to while it was read may hold parts of two versions.
    if (offset_ == size0 && !file_.StillTheSame()) {
        return Fail("the file changed while it was read", false);
    }
    return true;
}

ReadAhead::ReadAhead(ByteSource& inner)
    : inner_(inner), chunks_(kChunks), leftAfterChunk_(inner.MostLeft()) {
    for (Chunk& c : chunks_) c.bytes.resize(kChunkBytes);
    thread_ = std::thread(&ReadAhead::Produce, this);
}

ReadAhead::~ReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void ReadAhead::Produce() {
    for (std::size_t n = 0;; ++n) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stop_ || produced_ - consumed_ < kChunks; });
            if (stop_) return;
        }
        Chunk& c = chunks_[n % kChunks];
        const bool ok = inner_.Read(c.bytes.data(), kChunkBytes, c.size);
        c.leftAfter = inner_.MostLeft();
        c.last = !ok || c.size < kChunkBytes;
        if (!ok) c.size = 0;
        {
            const std::lock_guard lock(mutex_);
            ++produced_;
        }
        changed_.notify_all();
        if (c.last) return;
    }
}

// Hands the chunk just read back to the thread and waits for the next one.
bool ReadAhead::TakeNext() {
    std::unique_lock lock(mutex_);
    consumed_ = current_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return produced_ > current_; });
    const Chunk& c = chunks_[current_ % kChunks];
    ++current_;
    chunkAt_ = 0;
    chunkEnd_ = c.size;
    leftAfterChunk_ = c.leftAfter;
    finished_ = c.last;
    // The inner source's error was set before the chunk was published.
    if (c.last && !inner_.Error().empty()) return Fail(inner_.Error(), inner_.Malformed());
    return true;
}

bool ReadAhead::Read(std::uint8_t* to, std::size_t size, std::size_t& got) {
    got = 0;
    while (got < size) {
        if (chunkAt_ == chunkEnd_) {
            if (finished_) break;
            if (!TakeNext()) return false;
            continue;
        }
        const Chunk& c = chunks_[(current_ - 1) % kChunks];
        const std::size_t take = std::min(size - got, chunkEnd_ - chunkAt_);
        std::memcpy(to + got, c.bytes.data() + chunkAt_, take);
        chunkAt_ += take;
        got += take;
    }
    return true;
}

}  // namespace d3dx
