// The one instance of stb_image's implementation, in a file of its own so that its build flags
// stay apart from ours.
#define STB_IMAGE_IMPLEMENTATION
#include "platform/d3dx/texture/stb_image_config.h"
