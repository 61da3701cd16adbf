// The HLSL compiler: glslang's HLSL front end in its DirectX 9 compatibility mode (sampler2D,
// tex2D, COLOR0 outputs), with legalisation and the semantic strings kept as decorations. It
// produces SPIR-V and the reflection of our code container. This runs in the compile child
// process (compile_process.cpp), never in the harness itself.
#define ENABLE_HLSL 1
#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>
#include <glslang/SPIRV/GlslangToSpv.h>

#include <cstring>
#include <mutex>
#include <sstream>

#include "platform/d3dx/hlsl_compiler.h"

namespace d3dx {
namespace {

// GL type enumerants that glslang's reflection reports.
constexpr int kGlFloat = 0x1406, kGlInt = 0x1404, kGlBool = 0x8B56;
constexpr int kGlVec2 = 0x8B50, kGlVec3 = 0x8B51, kGlVec4 = 0x8B52;
constexpr int kGlMat2 = 0x8B5A, kGlMat3 = 0x8B5B, kGlMat4 = 0x8B5C;
constexpr int kGlSampler1D = 0x8B5D, kGlSampler2D = 0x8B5E, kGlSampler3D = 0x8B5F,
              kGlSamplerCube = 0x8B60;

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

// "ERROR: file:12: 'x' : message" (with "(12): error at column 7" after it) becomes
// "file(12,7): error: 'x' : message".
std::string FormatLog(const std::string& log, const std::string& file) {
    std::istringstream in(log);
    std::string line, out;
    std::vector<std::string> pending;
    std::vector<int> lines;
    int column = 0;
    while (std::getline(in, line)) {
        const bool error = line.rfind("ERROR: ", 0) == 0;
        const bool warning = line.rfind("WARNING: ", 0) == 0;
        const std::size_t at = line.find("error at column ");
        if (at != std::string::npos) {
            column = std::atoi(line.c_str() + at + 16);
            continue;
        }
        if (!error && !warning) continue;
        std::string rest = line.substr(error ? 7 : 9);
        const std::string prefix = file + ":";
        int number = 1;
        if (rest.rfind(prefix, 0) == 0) {
            rest = rest.substr(prefix.size());
            number = std::atoi(rest.c_str());
            const std::size_t colon = rest.find(':');
            rest = colon == std::string::npos ? rest : rest.substr(colon + 1);
            while (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
        } else if (rest.find("compilation errors") != std::string::npos ||
                   rest.find("Linking") != std::string::npos) {
            continue;
        }
        while (!rest.empty() && rest.back() == ' ') rest.pop_back();
        pending.push_back(std::string(error ? "error: " : "warning: ") + rest);
        lines.push_back(number);
    }
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const int col = (i == 0 && column > 0) ? column : 1;
        out += file + "(" + std::to_string(lines[i]) + "," + std::to_string(col) +
               "): " + pending[i] + "\n";
    }
    return out;
}

void ClassifyConstant(int glType, ConstantVar& c) {
    c.parameterClass = D3DXPC_VECTOR;
    c.type = D3DXPT_FLOAT;
    c.rows = 1;
    switch (glType) {
        case kGlFloat:
            c.parameterClass = D3DXPC_SCALAR;
            c.columns = 1;
            break;
        case kGlInt:
            c.parameterClass = D3DXPC_SCALAR;
            c.type = D3DXPT_INT;
            c.columns = 1;
            break;
        case kGlBool:
            c.parameterClass = D3DXPC_SCALAR;
            c.type = D3DXPT_BOOL;
            c.columns = 1;
            break;
        case kGlVec2:
            c.columns = 2;
            break;
        case kGlVec3:
            c.columns = 3;
            break;
        case kGlVec4:
            c.columns = 4;
            break;
        case kGlMat2:
            c.parameterClass = D3DXPC_MATRIX_COLUMNS;
            c.rows = c.columns = 2;
            break;
        case kGlMat3:
            c.parameterClass = D3DXPC_MATRIX_COLUMNS;
            c.rows = c.columns = 3;
            break;
        case kGlMat4:
            c.parameterClass = D3DXPC_MATRIX_COLUMNS;
            c.rows = c.columns = 4;
            break;
        default:
            c.columns = 4;
            break;
    }
}

bool IsSampler(int glType) {
    return glType == kGlSampler1D || glType == kGlSampler2D || glType == kGlSampler3D ||
           glType == kGlSamplerCube;
}

}  // namespace

// glslang builds its tables of built-in functions once per process and stage; compiling two
// small shaders of our own here builds them, so that each compile child (forked afterwards)
// starts from them instead of building them again.
void WarmCompiler() {
    static std::once_flag once;
    std::call_once(once, [] {
        CompileRequest request;
        request.fileName = "warm-up";
        request.entry = "main";
        request.profile = "vs_2_0";
        request.source = "float4 main(float4 p : POSITION) : POSITION { return p; }";
        CompileHlsl(request);
        request.profile = "ps_2_0";
        request.source =
            "sampler2D s; float4 main(float2 t : TEXCOORD0) : COLOR0 { return tex2D(s, t); }";
        CompileHlsl(request);
    });
}

bool IsKnownProfile(const char* profile) {
    if (!profile) return false;
    for (const Profile& p : kProfiles) {
        if (std::strcmp(p.name, profile) == 0) return true;
    }
    return false;
}

CompileResult CompileHlsl(const CompileRequest& request) {
    CompileResult result;
    const Profile* profile = nullptr;
    for (const Profile& p : kProfiles) {
        if (request.profile == p.name) profile = &p;
    }
    if (!profile) {
        result.errors =
            request.fileName + "(1,1): error: unsupported profile '" + request.profile + "'\n";
        return result;
    }
    glslang::InitializeProcess();
    {
        std::string preamble;
        for (const auto& [name, value] : request.defines) {
            preamble += "#define " + name + " " + value + "\n";
        }
        const char* text = request.source.c_str();
        const int length = static_cast<int>(request.source.size());
        const char* name = request.fileName.c_str();
        glslang::TShader shader(profile->language);
        shader.setStringsWithLengthsAndNames(&text, &length, &name, 1);
        shader.setPreamble(preamble.c_str());
        shader.setEntryPoint(request.entry.c_str());
        shader.setSourceEntryPoint(request.entry.c_str());
        shader.setEnvInput(glslang::EShSourceHlsl, profile->language, glslang::EShClientOpenGL,
                           100);
        shader.setEnvClient(glslang::EShClientOpenGL, glslang::EShTargetOpenGL_450);
        shader.setEnvTarget(glslang::EShTargetSpv, glslang::EShTargetSpv_1_0);
        // Keeps each stage variable's semantic as a HlslSemanticGOOGLE decoration.
        shader.setEnvTargetHlslFunctionality1();
        shader.setAutoMapLocations(true);
        shader.setAutoMapBindings(true);
        const auto messages =
            static_cast<EShMessages>(EShMsgReadHlsl | EShMsgHlslDX9Compatible | EShMsgSpvRules |
                                     EShMsgHlslLegalization | EShMsgEnhanced);
        const bool parsed = shader.parse(GetDefaultResources(), 100, false, messages);
        if (!parsed) {
            result.errors = FormatLog(shader.getInfoLog(), request.fileName);
            if (result.errors.empty())
                result.errors = request.fileName + "(1,1): error: " + shader.getInfoLog();
        } else if (shader.getIntermediate()->getNumEntryPoints() == 0) {
            result.errors =
                request.fileName + "(1,1): error: entry point '" + request.entry + "' not found\n";
        } else {
            glslang::TProgram program;
            program.addShader(&shader);
            if (!program.link(messages)) {
                result.errors = FormatLog(program.getInfoLog(), request.fileName);
            } else {
                program.buildReflection();
                ShaderReflection reflection;
                reflection.stage = profile->stage;
                reflection.versionMajor = profile->major;
                reflection.versionMinor = profile->minor;
                reflection.entry = request.entry;
                for (int i = 0; i < program.getNumUniformVariables(); ++i) {
                    const glslang::TObjectReflection& u = program.getUniform(i);
                    const glslang::TType* type = u.getType();
                    const std::uint32_t elements =
                        type && type->isArray() && type->getOuterArraySize() > 0
                            ? static_cast<std::uint32_t>(type->getOuterArraySize())
                            : 1;
                    if (IsSampler(u.glDefineType)) {
                        reflection.samplers.push_back(
                            {u.name, static_cast<std::uint32_t>(std::max(0, u.getBinding()))});
                        ConstantVar c;
                        c.name = u.name;
                        c.registerSet = D3DXRS_SAMPLER;
                        c.registerIndex = reflection.samplers.back().reg;
                        c.registerCount = 1;
                        c.parameterClass = D3DXPC_OBJECT;
                        c.type = D3DXPT_SAMPLER2D;
                        c.columns = c.rows = 1;
                        c.bytes = 4;
                        reflection.constants.push_back(c);
                        continue;
                    }
                    ConstantVar c;
                    c.name = u.name;
                    ClassifyConstant(u.glDefineType, c);
                    c.elements = elements;
                    // Registers follow the packing glslang gives the global constants.
                    c.registerIndex = static_cast<std::uint32_t>(std::max(0, u.offset) / 16);
                    c.registerCount =
                        elements * (c.parameterClass == D3DXPC_MATRIX_COLUMNS ? c.columns : 1);
                    c.bytes = elements * c.rows * c.columns * 4;
                    reflection.constants.push_back(c);
                }
                std::sort(reflection.constants.begin(), reflection.constants.end(),
                          [](const ConstantVar& a, const ConstantVar& b) {
                              return std::pair(a.registerSet, a.registerIndex) <
                                     std::pair(b.registerSet, b.registerIndex);
                          });
                glslang::SpvOptions options;
                glslang::GlslangToSpv(*program.getIntermediate(profile->language), reflection.spirv,
                                      &options);
                if (!ReflectSpirvInterface(reflection.spirv, reflection)) {
                    result.errors = request.fileName + "(1,1): error: bad SPIR-V produced\n";
                } else {
                    AddDefaultValues(request.source, reflection.constants);
                    result.code = PackShader(reflection);
                    result.ok = true;
                }
            }
        }
    }
    return result;
}

}  // namespace d3dx
