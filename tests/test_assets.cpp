#include "tests/test_assets.h"

#include <cstring>

#include "tests/test_files.h"
#include "tests/xfile_writer.h"

namespace test {

const char kTestVertexShader[] = R"(
float4x4 worldViewProj;
struct VS_OUT { float4 position : POSITION; float2 uv : TEXCOORD0; };
VS_OUT vs_main(float4 position : POSITION, float2 uv : TEXCOORD0) {
    VS_OUT o;
    o.position = mul(position, worldViewProj);
    o.uv = uv;
    return o;
}
)";

const char kTestPixelShader[] = R"(
sampler2D tex : register(s0);
float4 ps_main(float2 uv : TEXCOORD0, float4 colour : COLOR0) : COLOR0 {
    return tex2D(tex, uv) * colour * float4(1.0, 0.6, 0.4, 1.0);
}
)";

std::string SolidBmp(unsigned char r, unsigned char g, unsigned char b) {
    std::string bmp = "BM";
    const auto put = [&](std::uint32_t v, int n) { bmp.append(reinterpret_cast<const char*>(&v), n); };
    put(54 + 16, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(2, 4);
    put(2, 4);
    put(1, 2);
    put(24, 2);
    for (int i = 0; i < 6; ++i) put(0, 4);
    for (int row = 0; row < 2; ++row) {
        for (int px = 0; px < 2; ++px) bmp += {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
        bmp += std::string(2, '\0');  // rows are padded to four bytes
    }
    return bmp;
}

void WriteTestAssets(const std::string& dir, const AssetOptions& options) {
    if (options.vertexShader) WriteFile(dir + "/vertex.vsh", kTestVertexShader);
    if (options.pixelShader) WriteFile(dir + "/pixel.psh", kTestPixelShader);
    if (options.tiger) {
        XMeshSpec body = CubeMesh();
        body.texCoords.assign(8, {0.5f, 0.5f});
        body.materialList = true;
        body.faceMaterials = {0, 0, 0, 1, 1, 1};
        XMaterialSpec coat, nose;
        coat.faceColor = {1.0f, 0.6f, 0.2f, 1.0f};
        coat.texture = "tiger.bmp";
        nose.faceColor = {0.1f, 0.1f, 0.1f, 1.0f};
        body.materials = {coat, nose};
        XFileSpec spec;
        spec.topMeshes.push_back(body);
        WriteFile(dir + "/Tiger.x", WriteX(spec, XEncoding::Text));
    }
    if (options.tigerTexture) WriteFile(dir + "/tiger.bmp", SolidBmp(230, 140, 30));
    if (options.seafloor) {
        XFileSpec spec;
        spec.topMeshes.push_back(GridMesh(2, 1.0f));
        WriteFile(dir + "/seafloor.x", WriteX(spec, XEncoding::Text));
        WriteFile(dir + "/sand.bmp", SolidBmp(200, 180, 120));
    }
}

}  // namespace test
