// X file meshes with DeclData drawn by the OpenGL device, headless on llvmpipe: each element of
// the loaded mesh's declaration reaches the vertex shader input of its semantic, and a DeclData
// colour reaches the fixed-function stage.
#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>

#include "tests/gl_fixture.h"
#include "tests/test_files.h"
#include "tools/x_writer.h"

namespace {

std::uint32_t Bits(float f) {
    std::uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

// A quad over the middle of the screen in clip space, clockwise (front facing), with normals
// and texture coordinates, and per vertex: a tangent (1, 0.5, 0.25), a binormal (0.75, 0, 1),
// a second texture coordinate set (0.5, 1) and a specular colour 0x80FF4000.
std::string QuadWithDeclData(xfile::XEncoding encoding) {
    xfile::XMeshDesc m;
    m.positions = {
        {-0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}, {-0.5f, -0.5f, 0.5f}};
    m.faces = {{0, 1, 2, 3}};
    m.normals = {{0, 0, -1}};
    m.normalFaces = {{0, 0, 0, 0}};
    m.texCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    m.declElements = {{D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_TANGENT, 0},
                      {D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_BINORMAL, 0},
                      {D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 1},
                      {D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 1}};
    for (int v = 0; v < 4; ++v) {
        for (float f : {1.0f, 0.5f, 0.25f, 0.75f, 0.0f, 1.0f, 0.5f, 1.0f}) {
            m.declData.push_back(Bits(f));
        }
        m.declData.push_back(0x80FF4000u);
    }
    xfile::XFileDesc desc;
    desc.topMeshes = {m};
    return xfile::WriteX(desc, encoding);
}

class DeclDataDrawing : public test::GlDeviceTest {
  protected:
    void SetUp() override {
        GlDeviceTest::SetUp();
        device = MakeDevice();
        ASSERT_NE(device, nullptr);
        SetScreenSpace();
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    }
    ID3DXMesh* Load(const std::string& bytes) {
        test::WriteFile(dir_.Path("mesh.x"), bytes);
        ID3DXMesh* mesh = nullptr;
        ID3DXBuffer* materials = nullptr;
        EXPECT_EQ(D3DXLoadMeshFromXA(dir_.Path("mesh.x").c_str(), D3DXMESH_SYSTEMMEM, device,
                                     nullptr, &materials, nullptr, nullptr, &mesh),
                  D3D_OK);
        if (materials) materials->Release();
        return mesh;
    }
    template <typename Shader>
    Shader* Compile(const char* source, const char* entry, const char* profile) {
        test::WriteFile(dir_.Path("shader.hlsl"), source);
        ID3DXBuffer* code = nullptr;
        ID3DXBuffer* errors = nullptr;
        const HRESULT hr =
            D3DXCompileShaderFromFileA(dir_.Path("shader.hlsl").c_str(), nullptr, nullptr, entry,
                                       profile, 0, &code, &errors, nullptr);
        EXPECT_EQ(hr, D3D_OK) << (errors ? static_cast<const char*>(errors->GetBufferPointer())
                                         : "");
        if (FAILED(hr)) return nullptr;
        Shader* shader = nullptr;
        const auto* words = static_cast<const DWORD*>(code->GetBufferPointer());
        if constexpr (std::is_same_v<Shader, IDirect3DVertexShader9>) {
            EXPECT_EQ(device->CreateVertexShader(words, &shader), D3D_OK);
        } else {
            EXPECT_EQ(device->CreatePixelShader(words, &shader), D3D_OK);
        }
        code->Release();
        return Keep(shader);
    }
    void Draw(ID3DXMesh* mesh) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        EXPECT_EQ(mesh->DrawSubset(0), D3D_OK);
        device->EndScene();
        pixels_.clear();
    }
    IDirect3DDevice9* device = nullptr;
    test::TempDir dir_;
};

// Each case's vertex shader shows some DeclData elements as the colour; the pixel shader passes
// the colour on.
TEST_F(DeclDataDrawing, AVertexShaderReadsEachDeclDataElementByItsSemantic) {
    struct Case {
        const char* inputs;
        const char* colour;
        D3DCOLOR expected;
    };
    const Case cases[] = {
        {"float3 t : TANGENT, float2 uv1 : TEXCOORD1", "float4(t.x, t.y, t.z, 1)", 0xFFFF8040},
        {"float3 b : BINORMAL, float2 uv1 : TEXCOORD1", "float4(b.x, uv1.x, b.y, 1)", 0xFFBF8000},
        {"float4 c : COLOR1, float3 n : NORMAL", "float4(c.g, -n.z, c.b, 1)", 0xFF40FF00},
        {"float2 uv : TEXCOORD0, float2 uv1 : TEXCOORD1", "float4(uv1.y, uv.x, uv.y, 1)",
         0xFFFF8080},
    };
    IDirect3DPixelShader9* pixel = Compile<IDirect3DPixelShader9>(
        "float4 ps_main(float4 c : COLOR0) : COLOR0 { return c; }", "ps_main", "ps_2_0");
    for (xfile::XEncoding encoding : {xfile::XEncoding::Text, xfile::XEncoding::BinaryZip}) {
        ID3DXMesh* mesh = Load(QuadWithDeclData(encoding));
        ASSERT_NE(mesh, nullptr);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.inputs);
            const std::string source =
                std::string(
                    "struct Out { float4 p : POSITION; float4 c : COLOR0; };\n"
                    "Out vs_main(float4 position : POSITION, ") +
                c.inputs + ") {\n Out o;\n o.p = float4(position.xyz, 1);\n o.c = " + c.colour +
                ";\n return o;\n}\n";
            device->SetVertexShader(
                Compile<IDirect3DVertexShader9>(source.c_str(), "vs_main", "vs_2_0"));
            device->SetPixelShader(pixel);
            Draw(mesh);
            // Texture coordinates (0.5, 0.5) in the middle: the quad's centre.
            EXPECT_COLOR_NEAR(PixelAt(500, 250), c.expected, 2);
            EXPECT_COLOR_NEAR(PixelAt(100, 250), 0xFF000000u, 0);
        }
        mesh->Release();
    }
}

// A DeclData diffuse colour with no other component beside the position: the layout is the
// FVF XYZ | DIFFUSE, and the fixed-function stage shows the colour.
TEST_F(DeclDataDrawing, ADeclDataDiffuseColourReachesTheFixedFunctionStage) {
    xfile::XMeshDesc m;
    m.positions = {
        {-0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}, {-0.5f, -0.5f, 0.5f}};
    m.faces = {{0, 1, 2, 3}};
    m.declElements = {{D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0}};
    m.declData.assign(4, 0xFF20C040u);
    xfile::XFileDesc desc;
    desc.topMeshes = {m};
    ID3DXMesh* mesh = Load(xfile::WriteX(desc, xfile::XEncoding::Binary32));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetFVF(), D3DFVF_XYZ | D3DFVF_DIFFUSE);
    Draw(mesh);
    EXPECT_COLOR_NEAR(PixelAt(500, 250), 0xFF20C040u, 1);
    mesh->Release();
}

}  // namespace
