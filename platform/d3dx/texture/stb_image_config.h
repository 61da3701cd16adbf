// stb_image as the texture front end uses it: PNG and JPEG only (BMP, TGA and DDS have readers of
// our own), from memory only, with our size limit.
#pragma once

#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 16384
#include <stb/stb_image.h>
