// What the D3DX services need of a device: making a mesh, a texture and a font from data the
// services have read. Every device (OpenGL, recording) implements this beside IDirect3DDevice9,
// so that a file fails or loads the same way on each.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3dx/mesh_data.h"
#include "platform/graphics_device.h"

namespace d3dx {

// A texture's levels, largest first, in one format: A8R8G8B8 or X8R8G8B8 (32-bit ARGB words),
// or DXT1/3/5 blocks.
struct TextureData {
    D3DFORMAT format = D3DFMT_A8R8G8B8;
    UINT width = 0;
    UINT height = 0;
    std::vector<std::vector<std::uint8_t>> levels;
};

struct FontDesc {
    INT height = 0;
    UINT width = 0;
    UINT weight = 0;
    UINT mipLevels = 0;
    BOOL italic = FALSE;
    DWORD charSet = 0;
    DWORD outputPrecision = 0;
    DWORD quality = 0;
    DWORD pitchAndFamily = 0;
    std::string faceName;
};

class DeviceServices {
  public:
    virtual ~DeviceServices() = default;
    virtual HRESULT CreateMeshFromData(MeshData&& data, ID3DXMesh** mesh) = 0;
    virtual HRESULT CreateTextureFromData(TextureData&& data, IDirect3DTexture9** texture) = 0;
    // A texture object of its own whose levels are a decoded picture that other texture objects
    // may share: a device keeps one copy of the picture's storage for all of them.
    virtual HRESULT CreateTextureFromPicture(std::shared_ptr<const TextureData> picture,
                                             IDirect3DTexture9** texture) = 0;
    virtual HRESULT CreateFontFromDesc(const FontDesc& desc, ID3DXFont** font) = 0;
    // The widest and tallest texture the device can make (Direct3D 9's MaxTextureWidth and
    // MaxTextureHeight, one value for both); a larger picture is refused before it is made.
    virtual UINT MaxTextureSize() const = 0;
};

// The services of a device, or null for a device that offers none.
DeviceServices* ServicesOf(IDirect3DDevice9* device);

// An ID3DXBuffer holding a copy of `size` bytes.
ID3DXBuffer* CreateBuffer(const void* data, std::size_t size);

}  // namespace d3dx
