// The entry point's call tree and what is known of values in it (see hlsl/entry_tree.h).
#include "platform/d3dx/hlsl/entry_tree.h"

#include <cmath>
#include <set>

#include "platform/d3dx/hlsl/source_pass.h"

namespace d3dx {
namespace {

using glslang::TOperator;

bool IsConversion(TOperator op) {
    return op >= glslang::EOpConvInt8ToBool && op <= glslang::EOpConvDoubleToFloat;
}

bool IsAssignment(TOperator op) {
    return op >= glslang::EOpAssign && op <= glslang::EOpRightShiftAssign;
}

bool IsIncrement(TOperator op) {
    return op == glslang::EOpPostIncrement || op == glslang::EOpPostDecrement ||
           op == glslang::EOpPreIncrement || op == glslang::EOpPreDecrement;
}

bool IsIntegral(const glslang::TType& type) {
    return type.getBasicType() == glslang::EbtInt || type.getBasicType() == glslang::EbtUint;
}

// A statement list: a block, or the sequence glslang makes of declarations and a loop's start.
bool IsSequence(const TIntermNode* node) {
    const glslang::TIntermAggregate* a = node->getAsAggregate();
    return a && (a->getOp() == glslang::EOpSequence || a->getOp() == glslang::EOpNull);
}

std::optional<double> ConstantScalar(const glslang::TConstUnionArray& values,
                                     const glslang::TType& type) {
    if (values.size() != 1 || type.isArray()) return std::nullopt;
    const glslang::TConstUnion& v = values[0];
    switch (v.getType()) {
        case glslang::EbtInt:
            return v.getIConst();
        case glslang::EbtUint:
            return v.getUConst();
        case glslang::EbtFloat:
        case glslang::EbtDouble:
        case glslang::EbtFloat16:
            return v.getDConst();
        case glslang::EbtBool:
            return v.getBConst() ? 1.0 : 0.0;
        default:
            return std::nullopt;
    }
}

// The last value the statements before `before` in a statement list give the variable.
enum class Found { Nothing, Value, Unknown };

}  // namespace

std::vector<const glslang::TIntermSymbol*> ParametersOf(const glslang::TIntermAggregate* function) {
    std::vector<const glslang::TIntermSymbol*> out;
    if (!function || function->getSequence().empty()) return out;
    const glslang::TIntermAggregate* params = function->getSequence()[0]->getAsAggregate();
    if (!params || params->getOp() != glslang::EOpParameters) return out;
    for (const TIntermNode* p : params->getSequence()) out.push_back(p->getAsSymbolNode());
    return out;
}

const glslang::TIntermSymbol* BaseSymbol(const TIntermNode* node) {
    while (node) {
        if (const glslang::TIntermSymbol* s = node->getAsSymbolNode()) return s;
        const glslang::TIntermBinary* b = node->getAsBinaryNode();
        if (!b ||
            (b->getOp() != glslang::EOpIndexDirect && b->getOp() != glslang::EOpIndexIndirect &&
             b->getOp() != glslang::EOpIndexDirectStruct &&
             b->getOp() != glslang::EOpVectorSwizzle)) {
            return nullptr;
        }
        node = b->getLeft();
    }
    return nullptr;
}

namespace {

// Every write under node, by the variable it writes.
std::map<long long, int> WriteCounts(const TIntermNode* node) {
    std::map<long long, int> counts;
    const auto on = [&](const TIntermNode* target) {
        if (const glslang::TIntermSymbol* s = BaseSymbol(target)) ++counts[s->getId()];
    };
    EntryTree::Walk(node, [&](const TIntermNode* n, const Ancestors&) {
        if (const glslang::TIntermBinary* b = n->getAsBinaryNode()) {
            if (IsAssignment(b->getOp())) on(b->getLeft());
        } else if (const glslang::TIntermUnary* u = n->getAsUnaryNode()) {
            if (IsIncrement(u->getOp())) on(u->getOperand());
        } else if (const glslang::TIntermAggregate* a = n->getAsAggregate()) {
            const glslang::TQualifierList& qualifiers = a->getQualifierList();
            for (std::size_t i = 0; i < qualifiers.size() && i < a->getSequence().size(); ++i) {
                if (qualifiers[i] == glslang::EvqOut || qualifiers[i] == glslang::EvqInOut)
                    on(a->getSequence()[i]);
            }
        }
    });
    return counts;
}

}  // namespace

bool Writes(const TIntermNode* node, long long symbolId) {
    return WriteCounts(node).count(symbolId) > 0;
}

void EntryTree::Walk(const TIntermNode* root,
                     const std::function<void(const TIntermNode*, const Ancestors&)>& visit) {
    Ancestors ancestors;
    const std::function<void(const TIntermNode*)> go = [&](const TIntermNode* node) {
        if (!node) return;
        visit(node, ancestors);
        ancestors.push_back(node);
        if (const auto* a = node->getAsAggregate()) {
            for (const TIntermNode* child : a->getSequence()) go(child);
        } else if (const auto* b = node->getAsBinaryNode()) {
            go(b->getLeft());
            go(b->getRight());
        } else if (const auto* u = node->getAsUnaryNode()) {
            go(u->getOperand());
        } else if (const auto* s = node->getAsSelectionNode()) {
            go(s->getCondition());
            go(s->getTrueBlock());
            go(s->getFalseBlock());
        } else if (const auto* l = node->getAsLoopNode()) {
            go(l->getTest());
            go(l->getBody());
            go(l->getTerminal());
        } else if (const auto* br = node->getAsBranchNode()) {
            go(br->getExpression());
        } else if (const auto* sw = node->getAsSwitchNode()) {
            go(sw->getCondition());
            go(sw->getBody());
        }
        ancestors.pop_back();
    };
    go(root);
}

EntryTree::EntryTree(const glslang::TIntermediate& intermediate, const std::string& entry) {
    TIntermNode* root = intermediate.getTreeRoot();
    const glslang::TIntermAggregate* top = root ? root->getAsAggregate() : nullptr;
    if (!top) return;
    for (const TIntermNode* child : top->getSequence()) {
        const glslang::TIntermAggregate* f = child->getAsAggregate();
        if (f && f->getOp() == glslang::EOpFunction) functions_[f->getName().c_str()] = f;
    }
    for (const auto& [name, f] : functions_) {
        if (name.rfind(entry + "(", 0) == 0) wrapper_ = f;
        if (name.rfind("@" + entry + "(", 0) == 0) userEntry_ = f;
    }
    if (wrapper_) Reach(wrapper_, wrapper_->getName().c_str(), {});
}

const glslang::TIntermAggregate* EntryTree::Definition(const std::string& mangled) const {
    const auto f = functions_.find(mangled);
    return f == functions_.end() ? nullptr : f->second;
}

void EntryTree::Reach(const glslang::TIntermAggregate* function, const std::string& name,
                      Bindings bindings) {
    for (const ReachedFunction& r : reached_) {
        if (r.name == name && r.bindings == bindings) return;
    }
    // Recursion, which the link refuses, reaches a function once.
    if (!active_.insert(name).second) return;
    BindLocalConstants(function, bindings);
    reached_.push_back({function, name, bindings});
    // The calls it makes, each with the arguments known at the call.
    std::vector<std::pair<const glslang::TIntermAggregate*, Bindings>> calls;
    Walk(function, [&](const TIntermNode* node, const Ancestors&) {
        const glslang::TIntermAggregate* call = node->getAsAggregate();
        if (!call || call->getOp() != glslang::EOpFunctionCall) return;
        const glslang::TIntermAggregate* callee = Definition(call->getName().c_str());
        if (!callee) return;
        const auto params = ParametersOf(callee);
        const glslang::TQualifierList& qualifiers = call->getQualifierList();
        Bindings passed;
        for (std::size_t i = 0; i < params.size() && i < call->getSequence().size(); ++i) {
            const bool in = i >= qualifiers.size() || qualifiers[i] == glslang::EvqIn ||
                            qualifiers[i] == glslang::EvqConstReadOnly ||
                            qualifiers[i] == glslang::EvqTemporary;
            const glslang::TIntermTyped* arg = call->getSequence()[i]->getAsTyped();
            if (!params[i] || !in || !arg) continue;
            if (const auto v = Value(arg, bindings)) passed[params[i]->getId()] = *v;
        }
        calls.emplace_back(callee, std::move(passed));
    });
    for (auto& [callee, passed] : calls) Reach(callee, callee->getName().c_str(), passed);
    active_.erase(name);
}

// A local variable set once, outside any condition or loop, to a known value keeps it: the real
// compiler propagates it ("int count = 7; for (i < count)" unrolls).
void EntryTree::BindLocalConstants(const glslang::TIntermAggregate* function,
                                   Bindings& bindings) const {
    if (function->getSequence().size() < 2) return;
    const std::map<long long, int> writes = WriteCounts(function);
    const std::function<void(const TIntermNode*)> statements = [&](const TIntermNode* node) {
        if (!node) return;
        if (IsSequence(node)) {
            for (const TIntermNode* s : node->getAsAggregate()->getSequence()) statements(s);
            return;
        }
        const glslang::TIntermBinary* b = node->getAsBinaryNode();
        const glslang::TIntermSymbol* local = b ? b->getLeft()->getAsSymbolNode() : nullptr;
        if (!local || b->getOp() != glslang::EOpAssign ||
            local->getQualifier().storage != glslang::EvqTemporary ||
            writes.at(local->getId()) != 1) {
            return;
        }
        if (const auto v = Value(b->getRight(), bindings)) bindings[local->getId()] = *v;
    };
    statements(function->getSequence()[1]);
}

std::optional<double> EntryTree::Value(const glslang::TIntermTyped* node,
                                       const Bindings& bindings) const {
    if (!node) return std::nullopt;
    if (const auto* c = node->getAsConstantUnion())
        return ConstantScalar(c->getConstArray(), c->getType());
    if (const auto* s = node->getAsSymbolNode()) {
        const auto bound = bindings.find(s->getId());
        if (bound != bindings.end()) return bound->second;
        if (s->getType().getQualifier().isConstant())
            return ConstantScalar(s->getConstArray(), s->getType());
        return std::nullopt;
    }
    if (const auto* u = node->getAsUnaryNode()) {
        const auto v = Value(u->getOperand(), bindings);
        if (!v) return std::nullopt;
        if (u->getOp() == glslang::EOpNegative) return -*v;
        if (IsConversion(u->getOp())) return IsIntegral(u->getType()) ? std::trunc(*v) : *v;
        return std::nullopt;
    }
    if (const auto* b = node->getAsBinaryNode()) {
        const auto l = Value(b->getLeft(), bindings), r = Value(b->getRight(), bindings);
        if (!l || !r) return std::nullopt;
        const bool integral = IsIntegral(b->getType());
        switch (b->getOp()) {
            case glslang::EOpAdd:
                return *l + *r;
            case glslang::EOpSub:
                return *l - *r;
            case glslang::EOpMul:
                return *l * *r;
            case glslang::EOpDiv:
                if (*r == 0) return std::nullopt;
                return integral ? std::trunc(*l / *r) : *l / *r;
            default:
                return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<int> EntryTree::TripCount(const glslang::TIntermLoop* loop,
                                        const Ancestors& ancestors,
                                        const Bindings& bindings) const {
    // The test: the variable compared with a known value, either way round.
    const glslang::TIntermBinary* test =
        loop->getTest() ? loop->getTest()->getAsBinaryNode() : nullptr;
    if (!test) return std::nullopt;
    const auto variable = [](const glslang::TIntermTyped* side) -> const glslang::TIntermSymbol* {
        while (side && side->getAsUnaryNode() && IsConversion(side->getAsUnaryNode()->getOp()))
            side = side->getAsUnaryNode()->getOperand();
        return side ? side->getAsSymbolNode() : nullptr;
    };
    std::string op;
    switch (test->getOp()) {
        case glslang::EOpLessThan:
            op = "<";
            break;
        case glslang::EOpLessThanEqual:
            op = "<=";
            break;
        case glslang::EOpGreaterThan:
            op = ">";
            break;
        case glslang::EOpGreaterThanEqual:
            op = ">=";
            break;
        case glslang::EOpNotEqual:
            op = "!=";
            break;
        default:
            return std::nullopt;
    }
    const glslang::TIntermSymbol* counter = variable(test->getLeft());
    std::optional<double> limit = Value(test->getRight(), bindings);
    if (!counter || !limit || bindings.count(counter->getId())) {
        counter = variable(test->getRight());
        limit = Value(test->getLeft(), bindings);
        if (op[0] == '<')
            op[0] = '>';
        else if (op[0] == '>')
            op[0] = '<';
    }
    if (!counter || !limit) return std::nullopt;
    const long long id = counter->getId();

    // The step: the loop's terminal, or one statement of its body that does nothing else.
    const auto stepOf = [&](const TIntermNode* node) -> std::optional<double> {
        if (const auto* u = node->getAsUnaryNode()) {
            const glslang::TIntermSymbol* s = u->getOperand()->getAsSymbolNode();
            if (!s || s->getId() != id) return std::nullopt;
            if (u->getOp() == glslang::EOpPostIncrement || u->getOp() == glslang::EOpPreIncrement)
                return 1.0;
            if (u->getOp() == glslang::EOpPostDecrement || u->getOp() == glslang::EOpPreDecrement)
                return -1.0;
            return std::nullopt;
        }
        const auto* b = node->getAsBinaryNode();
        const glslang::TIntermSymbol* s = b ? b->getLeft()->getAsSymbolNode() : nullptr;
        if (!s || s->getId() != id) return std::nullopt;
        const auto by = Value(b->getRight(), bindings);
        if (b->getOp() == glslang::EOpAddAssign && by) return *by;
        if (b->getOp() == glslang::EOpSubAssign && by) return -*by;
        const glslang::TIntermBinary* sum =
            b->getOp() == glslang::EOpAssign ? b->getRight()->getAsBinaryNode() : nullptr;
        if (!sum || (sum->getOp() != glslang::EOpAdd && sum->getOp() != glslang::EOpSub))
            return std::nullopt;
        const glslang::TIntermSymbol* again = variable(sum->getLeft());
        const auto amount = Value(sum->getRight(), bindings);
        if (!again || again->getId() != id || !amount) return std::nullopt;
        return sum->getOp() == glslang::EOpAdd ? *amount : -*amount;
    };
    std::optional<double> step;
    if (loop->getTerminal()) {
        step = stepOf(loop->getTerminal());
        if (!step || Writes(loop->getBody(), id)) return std::nullopt;
    } else {
        const glslang::TIntermAggregate* body =
            loop->getBody() ? loop->getBody()->getAsAggregate() : nullptr;
        if (!body || !IsSequence(body)) return std::nullopt;
        for (const TIntermNode* statement : body->getSequence()) {
            if (!Writes(statement, id)) continue;
            if (step) return std::nullopt;  // stepped twice
            step = stepOf(statement);
            if (!step) return std::nullopt;
        }
        if (!step) return std::nullopt;
    }
    if (Writes(test, id)) return std::nullopt;

    // The start: the last assignment before the loop, in its block or the blocks around it.
    std::function<Found(const TIntermNode*, std::optional<double>&)> last =
        [&](const TIntermNode* statement, std::optional<double>& value) {
            if (IsSequence(statement)) {
                const auto& list = statement->getAsAggregate()->getSequence();
                for (auto s = list.rbegin(); s != list.rend(); ++s) {
                    const Found f = last(*s, value);
                    if (f != Found::Nothing) return f;
                }
                return Found::Nothing;
            }
            const glslang::TIntermBinary* b = statement->getAsBinaryNode();
            if (b && b->getOp() == glslang::EOpAssign && b->getLeft()->getAsSymbolNode() &&
                b->getLeft()->getAsSymbolNode()->getId() == id) {
                value = Value(b->getRight(), bindings);
                return value ? Found::Value : Found::Unknown;
            }
            return Writes(statement, id) ? Found::Unknown : Found::Nothing;
        };
    std::optional<double> start;
    const TIntermNode* child = loop;
    for (std::size_t level = ancestors.size(); level-- > 0 && !start;) {
        const TIntermNode* parent = ancestors[level];
        if (IsSequence(parent)) {
            const auto& list = parent->getAsAggregate()->getSequence();
            std::size_t at = 0;
            while (at < list.size() && list[at] != child) ++at;
            for (std::size_t k = at; k-- > 0;) {
                const Found f = last(list[k], start);
                if (f == Found::Unknown) return std::nullopt;
                if (f == Found::Value) break;
            }
        } else if (parent->getAsLoopNode() && Writes(parent, id)) {
            return std::nullopt;  // the loop runs again from wherever the outer one left it
        } else if (parent->getAsAggregate() &&
                   parent->getAsAggregate()->getOp() == glslang::EOpFunction) {
            const auto bound = bindings.find(id);
            if (bound != bindings.end()) start = bound->second;
            break;
        }
        child = parent;
    }
    if (!start) return std::nullopt;
    return CountIterations(*start, op, *limit, *step, IsIntegral(counter->getType()),
                           !loop->testFirst());
}

bool EntryTree::ReadsParameter(const glslang::TIntermAggregate* function, std::size_t index,
                               const std::vector<int>& path, int depth) const {
    const auto params = ParametersOf(function);
    if (index >= params.size() || !params[index] || depth > 16) return true;
    const long long id = params[index]->getId();
    bool reads = false;
    Walk(function, [&](const TIntermNode* node, const Ancestors& ancestors) {
        const glslang::TIntermSymbol* s = node->getAsSymbolNode();
        if (reads || !s || s->getId() != id || ancestors.empty()) return;
        // Climb the member selections above the use.
        std::vector<int> members;
        const TIntermNode* top = node;
        std::size_t up = ancestors.size();
        while (up > 0) {
            const glslang::TIntermBinary* b = ancestors[up - 1]->getAsBinaryNode();
            if (!b || b->getOp() != glslang::EOpIndexDirectStruct || b->getLeft() != top) break;
            const auto* member = b->getRight()->getAsConstantUnion();
            if (!member) break;
            members.push_back(member->getConstArray()[0].getIConst());
            top = b;
            --up;
        }
        if (up == 0) return;  // the parameter list itself
        for (std::size_t k = 0; k < members.size() && k < path.size(); ++k) {
            if (members[k] != path[k]) return;  // another member
        }
        const TIntermNode* parent = ancestors[up - 1];
        if (const auto* b = parent->getAsBinaryNode();
            b && b->getOp() == glslang::EOpAssign && b->getLeft() == top) {
            return;  // written, not read
        }
        if (parent->getAsAggregate() && parent->getAsAggregate()->getOp() == glslang::EOpParameters)
            return;
        const glslang::TIntermAggregate* call = parent->getAsAggregate();
        if (call && call->getOp() == glslang::EOpFunctionCall && members.size() <= path.size()) {
            const glslang::TIntermAggregate* callee = Definition(call->getName().c_str());
            const auto& args = call->getSequence();
            std::size_t arg = 0;
            while (arg < args.size() && args[arg] != top) ++arg;
            const glslang::TQualifierList& qualifiers = call->getQualifierList();
            if (callee && arg < args.size()) {
                if (arg < qualifiers.size() && qualifiers[arg] == glslang::EvqOut) return;
                const std::vector<int> rest(path.begin() + static_cast<long>(members.size()),
                                            path.end());
                reads = ReadsParameter(callee, arg, rest, depth + 1);
                return;
            }
        }
        reads = true;
    });
    return reads;
}

}  // namespace d3dx
