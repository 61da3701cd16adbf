// The passes over glslang's tree, one rule each (see hlsl/tree_passes.h).
#include "platform/d3dx/hlsl/tree_passes.h"

#include <cctype>
#include <set>

#include "platform/d3dx/hlsl/entry_tree.h"

namespace d3dx {
namespace {

// The messages of the passes, each once for a line whatever the calls that reach it.
class Findings {
  public:
    void Error(const TIntermNode* node, const std::string& text) {
        const int line = node->getLoc().line, column = std::max(1, node->getLoc().column);
        if (seen_.insert({line, text}).second) list.push_back({line, column, text, true});
    }
    std::vector<Diagnostic> list;

  private:
    std::set<std::pair<int, std::string>> seen_;
};

// ps_2_0 and ps_2_b have no loop instructions: every loop the entry point reaches is unrolled,
// so its count must be known where it is reached, with the constant arguments of its calls
// (the real compiler inlines every call before it unrolls). Loops of functions the entry point
// never calls do not matter.
void RefuseLoopsThatCannotUnroll(const EntryTree& tree, const ProfileInfo& profile,
                                 const SourcePassResult& pass, Findings& findings) {
    if (!profile.LoopsUnrolled()) return;
    for (const ReachedFunction& f : tree.Reached()) {
        EntryTree::Walk(f.definition, [&](const TIntermNode* node, const Ancestors& ancestors) {
            const glslang::TIntermLoop* loop = node->getAsLoopNode();
            if (!loop) return;
            std::optional<int> trips = tree.TripCount(loop, ancestors, f.bindings);
            const int line = loop->getLoc().line;
            const auto counted = pass.loopTrips.find(line);
            if (!trips && counted != pass.loopTrips.end() && !pass.uncountedLoops.count(line))
                trips = counted->second;
            if (!trips) {
                findings.Error(loop,
                               "unable to unroll loop: its trip count is not a compile-time "
                               "constant, and " +
                                   profile.name + " has no loop instructions");
            } else if (*trips > kUnrollLimit) {
                findings.Error(loop, "unable to unroll loop: it does not end within " +
                                         std::to_string(kUnrollLimit) + " iterations");
            }
        });
    }
}

bool IsPositionSemantic(const glslang::TQualifier& q) {
    if (!q.semanticName) return false;
    std::string s = q.semanticName;
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s == "POSITION" || s == "POSITION0" || s == "SV_POSITION";
}

// A pixel shader may declare a POSITION input, as a struct shared with the vertex stage does;
// reading it is what the real compiler refuses. glslang's wrapper around the entry point copies
// each input into the entry point's parameters: the copies of POSITION inputs say which
// parameter, and which member of it, must not be read.
void RefusePositionReads(const EntryTree& tree, const ProfileInfo& profile, Findings& findings) {
    if (!profile.pixel || !tree.Wrapper() || !tree.UserEntry()) return;
    const std::string userEntry = tree.UserEntry()->getName().c_str();
    // The wrapper's call of the entry point: which argument each copy fills.
    const glslang::TIntermAggregate* call = nullptr;
    EntryTree::Walk(tree.Wrapper(), [&](const TIntermNode* node, const Ancestors&) {
        const glslang::TIntermAggregate* a = node->getAsAggregate();
        if (a && a->getOp() == glslang::EOpFunctionCall && userEntry == a->getName().c_str())
            call = a;
    });
    if (!call) return;
    EntryTree::Walk(tree.Wrapper(), [&](const TIntermNode* node, const Ancestors&) {
        const glslang::TIntermBinary* copy = node->getAsBinaryNode();
        if (!copy || copy->getOp() != glslang::EOpAssign) return;
        const glslang::TIntermSymbol* input = copy->getRight()->getAsSymbolNode();
        if (!input || input->getQualifier().storage != glslang::EvqVaryingIn ||
            !IsPositionSemantic(input->getQualifier()))
            return;
        std::vector<int> path;
        const TIntermNode* target = copy->getLeft();
        while (const glslang::TIntermBinary* member = target->getAsBinaryNode()) {
            if (member->getOp() != glslang::EOpIndexDirectStruct) return;
            path.insert(path.begin(),
                        member->getRight()->getAsConstantUnion()->getConstArray()[0].getIConst());
            target = member->getLeft();
        }
        const glslang::TIntermSymbol* temporary = target->getAsSymbolNode();
        if (!temporary) return;
        const auto& args = call->getSequence();
        for (std::size_t k = 0; k < args.size(); ++k) {
            const glslang::TIntermSymbol* arg = args[k]->getAsSymbolNode();
            if (!arg || arg->getId() != temporary->getId()) continue;
            if (tree.ReadsParameter(tree.UserEntry(), k, path)) {
                findings.Error(tree.UserEntry(),
                               profile.name +
                                   " doesn't allow reading from position semantics (VPOS gives "
                                   "the pixel's position in ps_3_0)");
            }
        }
    });
}

// noise is an intrinsic of texture shaders (tx_1_0), which fill textures on the CPU: refused
// where the entry point calls it. The source pass has calls of it call our stand-in.
void RefuseNoise(const EntryTree& tree, const ProfileInfo& profile, Findings& findings) {
    for (const ReachedFunction& f : tree.Reached()) {
        EntryTree::Walk(f.definition, [&](const TIntermNode* node, const Ancestors&) {
            const glslang::TIntermAggregate* call = node->getAsAggregate();
            if (call && call->getOp() == glslang::EOpFunctionCall &&
                std::string(call->getName().c_str()).rfind("tess_noise(", 0) == 0) {
                findings.Error(node,
                               "intrinsic function 'noise' is available only to texture "
                               "shaders (tx_1_0), not to " +
                                   profile.name);
            }
        });
    }
}

}  // namespace

std::vector<Diagnostic> RunTreePasses(const glslang::TIntermediate& intermediate,
                                      const ProfileInfo& profile, const std::string& entry,
                                      const SourcePassResult& pass) {
    const EntryTree tree(intermediate, entry);
    Findings findings;
    RefuseLoopsThatCannotUnroll(tree, profile, pass, findings);
    RefusePositionReads(tree, profile, findings);
    RefuseNoise(tree, profile, findings);
    return std::move(findings.list);
}

}  // namespace d3dx
