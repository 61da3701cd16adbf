// D3DXCreateTextureFromFileA's work below its entry point: each device keeps the pictures it
// has decoded, keyed by the file's identity (device, inode, size and times), so that every
// material naming one file decodes it once, while each call still gets a texture object of its
// own. The texture objects made from one picture share it: the device keeps one copy of its
// storage for all of them. An edited file has a new identity and is decoded again; the older
// version of that name is then dropped.
//
// A budget caps the texture memory of each device: every decoded picture the cache holds, and
// the one shared storage of the texture objects made from each picture, counted while any of
// them is alive. The count is exact for what the services can see: a texture object is no
// longer counted when the device reports it destroyed (ForgetTexture, which the Direct3D 9 front
// end calls for every texture it destroys), when a new texture object takes its address (the old
// one must be gone), or when its picture is superseded by a newer version of the file (the
// textures of the older version are taken to be replaced, as a reload replaces them).
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/graphics_device.h"

namespace d3dx {

// Room for the largest texture a file may give (a 16384 x 8192 level 0 and its chain) held once
// by the cache and once by its textures, with room to spare for ordinary scenes.
inline constexpr std::uint64_t kDefaultTextureMemoryLimit = std::uint64_t{2} << 30;

// Reads, decodes (or finds decoded) and creates. Results: D3D_OK; D3DERR_INVALIDCALL for bad
// arguments or a device without D3DX services; D3DXERR_INVALIDDATA for a file that cannot be
// opened, read or decoded; D3DERR_OUTOFVIDEOMEMORY where the texture would pass the budget; or
// the device's own failure. A failure prints one "TEXTURE: file: reason" line on stderr (once per
// version of a file and reason).
HRESULT CreateTextureFromFile(IDirect3DDevice9* device, const char* path,
                              IDirect3DTexture9** texture);

// CreateTextureFromFile's reading and decoding, done ahead on another thread: the picture joins
// the device's cache (within its budget), where the call finds it. Makes no device call and
// prints nothing: a failure is kept, and said by the call. JPEG files are left to the call.
// `progress` grows by the file's size once it is open; a set `cancel` ends the work.
HRESULT PrepareTextureFromFile(IDirect3DDevice9* device, const char* path,
                               const std::atomic<bool>* cancel,
                               std::atomic<std::uint64_t>* progress);

// For a device: a texture object or the device itself is being destroyed. Both make the count
// exact at once; they are harmless for objects the cache never saw.
void ForgetTexture(const void* texture);
void ForgetDevice(const void* device);

// The budget's limit (the same for every device) and what a device has charged against it.
void SetTextureMemoryLimit(std::uint64_t bytes);
std::uint64_t TextureMemoryCharged(const void* device);
// Files decoded since the process started, for tests and benchmarks.
std::uint64_t TextureFilesDecoded();

}  // namespace d3dx
