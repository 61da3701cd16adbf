// Graphics start-up, the scene and the frame.
#pragma once

#include "platform/graphics_device.h"

extern IDirect3D9* direct3D;
extern IDirect3DDevice9* device;

void CreateGraphics();
void RenderFrame();
