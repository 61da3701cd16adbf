// The process-wide objects of process_objects.h, defined in one place.
#include "program/process_objects.h"

AppSettings appSettings;
KeyTable keyTable;
HINSTANCE appInstance = nullptr;
HWND appWindow = nullptr;

IDirect3D9* direct3D = nullptr;
IDirect3DDevice9* device = nullptr;
IDirect3DVertexDeclaration9* vertexDeclaration = nullptr;
IDirect3DVertexShader9* vertexShader = nullptr;
ID3DXConstantTable* vertexConstants = nullptr;
IDirect3DPixelShader9* pixelShader = nullptr;
D3DLIGHT9 light{};
ID3DXFont* font = nullptr;
RECT textRect{};
float rotationAngle = 0.0f;
SceneTable sceneTable;

Camera* camera = nullptr;
MouseInput* mouseInput = nullptr;
IDirectInputDevice8* mouseDevice = nullptr;

bool watchFiles = false;
