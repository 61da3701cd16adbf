// The fixed-function fragment stage (see gl_ffp.h): the texture stage cascade, the specular
// sum and the alpha test, and the alpha test added to translated pixel shaders.
#include <cstdio>

#include "platform/gl/gl_ffp.h"
#include "platform/gl/gl_ffp_common.h"

namespace gl {
namespace {

// The value of a stage argument as a vec4, its modifiers applied.
std::string Arg(int arg, int stage) {
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
            value = "vec4(0.0)";  // TEMP and CONSTANT are never written here
            break;
    }
    if (arg & D3DTA_ALPHAREPLICATE) value = "vec4((" + value + ").a)";
    if (arg & D3DTA_COMPLEMENT) value = "(vec4(1.0) - " + value + ")";
    return "(" + value + ")";
}

struct Args {
    std::string a0, a1, a2;
    std::string texAlpha;  // the stage's texture alpha, for the ops that blend by it
};

// One operation on the colour (`c` ".rgb") or the alpha (".a") of its arguments.
std::string Op(int op, const Args& x, const char* c) {
    std::string a0 = x.a0 + c, a1 = x.a1 + c, a2 = x.a2 + c;
    const bool alpha = std::string(c) == ".a";
    const std::string one = alpha ? "1.0" : "vec3(1.0)";
    switch (op) {
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
        case D3DTOP_ADDSMOOTH:
            return a1 + " + " + a2 + " * (" + one + " - " + a1 + ")";
        case D3DTOP_BLENDDIFFUSEALPHA:
            return "mix(" + a2 + ", " + a1 + ", vColor0.a)";
        case D3DTOP_BLENDTEXTUREALPHA:
            return "mix(" + a2 + ", " + a1 + ", " + x.texAlpha + ")";
        case D3DTOP_BLENDFACTORALPHA:
            return "mix(" + a2 + ", " + a1 + ", uTextureFactor.a)";
        case D3DTOP_BLENDTEXTUREALPHAPM:
            return a1 + " + " + a2 + " * (1.0 - " + x.texAlpha + ")";
        case D3DTOP_BLENDCURRENTALPHA:
            return "mix(" + a2 + ", " + a1 + ", current.a)";
        case D3DTOP_MULTIPLYADD:
            return a0 + " + " + a1 + " * " + a2;
        case D3DTOP_LERP:
            return "mix(" + a2 + ", " + a1 + ", " + a0 + ")";
        default:
            break;
    }
    if (!alpha) {
        // The colour-only operations.
        const std::string alpha1 = x.a1 + ".a";
        switch (op) {
            case D3DTOP_MODULATEALPHA_ADDCOLOR:
                return a1 + " + " + alpha1 + " * " + a2;
            case D3DTOP_MODULATECOLOR_ADDALPHA:
                return a1 + " * " + a2 + " + " + alpha1;
            case D3DTOP_MODULATEINVALPHA_ADDCOLOR:
                return "(1.0 - " + alpha1 + ") * " + a2 + " + " + a1;
            case D3DTOP_MODULATEINVCOLOR_ADDALPHA:
                return "(vec3(1.0) - " + a1 + ") * " + a2 + " + " + alpha1;
            case D3DTOP_DOTPRODUCT3:
                return "vec3(4.0 * dot(" + a1 + " - 0.5, " + a2 + " - 0.5))";
            default:
                break;
        }
    }
    // SELECTARG1, and what is left out (premodulation, bump mapping): the first argument.
    return a1;
}

// Whether an operation reads each argument.
bool ReadsArg1(int op) {
    return op != D3DTOP_SELECTARG2;
}

const char* Comparison(int func) {
    switch (func) {
        case D3DCMP_LESS:
            return "<";
        case D3DCMP_EQUAL:
            return "==";
        case D3DCMP_LESSEQUAL:
            return "<=";
        case D3DCMP_GREATER:
            return ">";
        case D3DCMP_NOTEQUAL:
            return "!=";
        case D3DCMP_GREATEREQUAL:
            return ">=";
        default:
            return nullptr;
    }
}

// The alpha test on `alpha`: Direct3D 9 compares the 8-bit alpha written with ALPHAREF's low
// byte (uAlphaRef holds it as a float).
std::string AlphaTest(int func, const std::string& alpha) {
    if (func == D3DCMP_NEVER) return "    discard;\n";
    const char* op = Comparison(func);
    if (!op) return "";
    return "    if (!(floor(clamp(" + alpha + ", 0.0, 1.0) * 255.0 + 0.5) " + op +
           " uAlphaRef)) discard;\n";
}

}  // namespace

std::string FfpFragmentShader(const FfpKey& key) {
    const char* interpolation = key.flatShading ? "flat " : "";
    std::string s = std::string("#version 330 core\n") + interpolation + "in vec4 vColor0;\n" +
                    interpolation + "in vec4 vColor1;\n";
    const unsigned sets = TexCoordsWritten(key);
    for (int t = 0; t < kMaxTexCoords; ++t) {
        if (sets >> t & 1) s += "in vec2 vTexCoord" + N(t) + ";\n";
    }
    s += "uniform vec4 uTextureFactor;\nuniform float uAlphaRef;\n";
    const int stages = StagesRun(key);
    for (int t = 0; t < stages; ++t) {
        if (key.stages[t].hasTexture) s += "uniform sampler2D uStage" + N(t) + ";\n";
    }
    s += "layout(location = 0) out vec4 fragColor;\nvoid main() {\n    vec4 current = vColor0;\n";
    for (int i = 0; i < stages; ++i) {
        const FfpStage& st = key.stages[i];
        // A texture argument with no texture bound reads opaque black, as the reference
        // rasterizer's absent texture does.
        s +=
            "    vec4 tex" + N(i) + " = " +
            (st.hasTexture ? "texture(uStage" + N(i) + ", vTexCoord" + N(st.texCoordIndex & 7) + ")"
                           : std::string("vec4(0.0, 0.0, 0.0, 1.0)")) +
            ";\n";
        const Args color{Arg(st.colorArg0, i), Arg(st.colorArg1, i), Arg(st.colorArg2, i),
                         "tex" + N(i) + ".a"};
        const Args alpha{Arg(st.alphaArg0, i), Arg(st.alphaArg1, i), Arg(st.alphaArg2, i),
                         color.texAlpha};
        std::string a;
        if (st.colorOp == D3DTOP_DOTPRODUCT3) {
            a = "rgb.r";  // the dot product goes to every channel, alpha too
        } else if (st.alphaOp == 0 || st.alphaOp == D3DTOP_DISABLE ||
                   (!st.hasTexture && (st.alphaArg1 & D3DTA_SELECTMASK) == D3DTA_TEXTURE &&
                    ReadsArg1(st.alphaOp))) {
            // No alpha operation, or one whose first argument is a texture that is not there:
            // the alpha passes through, as the colour does in a stage disabled for that reason.
            a = "current.a";
        } else {
            a = Op(st.alphaOp, alpha, ".a");
        }
        s += "    {\n        vec3 rgb = " + Op(st.colorOp, color, ".rgb") + ";\n";
        s += "        current = clamp(vec4(rgb, " + a + "), 0.0, 1.0);\n    }\n";
    }
    if (key.specularEnable) s += "    current.rgb = clamp(current.rgb + vColor1.rgb, 0.0, 1.0);\n";
    s += AlphaTest(key.alphaFunc, "current.a");
    return s + "    fragColor = current;\n}\n";
}

bool AddAlphaTest(std::string& glsl, int alphaFunc) {
    static const std::string kOutput = "layout(location = 0) out vec4 ";
    const std::size_t at = glsl.find(kOutput);
    const std::size_t nameEnd = at == std::string::npos ? at : glsl.find(';', at);
    const std::size_t mainEnd = glsl.rfind('}');
    if (nameEnd == std::string::npos || mainEnd == std::string::npos) return false;
    const std::string name = glsl.substr(at + kOutput.size(), nameEnd - at - kOutput.size());
    glsl.insert(mainEnd, AlphaTest(alphaFunc, name + ".a"));
    glsl.insert(nameEnd + 1, "\nuniform float uAlphaRef;");
    return true;
}

}  // namespace gl
