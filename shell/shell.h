// The application shell: the display toggles, the key-state table, the window and its procedure,
// and the main loop with its idle iteration.
#pragma once

#include "platform/window_input.h"

struct AppSettings {
    bool showText = true;
    bool useShaders = true;
    bool wireframe = false;
    bool rotateMeshes = false;
    bool mouseLook = false;
};

// One entry per virtual-key code, set while the key is down.
struct KeyTable {
    bool down[256] = {};
};

extern AppSettings appSettings;
extern KeyTable keyTable;
extern HINSTANCE appInstance;
extern HWND appWindow;

void CreateAppWindow();
LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Drains the queue and runs idle iterations until WM_QUIT; returns its exit code.
int RunMainLoop();
void RunIdleIteration();
