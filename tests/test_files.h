// Test helpers: a temporary directory removed at the end of the test, file writing, a program
// run with its output caught, and a recording device on a recorded window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/graphics_device.h"

namespace test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string Path(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// A program run to its end with stdout and stderr caught: its exit code (128 + the signal when a
// signal ended it) and what it wrote.
struct ProcessRun {
    int code = -1;
    std::string out, err;
};
// Runs `program` with `args` in `cwd`. `inChild` runs in the child before the program starts
// (to change its environment). With `stopWhen`, waits up to 20 s for stderr to hold it, then
// asks the program to end with SIGTERM.
ProcessRun RunProcess(const std::string& program, const std::vector<std::string>& args,
                      const std::string& cwd, const std::function<void()>& inChild = {},
                      const std::string& stopWhen = {});

// A device of the recording platform on a fresh window, created with the program's parameters.
// The recording platform must be installed.
IDirect3DDevice9* RecordingDevice();

}  // namespace test
