// A small set of the program's input files for tests: two shaders, a "Tiger.x" of two subsets
// (one textured with "tiger.bmp", one plain) and a "seafloor.x" of one textured subset.
#pragma once

#include <string>

namespace test {

struct AssetOptions {
    bool vertexShader = true;
    bool pixelShader = true;
    bool tiger = true;
    bool seafloor = true;
    bool tigerTexture = true;
};

// Writes the files into `dir`.
void WriteTestAssets(const std::string& dir, const AssetOptions& options = {});

// A 2 x 2 24-bit BMP of one colour.
std::string SolidBmp(unsigned char r, unsigned char g, unsigned char b);

extern const char kTestVertexShader[];
extern const char kTestPixelShader[];

}  // namespace test
