// SIGINT, SIGTERM and SIGHUP as a desktop program's user expects them: the program is asked to
// close as its close box would ask it (WM_CLOSE to its window, as Windows' taskkill does), so it
// ends through its own loop with its own exit code, and a message box that is showing ends with
// it. Where the program has not ended two seconds later, or on a second signal, the process and
// every child process of it end at once, by that signal.
#pragma once

#include <SDL2/SDL.h>

namespace sdl {

// Installs the handlers and the thread that acts on them. Call from main before any other thread
// or child process starts. Signals that were ignored when the process started stay ignored.
void InstallTerminationHandling();

// Once SDL's event queue runs: a request wakes a waiting event loop with this event type.
void SetTerminationWakeEvent(Uint32 type);
Uint32 TerminationWakeEvent();

// True from the first signal on.
bool TerminationRequested();
// True once per request: the event pump turns it into a close.
bool TakeTerminationRequest();

// Set while SDL shows a message box in a child process of its own, which a request ends.
void SetForeignBoxShowing(bool showing);

// Sends `signal` to every child process of this process.
void SignalChildProcesses(int signal);

// How long the program has, after the first signal, to end through its own loop.
inline constexpr int kTerminationGraceMs = 2000;

}  // namespace sdl
