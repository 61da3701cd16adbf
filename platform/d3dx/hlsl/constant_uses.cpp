// How the entry point reads the global constants (see hlsl/constant_uses.h). glslang holds the
// globals as members of one uniform block: a read is "direct index for structure" on that block,
// and an array's element a direct (constant) or indirect index on that.
#include "platform/d3dx/hlsl/constant_uses.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace d3dx {
namespace {

using glslang::TIntermAggregate;
using glslang::TIntermBinary;
using glslang::TIntermLoop;

struct Use {
    int elementsRead = 0;  // the last constant index read plus one
    bool wholeArray = false;
    int reads = 0, loopCountReads = 0;
};

class UseReader : public glslang::TIntermTraverser {
  public:
    explicit UseReader(const std::map<std::string, TIntermAggregate*>& functions)
        : functions_(functions) {}

    void Function(const std::string& name) {
        if (!visited_.insert(name).second) return;
        const auto f = functions_.find(name);
        if (f != functions_.end()) f->second->traverse(this);
    }

    std::map<std::string, Use> uses;

  private:
    bool visitAggregate(glslang::TVisit, TIntermAggregate* node) override {
        if (node->getOp() == glslang::EOpFunctionCall) Function(node->getName().c_str());
        return true;
    }

    bool visitLoop(glslang::TVisit, TIntermLoop* loop) override {
        // The test is read with what it reads counted as a loop's count.
        if (loop->getTest()) {
            ++inLoopTest_;
            loop->getTest()->traverse(this);
            --inLoopTest_;
        }
        if (loop->getBody()) loop->getBody()->traverse(this);
        if (loop->getTerminal()) loop->getTerminal()->traverse(this);
        return false;
    }

    bool visitBinary(glslang::TVisit, TIntermBinary* node) override {
        if (node->getOp() != glslang::EOpIndexDirectStruct) return true;
        const glslang::TType& block = node->getLeft()->getType();
        const glslang::TIntermConstantUnion* member = node->getRight()->getAsConstantUnion();
        if (block.getBasicType() != glslang::EbtBlock ||
            block.getQualifier().storage != glslang::EvqUniform || !member || !block.getStruct())
            return true;
        const auto index = static_cast<std::size_t>(member->getConstArray()[0].getIConst());
        if (index >= block.getStruct()->size()) return true;
        const glslang::TType& type = *(*block.getStruct())[index].type;
        Use& use = uses[type.getFieldName().c_str()];
        ++use.reads;
        if (inLoopTest_) ++use.loopCountReads;
        if (!type.isArray()) return true;
        // The array's element: a constant index on it, or anything else (the whole array).
        const TIntermBinary* parent =
            getParentNode() ? getParentNode()->getAsBinaryNode() : nullptr;
        const glslang::TIntermConstantUnion* element =
            parent && parent->getLeft() == node && parent->getOp() == glslang::EOpIndexDirect
                ? parent->getRight()->getAsConstantUnion()
                : nullptr;
        if (element) {
            use.elementsRead =
                std::max(use.elementsRead, element->getConstArray()[0].getIConst() + 1);
        } else {
            use.wholeArray = true;
        }
        return true;
    }

    const std::map<std::string, TIntermAggregate*>& functions_;
    std::set<std::string> visited_;
    int inLoopTest_ = 0;
};

}  // namespace

void ReadConstantUses(const glslang::TIntermediate& intermediate, const std::string& entry,
                      GlobalFacts& facts) {
    TIntermNode* root = intermediate.getTreeRoot();
    TIntermAggregate* top = root ? root->getAsAggregate() : nullptr;
    if (!top) return;
    std::map<std::string, TIntermAggregate*> functions;
    for (TIntermNode* child : top->getSequence()) {
        TIntermAggregate* f = child->getAsAggregate();
        if (f && f->getOp() == glslang::EOpFunction) functions[f->getName().c_str()] = f;
    }
    UseReader reader(functions);
    // The entry point, and the wrapper glslang makes of it.
    for (const auto& [name, node] : functions) {
        if (name.rfind(entry + "(", 0) == 0) reader.Function(name);
    }
    for (const auto& [name, use] : reader.uses) {
        if (use.elementsRead > 0 && !use.wholeArray) facts.elementsRead[name] = use.elementsRead;
        if (use.reads > 0 && use.reads == use.loopCountReads) facts.loopCounts.insert(name);
    }
}

}  // namespace d3dx
