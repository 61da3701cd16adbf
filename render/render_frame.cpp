#include "render/graphics.h"

void RenderFrame() {}
