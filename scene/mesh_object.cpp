// MeshObject: loading (materials copied with ambient taken from diffuse, one texture per
// material named as the file writes it), placement, the world matrix and drawing.
#include "scene/mesh_object.h"

#include "program/process_objects.h"

namespace {
constexpr float kRadiansPerDegree = 0.017453292f;
}

MeshObject::MeshObject()
    : mesh(nullptr),
      materials(nullptr),
      textures(nullptr),
      materialCount(0),
      world{},
      position{},
      rotation{},
      translation{},
      rotationX{},
      rotationY{},
      rotationZ{} {}

void MeshObject::Load(const char* fileName) {
    std::string failure;
    LoadFrom(fileName, true, failure);
}

bool MeshObject::LoadQuietly(const char* fileName, std::string& failure) {
    return LoadFrom(fileName, false, failure);
}

bool MeshObject::LoadFrom(const char* file, bool showBoxes, std::string& failure) {
    sourceFile = file;
    textureNames.clear();
    failure.clear();
    ID3DXBuffer* materialBuffer = nullptr;
    const HRESULT hr = D3DXLoadMeshFromXA(file, D3DXMESH_SYSTEMMEM, device, nullptr,
                                          &materialBuffer, nullptr, &materialCount, &mesh);
    if (FAILED(hr)) {
        if (showBoxes) MessageBoxA(nullptr, file, "CAN'T LOAD MESH!", MB_OK);
        failure = std::string(file) + ": cannot load the mesh";
        // The object stays in the scene with nothing to draw.
        mesh = nullptr;
        materialCount = 0;
        SetPlacement(0, 0, 0, 0, 0, 0);
        return false;
    }
    const auto* records = static_cast<const D3DXMATERIAL*>(materialBuffer->GetBufferPointer());
    materials = new D3DMATERIAL9[materialCount];
    textures = new IDirect3DTexture9*[materialCount];
    for (DWORD i = 0; i < materialCount; ++i) {
        materials[i] = records[i].MatD3D;
        // The file's ambient colour is not used: ambient light takes the diffuse colour.
        materials[i].Ambient = materials[i].Diffuse;
        textures[i] = nullptr;
        const char* textureName = records[i].pTextureFilename;
        if (!textureName || lstrlenA(textureName) == 0) continue;
        textureNames.emplace_back(textureName);
        if (FAILED(D3DXCreateTextureFromFileA(device, textureName, &textures[i]))) {
            if (showBoxes) MessageBoxA(nullptr, "Could not find texture map!", "ERROR", MB_OK);
            if (failure.empty())
                failure = std::string(file) + ": cannot load its texture " + textureName;
            textures[i] = nullptr;
        }
    }
    materialBuffer->Release();
    SetPlacement(0, 0, 0, 0, 0, 0);
    return failure.empty();
}

void MeshObject::ReleaseResources() {
    for (DWORD i = 0; i < materialCount; ++i) {
        if (textures && textures[i]) textures[i]->Release();
    }
    delete[] textures;
    delete[] materials;
    if (mesh) mesh->Release();
    mesh = nullptr;
    materials = nullptr;
    textures = nullptr;
    materialCount = 0;
}

void MeshObject::SetPosition(float x, float y, float z) {
    position = {x, y, z};
    D3DXMatrixTranslation(&translation, x, y, z);
}

void MeshObject::SetRotation(float x, float y, float z) {
    rotation = {x, y, z};
}

void MeshObject::SetPlacement(float px, float py, float pz, float rx, float ry, float rz) {
    SetPosition(px, py, pz);
    SetRotation(rx, ry, rz);
}

// World = RotationY x RotationX x RotationZ x Translation: with row vectors a model point turns
// about Y first, then X, then Z, and is moved last.
void MeshObject::ApplyWorld() {
    D3DXMatrixTranslation(&translation, position.x, position.y, position.z);
    D3DXMatrixRotationX(&rotationX, rotation.x * kRadiansPerDegree);
    D3DXMatrixRotationY(&rotationY, rotation.y * kRadiansPerDegree);
    D3DXMatrixRotationZ(&rotationZ, rotation.z * kRadiansPerDegree);
    Matrix4 a, b, c;
    D3DXMatrixMultiply(&a, &rotationY, &rotationX);
    D3DXMatrixMultiply(&b, &a, &rotationZ);
    D3DXMatrixMultiply(&c, &b, &translation);
    world = c;
    device->SetTransform(D3DTS_WORLD, &world);
}

void MeshObject::Draw() {
    for (DWORD i = 0; i < materialCount; ++i) {
        ApplyWorld();
        device->SetMaterial(&materials[i]);
        device->SetTexture(0, textures[i]);
        mesh->DrawSubset(i);
    }
}
