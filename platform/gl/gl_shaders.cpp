// Shaders on the OpenGL device (see gl_shaders.h).
#include "platform/gl/gl_shaders.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/gl/gl_device.h"

namespace gl {
namespace {

bool IdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Renames the register arrays and samplers of a translated vertex shader (tessC, tessI, tessB,
// tessSamplerN) to their vertex-stage names (tessVC, ..., tessVSamplerN): both stages' shaders
// are translated with the same names, and a program's uniforms of one name are one uniform.
void GiveVertexStageNames(TranslatedShader& shader) {
    std::string& glsl = shader.glsl;
    for (std::size_t at = glsl.find("tess"); at != std::string::npos;
         at = glsl.find("tess", at + 4)) {
        if (at > 0 && IdentifierChar(glsl[at - 1])) continue;
        std::size_t end = at;
        while (end < glsl.size() && IdentifierChar(glsl[end])) ++end;
        const std::string name = glsl.substr(at, end - at);
        const bool registers = name == "tessC" || name == "tessI" || name == "tessB";
        const bool sampler =
            name.rfind("tessSampler", 0) == 0 && name.size() > 11 &&
            std::all_of(name.begin() + 11, name.end(), [](char c) { return std::isdigit(c) != 0; });
        if (registers || sampler) glsl.insert(at + 4, "V");
    }
    for (SamplerBinding& b : shader.samplers) {
        if (b.name.rfind("tess", 0) == 0) b.name.insert(4, "V");
    }
}

}  // namespace

std::unique_ptr<GlShader> GlShader::Create(GlDevice& device, const DWORD* code,
                                           d3d9::ShaderStage stage) {
    const bool pixel = stage == d3d9::ShaderStage::Pixel;
    TranslatedShader shader;
    std::string error;
    if (!d3dx::ReadTranslatedShader(
            code, pixel ? d3dx::ShaderStage::Pixel : d3dx::ShaderStage::Vertex, shader, error)) {
        std::fprintf(stderr, "GL: %s shader refused: %s\n", pixel ? "pixel" : "vertex",
                     error.c_str());
        return nullptr;
    }
    if (!pixel) GiveVertexStageNames(shader);
    const GLuint compiled = CompileShader(pixel ? GL_FRAGMENT_SHADER : GL_VERTEX_SHADER,
                                          shader.glsl, pixel ? "pixel shader" : "vertex shader");
    if (!compiled) return nullptr;
    return std::unique_ptr<GlShader>(new GlShader(device, std::move(shader), compiled));
}

GlShader::GlShader(GlDevice& device, TranslatedShader shader, GLuint compiled)
    : device_(device), shader_(std::move(shader)), compiled_(compiled) {
    static std::uint64_t next = 0;
    id_ = ++next;
}

GlShader::~GlShader() {
    device_.ForgetShader(id_);
    glDeleteShader(compiled_);
}

}  // namespace gl
