// The fixed-size window the X token sources read through: the bytes not yet used are moved to
// its front and the rest is filled from the byte source. A refill happens when fewer than
// kLookahead bytes are left before a token, so that any token of up to that size lies whole in
// the window; longer ones are refused. What the parser keeps is its own; the window is all the
// input it holds.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/d3dx/raw_vector.h"
#include "platform/d3dx/xfile/byte_source.h"

namespace d3dx {

// The longest name or string (a texture file name) an X file may hold: a path longer than this
// cannot be opened. Messages quote at most kQuotedNameBytes of one.
inline constexpr std::size_t kMaxNameBytes = 4096;

template <typename Char>
class InputWindow {
  public:
    static constexpr std::size_t kCapacity = std::size_t{256} << 10;
    static constexpr std::size_t kLookahead = std::size_t{16} << 10;

    // The most bytes still to come, the window's included.
    std::size_t BytesLeft() const {
        return static_cast<std::size_t>(end_ - p_) + static_cast<std::size_t>(source_.MostLeft());
    }
    // Why the input failed (a read, the compressed data, a token too long); empty where it did
    // not. Malformed: the bytes are not a valid file, as against unreadable.
    const std::string& Failure() const { return failure_; }
    bool FailureIsMalformed() const { return malformed_; }

  protected:
    // `capacity`: 0 for kCapacity; at least twice kLookahead.
    InputWindow(ByteSource& source, std::size_t capacity)
        : source_(source),
          // A small input takes a window of its size (one byte more, to see its end).
          buffer_(static_cast<std::size_t>(std::min<std::uint64_t>(
              capacity ? std::max(capacity, 2 * kLookahead) : kCapacity, source.MostLeft() + 1))) {
        p_ = end_ = buffer_.data();
    }

    // Keeps [p_, end_), fills the rest of the window; false when nothing more came.
    bool Refill() {
        if (eof_) return false;
        const std::size_t keep = static_cast<std::size_t>(end_ - p_);
        offset_ += static_cast<std::uint64_t>(p_ - buffer_.data());
        std::memmove(buffer_.data(), p_, keep);
        p_ = buffer_.data();
        end_ = p_ + keep;
        std::size_t got = 0;
        const std::size_t room = buffer_.size() - keep;
        if (!source_.Read(reinterpret_cast<std::uint8_t*>(buffer_.data()) + keep, room, got)) {
            eof_ = true;
            return Fail(source_.Error(), source_.Malformed());
        }
        end_ += got;
        if (got < room) eof_ = true;
        return got > 0;
    }

    // Refills when fewer than kLookahead bytes are left.
    void Ahead() {
        if (static_cast<std::size_t>(end_ - p_) < kLookahead && !eof_) Refill();
    }

    // Makes `n` bytes (at most kLookahead) available at p_, if the input holds them.
    bool Have(std::size_t n) {
        while (static_cast<std::size_t>(end_ - p_) < n) {
            if (!Refill()) return false;
        }
        return true;
    }

    bool Fail(const std::string& why, bool malformed = true) {
        if (failure_.empty()) failure_ = why, malformed_ = malformed;
        return false;
    }

    // "a name of more than 4096 bytes ("abc..." ...)": the start of the name, cut short.
    bool TooLong(const char* what, const Char* start, std::size_t known) {
        const std::size_t shown = std::min(known, static_cast<std::size_t>(end_ - start));
        return Fail(
            std::string(what) + " of more than " + std::to_string(kMaxNameBytes) + " bytes (\"" +
            NameForMessage(std::string_view(reinterpret_cast<const char*>(start), shown)) + "\")");
    }

    std::uint64_t Offset() const {
        return offset_ + static_cast<std::uint64_t>(p_ - buffer_.data());
    }
    // The line of p_, counted from the start of the window.
    std::uint64_t Line() const {
        return static_cast<std::uint64_t>(std::count(Start(), p_, Char{'\n'})) + 1;
    }
    const Char* Start() const { return buffer_.data(); }

    const Char* p_;
    const Char* end_;
    bool eof_ = false;

  private:
    ByteSource& source_;
    RawVector<Char> buffer_;
    std::uint64_t offset_ = 0;  // of the window's first byte
    std::string failure_;
    bool malformed_ = true;
};

}  // namespace d3dx
