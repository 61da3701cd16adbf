// --watch: the program's files watched while it runs. The two shader files and every file they
// include, the two mesh files and the texture files the meshes name are checked once per idle
// iteration, without waiting (file_watch.cpp); a changed file is reloaded into its place, and a
// file that fails keeps its last good version and a red overlay line of its own until it is
// mended (reload.cpp). Start-up's message boxes do not wait (the platform answers them OK).
#pragma once

#include <string>
#include <vector>

// True when the command line (WinMain's) holds the option --watch.
bool CommandLineAsksToWatch(const char* commandLine);

// After start-up: takes the files' present state and asks for change notifications on their
// folders. A file that failed at start-up is tried once more, so that its message shows.
void StartWatchingFiles();
// In each idle iteration: reloads what changed since the last check. Returns at once when
// nothing did.
void CheckWatchedFiles();

// The reloads, each of which keeps the last good version on failure. A scene object's reload
// returns the texture names of the file it failed to load (to be watched), else nothing.
// `startUp`: the retry of a shader whose start-up compile failed, whose messages the compile
// has said already.
void ReloadShader(bool pixel, bool startUp = false);
std::vector<std::string> ReloadSceneObject(int slot);
// A scene object's reload in two halves: its files read and decoded on a thread of their own
// (a newer one for the slot ends an older one), waited for only where they are small; then, in
// an idle iteration after they are read, the slots whose reading finished, for
// ReloadSceneObject to make their objects from what was read.
void BeginSceneObjectReload(int slot);
std::vector<int> FinishedSceneObjectReloads();

// A failure not mended yet: the file (or the start-up box) and its line for the overlay
// ("pixel.psh(3,12): error: ...").
struct WatchFailure {
    std::string file;
    std::string line;
};
// Oldest first, one per file, and the start-up message boxes no file stands for.
const std::vector<WatchFailure>& WatchFailures();
// Called by the reloads: a file failed with `message` (its first line for the overlay; all of
// it on stderr where `say`), or loaded (mended).
void ReportWatchFailure(const std::string& file, const std::string& message, bool say = true);
void ReportWatchSuccess(const std::string& file, const std::string& what);
