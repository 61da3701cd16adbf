// The per-device texture cache and its budget (see texture_cache.h for the rules it keeps).
#include "platform/d3dx/texture/texture_cache.h"

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>

#include "platform/d3dx/device_services.h"
#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/file_names.h"
#include "platform/d3dx/texture/texture_files.h"

namespace d3dx {
namespace {

constexpr std::size_t kMaxTextureFileBytes = std::size_t{256} << 20;
constexpr int kReadTries = 3;

struct IdentityLess {
    bool operator()(const FileIdentity& a, const FileIdentity& b) const {
        return std::tie(a.device, a.inode, a.size, a.modifiedNs, a.changedNs) <
               std::tie(b.device, b.inode, b.size, b.modifiedNs, b.changedNs);
    }
};

// One version of one file, as far as the device has got with it: its header read (bytes known,
// not decoded for want of room), decoded, or failed.
struct Picture {
    std::string path;  // the name it was last asked for by
    std::shared_ptr<const TextureData> texture;
    std::string error;  // why it failed; empty while it may still load
    HRESULT failure = D3D_OK;
    bool failureReported = false;
    std::uint64_t bytes = 0;         // of the prepared texture
    std::set<const void*> textures;  // texture objects made from it, not known to be gone
    // The texture objects' shared storage is counted once, while any of them is alive.
    std::uint64_t TexturesBytes() const { return textures.empty() ? 0 : bytes; }
    bool refusalReported = false;
};

using Pictures = std::map<FileIdentity, Picture, IdentityLess>;

struct DeviceTextures {
    Pictures pictures;
    std::map<std::string, FileIdentity> byPath;
    std::set<std::string> reported;  // "file: reason" lines printed for files that did not open
    std::uint64_t charged = 0;
};

struct Registry {
    std::mutex mutex;
    std::unordered_map<const void*, DeviceTextures> devices;
    // Each live texture object the cache made: its device and picture.
    std::unordered_map<const void*, std::pair<const void*, FileIdentity>> textures;
    std::uint64_t limit = kDefaultTextureMemoryLimit;
    std::uint64_t decoded = 0;
};

Registry& Reg() {
    static Registry* registry = new Registry;  // outlives every static destructor
    return *registry;
}

void Report(const char* path, const std::string& reason) {
    std::fprintf(stderr, "TEXTURE: %s: %s\n", NameForMessage(path).c_str(), reason.c_str());
}

// Takes one texture object off the count.
void Uncharge(Registry& r, const void* texture) {
    const auto found = r.textures.find(texture);
    if (found == r.textures.end()) return;
    const auto [device, identity] = found->second;
    r.textures.erase(found);
    const auto d = r.devices.find(device);
    if (d == r.devices.end()) return;
    const auto picture = d->second.pictures.find(identity);
    if (picture != d->second.pictures.end() && picture->second.textures.erase(texture) &&
        picture->second.textures.empty()) {
        d->second.charged -= picture->second.bytes;
    }
}

// Drops a picture with the charges of the cache's copy and of the textures made from it.
void Drop(Registry& r, DeviceTextures& d, Pictures::iterator picture) {
    Picture& p = picture->second;
    for (const void* texture : p.textures) r.textures.erase(texture);
    d.charged -= p.TexturesBytes() + (p.texture ? p.bytes : 0);
    const auto byPath = d.byPath.find(p.path);
    if (byPath != d.byPath.end() && !IdentityLess()(byPath->second, picture->first) &&
        !IdentityLess()(picture->first, byPath->second)) {
        d.byPath.erase(byPath);
    }
    d.pictures.erase(picture);
}

// Whether `need` more bytes fit; decoded pictures with no texture known alive are let go first.
bool MakeRoom(Registry& r, DeviceTextures& d, std::uint64_t need, const Picture* keep) {
    for (auto it = d.pictures.begin(); it != d.pictures.end() && d.charged + need > r.limit;) {
        const auto next = std::next(it);
        if (&it->second != keep && it->second.texture && it->second.textures.empty()) {
            Drop(r, d, it);
        }
        it = next;
    }
    return d.charged + need <= r.limit;
}

// Reads the whole file; a file written to while it is read is read again.
bool ReadStable(RegularFile& file, const char* path, std::vector<std::uint8_t>& bytes,
                std::string& error) {
    for (int attempt = 0; attempt < kReadTries; ++attempt) {
        if (attempt > 0 && !file.Open(path, error)) return false;
        if (!file.ReadAll(kMaxTextureFileBytes, bytes, error)) return false;
        if (file.StillTheSame()) return true;
    }
    return error = "the file kept changing while it was read", false;
}

// Reads the header (for the texture's size) and, where there is room, decodes.
void Load(Registry& r, DeviceTextures& d, Picture& p, RegularFile& file, const char* path,
          bool& refused) {
    std::vector<std::uint8_t> bytes;
    PictureHeader header;
    if (!ReadStable(file, path, bytes, p.error) || !ReadPictureHeader(bytes, header, p.error)) {
        p.failure = D3DXERR_INVALIDDATA;
        return;
    }
    p.bytes = PreparedBytes(header);
    // The cache's copy and its textures' storage.
    if (!MakeRoom(r, d, 2 * p.bytes, &p)) {
        refused = true;
        return;
    }
    TextureData decoded;
    ++r.decoded;
    if (!DecodeTextureFile(bytes, decoded, p.error)) {
        p.failure = D3DXERR_INVALIDDATA;
        return;
    }
    bytes = {};
    auto prepared = std::make_shared<TextureData>(PrepareTexture(std::move(decoded)));
    p.bytes = TextureBytes(*prepared);
    p.texture = std::move(prepared);
    d.charged += p.bytes;
}

std::string RefusalMessage(const Registry& r, const DeviceTextures& d, std::uint64_t need) {
    return "over the texture memory limit: this texture needs " + ByteSize(need) + ", and " +
           ByteSize(d.charged) + " of the device's " + ByteSize(r.limit) +
           " is held by its decoded pictures and textures";
}

}  // namespace

HRESULT CreateTextureFromFile(IDirect3DDevice9* device, const char* path,
                              IDirect3DTexture9** texture) {
    DeviceServices* services = device ? ServicesOf(device) : nullptr;
    if (!services || !path || !texture) return D3DERR_INVALIDCALL;
    // Names come from X files written on Windows: "textures\\Checker.BMP" is textures/checker.bmp.
    const std::string resolved = ResolveWindowsName(path);
    if (!resolved.empty()) path = resolved.c_str();
    Registry& r = Reg();
    const std::lock_guard lock(r.mutex);
    DeviceTextures& d = r.devices[device];
    RegularFile file;
    std::string error;
    if (!file.Open(path, error)) {
        // Printed once per name and reason: many materials may name one missing file.
        if (d.reported.insert(std::string(path) + ": " + error).second) Report(path, error);
        return D3DXERR_INVALIDDATA;
    }
    const FileIdentity identity = file.Identity();
    // The name now leads to another version of the file: the older one is replaced.
    const auto named = d.byPath.find(path);
    if (named != d.byPath.end() && !(named->second == identity)) {
        const auto old = d.pictures.find(named->second);
        if (old != d.pictures.end() && old->second.path == path) Drop(r, d, old);
        d.byPath.erase(path);
    }
    Picture& p = d.pictures[identity];
    p.path = path;
    d.byPath[path] = identity;

    bool refused = false;
    if (p.failure == D3D_OK && !p.texture) {
        // A picture refused for want of room is not read again until there is room for it.
        if (p.bytes && !MakeRoom(r, d, 2 * p.bytes, &p)) {
            refused = true;
        } else {
            Load(r, d, p, file, path, refused);
        }
    }
    if (p.failure != D3D_OK) {
        // Said once, when it first failed (or was first asked for, after a prepared decode).
        if (!p.failureReported) Report(path, p.error);
        p.failureReported = true;
        return p.failure;
    }
    // A picture whose textures are alive has its storage counted already.
    const std::uint64_t storage = p.textures.empty() ? p.bytes : 0;
    if (!refused && !MakeRoom(r, d, storage, &p)) refused = true;
    if (refused) {
        if (!p.refusalReported) {
            Report(path, RefusalMessage(r, d, p.texture ? storage : 2 * p.bytes));
            p.refusalReported = true;
        }
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    p.refusalReported = false;
    // Said every time: a driver with a smaller limit would otherwise draw the mesh black.
    const UINT largest = services->MaxTextureSize();
    if (p.texture->width > largest || p.texture->height > largest) {
        Report(path, std::to_string(p.texture->width) + " x " + std::to_string(p.texture->height) +
                         " is larger than the device's largest texture, " +
                         std::to_string(largest) + " x " + std::to_string(largest));
        return D3DERR_NOTAVAILABLE;
    }
    const HRESULT hr = services->CreateTextureFromPicture(p.texture, texture);
    if (FAILED(hr)) return hr;
    // Whatever object had this address before is gone.
    Uncharge(r, *texture);
    d.charged += p.TexturesBytes() ? 0 : p.bytes;
    p.textures.insert(*texture);
    r.textures[*texture] = {device, identity};
    return hr;
}

HRESULT PrepareTextureFromFile(IDirect3DDevice9* device, const char* path,
                               const std::atomic<bool>* cancel,
                               std::atomic<std::uint64_t>* progress) {
    if (!device || !ServicesOf(device) || !path) return D3DERR_INVALIDCALL;
    RegularFile file;
    std::string error;
    if (!file.Open(path, error)) return D3DXERR_INVALIDDATA;  // the call itself says why
    const FileIdentity identity = file.Identity();
    if (progress) *progress += identity.size;
    const auto cancelled = [&] { return cancel && cancel->load(); };
    Registry& r = Reg();
    const auto known = [&] {
        const auto d = r.devices.find(device);
        return d != r.devices.end() && d->second.pictures.count(identity) != 0;
    };
    {
        const std::lock_guard lock(r.mutex);
        if (known()) return D3D_OK;  // decoded, failed or refused already
    }
    Picture p;
    p.path = path;
    std::vector<std::uint8_t> bytes;
    PictureHeader header;
    if (cancelled()) return S_FALSE;
    if (!ReadStable(file, path, bytes, p.error) || !ReadPictureHeader(bytes, header, p.error)) {
        p.failure = D3DXERR_INVALIDDATA;
    } else if (header.kind == PictureKind::Jpeg) {
        return D3D_OK;  // decoded in a child process, by the call on the device's thread
    } else {
        {
            const std::lock_guard lock(r.mutex);
            if (!MakeRoom(r, r.devices[device], 2 * PreparedBytes(header), nullptr))
                return D3DERR_OUTOFVIDEOMEMORY;  // the call itself refuses it, and says so
            ++r.decoded;
        }
        // Decoded outside the lock: the device's thread goes on with other textures meanwhile.
        TextureData decoded;
        if (cancelled()) return S_FALSE;
        if (!DecodeTextureFile(bytes, decoded, p.error)) {
            p.failure = D3DXERR_INVALIDDATA;
        } else {
            bytes = {};
            p.texture = std::make_shared<TextureData>(PrepareTexture(std::move(decoded)));
            p.bytes = TextureBytes(*p.texture);
        }
    }
    const std::lock_guard lock(r.mutex);
    const auto d = r.devices.find(device);
    if (d == r.devices.end() || known()) return p.failure;
    if (p.texture && !MakeRoom(r, d->second, p.bytes, nullptr)) return D3DERR_OUTOFVIDEOMEMORY;
    d->second.charged += p.texture ? p.bytes : 0;
    const HRESULT failure = p.failure;
    d->second.pictures.emplace(identity, std::move(p));
    return failure;
}

void ForgetTexture(const void* texture) {
    Registry& r = Reg();
    const std::lock_guard lock(r.mutex);
    Uncharge(r, texture);
}

void ForgetDevice(const void* device) {
    Registry& r = Reg();
    const std::lock_guard lock(r.mutex);
    const auto found = r.devices.find(device);
    if (found == r.devices.end()) return;
    for (auto& [identity, picture] : found->second.pictures) {
        for (const void* texture : picture.textures) r.textures.erase(texture);
    }
    r.devices.erase(found);
}

void SetTextureMemoryLimit(std::uint64_t bytes) {
    Registry& r = Reg();
    const std::lock_guard lock(r.mutex);
    r.limit = bytes;
}

std::uint64_t TextureMemoryCharged(const void* device) {
    Registry& r = Reg();
    const std::lock_guard lock(r.mutex);
    const auto found = r.devices.find(device);
    return found == r.devices.end() ? 0 : found->second.charged;
}

std::uint64_t TextureFilesDecoded() {
    Registry& r = Reg();
    const std::lock_guard lock(r.mutex);
    return r.decoded;
}

}  // namespace d3dx
