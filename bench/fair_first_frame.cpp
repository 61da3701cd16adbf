// The fair baseline of the start-up benchmark: the driver work a Direct3D 9 program's first frame
// needs, written plainly over SDL and OpenGL. The same window (1000 x 500 client area, OpenGL 3.3
// core), a 4-sample colour buffer with 16-bit depth, one GLSL program, one textured mesh (a grid
// of 8192 triangles with a 128 x 128 texture, made here rather than read), the draw, a resolve
// that reads the samples into the window's buffer, and the present; stamped as the bare one.
#include <vector>

#include "bench/baseline_window.h"

namespace {

constexpr int kWidth = kBaselineWidth, kHeight = kBaselineHeight, kGrid = 64, kTexture = 128;

const char kVertexSource[] = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
uniform mat4 worldViewProjection;
out vec2 texcoord;
void main() {
    texcoord = uv;
    gl_Position = worldViewProjection * vec4(position, 1.0);
}
)";

const char kFragmentSource[] = R"(#version 330 core
in vec2 texcoord;
uniform sampler2D diffuseMap;
out vec4 colour;
void main() {
    colour = texture(diffuseMap, texcoord) * vec4(1.2, 0.85, 0.55, 1.0);
}
)";

GLuint Shader(GLenum stage, const char* source) {
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

}  // namespace

int main() {
    SDL_GLContext context = nullptr;
    SDL_Window* window = OpenBaselineWindow(context);
    if (!window) return 1;

    // The multisampled target with its depth.
    GLuint buffers[2], framebuffer;
    glGenRenderbuffers(2, buffers);
    glBindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, 4, GL_RGBA8, kWidth, kHeight);
    glBindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, 4, GL_DEPTH_COMPONENT16, kWidth, kHeight);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);

    // One program.
    const GLuint program = glCreateProgram();
    glAttachShader(program, Shader(GL_VERTEX_SHADER, kVertexSource));
    glAttachShader(program, Shader(GL_FRAGMENT_SHADER, kFragmentSource));
    glLinkProgram(program);
    glUseProgram(program);
    const GLfloat scale[16] = {1.5f, 0, 0, 0, 0, 1.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0.5f, 1};
    glUniformMatrix4fv(glGetUniformLocation(program, "worldViewProjection"), 1, GL_FALSE, scale);
    glUniform1i(glGetUniformLocation(program, "diffuseMap"), 0);

    // One textured mesh: a grid, indexed, position and texture coordinates.
    std::vector<float> vertices;
    for (int y = 0; y <= kGrid; ++y) {
        for (int x = 0; x <= kGrid; ++x) {
            const float u = static_cast<float>(x) / kGrid, v = static_cast<float>(y) / kGrid;
            vertices.insert(vertices.end(), {u - 0.5f, v - 0.5f, 0.25f * u * v, u * 4, v * 4});
        }
    }
    std::vector<GLuint> indices;
    for (int y = 0; y < kGrid; ++y) {
        for (int x = 0; x < kGrid; ++x) {
            const GLuint a = static_cast<GLuint>(y * (kGrid + 1) + x), b = a + 1, c = a + kGrid + 1,
                         d = c + 1;
            indices.insert(indices.end(), {a, b, c, b, d, c});
        }
    }
    GLuint vertexArray, meshBuffers[2];
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(2, meshBuffers);
    glBindBuffer(GL_ARRAY_BUFFER, meshBuffers[0]);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)),
                 vertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, meshBuffers[1]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLuint)),
                 indices.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float),
                          reinterpret_cast<const void*>(3 * sizeof(float)));

    std::vector<unsigned char> texels(kTexture * kTexture * 4);
    for (int i = 0; i < kTexture * kTexture; ++i) {
        const bool on = ((i % kTexture) / 16 + (i / kTexture) / 16) % 2 != 0;
        texels[i * 4] = texels[i * 4 + 1] = on ? 200 : 60;
        texels[i * 4 + 2] = 40;
        texels[i * 4 + 3] = 255;
    }
    GLuint texture;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kTexture, kTexture, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texels.data());

    // The frame: clear, draw, resolve, present.
    glViewport(0, 0, kWidth, kHeight);
    glEnable(GL_DEPTH_TEST);
    glClearColor(0x2F / 255.0f, 0x2F / 255.0f, 0x2F / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    PresentAndStamp(window);
    CloseBaselineWindow(window, context);
    return 0;
}
