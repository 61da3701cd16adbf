// What the two start-up baselines share with each other and with the program: the window (a
// 1000 x 500 client area with an OpenGL 3.3 core context) and the first-frame stamp, printed as
// tessaline-snapshot --stamp-first-frame prints it.
#pragma once

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <ctime>

inline constexpr int kBaselineWidth = 1000, kBaselineHeight = 500;

// Null where SDL, the window or the context cannot be made.
inline SDL_Window* OpenBaselineWindow(SDL_GLContext& context) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return nullptr;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_Window* window =
        SDL_CreateWindow("Tessaline Direct3D tester (XMesh)", 308, 231, kBaselineWidth,
                         kBaselineHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE);
    if (!window) return nullptr;
    context = SDL_GL_CreateContext(window);
    return context ? window : nullptr;
}

// Presents the frame, waits until its pixels exist (as the program's stamp does) and prints the
// monotonic clock and the process's CPU time, in nanoseconds.
inline void PresentAndStamp(SDL_Window* window) {
    SDL_GL_SwapWindow(window);
    glFinish();
    timespec now{}, cpu{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    std::printf("first-frame-ns %lld\nfirst-frame-cpu-ns %lld\n",
                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                static_cast<long long>(cpu.tv_sec) * 1000000000LL + cpu.tv_nsec);
}

inline void CloseBaselineWindow(SDL_Window* window, SDL_GLContext context) {
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
}
