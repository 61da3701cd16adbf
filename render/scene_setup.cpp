// The scene: the tiger and the sea floor in the scene table, then the camera at its start.
#include "camera/camera.h"
#include "render/graphics.h"

MeshObject* AddSceneObject(const char* fileName) {
    // A full table refuses the object rather than writing past its slots.
    if (sceneTable.count >= SceneTable::kCapacity) return nullptr;
    MeshObject*& slot = sceneTable.slots[sceneTable.count];
    slot = new MeshObject;
    slot->Load(fileName);
    ++sceneTable.count;
    return slot;
}

void SetUpSceneObjects() {
    if (MeshObject* tiger = AddSceneObject("Tiger.x")) tiger->SetPosition(0.0f, 0.0f, 5.0f);
    if (MeshObject* floor = AddSceneObject("seafloor.x")) floor->SetPosition(0.0f, 8.5f, 3.0f);

    camera = new Camera;
    camera->autoUpdate = true;
    camera->SetEye({0.5f, 0.5f, -3.5f});
    camera->SetUpVector({0.0f, 1.0f, 0.0f});
}
