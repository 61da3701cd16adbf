// The preprocessor's side of #include, in the compile worker: glslang asks an includer for each
// included file, ours asks the program (which opens it through the caller's ID3DXInclude or
// beside the file that includes it) and bounds the nesting. Each file goes by a token ("@0" the
// source, "@k" the k-th file opened) in glslang's #line directives and messages; the
// preprocessed text is then split into the flat text the compiler reads (no #line directives)
// and a map from each of its lines to a file and line, so that every message names the file
// and line it is about: "Macros.fxh(12,5): error: ...".
#pragma once

#ifndef ENABLE_HLSL
#define ENABLE_HLSL 1
#endif
#include <glslang/Public/ShaderLang.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/d3dx/hlsl/compiler.h"

namespace d3dx {

// The token glslang knows a file by.
std::string FileToken(std::uint32_t id);

// Where each line of a flat text came from.
class SourceLines {
  public:
    // A text with no directives: line n is line n of the source.
    explicit SourceLines(std::string sourceName);
    // The name for messages of file `id` (0: the source).
    void Name(std::uint32_t id, std::string name);
    // The file and line that flat line `line` (from 1) is.
    std::pair<std::string, int> Where(int line) const;
    // The file a token ("@3") or a name from a #line directive stands for.
    std::string NameOf(const std::string& token) const;

    // Reads glslang's preprocessed text: `flat` is it without #line directives, with `this`
    // recording where each of its lines came from; `listing` is it with each directive naming
    // its file by its name.
    void Read(const std::string& preprocessed, std::string& flat, std::string& listing);

    // "file(line,col): error: text" lines for diagnostics whose lines are flat lines.
    std::string Format(const std::vector<Diagnostic>& diagnostics) const;
    // The same for glslang's preprocessor log, whose messages name files by token.
    std::string FormatPreprocessorLog(const std::string& log) const;

  private:
    std::vector<std::string> names_;  // by file id
    // From flat line `first` on, lines are (file, line + n): one run per stretch of the text.
    struct Run {
        int first;
        std::string file;
        int line;
    };
    std::vector<Run> runs_;
};

// Asks `open` for each included file, which stays valid until the includer is destroyed.
class AskingIncluder : public glslang::TShader::Includer {
  public:
    AskingIncluder(const IncludeOpener& open, SourceLines& lines);
    IncludeResult* includeLocal(const char* name, const char* includer, size_t depth) override;
    IncludeResult* includeSystem(const char* name, const char* includer, size_t depth) override;
    void releaseInclude(IncludeResult* result) override;

  private:
    IncludeResult* Include(std::uint32_t type, const char* name, size_t depth);
    IncludeResult* Failure(const std::string& why);

    const IncludeOpener& open_;
    SourceLines& lines_;
    std::vector<std::uint32_t> openAt_{0};  // by depth: the file last opened there
    std::deque<std::string> bytes_;         // kept for glslang until it is done
    std::string failedName_, failedWhy_;    // a "" include that failed: not asked again
};

}  // namespace d3dx
