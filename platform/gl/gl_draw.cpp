// Drawing: the state that changed taken from the front end, the program for the current state
// (fixed-function by key, or with the bound shaders), and the draw itself. The fixed OpenGL
// state, uniforms, textures and samplers it sets are in gl_state.cpp.
#include <cstdio>
#include <cstring>

#include "platform/gl/gl_device.h"
#include "platform/gl/gl_errors.h"
#include "platform/gl/gl_translate.h"

namespace gl {

void GlDevice::ApplyState(const d3d9::DeviceState&, const d3d9::Changes& changes) {
    using d3d9::Changes;
    stateChanged_ = true;  // a recorded frame's next draw takes a new copy of the state
    const std::uint32_t groups = changes.groups;
    if (groups & (Changes::kRenderStates | Changes::kStageStates | Changes::kLights |
                  Changes::kTextures | Changes::kShaders)) {
        keyDirty_ = true;
    }
    if (groups & Changes::kRenderStates) {
        glStateDirty_ = true;
        // Only these reach the programs as uniforms; the rest are read at each draw.
        if (changes.renderStates[D3DRS_AMBIENT] || changes.renderStates[D3DRS_TEXTUREFACTOR] ||
            changes.renderStates[D3DRS_ALPHAREF])
            ++stateGeneration_;
    }
    if (groups & Changes::kTransforms) {
        ++transformGeneration_;
        if (changes.transforms & Changes::kView) ++lightGeneration_;  // lights are in view space
        if (changes.transforms & (Changes::kWorld | Changes::kView)) UpdateNormalMatrix();
    }
    if (groups & Changes::kLights) ++lightGeneration_;
    if (groups & Changes::kMaterial) ++materialGeneration_;
    if (groups & Changes::kSamplerStates) samplerDirty_ |= changes.samplers;
}

const GlShader* GlDevice::BoundVertexShader() const {
    const d3d9::VertexShader* shader = DrawState().vertexShader;
    return shader ? dynamic_cast<const GlShader*>(shader->Object()) : nullptr;
}

const GlShader* GlDevice::BoundPixelShader() const {
    const d3d9::PixelShader* shader = DrawState().pixelShader;
    return shader ? dynamic_cast<const GlShader*>(shader->Object()) : nullptr;
}

// The key from the mesh's layout and the device's part, which is rebuilt only after a change.
FfpKey GlDevice::KeyFor(const GlMesh& mesh) {
    if (keyDirty_) {
        baseKey_ = BaseKey();
        keyDirty_ = false;
    }
    FfpKey key = baseKey_;
    const MeshLayout& layout = mesh.Layout();
    key.hasNormal = layout.hasNormal;
    key.hasColor0 = layout.hasColor0;
    key.hasColor1 = layout.hasColor1;
    key.texCoordSets = layout.texCoordSets;
    // A material colour follows a vertex colour only where the vertex has that colour; else the
    // material's own is used.
    const auto resolve = [&](std::uint8_t& source) {
        if ((source == D3DMCS_COLOR1 && !layout.hasColor0) ||
            (source == D3DMCS_COLOR2 && !layout.hasColor1))
            source = D3DMCS_MATERIAL;
    };
    resolve(key.diffuseSource);
    resolve(key.ambientSource);
    resolve(key.specularSource);
    resolve(key.emissiveSource);
    return key;
}

FfpKey GlDevice::BaseKey() const {
    FfpKey key;
    std::memset(&key, 0, sizeof key);
    const d3d9::DeviceState& state = DrawState();
    const DWORD* rs = state.renderStates;
    const GlShader* pixel = BoundPixelShader();
    key.lighting = rs[D3DRS_LIGHTING] != FALSE;
    key.specularEnable = rs[D3DRS_SPECULARENABLE] != FALSE;
    if (key.lighting) {
        key.normalizeNormals = rs[D3DRS_NORMALIZENORMALS] != FALSE;
        key.localViewer = rs[D3DRS_LOCALVIEWER] != FALSE;
        const bool colorVertex = rs[D3DRS_COLORVERTEX] != FALSE;
        const auto source = [&](D3DRENDERSTATETYPE s) {
            const DWORD v = rs[s];
            return static_cast<std::uint8_t>(
                colorVertex && (v == D3DMCS_COLOR1 || v == D3DMCS_COLOR2) ? v : D3DMCS_MATERIAL);
        };
        key.diffuseSource = source(D3DRS_DIFFUSEMATERIALSOURCE);
        key.ambientSource = source(D3DRS_AMBIENTMATERIALSOURCE);
        key.specularSource = source(D3DRS_SPECULARMATERIALSOURCE);
        key.emissiveSource = source(D3DRS_EMISSIVEMATERIALSOURCE);
        for (DWORD i = 0; i < state.ActiveLightCount(); ++i) {
            key.lightTypes[i] = static_cast<std::uint8_t>(state.ActiveLight(i).Type);
        }
    }
    // Flat colours need both stages' varyings declared flat: ours alone.
    key.flatShading = rs[D3DRS_SHADEMODE] == D3DSHADE_FLAT && !pixel && !BoundVertexShader();
    const DWORD alphaFunc = rs[D3DRS_ALPHAFUNC];
    if (rs[D3DRS_ALPHATESTENABLE] && alphaFunc >= D3DCMP_NEVER && alphaFunc < D3DCMP_ALWAYS)
        key.alphaFunc = static_cast<std::uint8_t>(alphaFunc);
    if (pixel) {
        key.pixelShader = 1;
        key.shaderTexCoords = static_cast<std::uint8_t>(pixel->Shader().texCoordsRead);
    } else {
        for (int s = 0; s < kMaxStages; ++s) {
            const DWORD* st = state.stageStates[s];
            FfpStage& stage = key.stages[s];
            stage.colorOp = static_cast<std::uint8_t>(st[D3DTSS_COLOROP]);
            if (stage.colorOp == D3DTOP_DISABLE) break;
            stage.colorArg0 = static_cast<std::uint8_t>(st[D3DTSS_COLORARG0]);
            stage.colorArg1 = static_cast<std::uint8_t>(st[D3DTSS_COLORARG1]);
            stage.colorArg2 = static_cast<std::uint8_t>(st[D3DTSS_COLORARG2]);
            stage.alphaOp = static_cast<std::uint8_t>(st[D3DTSS_ALPHAOP]);
            stage.alphaArg0 = static_cast<std::uint8_t>(st[D3DTSS_ALPHAARG0]);
            stage.alphaArg1 = static_cast<std::uint8_t>(st[D3DTSS_ALPHAARG1]);
            stage.alphaArg2 = static_cast<std::uint8_t>(st[D3DTSS_ALPHAARG2]);
            stage.texCoordIndex = static_cast<std::uint8_t>(st[D3DTSS_TEXCOORDINDEX] & 7);
            stage.hasTexture = state.textures[s] != nullptr;
        }
    }
    return key;
}

GlDevice::Program* GlDevice::ProgramFor(const FfpKey& key) {
    const GlShader* vertex = BoundVertexShader();
    const GlShader* pixel = BoundPixelShader();
    Program* program = nullptr;
    if (!vertex && !pixel) {
        auto [it, added] = ffpPrograms_.try_emplace(key);
        program = &it->second;
        if (!added) return program->failed ? nullptr : program;
        program->id = LinkProgram(FfpVertexShader(key), FfpFragmentShader(key), "fixed-function");
    } else {
        // With both shaders bound no fixed-function state is part of the program but the alpha
        // test, which is added to the pixel shader.
        FfpKey used = key;
        if (vertex && pixel) {
            std::memset(&used, 0, sizeof used);
            used.alphaFunc = key.alphaFunc;
        }
        auto [it, added] = shaderPrograms_.try_emplace(
            ShaderProgramKey{used, vertex ? vertex->Id() : 0, pixel ? pixel->Id() : 0});
        program = &it->second;
        if (!added) return program->failed ? nullptr : program;
        // The shaders are compiled already; the fixed-function stage they meet is made here.
        const char* what = vertex ? "vertex shader" : "pixel shader";
        const GLuint vs = vertex ? vertex->Compiled()
                                 : CompileShader(GL_VERTEX_SHADER, FfpVertexShader(key), what);
        GLuint fs = 0;
        bool ownFs = true;
        if (!pixel) {
            fs = CompileShader(GL_FRAGMENT_SHADER, FfpFragmentShader(key), what);
        } else if (std::string tested = pixel->Shader().glsl;
                   key.alphaFunc && AddAlphaTest(tested, key.alphaFunc)) {
            fs = CompileShader(GL_FRAGMENT_SHADER, tested, "pixel shader with the alpha test");
        } else {
            fs = pixel->Compiled();
            ownFs = false;
        }
        program->id = vs && fs ? LinkShaders(vs, fs, what) : 0;
        if (!vertex && vs) glDeleteShader(vs);
        if (ownFs && fs) glDeleteShader(fs);
        if (pixel) program->samplers = pixel->Shader().samplers;
        if (vertex) program->vertexSamplers = vertex->Shader().samplers;
    }
    if (!FinishProgram(*program, vertex, pixel)) {
        program->failed = true;
        return nullptr;
    }
    return program;
}

bool GlDevice::FinishProgram(Program& program, const GlShader* vertex, const GlShader* pixel) {
    if (program.id && vertex)
        program.vertexConstants = FindConstantLocations(program.id, vertex->Shader(), true);
    if (program.id && pixel)
        program.pixelConstants = FindConstantLocations(program.id, pixel->Shader(), false);
    if (!program.id) return false;
    program.uniforms.Find(program.id);
    cache_.UseProgram(program.id);
    // Sampler uniforms name their texture units once: stage N's texture sits on unit N, vertex
    // texture sampler N's on kVertexSamplerUnit + N.
    for (int s = 0; s < kMaxStages; ++s) {
        if (program.uniforms.stageSamplers[s] >= 0)
            glUniform1i(program.uniforms.stageSamplers[s], s);
    }
    for (const SamplerBinding& b : program.samplers) {
        const GLint at = glGetUniformLocation(program.id, b.name.c_str());
        if (at >= 0) glUniform1i(at, b.reg);
    }
    for (const SamplerBinding& b : program.vertexSamplers) {
        const GLint at = glGetUniformLocation(program.id, b.name.c_str());
        if (at >= 0) glUniform1i(at, kVertexSamplerUnit + b.reg);
    }
    if (program.uniforms.clipAdjust >= 0) {
        glUniform2f(program.uniforms.clipAdjust, 1.0f / static_cast<float>(width_),
                    1.0f / static_cast<float>(height_));
    }
    return true;
}

void GlDevice::DrawSubset(d3dx::MeshBase& base, DWORD attribute) {
    // Only this device makes the meshes it is given; anything else draws nothing.
    auto* made = dynamic_cast<GlMesh*>(&base);
    if (!made) return;
    if (recordFrames_) {
        if (stateChanged_ || !snapshot_) snapshot_ = std::make_shared<d3d9::DeviceState>(State());
        stateChanged_ = false;
        FrameEvent event;
        event.kind = FrameEvent::Kind::Mesh;
        event.state = snapshot_;
        event.mesh = made;
        event.attribute = attribute;
        RecordEvent(std::move(event));
    }
    DrawMesh(*made, attribute, nullptr, nullptr);
}

bool GlDevice::DrawMesh(GlMesh& mesh, DWORD attribute, const ReplayPass* pass, Program* program) {
    const D3DXATTRIBUTERANGE& range = mesh.Range(attribute);
    if (range.FaceCount == 0) return false;
    if (!program) {
        const FfpKey key = KeyFor(mesh);
        const GlShader* vertex = BoundVertexShader();
        const GlShader* pixel = BoundPixelShader();
        const std::uint64_t vertexId = vertex ? vertex->Id() : 0, pixelId = pixel ? pixel->Id() : 0;
        // Most draws repeat the previous one's program: that is checked before the cache is
        // searched.
        program = lastProgram_;
        if (!program || !(key == lastKey_) || lastVertexShader_ != vertexId ||
            lastPixelShader_ != pixelId) {
            program = ProgramFor(key);
            lastKey_ = key;
            lastProgram_ = program;
            lastVertexShader_ = vertexId;
            lastPixelShader_ = pixelId;
        }
        if (!program) return false;  // reported when it failed to link
    }
    FlushState();
    if (pass) ApplyPass(*pass);
    cache_.UseProgram(program->id);
    UploadUniforms(*program);
    const d3d9::DeviceState& state = DrawState();
    if (!program->vertexConstants.Empty() &&
        program->vertexConstantGeneration != state.vertexConstants.generation) {
        program->vertexConstantGeneration = state.vertexConstants.generation;
        UploadConstants(program->vertexConstants, state.vertexConstants);
    }
    if (!program->pixelConstants.Empty() &&
        program->pixelConstantGeneration != state.pixelConstants.generation) {
        program->pixelConstantGeneration = state.pixelConstants.generation;
        UploadConstants(program->pixelConstants, state.pixelConstants);
    }
    BindStageTextures(*program);
    cache_.BindVertexArray(mesh.Vao());
    const bool wide = mesh.GetOptions() & D3DXMESH_32BIT;
    const std::size_t indexBytes = wide ? 4 : 2;
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(range.FaceCount * 3),
                   wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                   reinterpret_cast<const void*>(std::size_t{range.FaceStart} * 3 * indexBytes));
    cache_.CountDraw();
    CheckErrors("DrawSubset");
    return true;
}

}  // namespace gl
