// --watch's checks (see watch.h). Each folder that holds a watched file has a change
// notification handle; an idle iteration asks each handle without waiting, and only where one
// is signalled compares the attributes (last write, creation, size) of the files in that folder
// with those seen before. A file that was replaced (an editor's write-then-rename), created,
// deleted or written counts as changed.
//
// A shader's files are its own and every file it includes: D3DX's preprocessor names each file
// the preprocessed text came from in its #line directives. They are learnt at start-up and again
// in the idle iteration after each reload of the shader (once the new shader is on the screen);
// a preprocessing that fails keeps the files learnt before.
#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>
#include <vector>

#include "platform/core/window_system.h"
#include "render/graphics.h"
#include "render/watch.h"

namespace {

enum class Kind { VertexShader, PixelShader, Mesh, Texture };

struct WatchedFile {
    std::string name;  // as the program opens it
    std::size_t folder = 0;
    Kind kind = Kind::Mesh;
    int slot = -1;          // meshes and textures: the scene slot whose object reads it
    bool included = false;  // a file the shader of `kind` includes
    bool present = false;
    WIN32_FILE_ATTRIBUTE_DATA seen{};
};

struct WatchedFolder {
    std::string path;
    HANDLE change = INVALID_HANDLE_VALUE;
    bool signalled = false;
};

constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;
constexpr int kMaxWatchedSlots = 2;  // the frame draws slots 0 and 1

std::vector<WatchedFolder> folders;
std::vector<WatchedFile> files;
// Texture names of a slot's last reload that failed: watched too, so that creating a texture
// that the new mesh file names brings the reload back.
std::vector<std::string> namedByFailedReload[kMaxWatchedSlots];
// The vertex and pixel shaders reloaded in the last check: their included files are learnt again.
bool includesToLearn[2] = {};

std::string FolderOf(const std::string& name) {
    const std::size_t slash = name.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : name.substr(0, slash);
}

std::size_t FolderIndex(const std::string& path) {
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (folders[i].path == path) return i;
    }
    WatchedFolder folder;
    folder.path = path;
    folder.change = FindFirstChangeNotificationA(path.c_str(), FALSE, kChanges);
    if (folder.change == INVALID_HANDLE_VALUE)
        std::fprintf(stderr, "tessaline: --watch cannot watch the folder %s\n", path.c_str());
    folders.push_back(folder);
    return folders.size() - 1;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

bool SameAttributes(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
    return SameTime(a.ftLastWriteTime, b.ftLastWriteTime) &&
           SameTime(a.ftCreationTime, b.ftCreationTime) && a.nFileSizeLow == b.nFileSizeLow &&
           a.nFileSizeHigh == b.nFileSizeHigh && a.dwFileAttributes == b.dwFileAttributes;
}

// Reads the file's attributes; true when they differ from those seen before.
bool LookAgain(WatchedFile& file) {
    WIN32_FILE_ATTRIBUTE_DATA now{};
    const bool present = GetFileAttributesExA(file.name.c_str(), GetFileExInfoStandard, &now);
    if (present == file.present && (!present || SameAttributes(now, file.seen))) return false;
    file.present = present;
    file.seen = now;
    return true;
}

void Watch(const std::string& name, Kind kind, int slot, bool included = false) {
    for (const WatchedFile& f : files) {
        if (f.name == name && f.kind == kind && f.slot == slot && f.included == included) return;
    }
    WatchedFile file;
    file.name = name;
    file.kind = kind;
    file.slot = slot;
    file.included = included;
    file.folder = FolderIndex(FolderOf(name));
    LookAgain(file);
    files.push_back(file);
}

int WatchedSlots() {
    return std::min(sceneTable.count, kMaxWatchedSlots);
}

// The textures the scene's objects name now, keeping what was seen of those already watched.
void WatchTextures() {
    std::vector<WatchedFile> kept, textures;
    for (WatchedFile& f : files) (f.kind == Kind::Texture ? textures : kept).push_back(f);
    files = std::move(kept);
    for (int slot = 0; slot < WatchedSlots(); ++slot) {
        std::vector<std::string> names = sceneTable.slots[slot]->textureNames;
        names.insert(names.end(), namedByFailedReload[slot].begin(),
                     namedByFailedReload[slot].end());
        for (const std::string& name : names) {
            const auto seen = std::find_if(textures.begin(), textures.end(), [&](const auto& t) {
                return t.name == name && t.slot == slot;
            });
            if (seen != textures.end()) {
                files.push_back(*seen);
            } else {
                Watch(name, Kind::Texture, slot);
            }
        }
    }
}

// The files named by the #line directives of a shader's preprocessed text (#line 1
// "common.fxh"), but the shader's own; false where it does not preprocess.
bool IncludedFiles(const ShaderSource& source, std::vector<std::string>& names) {
    ID3DXBuffer* text = nullptr;
    // Its messages are the compile's to say: taken, and let go.
    ID3DXBuffer* errors = nullptr;
    const HRESULT hr = D3DXPreprocessShaderFromFileA(source.file, nullptr, nullptr, &text, &errors);
    if (errors) errors->Release();
    if (FAILED(hr)) return false;
    std::istringstream lines(static_cast<const char*>(text->GetBufferPointer()));
    text->Release();
    for (std::string line; std::getline(lines, line);) {
        const std::size_t open = line.find('"');
        if (line.rfind("#line ", 0) != 0 || open == std::string::npos) continue;
        std::string name;
        for (std::size_t i = open + 1; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) ++i;
            name += line[i];
        }
        if (name != source.file && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return true;
}

// Watches the files the shader includes now, keeping what was seen of those already watched.
void WatchIncludes(bool pixel) {
    const ShaderSource& source = pixel ? kPixelShaderSource : kVertexShaderSource;
    const Kind kind = pixel ? Kind::PixelShader : Kind::VertexShader;
    std::vector<std::string> names;
    if (!IncludedFiles(source, names)) return;
    std::vector<WatchedFile> kept, before;
    for (WatchedFile& f : files) (f.kind == kind && f.included ? before : kept).push_back(f);
    files = std::move(kept);
    for (const std::string& name : names) {
        const auto seen = std::find_if(before.begin(), before.end(),
                                       [&](const WatchedFile& f) { return f.name == name; });
        if (seen != before.end()) {
            files.push_back(*seen);
        } else {
            Watch(name, kind, -1, true);
        }
    }
}

// The start-up boxes that say a shader, mesh or texture file failed: the retry of that file
// gives it an overlay line with the reason, so the box's own words would say it twice.
bool AboutAFile(const std::string& box) {
    return box.rfind("WARNING: bad ", 0) == 0 || box.rfind("CAN'T LOAD MESH!: ", 0) == 0 ||
           box == "ERROR: Could not find texture map!";
}

bool StartedWell(const MeshObject* object) {
    if (!object->mesh) return false;
    std::size_t loaded = 0;
    for (DWORD i = 0; i < object->materialCount; ++i) loaded += object->textures[i] != nullptr;
    return loaded >= object->textureNames.size();
}

}  // namespace

bool CommandLineAsksToWatch(const char* commandLine) {
    std::istringstream words(commandLine ? commandLine : "");
    for (std::string word; words >> word;) {
        if (word == "--watch") return true;
    }
    return false;
}

void StartWatchingFiles() {
    // Without a device nothing was loaded and nothing could be.
    if (!device) return;
    Watch(kVertexShaderSource.file, Kind::VertexShader, -1);
    Watch(kPixelShaderSource.file, Kind::PixelShader, -1);
    for (int slot = 0; slot < WatchedSlots(); ++slot)
        Watch(sceneTable.slots[slot]->sourceFile, Kind::Mesh, slot);
    WatchTextures();
    WatchIncludes(false);
    WatchIncludes(true);
    // Start-up reported its failures in boxes, which --watch answers at once; tried once more,
    // the files leave their messages. A box about something else keeps its words on the overlay.
    for (const std::string& box : platform::AnsweredMessageBoxes()) {
        if (!AboutAFile(box)) ReportWatchFailure("box: " + box, box, false);
    }
    if (!vertexShader) ReloadShader(false, true);
    if (!pixelShader) ReloadShader(true, true);
    for (int slot = 0; slot < WatchedSlots(); ++slot) {
        if (!StartedWell(sceneTable.slots[slot]))
            namedByFailedReload[slot] = ReloadSceneObject(slot);
    }
    WatchTextures();
}

void CheckWatchedFiles() {
    bool any = false;
    for (WatchedFolder& folder : folders) {
        if (folder.change == INVALID_HANDLE_VALUE) continue;
        if (WaitForSingleObject(folder.change, 0) != WAIT_OBJECT_0) continue;
        // Asked again before the files are looked at: a save after the look signals anew.
        FindNextChangeNotification(folder.change);
        folder.signalled = any = true;
    }
    for (const bool pixel : {false, true}) {
        if (includesToLearn[pixel]) WatchIncludes(pixel);
        includesToLearn[pixel] = false;
    }
    if (any) {
        bool shaders[2] = {};
        std::set<int> slots;
        for (WatchedFile& file : files) {
            if (!folders[file.folder].signalled || !LookAgain(file)) continue;
            if (file.kind == Kind::VertexShader || file.kind == Kind::PixelShader) {
                shaders[file.kind == Kind::PixelShader] = true;
            } else {
                slots.insert(file.slot);
            }
        }
        for (WatchedFolder& folder : folders) folder.signalled = false;
        // Reloaded now, their includes learnt in the next check, once the new shader is drawn.
        for (const bool pixel : {false, true}) {
            if (!shaders[pixel]) continue;
            ReloadShader(pixel);
            includesToLearn[pixel] = true;
        }
        for (int slot : slots) BeginSceneObjectReload(slot);
    }
    // Objects whose files have been read are made now, on the device's thread.
    bool reloaded = false;
    for (int slot : FinishedSceneObjectReloads()) {
        namedByFailedReload[slot] = ReloadSceneObject(slot);
        reloaded = true;
    }
    if (reloaded) WatchTextures();
}
