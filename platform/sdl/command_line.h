// tessaline's command line, read by the process entry before WinMain: its help text, the
// options as one plain record, their reading with every fault refused in one line, and the hint
// for a folder that holds none of the program's files. The program itself gets only what is
// left for it: "--watch" or nothing (WinMain's command line); --set is the platform's.
#pragma once

#include <string>
#include <vector>

namespace sdl {

extern const char kUsage[];

// Exit code of a bad option or a --dir that cannot be entered.
inline constexpr int kExitBadOptions = 2;

struct CommandLine {
    bool help = false;
    bool version = false;
    bool watch = false;
    std::string dir;                     // empty: the current directory
    std::vector<std::string> constants;  // --set NAME=V[,V...], checked, for the platform
};

// Reads the arguments after the program name. Returns the empty string, or one line that says
// what is wrong. --help and --version win over everything after them, as they end the run.
std::string ReadCommandLine(const std::vector<std::string>& args, CommandLine& out);

// The command line WinMain gets: the options the program itself reads.
std::string ProgramCommandLine(const CommandLine& options);

// The files the program reads from its current directory.
extern const char* const kProgramFiles[4];
// True when `dir` holds at least one of them.
bool HoldsProgramFiles(const std::string& dir);

// Where the bundled assets are for a program at `executable`: the source tree's assets folder
// when it runs from the build folder it was built in, else the install prefix's
// share/tessaline (reached from the program's own bin folder by `binToData`).
std::string BundledAssetsDir(const std::string& executable, const std::string& buildDir,
                             const std::string& sourceAssets, const std::string& binToData);
// The same for this process, with the folders it was built with.
std::string BundledAssetsDir();

// The one line `program` (tessaline or tessaline-snapshot) prints when the current directory
// `dir` holds none of the program's files.
std::string MissingFilesHint(const std::string& dir, const std::string& assets,
                             const std::string& program = "tessaline");

}  // namespace sdl
