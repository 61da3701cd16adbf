// The entry point: window, graphics, mouse, then the loop.
#include "input/mouse_input.h"
#include "render/graphics.h"
#include "shell/shell.h"

int WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CreateAppWindow();
    CreateGraphics();
    CreateMouseInput();
    SetUpMouse();
    return RunMainLoop();
}
