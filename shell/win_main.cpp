// The entry point: window, graphics, mouse, then the loop. The command line is read only for
// --watch (render/watch.h); without it start-up is exactly window, graphics, mouse.
#include "input/mouse_input.h"
#include "render/graphics.h"
#include "render/watch.h"
#include "shell/shell.h"

int WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    watchFiles = CommandLineAsksToWatch(commandLine);
    CreateAppWindow();
    CreateGraphics();
    CreateMouseInput();
    SetUpMouse();
    if (watchFiles) StartWatchingFiles();
    return RunMainLoop();
}
