// HLSL source as tokens, for the source pass that runs before glslang (hlsl/source_pass.cpp):
// identifiers, numbers, strings, punctuation and leftover preprocessor lines, each with its
// place in the text, and the matching bracket of every bracket. Also the edits the pass makes to
// the text, applied so that every line keeps its number (messages then point at the author's
// lines).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace d3dx {

enum class TokenKind { Identifier, Number, String, Punct, Directive, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    std::size_t offset = 0;  // in the source
    int line = 1, column = 1;
    std::size_t match = 0;  // for ( [ { and ) ] }: the index of the other bracket

    bool Is(std::string_view s) const {
        return (kind == TokenKind::Punct || kind == TokenKind::Identifier) && text == s;
    }
};

// Always ends with an End token. Unmatched brackets match the End token.
std::vector<Token> Tokenize(const std::string& source);

// Replacements of ranges of the source, applied together.
class SourceEdits {
  public:
    // Replaces [begin, end) with text; the lines the range held are kept as empty lines.
    void Replace(std::size_t begin, std::size_t end, std::string text);
    void Insert(std::size_t at, std::string text) { Replace(at, at, std::move(text)); }
    // Blanks [begin, end), keeping its line breaks.
    void Remove(std::size_t begin, std::size_t end) { Replace(begin, end, {}); }
    bool Empty() const { return edits_.empty(); }
    // The source with every edit made; overlapping edits keep the first one made.
    std::string Apply(const std::string& source) const;

  private:
    struct Edit {
        std::size_t begin, end, order;
        std::string text;
    };
    std::vector<Edit> edits_;
};

}  // namespace d3dx
