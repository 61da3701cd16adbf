// Default values of shader constants: the initialiser a global is declared with, read from the
// source. Only initialisers made of numbers, braces and constructor calls are taken; anything
// else leaves the constant without a default. The device never applies them, as on the real
// platform; they are only reported in the constant table.
#include <cctype>
#include <cstdlib>
#include <string>

#include "platform/d3dx/hlsl_compiler.h"

namespace d3dx {
namespace {

std::string WithoutComments(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '/' && i + 1 < s.size() && s[i + 1] == '/') {
            while (i < s.size() && s[i] != '\n') ++i;
        } else if (s[i] == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            const std::size_t end = s.find("*/", i + 2);
            i = end == std::string::npos ? s.size() : end + 1;
            out += ' ';
            continue;
        }
        if (i < s.size()) out += s[i];
    }
    return out;
}

bool IsIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The numbers of an initialiser such as "float4(1, 0.5, 0, 1)" or "{1, 2}", or none.
bool Numbers(const std::string& init, std::vector<float>& out) {
    for (std::size_t i = 0; i < init.size();) {
        const char c = init[i];
        if (std::isspace(static_cast<unsigned char>(c)) || c == ',' || c == '(' || c == ')' ||
            c == '{' || c == '}') {
            ++i;
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' ||
                   c == '+') {
            char* end = nullptr;
            const float v = std::strtof(init.c_str() + i, &end);
            if (end == init.c_str() + i) return false;
            out.push_back(v);
            i = static_cast<std::size_t>(end - init.c_str());
            while (i < init.size() && (init[i] == 'f' || init[i] == 'h' || init[i] == 'F')) ++i;
        } else if (std::isalpha(static_cast<unsigned char>(c))) {
            // Only constructor names (float4, half2, int ...) may stand in an initialiser.
            std::size_t j = i;
            while (j < init.size() && IsIdentChar(init[j])) ++j;
            const std::string word = init.substr(i, j - i);
            if (word.rfind("float", 0) != 0 && word.rfind("half", 0) != 0 &&
                word.rfind("int", 0) != 0 && word.rfind("bool", 0) != 0) {
                return false;
            }
            i = j;
        } else {
            return false;
        }
    }
    return !out.empty();
}

}  // namespace

void AddDefaultValues(const std::string& source, std::vector<ConstantVar>& constants) {
    const std::string text = WithoutComments(source);
    for (ConstantVar& c : constants) {
        if (c.registerSet == D3DXRS_SAMPLER) continue;
        int depth = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '{') ++depth;
            if (text[i] == '}') --depth;
            if (depth != 0 || text.compare(i, c.name.size(), c.name) != 0) continue;
            if ((i > 0 && IsIdentChar(text[i - 1])) ||
                (i + c.name.size() < text.size() && IsIdentChar(text[i + c.name.size()]))) {
                continue;
            }
            std::size_t j = i + c.name.size();
            while (j < text.size() && text[j] != '=' && text[j] != ';' && text[j] != '(') ++j;
            if (j >= text.size() || text[j] != '=') continue;
            const std::size_t end = text.find(';', j);
            if (end == std::string::npos) break;
            std::vector<float> values;
            if (Numbers(text.substr(j + 1, end - j - 1), values) &&
                values.size() <= std::size_t{c.rows} * c.columns * c.elements) {
                c.defaultValue = values;
            }
            break;
        }
    }
}

}  // namespace d3dx
