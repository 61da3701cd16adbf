// What a device implements beneath the Direct3D 9 front end (device.h): clear and present the
// back buffer, apply the state that changed, draw a mesh subset, and make and free the backend's
// part of textures, shaders, meshes and fonts. Every argument has been checked by the front end
// and every result is the front end's; a backend never sees a call Direct3D 9 would refuse.
// The OpenGL device (platform/gl) and the recorder (platform/record) are the two backends.
#pragma once

#include <memory>

#include "platform/d3d9/state.h"
#include "platform/d3dx/device_services.h"
#include "platform/d3dx/mesh_base.h"

namespace d3d9 {

enum class ShaderStage { Vertex, Pixel };

// A backend's own object behind a front-end resource (an OpenGL texture, a compiled shader).
// Destroying it frees what the backend made, so the front end destroys it while the backend is
// alive: when the resource is released, or when the device is.
class BackendObject {
  public:
    virtual ~BackendObject() = default;
};

class Backend {
  public:
    // Whether a scene may begin; a device that can always draw says yes (the recorder refuses
    // the scenes a test asks it to).
    virtual bool SceneMayBegin() { return true; }
    virtual void ClearBuffers(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color,
                              float z, DWORD stencil) = 0;
    virtual void PresentBackBuffer() = 0;

    // Takes the state that changed since the last call before a draw; `changes` says what.
    virtual void ApplyState(const DeviceState& state, const Changes& changes) = 0;
    // Draws the faces of one attribute of a mesh this backend made, with the applied state.
    virtual void DrawSubset(d3dx::MeshBase& mesh, DWORD attribute) = 0;

    // Null, after a diagnostic line on stderr, when the backend cannot make the object. Texture
    // objects made from one picture may share the backend's copy of it.
    virtual std::unique_ptr<BackendObject> CreateTextureObject(
        const std::shared_ptr<const d3dx::TextureData>& picture) = 0;
    // `code` is a compiled shader of `stage` (the front end has checked its container).
    virtual std::unique_ptr<BackendObject> CreateShaderObject(const DWORD* code,
                                                              ShaderStage stage) = 0;
    // The D3DX objects a backend draws itself; each is adopted by the device (DeviceChild).
    virtual ID3DXMesh* CreateMeshObject(d3dx::MeshData&& data) = 0;
    virtual ID3DXFont* CreateFontObject(const d3dx::FontDesc& desc) = 0;
    // The largest texture side the backend can make; the recorder offers what Direct3D 9
    // hardware of the time commonly did.
    virtual UINT MaxTextureSize() const { return 16384; }

  protected:
    ~Backend() = default;
};

}  // namespace d3d9
