// Writes the tests' small set of program input files into a directory, for the end-to-end
// scripts. Usage: write_test_assets DIR [--no-shaders] [--no-tiger]
#include <cstring>

#include "tests/test_assets.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    test::AssetOptions options;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-shaders") == 0)
            options.vertexShader = options.pixelShader = false;
        if (std::strcmp(argv[i], "--no-tiger") == 0) options.tiger = false;
    }
    test::WriteTestAssets(argv[1], options);
    return 0;
}
