// The source pass on initialisers: Direct3D 9's compiler reads a brace list as a flat run of
// components whatever the braces, so "float2 k[2] = { 0.25, 0.5, 0.75, 1.0 }" is two float2s and
// "float4 a[] = { eight numbers }" has two elements. glslang reads braces as structure; the pass
// rebuilds each list as the structure it means, with constructors for vectors and matrices.
// Also the numbers of a global's initialiser, which the constant table reports as its default,
// and the value of a constant expression (array sizes, loop bounds, divisors).
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "platform/d3dx/hlsl/source_model.h"

namespace d3dx {
namespace {

constexpr const char* kBaseNames[] = {"", "void", "bool", "int", "uint", "half", "float", "double"};

bool IsSwizzle(const std::string& s) {
    if (s.empty() || s.size() > 4) return false;
    const bool xyzw = s.find_first_not_of("xyzw") == std::string::npos;
    const bool rgba = s.find_first_not_of("rgba") == std::string::npos;
    return xyzw || rgba;
}

}  // namespace

std::string SourcePass::TypeName(const HlslType& type) const {
    if (!type.Numeric()) return type.name;
    std::string name = kBaseNames[static_cast<int>(type.base)];
    // One-wide matrices are vectors to glslang (hlsl/source_pass.cpp).
    if (type.matrix && type.rows > 1 && type.columns > 1)
        return name + std::to_string(type.rows) + "x" + std::to_string(type.columns);
    const int size = type.rows * type.columns;
    return size > 1 ? name + std::to_string(size) : name;
}

int SourcePass::LeafComponents(std::size_t begin, std::size_t end) const {
    if (begin >= end) return 0;
    if ((At(begin).Is("-") || At(begin).Is("+") || At(begin).Is("!")) && end > begin + 1)
        return LeafComponents(begin + 1, end);
    const Token& t = At(begin);
    if (end == begin + 1) {
        if (t.kind == TokenKind::Number || t.Is("true") || t.Is("false")) return 1;
        if (t.kind != TokenKind::Identifier) return 0;
        const Variable* v = nullptr;
        for (auto s = scopes_.rbegin(); s != scopes_.rend() && !v; ++s) {
            const auto found = s->names.find(t.text);
            if (found != s->names.end()) v = &found->second;
        }
        if (!v) {
            const auto global = globals_.find(t.text);
            if (global != globals_.end()) v = &global->second;
        }
        if (!v) return constants_.count(t.text) ? 1 : 0;
        int n = ComponentsOf(v->type);
        for (int d : v->dims) n *= d > 0 ? d : 0;
        return n;
    }
    if (t.Is("(") && t.match == end - 1) return LeafComponents(begin + 1, end - 1);
    // A constructor or a call of a function of the file, spanning the whole leaf.
    HlslType type;
    if (const std::size_t after = ReadType(begin, type);
        after && At(after).Is("(") && At(after).match == end - 1) {
        return ComponentsOf(type);
    }
    if (t.kind == TokenKind::Identifier && At(begin + 1).Is("(") &&
        At(begin + 1).match == end - 1) {
        const auto f = functionTypes_.find(t.text);
        return f == functionTypes_.end() ? 0 : ComponentsOf(f->second);
    }
    // A swizzle of a vector.
    if (end == begin + 3 && At(begin + 1).Is(".") && IsSwizzle(At(begin + 2).text) &&
        LeafComponents(begin, begin + 1) > 0) {
        return static_cast<int>(At(begin + 2).text.size());
    }
    // Arithmetic on numbers and scalar constants.
    for (std::size_t k = begin; k < end; ++k) {
        const Token& a = At(k);
        if (a.kind == TokenKind::Number || a.Is("(") || a.Is(")")) continue;
        if (a.kind == TokenKind::Punct && std::strchr("+-*/%", a.text[0]) && a.text.size() == 1)
            continue;
        if (a.kind == TokenKind::Identifier && LeafComponents(k, k + 1) == 1) continue;
        return 0;
    }
    return 1;
}

bool SourcePass::Leaves(std::size_t open, std::vector<Leaf>& leaves) const {
    const std::size_t close = At(open).match;
    if (IsEnd(close)) return false;
    std::size_t item = open + 1;
    for (std::size_t k = open + 1; k <= close; ++k) {
        if (k < close && !At(k).Is(",")) {
            if (At(k).Is("(") || At(k).Is("[") || At(k).Is("{")) k = At(k).match;
            continue;
        }
        if (k > item) {
            if (At(item).Is("{") && At(item).match == k - 1) {
                if (!Leaves(item, leaves)) return false;
            } else {
                const int n = LeafComponents(item, k);
                if (n <= 0) return false;
                leaves.push_back({item, k, n});
            }
        }
        item = k + 1;
    }
    return true;
}

bool SourcePass::BuildValue(const HlslType& type, const std::vector<int>& dims, std::size_t dim,
                            const std::vector<Leaf>& leaves, std::size_t& leaf, int& component,
                            std::string& out) const {
    if (dim < dims.size()) {
        out += "{";
        for (int e = 0; e < dims[dim]; ++e) {
            if (e) out += ", ";
            if (!BuildValue(type, dims, dim + 1, leaves, leaf, component, out)) return false;
        }
        out += "}";
        return true;
    }
    if (type.base == HlslType::Base::Struct) {
        const auto s = structs_.find(type.name);
        if (s == structs_.end()) return false;
        out += "{";
        for (std::size_t m = 0; m < s->second.size(); ++m) {
            if (m) out += ", ";
            std::vector<int> memberDims = s->second[m].dims;
            const HlslType& t = s->second[m].type;
            memberDims.insert(memberDims.end(), t.arrayDims.begin(), t.arrayDims.end());
            if (!BuildValue(t, memberDims, 0, leaves, leaf, component, out)) return false;
        }
        out += "}";
        return true;
    }
    if (!type.Numeric()) return false;
    const int size = type.rows * type.columns;
    std::vector<std::string> args;
    for (int need = size; need > 0;) {
        if (leaf >= leaves.size()) return false;
        const Leaf& l = leaves[leaf];
        if (component == 0 && l.components <= need) {
            args.push_back(TextOf(l.begin, l.end));
            need -= l.components;
            ++leaf;
            continue;
        }
        // Part of a vector or matrix leaf: its components one by one.
        const std::string whole = "(" + TextOf(l.begin, l.end) + ")";
        const bool vectorLeaf = l.components <= 4;
        args.push_back(vectorLeaf ? whole + "." + "xyzw"[component]
                                  : whole + "[" + std::to_string(component / 4) + "][" +
                                        std::to_string(component % 4) + "]");
        if (!vectorLeaf) return false;  // a matrix leaf split across elements: left to glslang
        --need;
        if (++component == l.components) {
            component = 0;
            ++leaf;
        }
    }
    if (args.size() == 1 && size == 1) {
        out += args[0];
        return true;
    }
    out += TypeName(type) + "(";
    for (std::size_t a = 0; a < args.size(); ++a) out += (a ? ", " : "") + args[a];
    out += ")";
    return true;
}

bool SourcePass::FlattenInitialiser(std::size_t open, const std::string& name, const HlslType& type,
                                    std::vector<int> dims) {
    std::vector<Leaf> leaves;
    if (!Leaves(open, leaves)) return false;
    int total = 0;
    for (const Leaf& l : leaves) total += l.components;
    dims.insert(dims.end(), type.arrayDims.begin(), type.arrayDims.end());
    HlslType element = type;
    element.arrayDims.clear();
    int perElement = ComponentsOf(element);
    if (perElement <= 0) return false;
    for (std::size_t d = 1; d < dims.size(); ++d) {
        if (dims[d] <= 0) return false;
        perElement *= dims[d];
    }
    if (!dims.empty() && dims[0] == 0 && total % perElement == 0) {
        // An unsized array takes as many elements as the components make.
        dims[0] = total / perElement;
    }
    int need = perElement;
    if (!dims.empty()) need *= dims[0] > 0 ? dims[0] : 0;
    if (!dims.empty() && dims[0] == 0) {
        Error(open, "'" + name + "': initializer does not match type: " + std::to_string(total) +
                        " values do not make whole elements of " + std::to_string(perElement));
        return false;
    }
    if (need != total) {
        Error(open, "'" + name + "': initializer does not match type: it takes " +
                        std::to_string(need) + " values, and " + std::to_string(total) +
                        " are given");
        return false;
    }
    std::string out;
    std::size_t leaf = 0;
    int component = 0;
    if (!BuildValue(element, dims, 0, leaves, leaf, component, out)) return false;
    const Token& close = At(At(open).match);
    edits_.Replace(At(open).offset, close.offset + 1, out);
    return true;
}

std::optional<double> SourcePass::ConstantValue(std::size_t begin, std::size_t end) const {
    // A small descent over + - * / and parentheses, numbers and known constants.
    std::size_t i = begin;
    std::function<std::optional<double>(int)> expr;
    const auto primary = [&]() -> std::optional<double> {
        if (i >= end) return std::nullopt;
        const Token& t = At(i);
        if (t.Is("-") || t.Is("+")) {
            ++i;
            const auto v = expr(3);
            if (!v) return std::nullopt;
            return t.Is("-") ? -*v : *v;
        }
        if (t.Is("(")) {
            // A cast such as (int) or (float) is skipped.
            HlslType cast;
            if (const std::size_t k = ReadType(i + 1, cast); k && At(k).Is(")")) {
                i = k + 1;
                const auto v = expr(3);
                if (!v) return std::nullopt;
                return cast.base == HlslType::Base::Int || cast.base == HlslType::Base::Uint
                           ? std::trunc(*v)
                           : *v;
            }
            const std::size_t close = t.match;
            if (close >= end) return std::nullopt;
            ++i;
            const auto v = expr(0);
            if (i != close) return std::nullopt;
            i = close + 1;
            return v;
        }
        if (t.kind == TokenKind::Number) {
            ++i;
            std::string digits = t.text;
            while (!digits.empty() && std::strchr("fFhHlLuU", digits.back())) digits.pop_back();
            char* stop = nullptr;
            const double v = digits.rfind("0x", 0) == 0 || digits.rfind("0X", 0) == 0
                                 ? static_cast<double>(std::strtoll(digits.c_str(), &stop, 16))
                                 : std::strtod(digits.c_str(), &stop);
            if (!stop || *stop) return std::nullopt;
            return v;
        }
        if (t.kind == TokenKind::Identifier) {
            ++i;
            if (t.text == "true") return 1.0;
            if (t.text == "false") return 0.0;
            for (auto s = scopes_.rbegin(); s != scopes_.rend(); ++s) {
                const auto v = s->names.find(t.text);
                if (v != s->names.end()) return v->second.value;
            }
            const auto c = constants_.find(t.text);
            if (c != constants_.end()) return c->second;
        }
        return std::nullopt;
    };
    expr = [&](int level) -> std::optional<double> {
        if (level >= 3) return primary();
        auto left = expr(level + 1);
        while (left && i < end) {
            const Token& op = At(i);
            const bool additive = op.Is("+") || op.Is("-");
            const bool multiplicative = op.Is("*") || op.Is("/") || op.Is("%");
            if (!(level == 1 && additive) && !(level == 2 && multiplicative)) break;
            ++i;
            const auto right = expr(level + 1);
            if (!right) return std::nullopt;
            if (op.Is("+")) left = *left + *right;
            if (op.Is("-")) left = *left - *right;
            if (op.Is("*")) left = *left * *right;
            if (op.Is("/") || op.Is("%")) {
                if (*right == 0) return std::nullopt;
                left = op.Is("/") ? *left / *right : std::fmod(*left, *right);
            }
        }
        return left;
    };
    const auto v = expr(1);
    if (!v || i != end) return std::nullopt;
    return v;
}

std::vector<float> SourcePass::NumbersOf(std::size_t begin, std::size_t end) const {
    std::vector<float> out;
    float sign = 1;
    for (std::size_t k = begin; k < end; ++k) {
        const Token& t = At(k);
        if (t.Is("{") || t.Is("}") || t.Is("(") || t.Is(")") || t.Is(",")) continue;
        if (t.Is("-") || t.Is("+")) {
            if (At(k + 1).kind != TokenKind::Number) return {};
            sign = t.Is("-") ? -1.0f : 1.0f;
            continue;
        }
        if (t.kind == TokenKind::Number) {
            const auto v = ConstantValue(k, k + 1);
            if (!v) return {};
            out.push_back(sign * static_cast<float>(*v));
            sign = 1;
            continue;
        }
        if (t.Is("true") || t.Is("false")) {
            out.push_back(t.Is("true") ? 1.0f : 0.0f);
            continue;
        }
        HlslType type;
        if (ReadType(k, type) == k + 1 && At(k + 1).Is("(")) continue;  // a constructor
        return {};
    }
    return out;
}

}  // namespace d3dx
