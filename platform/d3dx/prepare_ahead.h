// Preparing ahead: this platform's own addition to D3DX (Direct3D 9's has nothing like it), for
// a program that reloads files while its frames go on (tessaline --watch). The work of
// D3DXLoadMeshFromXA and D3DXCreateTextureFromFileA that needs no device (reading, parsing,
// decoding) is done on a thread of the caller's, and those calls, made afterwards on the
// device's thread, find it done and only make the device's objects. Neither function makes a
// device call, and neither is traced (it runs beside the traced calls of the device's thread):
// the calls that thread makes are the same with or without them.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics_device.h"

// The caller's view of work in progress, shared by the calls of one reload.
struct D3DXPREPARE_PROGRESS {
    // Set by the caller: the work ends at its next read and keeps nothing.
    std::atomic<bool> cancel{false};
    // The sizes of the files opened so far, added as each is opened, so that a caller can tell a
    // large reload from a small one early.
    std::atomic<std::uint64_t> bytes{0};
};

// Reads and parses an X file. The next D3DXLoadMeshFromXA of the same name takes what was read
// (the mesh, or the failure, whose message it then prints) instead of reading the file again,
// if the file has not changed since. pTextureNames receives the texture files that the file's
// materials name. Returns S_OK, S_FALSE when cancelled, or the failure D3DXLoadMeshFromXA will
// return for the file.
HRESULT D3DXPrepareMeshFromXA(LPCSTR pFilename, D3DXPREPARE_PROGRESS* pProgress,
                              std::vector<std::string>* pTextureNames);

// Reads and decodes a texture file into pDevice's cache of decoded pictures (within its texture
// memory budget): the next D3DXCreateTextureFromFileA of the file finds it decoded. A JPEG file,
// which is decoded in a child process, is left to that call. Returns S_OK (decoded, or left),
// S_FALSE when cancelled, or the failure that call will return.
HRESULT D3DXPrepareTextureFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                    D3DXPREPARE_PROGRESS* pProgress);
