// OpenGL's own reports of failures, made visible: glGetError read after each group of calls, and
// the KHR_debug callback where the driver offers it. Both run in debug builds and whenever the
// call trace is on (TESSALINE_TRACE); otherwise a check costs one test, since reading errors may
// make a driver wait for its queue. Each distinct report is printed once on stderr ("GL: ...").
// Uploads, whose failure must be known to return the null the backend contract promises, read
// the error whatever the build (TakeError).
#pragma once

#include <epoxy/gl.h>

namespace gl {

bool ChecksOn();
// After a group of calls: reports and clears what OpenGL recorded since the last check; true
// when something was.
bool CheckErrors(const char* where);
// The first error OpenGL recorded since the last read (GL_NO_ERROR for none), the rest cleared.
GLenum TakeError();
// "GL_OUT_OF_MEMORY", for messages.
const char* ErrorName(GLenum error);
// Installs the KHR_debug callback on the current context where the driver offers it and checks
// are on.
void InstallDebugCallback();

}  // namespace gl
