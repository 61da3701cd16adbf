// The application shell: the display toggles, the key-state table, the window and its procedure,
// and the main loop with its idle iteration.
#pragma once

#include "program/process_objects.h"

void CreateAppWindow();
LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Drains the queue and runs idle iterations until WM_QUIT; returns its exit code.
int RunMainLoop();
void RunIdleIteration();
