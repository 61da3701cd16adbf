// The fixed-function pipeline as GLSL: programs generated from a small key of the states that
// change the shader text (lighting, the vertex's components, light types, texture stage
// operations), cached by key by the device. Numbers (matrices, colours, light parameters) are
// uniforms.
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
    std::uint8_t colorOp, colorArg1, colorArg2;
    std::uint8_t alphaOp, alphaArg1, alphaArg2;
    std::uint8_t texCoordIndex;
    std::uint8_t hasTexture;
};

// Zero-initialised and compared byte for byte: every field is a small integer.
struct FfpKey {
    std::uint8_t hasNormal, hasColor, hasTexCoord;
    std::uint8_t lighting, normalizeNormals, localViewer, specularEnable;
    // Where each material colour comes from: 0 the material, 1 the vertex colour.
    std::uint8_t diffuseFromVertex, ambientFromVertex, specularFromVertex, emissiveFromVertex;
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

// Attribute locations of the fixed-function vertex stage.
enum : GLuint { kPositionAttrib = 0, kNormalAttrib = 1, kColorAttrib = 2, kTexCoordAttrib = 3 };

// Where a program's uniforms are; -1 where the program has none.
struct ProgramUniforms {
    GLint world = -1, view = -1, projection = -1, clipAdjust = -1;
    GLint globalAmbient = -1, matDiffuse = -1, matAmbient = -1, matSpecular = -1, matEmissive = -1,
          matPower = -1;
    GLint lightDiffuse = -1, lightSpecular = -1, lightAmbient = -1, lightPosition = -1,
          lightDirection = -1, lightAttenuation = -1, lightSpot = -1;
    GLint textureFactor = -1;
    GLint stageSamplers[kMaxStages] = {-1, -1, -1, -1};

    void Find(GLuint program);
};

// Compiles and links a program; on failure a "GL:" line with the log and 0.
GLuint LinkProgram(const std::string& vertexSource, const std::string& fragmentSource,
                   const char* what);

}  // namespace gl
