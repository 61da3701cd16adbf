// The text encoding's token source. With the binary one (binary_source.h) it offers the parser
// one small interface (structural tokens, then values read one at a time by the parser, which
// knows the counts), so that the parser is one template instantiated twice and its inner loops
// inline. It reads through an input window (input_window.h): before each token it makes sure of
// kLookahead bytes, so that the token scanners below work on the window alone; a name, string or
// number that runs past that is refused. A string_view it hands out lasts until the next call.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/d3dx/xfile/input_window.h"

namespace d3dx {

// Punct: the template syntax that data objects never use (brackets, parentheses, angle brackets,
// dots, and in binary files the type keywords such as DWORD and array).
enum class XTok { End, Name, String, Guid, OBrace, CBrace, Template, Value, Punct, Error };

class XTextSource : public InputWindow<char> {
  public:
    explicit XTextSource(ByteSource& source, std::size_t windowBytes = 0)
        : InputWindow(source, windowBytes) {}

    // The smallest number of bytes one value can take: a count larger than the bytes left
    // divided by this cannot be honest.
    static constexpr std::size_t kMinValueBytes = 1;

    XTok Next(std::string_view& text) {
        SkipSeparators();
        if (p_ >= end_) return XTok::End;
        const char c = *p_;
        if (c == '{') return ++p_, XTok::OBrace;
        if (c == '}') return ++p_, XTok::CBrace;
        if (c == '<') return SkipGuidBody() ? XTok::Guid : XTok::Error;
        if (c == '"') {
            const char* close = static_cast<const char*>(std::memchr(p_ + 1, '"', end_ - p_ - 1));
            if (!close && !eof_) return TooLong("a string", p_ + 1, kLookahead), XTok::Error;
            if (!close) return XTok::Error;
            const auto length = static_cast<std::size_t>(close - p_ - 1);
            if (length > kMaxNameBytes) return TooLong("a string", p_ + 1, length), XTok::Error;
            text = std::string_view(p_ + 1, length);
            p_ = close + 1;
            return XTok::String;
        }
        if (IsNameStart(c)) {
            const char* start = p_;
            while (p_ < end_ && IsNameChar(*p_)) ++p_;
            const auto length = static_cast<std::size_t>(p_ - start);
            if (length > kMaxNameBytes) return TooLong("a name", start, length), XTok::Error;
            text = std::string_view(start, length);
            return text == "template" ? XTok::Template : XTok::Name;
        }
        if (IsNumberStart(c)) {
            const char* start = p_;
            while (p_ < end_ && !IsSeparator(*p_) && *p_ != '{' && *p_ != '}') ++p_;
            return Whole(start) ? XTok::Value : XTok::Error;
        }
        return XTok::Error;
    }

    // A GUID may open an object's body; it is skipped where present.
    bool SkipGuidIfAny() {
        SkipSeparators();
        return p_ < end_ && *p_ == '<' ? SkipGuidBody() : true;
    }

    bool ReadUInt(std::uint32_t& v) {
        SkipSeparators();
        const char* p = p_;
        if (p < end_ && *p == '+') ++p;
        std::uint64_t value = 0;
        const char* digits = p;
        while (p < end_ && static_cast<unsigned>(*p - '0') < 10u) {
            value = value * 10 + static_cast<unsigned>(*p - '0');
            if (value > 0xFFFFFFFFu) return false;
            ++p;
        }
        if (p == digits) return false;
        v = static_cast<std::uint32_t>(value);
        const char* start = p_;
        p_ = p;
        return Whole(start);
    }

    bool ReadFloat(float& v) {
        SkipSeparators();
        if (FastFloat(v)) return true;
        const char* p = p_;
        if (p < end_ && *p == '+') ++p;
        const auto [next, ec] = std::from_chars(p, end_, v);
        if (next - p_ > kMaxNumberChars) return NumberTooLong();
        if (ec != std::errc()) return false;
        p_ = next;
        return true;
    }

    bool ReadFloats(float* out, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            if (!ReadFloat(out[i])) return false;
        }
        return true;
    }

    bool ReadUInts(std::uint32_t* out, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            if (!ReadUInt(out[i])) return false;
        }
        return true;
    }

    // Skips the rest of an object whose opening brace has been read.
    bool SkipBlock() {
        int depth = 1;
        for (;;) {
            // Two bytes at hand, for "//".
            if (end_ - p_ < 2 && !eof_) Refill();
            if (p_ >= end_) return false;
            // Bytes that cannot open, close, quote or comment are passed over in a tight loop.
            for (const char* last = end_ - 1; p_ < last && !IsBlockSyntax(*p_);) ++p_;
            const char c = *p_++;
            if (c == '{') {
                ++depth;
            } else if (c == '}') {
                if (--depth == 0) return true;
            } else if (c == '"') {
                if (!SkipPast('"')) return false;
            } else if (c == '#' || (c == '/' && p_ < end_ && *p_ == '/')) {
                SkipPast('\n');
            }
        }
    }

    // The line while the window still holds the file's start; past it, the byte offset (lines
    // are not counted as the parser goes, which would cost it a tenth of its time).
    std::string Where() const {
        return Offset() == static_cast<std::uint64_t>(p_ - Start())
                   ? "line " + std::to_string(Line())
                   : "offset " + std::to_string(Offset());
    }

  private:
    // Commas and semicolons separate values as white space does: exporters write either, or
    // both, in their own variants; every control character counts as white space.
    static bool IsSeparator(char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == ',' || c == ';';
    }
    static bool IsNameStart(char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    }
    static bool IsNameChar(char c) {
        return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
    }
    static bool IsBlockSyntax(char c) {
        return c == '{' || c == '}' || c == '"' || c == '#' || c == '/';
    }
    static bool IsNumberStart(char c) {
        return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
    }

    // A number is at most kMaxNumberChars long, well inside the look-ahead, so that none is cut
    // at the window's end and read as two, whatever the size of the file.
    static constexpr std::ptrdiff_t kMaxNumberChars = kLookahead / 2;
    bool Whole(const char* start) { return p_ - start <= kMaxNumberChars || NumberTooLong(); }
    bool NumberTooLong() {
        return Fail("a number of more than " + std::to_string(kMaxNumberChars) + " characters");
    }

    // Moves past the next `c`, across refills; false where the input ends first.
    bool SkipPast(char c) {
        for (;;) {
            const char* found = static_cast<const char*>(std::memchr(p_, c, end_ - p_));
            if (found) {
                p_ = found + 1;
                return true;
            }
            p_ = end_;
            if (!Refill()) return false;
        }
    }

    // Separators and comments, then kLookahead bytes made sure of. Inline, the common case: a
    // few separators, then a value well inside the window.
    void SkipSeparators() {
        while (p_ < end_ && IsSeparator(*p_)) ++p_;
        if (static_cast<std::size_t>(end_ - p_) < kLookahead || *p_ == '#' || *p_ == '/')
            SkipSeparatorsAndRefill();
    }
    [[gnu::noinline]] void SkipSeparatorsAndRefill() {
        for (;;) {
            while (p_ < end_ && IsSeparator(*p_)) ++p_;
            if (static_cast<std::size_t>(end_ - p_) < kLookahead && !eof_) {
                Refill();
                continue;
            }
            if (p_ < end_ && (*p_ == '#' || (*p_ == '/' && p_ + 1 < end_ && p_[1] == '/'))) {
                SkipPast('\n');
                continue;
            }
            return;
        }
    }

    bool SkipGuidBody() {
        const char* close = static_cast<const char*>(std::memchr(p_, '>', end_ - p_));
        if (!close || close - p_ > 64) return false;
        p_ = close + 1;
        return true;
    }

    // The common form, [sign] digits [. digits] with no exponent and up to 2^53 as digits, read
    // exactly: the digits as an integer below 2^53 over a power of ten up to 10^22 are both exact
    // doubles, so their quotient is the correctly rounded double; rounding that to a float is the
    // correctly rounded float unless the double fell exactly halfway between two floats, which
    // is left, with every other form, to std::from_chars.
    bool FastFloat(float& v) {
        static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        const char* p = p_;
        const bool negative = p < end_ && *p == '-';
        if (p < end_ && (*p == '-' || *p == '+')) ++p;
        std::uint64_t mantissa = 0;
        int digits = 0, fraction = 0;
        for (; p < end_ && static_cast<unsigned>(*p - '0') < 10u; ++p, ++digits) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        }
        if (p < end_ && *p == '.') {
            for (++p; p < end_ && static_cast<unsigned>(*p - '0') < 10u; ++p, ++fraction) {
                mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
            }
        }
        digits += fraction;
        if (digits == 0 || digits > 19 || mantissa > (std::uint64_t{1} << 53) ||
            (p < end_ && (*p == 'e' || *p == 'E' || *p == '#'))) {
            return false;
        }
        double d = static_cast<double>(mantissa) / kPowers[fraction];
        std::uint64_t bits;
        std::memcpy(&bits, &d, 8);
        if ((bits & 0x1FFFFFFFu) == 0x10000000u) return false;  // halfway between two floats
        v = static_cast<float>(negative ? -d : d);
        p_ = p;
        return true;
    }
};

// A string value (a texture file name), from either source.
template <typename Source>
bool ReadString(Source& source, std::string& s) {
    std::string_view text;
    if (source.Next(text) != XTok::String) return false;
    s.assign(text);
    return true;
}

}  // namespace d3dx
