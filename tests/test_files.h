// Test helpers: a temporary directory removed at the end of the test, file writing, and a
// recording device on a recorded window.
#pragma once

#include <string>

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

// A device of the recording platform on a fresh window, created with the program's parameters.
// The recording platform must be installed.
IDirect3DDevice9* RecordingDevice();

}  // namespace test
