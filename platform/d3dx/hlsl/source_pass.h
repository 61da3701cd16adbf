// Our source pass over the preprocessed HLSL before glslang compiles it: the Direct3D 9-era
// language that glslang's HLSL front end lacks or reads differently, rewritten to what it reads
// with the same meaning, and what the real compiler refuses for the profile at source level,
// refused with its reason. Every line keeps its number.
//
// Rewritten: the legacy scope of a for loop's variable (it lives on after the loop, and a second
// loop may declare it again); initialisers written as flat lists for arrays, matrices and
// structs; effect-file declarations (textures, sampler_state blocks, techniques) dropped as a
// shader compile drops them; shader model 4 textures and sampler states read as the samplers
// Direct3D 9's compiler reads them as; SV_Position (and POSITION), SV_Target and SV_Depth read
// as POSITION0, COLOR and DEPTH; float1 and one-wide matrices (float1x4, float4x1) as the
// scalars and vectors they behave as; majority given by a typedef put on each declaration; a
// prototype of the entry point dropped, and "in" and "uniform const" on its parameters read as
// glslang reads them; the arguments of a function with one overload converted to its parameter
// types; static globals whose initialiser calls a function of the file initialised at the start
// of the entry point; intrinsics whose glslang version differs from their definition replaced
// by our own (hlsl/prelude.cpp); loops whose trip count is not a compile-time constant bounded
// to 255 iterations where the profile has loops, as a Direct3D 9 rep or loop instruction is.
//
// Refused: other shader model 4 objects and semantics, texture methods without a Direct3D 9
// instruction, row_major or column_major on anything but a matrix or both on one declaration,
// storage classes where they cannot stand, an unsized array or a const local without an
// initialiser, an initialiser that does not fill its type, a non-l-value or a const for an out
// parameter, a constant integer division by zero, an unrecognized type name, an entry point
// with several definitions. What depends on the entry point's calls (loops in profiles that
// unroll them, reading POSITION, noise) is judged after parsing (hlsl/tree_passes.h); loops are
// only counted here.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace d3dx {

struct ProfileInfo {
    bool pixel = true;
    std::uint32_t major = 2, minor = 0;
    std::string name;  // "ps_2_0"

    // ps_2_0 and ps_2_b have no flow control: every loop is unrolled.
    bool LoopsUnrolled() const { return pixel && major == 2 && minor != 1 && minor != 0xFF; }
    bool Is3() const { return major >= 3; }
};

// One message of a compile: "file(line,col): error: text" once formatted.
struct Diagnostic {
    int line = 1, column = 1;
    std::string text;
    bool error = true;
};

// What the pass learnt about a global the shader may read as a constant.
struct GlobalDeclaration {
    std::string name;
    char registerKind = 0;  // 'c', 'i', 'b' or 's' from ": register(c4)", else 0
    int registerIndex = -1;
    std::vector<float> defaultValue;  // the initialiser, where it is made of numbers
    bool isBool = false;
    // A one-wide matrix (float1x4, float4x1), which glslang holds as a vector: its shape.
    int oneWideRows = 0, oneWideColumns = 0;
    bool rowMajor = false;
    int line = 1;
};

struct SourcePassResult {
    std::string source;
    std::vector<Diagnostic> problems;
    std::vector<GlobalDeclaration> globals;  // in declaration order
    int entryLine = 0;                       // where the entry point is defined, 0 if nowhere
    std::map<int, int> loopTrips;            // by line: the count of loops that count
    std::set<int> uncountedLoops;            // lines with a loop the pass could not count
    // The entry point's uniform parameters: constants, which the table names "$name".
    std::vector<std::string> uniformParameters;
};

SourcePassResult RunSourcePass(const std::string& preprocessed, const std::string& entry,
                               const ProfileInfo& profile);

// The most iterations a loop whose count is not known when compiling runs.
inline constexpr int kLoopIterationCap = 255;
// The most iterations a loop that must be unrolled may have.
inline constexpr int kUnrollLimit = 1024;

// How often a loop runs from `value`, stepped by `step` while "value op limit" holds (at least
// once for a do loop); counting stops past kUnrollLimit.
int CountIterations(double value, const std::string& op, double limit, double step, bool isInt,
                    bool atLeastOnce);

}  // namespace d3dx
