// Files the snapshot tool writes, written so that a failure is never taken for success: the
// bytes go to a new file beside the target, every write and the close are checked, and only a
// whole file is renamed into place, so a full disk leaves the old file (or none), never a cut
// one. A target that is not a regular file (a device such as /dev/stdout, a named pipe) is
// written in place, with the same checks.
#pragma once

#include <string>

namespace snapshot {

// False, with the system's reason in `error`, when the file could not be written whole.
bool WriteFileChecked(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace snapshot
