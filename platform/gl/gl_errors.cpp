// OpenGL error checks and the KHR_debug callback (see gl_errors.h).
#include "platform/gl/gl_errors.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

#include "platform/core/call_trace.h"

namespace gl {
namespace {

// Prints a report once: a driver that complains every frame must not flood stderr.
void ReportOnce(const std::string& text) {
    static std::mutex mutex;
    static std::set<std::string> said;
    const std::lock_guard lock(mutex);
    if (said.insert(text).second) std::fprintf(stderr, "GL: %s\n", text.c_str());
}

void GLAPIENTRY OnDebugMessage(GLenum, GLenum type, GLuint, GLenum severity, GLsizei length,
                               const GLchar* message, const void*) {
    // Notifications (buffer placement, shader statistics) say nothing went wrong.
    if (severity == GL_DEBUG_SEVERITY_NOTIFICATION) return;
    std::string text(message, length >= 0 ? static_cast<std::size_t>(length) : std::string::npos);
    if (type == GL_DEBUG_TYPE_ERROR) text = "error: " + text;
    ReportOnce(text);
}

}  // namespace

bool ChecksOn() {
#ifdef NDEBUG
    return platform::Tracing();
#else
    return true;
#endif
}

GLenum TakeError() {
    const GLenum first = glGetError();
    // A driver may hold several flags; each read clears one. The bound keeps a lost context,
    // which may answer GL_CONTEXT_LOST for ever, from holding us here.
    for (int i = 0; first != GL_NO_ERROR && i < 8 && glGetError() != GL_NO_ERROR; ++i) {
    }
    return first;
}

bool CheckErrors(const char* where) {
    if (!ChecksOn()) return false;
    const GLenum error = TakeError();
    if (error == GL_NO_ERROR) return false;
    ReportOnce(std::string(ErrorName(error)) + " in " + where);
    return true;
}

const char* ErrorName(GLenum error) {
    switch (error) {
        case GL_INVALID_ENUM:
            return "GL_INVALID_ENUM";
        case GL_INVALID_VALUE:
            return "GL_INVALID_VALUE";
        case GL_INVALID_OPERATION:
            return "GL_INVALID_OPERATION";
        case GL_INVALID_FRAMEBUFFER_OPERATION:
            return "GL_INVALID_FRAMEBUFFER_OPERATION";
        case GL_OUT_OF_MEMORY:
            return "GL_OUT_OF_MEMORY";
        case GL_NO_ERROR:
            return "GL_NO_ERROR";
        default:
            return "an unknown OpenGL error";
    }
}

void InstallDebugCallback() {
    if (!ChecksOn()) return;
    if (epoxy_gl_version() < 43 && !epoxy_has_gl_extension("GL_KHR_debug")) return;
    glEnable(GL_DEBUG_OUTPUT);
    // Synchronous: the report arrives inside the call that caused it, so a breakpoint there
    // shows the caller.
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(OnDebugMessage, nullptr);
}

}  // namespace gl
