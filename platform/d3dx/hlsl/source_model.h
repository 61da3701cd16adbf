// The source pass's working state (see hlsl/source_pass.h), shared by its files: the global
// walk (hlsl/source_pass.cpp), function bodies and loops (hlsl/statements.cpp) and initialisers
// (hlsl/initialisers.cpp).
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/d3dx/hlsl/source_pass.h"
#include "platform/d3dx/hlsl/tokens.h"

namespace d3dx {

struct HlslType {
    enum class Base {
        Unknown,
        Void,
        Bool,
        Int,
        Uint,
        Half,
        Float,
        Double,
        Sampler,
        Struct,
        EffectObject,  // texture, VertexShader, string ...: dropped from a shader compile
        Sm4Object,     // Texture2D, SamplerState ...: not in these profiles
    };
    Base base = Base::Unknown;
    int rows = 1, columns = 1;  // a scalar 1 x 1, a vector 1 x N, a matrix R x C
    bool matrix = false;
    std::string name;            // as written (the struct's name for a struct)
    std::vector<int> arrayDims;  // from a typedef of an array
    // From a typedef that says row_major or column_major.
    bool rowMajor = false, columnMajor = false;

    bool Numeric() const {
        return base == Base::Bool || base == Base::Int || base == Base::Uint ||
               base == Base::Half || base == Base::Float || base == Base::Double;
    }
};

struct Member {
    std::string name;
    HlslType type;
    std::vector<int> dims;  // 0 for an unsized dimension
};

struct Variable {
    HlslType type;
    std::vector<int> dims;
    std::string spelling;         // the name it is written with after the pass (legacy loop scope)
    std::optional<double> value;  // a const scalar's value, where it is a number
    bool isConst = false;         // a const local or parameter, or a static const global
};

// One block's declarations, for the legacy scope of loop variables.
struct Scope {
    std::map<std::string, Variable> names;
};

// Modifiers read before a type.
struct Modifiers {
    bool isStatic = false, isConst = false, isUniform = false, rowMajor = false,
         columnMajor = false, isExtern = false, isVolatile = false;
    std::size_t majorToken = 0;  // where row_major or column_major stands
};

// Where a declaration stands, for the storage classes it may have.
enum class DeclarationPlace { Global, Local, Parameter };

// A shader model 4 texture object or sampler state, read as the Direct3D 9 sampler it is
// (hlsl/token_rewrites.cpp); null for other names.
struct TextureObject {
    const char* name;
    const char* sampler;
    const char* dimension;  // of the tex intrinsics (tex2D ...); null for a sampler state
    int coordinates;
};
const TextureObject* TextureObjectNamed(const std::string& name);

class SourcePass {
  public:
    SourcePass(const std::string& text, const std::string& entry, const ProfileInfo& profile);
    // The passes, in the order Run takes them; each is one rule or one walk.
    SourcePassResult Run();
    void ReplaceIntrinsics();
    void ReadTextureObjectsAsSamplers();
    void ReadSampler1DAs2D();
    void ReadOneWideShapesAsVectors();
    void MakeWholeLiteralsOfMulFloat();
    void WalkGlobals();
    void ReadParametersOfTheEntry();
    void RefuseOverloadedEntry();
    void ApplyTypedefMajority();

  private:
    // ---- Tokens and types (hlsl/source_pass.cpp)
    const Token& At(std::size_t i) const { return tokens_[std::min(i, tokens_.size() - 1)]; }
    bool IsEnd(std::size_t i) const { return At(i).kind == TokenKind::End; }
    std::size_t ReadModifiers(std::size_t i, Modifiers& m) const;
    // Reads a type at i; returns the index after it, or 0 when no type stands there.
    std::size_t ReadType(std::size_t i, HlslType& type) const;
    bool StartsDeclaration(std::size_t i) const;
    std::size_t SkipToSemicolon(std::size_t i) const;
    // After "<float4>" where it stands at i, else i.
    std::size_t AfterTemplate(std::size_t i) const;
    std::size_t ReadArrayDims(std::size_t i, std::vector<int>& dims) const;
    std::optional<double> ConstantValue(std::size_t begin, std::size_t end) const;
    int ComponentsOf(const HlslType& type) const;
    void Error(std::size_t token, const std::string& message);
    void Warning(std::size_t token, const std::string& message);
    void CheckMajority(const Modifiers& m, const HlslType& type, std::size_t nameToken);
    void CheckStorageClass(const Modifiers& m, DeclarationPlace place, std::size_t nameToken);
    void CheckDeclaredSize(const Modifiers& m, DeclarationPlace place, std::size_t nameToken,
                           const std::vector<int>& dims, bool initialised);
    void RenameSemantic(std::size_t colon);

    // ---- The global walk (hlsl/source_pass.cpp)
    std::size_t GlobalItem(std::size_t i);
    std::size_t StructDefinition(std::size_t i);
    std::size_t Typedef(std::size_t i);
    std::size_t DropBlockItem(std::size_t i);
    std::size_t GlobalDeclarators(std::size_t i, std::size_t start, const Modifiers& m,
                                  const HlslType& type);
    std::size_t Function(std::size_t nameToken, std::size_t start, const HlslType& type);
    void StaticInitialisersIntoEntry();

    // ---- Function bodies (hlsl/statements.cpp)
    std::size_t Block(std::size_t open, bool newScope);
    std::size_t Statement(std::size_t i, bool inBlock);
    std::size_t Expression(std::size_t begin, std::size_t end);
    std::size_t LocalDeclaration(std::size_t i, std::size_t end, bool hoist, std::string* hoisted);
    std::size_t ForLoop(std::size_t start, std::size_t i, bool inBlock);
    std::size_t WhileLoop(std::size_t start, std::size_t i, bool inBlock);
    std::size_t DoLoop(std::size_t start, std::size_t i, bool inBlock);
    bool ReadComparison(std::size_t begin, std::size_t end, std::string& var, std::string& op,
                        double& limit) const;
    std::optional<double> ReadStep(std::size_t begin, std::size_t end,
                                   const std::string& var) const;
    std::optional<int> ConstantTripCount(std::size_t forToken, std::size_t bodyEnd) const;
    std::optional<int> CountedWhile(std::size_t open, std::size_t loopToken, std::size_t bodyBegin,
                                    std::size_t bodyEnd, bool isDo) const;
    void FinishLoop(std::size_t start, std::size_t loopToken, std::size_t condBegin,
                    std::size_t condEnd, std::size_t stmtEnd, std::optional<int> trips,
                    bool inBlock, bool isDo, std::string prologue);
    Variable* Lookup(const std::string& name);
    // A local in scope, else a global of that name; null for neither.
    const Variable* Find(const std::string& name);
    void Declare(const std::string& name, Variable v);
    bool AssignsIn(const std::string& name, std::size_t begin, std::size_t end) const;
    void RenameIdentifiers(std::size_t begin, std::size_t end);
    std::vector<std::pair<std::size_t, std::size_t>> CallArguments(std::size_t open) const;
    void CheckCalls(std::size_t begin, std::size_t end);
    bool ReadCastOfAnOutArgument(std::size_t begin, std::size_t end);
    void ConvertArgumentsToParameters(std::size_t begin, std::size_t end);
    void CheckDivisions(std::size_t begin, std::size_t end);
    void TruncateMatricesBesideOneWide(std::size_t begin, std::size_t end);
    bool IsLValue(std::size_t begin, std::size_t end) const;

    // ---- Initialisers (hlsl/initialisers.cpp)
    // Rewrites a flat brace list for a variable of this type and shape; returns false (and
    // changes nothing) where the list cannot be read.
    bool FlattenInitialiser(std::size_t open, const std::string& name, const HlslType& type,
                            std::vector<int> dims);
    std::vector<float> NumbersOf(std::size_t begin, std::size_t end) const;
    struct Leaf {
        std::size_t begin, end;  // tokens
        int components;
    };
    bool Leaves(std::size_t open, std::vector<Leaf>& leaves) const;
    int LeafComponents(std::size_t begin, std::size_t end) const;
    std::string TypeName(const HlslType& type) const;
    bool BuildValue(const HlslType& type, const std::vector<int>& dims, std::size_t dim,
                    const std::vector<Leaf>& leaves, std::size_t& leaf, int& component,
                    std::string& out) const;
    std::string TextOf(std::size_t begin, std::size_t end) const;

    const std::string& text_;
    std::string entry_;
    ProfileInfo profile_;
    std::vector<Token> tokens_;
    SourceEdits edits_;
    SourcePassResult result_;
    std::map<std::string, std::vector<Member>> structs_;
    std::map<std::string, HlslType> typedefs_;
    std::set<std::string> functions_;
    std::map<std::string, HlslType> functionTypes_;  // return types
    // For each function name, each overload's parameters: true where it is out or inout.
    std::map<std::string, std::vector<std::vector<bool>>> outParameters_;
    // For each function name of the file, each overload's parameters.
    struct Parameter {
        HlslType type;
        bool out = false, array = false;
    };
    std::map<std::string, std::vector<std::vector<Parameter>>> parameterTypes_;
    std::map<std::string, Variable> globals_;
    std::map<std::string, double> constants_;  // static const scalars with numeric values
    std::vector<Scope> scopes_;
    std::vector<std::string> entryStart_;        // statements the entry point runs first
    std::size_t entryBody_ = 0;                  // the entry point's opening brace
    std::size_t entryParameters_ = 0;            // the opening parenthesis of its parameters
    std::vector<std::size_t> entryDefinitions_;  // the name of each definition of the entry point
    std::size_t functionBody_ = 0;               // the opening brace of the function being read
    bool packRowMajor_ = false;                  // #pragma pack_matrix(row_major) in force
    int loopCounters_ = 0;
    int renames_ = 0;
};

}  // namespace d3dx
