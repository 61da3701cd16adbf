// The source pass on declarations: where row_major, column_major and the storage classes may
// stand, sizes and values that must come from an initialiser, majority given by a typedef, and
// the entry point's parameters and definitions (see hlsl/source_pass.h).
#include "platform/d3dx/hlsl/source_model.h"

namespace d3dx {

void SourcePass::CheckMajority(const Modifiers& m, const HlslType& type, std::size_t nameToken) {
    if (m.rowMajor && m.columnMajor) {
        Error(m.majorToken,
              "'" + At(nameToken).text + "': row_major and column_major cannot be used together");
    } else if ((m.rowMajor || m.columnMajor) && !type.matrix) {
        Error(m.majorToken, "'" + At(m.majorToken).text + "' applies only to matrices, and '" +
                                At(nameToken).text + "' is a " + type.name);
    }
}

// The storage classes the real compiler refuses where they stand: extern or uniform with static,
// volatile outside a function, extern or uniform inside one, static on a parameter.
void SourcePass::CheckStorageClass(const Modifiers& m, DeclarationPlace place,
                                   std::size_t nameToken) {
    const std::string name = "'" + At(nameToken).text + "': ";
    if (m.isStatic && (m.isExtern || m.isUniform) && place != DeclarationPlace::Parameter) {
        Error(nameToken,
              name + (m.isExtern ? "extern" : "uniform") + " and static cannot be used together");
    } else if (m.isVolatile && place == DeclarationPlace::Global) {
        Error(nameToken, name + "volatile applies only to local variables");
    } else if ((m.isExtern || m.isUniform) && place == DeclarationPlace::Local) {
        Error(nameToken, name + "local variables cannot be " + (m.isExtern ? "extern" : "uniform"));
    } else if (m.isStatic && place == DeclarationPlace::Parameter) {
        Error(nameToken, name + "parameters cannot be static");
    }
}

// An array without a size takes it from its initialiser, and a const local its value from its
// own: without one, both are refused.
void SourcePass::CheckDeclaredSize(const Modifiers& m, DeclarationPlace place,
                                   std::size_t nameToken, const std::vector<int>& dims,
                                   bool initialised) {
    if (initialised) return;
    if (!dims.empty() && dims[0] == 0 && place != DeclarationPlace::Parameter) {
        Error(nameToken, "'" + At(nameToken).text + "': implicit array missing initial value");
    } else if (m.isConst && place == DeclarationPlace::Local) {
        Error(nameToken, "'" + At(nameToken).text + "': const variables must be initialized");
    }
}

// A uniform parameter of the entry point is a constant, which glslang makes of it, except when
// "const" follows "uniform": const says nothing more of a constant, and goes. So does "in",
// which every parameter is unless it says otherwise: on a VPOS input, glslang takes it for
// gl_FragCoord itself, whatever the parameter's size.
void SourcePass::ReadParametersOfTheEntry() {
    if (!entryBody_) return;
    const std::size_t close = At(entryParameters_).match;
    for (std::size_t k = entryParameters_ + 1; k < close;) {
        Modifiers m;
        const std::size_t typeToken = ReadModifiers(k, m);
        HlslType type;
        const std::size_t name = ReadType(typeToken, type);
        if (m.isUniform && name && At(name).kind == TokenKind::Identifier)
            result_.uniformParameters.push_back(At(name).text);
        for (std::size_t q = k; q < typeToken; ++q) {
            // "in out" is inout, which glslang reads as in on the entry point.
            if (At(q).Is("in") && At(q + 1).Is("out")) {
                edits_.Replace(At(q).offset, At(q + 1).offset + 3, "inout");
                ++q;
            } else if ((m.isUniform && At(q).Is("const")) || At(q).Is("in")) {
                edits_.Remove(At(q).offset, At(q).offset + At(q).text.size());
            }
        }
        while (k < close && !At(k).Is(",")) k = At(k).Is("(") ? At(k).match + 1 : k + 1;
        ++k;
    }
}

// The entry point is named, not called: a name with several definitions names no one of them.
void SourcePass::RefuseOverloadedEntry() {
    for (std::size_t d = 1; d < entryDefinitions_.size(); ++d) {
        Error(entryDefinitions_[d], "'" + entry_ + "': the entry point is defined " +
                                        std::to_string(entryDefinitions_.size()) +
                                        " times with different parameters; it must be one "
                                        "function");
    }
}

// glslang drops row_major and column_major from a typedef: they go onto each declaration of that
// type that does not say its own.
void SourcePass::ApplyTypedefMajority() {
    for (std::size_t k = 0; k + 2 < tokens_.size(); ++k) {
        HlslType type;
        if (At(k).kind != TokenKind::Identifier || !typedefs_.count(At(k).text) ||
            (k > 0 && At(k - 1).Is(".")) || ReadType(k, type) != k + 1 ||
            !(type.rowMajor || type.columnMajor) || At(k + 1).kind != TokenKind::Identifier ||
            At(k + 2).Is("(")) {
            continue;
        }
        std::size_t first = k;
        while (first > 0 && At(first - 1).kind == TokenKind::Identifier &&
               !At(first - 1).Is("typedef"))
            --first;
        Modifiers m;
        if (ReadModifiers(first, m) != k || m.rowMajor || m.columnMajor) continue;
        edits_.Insert(At(k).offset, type.rowMajor ? "row_major " : "column_major ");
    }
}

}  // namespace d3dx
