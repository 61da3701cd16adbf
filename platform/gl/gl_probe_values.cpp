// A pixel probe's last step (gl_pixel_history.h): the pixel stage's inputs and output at the
// pixel, for the last draw that wrote it. The frame is replayed up to that draw; the draw then
// goes into the 32-bit float target once as it was made (its output) and once per input, with a
// variant of its pixel shader that writes that input instead of the colour (or, for the fixed-
// function stage, a program of ours that writes the varying).
#include <string>
#include <vector>

#include "platform/gl/gl_device.h"
#include "platform/gl/gl_errors.h"
#include "platform/gl/gl_ffp_common.h"

namespace gl {
namespace {

struct Variant {
    ShaderValue value;
    std::string fragment;
};

// The fixed-function vertex stage's outputs as a pixel stage reads them: COLOR0, COLOR1 and
// the texture coordinate sets it writes for the key.
std::vector<Variant> FixedFunctionVariants(const FfpKey& key) {
    const std::string flat = key.flatShading ? "flat " : "";
    std::vector<std::pair<std::string, std::string>> inputs = {
        {"COLOR0", flat + "in vec4 vColor0;\n|vColor0"},
        {"COLOR1", flat + "in vec4 vColor1;\n|vColor1"}};
    const unsigned sets = TexCoordsWritten(key);
    for (int t = 0; t < kMaxTexCoords; ++t) {
        if (!(sets >> t & 1)) continue;
        const std::string n = std::to_string(t);
        inputs.push_back({"TEXCOORD" + n, "in vec2 vTexCoord" + n + ";\nin vec2 vTexCoord" + n +
                                              "_zw;\n|vec4(vTexCoord" + n + ", vTexCoord" + n +
                                              "_zw + vec2(0.0, 1.0))"});
    }
    std::vector<Variant> out;
    for (const auto& [semantic, text] : inputs) {
        const std::size_t bar = text.find('|');
        Variant v;
        v.value.semantic = semantic;
        v.fragment = "#version 330 core\n" + text.substr(0, bar) +
                     "layout(location = 0) out vec4 oProbe;\nvoid main() { oProbe = " +
                     text.substr(bar + 1) + "; }\n";
        out.push_back(std::move(v));
    }
    return out;
}

}  // namespace

bool GlDevice::ReadShaderValue(const FrameEvent& event, const ReplayPass& pass, Program* program,
                               ShaderValue& value) {
    // The draw's own depth writes decide between its overlapping triangles; the depth is put
    // back for the next value.
    const float depth = ReadProbeDepth(pass.x, pass.y);
    const float zero[4] = {0, 0, 0, 0};
    RestoreProbePixel(pass.x, pass.y, probeFloatFramebuffer_, zero, depth);
    replayState_ = event.state.get();
    InvalidateDrawState();
    glBeginQuery(GL_SAMPLES_PASSED, probeQuery_);
    DrawMesh(*event.mesh, event.attribute, &pass, program);
    glEndQuery(GL_SAMPLES_PASSED);
    GLuint samples = 0;
    glGetQueryObjectuiv(probeQuery_, GL_QUERY_RESULT, &samples);
    cache_.BindFramebuffer(probeFloatFramebuffer_);
    glReadPixels(pass.x, pass.y, 1, 1, GL_RGBA, GL_FLOAT, value.v);
    RestoreProbePixel(pass.x, pass.y, probeFloatFramebuffer_, zero, depth);
    return samples > 0;
}

void GlDevice::ShaderValues(std::size_t index, int x, int y, PixelHistory& h) {
    // The target as it was when the draw was made.
    ResetProbe(x, y);
    const ReplayPass real{probeFramebuffer_, x, y, false, true, true, -1};
    for (std::size_t i = 0; i < index; ++i) ReplayEvent(lastFrame_.events[i], real);

    const FrameEvent& e = lastFrame_.events[index];
    const ReplayPass pass{probeFloatFramebuffer_, x, y, false, true, false, 0xF};
    h.output.semantic = "COLOR0";
    h.hasOutput = ReadShaderValue(e, pass, nullptr, h.output);
    if (!h.hasOutput) return;

    replayState_ = e.state.get();
    InvalidateDrawState();
    const GlShader* vertex = BoundVertexShader();
    const GlShader* pixel = BoundPixelShader();
    const FfpKey key = KeyFor(*e.mesh);
    std::vector<Variant> variants;
    if (pixel) {
        for (const d3dx::SemanticVar& in : e.state->pixelShader->Info().reflection.inputs) {
            Variant v;
            v.value.semantic = in.semantic + std::to_string(in.index);
            v.fragment = pixel->Shader().glsl;
            if (InputVariant(v.fragment, "tessIn" + v.value.semantic, &v.value.components))
                variants.push_back(std::move(v));
        }
    } else {
        variants = FixedFunctionVariants(key);
    }
    const GLuint vs = vertex ? vertex->Compiled()
                             : CompileShader(GL_VERTEX_SHADER, FfpVertexShader(key),
                                             "pixel probe's vertex stage");
    for (Variant& v : variants) {
        const GLuint fs = CompileShader(GL_FRAGMENT_SHADER, v.fragment, "pixel probe's input");
        Program program;
        program.id = vs && fs ? LinkShaders(vs, fs, "pixel probe's input") : 0;
        if (fs) glDeleteShader(fs);
        if (pixel) program.samplers = pixel->Shader().samplers;
        if (vertex) program.vertexSamplers = vertex->Shader().samplers;
        if (FinishProgram(program, vertex, pixel) && ReadShaderValue(e, pass, &program, v.value))
            h.inputs.push_back(v.value);
        cache_.DeleteProgram(program.id);
    }
    if (!vertex && vs) glDeleteShader(vs);
}

}  // namespace gl
