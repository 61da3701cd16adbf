// Compiled shaders on the OpenGL device: the code container's SPIR-V cross-compiled to GLSL 330
// with SPIRV-Cross when the shader is created. A pixel shader's inputs are renamed by semantic
// (COLOR0, COLOR1, TEXCOORDn) to the outputs of whatever vertex stage it is linked with, so that
// they match by meaning, never by declaration order. A vertex shader's inputs take the
// attribute of their semantic and its POSITION output becomes the clip-space position.
#pragma once

#include <epoxy/gl.h>

#include <string>
#include <vector>

#include "platform/core/ref_counted.h"
#include "platform/d3dx/shader_container.h"
#include "platform/graphics_device.h"

namespace gl {

struct SamplerBinding {
    std::string name;  // as it stands in the GLSL
    int reg = 0;       // sN: reads stage N's texture and sampler states
};

struct TranslatedShader {
    std::string glsl;
    std::vector<SamplerBinding> samplers;
    int texCoordsRead = 0;  // TEXCOORDn inputs read: the largest n plus one
    std::vector<d3dx::ConstantVar> constants;  // the constant table: registers and shapes
};

// Returns false with a reason when the code is not a valid container of the stage.
bool TranslateShader(const DWORD* code, bool pixel, TranslatedShader& out, std::string& error);

class GlPixelShader : public platform::RefCounted<IDirect3DPixelShader9> {
  public:
    explicit GlPixelShader(TranslatedShader shader) : shader_(std::move(shader)) {}
    const TranslatedShader& Shader() const { return shader_; }

  private:
    TranslatedShader shader_;
};

class GlVertexShader : public platform::RefCounted<IDirect3DVertexShader9> {
  public:
    explicit GlVertexShader(TranslatedShader shader) : shader_(std::move(shader)) {}
    const TranslatedShader& Shader() const { return shader_; }

  private:
    TranslatedShader shader_;
};

}  // namespace gl
