// What --watch does with a changed file: a shader is compiled in the isolated compiler and
// swapped in when it compiles, a mesh (or a texture it names) is loaded into a new object that
// takes the old one's slot, position and rotation. A failure keeps the last good version and
// leaves a message on stderr and for the overlay until the file loads again; no message box.
// A mesh's files are read and decoded on a thread of their own (the platform's
// D3DXPrepare*), so that a large file does not hold up the frames; the mesh and its textures
// are then made on this thread, the device's, as the program always makes them.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/d3dx/prepare_ahead.h"
#include "render/graphics.h"
#include "render/watch.h"

namespace {

// Oldest first, one per failing file: each keeps its overlay line until the file is mended.
std::vector<WatchFailure> failures;

// One slot's files being read beside the frames.
struct BackgroundReload {
    int slot = -1;
    std::string file;
    D3DXPREPARE_PROGRESS progress;
    std::atomic<bool> done{false};
    std::thread worker;
};

// Files this small take less than a frame to read: their reload is waited for, and shows in the
// frame of the save.
constexpr std::uint64_t kWaitedBytes = std::uint64_t{2} << 20;

struct BackgroundReloads {
    std::vector<std::unique_ptr<BackgroundReload>> running;  // cancelled ones too, until they end
    ~BackgroundReloads() {
        for (auto& reload : running) reload->progress.cancel = true;
        for (auto& reload : running) reload->worker.join();
    }
};
BackgroundReloads reloads;

void ReadAhead(BackgroundReload* reload, IDirect3DDevice9* on) {
    std::vector<std::string> textures;
    D3DXPrepareMeshFromXA(reload->file.c_str(), &reload->progress, &textures);
    for (const std::string& texture : textures) {
        if (reload->progress.cancel) break;
        D3DXPrepareTextureFromFileA(on, texture.c_str(), &reload->progress);
    }
    reload->done = true;
}

void Forget(const std::string& file) {
    std::erase_if(failures, [&](const WatchFailure& f) { return f.file == file; });
}

std::string FirstLine(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

// Each line of `text` on stderr, as the program's own.
void Say(const std::string& text) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) std::fprintf(stderr, "tessaline: %s\n", line.c_str());
    }
}

std::string TextOf(ID3DXBuffer* buffer) {
    return buffer ? static_cast<const char*>(buffer->GetBufferPointer()) : "";
}

}  // namespace

const std::vector<WatchFailure>& WatchFailures() {
    return failures;
}

void ReportWatchFailure(const std::string& file, const std::string& message, bool say) {
    // A message names files, and a mesh may name a texture with thousands of bytes: one line
    // of the overlay holds 300 at most. A compiler's further lines go to stderr only.
    constexpr std::size_t kLongest = 300;
    std::string line = FirstLine(message);
    if (line.size() > kLongest) line = line.substr(0, kLongest) + "...";
    Forget(file);
    failures.push_back({file, line});
    const std::size_t more = message.find('\n');
    if (say) Say(more == std::string::npos ? line : line + message.substr(more));
}

void ReportWatchSuccess(const std::string& file, const std::string& what) {
    Forget(file);
    std::fprintf(stderr, "tessaline: %s %s\n", file.c_str(), what.c_str());
}

void ReloadShader(bool pixel, bool startUp) {
    const ShaderSource& source = pixel ? kPixelShaderSource : kVertexShaderSource;
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    ID3DXConstantTable* constants = nullptr;
    const HRESULT hr =
        D3DXCompileShaderFromFileA(source.file, nullptr, nullptr, source.entry, source.profile, 0,
                                   &code, &errors, pixel ? nullptr : &constants);
    std::string messages = TextOf(errors);
    if (errors) errors->Release();
    if (FAILED(hr)) {
        if (messages.empty()) messages = std::string(source.file) + ": does not compile";
        // At start-up the program's own compile has put them on stderr already.
        ReportWatchFailure(source.file, messages, !startUp);
        return;
    }
    Say(messages);  // a successful compile's warnings
    const auto* words = static_cast<const DWORD*>(code->GetBufferPointer());
    const auto refused = [&] {
        ReportWatchFailure(source.file, std::string(source.file) +
                                            ": compiled, but the device refused the shader");
        if (constants) constants->Release();
        code->Release();
    };
    if (pixel) {
        IDirect3DPixelShader9* fresh = nullptr;
        if (FAILED(device->CreatePixelShader(words, &fresh))) return refused();
        // Bound where the old one is bound (the frame binds it while useShaders is on), so
        // that slot 0 draws with it in the very next frame too.
        if (appSettings.useShaders) device->SetPixelShader(fresh);
        if (pixelShader) pixelShader->Release();
        pixelShader = fresh;
    } else {
        IDirect3DVertexShader9* fresh = nullptr;
        if (FAILED(device->CreateVertexShader(words, &fresh))) return refused();
        // Never bound: the frames draw with the fixed-function vertex stage.
        if (vertexShader) vertexShader->Release();
        if (vertexConstants) vertexConstants->Release();
        vertexShader = fresh;
        vertexConstants = constants;
    }
    code->Release();
    ReportWatchSuccess(source.file, "compiled and swapped in");
}

void BeginSceneObjectReload(int slot) {
    if (slot < 0 || slot >= sceneTable.count || !sceneTable.slots[slot]) return;
    // A newer save: the older reading ends and is not swapped in.
    for (auto& older : reloads.running) {
        if (older->slot == slot) older->progress.cancel = true;
    }
    auto reload = std::make_unique<BackgroundReload>();
    reload->slot = slot;
    reload->file = sceneTable.slots[slot]->sourceFile;
    reload->worker = std::thread(ReadAhead, reload.get(), device);
    while (!reload->done && reload->progress.bytes <= kWaitedBytes)
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    reloads.running.push_back(std::move(reload));
}

std::vector<int> FinishedSceneObjectReloads() {
    std::vector<int> slots;
    std::erase_if(reloads.running, [&](const std::unique_ptr<BackgroundReload>& reload) {
        if (!reload->done) return false;
        reload->worker.join();
        if (!reload->progress.cancel) slots.push_back(reload->slot);
        return true;
    });
    return slots;
}

std::vector<std::string> ReloadSceneObject(int slot) {
    if (slot < 0 || slot >= sceneTable.count || !sceneTable.slots[slot]) return {};
    MeshObject* old = sceneTable.slots[slot];
    auto* fresh = new MeshObject;
    std::string failure;
    if (!fresh->LoadQuietly(old->sourceFile.c_str(), failure)) {
        std::vector<std::string> named = fresh->textureNames;
        fresh->ReleaseResources();
        delete fresh;
        ReportWatchFailure(old->sourceFile, failure);
        return named;
    }
    fresh->SetPlacement(old->position.x, old->position.y, old->position.z, old->rotation.x,
                        old->rotation.y, old->rotation.z);
    sceneTable.slots[slot] = fresh;
    old->ReleaseResources();
    delete old;
    ReportWatchSuccess(fresh->sourceFile, "reloaded");
    return {};
}
