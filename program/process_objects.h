// The program's process-wide objects, declared once beneath every program folder. shell/,
// render/, scene/, camera/ and input/ reach each other's objects only through this header, so
// that includes run down: shell -> render -> scene, camera, input -> here -> platform.
// Everything is created during start-up and lives until the process ends.
#pragma once

#include "platform/graphics_device.h"
#include "platform/window_input.h"

class Camera;
class MeshObject;

// The five display toggles, with their initial values.
struct AppSettings {
    bool showText = true;
    bool useShaders = true;
    bool wireframe = false;
    bool rotateMeshes = false;
    bool mouseLook = false;
};

// One entry per virtual-key code, set while the key is down.
struct KeyTable {
    bool down[256] = {};
};

// The DirectInput system mouse, read once per idle iteration into relative movement. It starts
// with no movement and its sensitivity, so that a set-up that stops early leaves a mouse that
// reads as still.
struct MouseInput {
    float sensitivity = 0.0035f;
    LONG deltaX = 0;
    LONG deltaY = 0;
    LONG deltaZ = 0;
    IDirectInput8* directInput = nullptr;
    DIMOUSESTATE state{};
};

// The scene's objects: slots filled in order, never emptied.
struct SceneTable {
    static constexpr int kCapacity = 1000;
    MeshObject* slots[kCapacity] = {};
    int count = 0;
};

// The window (shell/).
extern AppSettings appSettings;
extern KeyTable keyTable;
extern HINSTANCE appInstance;
extern HWND appWindow;

// Graphics (render/).
extern IDirect3D9* direct3D;
extern IDirect3DDevice9* device;
extern IDirect3DVertexDeclaration9* vertexDeclaration;
extern IDirect3DVertexShader9* vertexShader;
extern ID3DXConstantTable* vertexConstants;
extern IDirect3DPixelShader9* pixelShader;
extern D3DLIGHT9 light;
extern ID3DXFont* font;
extern RECT textRect;
extern float rotationAngle;
extern SceneTable sceneTable;

// The camera (camera/) and the mouse (input/).
extern Camera* camera;
extern MouseInput* mouseInput;
extern IDirectInputDevice8* mouseDevice;

// Set by WinMain when the command line asks for --watch (render/watch.h).
extern bool watchFiles;
