// The fixed-function vertex stage (see gl_ffp.h): transforms, lighting and the varyings, and
// the compiling and linking of programs. The fragment stage is in gl_ffp_fragment.cpp.
#include "platform/gl/gl_ffp.h"

#include <cstdio>
#include <vector>

#include "platform/d3dx/attribute_locations.h"
#include "platform/gl/gl_ffp_common.h"

namespace gl {
namespace {

// Matrices are uploaded as Direct3D stores them (row by row); read column-major by GLSL they
// are transposed, so "M * v" here computes Direct3D's row-vector "v * M". uNormalMatrix is the
// inverse transpose of world x view's upper 3 x 3, uploaded the same way.
constexpr char kVertexUniforms[] = R"(uniform mat4 uWorld;
uniform mat4 uView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
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
)";

// Direct3D's clip space to OpenGL's: y flips so that the back buffer's first row is the top
// one (and clockwise faces stay the front ones, OpenGL's counter-clockwise); depth [0, 1]
// becomes [-1, 1]; and pixel centres move by half a pixel, as Direct3D 9 puts them on integer
// coordinates. Translated vertex shaders end the same way (platform/d3dx/hlsl/shader_varyings.cpp).
constexpr char kClipConversion[] = R"(
    clip.y = -clip.y;
    clip.z = 2.0 * clip.z - clip.w;
    clip.xy += uClipAdjust * clip.w;
    gl_Position = clip;
)";

std::string Attribute(BYTE usage, BYTE index, const char* type, const std::string& name) {
    return "layout(location = " + N(d3dx::AttributeLocationOf(usage, index)) + ") in " + type +
           " " + name + ";\n";
}

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
            // rho against cos(Phi / 2) (outside: dark) and cos(Theta / 2) (inside: full).
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
        // The viewer at the camera, or infinitely far down the view direction.
        s += std::string("        vec3 H = normalize(L + ") +
             (key.localViewer ? "normalize(-viewPos)" : "vec3(0.0, 0.0, -1.0)") +
             ");\n"
             "        if (nl > 0.0) specular += uLightSpecular[" +
             N(i) + "].rgb * pow(max(dot(N, H), 0.0), uMatPower) * atten;\n";
    }
    return s + "    }\n";
}

// A material colour: the material's, or the vertex colour its source names.
std::string MaterialColor(int source, const char* material) {
    return source == 1 ? "aColor0" : source == 2 ? "aColor1" : material;
}

}  // namespace

std::string FfpVertexShader(const FfpKey& key) {
    std::string s = "#version 330 core\n";
    s += Attribute(D3DDECLUSAGE_POSITION, 0, "vec3", "aPosition");
    if (key.hasNormal) s += Attribute(D3DDECLUSAGE_NORMAL, 0, "vec3", "aNormal");
    if (key.hasColor0) s += Attribute(D3DDECLUSAGE_COLOR, 0, "vec4", "aColor0");
    if (key.hasColor1) s += Attribute(D3DDECLUSAGE_COLOR, 1, "vec4", "aColor1");
    const unsigned written = TexCoordsWritten(key);
    for (int t = 0; t < kMaxTexCoords; ++t) {
        if ((written & key.texCoordSets) >> t & 1)
            s += Attribute(D3DDECLUSAGE_TEXCOORD, static_cast<BYTE>(t), "vec2", "aTexCoord" + N(t));
    }
    s += kVertexUniforms;
    const char* interpolation = key.flatShading ? "flat " : "";
    s += std::string(interpolation) + "out vec4 vColor0;\n" + interpolation + "out vec4 vColor1;\n";
    // Each set also carries its z and w as (z, w - 1), so that a pixel shader reading a float4
    // TEXCOORD from this stage reads (u, v, 0, 1).
    for (int t = 0; t < kMaxTexCoords; ++t) {
        if (written >> t & 1)
            s += "out vec2 vTexCoord" + N(t) + ";\nout vec2 vTexCoord" + N(t) + "_zw;\n";
    }
    s += "void main() {\n"
         "    vec4 worldPos = uWorld * vec4(aPosition, 1.0);\n"
         "    vec4 view4 = uView * worldPos;\n"
         "    vec3 viewPos = view4.xyz;\n"
         "    vec4 clip = uProjection * view4;\n";
    s += kClipConversion;
    if (key.lighting) {
        s += "    vec4 cd = " + MaterialColor(key.diffuseSource, "uMatDiffuse") + ";\n";
        s += "    vec4 ca = " + MaterialColor(key.ambientSource, "uMatAmbient") + ";\n";
        s += "    vec4 cs = " + MaterialColor(key.specularSource, "uMatSpecular") + ";\n";
        s += "    vec4 ce = " + MaterialColor(key.emissiveSource, "uMatEmissive") + ";\n";
        // Without NORMALIZENORMALS a scaling world keeps its effect on the normal's length.
        s += std::string("    vec3 N = ") +
             (key.hasNormal ? "uNormalMatrix * aNormal" : "vec3(0.0)") + ";\n";
        if (key.normalizeNormals && key.hasNormal) s += "    N = normalize(N);\n";
        s += "    vec3 ambient = vec3(0.0), diffuse = vec3(0.0), specular = vec3(0.0);\n";
        for (int i = 0; i < kMaxLights; ++i) {
            if (key.lightTypes[i]) s += LightTerm(key, i);
        }
        s += "    vColor0 = clamp(vec4(ce.rgb + ca.rgb * (uGlobalAmbient.rgb + ambient) + cd.rgb * "
             "diffuse, cd.a), 0.0, 1.0);\n"
             "    vColor1 = clamp(vec4(cs.rgb * specular, 0.0), 0.0, 1.0);\n";
    } else {
        // Without lighting: the vertex's colours, else opaque white and black.
        s += std::string("    vColor0 = ") + (key.hasColor0 ? "aColor0" : "vec4(1.0)") + ";\n";
        s += std::string("    vColor1 = ") + (key.hasColor1 ? "aColor1" : "vec4(0.0)") + ";\n";
    }
    for (int t = 0; t < kMaxTexCoords; ++t) {
        if (!(written >> t & 1)) continue;
        s += "    vTexCoord" + N(t) + " = " +
             ((key.texCoordSets >> t & 1) ? "aTexCoord" + N(t) : std::string("vec2(0.0)")) +
             ";\n    vTexCoord" + N(t) + "_zw = vec2(0.0);\n";
    }
    return s + "}\n";
}

void ProgramUniforms::Find(GLuint p) {
    const auto at = [p](const char* name) { return glGetUniformLocation(p, name); };
    world = at("uWorld");
    view = at("uView");
    projection = at("uProjection");
    normalMatrix = at("uNormalMatrix");
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
    alphaRef = at("uAlphaRef");
    for (int i = 0; i < kMaxStages; ++i) stageSamplers[i] = at(("uStage" + N(i)).c_str());
}

GLuint CompileShader(GLenum type, const std::string& source, const char* what) {
    const GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[4096] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "GL: %s: %s shader does not compile: %s\n", what,
                     type == GL_VERTEX_SHADER ? "vertex" : "fragment", log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint LinkShaders(GLuint vertexShader, GLuint fragmentShader, const char* what) {
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    glDetachShader(program, vertexShader);
    glDetachShader(program, fragmentShader);
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

GLuint LinkProgram(const std::string& vertexSource, const std::string& fragmentSource,
                   const char* what) {
    const GLuint vs = CompileShader(GL_VERTEX_SHADER, vertexSource, what);
    const GLuint fs = vs ? CompileShader(GL_FRAGMENT_SHADER, fragmentSource, what) : 0;
    const GLuint program = vs && fs ? LinkShaders(vs, fs, what) : 0;
    if (vs) glDeleteShader(vs);
    if (fs) glDeleteShader(fs);
    return program;
}

}  // namespace gl
