// Graphics start-up, the scene and the frame: the process-wide graphics objects and the
// operations that make and use them.
#pragma once

#include "program/process_objects.h"
#include "scene/mesh_object.h"

// A shader's source file and how it is compiled, at start-up and by --watch.
struct ShaderSource {
    const char* file;
    const char* entry;
    const char* profile;
};
inline constexpr ShaderSource kVertexShaderSource{"vertex.vsh", "vs_main", "vs_1_1"};
inline constexpr ShaderSource kPixelShaderSource{"pixel.psh", "ps_main", "ps_2_0"};

void CreateGraphics();
void SetUpScene();
// The scene's population: the two meshes and the camera.
void SetUpSceneObjects();
// Stores a new object in the next slot, loads it and counts it; null when the table is full.
MeshObject* AddSceneObject(const char* fileName);
void RenderFrame();
