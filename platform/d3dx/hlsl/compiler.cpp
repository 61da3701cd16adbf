// The HLSL compiler: glslang's preprocessor, our source pass (hlsl/source_pass.h), glslang's
// HLSL front end in its DirectX 9 compatibility mode (sampler2D, tex2D, COLOR0 outputs) with
// legalisation and the semantic strings kept as decorations, our checks of what it made
// (hlsl/checks.cpp), and the translation to GLSL with the constants' registers
// (shader_translate.h). It produces our code container. This runs in the compile worker
// (compile_worker.cpp), a process of its own, never in the harness itself.
#define ENABLE_HLSL 1
#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>
#include <glslang/SPIRV/GlslangToSpv.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <mutex>

#include "platform/core/digest.h"
#include "platform/d3dx/hlsl/checks.h"
#include "platform/d3dx/hlsl/compiler.h"
#include "platform/d3dx/hlsl/constant_uses.h"
#include "platform/d3dx/hlsl/effect_declarations.h"
#include "platform/d3dx/hlsl/preprocess.h"
#include "platform/d3dx/hlsl/shader_translate.h"
#include "platform/d3dx/hlsl/slot_estimate.h"
#include "platform/d3dx/hlsl/tree_passes.h"

namespace d3dx {
namespace {

struct Profile {
    const char* name;
    EShLanguage language;
    ShaderStage stage;
    std::uint32_t major, minor;
};

constexpr Profile kProfiles[] = {
    {"vs_1_1", EShLangVertex, ShaderStage::Vertex, 1, 1},
    {"vs_2_0", EShLangVertex, ShaderStage::Vertex, 2, 0},
    {"vs_2_a", EShLangVertex, ShaderStage::Vertex, 2, 1},
    {"vs_2_sw", EShLangVertex, ShaderStage::Vertex, 2, 0xFF},
    {"vs_3_0", EShLangVertex, ShaderStage::Vertex, 3, 0},
    {"ps_2_0", EShLangFragment, ShaderStage::Pixel, 2, 0},
    {"ps_2_a", EShLangFragment, ShaderStage::Pixel, 2, 1},
    {"ps_2_b", EShLangFragment, ShaderStage::Pixel, 2, 2},
    {"ps_2_sw", EShLangFragment, ShaderStage::Pixel, 2, 0xFF},
    {"ps_3_0", EShLangFragment, ShaderStage::Pixel, 3, 0},
};

// "vs_1_1, vs_2_0, ... and ps_3_0", for messages.
std::string ProfileList() {
    std::string list;
    for (const Profile& p : kProfiles) {
        if (!list.empty()) list += &p == std::end(kProfiles) - 1 ? " and " : ", ";
        list += p.name;
    }
    return list;
}

constexpr auto kMessages =
    static_cast<EShMessages>(EShMsgReadHlsl | EShMsgHlslDX9Compatible | EShMsgSpvRules |
                             EShMsgHlslLegalization | EShMsgEnhanced);

void SetUp(glslang::TShader& shader, EShLanguage language, const CompileRequest& request) {
    shader.setEntryPoint(request.entry.c_str());
    shader.setSourceEntryPoint(request.entry.c_str());
    shader.setEnvInput(glslang::EShSourceHlsl, language, glslang::EShClientOpenGL, 100);
    shader.setEnvClient(glslang::EShClientOpenGL, glslang::EShTargetOpenGL_450);
    shader.setEnvTarget(glslang::EShTargetSpv, glslang::EShTargetSpv_1_0);
    // Keeps each stage variable's semantic as a HlslSemanticGOOGLE decoration.
    shader.setEnvTargetHlslFunctionality1();
    shader.setAutoMapLocations(true);
}

// The source with the defines and the preprocessor's work done: `text`, the flat text the
// compiler reads, whose lines `lines` maps to files and lines, and `listing`, the text with its
// #line directives, for D3DXPreprocessShader. A source without directives and defines is taken as
// it is, so that messages keep its columns.
bool Preprocess(const CompileRequest& request, EShLanguage language, const IncludeOpener& open,
                SourceLines& lines, std::string& text, std::string& listing, std::string& errors) {
    if (request.defines.empty() && request.source.find('#') == std::string::npos) {
        text = listing = request.source;
        return true;
    }
    std::string preamble;
    for (const auto& [name, value] : request.defines)
        preamble += "#define " + name + " " + value + "\n";
    glslang::TShader shader(language);
    const char* source = request.source.c_str();
    const int length = static_cast<int>(request.source.size());
    // Files go by tokens in glslang's directives and log; `lines` knows their names.
    const std::string token = FileToken(0);
    const char* name = token.c_str();
    shader.setStringsWithLengthsAndNames(&source, &length, &name, 1);
    shader.setPreamble(preamble.c_str());
    SetUp(shader, language, request);
    AskingIncluder includer(open, lines);
    std::string output;
    if (shader.preprocess(GetDefaultResources(), 100, ENoProfile, false, false, kMessages, &output,
                          includer)) {
        lines.Read(output, text, listing);
        return true;
    }
    errors = lines.FormatPreprocessorLog(shader.getInfoLog());
    if (errors.empty()) errors = lines.Format({{1, 1, "the preprocessor failed", true}});
    return false;
}

bool HasError(const std::vector<Diagnostic>& diagnostics) {
    for (const Diagnostic& d : diagnostics) {
        if (d.error) return true;
    }
    return false;
}

// The constant table names the entry point's uniform parameters "$name", as the real compiler
// does; glslang made them constants after the globals, under their own names.
void NameUniformParameters(const std::vector<std::string>& parameters, ShaderReflection& shader) {
    for (ConstantVar& c : shader.constants) {
        if (c.parent < 0 &&
            std::find(parameters.begin(), parameters.end(), c.name) != parameters.end())
            c.name = "$" + c.name;
    }
}

}  // namespace

// glslang builds its tables of built-in functions once per process and stage; compiling two
// small shaders of our own here builds them.
void WarmCompiler(Stages stages) {
    static std::once_flag vertex, pixel;
    CompileRequest request;
    request.fileName = "warm-up";
    request.entry = "main";
    if (stages != Stages::Pixel) {
        std::call_once(vertex, [&] {
            request.profile = "vs_2_0";
            request.source = "float4 main(float4 p : POSITION) : POSITION { return p; }";
            CompileHlsl(request);
        });
    }
    if (stages != Stages::Vertex) {
        std::call_once(pixel, [&] {
            request.profile = "ps_2_0";
            request.source =
                "sampler2D s; float4 main(float2 t : TEXCOORD0) : COLOR0 { return tex2D(s, t); }";
            CompileHlsl(request);
        });
    }
}

CompileResult CompileHlsl(const CompileRequest& request, const IncludeOpener& open) {
    CompileResult result;
    const Profile* profile = nullptr;
    for (const Profile& p : kProfiles) {
        if (request.profile == p.name) profile = &p;
    }
    SourceLines lines(request.fileName);
    std::string text, listing;
    glslang::InitializeProcess();
    if (request.preprocessOnly) {
        // Preprocessing alone reads no profile; the pixel stage's is as good as any.
        result.ok = Preprocess(request, profile ? profile->language : EShLangFragment, open, lines,
                               text, listing, result.errors);
        if (result.ok) result.text = listing;
        return result;
    }
    if (!profile) {
        result.errors = request.fileName + "(1,1): error: unsupported profile '" + request.profile +
                        "' (these are " + ProfileList() + ")\n";
        return result;
    }
    ProfileInfo info;
    info.pixel = profile->stage == ShaderStage::Pixel;
    info.major = profile->major;
    info.minor = profile->minor;
    info.name = profile->name;

    if (!Preprocess(request, profile->language, open, lines, text, listing, result.errors))
        return result;
    std::vector<Diagnostic> diagnostics;
    EffectPassResult effects = RemoveEffectDeclarations(text, info);
    if (HasError(effects.problems)) {
        result.errors = lines.Format(effects.problems);
        return result;
    }
    SourcePassResult pass = RunSourcePass(effects.source, request.entry, info);
    diagnostics = pass.problems;
    const int entryLine = pass.entryLine ? pass.entryLine : 1;
    if (HasError(diagnostics)) {
        result.errors = lines.Format(diagnostics);
        return result;
    }
    const std::string full = PreludeFor(pass.source) + pass.source;
    const char* source = full.c_str();
    const int length = static_cast<int>(full.size());
    const char* name = request.fileName.c_str();
    glslang::TShader shader(profile->language);
    shader.setStringsWithLengthsAndNames(&source, &length, &name, 1);
    SetUp(shader, profile->language, request);
    const bool parsed = shader.parse(GetDefaultResources(), 100, false, kMessages);
    const auto add = [&](const std::vector<Diagnostic>& more) {
        diagnostics.insert(diagnostics.end(), more.begin(), more.end());
    };
    std::vector<Diagnostic> parseLog = ReadGlslangLog(shader.getInfoLog(), entryLine);
    PlaceAtNamedTokens(parseLog, pass.source);
    add(parseLog);
    if (parsed && shader.getIntermediate()->getNumEntryPoints() == 0) {
        diagnostics.push_back({1, 1, "entry point '" + request.entry + "' not found", true});
    }
    glslang::TProgram program;
    GlobalFacts globals{pass.globals, effects.samplerTypes, {}, {}};
    SlotEstimate slots;
    if (parsed && !HasError(diagnostics)) {
        add(RunTreePasses(*shader.getIntermediate(), info, request.entry, pass));
        add(CheckProgram(*shader.getIntermediate(), info, request.entry, pass));
        add(CheckSlots(*shader.getIntermediate(), request.entry, info, pass, &slots));
        ReadConstantUses(*shader.getIntermediate(), request.entry, globals);
        program.addShader(&shader);
        if (!program.link(kMessages)) {
            add(ReadGlslangLog(program.getInfoLog(), entryLine));
            if (!HasError(diagnostics))
                diagnostics.push_back({entryLine, 1, "the shader does not link", true});
        }
    } else if (!HasError(diagnostics)) {
        diagnostics.push_back({1, 1, "the shader does not compile", true});
    }
    if (!HasError(diagnostics)) {
        ShaderReflection reflection;
        reflection.stage = profile->stage;
        reflection.versionMajor = profile->major;
        reflection.versionMinor = profile->minor;
        reflection.entry = request.entry;
        reflection.sourceName = request.fileName;
        reflection.sourceDigest = platform::Digest64(request.source.data(), request.source.size());
        reflection.slots = slots;
        glslang::SpvOptions options;
        std::vector<std::uint32_t> spirv;
        glslang::GlslangToSpv(*program.getIntermediate(profile->language), spirv, &options);
        std::vector<std::string> withoutSemantic;
        std::string why;
        if (!ReflectSpirvInterface(spirv, reflection, &withoutSemantic)) {
            diagnostics.push_back({1, 1, "the compiler produced invalid code", true});
        } else {
            add(CheckInterface(reflection, withoutSemantic, info, request.entry, entryLine));
            if (!HasError(diagnostics) && !TranslateToGlsl(spirv, globals, info, reflection, why)) {
                diagnostics.push_back({entryLine, 1, why, true});
            }
        }
        if (!HasError(diagnostics)) {
            NameUniformParameters(pass.uniformParameters, reflection);
            result.code = PackShader(reflection);
            result.ok = true;
        }
    }
    result.errors = lines.Format(diagnostics);
    return result;
}

}  // namespace d3dx
