// Windows-style file names resolved on a case-sensitive file system (see file_names.h).
#include "platform/d3dx/file_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

namespace d3dx {
namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

// The entry of `folder` that is `part` but for case; the first in byte order where several are.
std::string MatchInFolder(const std::string& folder, std::string_view part) {
    DIR* d = opendir(folder.c_str());
    if (!d) return {};
    std::string best;
    while (const dirent* e = readdir(d)) {
        const std::string_view entry = e->d_name;
        if (SameIgnoringCase(entry, part) && (best.empty() || entry < best)) best = entry;
    }
    closedir(d);
    return best;
}

}  // namespace

std::string ResolveWindowsName(std::string_view name) {
    if (name.empty() || name.find('\0') != std::string_view::npos) return {};
    std::string path(name);
    if (Exists(path)) return path;
    std::replace(path.begin(), path.end(), '\\', '/');
    if (Exists(path)) return path;
    // Component by component from the root or the current folder; `out` ends with '/' or is
    // empty between components.
    std::string out = path[0] == '/' ? "/" : "";
    std::size_t at = 0;
    bool any = false;
    while (at < path.size()) {
        const std::size_t end = std::min(path.find('/', at), path.size());
        const std::string_view part = std::string_view(path).substr(at, end - at);
        at = end + 1;
        if (part.empty()) continue;
        if (any) out += '/';
        any = true;
        const std::string exact = out + std::string(part);
        if (part == "." || part == ".." || Exists(exact)) {
            out = exact;
            continue;
        }
        const std::string match = MatchInFolder(out.empty() ? "." : out, part);
        if (match.empty()) return {};
        out += match;
    }
    return any && Exists(out) ? out : std::string();
}

}  // namespace d3dx
