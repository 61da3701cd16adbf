// What a draw sets besides its program, each only where it changed: the fixed OpenGL state
// through the compare-then-call cache, uniforms uploaded only where their group changed since
// the program last saw it, and stage textures with their sampler objects.
#include <cmath>
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

float FloatOf(DWORD bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

}  // namespace

// Normals go by the inverse transpose of world x view's upper 3 x 3: the cofactor matrix over
// the determinant (the cofactors alone for a singular matrix, which flattens the mesh anyway).
// Uploaded row by row like the other matrices, it applies to row vectors as Direct3D does.
void GlDevice::UpdateNormalMatrix() {
    Matrix4 wv;
    D3DXMatrixMultiply(&wv, &DrawState().world[0], &DrawState().view);
    const auto a = [&](int r, int c) { return wv.m[r][c]; };
    const float c[9] = {
        a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1), a(1, 2) * a(2, 0) - a(1, 0) * a(2, 2),
        a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0), a(0, 2) * a(2, 1) - a(0, 1) * a(2, 2),
        a(0, 0) * a(2, 2) - a(0, 2) * a(2, 0), a(0, 1) * a(2, 0) - a(0, 0) * a(2, 1),
        a(0, 1) * a(1, 2) - a(0, 2) * a(1, 1), a(0, 2) * a(1, 0) - a(0, 0) * a(1, 2),
        a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0)};
    const float det = a(0, 0) * c[0] + a(0, 1) * c[1] + a(0, 2) * c[2];
    const float scale = det != 0.0f && std::isfinite(det) ? 1.0f / det : 1.0f;
    for (int i = 0; i < 9; ++i) normalMatrix_[i] = c[i] * scale;
}

void GlDevice::FlushState() {
    if (!glStateDirty_) return;
    glStateDirty_ = false;
    const DWORD* rs = DrawState().renderStates;
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
    if (blend) {
        const BlendFactors f = BlendFactorsOf(rs[D3DRS_SRCBLEND], rs[D3DRS_DESTBLEND]);
        cache_.BlendFunc(f.src, f.dst);
        cache_.BlendEquation(BlendOpOf(rs[D3DRS_BLENDOP]));
        cache_.BlendColor(rs[D3DRS_BLENDFACTOR]);
    }
    // A back buffer without alpha keeps reading alpha 1: nothing writes its alpha.
    const DWORD writes = rs[D3DRS_COLORWRITEENABLE] & (alphaWritable_ ? 0xF : 0x7);
    cache_.ColorMask(writes);
    if (samples_) cache_.Enable(GL_MULTISAMPLE, rs[D3DRS_MULTISAMPLEANTIALIAS] != FALSE);
}

void GlDevice::UploadTransforms(const ProgramUniforms& u) {
    const d3d9::DeviceState& state = DrawState();
    // Uploaded as stored, row by row: see the note in gl_ffp.cpp.
    if (u.world >= 0) glUniformMatrix4fv(u.world, 1, GL_FALSE, &state.world[0].m[0][0]);
    if (u.view >= 0) glUniformMatrix4fv(u.view, 1, GL_FALSE, &state.view.m[0][0]);
    if (u.projection >= 0) glUniformMatrix4fv(u.projection, 1, GL_FALSE, &state.projection.m[0][0]);
    if (u.normalMatrix >= 0) glUniformMatrix3fv(u.normalMatrix, 1, GL_FALSE, normalMatrix_);
    cache_.CountUniform();
}

void GlDevice::UploadLights(const ProgramUniforms& u) {
    const d3d9::DeviceState& state = DrawState();
    // The active lights, in the order they were enabled, go to view space, where the vertex
    // stage lights.
    float diffuse[kMaxLights][4] = {}, specular[kMaxLights][4] = {}, ambient[kMaxLights][4] = {};
    float position[kMaxLights][3] = {}, direction[kMaxLights][3] = {},
          attenuation[kMaxLights][4] = {}, spot[kMaxLights][3] = {};
    for (DWORD i = 0; i < state.ActiveLightCount(); ++i) {
        const D3DLIGHT9& l = state.ActiveLight(i);
        std::memcpy(diffuse[i], &l.Diffuse, 16);
        std::memcpy(specular[i], &l.Specular, 16);
        std::memcpy(ambient[i], &l.Ambient, 16);
        const Vec3 p = TransformPoint(l.Position, state.view);
        const Vec3 d = TransformDirection(l.Direction, state.view);
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
    if (u.lightAttenuation >= 0) glUniform4fv(u.lightAttenuation, kMaxLights, &attenuation[0][0]);
    if (u.lightSpot >= 0) glUniform3fv(u.lightSpot, kMaxLights, &spot[0][0]);
    cache_.CountUniform();
}

void GlDevice::UploadUniforms(Program& program) {
    const ProgramUniforms& u = program.uniforms;
    const d3d9::DeviceState& state = DrawState();
    if (program.transforms != transformGeneration_) {
        program.transforms = transformGeneration_;
        UploadTransforms(u);
    }
    if (program.material != materialGeneration_) {
        program.material = materialGeneration_;
        const D3DMATERIAL9& m = state.material;
        Upload4(u.matDiffuse, m.Diffuse);
        Upload4(u.matAmbient, m.Ambient);
        Upload4(u.matSpecular, m.Specular);
        Upload4(u.matEmissive, m.Emissive);
        if (u.matPower >= 0) glUniform1f(u.matPower, m.Power);
        cache_.CountUniform();
    }
    if (program.states != stateGeneration_) {
        program.states = stateGeneration_;
        const Rgba ambient = ColorOf(state.renderStates[D3DRS_AMBIENT]);
        const Rgba factor = ColorOf(state.renderStates[D3DRS_TEXTUREFACTOR]);
        if (u.globalAmbient >= 0)
            glUniform4f(u.globalAmbient, ambient.r, ambient.g, ambient.b, ambient.a);
        if (u.textureFactor >= 0)
            glUniform4f(u.textureFactor, factor.r, factor.g, factor.b, factor.a);
        if (u.alphaRef >= 0)
            glUniform1f(u.alphaRef, static_cast<float>(state.renderStates[D3DRS_ALPHAREF] & 0xFF));
        cache_.CountUniform();
    }
    if (program.lights != lightGeneration_ && u.lightDiffuse >= 0) {
        program.lights = lightGeneration_;
        UploadLights(u);
    }
}

GLuint GlDevice::SamplerFor(int slot) {
    if (!(samplerDirty_ & (1u << slot))) return slotSamplers_[slot];
    samplerDirty_ &= ~(1u << slot);
    const DWORD* s = DrawState().samplerStates[slot];
    const bool anisotropic =
        s[D3DSAMP_MINFILTER] == D3DTEXF_ANISOTROPIC || s[D3DSAMP_MAGFILTER] == D3DTEXF_ANISOTROPIC;
    const bool mipmapped = s[D3DSAMP_MIPFILTER] != D3DTEXF_NONE;
    SamplerKey key{};
    key.minFilter = s[D3DSAMP_MINFILTER];
    key.magFilter = s[D3DSAMP_MAGFILTER];
    key.mipFilter = s[D3DSAMP_MIPFILTER];
    key.addressU = s[D3DSAMP_ADDRESSU];
    key.addressV = s[D3DSAMP_ADDRESSV];
    key.borderColor = s[D3DSAMP_BORDERCOLOR];
    key.mipLodBias = s[D3DSAMP_MIPMAPLODBIAS];
    key.maxMipLevel = mipmapped ? s[D3DSAMP_MAXMIPLEVEL] : 0;
    key.maxAnisotropy = anisotropic ? s[D3DSAMP_MAXANISOTROPY] : 1;
    auto [it, added] = samplerObjects_.try_emplace(key, 0);
    if (added) it->second = MakeSampler(key);
    return slotSamplers_[slot] = it->second;
}

GLuint GlDevice::MakeSampler(const SamplerKey& k) {
    GLuint id = 0;
    glGenSamplers(1, &id);
    glSamplerParameteri(id, GL_TEXTURE_MIN_FILTER,
                        static_cast<GLint>(MinFilterOf(k.minFilter, k.mipFilter)));
    glSamplerParameteri(id, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(MagFilterOf(k.magFilter)));
    glSamplerParameteri(id, GL_TEXTURE_WRAP_S, static_cast<GLint>(AddressOf(k.addressU)));
    glSamplerParameteri(id, GL_TEXTURE_WRAP_T, static_cast<GLint>(AddressOf(k.addressV)));
    const Rgba border = ColorOf(k.borderColor);
    const float b[4] = {border.r, border.g, border.b, border.a};
    glSamplerParameterfv(id, GL_TEXTURE_BORDER_COLOR, b);
    // MIPMAPLODBIAS is a float in the DWORD; MAXMIPLEVEL names the largest (most detailed)
    // level used, the lowest level of detail OpenGL may pick.
    const float bias = FloatOf(k.mipLodBias);
    glSamplerParameterf(id, GL_TEXTURE_LOD_BIAS, std::isfinite(bias) ? bias : 0.0f);
    glSamplerParameterf(id, GL_TEXTURE_MIN_LOD,
                        static_cast<float>(std::min<DWORD>(k.maxMipLevel, 1000)));
    if (maxAnisotropy_ > 1.0f) {
        const float wanted =
            static_cast<float>(std::max<DWORD>(1, std::min<DWORD>(k.maxAnisotropy, 16)));
        glSamplerParameterf(id, GL_TEXTURE_MAX_ANISOTROPY_EXT, std::min(wanted, maxAnisotropy_));
    }
    return id;
}

void GlDevice::BindStageTextures(const Program& program) {
    const auto bind = [&](int slot, int unit) {
        const d3d9::Texture* texture = DrawState().textures[slot];
        const auto* made = texture ? dynamic_cast<const GlTexture*>(texture->Object()) : nullptr;
        cache_.BindTexture(unit, GL_TEXTURE_2D, made ? made->Id() : 0);
        cache_.BindSampler(unit, SamplerFor(slot));
    };
    for (const SamplerBinding& b : program.vertexSamplers) {
        // vs_3_0's sN reads vertex texture sampler N (D3DVERTEXTEXTURESAMPLER0 + N).
        const int slot = d3d9::SamplerSlot(D3DVERTEXTEXTURESAMPLER0 + static_cast<DWORD>(b.reg));
        if (b.reg >= 0 && slot >= 0 && b.reg < 4) bind(slot, kVertexSamplerUnit + b.reg);
    }
    if (!program.samplers.empty()) {
        for (const SamplerBinding& b : program.samplers) {
            if (b.reg >= 0 && b.reg < static_cast<int>(d3d9::kPixelSamplers)) bind(b.reg, b.reg);
        }
        return;
    }
    for (int s = 0; s < kMaxStages; ++s) {
        if (program.uniforms.stageSamplers[s] >= 0) bind(s, s);
    }
}

}  // namespace gl
