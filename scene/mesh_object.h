// One drawable thing of the scene: a mesh loaded from an X file with one material and at most
// one texture per subset, its placement, and the matrices of its world transform.
#pragma once

#include <string>
#include <vector>

#include "platform/graphics_device.h"

class MeshObject {
  public:
    MeshObject();

    void Load(const char* fileName);
    // Loads without message boxes (the --watch reload): returns false, with what failed in
    // `failure`, when the mesh or one of its textures cannot be loaded. The object then holds
    // what did load; ReleaseResources frees it.
    bool LoadQuietly(const char* fileName, std::string& failure);
    // Releases the mesh and the textures and empties the object (an object being replaced).
    void ReleaseResources();
    void SetPosition(float x, float y, float z);
    void SetRotation(float x, float y, float z);
    void SetPlacement(float px, float py, float pz, float rx, float ry, float rz);
    void ApplyWorld();
    void Draw();

    ID3DXMesh* mesh;
    D3DMATERIAL9* materials;
    IDirect3DTexture9** textures;
    DWORD materialCount;
    Matrix4 world;
    Vec3 position;
    Vec3 rotation;  // degrees about the X, Y and Z axes
    Matrix4 translation;
    Matrix4 rotationX;
    Matrix4 rotationY;
    Matrix4 rotationZ;
    // The file it was loaded from and the texture file names its materials hold, as written.
    std::string sourceFile;
    std::vector<std::string> textureNames;

  private:
    bool LoadFrom(const char* file, bool showBoxes, std::string& failure);
};
