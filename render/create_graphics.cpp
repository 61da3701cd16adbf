#include "render/graphics.h"

IDirect3D9* direct3D = nullptr;
IDirect3DDevice9* device = nullptr;

void CreateGraphics() {}
