// The entry point's call tree in glslang's tree of the parsed shader: the functions the entry
// point reaches, each once for every set of constant arguments it is called with, and what is
// known of values there: constants, parameters bound to constant arguments, the trip count of a
// counting loop, whether a parameter is read. The tree passes (hlsl/tree_passes.cpp) read the
// shader through it, so that the real compiler's rules about what the entry point does apply to
// its call tree only, as they do there: the real compiler inlines every call.
#pragma once

#define ENABLE_HLSL 1
#include <glslang/MachineIndependent/localintermediate.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace d3dx {

// The values of a function's parameters that its call passes as constants, by symbol id.
using Bindings = std::map<long long, double>;

// One function as the entry point reaches it.
struct ReachedFunction {
    const glslang::TIntermAggregate* definition = nullptr;
    std::string name;  // glslang's mangled name: "light(i1;vf4;"
    Bindings bindings;
};

// A node and the nodes it stands in, outermost first.
using Ancestors = std::vector<const TIntermNode*>;

class EntryTree {
  public:
    EntryTree(const glslang::TIntermediate& intermediate, const std::string& entry);

    // Each reached function with each set of bindings it is reached with, callers first; the
    // wrapper glslang makes around the entry point ("main(") comes first.
    const std::vector<ReachedFunction>& Reached() const { return reached_; }
    const glslang::TIntermAggregate* Definition(const std::string& mangled) const;
    // The entry point as written ("@main(...)" in glslang's tree), or null.
    const glslang::TIntermAggregate* UserEntry() const { return userEntry_; }
    const glslang::TIntermAggregate* Wrapper() const { return wrapper_; }

    // Calls visit for every node under root, with the nodes above it (up to root, included).
    static void Walk(const TIntermNode* root,
                     const std::function<void(const TIntermNode*, const Ancestors&)>& visit);

    // A scalar's value where it is a constant or made of constants and bound parameters.
    std::optional<double> Value(const glslang::TIntermTyped* node, const Bindings& bindings) const;
    // The iterations of a loop that counts: a variable last set to a known value, compared with
    // one, stepped by a constant and written nowhere else in the loop. Ancestors run from the
    // function's definition to the loop's parent.
    std::optional<int> TripCount(const glslang::TIntermLoop* loop, const Ancestors& ancestors,
                                 const Bindings& bindings) const;
    // Whether a function reads its parameter `index` where `path` (member indices) lies, itself
    // or through the functions it passes it to.
    bool ReadsParameter(const glslang::TIntermAggregate* function, std::size_t index,
                        const std::vector<int>& path, int depth = 0) const;

  private:
    void Reach(const glslang::TIntermAggregate* function, const std::string& name,
               Bindings bindings);
    void BindLocalConstants(const glslang::TIntermAggregate* function, Bindings& bindings) const;

    std::map<std::string, const glslang::TIntermAggregate*> functions_;
    std::vector<ReachedFunction> reached_;
    std::set<std::string> active_;  // the chain of calls being followed
    const glslang::TIntermAggregate* wrapper_ = nullptr;
    const glslang::TIntermAggregate* userEntry_ = nullptr;
};

// The symbols a function's parameters are, in order.
std::vector<const glslang::TIntermSymbol*> ParametersOf(const glslang::TIntermAggregate* function);

// The variable an l-value expression stands on ("s" of s.a[2].x), or null.
const glslang::TIntermSymbol* BaseSymbol(const TIntermNode* node);

// Whether anything under node writes the variable: an assignment, ++ or --, or an out argument.
bool Writes(const TIntermNode* node, long long symbolId);

}  // namespace d3dx
