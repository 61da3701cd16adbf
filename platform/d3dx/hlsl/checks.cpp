// Checks of the parsed shader and its interface (see hlsl/checks.h).
#include "platform/d3dx/hlsl/checks.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace d3dx {
namespace {

using ::TIntermNode;
using glslang::TOperator;

std::string SamplerName(const glslang::TIntermAggregate* node) {
    const auto& args = node->getSequence();
    std::string dim = "2D";
    if (!args.empty() && args[0]->getAsTyped()) {
        const glslang::TType& type = args[0]->getAsTyped()->getType();
        if (type.getBasicType() == glslang::EbtSampler) {
            switch (type.getSampler().dim) {
                case glslang::Esd1D:
                    dim = "1D";
                    break;
                case glslang::Esd3D:
                    dim = "3D";
                    break;
                case glslang::EsdCube:
                    dim = "CUBE";
                    break;
                default:
                    break;
            }
        }
    }
    return "tex" + dim;
}

class Checker {
  public:
    Checker(const glslang::TIntermediate& intermediate, const ProfileInfo& profile)
        : profile_(profile) {
        TIntermNode* root = intermediate.getTreeRoot();
        const glslang::TIntermAggregate* top = root ? root->getAsAggregate() : nullptr;
        if (!top) return;
        for (TIntermNode* child : top->getSequence()) {
            const glslang::TIntermAggregate* f = child->getAsAggregate();
            if (f && f->getOp() == glslang::EOpFunction) functions_[f->getName().c_str()] = f;
        }
    }

    void Entry(const std::string& entry) {
        for (const auto& [name, node] : functions_) {
            if (name.rfind(entry + "(", 0) == 0) Visit(node, 1.0);
        }
    }

    std::vector<Diagnostic> diagnostics;

  private:
    void Error(const TIntermNode* node, const std::string& text) {
        const int line = node->getLoc().line, column = std::max(1, node->getLoc().column);
        if (reported_.insert({line, text}).second)
            diagnostics.push_back({line, column, text, true});
    }

    void Texture(const glslang::TIntermAggregate* node) {
        const TOperator op = node->getOp();
        const bool lod = op == glslang::EOpTextureLod || op == glslang::EOpTextureProjLod;
        const bool grad = op == glslang::EOpTextureGrad || op == glslang::EOpTextureProjGrad;
        const bool proj = op == glslang::EOpTextureProj;
        const std::string name = SamplerName(node) + (lod    ? "lod"
                                                      : grad ? "grad"
                                                      : proj ? "proj"
                                                             : "");
        if (!profile_.pixel) {
            if (profile_.major < 3) {
                Error(node, "texture sampling ('" + name + "') is not available in " +
                                profile_.name +
                                ": vertex shaders sample textures only in vs_3_0, with tex2Dlod");
            } else if (!lod) {
                Error(node, "'" + name +
                                "' needs the pixel stage's derivatives: vertex shaders sample "
                                "with an explicit level of detail (tex2Dlod)");
            }
        } else if (profile_.major < 3 && profile_.minor != 0xFF) {
            if (lod) {
                Error(node, "'" + name + "' (sampling at an explicit level of detail) needs " +
                                "ps_3_0; it is not available in " + profile_.name);
            } else if (grad && profile_.minor != 1) {
                Error(node, "'" + name +
                                "' (sampling with explicit derivatives) needs ps_2_a "
                                "or ps_3_0; it is not available in " +
                                profile_.name);
            }
        }
    }

    void Visit(const TIntermNode* node, double factor) {
        if (!node) return;
        if (const auto* a = node->getAsAggregate()) {
            const TOperator op = a->getOp();
            if (op == glslang::EOpFunctionCall) {
                const auto callee = functions_.find(a->getName().c_str());
                if (callee != functions_.end() && active_.insert(callee->first).second) {
                    Visit(callee->second, factor);
                    active_.erase(callee->first);
                }
            } else if (a->isTexture() || op == glslang::EOpTextureBias) {
                Texture(a);
            }
            for (const TIntermNode* child : a->getSequence()) Visit(child, factor);
            return;
        }
        if (const auto* b = node->getAsBinaryNode()) {
            Visit(b->getLeft(), factor);
            Visit(b->getRight(), factor);
            return;
        }
        if (const auto* u = node->getAsUnaryNode()) {
            const TOperator op = u->getOp();
            const bool derivative = op == glslang::EOpDPdx || op == glslang::EOpDPdy ||
                                    op == glslang::EOpFwidth || op == glslang::EOpDPdxFine ||
                                    op == glslang::EOpDPdyFine || op == glslang::EOpDPdxCoarse ||
                                    op == glslang::EOpDPdyCoarse;
            if (derivative && profile_.pixel && profile_.major < 3 &&
                (profile_.minor == 0 || profile_.minor == 2)) {
                const char* name = op == glslang::EOpFwidth ? "fwidth"
                                   : (op == glslang::EOpDPdx || op == glslang::EOpDPdxFine ||
                                      op == glslang::EOpDPdxCoarse)
                                       ? "ddx"
                                       : "ddy";
                Error(u, std::string("'") + name + "' (screen-space derivatives) needs ps_2_a or " +
                             "ps_3_0; it is not available in " + profile_.name);
            }
            Visit(u->getOperand(), factor);
            return;
        }
        if (const auto* s = node->getAsSelectionNode()) {
            Visit(s->getCondition(), factor);
            Visit(s->getTrueBlock(), factor);
            Visit(s->getFalseBlock(), factor);
            return;
        }
        if (const auto* l = node->getAsLoopNode()) {
            Visit(l->getTest(), factor);
            Visit(l->getBody(), factor);
            Visit(l->getTerminal(), factor);
            return;
        }
        if (const auto* br = node->getAsBranchNode()) {
            Visit(br->getExpression(), factor);
            return;
        }
        if (const auto* sw = node->getAsSwitchNode()) {
            Visit(sw->getCondition(), factor);
            Visit(sw->getBody(), factor);
        }
    }

    const ProfileInfo& profile_;
    std::map<std::string, const glslang::TIntermAggregate*> functions_;
    std::set<std::string> active_;  // the call chain, against recursion
    std::set<std::pair<int, std::string>> reported_;
};

}  // namespace

std::vector<Diagnostic> CheckProgram(const glslang::TIntermediate& intermediate,
                                     const ProfileInfo& profile, const std::string& entry,
                                     const SourcePassResult& /*pass*/) {
    Checker checker(intermediate, profile);
    checker.Entry(entry);
    return std::move(checker.diagnostics);
}

std::vector<Diagnostic> CheckInterface(const ShaderReflection& shader,
                                       const std::vector<std::string>& withoutSemantic,
                                       const ProfileInfo& profile, const std::string& entry,
                                       int entryLine) {
    std::vector<Diagnostic> out;
    for (const std::string& variable : withoutSemantic) {
        const std::size_t space = variable.find(' ');
        const std::string direction = variable.substr(0, space), name = variable.substr(space + 1);
        const bool isReturn = name.find("@entryPointOutput") != std::string::npos;
        out.push_back({entryLine, 1,
                       isReturn
                           ? "'" + entry + "': function return value missing semantics"
                           : "'" + entry + "': " + direction + " '" + name + "' has no semantic",
                       true});
    }
    const auto refuse = [&](const SemanticVar& v, bool input) {
        out.push_back({entryLine, 1,
                       "invalid " + profile.name + (input ? " input" : " output") + " semantic '" +
                           v.semantic + std::to_string(v.index) + "'",
                       true});
    };
    // What the profiles' registers hold: before shader model 3, vertex outputs and pixel inputs
    // are the fixed set of colours and texture coordinates; pixel outputs are COLOR0-3 and
    // DEPTH everywhere.
    const bool before3 = profile.major < 3;
    for (const SemanticVar& v : shader.outputs) {
        const std::string& s = v.semantic;
        if (profile.pixel) {
            if (!((s == "COLOR" && v.index < 4) || (s == "DEPTH" && v.index == 0)))
                refuse(v, false);
        } else if (before3 &&
                   !((s == "POSITION" && v.index == 0) || (s == "COLOR" && v.index < 2) ||
                     (s == "TEXCOORD" && v.index < 8) || s == "PSIZE" || s == "FOG")) {
            refuse(v, false);
        }
    }
    if (!profile.pixel) return out;
    for (const SemanticVar& v : shader.inputs) {
        const std::string& s = v.semantic;
        if (before3 && !((s == "COLOR" && v.index < 2) || (s == "TEXCOORD" && v.index < 8) ||
                         s == "POSITION" || s == "VPOS" || s == "VFACE"))
            refuse(v, true);
        if ((v.semantic == "VPOS" || v.semantic == "VFACE") && profile.major < 3) {
            out.push_back({entryLine, 1,
                           "the " + v.semantic + " input needs ps_3_0; it is not available in " +
                               profile.name,
                           true});
        }
    }
    return out;
}

}  // namespace d3dx
