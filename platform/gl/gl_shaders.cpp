#include "platform/gl/gl_shaders.h"

#include <spirv_cross/spirv_cross_c.h>

#include <cctype>
#include <cstring>

#include "platform/d3dx/shader_container.h"

namespace gl {
namespace {

struct Semantic {
    std::string name;
    int index = 0;
};

Semantic Parse(const char* decoration) {
    Semantic s;
    std::string upper;
    for (const char* p = decoration ? decoration : ""; *p; ++p) {
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    }
    std::size_t digits = upper.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(upper[digits - 1]))) --digits;
    s.name = upper.substr(0, digits);
    for (std::size_t i = digits; i < upper.size() && s.index < 100; ++i)
        s.index = s.index * 10 + (upper[i] - '0');
    return s;
}

// The fixed-function stage's name for a varying of this semantic, or empty.
std::string VaryingOf(const Semantic& s) {
    if (s.name == "COLOR" && s.index <= 1) return "vColor" + std::to_string(s.index);
    if (s.name == "TEXCOORD" && s.index < 8) return "vTexCoord" + std::to_string(s.index);
    return {};
}

int AttributeOf(const Semantic& s) {
    if (s.name == "POSITION") return 0;
    if (s.name == "NORMAL") return 1;
    if (s.name == "COLOR") return 2;
    if (s.name == "TEXCOORD" && s.index == 0) return 3;
    return -1;
}

constexpr char kPositionVariable[] = "tessPosition";

}  // namespace

bool TranslateShader(const DWORD* code, bool pixel, TranslatedShader& out, std::string& error) {
    const auto container = d3dx::UnpackShader(code);
    if (!container || (container->stage == d3dx::ShaderStage::Pixel) != pixel) {
        error = "not a compiled shader of this stage";
        return false;
    }
    out.constants = container->constants;
    spvc_context context = nullptr;
    if (spvc_context_create(&context) != SPVC_SUCCESS) {
        error = "SPIRV-Cross failed to start";
        return false;
    }
    bool ok = false;
    spvc_parsed_ir ir = nullptr;
    spvc_compiler compiler = nullptr;
    spvc_resources resources = nullptr;
    if (spvc_context_parse_spirv(context, container->spirv.data(), container->spirv.size(), &ir) ==
            SPVC_SUCCESS &&
        spvc_context_create_compiler(context, SPVC_BACKEND_GLSL, ir,
                                     SPVC_CAPTURE_MODE_TAKE_OWNERSHIP, &compiler) == SPVC_SUCCESS &&
        spvc_compiler_create_shader_resources(compiler, &resources) == SPVC_SUCCESS) {
        const spvc_reflected_resource* list = nullptr;
        std::size_t count = 0;
        spvc_resources_get_resource_list_for_type(resources, SPVC_RESOURCE_TYPE_STAGE_INPUT, &list,
                                                  &count);
        for (std::size_t i = 0; i < count; ++i) {
            const Semantic s = Parse(spvc_compiler_get_decoration_string(
                compiler, list[i].id, SpvDecorationHlslSemanticGOOGLE));
            if (pixel) {
                // Matched by semantic: renamed to the vertex stage's output of that meaning.
                const std::string varying = VaryingOf(s);
                if (!varying.empty()) {
                    spvc_compiler_set_name(compiler, list[i].id, varying.c_str());
                    spvc_compiler_unset_decoration(compiler, list[i].id, SpvDecorationLocation);
                    if (s.name == "TEXCOORD")
                        out.texCoordsRead = std::max(out.texCoordsRead, s.index + 1);
                }
            } else {
                const int attribute = AttributeOf(s);
                if (attribute >= 0) {
                    spvc_compiler_set_decoration(compiler, list[i].id, SpvDecorationLocation,
                                                 static_cast<unsigned>(attribute));
                }
            }
        }
        spvc_resources_get_resource_list_for_type(resources, SPVC_RESOURCE_TYPE_STAGE_OUTPUT, &list,
                                                  &count);
        for (std::size_t i = 0; !pixel && i < count; ++i) {
            const Semantic s = Parse(spvc_compiler_get_decoration_string(
                compiler, list[i].id, SpvDecorationHlslSemanticGOOGLE));
            const std::string varying = s.name == "POSITION" ? kPositionVariable : VaryingOf(s);
            if (!varying.empty()) {
                spvc_compiler_set_name(compiler, list[i].id, varying.c_str());
                spvc_compiler_unset_decoration(compiler, list[i].id, SpvDecorationLocation);
            }
        }
        spvc_resources_get_resource_list_for_type(resources, SPVC_RESOURCE_TYPE_SAMPLED_IMAGE,
                                                  &list, &count);
        for (std::size_t i = 0; i < count; ++i) {
            SamplerBinding b;
            b.reg = static_cast<int>(
                spvc_compiler_get_decoration(compiler, list[i].id, SpvDecorationBinding));
            spvc_compiler_unset_decoration(compiler, list[i].id, SpvDecorationBinding);
            b.name = "tessSampler" + std::to_string(i);
            spvc_compiler_set_name(compiler, list[i].id, b.name.c_str());
            out.samplers.push_back(b);
        }
        spvc_compiler_options options = nullptr;
        spvc_compiler_create_compiler_options(compiler, &options);
        spvc_compiler_options_set_uint(options, SPVC_COMPILER_OPTION_GLSL_VERSION, 330);
        spvc_compiler_options_set_bool(options, SPVC_COMPILER_OPTION_GLSL_ES, SPVC_FALSE);
        spvc_compiler_options_set_bool(
            options, SPVC_COMPILER_OPTION_GLSL_EMIT_UNIFORM_BUFFER_AS_PLAIN_UNIFORMS, SPVC_TRUE);
        spvc_compiler_install_compiler_options(compiler, options);
        const char* source = nullptr;
        if (spvc_compiler_compile(compiler, &source) == SPVC_SUCCESS && source) {
            out.glsl = source;
            ok = true;
        }
    }
    if (!ok) error = std::string("SPIRV-Cross: ") + spvc_context_get_last_error_string(context);
    spvc_context_destroy(context);
    if (ok && !pixel) {
        // The POSITION output is written to a plain variable; the clip position is made from it
        // at the end of main, converted as the fixed-function stage converts its own.
        const std::string declaration = std::string("out vec4 ") + kPositionVariable + ";";
        const std::size_t at = out.glsl.find(declaration);
        const std::size_t end = out.glsl.rfind('}');
        if (at != std::string::npos && end != std::string::npos) {
            out.glsl.insert(end,
                            "    vec4 clip = tessPosition;\n    clip.y = -clip.y;\n"
                            "    clip.z = 2.0 * clip.z - clip.w;\n"
                            "    clip.xy += uClipAdjust * clip.w;\n    gl_Position = clip;\n");
            out.glsl.replace(
                at, declaration.size(),
                std::string("vec4 ") + kPositionVariable + ";\nuniform vec2 uClipAdjust;");
        }
    }
    return ok;
}

}  // namespace gl
