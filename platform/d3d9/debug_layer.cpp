// The debug layer's checks (see debug_layer.h).
#include "platform/d3d9/debug_layer.h"

#include "platform/core/call_trace.h"

#include "platform/d3d9/resources.h"
#include "platform/d3d9/stage_constants.h"

namespace d3d9 {
namespace {

char RegisterLetter(D3DXREGISTER_SET set) {
    return set == D3DXRS_INT4 ? 'i' : set == D3DXRS_BOOL ? 'b' : 'c';
}

std::string Registers(const d3dx::ConstantVar& c) {
    std::string first = RegisterLetter(c.registerSet) + std::to_string(c.registerIndex);
    if (c.registerCount <= 1) return first;
    return first + " to " + RegisterLetter(c.registerSet) +
           std::to_string(c.registerIndex + c.registerCount - 1);
}

}  // namespace

std::string ProfileName(const d3dx::ShaderReflection& shader) {
    const bool pixel = shader.stage == d3dx::ShaderStage::Pixel;
    std::string minor = std::to_string(shader.versionMinor);
    if (shader.versionMinor == 0xFF) {
        minor = "sw";
    } else if (shader.versionMajor == 2 && shader.versionMinor == 1) {
        minor = "a";
    } else if (shader.versionMajor == 2 && shader.versionMinor == 2) {
        minor = "b";
    }
    return std::string(pixel ? "ps_" : "vs_") + std::to_string(shader.versionMajor) + "_" + minor;
}

std::string SlotEstimateText(const d3dx::ShaderReflection& shader) {
    const d3dx::SlotEstimate& s = shader.slots;
    const std::string profile = ProfileName(shader);
    if (s.shared) {
        return "about " + std::to_string(s.arithmetic + s.texture) + " instruction slots (" +
               std::to_string(s.arithmetic) + " arithmetic, " + std::to_string(s.texture) +
               " texture) of the " + std::to_string(s.arithmeticLimit) + " that " + profile +
               " allows";
    }
    return "about " + std::to_string(s.arithmetic) + " arithmetic and " +
           std::to_string(s.texture) + " texture instruction slots of the " +
           std::to_string(s.arithmeticLimit) + " and " + std::to_string(s.textureLimit) + " that " +
           profile + " allows";
}

DebugLayer::DebugLayer() {
    for (Written* w : {&vertex_, &pixel_}) {
        w->floats.assign(w == &vertex_ ? kVertexFloatRegisters : kPixelFloatRegisters, false);
        w->ints.assign(kIntRegisters, false);
        w->bools.assign(kBoolRegisters, false);
    }
}

void DebugLayer::Say(Finding::Kind kind, const std::string& text) {
    if (said_.insert(text).second) Report({kind, text});
}

void DebugLayer::ShaderCreated(const ShaderResource& shader) {
    if (!shader.Pixel()) vertexShaders_[shader.Name()] = {shader.Description(), false};
    if (!On()) return;
    Say(Finding::Kind::Info, shader.Description() + " " + ProfileName(shader.Info().reflection) +
                                 ": " + SlotEstimateText(shader.Info().reflection));
}

void DebugLayer::ShaderBound(const ShaderResource& shader) {
    if (!shader.Pixel()) vertexShaders_[shader.Name()].second = true;
}

void DebugLayer::ConstantsSet(bool pixel, D3DXREGISTER_SET set, UINT start, UINT count) {
    std::vector<bool>& written = (pixel ? pixel_ : vertex_).Of(set);
    for (UINT r = start; r < start + count && r < written.size(); ++r) written[r] = true;
}

void DebugLayer::CheckShader(const ShaderResource& shader, const DeviceState& state) {
    const d3dx::ShaderReflection& r = shader.Info().reflection;
    Written& written = shader.Pixel() ? pixel_ : vertex_;
    for (const d3dx::ConstantVar& c : r.constants) {
        if (c.parent >= 0 || c.registerSet == D3DXRS_SAMPLER || c.registerCount == 0) continue;
        const std::vector<bool>& set = written.Of(c.registerSet);
        bool any = false;
        for (UINT i = c.registerIndex; i < c.registerIndex + c.registerCount && i < set.size(); ++i)
            any = any || set[i];
        if (!any)
            Say(Finding::Kind::Warning, shader.Description() + " reads constant '" + c.name +
                                            "' (" + Registers(c) +
                                            ") that nothing has set: it reads 0");
    }
    for (const d3dx::SamplerVar& s : r.samplers) {
        const DWORD sampler = shader.Pixel() ? s.reg : D3DVERTEXTEXTURESAMPLER0 + s.reg;
        const int slot = SamplerSlot(sampler);
        if (slot < 0 || state.textures[slot]) continue;
        Say(Finding::Kind::Warning,
            shader.Description() + " samples s" + std::to_string(s.reg) + " ('" + s.name +
                "') with no texture set on " +
                (shader.Pixel() ? "stage " + std::to_string(s.reg)
                                : "vertex texture sampler " + std::to_string(s.reg)) +
                ": it reads (0, 0, 0, 1)");
    }
}

void DebugLayer::Draw(const DeviceState& state, const d3dx::MeshBase& mesh) {
    if (!state.vertexShader) fixedVertexStageDrew_ = true;
    if (!On()) return;
    if (state.vertexShader) CheckShader(*state.vertexShader, state);
    if (!state.pixelShader) return;
    CheckShader(*state.pixelShader, state);
    if (state.vertexShader) return;
    // The fixed-function vertex stage gives TEXCOORDn from the vertex's texture coordinate set
    // n, and zero where the vertex has none.
    unsigned sets = 0;
    for (const D3DVERTEXELEMENT9& e : d3dx::DeclarationOf(mesh.Data())) {
        if (e.Stream != 0xFF && e.Usage == D3DDECLUSAGE_TEXCOORD && e.UsageIndex < 8)
            sets |= 1u << e.UsageIndex;
    }
    for (const d3dx::SemanticVar& in : state.pixelShader->Info().reflection.inputs) {
        if (in.semantic != "TEXCOORD" || in.index >= 8 || (sets >> in.index & 1)) continue;
        const std::string n = std::to_string(in.index);
        Say(Finding::Kind::Warning,
            state.pixelShader->Description() + " reads TEXCOORD" + n +
                ", which the fixed-function vertex stage does not produce for " +
                platform::ObjectName(static_cast<const ID3DXMesh*>(&mesh)) +
                " (its vertices have no texture coordinate set " + n + "): it reads (0, 0, 0, 1)");
    }
}

void DebugLayer::Presented() {
    const bool drew = fixedVertexStageDrew_;
    fixedVertexStageDrew_ = false;
    if (!On() || !drew) return;
    for (const auto& [name, shader] : vertexShaders_) {
        if (!shader.second)
            Say(Finding::Kind::Warning, shader.first +
                                            " was created and never bound: the frame is drawn "
                                            "by the fixed-function vertex stage");
    }
}

}  // namespace d3d9
