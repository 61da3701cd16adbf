// Turns a program's --help text into a man page (roff with the man macros), at build time.
// Usage: help_to_man NAME SECTION VERSION SUMMARY [SEE_ALSO...] < help.txt > NAME.SECTION
//
// The help texts follow one layout, which this reads:
//   usage: NAME ARGS            the first line: the synopsis
//   text                        lines at the left margin: paragraphs (a blank line between)
//   Heading:                    a line at the left margin ending in a colon: a section
//     TERM    text              indented two spaces, two or more spaces before the text: an item
//            more text          indented further, right after an item: the item goes on
//       verbatim                indented four or more anywhere else: an example, kept as is
// The text before the first heading is the DESCRIPTION.
#include <cctype>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Roff-escapes text: backslashes, hyphens (so that options stay minus signs when copied), and
// a control character at the start of a line.
std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
    return out;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::size_t Indent(const std::string& line) {
    std::size_t n = 0;
    while (n < line.size() && line[n] == ' ') ++n;
    return n;
}

bool IsHeading(const std::string& line) {
    return !line.empty() && line[0] != ' ' && line.back() == ':' &&
           line.find(". ") == std::string::npos;
}

// An item's term: the first word bold, the rest (its value) italic.
std::string Term(const std::string& term) {
    const std::size_t space = term.find(' ');
    if (space == std::string::npos) return "\\fB" + Escape(term) + "\\fR";
    return "\\fB" + Escape(term.substr(0, space)) + "\\fR \\fI" + Escape(term.substr(space + 1)) +
           "\\fR";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: help_to_man NAME SECTION VERSION SUMMARY [SEE_ALSO...] < help.txt\n");
        return 2;
    }
    const std::string name = argv[1], section = argv[2], version = argv[3], summary = argv[4];
    std::vector<std::string> lines;
    for (std::string line; std::getline(std::cin, line);) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
        lines.push_back(line);
    }
    const std::string usagePrefix = "usage: " + name;
    if (lines.empty() || lines[0].compare(0, usagePrefix.size(), usagePrefix) != 0) {
        std::fprintf(stderr, "help_to_man: the help text does not start with \"%s\"\n",
                     usagePrefix.c_str());
        return 1;
    }

    std::ostringstream page;
    page << ".TH \"" << Escape(Upper(name)) << "\" \"" << section << "\" \"\" \""
         << Escape(name + " " + version) << "\" \"User Commands\"\n";
    page << ".SH NAME\n" << Escape(name) << " \\- " << Escape(summary) << "\n";
    page << ".SH SYNOPSIS\n.B " << Escape(name) << "\n";
    if (lines[0].size() > usagePrefix.size())
        page << Escape(lines[0].substr(usagePrefix.size() + 1)) << "\n";
    page << ".SH DESCRIPTION\n";

    enum class Last { Start, Paragraph, Item, Verbatim, Blank } last = Last::Start;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t indent = Indent(line);
        if (line.empty()) {
            if (last == Last::Verbatim) page << ".fi\n.RE\n";
            if (last != Last::Start) last = Last::Blank;
            continue;
        }
        if (IsHeading(line)) {
            if (last == Last::Verbatim) page << ".fi\n.RE\n";
            page << ".SH " << Escape(Upper(line.substr(0, line.size() - 1))) << "\n";
            last = Last::Start;
            continue;
        }
        const bool goesOn = indent >= 4 && (last == Last::Item);
        if (indent == 0 || goesOn) {
            // Paragraph text, or an item's text going on.
            if (indent == 0 && last != Last::Paragraph) {
                if (last == Last::Verbatim) page << ".fi\n.RE\n";
                page << ".PP\n";
            }
            page << Escape(line.substr(indent)) << "\n";
            if (indent == 0) last = Last::Paragraph;
            continue;
        }
        if (indent == 2) {
            if (last == Last::Verbatim) page << ".fi\n.RE\n";
            const std::size_t gap = line.find("  ", 2);
            page << ".TP\n";
            if (gap == std::string::npos) {
                page << Term(line.substr(2)) << "\n";
            } else {
                const std::size_t text = Indent(line.substr(gap)) + gap;
                page << Term(line.substr(2, gap - 2)) << "\n" << Escape(line.substr(text)) << "\n";
            }
            last = Last::Item;
            continue;
        }
        // Indented by four or more and not an item's text: an example line.
        if (last != Last::Verbatim) page << ".PP\n.RS 4\n.nf\n";
        page << Escape(line.substr(4)) << "\n";
        last = Last::Verbatim;
    }
    if (last == Last::Verbatim) page << ".fi\n.RE\n";
    if (argc > 5) {
        page << ".SH \"SEE ALSO\"\n";
        for (int i = 5; i < argc; ++i) {
            const std::string ref = argv[i];
            const std::size_t open = ref.find('(');
            if (open == std::string::npos) continue;
            page << ".BR " << Escape(ref.substr(0, open)) << " " << ref.substr(open)
                 << (i + 1 < argc ? " ," : "") << "\n";
        }
    }
    std::cout << page.str();
    return std::cout.good() ? 0 : 1;
}
