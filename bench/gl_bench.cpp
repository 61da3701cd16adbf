// The OpenGL device against hand-written OpenGL, in the same run and context, headless:
//  1. CPU cost per DrawSubset with a mesh of 10,000 one-triangle subsets, against a loop of the
//     same glDrawElements calls (thread CPU time of the issuing thread);
//  2. frame time of a scene like the program's (the default tiger and sea floor, textured,
//     1000 x 500 with the program's multisampling, the overlay), against a hand-written
//     renderer of the same triangles, textures and glyph quads.
//
//   gl_bench ASSETS_DIR [FRAMES]
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/core/window_system.h"
#include "platform/d3dx/font_raster.h"
#include "platform/d3dx/texture/texture_files.h"
#include "platform/d3dx/xfile/reader.h"
#include "platform/gl/gl_device.h"
#include "platform/sdl/sdl_platform.h"
#include "tests/presentation.h"

namespace {

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double WallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

gl::GlDevice* MakeDevice(D3DMULTISAMPLE_TYPE type, DWORD quality) {
    IDirect3DDevice9* device = nullptr;
    test::CreateProgramDevice(test::ProgramSizedWindow("Bench"), &device, type, quality);
    return gl::GlDeviceOf(device);
}

GLuint Program(const char* vs, const char* fs) {
    const GLuint p = gl::LinkProgram(vs, fs, "bench");
    if (!p) std::exit(1);
    return p;
}

// The hand-written renderer's shaders: Direct3D's conventions done the same way, the texture
// modulated by white (lighting off, no vertex colour).
constexpr char kMeshVs[] = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 3) in vec2 aTexCoord0;
uniform mat4 uWorld, uView, uProjection;
uniform vec2 uClipAdjust;
out vec2 vTexCoord0;
void main() {
    vec4 clip = uProjection * (uView * (uWorld * vec4(aPosition, 1.0)));
    clip.y = -clip.y;
    clip.z = 2.0 * clip.z - clip.w;
    clip.xy += uClipAdjust * clip.w;
    gl_Position = clip;
    vTexCoord0 = aTexCoord0;
}
)";
constexpr char kMeshFs[] = R"(#version 330 core
in vec2 vTexCoord0;
uniform sampler2D uTexture;
uniform float uTextured;
layout(location = 0) out vec4 fragColor;
void main() { fragColor = uTextured > 0.5 ? texture(uTexture, vTexCoord0) : vec4(1.0); }
)";

// ---- 1. Draw cost ------------------------------------------------------------------------------

void DrawCost(gl::GlDevice* device) {
    constexpr int kSubsets = 10000;
    d3dx::MeshData data;
    data.fvf = D3DFVF_XYZ;
    data.stride = 12;
    data.vertexCount = 3 * kSubsets;
    data.vertices.resize(std::size_t{data.vertexCount} * 12);
    auto* v = reinterpret_cast<float*>(data.vertices.data());
    for (int i = 0; i < kSubsets; ++i) {
        const int column = i % 100, row = i / 100;
        const float x = -0.9f + 1.8f * static_cast<float>(column) / 100,
                    y = -0.9f + 1.8f * static_cast<float>(row) / 100;
        const float tri[9] = {x, y, 0.5f, x + 0.01f, y, 0.5f, x, y + 0.01f, 0.5f};
        std::memcpy(v + std::ptrdiff_t{9} * i, tri, sizeof tri);
    }
    for (std::uint32_t i = 0; i < data.vertexCount; ++i) data.indices.push_back(i);
    for (DWORD i = 0; i < kSubsets; ++i) {
        data.attributes.push_back(i);
        data.table.push_back({i, i, 1, 3 * i, 3});
    }
    data.options = D3DXMESH_32BIT;
    ID3DXMesh* mesh = nullptr;
    device->CreateMeshFromData(std::move(data), &mesh);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    auto* glMesh = dynamic_cast<gl::GlMesh*>(mesh);

    const GLuint program = Program(kMeshVs, kMeshFs);
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    double ours = 1e9, hand = 1e9;
    for (int round = 0; round < 7; ++round) {
        device->BeginScene();
        double t = ThreadSeconds();
        for (DWORD i = 0; i < kSubsets; ++i) mesh->DrawSubset(i);
        ours = std::min(ours, ThreadSeconds() - t);
        device->EndScene();
        glFinish();

        // The same draws by hand: one program, one vertex array, then the loop.
        device->Cache().UseProgram(program);
        for (const char* m : {"uWorld", "uView", "uProjection"}) {
            glUniformMatrix4fv(glGetUniformLocation(program, m), 1, GL_FALSE, identity);
        }
        device->Cache().BindVertexArray(glMesh->Vao());
        t = ThreadSeconds();
        for (int i = 0; i < kSubsets; ++i) {
            glDrawElements(GL_TRIANGLES, 3, GL_UNSIGNED_INT,
                           reinterpret_cast<const void*>(std::size_t(i) * 3 * 4));
        }
        hand = std::min(hand, ThreadSeconds() - t);
        glFinish();
    }
    std::printf(
        "DrawSubset: %.2f us per draw (device) vs %.2f us (hand-written glDrawElements), "
        "ratio %.2f\n",
        ours / kSubsets * 1e6, hand / kSubsets * 1e6, ours / hand);
}

// ---- 2. Frame time -----------------------------------------------------------------------------

struct HandMesh {
    GLuint vao = 0, vbo = 0, ibo = 0;
    std::vector<D3DXATTRIBUTERANGE> table;
    std::vector<GLuint> textures;  // per subset, 0 for none
    float world[16];
};

HandMesh UploadMesh(const d3dx::XFileContents& x, const std::vector<GLuint>& byMaterial, float tx,
                    float ty, float tz) {
    HandMesh m;
    glGenVertexArrays(1, &m.vao);
    glBindVertexArray(m.vao);
    glGenBuffers(1, &m.vbo);
    glBindBuffer(GL_ARRAY_BUFFER, m.vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(x.mesh.vertices.size()),
                 x.mesh.vertices.data(), GL_STATIC_DRAW);
    glGenBuffers(1, &m.ibo);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m.ibo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(x.mesh.indices.size() * 4),
                 x.mesh.indices.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, static_cast<GLsizei>(x.mesh.stride), nullptr);
    const std::size_t uvOffset = x.mesh.stride - 8;
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, static_cast<GLsizei>(x.mesh.stride),
                          reinterpret_cast<const void*>(uvOffset));
    glBindVertexArray(0);
    m.table = x.mesh.table;
    m.textures = byMaterial;
    const float w[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, tx, ty, tz, 1};
    std::memcpy(m.world, w, sizeof w);
    return m;
}

GLuint UploadTexture(const d3dx::TextureData& t) {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    for (std::size_t level = 0; level < t.levels.size(); ++level) {
        glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), GL_RGBA8,
                     std::max(1, static_cast<int>(t.width) >> level),
                     std::max(1, static_cast<int>(t.height) >> level), 0, GL_BGRA,
                     GL_UNSIGNED_INT_8_8_8_8_REV, t.levels[level].data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(t.levels.size()) - 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return id;
}

d3dx::TextureData LoadTexture(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    std::vector<std::uint8_t> bytes;
    int c;
    while (f && (c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<std::uint8_t>(c));
    if (f) std::fclose(f);
    d3dx::TextureData t;
    std::string error;
    d3dx::DecodeTextureFile(bytes, t, error);
    return d3dx::PrepareTexture(std::move(t));
}

void FrameTime(gl::GlDevice* device, const std::string& assets, int frames) {
    // The device's scene, set up as the program sets it.
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, 0);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    struct Object {
        ID3DXMesh* mesh;
        std::vector<IDirect3DTexture9*> textures;
        DWORD count;
        Matrix4 world;
    } objects[2];
    const char* files[2] = {"Tiger.x", "seafloor.x"};
    const Vec3 places[2] = {{0, 0, 5}, {0, 8.5f, 3}};
    d3dx::XFileContents contents[2];
    for (int i = 0; i < 2; ++i) {
        std::string error;
        d3dx::ReadXFileFromPath((assets + "/" + files[i]).c_str(), contents[i], error);
        ID3DXBuffer* materials = nullptr;
        D3DXLoadMeshFromXA((assets + "/" + files[i]).c_str(), D3DXMESH_SYSTEMMEM, device, nullptr,
                           &materials, nullptr, &objects[i].count, &objects[i].mesh);
        const auto* records = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
        for (DWORD m = 0; m < objects[i].count; ++m) {
            IDirect3DTexture9* t = nullptr;
            if (records[m].pTextureFilename) {
                D3DXCreateTextureFromFileA(
                    device, (assets + "/" + records[m].pTextureFilename).c_str(), &t);
            }
            objects[i].textures.push_back(t);
        }
        D3DXMatrixTranslation(&objects[i].world, places[i].x, places[i].y, places[i].z);
    }
    ID3DXFont* font = nullptr;
    D3DXCreateFontA(device, 14, 0, FW_NORMAL, 0, FALSE, DEFAULT_CHARSET, 0, CLEARTYPE_QUALITY, 0,
                    "Verdana", &font);
    const char* lines[3] = {
        "rendering in process...",
        "SPACE: show/hide text; RETURN: wireframe; M: mouse look; R: rotate meshes; U: use shaders",
        "dbg info empty"};
    Matrix4 view, projection;
    const Vec3 eye{0.5f, 0.5f, -3.5f}, at{0, 0, 0}, up{0, 1, 0};
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 2.0f, 1.0f, 500.0f);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);

    const auto deviceFrame = [&] {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF2F2F2F, 1.0f, 0);
        device->BeginScene();
        for (Object& o : objects) {
            for (DWORD m = 0; m < o.count; ++m) {
                device->SetTransform(D3DTS_WORLD, &o.world);
                device->SetTexture(0, o.textures[m]);
                o.mesh->DrawSubset(m);
            }
        }
        RECT r{0, 0, kClientWidth, kClientHeight};
        for (int i = 0; i < 3; ++i) {
            r.top = 14 * i;
            font->DrawTextA(nullptr, lines[i], -1, &r, 0, i < 2 ? 0xFFFFFF00 : 0xFFFF0000);
        }
        device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
    };

    // The hand-written renderer: its own buffers, textures, program, glyph quads and back buffer
    // of the same size and sample count, presented the same way.
    std::vector<GLuint> textures[2];
    for (int i = 0; i < 2; ++i) {
        for (const d3dx::XMaterial& m : contents[i].materials) {
            textures[i].push_back(
                m.hasTexture ? UploadTexture(LoadTexture(assets + "/" + m.texture)) : 0);
        }
    }
    HandMesh hand[2] = {UploadMesh(contents[0], textures[0], 0, 0, 5),
                        UploadMesh(contents[1], textures[1], 0, 8.5f, 3)};
    const GLuint program = Program(kMeshVs, kMeshFs);
    const int samples = device->SampleCount();
    GLuint fbo, color, depth, resolve, resolveColor;
    glGenFramebuffers(1, &fbo);
    glGenRenderbuffers(1, &color);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, color);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, 1000, 500);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH_COMPONENT16, 1000, 500);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    glGenFramebuffers(1, &resolve);
    glGenRenderbuffers(1, &resolveColor);
    glBindRenderbuffer(GL_RENDERBUFFER, resolveColor);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 1000, 500);
    glBindFramebuffer(GL_FRAMEBUFFER, resolve);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, resolveColor);
    const auto atlas = d3dx::RasteriseFont("Verdana", 14, 400, false);
    GLuint atlasTexture, textVao, textVbo;
    glGenTextures(1, &atlasTexture);
    glBindTexture(GL_TEXTURE_2D, atlasTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, atlas->width, atlas->height, 0, GL_RED, GL_UNSIGNED_BYTE,
                 atlas->coverage.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    const GLuint textProgram = Program(R"(#version 330 core
layout(location = 0) in vec2 aPixel;
layout(location = 1) in vec2 aUv;
out vec2 vUv;
void main() { vUv = aUv; gl_Position = vec4(aPixel.x / 500.0 - 1.0, aPixel.y / 250.0 - 1.0, 0.0, 1.0); }
)",
                                       R"(#version 330 core
in vec2 vUv;
uniform sampler2D uAtlas;
uniform vec4 uColor;
layout(location = 0) out vec4 fragColor;
void main() { fragColor = vec4(uColor.rgb, uColor.a * texture(uAtlas, vUv).r); }
)");
    std::vector<float> quads[3];
    for (int i = 0; i < 3; ++i) {
        int pen = 0;
        const int baseline = 14 * i + atlas->ascent;
        for (const char* c = lines[i]; *c; ++c) {
            const d3dx::Glyph& g = atlas->glyphs[static_cast<unsigned char>(*c)];
            const float x = static_cast<float>(pen + g.left),
                        y = static_cast<float>(baseline - g.top);
            const float w = static_cast<float>(g.width), h = static_cast<float>(g.height);
            const float u0 = static_cast<float>(g.x) / atlas->width,
                        v0 = static_cast<float>(g.y) / atlas->height;
            const float u1 = (g.x + w) / atlas->width, v1 = (g.y + h) / atlas->height;
            const float q[24] = {x, y, u0, v0, x + w, y,     u1, v0, x + w, y + h, u1, v1,
                                 x, y, u0, v0, x + w, y + h, u1, v1, x,     y + h, u0, v1};
            quads[i].insert(quads[i].end(), q, q + 24);
            pen += g.advance;
        }
    }
    glGenVertexArrays(1, &textVao);
    glBindVertexArray(textVao);
    glGenBuffers(1, &textVbo);
    glBindBuffer(GL_ARRAY_BUFFER, textVbo);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 16, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 16, reinterpret_cast<const void*>(8));
    device->Cache().Invalidate();  // the hand-written code below changes OpenGL behind the cache

    const auto handFrame = [&] {
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glViewport(0, 0, 1000, 500);
        glDisable(GL_SCISSOR_TEST);
        glDepthMask(GL_TRUE);
        glClearColor(0x2F / 255.0f, 0x2F / 255.0f, 0x2F / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glDisable(GL_CULL_FACE);
        glDisable(GL_BLEND);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glUseProgram(program);
        glUniformMatrix4fv(glGetUniformLocation(program, "uView"), 1, GL_FALSE, &view.m[0][0]);
        glUniformMatrix4fv(glGetUniformLocation(program, "uProjection"), 1, GL_FALSE,
                           &projection.m[0][0]);
        glUniform2f(glGetUniformLocation(program, "uClipAdjust"), 1.0f / 1000, 1.0f / 500);
        glActiveTexture(GL_TEXTURE0);
        glBindSampler(0, 0);
        for (HandMesh& m : hand) {
            glBindVertexArray(m.vao);
            glUniformMatrix4fv(glGetUniformLocation(program, "uWorld"), 1, GL_FALSE, m.world);
            for (const D3DXATTRIBUTERANGE& r : m.table) {
                const GLuint t = m.textures[r.AttribId];
                glBindTexture(GL_TEXTURE_2D, t);
                glUniform1f(glGetUniformLocation(program, "uTextured"), t ? 1.0f : 0.0f);
                glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(r.FaceCount * 3), GL_UNSIGNED_INT,
                               reinterpret_cast<const void*>(std::size_t{r.FaceStart} * 12));
            }
        }
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glUseProgram(textProgram);
        glBindTexture(GL_TEXTURE_2D, atlasTexture);
        glBindVertexArray(textVao);
        glBindBuffer(GL_ARRAY_BUFFER, textVbo);
        for (int i = 0; i < 3; ++i) {
            glUniform4f(glGetUniformLocation(textProgram, "uColor"), 1, i < 2 ? 1.0f : 0.0f, 0, 1);
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(quads[i].size() * 4),
                         quads[i].data(), GL_STREAM_DRAW);
            glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(quads[i].size() / 4));
        }
        glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolve);
        glBlitFramebuffer(0, 0, 1000, 500, 0, 0, 1000, 500, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, resolve);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, 1000, 500, 0, 500, 1000, 0, GL_COLOR_BUFFER_BIT, GL_LINEAR);
        SDL_GL_SwapWindow(sdl::WindowOf(platform::MainWindow()));
    };

    // Warm both up (shader compiles), then time alternating batches.
    for (int i = 0; i < 3; ++i) {
        deviceFrame();
        glFinish();
        device->Cache().Invalidate();
        handFrame();
        glFinish();
        device->Cache().Invalidate();
    }
    double ours = 0, handTime = 0;
    for (int batch = 0; batch < 4; ++batch) {
        double t = WallSeconds();
        for (int i = 0; i < frames / 4; ++i) deviceFrame();
        glFinish();
        ours += WallSeconds() - t;
        device->Cache().Invalidate();
        t = WallSeconds();
        for (int i = 0; i < frames / 4; ++i) handFrame();
        glFinish();
        handTime += WallSeconds() - t;
        device->Cache().Invalidate();
    }
    const int timed = frames / 4 * 4;
    std::printf("frame time (%d samples): %.2f ms (device) vs %.2f ms (hand-written), ratio %.3f\n",
                samples, ours / timed * 1e3, handTime / timed * 1e3, ours / handTime);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gl_bench ASSETS_DIR [FRAMES]\n");
        return 2;
    }
    const int frames = argc >= 3 ? std::atoi(argv[2]) : 200;
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (!sdl::InstallSdlPlatform()) return 1;
    gl::GlDevice* device = MakeDevice(D3DMULTISAMPLE_NONMASKABLE, 2);
    if (!device) return 1;
    DrawCost(device);
    FrameTime(device, argv[1], frames);
    return 0;
}
