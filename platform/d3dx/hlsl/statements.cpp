// The source pass in function bodies: scopes and the legacy scope of loop variables, loops whose
// trip count is a compile-time constant, and the bound on those whose count is not (see
// hlsl/source_pass.h).
#include <cmath>
#include <string>

#include "platform/d3dx/hlsl/source_model.h"

namespace d3dx {
namespace {

constexpr const char* kAssignments[] = {
    "=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=", ">>="};

bool IsAssignment(const Token& t) {
    for (const char* a : kAssignments) {
        if (t.Is(a)) return true;
    }
    return false;
}

// Where the two semicolons of a for loop's header stand, or false.
bool ForSemicolons(const std::vector<Token>& tokens, std::size_t open, std::size_t& first,
                   std::size_t& second) {
    first = second = 0;
    const std::size_t close = tokens[open].match;
    for (std::size_t k = open + 1; k < close; ++k) {
        const Token& t = tokens[k];
        if (t.Is("(") || t.Is("[") || t.Is("{")) {
            k = t.match;
            continue;
        }
        if (!t.Is(";")) continue;
        if (!first) {
            first = k;
        } else if (!second) {
            second = k;
        }
    }
    return first && second;
}

// The intrinsics of Direct3D 9's HLSL: a function of the file with one of these names overloads
// the intrinsic, and a call of it is resolved among both.
constexpr const char* kIntrinsicNames[] = {
    "abs",        "acos",     "all",     "any",         "asin",        "atan",
    "atan2",      "ceil",     "clamp",   "clip",        "cos",         "cosh",
    "cross",      "ddx",      "ddy",     "degrees",     "determinant", "distance",
    "dot",        "exp",      "exp2",    "faceforward", "floor",       "fmod",
    "frac",       "frexp",    "fwidth",  "isfinite",    "isinf",       "isnan",
    "ldexp",      "length",   "lerp",    "lit",         "log",         "log10",
    "log2",       "max",      "min",     "modf",        "mul",         "noise",
    "normalize",  "pow",      "radians", "reflect",     "refract",     "round",
    "rsqrt",      "saturate", "sign",    "sin",         "sincos",      "sinh",
    "smoothstep", "sqrt",     "step",    "tan",         "tanh",        "transpose",
    "trunc",      "tex1D",    "tex2D",   "tex3D",       "texCUBE",     "D3DCOLORtoUBYTE4"};

bool IsIntrinsicName(const std::string& name) {
    for (const char* n : kIntrinsicNames) {
        if (name == n) return true;
    }
    return false;
}

}  // namespace

Variable* SourcePass::Lookup(const std::string& name) {
    for (auto s = scopes_.rbegin(); s != scopes_.rend(); ++s) {
        const auto v = s->names.find(name);
        if (v != s->names.end()) return &v->second;
    }
    return nullptr;
}

const Variable* SourcePass::Find(const std::string& name) {
    if (const Variable* local = Lookup(name)) return local;
    const auto global = globals_.find(name);
    return global != globals_.end() ? &global->second : nullptr;
}

void SourcePass::Declare(const std::string& name, Variable v) {
    if (scopes_.empty()) scopes_.emplace_back();
    scopes_.back().names[name] = std::move(v);
}

// A variable, a member, an element or a swizzle without repeats: what an out parameter may
// write.
bool SourcePass::IsLValue(std::size_t begin, std::size_t end) const {
    while (begin < end && At(begin).Is("(") && At(begin).match == end - 1) {
        ++begin;
        --end;
    }
    if (begin >= end || At(begin).kind != TokenKind::Identifier) return false;
    HlslType type;
    if (ReadType(begin, type)) return false;  // a constructor or a cast
    for (std::size_t k = begin + 1; k < end;) {
        if (At(k).Is("[")) {
            k = At(k).match + 1;
        } else if (At(k).Is(".") && At(k + 1).kind == TokenKind::Identifier) {
            const std::string& field = At(k + 1).text;
            const bool swizzle =
                field.size() <= 4 && (field.find_first_not_of("xyzw") == std::string::npos ||
                                      field.find_first_not_of("rgba") == std::string::npos);
            if (swizzle) {
                for (std::size_t a = 0; a < field.size(); ++a) {
                    if (field.find(field[a], a + 1) != std::string::npos) return false;
                }
            }
            k += 2;
        } else {
            return false;
        }
    }
    return true;
}

std::vector<std::pair<std::size_t, std::size_t>> SourcePass::CallArguments(std::size_t open) const {
    std::vector<std::pair<std::size_t, std::size_t>> args;
    const std::size_t close = At(open).match;
    std::size_t from = open + 1;
    for (std::size_t a = open + 1; a <= close && !IsEnd(a); ++a) {
        if (a < close && (At(a).Is("(") || At(a).Is("[") || At(a).Is("{"))) {
            a = At(a).match;
            continue;
        }
        if (a == close || At(a).Is(",")) {
            if (a > from) args.emplace_back(from, a);
            from = a + 1;
        }
    }
    return args;
}

// Arguments for out and inout parameters must be l-values, for every overload of that arity.
void SourcePass::CheckCalls(std::size_t begin, std::size_t end) {
    for (std::size_t k = begin; k + 1 < end; ++k) {
        if (At(k).kind != TokenKind::Identifier || !At(k + 1).Is("(") ||
            (k > 0 && At(k - 1).Is(".")))
            continue;
        const auto overloads = outParameters_.find(At(k).text);
        if (overloads == outParameters_.end()) continue;
        const auto args = CallArguments(k + 1);
        for (std::size_t position = 0; position < args.size(); ++position) {
            bool mustWrite = false, anyOverload = false;
            for (const std::vector<bool>& outs : overloads->second) {
                if (outs.size() != args.size()) continue;
                mustWrite = anyOverload ? mustWrite && outs[position] : outs[position];
                anyOverload = true;
            }
            if (mustWrite && ReadCastOfAnOutArgument(args[position].first, args[position].second))
                continue;
            const Token& base = At(args[position].first);
            const Variable* written =
                base.kind == TokenKind::Identifier ? Find(base.text) : nullptr;
            if (mustWrite && written && written->isConst &&
                IsLValue(args[position].first, args[position].second)) {
                Error(args[position].first,
                      "'" + base.text + "': l-value specifies const object (argument " +
                          std::to_string(position + 1) + " of '" + At(k).text + "' is written)");
            } else if (mustWrite && !IsLValue(args[position].first, args[position].second)) {
                Error(args[position].first, "out parameters require l-value arguments: argument " +
                                                std::to_string(position + 1) + " of '" +
                                                At(k).text + "' cannot be written");
            }
        }
    }
}

// A cast of an l-value is itself one for an out parameter: the value written back is converted
// to the variable's type ("get((float2)v)" writes v.xy). glslang converts an out argument
// of another type itself; the cast goes, and a vector cast narrower than its vector becomes a
// swizzle.
bool SourcePass::ReadCastOfAnOutArgument(std::size_t begin, std::size_t end) {
    HlslType cast;
    const std::size_t close = At(begin).Is("(") ? ReadType(begin + 1, cast) : 0;
    if (!close || !At(close).Is(")") || !cast.Numeric() || cast.matrix || !IsLValue(close + 1, end))
        return false;
    edits_.Remove(At(begin).offset, At(close).offset + 1);
    const Variable* v = close + 2 == end ? Find(At(close + 1).text) : nullptr;
    const int narrow = cast.rows * cast.columns;
    if (v && v->dims.empty() && v->type.Numeric() && !v->type.matrix && v->type.columns > narrow &&
        narrow > 1) {
        const Token& last = At(end - 1);
        edits_.Insert(last.offset + last.text.size(), "." + std::string("xyzw", narrow));
    }
    return true;
}

// A constant integer divided by zero is an error, as the real compiler has it; a float one a
// warning.
void SourcePass::CheckDivisions(std::size_t begin, std::size_t end) {
    const auto isIntLiteral = [](const Token& t) {
        return t.kind == TokenKind::Number && t.text.find_first_of(".eEfFhH") == std::string::npos;
    };
    const auto isInteger = [&](const Token& t) {
        if (t.kind != TokenKind::Identifier) return isIntLiteral(t);
        const Variable* v = Find(t.text);
        return v && (v->type.base == HlslType::Base::Int || v->type.base == HlslType::Base::Uint);
    };
    for (std::size_t k = begin + 1; k + 1 < end; ++k) {
        if (!At(k).Is("/") && !At(k).Is("%") && !At(k).Is("/=") && !At(k).Is("%=")) continue;
        // The divisor: a number, a name, or a parenthesised constant expression such as (2 - 2).
        std::size_t rightEnd = k + 1;
        while (At(rightEnd).Is("-") || At(rightEnd).Is("+")) ++rightEnd;
        rightEnd = At(rightEnd).Is("(") ? At(rightEnd).match + 1 : rightEnd + 1;
        const std::optional<double> value = ConstantValue(k + 1, rightEnd);
        if (!value || *value != 0) continue;
        bool integerDivisor = true;
        for (std::size_t r = k + 1; r < rightEnd; ++r) {
            const Token& t = At(r);
            if (t.kind == TokenKind::Number || t.kind == TokenKind::Identifier)
                integerDivisor = integerDivisor && (isInteger(t) || constants_.count(t.text));
        }
        if (isInteger(At(k - 1)) && integerDivisor) {
            Error(k, "integer division by zero");
        } else {
            Warning(k, "floating point division by zero");
        }
    }
}

// The real compiler converts an argument to its parameter's type as it converts an assignment:
// a float4 passed for a float is truncated. glslang finds no overload for it; where a function
// of the file has one overload of that arity, and overloads no intrinsic, its numeric arguments
// are converted explicitly.
void SourcePass::ConvertArgumentsToParameters(std::size_t begin, std::size_t end) {
    for (std::size_t k = begin; k + 1 < end; ++k) {
        if (At(k).kind != TokenKind::Identifier || !At(k + 1).Is("(") ||
            (k > 0 && At(k - 1).Is(".")))
            continue;
        const auto signatures = parameterTypes_.find(At(k).text);
        if (signatures == parameterTypes_.end() || IsIntrinsicName(At(k).text)) continue;
        const auto args = CallArguments(k + 1);
        const std::vector<Parameter>* only = nullptr;
        int matching = 0;
        for (const auto& signature : signatures->second) {
            if (signature.size() != args.size()) continue;
            only = &signature;
            ++matching;
        }
        if (matching != 1) continue;
        for (std::size_t a = 0; a < args.size(); ++a) {
            const Parameter& p = (*only)[a];
            if (p.out || !p.type.Numeric() || p.type.matrix || !p.type.arrayDims.empty() || p.array)
                continue;
            edits_.Insert(At(args[a].first).offset, TypeName(p.type) + "(");
            const Token& last = At(args[a].second - 1);
            edits_.Insert(last.offset + last.text.size(), ")");
        }
    }
}

// A one-wide matrix beside a full one in arithmetic (float1x4 + float4x4): the real compiler
// truncates both to the smaller rows and columns, with a warning; glslang, which reads the
// one-wide matrix as a vector, refuses the pair. Where both operands are plain names, the full
// matrix becomes its first row (1 x N) or first column (N x 1), and either side is cut to the
// shorter length. Anything else is left to glslang.
void SourcePass::TruncateMatricesBesideOneWide(std::size_t begin, std::size_t end) {
    const auto typeOf = [this](std::size_t k) -> const HlslType* {
        if (At(k).kind != TokenKind::Identifier) return nullptr;
        const Variable* v = Find(At(k).text);
        return v && v->dims.empty() && v->type.matrix ? &v->type : nullptr;
    };
    const auto oneWide = [](const HlslType* t) { return t && (t->rows == 1) != (t->columns == 1); };
    const auto full = [](const HlslType* t) { return t && t->rows > 1 && t->columns > 1; };
    const auto binds = [this](std::size_t k) {
        return At(k).Is("*") || At(k).Is("/") || At(k).Is("%") || At(k).Is(".") || At(k).Is("[") ||
               At(k).Is("(");
    };
    static const char* const kSwizzles[] = {"", ".x", ".xy", ".xyz"};
    for (std::size_t k = begin + 1; k + 1 < end && !IsEnd(k); ++k) {
        const Token& op = At(k);
        if (!(op.Is("+") || op.Is("-") || op.Is("*") || op.Is("/"))) continue;
        if ((k >= begin + 2 && binds(k - 2)) || binds(k + 2)) continue;
        const HlslType *left = typeOf(k - 1), *right = typeOf(k + 1);
        const bool leftWide = oneWide(left) && full(right),
                   rightWide = oneWide(right) && full(left);
        if (!leftWide && !rightWide) continue;
        const HlslType& wide = leftWide ? *left : *right;
        const HlslType& matrix = leftWide ? *right : *left;
        const Token& m = At(leftWide ? k + 1 : k - 1);
        const Token& w = At(leftWide ? k - 1 : k + 1);
        const bool row = wide.rows == 1;
        const int wideLength = row ? wide.columns : wide.rows;
        const int matrixLength = row ? matrix.columns : matrix.rows;
        const int length = std::min(wideLength, matrixLength);
        if (!row) edits_.Insert(m.offset, "transpose(");
        edits_.Insert(
            m.offset + m.text.size(),
            std::string(row ? "" : ")") + "[0]" + (matrixLength > length ? kSwizzles[length] : ""));
        if (wideLength > length) edits_.Insert(w.offset + w.text.size(), kSwizzles[length]);
        Warning(k, "implicit truncation of vector type");
    }
}

void SourcePass::RenameIdentifiers(std::size_t begin, std::size_t end) {
    CheckCalls(begin, end);
    ConvertArgumentsToParameters(begin, end);
    CheckDivisions(begin, end);
    TruncateMatricesBesideOneWide(begin, end);
    for (std::size_t k = begin; k < end && !IsEnd(k); ++k) {
        const Token& t = At(k);
        if (t.kind != TokenKind::Identifier || (k > 0 && At(k - 1).Is("."))) continue;
        const Variable* local = Lookup(t.text);
        if (local && local->spelling != t.text)
            edits_.Replace(t.offset, t.offset + t.text.size(), local->spelling);
        const Variable* v = Find(t.text);
        if (v && v->dims.empty() && v->type.matrix && (v->type.rows == 1 || v->type.columns == 1)) {
            // Indexing a one-wide matrix, which is now a vector: m[0][j] of a 1 x N is m[j],
            // m[0] its whole row; n[i][0] of an N x 1 is n[i].
            const std::size_t first = k + 1;
            if (!At(first).Is("[")) continue;
            const std::size_t second = At(first).match + 1;
            const Token& open = At(first);
            if (v->type.rows == 1) {
                edits_.Remove(open.offset, At(open.match).offset + 1);
                if (v->type.columns == 1 && At(second).Is("["))
                    edits_.Remove(At(second).offset, At(At(second).match).offset + 1);
            } else if (At(second).Is("[")) {
                edits_.Remove(At(second).offset, At(At(second).match).offset + 1);
            }
        }
    }
}

bool SourcePass::AssignsIn(const std::string& name, std::size_t begin, std::size_t end) const {
    for (std::size_t k = begin; k < end && !IsEnd(k); ++k) {
        if (At(k).kind != TokenKind::Identifier || At(k).text != name ||
            (k > 0 && At(k - 1).Is(".")))
            continue;
        if (k > 0 && (At(k - 1).Is("++") || At(k - 1).Is("--"))) return true;
        std::size_t after = k + 1;
        while (At(after).Is(".") || At(after).Is("[")) {
            after = At(after).Is("[") ? At(after).match + 1 : after + 2;
        }
        if (IsAssignment(At(after)) || At(after).Is("++") || At(after).Is("--")) return true;
    }
    return false;
}

std::size_t SourcePass::Block(std::size_t open, bool newScope) {
    const std::size_t close = At(open).match;
    if (newScope) scopes_.emplace_back();
    std::size_t k = open + 1;
    while (k < close && !IsEnd(k)) {
        const std::size_t next = Statement(k, true);
        k = next > k ? next : k + 1;
    }
    if (newScope) scopes_.pop_back();
    return IsEnd(close) ? close : close + 1;
}

std::size_t SourcePass::Expression(std::size_t begin, std::size_t end) {
    RenameIdentifiers(begin, end);
    return end;
}

std::size_t SourcePass::Statement(std::size_t i, bool inBlock) {
    if (IsEnd(i)) return i;
    if (At(i).Is("{")) return Block(i, true);
    if (At(i).Is(";")) return i + 1;
    const std::size_t start = i;
    while (At(i).Is("[") && !IsEnd(At(i).match)) i = At(i).match + 1;  // [unroll], [loop] ...
    const Token& t = At(i);
    if (t.Is("for")) return ForLoop(start, i, inBlock);
    if (t.Is("while")) return WhileLoop(start, i, inBlock);
    if (t.Is("do")) return DoLoop(start, i, inBlock);
    if (i != start) return Statement(i, inBlock);
    const auto statementEnd = [&](std::size_t from) {
        const std::size_t end = SkipToSemicolon(from);
        return At(end).Is(";") ? end + 1 : end;
    };
    if (t.Is("if") && At(i + 1).Is("(")) {
        const std::size_t close = At(i + 1).match;
        Expression(i + 2, close);
        const std::size_t after = Statement(close + 1, false);
        return At(after).Is("else") ? Statement(after + 1, false) : after;
    }
    if (t.Is("switch") && At(i + 1).Is("(")) {
        const std::size_t close = At(i + 1).match;
        Expression(i + 2, close);
        if (!At(close + 1).Is("{")) return Statement(close + 1, false);
        const std::size_t end = At(close + 1).match;
        scopes_.emplace_back();
        for (std::size_t k = close + 2; k < end && !IsEnd(k);) {
            if (At(k).Is("case") || At(k).Is("default")) {
                while (k < end && !At(k).Is(":")) ++k;
                ++k;
                continue;
            }
            const std::size_t next = Statement(k, true);
            k = next > k ? next : k + 1;
        }
        scopes_.pop_back();
        return IsEnd(end) ? end : end + 1;
    }
    if (t.Is("return")) {
        Expression(i + 1, SkipToSemicolon(i + 1));
        return statementEnd(i);
    }
    if (t.Is("break") || t.Is("continue") || t.Is("discard")) return statementEnd(i);
    const std::size_t end = SkipToSemicolon(i);
    if (t.kind == TokenKind::Identifier && At(i + 1).kind == TokenKind::Identifier &&
        !StartsDeclaration(i)) {
        Modifiers m;
        const std::size_t typeToken = ReadModifiers(i, m);
        HlslType type;
        if (!ReadType(typeToken, type) && At(typeToken + 1).kind == TokenKind::Identifier)
            Error(typeToken, "unrecognized identifier '" + At(typeToken).text + "'");
    }
    if (StartsDeclaration(i)) {
        LocalDeclaration(i, end, false, nullptr);
    } else {
        Expression(i, end);
    }
    return At(end).Is(";") ? end + 1 : end;
}

std::size_t SourcePass::LocalDeclaration(std::size_t i, std::size_t end, bool hoist,
                                         std::string* hoisted) {
    Modifiers m;
    const std::size_t typeToken = ReadModifiers(i, m);
    HlslType type;
    std::size_t k = ReadType(typeToken, type);
    const std::string typeText = TextOf(i, k);
    while (k && k < end && At(k).kind == TokenKind::Identifier) {
        const std::size_t nameToken = k;
        const std::string name = At(k).text;
        CheckMajority(m, type, nameToken);
        CheckStorageClass(m, DeclarationPlace::Local, nameToken);
        Variable v{type, {}, name, {}, m.isConst};
        const std::size_t dimsEnd = ReadArrayDims(k + 1, v.dims);
        std::size_t after = dimsEnd;
        while (At(after).Is(":") && after < end) after += 2;
        std::size_t initBegin = 0, initEnd = after;
        if (At(after).Is("=")) {
            initBegin = after + 1;
            initEnd = initBegin;
            while (initEnd < end && !At(initEnd).Is(",")) {
                if (At(initEnd).Is("(") || At(initEnd).Is("{") || At(initEnd).Is("["))
                    initEnd = At(initEnd).match;
                ++initEnd;
            }
            if (At(initBegin).Is("{")) {
                FlattenInitialiser(initBegin, name, type, v.dims);
            } else {
                RenameIdentifiers(initBegin, initEnd);
            }
            if (m.isConst && type.Numeric() && type.rows * type.columns == 1)
                v.value = ConstantValue(initBegin, initEnd);
        }
        CheckDeclaredSize(m, DeclarationPlace::Local, nameToken, v.dims, initBegin != 0);
        if (!hoist) {
            Declare(name, v);
        } else {
            // The loop's variable lives on in the enclosing block. A second declaration there
            // is the real compiler's warning X3078, and the most recent one is used.
            const std::string init = initBegin ? " = " + TextOf(initBegin, initEnd) : "";
            const std::string dims = TextOf(nameToken + 1, dimsEnd);
            Scope& scope = scopes_.back();
            const auto existing = scope.names.find(name);
            if (existing == scope.names.end()) {
                Declare(name, v);
                *hoisted += typeText + " " + name + dims + init + "; ";
            } else if (existing->second.type.name == type.name && existing->second.dims == v.dims) {
                Warning(nameToken, "loop control variable '" + name +
                                       "' conflicts with a previous declaration in the outer "
                                       "scope; most recent declaration will be used");
                if (initBegin) *hoisted += existing->second.spelling + init + "; ";
            } else {
                Warning(nameToken, "loop control variable '" + name +
                                       "' conflicts with a previous declaration in the outer "
                                       "scope; most recent declaration will be used");
                v.spelling = name + "_tess" + std::to_string(++renames_);
                *hoisted += typeText + " " + v.spelling + dims + init + "; ";
                existing->second = v;
            }
        }
        k = initEnd;
        if (!At(k).Is(",")) break;
        ++k;
    }
    return end;
}

bool SourcePass::ReadComparison(std::size_t begin, std::size_t end, std::string& var,
                                std::string& op, double& limit) const {
    std::optional<double> value;
    if (end > begin + 2 && At(begin).kind == TokenKind::Identifier) {
        var = At(begin).text;
        op = At(begin + 1).text;
        value = ConstantValue(begin + 2, end);
    }
    if (!value && end > begin + 2 && At(end - 1).kind == TokenKind::Identifier) {
        var = At(end - 1).text;
        op = At(end - 2).text;
        value = ConstantValue(begin, end - 2);
        if (op == "<")
            op = ">";
        else if (op == ">")
            op = "<";
        else if (op == "<=")
            op = ">=";
        else if (op == ">=")
            op = "<=";
    }
    if (!value || (op != "<" && op != "<=" && op != ">" && op != ">=" && op != "!=")) return false;
    limit = *value;
    return true;
}

// "i++", "--i", "i += 2", "i = i - 1" over [begin, end): the step, or none.
std::optional<double> SourcePass::ReadStep(std::size_t begin, std::size_t end,
                                           const std::string& var) const {
    const auto is = [&](std::size_t k, const char* text) { return At(k).text == text; };
    if (end == begin + 2 && ((At(begin).text == var && is(begin + 1, "++")) ||
                             (is(begin, "++") && At(begin + 1).text == var)))
        return 1.0;
    if (end == begin + 2 && ((At(begin).text == var && is(begin + 1, "--")) ||
                             (is(begin, "--") && At(begin + 1).text == var)))
        return -1.0;
    if (At(begin).text != var) return std::nullopt;
    if (is(begin + 1, "+=") || is(begin + 1, "-=")) {
        const auto step = ConstantValue(begin + 2, end);
        if (!step) return std::nullopt;
        return is(begin + 1, "-=") ? -*step : *step;
    }
    if (is(begin + 1, "=") && At(begin + 2).text == var &&
        (is(begin + 3, "+") || is(begin + 3, "-"))) {
        const auto step = ConstantValue(begin + 4, end);
        if (!step) return std::nullopt;
        return is(begin + 3, "-") ? -*step : *step;
    }
    return std::nullopt;
}

int CountIterations(double value, const std::string& op, double limit, double step, bool isInt,
                    bool atLeastOnce) {
    const auto holds = [&] {
        if (op == "<") return value < limit;
        if (op == "<=") return value <= limit;
        if (op == ">") return value > limit;
        if (op == ">=") return value >= limit;
        return value != limit;
    };
    int count = 0;
    while ((atLeastOnce && count == 0) || (holds() && count <= kUnrollLimit)) {
        ++count;
        value += step;
        if (isInt) value = std::trunc(value);
    }
    return count;
}

// The loop's header as a counting loop: a variable set to a constant, compared with a constant,
// stepped by a constant and not assigned in the body. The count, or none.
std::optional<int> SourcePass::ConstantTripCount(std::size_t forToken, std::size_t bodyEnd) const {
    const std::size_t open = forToken + 1, close = At(open).match;
    std::size_t semi1 = 0, semi2 = 0;
    if (!ForSemicolons(tokens_, open, semi1, semi2)) return std::nullopt;
    Modifiers m;
    std::size_t k = ReadModifiers(open + 1, m);
    HlslType type;
    if (const std::size_t after = ReadType(k, type); after) k = after;
    if (At(k).kind != TokenKind::Identifier || !At(k + 1).Is("=")) return std::nullopt;
    const std::string var = At(k).text;
    const std::optional<double> start = ConstantValue(k + 2, semi1);
    std::string compared, op;
    double limit = 0;
    if (!start || !ReadComparison(semi1 + 1, semi2, compared, op, limit) || compared != var)
        return std::nullopt;
    const std::optional<double> step = ReadStep(semi2 + 1, close, var);
    if (!step || AssignsIn(var, close + 1, bodyEnd)) return std::nullopt;
    const bool isInt = type.base == HlslType::Base::Int || type.base == HlslType::Base::Uint;
    return CountIterations(*start, op, limit, *step, isInt, false);
}

// A while or do loop counts like a for loop when its variable was last set to a constant before
// the loop and the body steps it by a constant in one statement of its own.
std::optional<int> SourcePass::CountedWhile(std::size_t open, std::size_t loopToken,
                                            std::size_t bodyBegin, std::size_t bodyEnd,
                                            bool isDo) const {
    const std::size_t close = At(open).match;
    std::string var, op;
    double limit = 0;
    if (!ReadComparison(open + 1, close, var, op, limit)) return std::nullopt;
    std::optional<double> start;
    for (std::size_t k = loopToken; k-- > functionBody_;) {
        if (At(k).text != var || At(k - 1).Is(".")) continue;
        if (At(k + 1).Is("=")) start = ConstantValue(k + 2, SkipToSemicolon(k + 2));
        if (At(k + 1).Is("=") || AssignsIn(var, k, k + 1)) break;
    }
    if (!start) return std::nullopt;
    std::optional<double> step;
    for (std::size_t k = bodyBegin; k < bodyEnd; ++k) {
        if (!AssignsIn(var, k, k + 1)) continue;
        if (step) return std::nullopt;  // stepped twice
        const std::size_t first = At(k - 1).Is("++") || At(k - 1).Is("--") ? k - 1 : k;
        const Token& before = At(first - 1);
        const std::size_t semi = SkipToSemicolon(first);
        if (!(before.Is(";") || before.Is("{") || before.Is("}")) || !At(semi).Is(";"))
            return std::nullopt;
        step = ReadStep(first, semi, var);
        if (!step) return std::nullopt;
        k = semi;
    }
    if (!step) return std::nullopt;
    const Variable* declared = nullptr;
    for (auto s = scopes_.rbegin(); s != scopes_.rend() && !declared; ++s) {
        const auto v = s->names.find(var);
        if (v != s->names.end()) declared = &v->second;
    }
    const bool isInt = declared && (declared->type.base == HlslType::Base::Int ||
                                    declared->type.base == HlslType::Base::Uint);
    return CountIterations(*start, op, limit, *step, isInt, isDo);
}

// After a loop's parts were read: its count kept; bounded where its count is not known and the
// profile runs loops.
void SourcePass::FinishLoop(std::size_t start, std::size_t loopToken, std::size_t condBegin,
                            std::size_t condEnd, std::size_t stmtEnd, std::optional<int> trips,
                            bool inBlock, bool isDo, std::string prologue) {
    // A count beyond what can be unrolled is as good as none where loops run.
    if (trips && *trips > kUnrollLimit && !profile_.LoopsUnrolled()) trips.reset();
    if (trips) result_.loopTrips[At(loopToken).line] = *trips;
    if (profile_.LoopsUnrolled()) {
        // Refused or not once the entry point's calls are known (hlsl/tree_passes.cpp).
        if (!trips) result_.uncountedLoops.insert(At(loopToken).line);
    } else if (!trips) {
        const std::string counter = "tessLoop" + std::to_string(loopCounters_++);
        const std::string bound = std::to_string(kLoopIterationCap);
        prologue += "int " + counter + " = 0; ";
        if (condBegin == condEnd) {
            edits_.Insert(At(condEnd).offset, counter + "++ < " + bound);
        } else {
            edits_.Insert(At(condBegin).offset, "(");
            edits_.Insert(At(condEnd).offset,
                          ") && " + (isDo ? "++" + counter : counter + "++") + " < " + bound);
        }
    }
    if (prologue.empty()) return;
    edits_.Insert(At(start).offset, (inBlock ? "" : "{ ") + prologue);
    if (!inBlock) {
        const Token& last = At(stmtEnd - 1);
        edits_.Insert(last.offset + last.text.size(), " }");
    }
}

std::size_t SourcePass::ForLoop(std::size_t start, std::size_t i, bool inBlock) {
    const std::size_t open = i + 1;
    std::size_t semi1 = 0, semi2 = 0;
    if (!At(open).Is("(") || !ForSemicolons(tokens_, open, semi1, semi2))
        return SkipToSemicolon(i) + 1;
    const std::size_t close = At(open).match;
    if (!inBlock) scopes_.emplace_back();  // the braces that may be added around the loop
    std::string prologue;
    if (StartsDeclaration(open + 1)) {
        LocalDeclaration(open + 1, semi1, true, &prologue);
        edits_.Remove(At(open + 1).offset, At(semi1).offset);
    } else {
        Expression(open + 1, semi1);
    }
    Expression(semi1 + 1, semi2);
    Expression(semi2 + 1, close);
    const std::size_t bodyEnd = Statement(close + 1, false);
    FinishLoop(start, i, semi1 + 1, semi2, bodyEnd, ConstantTripCount(i, bodyEnd), inBlock, false,
               prologue);
    if (!inBlock) scopes_.pop_back();
    return bodyEnd;
}

std::size_t SourcePass::WhileLoop(std::size_t start, std::size_t i, bool inBlock) {
    const std::size_t open = i + 1;
    if (!At(open).Is("(")) return SkipToSemicolon(i) + 1;
    const std::size_t close = At(open).match;
    Expression(open + 1, close);
    const std::size_t bodyEnd = Statement(close + 1, false);
    FinishLoop(start, i, open + 1, close, bodyEnd,
               CountedWhile(open, start, close + 1, bodyEnd, false), inBlock, false, {});
    return bodyEnd;
}

std::size_t SourcePass::DoLoop(std::size_t start, std::size_t i, bool inBlock) {
    const std::size_t bodyEnd = Statement(i + 1, false);
    if (!At(bodyEnd).Is("while") || !At(bodyEnd + 1).Is("(")) return bodyEnd;
    const std::size_t open = bodyEnd + 1, close = At(open).match;
    Expression(open + 1, close);
    const std::size_t end = At(close + 1).Is(";") ? close + 2 : close + 1;
    FinishLoop(start, i, open + 1, close, end, CountedWhile(open, start, i + 1, bodyEnd, true),
               inBlock, true, {});
    return end;
}

}  // namespace d3dx
