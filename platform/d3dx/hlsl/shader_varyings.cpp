// A translated shader's stage interface (see shader_varyings.h).
#include "platform/d3dx/hlsl/shader_varyings.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <regex>

#include "platform/d3dx/attribute_locations.h"

namespace d3dx {
namespace {

struct Semantic {
    std::string name;
    int index = 0;
};

Semantic Parse(const char* decoration) {
    Semantic s;
    std::string upper;
    for (const char* p = decoration ? decoration : ""; *p; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p)) || *p == '_')
            upper += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    }
    std::size_t digits = upper.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(upper[digits - 1]))) --digits;
    s.name = upper.substr(0, digits);
    for (std::size_t i = digits; i < upper.size() && s.index < 100; ++i)
        s.index = s.index * 10 + (upper[i] - '0');
    return s;
}

int AttributeOf(const Semantic& s) {
    static constexpr struct {
        const char* name;
        BYTE usage;
    } kUsages[] = {
        {"POSITION", D3DDECLUSAGE_POSITION},
        {"NORMAL", D3DDECLUSAGE_NORMAL},
        {"COLOR", D3DDECLUSAGE_COLOR},
        {"TEXCOORD", D3DDECLUSAGE_TEXCOORD},
        {"TANGENT", D3DDECLUSAGE_TANGENT},
        {"BINORMAL", D3DDECLUSAGE_BINORMAL},
        {"BLENDWEIGHT", D3DDECLUSAGE_BLENDWEIGHT},
        {"BLENDINDICES", D3DDECLUSAGE_BLENDINDICES},
    };
    for (const auto& u : kUsages) {
        if (s.name == u.name && s.index < 256)
            return d3dx::AttributeLocationOf(u.usage, static_cast<BYTE>(s.index));
    }
    return d3dx::kNoAttribute;
}

const char* SemanticOf(spvc_compiler compiler, spvc_variable_id id) {
    return spvc_compiler_get_decoration_string(compiler, id, SpvDecorationHlslSemanticGOOGLE);
}

std::string N(int i) {
    return std::to_string(i);
}

// The varying between the stages for a semantic, in the fixed-function stage's names where it
// has one.
std::string VaryingOf(const std::string& semantic, int index) {
    if (semantic == "COLOR") return "vColor" + N(index);
    if (semantic == "TEXCOORD") return "vTexCoord" + N(index);
    return "vS_" + semantic + N(index);
}

// Components of a GLSL scalar or vector type, and its vector type of floats.
int Components(const std::string& type) {
    const char last = type.empty() ? '1' : type.back();
    return last >= '2' && last <= '4' ? last - '0' : 1;
}

// `expr` of `type` as a vec4, missing components (0, 0, 0, 1).
std::string ToVec4(const std::string& expr, const std::string& type) {
    const int n = Components(type);
    std::string floats = (n == 1 ? std::string("float") : "vec" + N(n)) + "(" + expr + ")";
    switch (n) {
        case 1:
            return "vec4(" + floats + ", 0.0, 0.0, 1.0)";
        case 2:
            return "vec4(" + floats + ", 0.0, 1.0)";
        case 3:
            return "vec4(" + floats + ", 1.0)";
        default:
            return floats;
    }
}

// The first components of a vec4 `expr`, as `type`.
std::string FromVec4(const std::string& expr, const std::string& type) {
    static const char* kSwizzles[] = {"", ".x", ".xy", ".xyz", ""};
    return type + "(" + expr + kSwizzles[Components(type)] + ")";
}

// A stage variable declared as an array ("in vec4 tessInTEXCOORD4[2];") made a plain global
// array: its element type and count, or false where it is no array.
bool MakePlainArray(std::string& glsl, const std::string& name, std::string& type, int& count) {
    const std::regex declaration("\n(?:(?:layout\\([^)]*\\) )?(?:in|out) )?(\\w+) " + name +
                                 "\\[(\\d+)\\];");
    std::smatch m;
    if (!std::regex_search(glsl, m, declaration)) return false;
    type = m[1].str();
    count = std::stoi(m[2].str());
    glsl.replace(static_cast<std::size_t>(m.position(0)), static_cast<std::size_t>(m.length(0)),
                 "\n" + type + " " + name + "[" + N(count) + "];");
    return true;
}

}  // namespace

std::size_t DeclarationEnd(const std::string& glsl, const std::string& name) {
    const std::size_t at = glsl.find(" " + name + ";");
    return at == std::string::npos ? std::string::npos : glsl.find('\n', at);
}

bool MakePlain(std::string& glsl, const std::string& name, std::string* type) {
    const std::size_t at = glsl.find(" " + name + ";");
    if (at == std::string::npos) return false;
    const std::size_t begin =
        glsl.rfind('\n', at) == std::string::npos ? 0 : glsl.rfind('\n', at) + 1;
    const std::size_t end = glsl.find('\n', at);
    const std::string line = glsl.substr(begin, end - begin);
    const std::size_t nameAt = line.rfind(" " + name + ";");
    std::size_t typeAt = line.rfind(' ', nameAt - 1);
    typeAt = typeAt == std::string::npos ? 0 : typeAt + 1;
    const std::string declaredType = line.substr(typeAt, nameAt - typeAt);
    if (type) *type = declaredType;
    glsl.replace(begin, end - begin, declaredType + " " + name + ";");
    return true;
}

void AddToMainStart(std::string& glsl, const std::string& statements) {
    const std::size_t main = glsl.find("void main()\n{\n");
    if (main != std::string::npos) glsl.insert(main + 14, statements);
}

void AddToMainEnd(std::string& glsl, const std::string& statements) {
    const std::size_t end = glsl.rfind('}');
    if (end != std::string::npos) glsl.insert(end, statements);
}

std::vector<StageVariable> NameStageVariables(spvc_compiler compiler, spvc_resources resources,
                                              ShaderReflection& shader) {
    const bool pixel = shader.stage == ShaderStage::Pixel;
    // glslang splits an array member of an input or output struct into one variable for each
    // element, each with the array's semantic: the later ones are the next indices.
    std::map<std::string, int> seen;
    const auto semanticOf = [&](spvc_variable_id id, bool input) {
        Semantic s = Parse(SemanticOf(compiler, id));
        if (!s.name.empty()) s.index += seen[(input ? "in " : "out ") + s.name + N(s.index)]++;
        return s;
    };
    std::vector<StageVariable> out;
    const spvc_reflected_resource* list = nullptr;
    std::size_t count = 0;
    spvc_resources_get_resource_list_for_type(resources, SPVC_RESOURCE_TYPE_STAGE_INPUT, &list,
                                              &count);
    for (std::size_t i = 0; i < count; ++i) {
        const Semantic s = semanticOf(list[i].id, true);
        if (s.name.empty()) continue;
        if (!pixel) {
            const int attribute = AttributeOf(s);
            if (attribute != d3dx::kNoAttribute) {
                spvc_compiler_set_decoration(compiler, list[i].id, SpvDecorationLocation,
                                             static_cast<unsigned>(attribute));
            }
            continue;
        }
        StageVariable v{"tessIn" + s.name + N(s.index), s.name, s.index, true};
        spvc_compiler_set_name(compiler, list[i].id, v.glslName.c_str());
        spvc_compiler_unset_decoration(compiler, list[i].id, SpvDecorationLocation);
        if (s.name == "TEXCOORD") {
            // An array reads one TEXCOORD for each element.
            const spvc_type type = spvc_compiler_get_type_handle(compiler, list[i].type_id);
            const unsigned elements = spvc_type_get_num_array_dimensions(type)
                                          ? spvc_type_get_array_dimension(type, 0)
                                          : 1;
            shader.texCoordsRead =
                std::max(shader.texCoordsRead, static_cast<std::uint32_t>(s.index) + elements);
        }
        out.push_back(v);
    }
    if (pixel) return out;
    spvc_resources_get_resource_list_for_type(resources, SPVC_RESOURCE_TYPE_STAGE_OUTPUT, &list,
                                              &count);
    for (std::size_t i = 0; i < count; ++i) {
        const Semantic s = semanticOf(list[i].id, false);
        if (s.name.empty()) continue;
        StageVariable v{"tessOut" + s.name + N(s.index), s.name, s.index, false};
        spvc_compiler_set_name(compiler, list[i].id, v.glslName.c_str());
        spvc_compiler_unset_decoration(compiler, list[i].id, SpvDecorationLocation);
        out.push_back(v);
    }
    return out;
}

void ConnectStageVariables(std::string& glsl, const std::vector<StageVariable>& variables,
                           bool pixel, bool clampColours) {
    std::string start, end;
    for (const StageVariable& whole : variables) {
        // An array takes one semantic index for each element: TEXCOORD4, TEXCOORD5 ...
        std::string type;
        int count = 1;
        const bool array = MakePlainArray(glsl, whole.glslName, type, count);
        if (!array && !MakePlain(glsl, whole.glslName, &type)) continue;
        std::string declarations;
        for (int e = 0; e < count; ++e) {
            StageVariable v = whole;
            if (array) {
                v.glslName += "[" + N(e) + "]";
                v.index += e;
            }
            if (v.semantic == "VPOS" && pixel) {
                // Direct3D 9's pixel coordinates put the top-left pixel's centre at (0, 0); the
                // back buffer's first row is the top one, so only the half pixel goes.
                start += "    " + v.glslName + " = " +
                         FromVec4("vec4(gl_FragCoord.xy - vec2(0.5), 0.0, 0.0)", type) + ";\n";
            } else if (v.semantic == "POSITION" && pixel) {
                // Declared, never read (reading it is refused): no vertex output feeds it.
                start += "    " + v.glslName + " = " + FromVec4("vec4(0.0)", type) + ";\n";
            } else if (v.semantic == "VFACE" && pixel) {
                // Clockwise faces, Direct3D's front ones, are OpenGL's front faces here.
                start += "    " + v.glslName + " = " + type + "(gl_FrontFacing ? 1.0 : -1.0);\n";
            } else if (v.semantic == "POSITION" && !pixel) {
                if (v.index != 0) continue;
                declarations += "uniform vec2 uClipAdjust;\n";
                end += "    vec4 clip = " + ToVec4(v.glslName, type) +
                       ";\n    clip.y = -clip.y;\n"
                       "    clip.z = 2.0 * clip.z - clip.w;\n"
                       "    clip.xy += uClipAdjust * clip.w;\n    gl_Position = clip;\n";
            } else if (v.semantic == "TEXCOORD") {
                const std::string name = VaryingOf(v.semantic, v.index);
                if (pixel) {
                    const bool zw = Components(type) > 2;
                    declarations +=
                        "in vec2 " + name + ";\n" + (zw ? "in vec2 " + name + "_zw;\n" : "");
                    const std::string full =
                        zw ? "vec4(" + name + ", " + name + "_zw + vec2(0.0, 1.0))"
                           : "vec4(" + name + ", 0.0, 1.0)";
                    start += "    " + v.glslName + " = " + FromVec4(full, type) + ";\n";
                } else {
                    declarations += "out vec2 " + name + ";\nout vec2 " + name + "_zw;\n";
                    end += "    vec4 " + name + "_full = " + ToVec4(v.glslName, type) + ";\n    " +
                           name + " = " + name + "_full.xy;\n    " + name + "_zw = " + name +
                           "_full.zw - vec2(0.0, 1.0);\n";
                }
            } else {
                const std::string name = VaryingOf(v.semantic, v.index);
                if (pixel) {
                    declarations += "in vec4 " + name + ";\n";
                    start += "    " + v.glslName + " = " + FromVec4(name, type) + ";\n";
                } else {
                    declarations += "out vec4 " + name + ";\n";
                    std::string value = ToVec4(v.glslName, type);
                    if (clampColours && v.semantic == "COLOR")
                        value = "clamp(" + value + ", 0.0, 1.0)";
                    end += "    " + name + " = " + value + ";\n";
                }
            }
        }
        const std::size_t at = array ? glsl.find("\n" + type + " " + whole.glslName + "[")
                                     : DeclarationEnd(glsl, whole.glslName);
        const std::size_t line = array && at != std::string::npos ? glsl.find('\n', at + 1) : at;
        if (line != std::string::npos) glsl.insert(line + 1, declarations);
    }
    AddToMainStart(glsl, start);
    AddToMainEnd(glsl, end);
}

}  // namespace d3dx
