// One drawable thing of the scene: a mesh loaded from an X file with one material and at most
// one texture per subset, its placement, and the matrices of its world transform.
#pragma once

#include "platform/graphics_device.h"

class MeshObject {
  public:
    MeshObject();

    void Load(const char* fileName);
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
};
