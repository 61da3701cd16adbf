// The binary encoding's token source: 16-bit token codes (xfile/binary_tokens.h), values in
// integer and float lists. Every token of the format is known. It reads through an input window
// (input_window.h), refilled wherever a token or a run of values reaches its end; a list may be
// far larger than the window, and is read in pieces.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/d3dx/xfile/binary_tokens.h"
#include "platform/d3dx/xfile/text_source.h"

namespace d3dx {

class XBinarySource : public InputWindow<std::uint8_t> {
  public:
    XBinarySource(ByteSource& source, bool doubles, std::size_t windowBytes = 0)
        : InputWindow(source, windowBytes), floatBytes_(doubles ? 8 : 4) {}

    static constexpr std::size_t kMinValueBytes = 4;

    XTok Next(std::string_view& text) {
        // Values of an open list that the parser did not ask for are passed over.
        if (!Skip(std::size_t{intsLeft_} * 4 + std::size_t{floatsLeft_} * floatBytes_)) {
            return XTok::Error;
        }
        intsLeft_ = floatsLeft_ = 0;
        std::uint16_t token;
        do {
            if (!Word(token)) return p_ >= end_ && eof_ ? XTok::End : XTok::Error;
        } while (token == kXComma || token == kXSemicolon);
        switch (token) {
            case kXName:
            case kXString: {
                std::uint32_t n;
                if (!Dword(n)) return XTok::Error;
                if (n > kMaxNameBytes) {
                    Have(kQuotedNameBytes + 1);
                    TooLong(token == kXName ? "a name" : "a string", p_, n);
                    return XTok::Error;
                }
                if (!Have(n)) return XTok::Error;
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
                return Skip(std::size_t{n} * size) ? XTok::Value : XTok::Error;
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

    bool ReadFloat(float& v) { return ReadFloats(&v, 1); }

    // Whole runs of a list at a time, as far as the window holds them.
    bool ReadFloats(float* out, std::size_t count) {
        while (count) {
            if (floatsLeft_ == 0 && !OpenList(kXFloatList, floatBytes_, floatsLeft_)) return false;
            if (!Have(floatBytes_)) return false;
            const std::size_t n = std::min<std::size_t>(
                {count, floatsLeft_, static_cast<std::size_t>(end_ - p_) / floatBytes_});
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

    // The integers of the current list that the window holds, read in place; opens the next list
    // if none is open. The pointer lasts until the next call.
    bool PeekInts(const std::uint8_t*& data, std::size_t& count) {
        if (intsLeft_ == 0 && !OpenList(kXIntegerList, 4, intsLeft_)) return false;
        Ahead();
        if (!Have(4)) return false;
        data = p_;
        count = std::min<std::size_t>(intsLeft_, static_cast<std::size_t>(end_ - p_) / 4);
        return true;
    }
    void SkipInts(std::size_t count) {
        p_ += 4 * count;
        intsLeft_ -= static_cast<std::uint32_t>(count);
    }

    bool ReadUInts(std::uint32_t* out, std::size_t count) {
        while (count) {
            if (intsLeft_ == 0 && !OpenList(kXIntegerList, 4, intsLeft_)) return false;
            if (!Have(4)) return false;
            const std::size_t n =
                std::min<std::size_t>({count, intsLeft_, static_cast<std::size_t>(end_ - p_) / 4});
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

    std::string Where() const { return "offset " + std::to_string(Offset()); }

  private:
    bool Word(std::uint16_t& w) {
        if (!Have(2)) return false;
        w = static_cast<std::uint16_t>(p_[0] | (p_[1] << 8));
        p_ += 2;
        return true;
    }
    bool PeekWord(std::uint16_t& w) {
        if (!Have(2)) return false;
        w = static_cast<std::uint16_t>(p_[0] | (p_[1] << 8));
        return true;
    }
    bool Dword(std::uint32_t& d) {
        if (!Have(4)) return false;
        std::memcpy(&d, p_, 4);
        p_ += 4;
        return true;
    }
    // Passes over `n` bytes, across refills.
    bool Skip(std::size_t n) {
        while (n > static_cast<std::size_t>(end_ - p_)) {
            n -= static_cast<std::size_t>(end_ - p_);
            p_ = end_;
            if (!Refill()) return false;
        }
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

    std::size_t floatBytes_;
    std::uint32_t intsLeft_ = 0;
    std::uint32_t floatsLeft_ = 0;
};

}  // namespace d3dx
