// Writes every platform call to a file as it happens, one line each: the same text the
// recorder logs, for following a real run (TESSALINE_TRACE=path), with the notes that explain
// calls (a refusal's reason, a shader's digests) on indented lines beneath them.
#pragma once

namespace platform {

// Returns false (after a diagnostic line) when the file cannot be opened.
bool TraceToFile(const char* path);

}  // namespace platform
