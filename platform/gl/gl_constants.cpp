// Shader constants on the OpenGL device (see gl_constants.h).
#include "platform/gl/gl_constants.h"

#include <algorithm>
#include <array>

namespace gl {

ConstantLocations FindConstantLocations(GLuint program, const TranslatedShader& shader,
                                        bool vertexStage) {
    ConstantLocations where;
    if (shader.floatRegisters > 0) {
        where.floats = glGetUniformLocation(program, vertexStage ? "tessVC" : "tessC");
        where.floatCount = shader.floatRegisters;
    }
    if (shader.intRegisters > 0) {
        where.ints = glGetUniformLocation(program, vertexStage ? "tessVI" : "tessI");
        where.intCount = shader.intRegisters;
    }
    if (shader.boolRegisters > 0) {
        where.bools = glGetUniformLocation(program, vertexStage ? "tessVB" : "tessB");
        where.boolCount = shader.boolRegisters;
    }
    return where;
}

void UploadConstants(const ConstantLocations& where, const d3d9::StageConstants& registers) {
    if (where.floats >= 0) {
        const auto count =
            std::min<GLsizei>(where.floatCount, static_cast<GLsizei>(registers.floats.size()));
        glUniform4fv(where.floats, count, registers.floats[0].data());
    }
    if (where.ints >= 0) {
        const auto count =
            std::min<GLsizei>(where.intCount, static_cast<GLsizei>(registers.ints.size()));
        glUniform4iv(where.ints, count, registers.ints[0].data());
    }
    if (where.bools >= 0) {
        // BOOL is an int-sized register, as glUniform1iv takes for bool uniforms.
        std::array<GLint, d3d9::kBoolRegisters> bools{};
        const auto count = std::min<GLsizei>(where.boolCount, static_cast<GLsizei>(bools.size()));
        for (GLsizei i = 0; i < count; ++i) bools[i] = registers.bools[i] != FALSE;
        glUniform1iv(where.bools, count, bools.data());
    }
}

}  // namespace gl
