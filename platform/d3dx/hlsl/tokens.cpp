// HLSL tokens and line-keeping source edits (see hlsl/tokens.h).
#include "platform/d3dx/hlsl/tokens.h"

#include <algorithm>
#include <cctype>

namespace d3dx {
namespace {

bool IsIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

constexpr std::string_view kLongPuncts[] = {
    "<<=", ">>=", "++", "--", "<<", ">>", "<=", ">=", "==", "!=", "&&",
    "||",  "+=",  "-=", "*=", "/=", "%=", "&=", "|=", "^=", "::"};

std::size_t LineBreaks(std::string_view s) {
    return static_cast<std::size_t>(std::count(s.begin(), s.end(), '\n'));
}

}  // namespace

std::vector<Token> Tokenize(const std::string& s) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    int line = 1;
    std::size_t lineStart = 0;
    bool lineHasToken = false;
    const auto advanceTo = [&](std::size_t end) {
        for (; i < end; ++i) {
            if (s[i] == '\n') {
                ++line;
                lineStart = i + 1;
                lineHasToken = false;
            }
        }
    };
    while (i < s.size()) {
        const char c = s[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            advanceTo(i + 1);
            continue;
        }
        if (c == '/' && i + 1 < s.size() && s[i + 1] == '/') {
            std::size_t end = s.find('\n', i);
            advanceTo(end == std::string::npos ? s.size() : end);
            continue;
        }
        if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            const std::size_t end = s.find("*/", i + 2);
            advanceTo(end == std::string::npos ? s.size() : end + 2);
            continue;
        }
        Token t;
        t.offset = i;
        t.line = line;
        t.column = static_cast<int>(i - lineStart) + 1;
        std::size_t end = i + 1;
        if (c == '#' && !lineHasToken) {
            t.kind = TokenKind::Directive;
            end = s.find('\n', i);
            if (end == std::string::npos) end = s.size();
        } else if (IsIdentStart(c)) {
            t.kind = TokenKind::Identifier;
            while (end < s.size() && IsIdentChar(s[end])) ++end;
        } else if (IsDigit(c) || (c == '.' && i + 1 < s.size() && IsDigit(s[i + 1]))) {
            t.kind = TokenKind::Number;
            const bool hex = c == '0' && end < s.size() && (s[end] == 'x' || s[end] == 'X');
            while (end < s.size()) {
                const char d = s[end];
                const bool exponentSign =
                    !hex && (d == '+' || d == '-') && (s[end - 1] == 'e' || s[end - 1] == 'E');
                if (!IsIdentChar(d) && d != '.' && !exponentSign) break;
                ++end;
            }
        } else if (c == '"') {
            t.kind = TokenKind::String;
            while (end < s.size() && s[end] != '"' && s[end] != '\n') {
                end += s[end] == '\\' ? 2 : 1;
            }
            end = std::min(end + 1, s.size());
        } else {
            t.kind = TokenKind::Punct;
            for (std::string_view p : kLongPuncts) {
                if (s.compare(i, p.size(), p) == 0) {
                    end = i + p.size();
                    break;
                }
            }
        }
        t.text = s.substr(i, end - i);
        tokens.push_back(std::move(t));
        lineHasToken = true;
        advanceTo(end);
    }
    Token last;
    last.offset = s.size();
    last.line = line;
    last.column = static_cast<int>(s.size() - lineStart) + 1;
    tokens.push_back(last);

    // Brackets: each matches its partner, or the End token when it has none.
    const std::size_t endIndex = tokens.size() - 1;
    std::vector<std::size_t> open;
    for (std::size_t k = 0; k < endIndex; ++k) {
        Token& t = tokens[k];
        t.match = endIndex;
        if (t.kind != TokenKind::Punct) continue;
        if (t.text == "(" || t.text == "[" || t.text == "{") {
            open.push_back(k);
        } else if (t.text == ")" || t.text == "]" || t.text == "}") {
            const char want = t.text == ")" ? '(' : t.text == "]" ? '[' : '{';
            // A stray closer closes nothing; an opener left open inside it stays unmatched.
            while (!open.empty() && tokens[open.back()].text[0] != want) open.pop_back();
            if (open.empty()) continue;
            t.match = open.back();
            tokens[open.back()].match = k;
            open.pop_back();
        }
    }
    tokens[endIndex].match = endIndex;
    return tokens;
}

void SourceEdits::Replace(std::size_t begin, std::size_t end, std::string text) {
    edits_.push_back({begin, end, edits_.size(), std::move(text)});
}

std::string SourceEdits::Apply(const std::string& source) const {
    std::vector<const Edit*> sorted;
    for (const Edit& e : edits_) sorted.push_back(&e);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Edit* a, const Edit* b) {
        // At one place, insertions come before a replacement that starts there.
        if (a->begin != b->begin) return a->begin < b->begin;
        if ((a->end == a->begin) != (b->end == b->begin)) return a->end == a->begin;
        return a->order < b->order;
    });
    std::string out;
    out.reserve(source.size() + source.size() / 4);
    std::size_t at = 0;
    for (const Edit* e : sorted) {
        if (e->begin < at || e->end > source.size()) continue;  // inside an earlier edit
        out.append(source, at, e->begin - at);
        out += e->text;
        const std::string_view replaced(source.data() + e->begin, e->end - e->begin);
        const std::size_t lost = LineBreaks(replaced), added = LineBreaks(e->text);
        if (lost > added) out.append(lost - added, '\n');
        at = e->end;
    }
    out.append(source, at, std::string::npos);
    return out;
}

}  // namespace d3dx
