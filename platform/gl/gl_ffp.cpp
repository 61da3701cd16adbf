#include "platform/gl/gl_ffp.h"

#include <cstdio>
#include <vector>

#include "platform/graphics_device.h"

namespace gl {
namespace {

std::string N(int i) {
    return std::to_string(i);
}

// Matrices are uploaded as Direct3D stores them (row by row); read column-major by GLSL they
// are transposed, so "M * v" here computes Direct3D's row-vector "v * M".
constexpr char kVertexHeader[] = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aColor;
layout(location = 3) in vec2 aTexCoord0;
uniform mat4 uWorld;
uniform mat4 uView;
uniform mat4 uProjection;
uniform vec2 uClipAdjust;
uniform vec4 uGlobalAmbient;
uniform vec4 uMatDiffuse;
uniform vec4 uMatAmbient;
uniform vec4 uMatSpecular;
uniform vec4 uMatEmissive;
uniform float uMatPower;
uniform vec4 uLightDiffuse[8];
uniform vec4 uLightSpecular[8];
uniform vec4 uLightAmbient[8];
uniform vec3 uLightPosition[8];
uniform vec3 uLightDirection[8];
uniform vec4 uLightAttenuation[8];
uniform vec3 uLightSpot[8];
out vec4 vColor0;
out vec4 vColor1;
)";

// Direct3D's clip space to OpenGL's: y flips so that the back buffer's first row is the top
// one; depth [0, 1] becomes [-1, 1]; and pixel centres move by half a pixel, as Direct3D 9 puts
// them on integer coordinates.
constexpr char kClipConversion[] = R"(
    clip.y = -clip.y;
    clip.z = 2.0 * clip.z - clip.w;
    clip.xy += uClipAdjust * clip.w;
    gl_Position = clip;
)";

std::string LightTerm(const FfpKey& key, int i) {
    const int type = key.lightTypes[i];
    std::string s = "    {\n";
    if (type == D3DLIGHT_DIRECTIONAL) {
        s += "        vec3 L = -uLightDirection[" + N(i) + "];\n        float atten = 1.0;\n";
    } else {
        s += "        vec3 toLight = uLightPosition[" + N(i) +
             "] - viewPos;\n"
             "        float d = length(toLight);\n"
             "        vec3 L = toLight / max(d, 1e-20);\n"
             "        vec4 a = uLightAttenuation[" +
             N(i) +
             "];\n"
             "        float denominator = a.y + a.z * d + a.w * d * d;\n"
             // All three attenuations zero: no falloff rather than a division by zero.
             "        float atten = d > a.x ? 0.0 : (denominator > 0.0 ? 1.0 / denominator : "
             "1.0);\n";
        if (type == D3DLIGHT_SPOT) {
            s += "        vec3 sp = uLightSpot[" + N(i) +
                 "];\n"
                 "        float rho = dot(-L, uLightDirection[" +
                 N(i) +
                 "]);\n"
                 "        if (rho <= sp.z) atten = 0.0;\n"
                 "        else if (rho < sp.y) atten *= pow((rho - sp.z) / max(sp.y - sp.z, 1e-6), "
                 "sp.x);\n";
        }
    }
    s += "        float nl = max(dot(N, L), 0.0);\n"
         "        ambient += uLightAmbient[" +
         N(i) +
         "].rgb * atten;\n"
         "        diffuse += uLightDiffuse[" +
         N(i) + "].rgb * nl * atten;\n";
    if (key.specularEnable) {
        s += std::string("        vec3 H = normalize(L + ") +
             (key.localViewer ? "normalize(-viewPos)" : "vec3(0.0, 0.0, -1.0)") +
             ");\n"
             "        if (nl > 0.0) specular += uLightSpecular[" +
             N(i) + "].rgb * pow(max(dot(N, H), 0.0), uMatPower) * atten;\n";
    }
    return s + "    }\n";
}

std::string StageArg(int arg, int stage, bool alpha) {
    std::string value;
    switch (arg & D3DTA_SELECTMASK) {
        case D3DTA_DIFFUSE:
            value = "vColor0";
            break;
        case D3DTA_CURRENT:
            value = "current";
            break;
        case D3DTA_TEXTURE:
            value = "tex" + N(stage);
            break;
        case D3DTA_TFACTOR:
            value = "uTextureFactor";
            break;
        case D3DTA_SPECULAR:
            value = "vColor1";
            break;
        default:
            value = "vec4(0.0)";
            break;  // TEMP and CONSTANT are never written here
    }
    if (arg & D3DTA_ALPHAREPLICATE) value = "vec4((" + value + ").a)";
    if (arg & D3DTA_COMPLEMENT) value = "(vec4(1.0) - " + value + ")";
    return alpha ? "(" + value + ").a" : "(" + value + ").rgb";
}

std::string StageOp(int op, const std::string& a1, const std::string& a2) {
    switch (op) {
        case D3DTOP_SELECTARG1:
            return a1;
        case D3DTOP_SELECTARG2:
            return a2;
        case D3DTOP_MODULATE:
            return a1 + " * " + a2;
        case D3DTOP_MODULATE2X:
            return a1 + " * " + a2 + " * 2.0";
        case D3DTOP_MODULATE4X:
            return a1 + " * " + a2 + " * 4.0";
        case D3DTOP_ADD:
            return a1 + " + " + a2;
        case D3DTOP_ADDSIGNED:
            return a1 + " + " + a2 + " - 0.5";
        case D3DTOP_ADDSIGNED2X:
            return "(" + a1 + " + " + a2 + " - 0.5) * 2.0";
        case D3DTOP_SUBTRACT:
            return a1 + " - " + a2;
        default:
            return a1;
    }
}

}  // namespace

std::string FfpVertexShader(const FfpKey& key) {
    std::string s = kVertexHeader;
    const int texCoords = key.pixelShader ? key.shaderTexCoords : kMaxStages;
    for (int t = 0; t < texCoords; ++t) s += "out vec2 vTexCoord" + N(t) + ";\n";
    s += "void main() {\n"
         "    vec4 worldPos = uWorld * vec4(aPosition, 1.0);\n"
         "    vec4 view4 = uView * worldPos;\n"
         "    vec3 viewPos = view4.xyz;\n"
         "    vec4 clip = uProjection * view4;\n";
    s += kClipConversion;
    const std::string vertexColor = key.hasColor ? "aColor" : "vec4(1.0)";
    if (key.lighting) {
        const auto source = [&](bool fromVertex, const char* material) {
            return fromVertex && key.hasColor ? std::string("aColor") : std::string(material);
        };
        s += "    vec4 cd = " + source(key.diffuseFromVertex, "uMatDiffuse") + ";\n";
        s += "    vec4 ca = " + source(key.ambientFromVertex, "uMatAmbient") + ";\n";
        s += "    vec4 cs = " + source(key.specularFromVertex, "uMatSpecular") + ";\n";
        s += "    vec4 ce = " + source(key.emissiveFromVertex, "uMatEmissive") + ";\n";
        s += std::string("    vec3 N = ") +
             (key.hasNormal ? "mat3(uView) * (mat3(uWorld) * aNormal)" : "vec3(0.0)") + ";\n";
        if (key.normalizeNormals && key.hasNormal) s += "    N = normalize(N);\n";
        s += "    vec3 ambient = vec3(0.0), diffuse = vec3(0.0), specular = vec3(0.0);\n";
        for (int i = 0; i < kMaxLights; ++i) {
            if (key.lightTypes[i]) s += LightTerm(key, i);
        }
        s += "    vColor0 = clamp(vec4(ce.rgb + ca.rgb * (uGlobalAmbient.rgb + ambient) + cd.rgb * "
             "diffuse, cd.a), 0.0, 1.0);\n"
             "    vColor1 = clamp(vec4(cs.rgb * specular, 0.0), 0.0, 1.0);\n";
    } else {
        // Without lighting: the vertex's colour, else opaque white; no specular.
        s += "    vColor0 = clamp(" + vertexColor + ", 0.0, 1.0);\n    vColor1 = vec4(0.0);\n";
    }
    for (int t = 0; t < texCoords; ++t) {
        s += "    vTexCoord" + N(t) + " = " +
             (key.hasTexCoord && t == 0 ? "aTexCoord0" : "vec2(0.0)") + ";\n";
    }
    return s + "}\n";
}

std::string FfpFragmentShader(const FfpKey& key) {
    std::string s = "#version 330 core\nin vec4 vColor0;\nin vec4 vColor1;\n";
    for (int t = 0; t < kMaxStages; ++t) s += "in vec2 vTexCoord" + N(t) + ";\n";
    s += "uniform vec4 uTextureFactor;\n";
    for (int t = 0; t < kMaxStages; ++t) s += "uniform sampler2D uStage" + N(t) + ";\n";
    s += "layout(location = 0) out vec4 fragColor;\nvoid main() {\n    vec4 current = vColor0;\n";
    for (int i = 0; i < kMaxStages; ++i) {
        const FfpStage& st = key.stages[i];
        if (st.colorOp == D3DTOP_DISABLE || st.colorOp == 0) break;
        // A stage without a texture reads its texture argument as opaque white.
        const int coord = st.texCoordIndex < kMaxStages ? st.texCoordIndex : 0;
        s += "    vec4 tex" + N(i) + " = " +
             (st.hasTexture ? "texture(uStage" + N(i) + ", vTexCoord" + N(coord) + ")"
                            : "vec4(1.0)") +
             ";\n";
        const std::string rgb =
            StageOp(st.colorOp, StageArg(st.colorArg1, i, false), StageArg(st.colorArg2, i, false));
        const std::string alpha = st.alphaOp == D3DTOP_DISABLE || st.alphaOp == 0
                                      ? "current.a"
                                      : StageOp(st.alphaOp, StageArg(st.alphaArg1, i, true),
                                                StageArg(st.alphaArg2, i, true));
        s += "    current = clamp(vec4(" + rgb + ", " + alpha + "), 0.0, 1.0);\n";
    }
    if (key.specularEnable) s += "    current.rgb = clamp(current.rgb + vColor1.rgb, 0.0, 1.0);\n";
    return s + "    fragColor = current;\n}\n";
}

void ProgramUniforms::Find(GLuint p) {
    const auto at = [p](const char* name) { return glGetUniformLocation(p, name); };
    world = at("uWorld");
    view = at("uView");
    projection = at("uProjection");
    clipAdjust = at("uClipAdjust");
    globalAmbient = at("uGlobalAmbient");
    matDiffuse = at("uMatDiffuse");
    matAmbient = at("uMatAmbient");
    matSpecular = at("uMatSpecular");
    matEmissive = at("uMatEmissive");
    matPower = at("uMatPower");
    lightDiffuse = at("uLightDiffuse");
    lightSpecular = at("uLightSpecular");
    lightAmbient = at("uLightAmbient");
    lightPosition = at("uLightPosition");
    lightDirection = at("uLightDirection");
    lightAttenuation = at("uLightAttenuation");
    lightSpot = at("uLightSpot");
    textureFactor = at("uTextureFactor");
    for (int i = 0; i < kMaxStages; ++i) stageSamplers[i] = at(("uStage" + N(i)).c_str());
}

namespace {

GLuint Compile(GLenum type, const std::string& source, const char* what) {
    const GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[4096] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "GL: %s %s shader does not compile: %s\n", what,
                     type == GL_VERTEX_SHADER ? "vertex" : "fragment", log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

GLuint LinkProgram(const std::string& vertexSource, const std::string& fragmentSource,
                   const char* what) {
    const GLuint vs = Compile(GL_VERTEX_SHADER, vertexSource, what);
    const GLuint fs = Compile(GL_FRAGMENT_SHADER, fragmentSource, what);
    if (!vs || !fs) {
        if (vs) glDeleteShader(vs);
        if (fs) glDeleteShader(fs);
        return 0;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glBindAttribLocation(program, kPositionAttrib, "aPosition");
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[4096] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        std::fprintf(stderr, "GL: %s program does not link: %s\n", what, log);
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

}  // namespace gl
