// The bare baseline of the start-up benchmark: a plain SDL and OpenGL program that opens the
// same window and presents one cleared frame.
#include "bench/baseline_window.h"

int main() {
    SDL_GLContext context = nullptr;
    SDL_Window* window = OpenBaselineWindow(context);
    if (!window) return 1;
    glClearColor(0x2F / 255.0f, 0x2F / 255.0f, 0x2F / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    PresentAndStamp(window);
    CloseBaselineWindow(window, context);
    return 0;
}
