// Converts a text X file into the binary encoding token for token, as exporters write it, and
// compresses a file with MSZIP. In data objects, a run of integers becomes one integer list and
// a run of floats one float list (the separators between numbers are implied by the lists); a
// string keeps its separator as a 2-byte token. In template declarations, punctuation and type
// keywords become their stand-alone tokens and array sizes single integers.
#include <zlib.h>

#include <charconv>
#include <cstring>
#include <stdexcept>

#include "platform/d3dx/xfile/binary_tokens.h"
#include "tools/x_writer.h"

namespace xfile {
namespace {

// The type keywords of template declarations, TOKEN_WORD (40) to TOKEN_ARRAY (52).
std::uint16_t KeywordToken(std::string_view name) {
    for (const auto& [text, token] : d3dx::kXKeywords) {
        if (name == text) return token;
    }
    return 0;
}

bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}
bool IsSpace(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

class Converter {
  public:
    Converter(bool doubles, XBinaryStyle style) : doubles_(doubles), style_(style) {}

    std::string Convert(const std::string& text) {
        if (text.size() < 16 || text.compare(0, 4, "xof ") != 0) {
            throw std::runtime_error("not a text X file");
        }
        out_ = text.substr(0, 16);
        std::memcpy(&out_[8], "bin ", 4);
        std::memcpy(&out_[12], doubles_ ? "0064" : "0032", 4);
        p_ = text.data() + 16;
        end_ = text.data() + text.size();
        while (p_ < end_) Step();
        Flush();
        return out_;
    }

  private:
    void Step() {
        const char c = *p_;
        if (IsSpace(c)) {
            ++p_;
        } else if (c == '#' || (c == '/' && p_ + 1 < end_ && p_[1] == '/')) {
            while (p_ < end_ && *p_ != '\n') ++p_;
        } else if (c == '{' || c == '}') {
            Flush();
            Word(c == '{' ? d3dx::kXOBrace : d3dx::kXCBrace);
            if (inTemplate_ && (depth_ += c == '{' ? 1 : -1) == 0) inTemplate_ = false;
            ++p_;
        } else if (c == '<') {
            Flush();
            Guid();
        } else if (c == '"') {
            Flush();
            String();
        } else if (c == ',' || c == ';') {
            // In data the lists imply these; template declarations keep them.
            if (inTemplate_) Word(c == ',' ? d3dx::kXComma : d3dx::kXSemicolon);
            ++p_;
        } else if (inTemplate_ && std::strchr("[]().", c)) {
            Word(c == '['   ? d3dx::kXOBracket
                 : c == ']' ? d3dx::kXCBracket
                 : c == '(' ? d3dx::kXOParen
                 : c == ')' ? d3dx::kXCParen
                            : d3dx::kXDot);
            ++p_;
        } else if (IsNameStart(c)) {
            Flush();
            Name();
        } else if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.') {
            Number();
        } else {
            throw std::runtime_error(std::string("unexpected character '") + c + "'");
        }
    }

    void Name() {
        const char* start = p_;
        while (p_ < end_ && IsNameChar(*p_)) ++p_;
        const std::string_view name(start, static_cast<std::size_t>(p_ - start));
        if (name == "template") {
            Word(d3dx::kXTemplate);
            inTemplate_ = true;  // until the declaration's braces close
            depth_ = 0;
            return;
        }
        if (inTemplate_) {
            if (const std::uint16_t keyword = KeywordToken(name)) return Word(keyword);
        }
        Word(d3dx::kXName);
        Dword(static_cast<std::uint32_t>(name.size()));
        out_.append(name);
    }

    // <Data1-Data2-Data3-Data4[0..1]-Data4[2..7]>, stored as a DWORD, two WORDs and 8 bytes.
    void Guid() {
        const char* close = static_cast<const char*>(std::memchr(p_, '>', end_ - p_));
        if (!close) throw std::runtime_error("unterminated GUID");
        std::string hex;
        for (const char* q = p_ + 1; q < close; ++q) {
            if (*q != '-' && !IsSpace(*q)) hex += *q;
        }
        if (hex.size() != 32) throw std::runtime_error("bad GUID");
        const auto value = [&](std::size_t at, std::size_t digits) {
            std::uint32_t v = 0;
            std::from_chars(hex.data() + at, hex.data() + at + digits, v, 16);
            return v;
        };
        Word(d3dx::kXGuid);
        Dword(value(0, 8));
        Word(static_cast<std::uint16_t>(value(8, 4)));
        Word(static_cast<std::uint16_t>(value(12, 4)));
        for (std::size_t i = 0; i < 8; ++i) out_ += static_cast<char>(value(16 + 2 * i, 2));
        p_ = close + 1;
    }

    void String() {
        const char* close = static_cast<const char*>(std::memchr(p_ + 1, '"', end_ - p_ - 1));
        if (!close) throw std::runtime_error("unterminated string");
        Word(d3dx::kXString);
        Dword(static_cast<std::uint32_t>(close - p_ - 1));
        out_.append(p_ + 1, close);
        p_ = close + 1;
        while (p_ < end_ && IsSpace(*p_)) ++p_;
        std::uint16_t separator = d3dx::kXSemicolon;
        if (p_ < end_ && (*p_ == ',' || *p_ == ';'))
            separator = *p_++ == ',' ? d3dx::kXComma : d3dx::kXSemicolon;
        if (style_.dwordStringTerminator) {
            Dword(separator);
        } else {
            Word(separator);
        }
    }

    void Number() {
        const char* start = p_;
        while (p_ < end_ && !IsSpace(*p_) && !std::strchr(",;{}[]", *p_)) ++p_;
        std::string_view text(start, static_cast<std::size_t>(p_ - start));
        if (inTemplate_) {
            std::uint32_t v = 0;
            std::from_chars(text.data(), text.data() + text.size(), v);
            Word(d3dx::kXInteger);
            return Dword(v);
        }
        if (!text.empty() && text[0] == '+') text.remove_prefix(1);
        const bool isFloat = text.find_first_of(".eE") != std::string_view::npos;
        if (isFloat) {
            float f = 0;
            const auto [next, ec] = std::from_chars(text.data(), text.data() + text.size(), f);
            if (ec != std::errc() || next != text.data() + text.size()) {
                throw std::runtime_error("bad float '" + std::string(text) + "'");
            }
            if (!run_.empty() && !runIsFloat_) Flush();
            runIsFloat_ = true;
            // Widened from the float the text reads as, so that both encodings hold one value.
            if (doubles_) {
                const double d = f;
                Append(run_, &d, 8);
            } else {
                Append(run_, &f, 4);
            }
        } else {
            std::uint32_t v = 0;
            const auto [next, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
            if (ec != std::errc() || next != text.data() + text.size()) {
                throw std::runtime_error("bad integer '" + std::string(text) + "'");
            }
            if (!run_.empty() && runIsFloat_) Flush();
            runIsFloat_ = false;
            Append(run_, &v, 4);
        }
        ++runCount_;
    }

    void Flush() {
        if (runCount_ == 0) return;
        if (!runIsFloat_ && runCount_ == 1 && style_.loneIntegerTokens) {
            Word(d3dx::kXInteger);
        } else {
            Word(runIsFloat_ ? d3dx::kXFloatList : d3dx::kXIntegerList);
            Dword(runCount_);
        }
        out_ += run_;
        run_.clear();
        runCount_ = 0;
    }

    static void Append(std::string& s, const void* p, std::size_t n) {
        s.append(static_cast<const char*>(p), n);
    }
    void Word(std::uint16_t w) { Append(out_, &w, 2); }
    void Dword(std::uint32_t d) { Append(out_, &d, 4); }

    bool doubles_;
    XBinaryStyle style_;
    std::string out_;
    const char* p_ = nullptr;
    const char* end_ = nullptr;
    bool inTemplate_ = false;
    int depth_ = 0;    // braces open in the template declaration
    std::string run_;  // the values of the list being gathered
    std::uint32_t runCount_ = 0;
    bool runIsFloat_ = false;
};

}  // namespace

std::string ConvertX(const std::string& text, XEncoding encoding, XBinaryStyle style) {
    switch (encoding) {
        case XEncoding::Text:
            return text;
        case XEncoding::Binary32:
        case XEncoding::Binary64:
            return Converter(encoding == XEncoding::Binary64, style).Convert(text);
        case XEncoding::TextZip:
            return CompressX(text);
        case XEncoding::BinaryZip:
            return CompressX(Converter(false, style).Convert(text));
    }
    return {};
}

std::string CompressX(const std::string& file, std::size_t blockBytes) {
    std::string out = file.substr(0, 16);
    std::memcpy(&out[8], file.compare(8, 3, "txt") == 0 ? "tzip" : "bzip", 4);
    const std::uint32_t total = static_cast<std::uint32_t>(file.size());
    out.append(reinterpret_cast<const char*>(&total), 4);
    std::size_t pos = 16;
    while (pos < file.size()) {
        const std::size_t n = std::min(blockBytes, file.size() - pos);
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
        // Each block may refer back into the previous block's output.
        const std::size_t dict = std::min<std::size_t>(pos - 16, 32768);
        if (dict) {
            deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(file.data() + pos - dict),
                                 static_cast<uInt>(dict));
        }
        std::vector<Bytef> buf(deflateBound(&z, n) + 16);
        std::vector<Bytef> in(file.begin() + static_cast<std::ptrdiff_t>(pos),
                              file.begin() + static_cast<std::ptrdiff_t>(pos + n));
        z.next_in = in.data();
        z.avail_in = static_cast<uInt>(n);
        z.next_out = buf.data();
        z.avail_out = static_cast<uInt>(buf.size());
        if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
        const std::size_t compressed = buf.size() - z.avail_out;
        deflateEnd(&z);
        const std::uint16_t sizes[2] = {static_cast<std::uint16_t>(n),
                                        static_cast<std::uint16_t>(compressed + 2)};
        out.append(reinterpret_cast<const char*>(sizes), 4);
        out += "CK";
        out.append(reinterpret_cast<const char*>(buf.data()), compressed);
        pos += n;
    }
    return out;
}

}  // namespace xfile
