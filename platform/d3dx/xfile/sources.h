// The two token sources the X file parser reads from: text and binary. Both offer the same
// small interface (structural tokens, then values read one at a time by the parser, which knows
// the counts), so that the parser is one template instantiated twice and its inner loops inline.
// Every read checks the bytes left; a source never reads outside its buffer.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/d3dx/xfile/binary_tokens.h"

namespace d3dx {

// Punct: the template syntax that data objects never use (brackets, parentheses, angle brackets,
// dots, and in binary files the type keywords such as DWORD and array).
enum class XTok { End, Name, String, Guid, OBrace, CBrace, Template, Value, Punct, Error };

// Called with the position below which the parser will never look again, so that the owner of
// the bytes can let those pages go.
struct ReleaseHook {
    void (*release)(void* context, const std::uint8_t* upTo) = nullptr;
    void* context = nullptr;
};

class XTextSource {
  public:
    XTextSource(const char* begin, const char* end, ReleaseHook hook = {})
        : begin_(begin), p_(begin), end_(end), hook_(hook) {}

    // The smallest number of bytes one value can take: a count larger than the bytes left
    // divided by this cannot be honest.
    static constexpr std::size_t kMinValueBytes = 1;
    std::size_t BytesLeft() const { return static_cast<std::size_t>(end_ - p_); }

    XTok Next(std::string_view& text) {
        SkipSeparators();
        if (p_ >= end_) return XTok::End;
        const char c = *p_;
        if (c == '{') return ++p_, XTok::OBrace;
        if (c == '}') return ++p_, XTok::CBrace;
        if (c == '<') return SkipGuidBody() ? XTok::Guid : XTok::Error;
        if (c == '"') {
            const char* close = static_cast<const char*>(std::memchr(p_ + 1, '"', end_ - p_ - 1));
            if (!close) return XTok::Error;
            text = std::string_view(p_ + 1, static_cast<std::size_t>(close - p_ - 1));
            p_ = close + 1;
            return XTok::String;
        }
        if (IsNameStart(c)) {
            const char* start = p_;
            while (p_ < end_ && IsNameChar(*p_)) ++p_;
            text = std::string_view(start, static_cast<std::size_t>(p_ - start));
            return text == "template" ? XTok::Template : XTok::Name;
        }
        if (IsNumberStart(c)) {
            while (p_ < end_ && !IsSeparator(*p_) && *p_ != '{' && *p_ != '}') ++p_;
            return XTok::Value;
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
        MaybeRelease();
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
        p_ = p;
        return true;
    }

    bool ReadFloat(float& v) {
        SkipSeparators();
        MaybeRelease();
        if (FastFloat(v)) return true;
        const char* p = p_;
        if (p < end_ && *p == '+') ++p;
        const auto [next, ec] = std::from_chars(p, end_, v);
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
        while (p_ < end_) {
            const char c = *p_++;
            if (c == '{') {
                ++depth;
            } else if (c == '}') {
                if (--depth == 0) return true;
            } else if (c == '"') {
                const char* close = static_cast<const char*>(std::memchr(p_, '"', end_ - p_));
                if (!close) return false;
                p_ = close + 1;
            } else if (c == '#' || (c == '/' && p_ < end_ && *p_ == '/')) {
                SkipLine();
            }
        }
        return false;
    }

    // The line, counted from the start; once pages behind the parser have been let go, they can
    // no longer be counted, and the byte offset is given instead.
    std::string Where() const {
        if (released_) return "offset " + std::to_string(p_ - begin_);
        std::size_t line = 1;
        for (const char* q = begin_; q < p_ && q < end_; ++q) line += *q == '\n';
        return "line " + std::to_string(line);
    }

  private:
    static constexpr std::size_t kReleaseStep = std::size_t{8} << 20;

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
    static bool IsNumberStart(char c) {
        return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
    }

    void SkipLine() {
        const char* nl = static_cast<const char*>(std::memchr(p_, '\n', end_ - p_));
        p_ = nl ? nl + 1 : end_;
    }

    void SkipSeparators() {
        for (;;) {
            while (p_ < end_ && IsSeparator(*p_)) ++p_;
            if (p_ < end_ && (*p_ == '#' || (*p_ == '/' && p_ + 1 < end_ && p_[1] == '/'))) {
                SkipLine();
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

    void MaybeRelease() {
        if (hook_.release && static_cast<std::size_t>(p_ - begin_) >= nextRelease_) {
            hook_.release(hook_.context, reinterpret_cast<const std::uint8_t*>(p_));
            nextRelease_ = static_cast<std::size_t>(p_ - begin_) + kReleaseStep;
            released_ = true;
        }
    }

    const char* begin_;
    const char* p_;
    const char* end_;
    ReleaseHook hook_;
    std::size_t nextRelease_ = kReleaseStep;  // offset of the next release
    bool released_ = false;
};

// The binary encoding: 16-bit token codes (xfile/binary_tokens.h), values in integer and float
// lists. Every token of the format is known.
class XBinarySource {
  public:
    XBinarySource(const std::uint8_t* begin, const std::uint8_t* end, bool doubles,
                  ReleaseHook hook = {})
        : begin_(begin), p_(begin), end_(end), floatBytes_(doubles ? 8 : 4), hook_(hook) {}

    static constexpr std::size_t kMinValueBytes = 4;
    std::size_t BytesLeft() const { return static_cast<std::size_t>(end_ - p_); }

    XTok Next(std::string_view& text) {
        intsLeft_ = floatsLeft_ = 0;  // values the parser did not ask for are passed over
        std::uint16_t token;
        do {
            if (!Word(token)) return p_ >= end_ ? XTok::End : XTok::Error;
        } while (token == kXComma || token == kXSemicolon);
        switch (token) {
            case kXName:
            case kXString: {
                std::uint32_t n;
                if (!Dword(n) || n > BytesLeft()) return XTok::Error;
                text = std::string_view(reinterpret_cast<const char*>(p_), n);
                p_ += n;
                if (token == kXString) SkipStringTerminator();
                return token == kXName ? XTok::Name : XTok::String;
            }
            case kXGuid:
                return Skip(16) ? XTok::Guid : XTok::Error;
            case kXOBrace:
                return XTok::OBrace;
            case kXCBrace:
                return XTok::CBrace;
            case kXTemplate:
                return XTok::Template;
            case kXInteger:
                return Skip(4) ? XTok::Value : XTok::Error;
            case kXIntegerList:
            case kXFloatList: {
                std::uint32_t n;
                const std::size_t size = token == kXIntegerList ? 4 : floatBytes_;
                if (!Dword(n) || n > BytesLeft() / size) return XTok::Error;
                p_ += std::size_t{n} * size;
                return XTok::Value;
            }
            default:
                if ((token >= kXOParen && token <= kXDot) ||
                    (token >= kXWord && token <= kXArray)) {
                    return XTok::Punct;
                }
                return XTok::Error;
        }
    }

    bool SkipGuidIfAny() {
        std::uint16_t token;
        if (!PeekWord(token) || token != kXGuid) return true;
        p_ += 2;
        return Skip(16);
    }

    bool ReadUInt(std::uint32_t& v) {
        if (intsLeft_ == 0 && !OpenList(kXIntegerList, 4, intsLeft_)) return false;
        --intsLeft_;
        return Dword(v);
    }

    bool ReadFloat(float& v) {
        if (floatsLeft_ == 0 && !OpenList(kXFloatList, floatBytes_, floatsLeft_)) return false;
        --floatsLeft_;
        if (floatBytes_ == 4) {
            std::memcpy(&v, p_, 4);
        } else {
            double d;
            std::memcpy(&d, p_, 8);
            v = static_cast<float>(d);
        }
        p_ += floatBytes_;
        return true;
    }

    // Whole runs of a list at a time.
    bool ReadFloats(float* out, std::size_t count) {
        while (count) {
            if (floatsLeft_ == 0 && !OpenList(kXFloatList, floatBytes_, floatsLeft_)) return false;
            const std::size_t n = std::min<std::size_t>(count, floatsLeft_);
            if (floatBytes_ == 4) {
                std::memcpy(out, p_, n * 4);
            } else {
                for (std::size_t i = 0; i < n; ++i) {
                    double d;
                    std::memcpy(&d, p_ + 8 * i, 8);
                    out[i] = static_cast<float>(d);
                }
            }
            p_ += n * floatBytes_;
            floatsLeft_ -= static_cast<std::uint32_t>(n);
            out += n;
            count -= n;
        }
        return true;
    }

    // The integers left in the current list, read in place; opens the next list if none is open.
    bool PeekInts(const std::uint8_t*& data, std::size_t& count) {
        if (intsLeft_ == 0 && !OpenList(kXIntegerList, 4, intsLeft_)) return false;
        data = p_;
        count = intsLeft_;
        return true;
    }
    void SkipInts(std::size_t count) {
        p_ += 4 * count;
        intsLeft_ -= static_cast<std::uint32_t>(count);
    }

    bool ReadUInts(std::uint32_t* out, std::size_t count) {
        while (count) {
            if (intsLeft_ == 0 && !OpenList(kXIntegerList, 4, intsLeft_)) return false;
            const std::size_t n = std::min<std::size_t>(count, intsLeft_);
            std::memcpy(out, p_, n * 4);
            p_ += n * 4;
            intsLeft_ -= static_cast<std::uint32_t>(n);
            out += n;
            count -= n;
        }
        return true;
    }

    bool SkipBlock() {
        int depth = 1;
        std::string_view ignored;
        while (depth > 0) {
            switch (Next(ignored)) {
                case XTok::OBrace:
                    ++depth;
                    break;
                case XTok::CBrace:
                    --depth;
                    break;
                case XTok::End:
                case XTok::Error:
                    return false;
                default:
                    break;
            }
        }
        return true;
    }

    std::string Where() const { return "offset " + std::to_string(p_ - begin_); }

  private:
    static constexpr std::size_t kReleaseStep = std::size_t{8} << 20;

    bool Word(std::uint16_t& w) {
        if (BytesLeft() < 2) return false;
        w = static_cast<std::uint16_t>(p_[0] | (p_[1] << 8));
        p_ += 2;
        return true;
    }
    bool PeekWord(std::uint16_t& w) const {
        if (BytesLeft() < 2) return false;
        w = static_cast<std::uint16_t>(p_[0] | (p_[1] << 8));
        return true;
    }
    bool Dword(std::uint32_t& d) {
        if (BytesLeft() < 4) return false;
        std::memcpy(&d, p_, 4);
        p_ += 4;
        return true;
    }
    bool Skip(std::size_t n) {
        if (BytesLeft() < n) return false;
        p_ += n;
        return true;
    }
    // A string ends with a separator token: a word, as exporters write it; the double word that
    // some documentation shows is read too.
    void SkipStringTerminator() {
        std::uint16_t w;
        if (PeekWord(w) && (w == kXComma || w == kXSemicolon)) p_ += 2;
        if (PeekWord(w) && w == 0) p_ += 2;
    }

    bool OpenList(std::uint16_t listToken, std::size_t valueBytes, std::uint32_t& left) {
        if (hook_.release && static_cast<std::size_t>(p_ - begin_) >= nextRelease_) {
            hook_.release(hook_.context, p_);
            nextRelease_ = static_cast<std::size_t>(p_ - begin_) + kReleaseStep;
        }
        std::uint16_t token;
        do {
            if (!Word(token)) return false;
        } while (token == kXComma || token == kXSemicolon);
        if (token == kXInteger && listToken == kXIntegerList) {
            left = 1;  // a lone integer reads as a list of one
            return BytesLeft() >= 4;
        }
        if (token != listToken) return false;
        std::uint32_t n;
        if (!Dword(n) || n == 0 || n > BytesLeft() / valueBytes) return false;
        left = n;
        return true;
    }

    const std::uint8_t* begin_;
    const std::uint8_t* p_;
    const std::uint8_t* end_;
    std::size_t floatBytes_;
    ReleaseHook hook_;
    std::size_t nextRelease_ = kReleaseStep;
    std::uint32_t intsLeft_ = 0;
    std::uint32_t floatsLeft_ = 0;
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
