// The baseline of the start-up benchmark: a bare SDL and OpenGL program that opens the same
// window (1000 x 500 client area, OpenGL 3.3 core) and presents one cleared frame, printing the
// monotonic clock when it has.
#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <ctime>

int main() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_Window* window = SDL_CreateWindow("Tessaline Direct3D tester (XMesh)", 308, 231, 1000, 500,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE);
    if (!window) return 1;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) return 1;
    glClearColor(0x2F / 255.0f, 0x2F / 255.0f, 0x2F / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(window);
    glFinish();  // as the program's stamp: when the frame's pixels exist
    timespec now{}, cpu{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    std::printf("first-frame-ns %lld\nfirst-frame-cpu-ns %lld\n",
                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                static_cast<long long>(cpu.tv_sec) * 1000000000LL + cpu.tv_nsec);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
