// The fixed-function pipeline as GLSL: programs generated from a small key of the states that
// change the shader text (lighting, the vertex's components, light types, texture stage
// operations, flat shading, the alpha test), cached by key by the device. Numbers (matrices,
// colours, light parameters, the alpha reference) are uniforms.
//
// Implements: the lighting equation with material colour sources, directional, point and spot
// lights, specular with a local or distant viewer, normals by the inverse transpose of world x
// view; four texture stages with the operations up to D3DTOP_LERP except the bump-mapping and
// premodulating ones, which pass their first argument; the alpha test. Leaves out: fog, vertex
// blending, texture transforms and generated coordinates, D3DTA_TEMP, D3DTA_CONSTANT and
// RESULTARG (read as zero, current).
#pragma once

#include <epoxy/gl.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace gl {

inline constexpr int kMaxLights = 8;
inline constexpr int kMaxStages = 4;
inline constexpr int kMaxTexCoords = 8;

struct FfpStage {
    std::uint8_t colorOp, colorArg0, colorArg1, colorArg2;
    std::uint8_t alphaOp, alphaArg0, alphaArg1, alphaArg2;
    std::uint8_t texCoordIndex;
    std::uint8_t hasTexture;
};

// Zero-initialised and compared byte for byte: every field is a small integer.
struct FfpKey {
    // The vertex's components, from the mesh's declaration.
    std::uint8_t hasNormal, hasColor0, hasColor1;
    std::uint8_t texCoordSets;  // a bit per TEXCOORDn the vertex has
    std::uint8_t lighting, normalizeNormals, localViewer, specularEnable;
    // Where each material colour comes from: 0 the material, 1 the vertex's first colour
    // (D3DMCS_COLOR1), 2 its second; only a colour the vertex has.
    std::uint8_t diffuseSource, ambientSource, specularSource, emissiveSource;
    std::uint8_t flatShading;             // both colours from each triangle's first vertex
    std::uint8_t alphaFunc;               // the alpha test's D3DCMPFUNC; 0 without a test
    std::uint8_t lightTypes[kMaxLights];  // 0 off, else the D3DLIGHTTYPE
    FfpStage stages[kMaxStages];
    // With a pixel shader the fragment stage is the shader's; the vertex stage feeds it the
    // texture coordinate sets it reads.
    std::uint8_t pixelShader, shaderTexCoords;

    bool operator<(const FfpKey& o) const { return std::memcmp(this, &o, sizeof *this) < 0; }
    bool operator==(const FfpKey& o) const { return std::memcmp(this, &o, sizeof *this) == 0; }
};

std::string FfpVertexShader(const FfpKey& key);
std::string FfpFragmentShader(const FfpKey& key);
// The alpha test added to a translated pixel shader: its COLOR0 output compared with uAlphaRef
// at the end of main. False (the text unchanged) where the shader writes no COLOR0.
bool AddAlphaTest(std::string& glsl, int alphaFunc);

// Where a program's uniforms are; -1 where the program has none.
struct ProgramUniforms {
    GLint world = -1, view = -1, projection = -1, normalMatrix = -1, clipAdjust = -1;
    GLint globalAmbient = -1, matDiffuse = -1, matAmbient = -1, matSpecular = -1, matEmissive = -1,
          matPower = -1;
    GLint lightDiffuse = -1, lightSpecular = -1, lightAmbient = -1, lightPosition = -1,
          lightDirection = -1, lightAttenuation = -1, lightSpot = -1;
    GLint textureFactor = -1, alphaRef = -1;
    GLint stageSamplers[kMaxStages] = {-1, -1, -1, -1};

    void Find(GLuint program);
};

// Compiles one stage; on failure a "GL:" line with the driver's log and 0.
GLuint CompileShader(GLenum type, const std::string& source, const char* what);
// Links two compiled stages (which stay the caller's); on failure a "GL:" line and 0.
GLuint LinkShaders(GLuint vertexShader, GLuint fragmentShader, const char* what);
// Compiles and links a program; on failure a "GL:" line with the log and 0.
GLuint LinkProgram(const std::string& vertexSource, const std::string& fragmentSource,
                   const char* what);

}  // namespace gl
