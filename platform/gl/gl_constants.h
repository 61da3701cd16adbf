// Shader constants on the OpenGL device: where a linked program reads the constants of its
// translated shaders, found once after linking, and the upload of a stage's registers to them.
#pragma once

#include <epoxy/gl.h>

#include <vector>

#include "platform/d3d9/stage_constants.h"
#include "platform/gl/gl_shaders.h"

namespace gl {

// The uniforms through which one program's shader of one stage reads its constant registers.
struct ConstantLocations {
    struct Entry {
        GLint location = -1;
        d3dx::ConstantVar constant;  // which registers feed it, and their shape
    };
    std::vector<Entry> entries;
    bool Empty() const { return entries.empty(); }
};

ConstantLocations FindConstantLocations(GLuint program, const TranslatedShader& shader);
// Uploads the registers the program's shader reads; the program must be in use.
void UploadConstants(const ConstantLocations& where, const d3d9::StageConstants& registers);

}  // namespace gl
