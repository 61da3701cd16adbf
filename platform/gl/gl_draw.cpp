// Drawing: the program for the current state (fixed-function by key, or with the bound
// shaders), the fixed OpenGL state through the cache, uniforms uploaded only where their group
// changed since the program last saw it, stage textures and samplers, and the draw itself.
#include <cstdio>
#include <cstring>

#include "platform/gl/gl_device.h"
#include "platform/gl/gl_translate.h"

namespace gl {
namespace {

void Upload4(GLint location, const D3DCOLORVALUE& c) {
    if (location >= 0) glUniform4f(location, c.r, c.g, c.b, c.a);
}

Vec3 TransformPoint(const Vec3& v, const Matrix4& m) {
    return {v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0],
            v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1],
            v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2] + m.m[3][2]};
}

Vec3 TransformDirection(const Vec3& v, const Matrix4& m) {
    Vec3 out{v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0],
             v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
             v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]};
    D3DXVec3Normalize(&out, &out);
    return out;
}

}  // namespace

// The key from the mesh's layout and the device's part, which is rebuilt only after a change.
FfpKey GlDevice::KeyFor(const GlMesh& mesh) {
    if (keyDirty_) {
        baseKey_ = BaseKey();
        keyDirty_ = false;
    }
    FfpKey key = baseKey_;
    const DWORD fvf = mesh.Data().fvf;
    key.hasNormal = (fvf & D3DFVF_NORMAL) != 0;
    key.hasColor = (fvf & D3DFVF_DIFFUSE) != 0;
    key.hasTexCoord = (fvf & D3DFVF_TEX1) != 0;
    // Material colours follow the vertex only where the vertex has a colour.
    if (!key.hasColor) {
        key.diffuseFromVertex = key.ambientFromVertex = key.specularFromVertex =
            key.emissiveFromVertex = 0;
    }
    return key;
}

FfpKey GlDevice::BaseKey() const {
    FfpKey key;
    std::memset(&key, 0, sizeof key);
    const DWORD* rs = renderStates_;
    key.lighting = rs[D3DRS_LIGHTING] != FALSE;
    if (key.lighting) {
        key.normalizeNormals = rs[D3DRS_NORMALIZENORMALS] != FALSE;
        key.localViewer = rs[D3DRS_LOCALVIEWER] != FALSE;
        key.specularEnable = rs[D3DRS_SPECULARENABLE] != FALSE;
        const bool colorVertex = rs[D3DRS_COLORVERTEX] != FALSE;
        // Only COLOR1 exists in these meshes; a source of COLOR2 falls back to the material.
        key.diffuseFromVertex = colorVertex && rs[D3DRS_DIFFUSEMATERIALSOURCE] == D3DMCS_COLOR1;
        key.ambientFromVertex = colorVertex && rs[D3DRS_AMBIENTMATERIALSOURCE] == D3DMCS_COLOR1;
        key.specularFromVertex = colorVertex && rs[D3DRS_SPECULARMATERIALSOURCE] == D3DMCS_COLOR1;
        key.emissiveFromVertex = colorVertex && rs[D3DRS_EMISSIVEMATERIALSOURCE] == D3DMCS_COLOR1;
        for (int i = 0; i < kMaxLights; ++i) {
            key.lightTypes[i] = lightEnabled_[i] ? static_cast<std::uint8_t>(lights_[i].Type) : 0;
        }
    }
    if (pixelShader_) {
        key.pixelShader = 1;
        key.shaderTexCoords = static_cast<std::uint8_t>(pixelShader_->Shader().texCoordsRead);
    } else {
        for (int s = 0; s < kMaxStages; ++s) {
            const DWORD* st = stageStates_[s];
            FfpStage& stage = key.stages[s];
            stage.colorOp = static_cast<std::uint8_t>(st[D3DTSS_COLOROP]);
            if (stage.colorOp == D3DTOP_DISABLE) break;
            stage.colorArg1 = static_cast<std::uint8_t>(st[D3DTSS_COLORARG1]);
            stage.colorArg2 = static_cast<std::uint8_t>(st[D3DTSS_COLORARG2]);
            stage.alphaOp = static_cast<std::uint8_t>(st[D3DTSS_ALPHAOP]);
            stage.alphaArg1 = static_cast<std::uint8_t>(st[D3DTSS_ALPHAARG1]);
            stage.alphaArg2 = static_cast<std::uint8_t>(st[D3DTSS_ALPHAARG2]);
            stage.texCoordIndex = static_cast<std::uint8_t>(st[D3DTSS_TEXCOORDINDEX] & 7);
            stage.hasTexture = textures_[s] != nullptr;
        }
    }
    return key;
}

GlDevice::Program* GlDevice::ProgramFor(const FfpKey& key) {
    const bool shaders = pixelShader_ || vertexShader_;
    Program* program = nullptr;
    if (!shaders) {
        auto [it, added] = ffpPrograms_.try_emplace(key);
        program = &it->second;
        if (!added) return program->failed ? nullptr : program;
        program->id = LinkProgram(FfpVertexShader(key), FfpFragmentShader(key), "fixed-function");
    } else {
        const void* pair = pixelShader_ ? static_cast<const void*>(pixelShader_)
                                        : static_cast<const void*>(vertexShader_);
        auto [it, added] = shaderPrograms_.try_emplace({key, pair});
        program = &it->second;
        if (!added) return program->failed ? nullptr : program;
        FfpKey vertexKey = key;
        if (pixelShader_ && !vertexShader_) {
            program->id = LinkProgram(FfpVertexShader(vertexKey), pixelShader_->Shader().glsl,
                                      "pixel shader");
        } else if (vertexShader_) {
            const std::string fragment =
                pixelShader_ ? pixelShader_->Shader().glsl : FfpFragmentShader(key);
            program->id = LinkProgram(vertexShader_->Shader().glsl, fragment, "vertex shader");
        }
        if (pixelShader_) program->samplers = pixelShader_->Shader().samplers;
    }
    if (program->id && vertexShader_)
        program->vertexConstants = FindConstantLocations(program->id, vertexShader_->Shader());
    if (program->id && pixelShader_)
        program->pixelConstants = FindConstantLocations(program->id, pixelShader_->Shader());
    if (!program->id) {
        program->failed = true;
        return nullptr;
    }
    program->uniforms.Find(program->id);
    cache_.UseProgram(program->id);
    // Sampler uniforms name their texture units once: stage N's texture sits on unit N.
    for (int s = 0; s < kMaxStages; ++s) {
        if (program->uniforms.stageSamplers[s] >= 0)
            glUniform1i(program->uniforms.stageSamplers[s], s);
    }
    for (const SamplerBinding& b : program->samplers) {
        const GLint at = glGetUniformLocation(program->id, b.name.c_str());
        if (at >= 0) glUniform1i(at, b.reg);
    }
    if (program->uniforms.clipAdjust >= 0) {
        glUniform2f(program->uniforms.clipAdjust, 1.0f / static_cast<float>(width_),
                    1.0f / static_cast<float>(height_));
    }
    return program;
}

void GlDevice::FlushState() {
    if (!glStateDirty_) return;
    glStateDirty_ = false;
    const DWORD* rs = renderStates_;
    cache_.BindFramebuffer(framebuffer_);
    cache_.Viewport(0, 0, width_, height_);
    cache_.Enable(GL_SCISSOR_TEST, false);
    const bool depth = rs[D3DRS_ZENABLE] != D3DZB_FALSE && depthBuffer_;
    cache_.Enable(GL_DEPTH_TEST, depth);
    if (depth) {
        cache_.DepthFunc(CompareOf(rs[D3DRS_ZFUNC]));
        cache_.DepthMask(rs[D3DRS_ZWRITEENABLE] != FALSE);
    }
    const CullMode cull = CullOf(rs[D3DRS_CULLMODE]);
    cache_.Enable(GL_CULL_FACE, cull.enabled);
    if (cull.enabled) cache_.CullFace(cull.face);
    cache_.PolygonMode(PolygonModeOf(rs[D3DRS_FILLMODE]));
    const bool blend = rs[D3DRS_ALPHABLENDENABLE] != FALSE;
    cache_.Enable(GL_BLEND, blend);
    if (blend) cache_.BlendFunc(BlendOf(rs[D3DRS_SRCBLEND]), BlendOf(rs[D3DRS_DESTBLEND]));
    if (samples_) cache_.Enable(GL_MULTISAMPLE, rs[D3DRS_MULTISAMPLEANTIALIAS] != FALSE);
}

void GlDevice::UploadUniforms(Program& program) {
    const ProgramUniforms& u = program.uniforms;
    if (program.transforms != transformGeneration_) {
        program.transforms = transformGeneration_;
        // Uploaded as stored, row by row: see the note in gl_ffp.cpp.
        if (u.world >= 0) glUniformMatrix4fv(u.world, 1, GL_FALSE, &world_.m[0][0]);
        if (u.view >= 0) glUniformMatrix4fv(u.view, 1, GL_FALSE, &view_.m[0][0]);
        if (u.projection >= 0) glUniformMatrix4fv(u.projection, 1, GL_FALSE, &projection_.m[0][0]);
        cache_.CountUniform();
    }
    if (program.material != materialGeneration_) {
        program.material = materialGeneration_;
        Upload4(u.matDiffuse, material_.Diffuse);
        Upload4(u.matAmbient, material_.Ambient);
        Upload4(u.matSpecular, material_.Specular);
        Upload4(u.matEmissive, material_.Emissive);
        if (u.matPower >= 0) glUniform1f(u.matPower, material_.Power);
        cache_.CountUniform();
    }
    if (program.states != stateGeneration_) {
        program.states = stateGeneration_;
        const Rgba ambient = ColorOf(renderStates_[D3DRS_AMBIENT]);
        const Rgba factor = ColorOf(renderStates_[D3DRS_TEXTUREFACTOR]);
        if (u.globalAmbient >= 0)
            glUniform4f(u.globalAmbient, ambient.r, ambient.g, ambient.b, ambient.a);
        if (u.textureFactor >= 0)
            glUniform4f(u.textureFactor, factor.r, factor.g, factor.b, factor.a);
        cache_.CountUniform();
    }
    if (program.lights != lightGeneration_ && u.lightDiffuse >= 0) {
        program.lights = lightGeneration_;
        // Lights go to view space, where the vertex stage lights.
        float diffuse[kMaxLights][4], specular[kMaxLights][4], ambient[kMaxLights][4];
        float position[kMaxLights][3], direction[kMaxLights][3], attenuation[kMaxLights][4],
            spot[kMaxLights][3];
        for (int i = 0; i < kMaxLights; ++i) {
            const D3DLIGHT9& l = lights_[i];
            std::memcpy(diffuse[i], &l.Diffuse, 16);
            std::memcpy(specular[i], &l.Specular, 16);
            std::memcpy(ambient[i], &l.Ambient, 16);
            const Vec3 p = TransformPoint(l.Position, view_);
            const Vec3 d = TransformDirection(l.Direction, view_);
            std::memcpy(position[i], &p, 12);
            std::memcpy(direction[i], &d, 12);
            const float a[4] = {l.Range, l.Attenuation0, l.Attenuation1, l.Attenuation2};
            std::memcpy(attenuation[i], a, 16);
            const float s[3] = {l.Falloff, std::cos(l.Theta / 2), std::cos(l.Phi / 2)};
            std::memcpy(spot[i], s, 12);
        }
        glUniform4fv(u.lightDiffuse, kMaxLights, &diffuse[0][0]);
        if (u.lightSpecular >= 0) glUniform4fv(u.lightSpecular, kMaxLights, &specular[0][0]);
        if (u.lightAmbient >= 0) glUniform4fv(u.lightAmbient, kMaxLights, &ambient[0][0]);
        if (u.lightPosition >= 0) glUniform3fv(u.lightPosition, kMaxLights, &position[0][0]);
        if (u.lightDirection >= 0) glUniform3fv(u.lightDirection, kMaxLights, &direction[0][0]);
        if (u.lightAttenuation >= 0)
            glUniform4fv(u.lightAttenuation, kMaxLights, &attenuation[0][0]);
        if (u.lightSpot >= 0) glUniform3fv(u.lightSpot, kMaxLights, &spot[0][0]);
        cache_.CountUniform();
    }
}

GLuint GlDevice::SamplerFor(int stage) {
    if (!(samplerDirty_ & (1u << stage))) return stageSamplers_[stage];
    samplerDirty_ &= ~(1u << stage);
    const DWORD* s = samplerStates_[stage];
    const std::uint64_t key = (std::uint64_t{s[D3DSAMP_MINFILTER] & 0xF}) |
                              (std::uint64_t{s[D3DSAMP_MAGFILTER] & 0xF} << 4) |
                              (std::uint64_t{s[D3DSAMP_MIPFILTER] & 0xF} << 8) |
                              (std::uint64_t{s[D3DSAMP_ADDRESSU] & 0xF} << 12) |
                              (std::uint64_t{s[D3DSAMP_ADDRESSV] & 0xF} << 16) |
                              (std::uint64_t{s[D3DSAMP_BORDERCOLOR]} << 20);
    auto [it, added] = samplerObjects_.try_emplace(key, 0);
    if (added) {
        glGenSamplers(1, &it->second);
        const GLuint id = it->second;
        glSamplerParameteri(
            id, GL_TEXTURE_MIN_FILTER,
            static_cast<GLint>(MinFilterOf(s[D3DSAMP_MINFILTER], s[D3DSAMP_MIPFILTER])));
        glSamplerParameteri(id, GL_TEXTURE_MAG_FILTER,
                            static_cast<GLint>(MagFilterOf(s[D3DSAMP_MAGFILTER])));
        glSamplerParameteri(id, GL_TEXTURE_WRAP_S,
                            static_cast<GLint>(AddressOf(s[D3DSAMP_ADDRESSU])));
        glSamplerParameteri(id, GL_TEXTURE_WRAP_T,
                            static_cast<GLint>(AddressOf(s[D3DSAMP_ADDRESSV])));
        const Rgba border = ColorOf(s[D3DSAMP_BORDERCOLOR]);
        const float b[4] = {border.r, border.g, border.b, border.a};
        glSamplerParameterfv(id, GL_TEXTURE_BORDER_COLOR, b);
    }
    return stageSamplers_[stage] = it->second;
}

void GlDevice::BindStageTextures(const Program& program) {
    const auto bind = [&](int stage) {
        auto* texture = static_cast<GlTexture*>(textures_[stage]);
        cache_.BindTexture(stage, GL_TEXTURE_2D, texture ? texture->Id() : 0);
        cache_.BindSampler(stage, SamplerFor(stage));
    };
    if (!program.samplers.empty()) {
        for (const SamplerBinding& b : program.samplers) {
            if (b.reg >= 0 && b.reg < kSamplers) bind(b.reg);
        }
        return;
    }
    for (int s = 0; s < kMaxStages; ++s) {
        if (program.uniforms.stageSamplers[s] >= 0) bind(s);
    }
}

HRESULT GlDevice::DrawMeshSubset(GlMesh& mesh, DWORD attribute) {
    if (!inScene_) return D3DERR_INVALIDCALL;
    const D3DXATTRIBUTERANGE& range = mesh.Range(attribute);
    if (range.FaceCount == 0) return D3D_OK;
    const FfpKey key = KeyFor(mesh);
    // Most draws repeat the previous one's program: that is checked before the cache is searched.
    Program* program = lastProgram_;
    if (!program || !(key == lastKey_) || lastPixelShader_ != pixelShader_ ||
        lastVertexShader_ != vertexShader_) {
        program = ProgramFor(key);
        lastKey_ = key;
        lastProgram_ = program;
        lastPixelShader_ = pixelShader_;
        lastVertexShader_ = vertexShader_;
    }
    if (!program) return D3D_OK;  // reported when it failed to link
    FlushState();
    cache_.UseProgram(program->id);
    UploadUniforms(*program);
    if (!program->vertexConstants.Empty() &&
        program->vertexConstantGeneration != vertexConstants_.generation) {
        program->vertexConstantGeneration = vertexConstants_.generation;
        UploadConstants(program->vertexConstants, vertexConstants_);
    }
    if (!program->pixelConstants.Empty() &&
        program->pixelConstantGeneration != pixelConstants_.generation) {
        program->pixelConstantGeneration = pixelConstants_.generation;
        UploadConstants(program->pixelConstants, pixelConstants_);
    }
    BindStageTextures(*program);
    cache_.BindVertexArray(mesh.Vao());
    const bool wide = mesh.GetOptions() & D3DXMESH_32BIT;
    const std::size_t indexBytes = wide ? 4 : 2;
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(range.FaceCount * 3),
                   wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                   reinterpret_cast<const void*>(std::size_t{range.FaceStart} * 3 * indexBytes));
    cache_.CountDraw();
    return D3D_OK;
}

}  // namespace gl
