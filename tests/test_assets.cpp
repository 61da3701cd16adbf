#include "tests/test_assets.h"

#include <cstring>

#include "tests/test_files.h"
#include "tools/bmp_writer.h"
#include "tools/x_writer.h"

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
    return assets::WriteBmp(2, 2, [&](int, int) { return assets::Rgb{r, g, b}; });
}

void WriteTestAssets(const std::string& dir, const AssetOptions& options) {
    if (options.vertexShader) WriteFile(dir + "/vertex.vsh", kTestVertexShader);
    if (options.pixelShader) WriteFile(dir + "/pixel.psh", kTestPixelShader);
    if (options.tiger) {
        xfile::XMeshDesc body = xfile::CubeMesh();
        body.texCoords.assign(8, {0.5f, 0.5f});
        body.materialList = true;
        body.faceMaterials = {0, 0, 0, 1, 1, 1};
        xfile::XMaterialDesc coat, nose;
        coat.faceColor = {1.0f, 0.6f, 0.2f, 1.0f};
        coat.texture = "tiger.bmp";
        nose.faceColor = {0.1f, 0.1f, 0.1f, 1.0f};
        body.materials = {coat, nose};
        xfile::XFileDesc spec;
        spec.topMeshes.push_back(body);
        WriteFile(dir + "/Tiger.x", xfile::WriteX(spec, xfile::XEncoding::Text));
    }
    if (options.tigerTexture) WriteFile(dir + "/tiger.bmp", SolidBmp(230, 140, 30));
    if (options.seafloor) {
        xfile::XFileDesc spec;
        spec.topMeshes.push_back(xfile::GridMesh(2, 1.0f));
        WriteFile(dir + "/seafloor.x", xfile::WriteX(spec, xfile::XEncoding::Text));
        WriteFile(dir + "/sand.bmp", SolidBmp(200, 180, 120));
    }
}

}  // namespace test
