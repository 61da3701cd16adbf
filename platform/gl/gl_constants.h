// Shader constants on the OpenGL device: where a linked program's translated shader of one
// stage reads its constant registers, found once after linking, and the upload of that stage's
// register file to them. A translated shader reads every constant from three register arrays
// (uniform vec4 tessC[], ivec4 tessI[], bool tessB[]; platform/d3dx/hlsl/shader_registers.h), so
// the registers go up as Direct3D 9 holds them, whatever the constants' shapes.
#pragma once

#include <epoxy/gl.h>

#include "platform/d3d9/stage_constants.h"
#include "platform/gl/gl_shaders.h"

namespace gl {

// The register arrays one program's shader of one stage reads, and how many of each.
struct ConstantLocations {
    GLint floats = -1, ints = -1, bools = -1;
    GLsizei floatCount = 0, intCount = 0, boolCount = 0;
    bool Empty() const { return floats < 0 && ints < 0 && bools < 0; }
};

// A vertex shader's arrays carry the vertex stage's names (tessVC, tessVI, tessVB; see
// gl_shaders.cpp), so that they are not the pixel shader's.
ConstantLocations FindConstantLocations(GLuint program, const TranslatedShader& shader,
                                        bool vertexStage);
// Uploads the registers the program's shader reads; the program must be in use.
void UploadConstants(const ConstantLocations& where, const d3d9::StageConstants& registers);

}  // namespace gl
