// SPIR-V to GLSL 330 for the OpenGL device (see shader_translate.h).
#include "platform/d3dx/hlsl/shader_translate.h"

#include <spirv_cross/spirv_cross_c.h>

#include "platform/d3dx/hlsl/shader_registers.h"
#include "platform/d3dx/hlsl/shader_varyings.h"

namespace d3dx {

bool TranslateToGlsl(std::vector<std::uint32_t> spirv, const GlobalFacts& globals,
                     const ProfileInfo& profile, ShaderReflection& shader, std::string& error) {
    VposAndVfaceAsInputs(spirv);
    const bool pixel = shader.stage == ShaderStage::Pixel;
    shader.glsl.clear();
    shader.texCoordsRead = 0;
    spvc_context context = nullptr;
    if (spvc_context_create(&context) != SPVC_SUCCESS) {
        error = "SPIRV-Cross failed to start";
        return false;
    }
    bool ok = false;
    spvc_parsed_ir ir = nullptr;
    spvc_compiler compiler = nullptr;
    spvc_resources resources = nullptr;
    RegisterReads reads;
    std::vector<StageVariable> stageVariables;
    if (spvc_context_parse_spirv(context, spirv.data(), spirv.size(), &ir) == SPVC_SUCCESS &&
        spvc_context_create_compiler(context, SPVC_BACKEND_GLSL, ir,
                                     SPVC_CAPTURE_MODE_TAKE_OWNERSHIP, &compiler) == SPVC_SUCCESS &&
        spvc_compiler_create_shader_resources(compiler, &resources) == SPVC_SUCCESS) {
        MakeNamesGlslSafe(compiler, spirv);
        stageVariables = NameStageVariables(compiler, resources, shader);
        if (!AssignRegisters(compiler, resources, globals, profile, shader, reads, error)) {
            spvc_context_destroy(context);
            return false;
        }
        spvc_compiler_options options = nullptr;
        spvc_compiler_create_compiler_options(compiler, &options);
        spvc_compiler_options_set_uint(options, SPVC_COMPILER_OPTION_GLSL_VERSION, 330);
        spvc_compiler_options_set_bool(options, SPVC_COMPILER_OPTION_GLSL_ES, SPVC_FALSE);
        spvc_compiler_options_set_bool(
            options, SPVC_COMPILER_OPTION_GLSL_EMIT_UNIFORM_BUFFER_AS_PLAIN_UNIFORMS, SPVC_TRUE);
        spvc_compiler_install_compiler_options(compiler, options);
        const auto members = MemberNames(compiler, reads.blockType);
        const char* source = nullptr;
        if (spvc_compiler_compile(compiler, &source) == SPVC_SUCCESS && source) {
            shader.glsl = source;
            FollowMemberRenames(members, MemberNames(compiler, reads.blockType), reads.loads);
            ok = true;
        }
    }
    if (!ok) error = std::string("SPIRV-Cross: ") + spvc_context_get_last_error_string(context);
    spvc_context_destroy(context);
    if (!ok) return false;
    // Constants: the uniform block becomes a plain global filled from the registers, by a
    // function written above the functions that read it (a GLSL compiler that judges "used
    // uninitialised" by the text's order then sees it filled first), called as main starts.
    if (!reads.blockName.empty() && MakePlain(shader.glsl, reads.blockName, nullptr)) {
        shader.glsl.insert(
            DeclarationEnd(shader.glsl, reads.blockName) + 1,
            reads.declarations + "\nvoid tessLoadGlobals()\n{\n" + reads.loads + "}\n");
        AddToMainStart(shader.glsl, "    tessLoadGlobals();\n");
    }
    ConnectStageVariables(shader.glsl, stageVariables, pixel, profile.major < 3);
    return true;
}

bool ReadTranslatedShader(const DWORD* code, ShaderStage stage, TranslatedShader& out,
                          std::string& error) {
    auto container = UnpackShader(code);
    if (!container || container->stage != stage || container->glsl.empty()) {
        error = "not a compiled shader of this stage";
        return false;
    }
    out.glsl = std::move(container->glsl);
    out.samplers.clear();
    for (const SamplerVar& s : container->glslSamplers)
        out.samplers.push_back({s.name, static_cast<int>(s.reg)});
    out.texCoordsRead = static_cast<int>(container->texCoordsRead);
    out.constants = std::move(container->constants);
    out.floatRegisters = static_cast<int>(container->floatRegisters);
    out.intRegisters = static_cast<int>(container->intRegisters);
    out.boolRegisters = static_cast<int>(container->boolRegisters);
    return true;
}

}  // namespace d3dx
