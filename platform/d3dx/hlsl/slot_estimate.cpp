// The instruction-slot estimate (see hlsl/slot_estimate.h). The code the entry point reaches is
// read into a graph of the values it computes, as the real compiler's optimiser sees it: a value
// computed twice is one value (common subexpressions, also across calls of one function), what
// depends only on constants and on the counter of an unrolled loop is folded, and a value no
// output depends on costs nothing. Each value costs the slots of the Direct3D 9 instructions that
// compiler makes of its operation (sin 8, pow 3, lerp 2, a matrix times a vector one per row ...);
// swizzles, negation, saturate and conversions are modifiers, a multiply feeding an add is one
// mad. An if is flattened: both branches, and a select per variable they change. A loop the
// profile cannot run as a loop, or that samples with gradients in a pixel shader, is unrolled:
// what varies with its counter costs once per iteration; any other loop costs its body once and
// its loop instructions.
#include "platform/d3dx/hlsl/slot_estimate.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <unordered_map>

namespace d3dx {
namespace {

using glslang::TIntermAggregate;
using glslang::TIntermBinary;
using glslang::TIntermTyped;
using glslang::TIntermUnary;
using glslang::TOperator;

bool IsMultiply(const TIntermNode* node) {
    const TIntermBinary* b = node ? node->getAsBinaryNode() : nullptr;
    return b && (b->getOp() == glslang::EOpMul || b->getOp() == glslang::EOpVectorTimesScalar);
}

bool IsAssignment(TOperator op) {
    return op >= glslang::EOpAssign && op <= glslang::EOpRightShiftAssign;
}

bool IsIncrement(TOperator op) {
    return op >= glslang::EOpPostIncrement && op <= glslang::EOpPreDecrement;
}

bool IsGradientSampling(TOperator op) {
    return op == glslang::EOpTexture || op == glslang::EOpTextureProj ||
           op == glslang::EOpTextureBias;
}

int VectorSize(const TIntermNode* node) {
    const TIntermTyped* typed = node ? node->getAsTyped() : nullptr;
    if (!typed) return 1;
    const glslang::TType& t = typed->getType();
    if (t.isMatrix()) return t.getMatrixCols() * t.getMatrixRows();
    return std::max(1, t.getVectorSize());
}

// A literal whose every component is `n`.
bool IsNumber(const TIntermNode* node, double n) {
    const auto* c = node ? node->getAsConstantUnion() : nullptr;
    if (!c) return false;
    const glslang::TConstUnionArray& values = c->getConstArray();
    for (int i = 0; i < values.size(); ++i) {
        const glslang::TConstUnion& v = values[i];
        const double d = v.getType() == glslang::EbtFloat || v.getType() == glslang::EbtDouble
                             ? v.getDConst()
                         : v.getType() == glslang::EbtInt ? v.getIConst()
                                                          : -12345.0;
        if (d != n) return false;
    }
    return values.size() > 0;
}

// The symbol an l-value writes: x in x, x.yz, x[i], x.member.
const glslang::TIntermSymbol* BaseSymbol(const TIntermNode* node) {
    while (node) {
        if (const auto* symbol = node->getAsSymbolNode()) return symbol;
        const TIntermBinary* b = node->getAsBinaryNode();
        if (!b) return nullptr;
        node = b->getLeft();
    }
    return nullptr;
}

// The slots of one operation, as ps_2_0 counts them; `constantDivisor` for a division.
double Cost(TOperator op, const TIntermNode* node, const TIntermNode* first,
            const TIntermNode* second, bool constantDivisor) {
    switch (op) {
        case glslang::EOpAssign:
        case glslang::EOpIndexDirect:
        case glslang::EOpIndexDirectStruct:
        case glslang::EOpIndexIndirect:
        case glslang::EOpVectorSwizzle:
        case glslang::EOpNegative:
        case glslang::EOpComma:
        case glslang::EOpSaturate:
        case glslang::EOpTranspose:
            return 0;
        case glslang::EOpAdd:
        case glslang::EOpSub:
            // A multiply feeding an add is one mad.
            return IsMultiply(first) || IsMultiply(second) ? 0 : 1;
        case glslang::EOpAddAssign:
        case glslang::EOpSubAssign:
            return IsMultiply(second) ? 0 : 1;
        case glslang::EOpDiv:
        case glslang::EOpDivAssign:
            // By a constant: a multiply; else a reciprocal per component and a multiply.
            return constantDivisor ? 1 : VectorSize(node) + 1;
        case glslang::EOpMod:
            return 4;
        case glslang::EOpSin:
        case glslang::EOpCos:
        case glslang::EOpSinCos:
            return 8;
        case glslang::EOpTan:
            return 10;
        case glslang::EOpAsin:
        case glslang::EOpAcos:
        case glslang::EOpAtan:
            return 12;
        case glslang::EOpPow:
        case glslang::EOpNormalize:
        case glslang::EOpLength:
        case glslang::EOpReflect:
        case glslang::EOpRound:
        case glslang::EOpTrunc:
        case glslang::EOpSign:
            return 3;
        case glslang::EOpDistance:
            return 4;
        case glslang::EOpSmoothStep:
            return 6;
        case glslang::EOpExp:
        case glslang::EOpLog:
        case glslang::EOpSqrt:
        case glslang::EOpFloor:
        case glslang::EOpCeil:
        case glslang::EOpMix:
        case glslang::EOpClamp:
        case glslang::EOpCross:
        case glslang::EOpStep:
            return 2;
        case glslang::EOpDot:
            return VectorSize(first) == 2 ? 2 : 1;  // dp2add
        case glslang::EOpMatrixTimesVector:
        case glslang::EOpVectorTimesMatrix:
        case glslang::EOpMatrixTimesMatrix:
        case glslang::EOpVectorTimesMatrixAssign:
            return VectorSize(node);
        case glslang::EOpDeterminant:
            return 10;
        default:
            if (op >= glslang::EOpConstructGuardStart && op <= glslang::EOpConstructGuardEnd)
                return 0;
            if (op >= glslang::EOpConvInt8ToBool && op <= glslang::EOpConvDoubleToFloat) return 0;
            return 1;
    }
}

// Our own intrinsics (hlsl/prelude.cpp) cost what the real compiler's do, not their bodies.
double PreludeCost(const std::string& name) {
    static const std::map<std::string, double> costs = {{"tess_fmod", 4},  {"tess_lit", 4},
                                                        {"tess_ldexp", 2}, {"tess_frexp", 6},
                                                        {"tess_all", 2},   {"tess_any", 2}};
    const auto c = costs.find(name.substr(0, name.find('(')));
    return c == costs.end() ? -1 : c->second;
}

using ValueId = std::uint32_t;  // 0: no value

struct Value {
    double cost = 0;
    bool texture = false;
    bool constant = false;    // folded by the compiler
    std::uint32_t loops = 0;  // the unrolled loops whose counter it varies with
    std::vector<ValueId> inputs;
};

class Estimator {
  public:
    Estimator(const glslang::TIntermediate& intermediate, const ProfileInfo& profile,
              const SourcePassResult& pass)
        : profile_(profile), pass_(pass), values_(1) {
        TIntermNode* root = intermediate.getTreeRoot();
        const TIntermAggregate* top = root ? root->getAsAggregate() : nullptr;
        if (!top) return;
        for (TIntermNode* child : top->getSequence()) {
            const TIntermAggregate* f = child->getAsAggregate();
            if (f && f->getOp() == glslang::EOpFunction) functions_[f->getName().c_str()] = f;
        }
    }

    SlotCounts Entry(const std::string& entry) {
        for (const auto& [name, node] : functions_) {
            if (name.rfind(entry + "(", 0) == 0 && active_.insert(name).second) {
                returns_.emplace_back();
                Eval(node);
                returns_.pop_back();
                active_.erase(name);
            }
        }
        // What the outputs depend on, each value once.
        SlotCounts slots;
        std::vector<bool> reached(values_.size(), false);
        std::vector<ValueId> work = roots_;
        while (!work.empty()) {
            const ValueId v = work.back();
            work.pop_back();
            if (!v || reached[v]) continue;
            reached[v] = true;
            const Value& value = values_[v];
            double factor = 1;
            for (std::size_t k = 0; k < multipliers_.size(); ++k) {
                if (value.loops & (1u << k)) factor *= multipliers_[k];
            }
            (value.texture ? slots.texture : slots.arithmetic) += value.cost * factor;
            work.insert(work.end(), value.inputs.begin(), value.inputs.end());
        }
        return slots;
    }

  private:
    // The value of an operation on inputs: the one already made where it is the same.
    ValueId Make(std::uint64_t op, std::vector<ValueId> inputs, double cost, bool texture = false,
                 bool foldable = true) {
        std::uint64_t key = op * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull;
        Value value;
        value.constant = foldable && !texture;
        for (ValueId input : inputs) {
            key = (key ^ input) * 0x100000001B3ull;
            value.loops |= values_[input].loops;
            value.constant = value.constant && values_[input].constant;
        }
        const auto found = index_.find(key);
        if (found != index_.end()) return found->second;
        value.cost = value.constant ? 0 : cost;
        value.texture = texture;
        value.inputs = std::move(inputs);
        values_.push_back(std::move(value));
        const auto id = static_cast<ValueId>(values_.size() - 1);
        index_[key] = id;
        return id;
    }
    // A value of its own, never the same as another.
    ValueId Fresh(std::vector<ValueId> inputs, double cost = 0) {
        return Make(0xF2E5000000000000ull + ++fresh_, std::move(inputs), cost, false, false);
    }
    static std::uint64_t Op(const char* tag, std::uint64_t n = 0) {
        std::uint64_t h = 0xCBF29CE484222325ull;
        for (const char* c = tag; *c; ++c)
            h = (h ^ static_cast<unsigned char>(*c)) * 0x100000001B3ull;
        return (h ^ n) * 0x100000001B3ull;
    }

    ValueId SymbolValue(const glslang::TIntermSymbol* symbol) {
        const auto found = symbols_.find(symbol->getId());
        if (found != symbols_.end()) return found->second;
        const bool constant = symbol->getQualifier().storage == glslang::EvqConst;
        const ValueId v =
            Make(Op("symbol", static_cast<std::uint64_t>(symbol->getId())), {}, 0, false, constant);
        symbols_[symbol->getId()] = v;
        return v;
    }

    // Writes `value` to the l-value `target` (whole or in part).
    void Store(const TIntermNode* target, ValueId value) {
        const glslang::TIntermSymbol* symbol = BaseSymbol(target);
        if (!symbol) return;
        const ValueId whole = target == symbol ? value : Fresh({SymbolValue(symbol), value});
        symbols_[symbol->getId()] = whole;
        if (symbol->getQualifier().isPipeOutput()) roots_.push_back(whole);
    }

    ValueId Eval(const TIntermNode* node) {
        if (!node) return 0;
        if (const auto* c = node->getAsConstantUnion()) {
            std::uint64_t h = Op("constant");
            const glslang::TConstUnionArray& values = c->getConstArray();
            for (int i = 0; i < values.size(); ++i) {
                const glslang::TConstUnion& v = values[i];
                std::uint64_t bits = 0;
                switch (v.getType()) {
                    case glslang::EbtFloat:
                    case glslang::EbtDouble:
                        bits = std::hash<double>()(v.getDConst());
                        break;
                    case glslang::EbtBool:
                        bits = v.getBConst() ? 1 : 0;
                        break;
                    case glslang::EbtUint:
                        bits = v.getUConst();
                        break;
                    default:
                        bits = static_cast<std::uint64_t>(v.getIConst());
                        break;
                }
                h = (h ^ bits ^ (std::uint64_t{v.getType()} << 56)) * 0x100000001B3ull;
            }
            return Make(h, {}, 0);
        }
        if (const auto* symbol = node->getAsSymbolNode()) return SymbolValue(symbol);
        if (const auto* b = node->getAsBinaryNode()) return Binary(b);
        if (const auto* u = node->getAsUnaryNode()) return Unary(u);
        if (const auto* a = node->getAsAggregate()) return Aggregate(a);
        if (const auto* s = node->getAsSelectionNode()) return Selection(s);
        if (const auto* l = node->getAsLoopNode()) {
            Loop(l);
            return 0;
        }
        if (const auto* br = node->getAsBranchNode()) {
            const ValueId v = Eval(br->getExpression());
            if (br->getFlowOp() == glslang::EOpReturn && v && !returns_.empty())
                returns_.back().push_back(v);
            if (br->getFlowOp() == glslang::EOpKill)  // texkill is a texture instruction
                roots_.push_back(Make(Op("kill", ++fresh_), {}, 1, true));
            return 0;
        }
        if (const auto* sw = node->getAsSwitchNode()) {
            roots_.push_back(Eval(sw->getCondition()));
            Eval(sw->getBody());
        }
        return 0;
    }

    ValueId Binary(const TIntermBinary* b) {
        const TOperator op = b->getOp();
        if (IsAssignment(op)) {
            const ValueId right = Eval(b->getRight());
            ValueId value = right;
            if (op != glslang::EOpAssign) {
                const ValueId old = Eval(b->getLeft());
                value = Make(Op("op", op), {old, right},
                             Cost(op, b, b->getLeft(), b->getRight(), values_[right].constant));
            }
            Store(b->getLeft(), value);
            return value;
        }
        const ValueId left = Eval(b->getLeft()), right = Eval(b->getRight());
        std::vector<ValueId> inputs = {left, right};
        if (op == glslang::EOpAdd || op == glslang::EOpMul) std::sort(inputs.begin(), inputs.end());
        return Make(Op("op", op), inputs,
                    Cost(op, b, b->getLeft(), b->getRight(), values_[right].constant));
    }

    ValueId Unary(const TIntermUnary* u) {
        const TOperator op = u->getOp();
        const ValueId operand = Eval(u->getOperand());
        if (IsIncrement(op)) {
            const ValueId value = Make(Op("op", op), {operand}, 1);
            Store(u->getOperand(), value);
            return value;
        }
        if (op == glslang::EOpClip) {  // texkill is a texture instruction
            const ValueId kill = Make(Op("clip"), {operand}, 1, true);
            roots_.push_back(kill);
            return kill;
        }
        if (op == glslang::EOpSin || op == glslang::EOpCos) {
            // One sincos gives both.
            return Make(Op("op", op), {Make(Op("sincos"), {operand}, 8)}, 0);
        }
        return Make(Op("op", op), {operand}, Cost(op, u, u->getOperand(), nullptr, false));
    }

    ValueId Aggregate(const TIntermAggregate* a) {
        const TOperator op = a->getOp();
        const auto& children = a->getSequence();
        if (op == glslang::EOpSequence || op == glslang::EOpFunction ||
            op == glslang::EOpParameters || op == glslang::EOpLinkerObjects) {
            for (const TIntermNode* child : children) Eval(child);
            return 0;
        }
        if (op == glslang::EOpFunctionCall) return Call(a);
        std::vector<ValueId> inputs;
        for (const TIntermNode* child : children) inputs.push_back(Eval(child));
        if (a->isTexture() || op == glslang::EOpTextureBias)
            return Make(Op("texture", op), inputs, 1, true);
        const TIntermNode* first = children.empty() ? nullptr : children[0];
        const TIntermNode* second = children.size() > 1 ? children[1] : nullptr;
        const bool constantSecond = inputs.size() > 1 && values_[inputs[1]].constant;
        double cost = Cost(op, a, first, second, constantSecond);
        if (op == glslang::EOpClamp && children.size() == 3 && IsNumber(children[1], 0) &&
            IsNumber(children[2], 1))
            cost = 0;  // saturate: a modifier
        const auto* exponent = second ? second->getAsConstantUnion() : nullptr;
        if (op == glslang::EOpPow && exponent &&
            exponent->getType().getBasicType() == glslang::EbtFloat) {
            // A whole exponent is multiplies: x^1 nothing, x^2 one, x^3 and x^4 two.
            const double e = exponent->getConstArray()[0].getDConst();
            cost = e == 1 ? 0 : e == 2 ? 1 : e == 3 || e == 4 ? 2 : cost;
        }
        return Make(Op("op", op), inputs, cost);
    }

    // A call: its parameters bound to the arguments' values, its body read, its out parameters
    // written back.
    ValueId Call(const TIntermAggregate* call) {
        const std::string name = call->getName().c_str();
        const auto& args = call->getSequence();
        std::vector<ValueId> inputs;
        for (const TIntermNode* arg : args) inputs.push_back(Eval(arg));
        const double preludeCost = PreludeCost(name);
        if (preludeCost >= 0) return Make(Op(name.c_str()), inputs, preludeCost);
        const auto callee = functions_.find(name);
        if (callee == functions_.end() || !active_.insert(name).second) return Fresh(inputs);
        const auto& parts = callee->second->getSequence();
        const TIntermAggregate* params = parts.empty() ? nullptr : parts[0]->getAsAggregate();
        std::vector<const glslang::TIntermSymbol*> symbols;
        for (std::size_t i = 0; params && i < params->getSequence().size(); ++i) {
            const auto* p = params->getSequence()[i]->getAsSymbolNode();
            symbols.push_back(p);
            if (p && i < inputs.size()) symbols_[p->getId()] = inputs[i];
        }
        returns_.emplace_back();
        for (std::size_t i = 1; i < parts.size(); ++i) Eval(parts[i]);
        std::vector<ValueId> returned = std::move(returns_.back());
        returns_.pop_back();
        active_.erase(name);
        for (std::size_t i = 0; i < symbols.size() && i < args.size(); ++i) {
            if (symbols[i] && symbols[i]->getQualifier().isParamOutput())
                Store(args[i], SymbolValue(symbols[i]));
        }
        if (returned.size() == 1) return returned[0];
        // Several returns: a select for each after the first.
        return Fresh(returned, returned.empty() ? 0 : static_cast<double>(returned.size() - 1));
    }

    // An if is flattened: both branches, then a select for each variable either changed.
    ValueId Selection(const glslang::TIntermSelection* s) {
        const ValueId condition = Eval(s->getCondition());
        const TIntermTyped* typed = s->getAsTyped();
        if (typed && typed->getBasicType() != glslang::EbtVoid) {
            const ValueId whenTrue = Eval(s->getTrueBlock());
            const ValueId whenFalse = Eval(s->getFalseBlock());
            return Make(Op("select"), {condition, whenTrue, whenFalse}, 1);
        }
        const std::map<long long, ValueId> before = symbols_;
        Eval(s->getTrueBlock());
        const std::map<long long, ValueId> afterTrue = symbols_;
        symbols_ = before;
        Eval(s->getFalseBlock());
        std::set<long long> changed;
        for (const auto& [id, v] : afterTrue) {
            if (!before.count(id) || before.at(id) != v) changed.insert(id);
        }
        for (const auto& [id, v] : symbols_) {
            if (!before.count(id) || before.at(id) != v) changed.insert(id);
        }
        for (long long id : changed) {
            const auto value = [&](const std::map<long long, ValueId>& m) {
                const auto f = m.find(id);
                return f == m.end() ? ValueId{0} : f->second;
            };
            const ValueId merged =
                Make(Op("select"), {condition, value(afterTrue), value(symbols_)}, 1);
            symbols_[id] = merged;
        }
        return 0;
    }

    void Loop(const glslang::TIntermLoop* loop) {
        const auto trips = pass_.loopTrips.find(loop->getLoc().line);
        const bool counted = trips != pass_.loopTrips.end();
        // Profiles without loop instructions unroll every loop; others unroll one that asks for
        // it, or that samples with gradients in a pixel shader.
        const bool noLoops = profile_.LoopsUnrolled() || (!profile_.pixel && profile_.major < 2);
        const bool unrolled =
            counted && (noLoops || loop->getUnroll() ||
                        (profile_.pixel && !loop->getDontUnroll() && SamplesWithGradients(loop)));
        const std::size_t k = std::min<std::size_t>(multipliers_.size(), 31);
        if (k == multipliers_.size()) multipliers_.push_back(1);
        if (unrolled) multipliers_[k] = std::max(multipliers_[k], double(trips->second));
        const std::uint32_t bit = 1u << k;
        // What the loop changes varies from one iteration to the next.
        std::set<long long> changed;
        Written(loop->getTest(), changed);
        Written(loop->getBody(), changed);
        Written(loop->getTerminal(), changed);
        std::map<long long, ValueId> entering;
        for (long long id : changed) {
            const auto f = symbols_.find(id);
            entering[id] = f == symbols_.end() ? 0 : f->second;
            const ValueId varying = Fresh({entering[id]});
            values_[varying].loops |= bit;
            symbols_[id] = varying;
        }
        const long long counter = CounterOf(loop);
        if (unrolled && counter >= 0) {
            const ValueId c = Make(Op("counter", static_cast<std::uint64_t>(counter) + k), {}, 0);
            values_[c].loops |= bit;
            symbols_[counter] = c;
        }
        if (!unrolled) {
            roots_.push_back(Fresh({Eval(loop->getTest())}, 2));  // loop and endloop
            Eval(loop->getBody());
            Eval(loop->getTerminal());
        } else {
            Eval(loop->getBody());
        }
        for (long long id : changed) {
            const ValueId left = Fresh({entering[id], symbols_[id]});
            values_[left].loops = values_[entering[id]].loops;
            symbols_[id] = left;
        }
    }

    // The symbols a subtree writes.
    void Written(const TIntermNode* node, std::set<long long>& out) const {
        if (!node) return;
        if (const auto* b = node->getAsBinaryNode()) {
            if (IsAssignment(b->getOp())) {
                if (const auto* s = BaseSymbol(b->getLeft())) out.insert(s->getId());
            }
            Written(b->getLeft(), out);
            Written(b->getRight(), out);
        } else if (const auto* u = node->getAsUnaryNode()) {
            if (IsIncrement(u->getOp())) {
                if (const auto* s = BaseSymbol(u->getOperand())) out.insert(s->getId());
            }
            Written(u->getOperand(), out);
        } else if (const auto* a = node->getAsAggregate()) {
            const auto& args = a->getSequence();
            for (std::size_t i = 0; i < args.size(); ++i) {
                if (a->getOp() == glslang::EOpFunctionCall && OutParameter(a, i)) {
                    if (const auto* s = BaseSymbol(args[i])) out.insert(s->getId());
                }
                Written(args[i], out);
            }
        } else if (const auto* s = node->getAsSelectionNode()) {
            Written(s->getCondition(), out);
            Written(s->getTrueBlock(), out);
            Written(s->getFalseBlock(), out);
        } else if (const auto* l = node->getAsLoopNode()) {
            Written(l->getTest(), out);
            Written(l->getBody(), out);
            Written(l->getTerminal(), out);
        } else if (const auto* br = node->getAsBranchNode()) {
            Written(br->getExpression(), out);
        }
    }

    // Whether a call's argument i is an out or inout parameter (an unknown callee's may be).
    bool OutParameter(const TIntermAggregate* call, std::size_t i) const {
        const auto callee = functions_.find(call->getName().c_str());
        if (callee == functions_.end()) return true;
        const auto& parts = callee->second->getSequence();
        const TIntermAggregate* params = parts.empty() ? nullptr : parts[0]->getAsAggregate();
        if (!params || i >= params->getSequence().size()) return true;
        const auto* p = params->getSequence()[i]->getAsSymbolNode();
        return !p || p->getQualifier().isParamOutput();
    }

    // The symbol a loop's step changes (i++, i += 2), or -1.
    static long long CounterOf(const glslang::TIntermLoop* loop) {
        const TIntermTyped* step = loop->getTerminal();
        const TIntermNode* target = nullptr;
        if (const TIntermUnary* u = step ? step->getAsUnaryNode() : nullptr) {
            target = u->getOperand();
        } else if (const TIntermBinary* b = step ? step->getAsBinaryNode() : nullptr) {
            target = b->getLeft();
        }
        const auto* symbol = target ? target->getAsSymbolNode() : nullptr;
        return symbol ? symbol->getId() : -1;
    }

    bool SamplesWithGradients(const TIntermNode* node) {
        if (!node) return false;
        if (const auto* a = node->getAsAggregate()) {
            if (IsGradientSampling(a->getOp())) return true;
            if (a->getOp() == glslang::EOpFunctionCall) {
                const std::string name = a->getName().c_str();
                const auto callee = functions_.find(name);
                if (callee != functions_.end() && active_.insert(name).second) {
                    const bool samples = SamplesWithGradients(callee->second);
                    active_.erase(name);
                    if (samples) return true;
                }
            }
            for (const TIntermNode* child : a->getSequence()) {
                if (SamplesWithGradients(child)) return true;
            }
            return false;
        }
        if (const auto* b = node->getAsBinaryNode())
            return SamplesWithGradients(b->getLeft()) || SamplesWithGradients(b->getRight());
        if (const auto* u = node->getAsUnaryNode()) return SamplesWithGradients(u->getOperand());
        if (const auto* s = node->getAsSelectionNode()) {
            return SamplesWithGradients(s->getCondition()) ||
                   SamplesWithGradients(s->getTrueBlock()) ||
                   SamplesWithGradients(s->getFalseBlock());
        }
        if (const auto* l = node->getAsLoopNode())
            return SamplesWithGradients(l->getTest()) || SamplesWithGradients(l->getBody());
        if (const auto* br = node->getAsBranchNode())
            return SamplesWithGradients(br->getExpression());
        return false;
    }

    const ProfileInfo& profile_;
    const SourcePassResult& pass_;
    std::map<std::string, const TIntermAggregate*> functions_;
    std::set<std::string> active_;  // the call chain, against recursion
    std::vector<Value> values_;
    std::unordered_map<std::uint64_t, ValueId> index_;
    std::map<long long, ValueId> symbols_;       // each variable's value now
    std::vector<std::vector<ValueId>> returns_;  // of each call being read
    std::vector<ValueId> roots_;                 // what the outputs and discards depend on
    std::vector<double> multipliers_;            // each loop's iterations where unrolled, else 1
    std::uint64_t fresh_ = 0;
};

std::string Rounded(double v) {
    return std::to_string(std::llround(v));
}

}  // namespace

SlotLimits LimitsOf(const ProfileInfo& p) {
    if (p.major >= 3 || p.minor == 0xFF) return {512, 512, true};
    if (p.pixel) return p.minor == 0 ? SlotLimits{64, 32, false} : SlotLimits{512, 512, true};
    return p.major == 1 ? SlotLimits{128, 0, true} : SlotLimits{256, 0, true};
}

// Measured on the shaders of shared/hlsl-world, each compiled with its own profile by the real
// compiler: the largest estimate was 1.06 times its limit (a ps_2_0 shader the real compiler fits
// in 64 slots, estimated at 68), most are far below. 1.25 leaves room for the estimate's error on
// code unlike the corpus; the one entry beyond it (11 times) is one the real compiler refuses too.
// The same model counts every profile, so one margin serves them all.
double SlotMargin(const ProfileInfo& /*profile*/) {
    return 1.25;
}

SlotCounts EstimateSlots(const glslang::TIntermediate& intermediate, const std::string& entry,
                         const ProfileInfo& profile, const SourcePassResult& pass) {
    return Estimator(intermediate, profile, pass).Entry(entry);
}

std::vector<Diagnostic> CheckSlots(const glslang::TIntermediate& intermediate,
                                   const std::string& entry, const ProfileInfo& profile,
                                   const SourcePassResult& pass, SlotEstimate* report) {
    const SlotCounts slots = EstimateSlots(intermediate, entry, profile, pass);
    const SlotLimits limits = LimitsOf(profile);
    if (report) {
        const auto whole = [](double v) {
            return static_cast<std::uint32_t>(std::clamp(std::llround(v), 0ll, 0xFFFFFFFFll));
        };
        *report = {whole(slots.arithmetic), whole(slots.texture),
                   static_cast<std::uint32_t>(limits.arithmetic),
                   static_cast<std::uint32_t>(limits.texture), limits.shared};
    }
    const double margin = SlotMargin(profile);
    const int line = pass.entryLine ? pass.entryLine : 1;
    std::vector<Diagnostic> out;
    // Over the limit: a warning within the margin, the real compiler's error beyond it.
    const auto check = [&](double estimate, int limit, const char* kind, bool certain) {
        if (estimate <= limit) return;
        if (certain || estimate > limit * margin) {
            out.push_back({line, 1,
                           std::string("Compiled shader code uses too many ") + kind +
                               "instruction slots (" + Rounded(estimate) +
                               "). Max. allowed by the target (" + profile.name + ") is " +
                               std::to_string(limit) + ".",
                           true});
        } else {
            out.push_back({line, 1,
                           "the shader needs about " + Rounded(estimate) + " " + kind +
                               "instruction slots, more than the " + std::to_string(limit) +
                               " of " + profile.name,
                           false});
        }
    };
    if (limits.shared) {
        check(slots.arithmetic + slots.texture, limits.arithmetic, "", false);
    } else {
        check(slots.arithmetic, limits.arithmetic, "arithmetic ", false);
        // Once loops are unrolled every sampling is its own texture instruction: certain.
        check(slots.texture, limits.texture, "texture ", true);
    }
    return out;
}

}  // namespace d3dx
