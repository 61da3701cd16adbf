// Shader constants on the OpenGL device (see gl_constants.h).
#include "platform/gl/gl_constants.h"

namespace gl {

ConstantLocations FindConstantLocations(GLuint program, const TranslatedShader& shader) {
    ConstantLocations where;
    for (const d3dx::ConstantVar& c : shader.constants) {
        if (c.registerSet == D3DXRS_SAMPLER) continue;
        const GLint location = glGetUniformLocation(program, c.name.c_str());
        if (location >= 0) where.entries.push_back({location, c});
    }
    return where;
}

void UploadConstants(const ConstantLocations& where, const d3d9::StageConstants& registers) {
    for (const ConstantLocations::Entry& e : where.entries) {
        const d3dx::ConstantVar& c = e.constant;
        if (c.registerSet == D3DXRS_FLOAT4 && c.registerIndex < registers.floats.size()) {
            glUniform4fv(e.location, 1, registers.floats[c.registerIndex].data());
        }
    }
}

}  // namespace gl
