// Shaders on the OpenGL device: the GLSL 330 that the compile child translated
// (platform/d3dx/hlsl/shader_translate.h), read from the code container and compiled by the driver
// when the shader is created, so that GLSL the driver refuses is a failed Create*Shader with
// the driver's log on stderr rather than a blank scene later. Programs link the compiled stage
// with the fixed-function stage or the other shader; releasing a shader evicts its programs.
#pragma once

#include <epoxy/gl.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/d3d9/backend.h"
#include "platform/d3dx/hlsl/shader_translate.h"

namespace gl {

class GlDevice;

using d3dx::SamplerBinding;
using d3dx::TranslatedShader;

class GlShader final : public d3d9::BackendObject {
  public:
    // Null, after a "GL:" line saying why, when the code carries no translation of the stage or
    // the driver does not compile it.
    static std::unique_ptr<GlShader> Create(GlDevice& device, const DWORD* code,
                                            d3d9::ShaderStage stage);
    ~GlShader() override;

    const TranslatedShader& Shader() const { return shader_; }
    GLuint Compiled() const { return compiled_; }
    // A number no other shader of the process gets, unlike an address that may be reused.
    std::uint64_t Id() const { return id_; }

  private:
    GlShader(GlDevice& device, TranslatedShader shader, GLuint compiled);
    GlDevice& device_;
    TranslatedShader shader_;
    GLuint compiled_;
    std::uint64_t id_;
};

}  // namespace gl
