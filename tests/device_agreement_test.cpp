// The OpenGL device and the recording device run the same calls, one after another, and must
// give the same result for every one: both sit on the one front end, and no backend may answer
// differently. Each call is also traced exactly once on each.
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "platform/record/call_log.h"
#include "platform/record/record_device.h"
#include "platform/sdl/sdl_platform.h"
#include "tests/gl_fixture.h"
#include "tests/presentation.h"
#include "tests/test_files.h"

namespace {

// What a row may use, made on the device the row runs on.
struct Objects {
    IDirect3DTexture9* texture = nullptr;
    ID3DXMesh* mesh = nullptr;
    const DWORD* pixelCode = nullptr;
    const DWORD* vertexCode = nullptr;
    IDirect3DPixelShader9* pixelShader = nullptr;
    IDirect3DVertexShader9* vertexShader = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
};

struct Row {
    const char* name;
    std::function<HRESULT(IDirect3DDevice9*, Objects&)> call;
};

using D = IDirect3DDevice9*;
using O = Objects&;

const float kFloats[8] = {1, 2, 3, 4, 5, 6, 7, 8};
const int kInts[8] = {1, 2, 3, 4, 5, 6, 7, 8};
const BOOL kBools[2] = {TRUE, FALSE};
const D3DVERTEXELEMENT9 kElements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                       {0, 12, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                       D3DDECL_END()};
// The longest declaration, with no end marker in it.
const std::array<D3DVERTEXELEMENT9, MAX_FVF_DECL_SIZE> kNoEnd = [] {
    std::array<D3DVERTEXELEMENT9, MAX_FVF_DECL_SIZE> e;
    e.fill({0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0});
    return e;
}();
const RECT kRect{0, 0, 10, 10};
const D3DRECT kClearRect{10, 10, 20, 20};

D3DLIGHT9 Light(D3DLIGHTTYPE type, float range, Vec3 direction, float theta = 0, float phi = 0) {
    D3DLIGHT9 l{};
    l.Type = type;
    l.Diffuse = {1, 1, 1, 1};
    l.Range = range;
    l.Direction = direction;
    l.Theta = theta;
    l.Phi = phi;
    return l;
}

HRESULT Light(D d, DWORD index, const D3DLIGHT9& l) {
    return d->SetLight(index, &l);
}

Matrix4 Identity() {
    Matrix4 m;
    D3DXMatrixIdentity(&m);
    return m;
}

const Row kRows[] = {
    {"render state 0", [](D d, O) { return d->SetRenderState(D3DRENDERSTATETYPE(0), 1); }},
    {"render state 3", [](D d, O) { return d->SetRenderState(D3DRENDERSTATETYPE(3), 1); }},
    {"lighting off", [](D d, O) { return d->SetRenderState(D3DRS_LIGHTING, FALSE); }},
    {"lighting off again", [](D d, O) { return d->SetRenderState(D3DRS_LIGHTING, FALSE); }},
    {"cull 0", [](D d, O) { return d->SetRenderState(D3DRS_CULLMODE, 0); }},
    {"render state 200", [](D d, O) { return d->SetRenderState(D3DRENDERSTATETYPE(200), 5); }},
    {"render state 255", [](D d, O) { return d->SetRenderState(D3DRENDERSTATETYPE(255), 5); }},
    {"render state 256", [](D d, O) { return d->SetRenderState(D3DRENDERSTATETYPE(256), 5); }},
    {"render state 300", [](D d, O) { return d->SetRenderState(D3DRENDERSTATETYPE(300), 5); }},
    {"stage 0 colour op", [](D d, O) { return d->SetTextureStageState(0, D3DTSS_COLOROP, 4); }},
    // The states the draw below meets: each valid, each drawn by the OpenGL device.
    {"alpha test", [](D d, O) { return d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE); }},
    {"alpha ref", [](D d, O) { return d->SetRenderState(D3DRS_ALPHAREF, 0x40); }},
    {"alpha func", [](D d, O) { return d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER); }},
    {"flat shading", [](D d, O) { return d->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT); }},
    {"normalize normals", [](D d, O) { return d->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE); }},
    {"specular", [](D d, O) { return d->SetRenderState(D3DRS_SPECULARENABLE, TRUE); }},
    {"blending", [](D d, O) { return d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE); }},
    {"both source alpha",
     [](D d, O) { return d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_BOTHSRCALPHA); }},
    {"blend op", [](D d, O) { return d->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_MAX); }},
    {"colour writes", [](D d, O) { return d->SetRenderState(D3DRS_COLORWRITEENABLE, 7); }},
    {"depth func", [](D d, O) { return d->SetRenderState(D3DRS_ZFUNC, D3DCMP_GREATER); }},
    {"no depth writes", [](D d, O) { return d->SetRenderState(D3DRS_ZWRITEENABLE, FALSE); }},
    {"texture factor", [](D d, O) { return d->SetRenderState(D3DRS_TEXTUREFACTOR, 0x80402010); }},
    {"stage 0 lerp",
     [](D d, O) { return d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_LERP); }},
    {"stage 0 arg0",
     [](D d, O) { return d->SetTextureStageState(0, D3DTSS_COLORARG0, D3DTA_TFACTOR); }},
    {"stage 0 second set",
     [](D d, O) { return d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 1); }},
    {"stage 1 dot product",
     [](D d, O) { return d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DOTPRODUCT3); }},
    {"lod bias", [](D d, O) { return d->SetSamplerState(0, D3DSAMP_MIPMAPLODBIAS, 0xBF800000); }},
    {"largest mip level", [](D d, O) { return d->SetSamplerState(0, D3DSAMP_MAXMIPLEVEL, 2); }},
    {"anisotropic filter",
     [](D d, O) { return d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_ANISOTROPIC); }},
    {"anisotropy", [](D d, O) { return d->SetSamplerState(0, D3DSAMP_MAXANISOTROPY, 8); }},
    {"mirrored once", [](D d, O) { return d->SetSamplerState(0, D3DSAMP_ADDRESSU, 5); }},
    {"stage 7 constant", [](D d, O) { return d->SetTextureStageState(7, D3DTSS_CONSTANT, 4); }},
    {"stage 8", [](D d, O) { return d->SetTextureStageState(8, D3DTSS_COLOROP, 4); }},
    {"stage type 40",
     [](D d, O) { return d->SetTextureStageState(0, D3DTEXTURESTAGESTATETYPE(40), 4); }},
    {"sampler 0 filter", [](D d, O) { return d->SetSamplerState(0, D3DSAMP_MINFILTER, 2); }},
    {"sampler 15", [](D d, O) { return d->SetSamplerState(15, D3DSAMP_ADDRESSU, 3); }},
    {"sampler 16", [](D d, O) { return d->SetSamplerState(16, D3DSAMP_ADDRESSU, 3); }},
    {"sampler 256", [](D d, O) { return d->SetSamplerState(256, D3DSAMP_ADDRESSU, 3); }},
    {"sampler 257", [](D d, O) { return d->SetSamplerState(257, D3DSAMP_MAGFILTER, 2); }},
    {"sampler 260", [](D d, O) { return d->SetSamplerState(260, D3DSAMP_MAGFILTER, 2); }},
    {"sampler 261", [](D d, O) { return d->SetSamplerState(261, D3DSAMP_MAGFILTER, 2); }},
    {"sampler type 0", [](D d, O) { return d->SetSamplerState(0, D3DSAMPLERSTATETYPE(0), 2); }},
    {"sampler type 13", [](D d, O) { return d->SetSamplerState(0, D3DSAMP_DMAPOFFSET, 2); }},
    {"sampler type 14", [](D d, O) { return d->SetSamplerState(0, D3DSAMPLERSTATETYPE(14), 2); }},
    {"texture on 0", [](D d, O o) { return d->SetTexture(0, o.texture); }},
    {"texture on 15", [](D d, O o) { return d->SetTexture(15, o.texture); }},
    {"texture on 16", [](D d, O o) { return d->SetTexture(16, o.texture); }},
    {"texture on 257", [](D d, O o) { return d->SetTexture(257, o.texture); }},
    {"texture on 261", [](D d, O o) { return d->SetTexture(261, o.texture); }},
    {"no texture on 257", [](D d, O) { return d->SetTexture(257, nullptr); }},
    {"world",
     [](D d, O) {
         const Matrix4 m = Identity();
         return d->SetTransform(D3DTS_WORLD, &m);
     }},
    {"transform 1",
     [](D d, O) {
         const Matrix4 m = Identity();
         return d->SetTransform(D3DTRANSFORMSTATETYPE(1), &m);
     }},
    {"no matrix", [](D d, O) { return d->SetTransform(D3DTS_PROJECTION, nullptr); }},
    {"point light",
     [](D d, O) {
         return Light(d, 0, Light(D3DLIGHT_POINT, 10, {0, 0, 0}));
     }},
    {"negative range",
     [](D d, O) {
         return Light(d, 0, Light(D3DLIGHT_POINT, -1, {0, 0, 0}));
     }},
    {"directionless spot",
     [](D d, O) {
         return Light(d, 1, Light(D3DLIGHT_SPOT, 5, {0, 0, 0}, 0.1f, 0.2f));
     }},
    {"spot phi below theta",
     [](D d, O) {
         return Light(d, 1, Light(D3DLIGHT_SPOT, 5, {0, 0, 1}, 0.3f, 0.2f));
     }},
    {"light 12",
     [](D d, O) {
         return Light(d, 12, Light(D3DLIGHT_DIRECTIONAL, 0, {1, 0, 0}));
     }},
    {"no light", [](D d, O) { return d->SetLight(0, nullptr); }},
    {"enable light 0", [](D d, O) { return d->LightEnable(0, TRUE); }},
    {"enable light 30", [](D d, O) { return d->LightEnable(30, TRUE); }},
    {"no material", [](D d, O) { return d->SetMaterial(nullptr); }},
    {"material",
     [](D d, O) {
         const D3DMATERIAL9 m{{0.5f, 0.5f, 0.5f, 0.25f}, {}, {}, {}, 0};
         return d->SetMaterial(&m);
     }},
    {"declaration", [](D d, O o) { return d->CreateVertexDeclaration(kElements, &o.declaration); }},
    {"declaration without end",
     [](D d, O) {
         IDirect3DVertexDeclaration9* decl = nullptr;
         return d->CreateVertexDeclaration(kNoEnd.data(), &decl);
     }},
    {"bind declaration", [](D d, O o) { return d->SetVertexDeclaration(o.declaration); }},
    {"pixel shader", [](D d, O o) { return d->CreatePixelShader(o.pixelCode, &o.pixelShader); }},
    {"vertex shader",
     [](D d, O o) { return d->CreateVertexShader(o.vertexCode, &o.vertexShader); }},
    {"vertex code as a pixel shader",
     [](D d, O o) {
         IDirect3DPixelShader9* ps = nullptr;
         return d->CreatePixelShader(o.vertexCode, &ps);
     }},
    {"no code", [](D d, O o) { return d->CreateVertexShader(nullptr, &o.vertexShader); }},
    {"bind pixel shader", [](D d, O o) { return d->SetPixelShader(o.pixelShader); }},
    {"bind vertex shader", [](D d, O o) { return d->SetVertexShader(o.vertexShader); }},
    {"vertex floats", [](D d, O) { return d->SetVertexShaderConstantF(8190, kFloats, 2); }},
    {"vertex floats past", [](D d, O) { return d->SetVertexShaderConstantF(8191, kFloats, 2); }},
    {"pixel floats past", [](D d, O) { return d->SetPixelShaderConstantF(223, kFloats, 2); }},
    {"pixel ints", [](D d, O) { return d->SetPixelShaderConstantI(14, kInts, 2); }},
    {"pixel ints past", [](D d, O) { return d->SetPixelShaderConstantI(15, kInts, 2); }},
    {"vertex bools", [](D d, O) { return d->SetVertexShaderConstantB(14, kBools, 2); }},
    {"no constants", [](D d, O) { return d->SetPixelShaderConstantB(0, nullptr, 1); }},
    {"unbind the pixel shader", [](D d, O) { return d->SetPixelShader(nullptr); }},
    {"unbind the vertex shader", [](D d, O) { return d->SetVertexShader(nullptr); }},
    {"clear", [](D d, O) { return d->Clear(0, nullptr, 3, 0xFF000000, 1, 0); }},
    {"clear a rectangle", [](D d, O) { return d->Clear(1, &kClearRect, 1, 0xFF00FF00, 1, 0); }},
    {"clear missing rectangles", [](D d, O) { return d->Clear(2, nullptr, 1, 0, 1, 0); }},
    {"clear stencil of D16", [](D d, O) { return d->Clear(0, nullptr, 4, 0, 1, 0); }},
    {"clear nothing", [](D d, O) { return d->Clear(0, nullptr, 0, 0, 1, 0); }},
    {"draw outside a scene", [](D, O o) { return o.mesh->DrawSubset(0); }},
    {"end before begin", [](D d, O) { return d->EndScene(); }},
    {"begin", [](D d, O) { return d->BeginScene(); }},
    {"begin again", [](D d, O) { return d->BeginScene(); }},
    {"draw", [](D, O o) { return o.mesh->DrawSubset(0); }},
    {"draw an absent subset", [](D, O o) { return o.mesh->DrawSubset(7); }},
    {"end", [](D d, O) { return d->EndScene(); }},
    {"present a source rectangle",
     [](D d, O) { return d->Present(&kRect, nullptr, nullptr, nullptr); }},
    {"present", [](D d, O) { return d->Present(nullptr, nullptr, nullptr, nullptr); }},
};

class DevicesAgree : public test::GlDeviceTest {
  protected:
    // The row results of one device, and the calls its trace saw.
    std::vector<HRESULT> RunRows(IDirect3DDevice9* device, std::size_t& traced) {
        Objects o;
        o.pixelCode = pixelCode_;
        o.vertexCode = vertexCode_;
        auto* services = d3dx::ServicesOf(device);
        d3dx::TextureData t;
        t.width = t.height = 1;
        t.levels.push_back({0, 0, 0xFF, 0xFF});
        EXPECT_EQ(services->CreateTextureFromData(std::move(t), &o.texture), D3D_OK);
        d3dx::MeshData m;
        m.fvf = D3DFVF_XYZ;
        m.stride = 12;
        m.vertexCount = 3;
        const float v[9] = {0, 0, 0.5f, 1, 0, 0.5f, 0, -1, 0.5f};
        m.vertices.resize(sizeof v);
        std::memcpy(m.vertices.data(), v, sizeof v);
        m.indices.assign({0, 1, 2});
        m.attributes.assign({0});
        m.table.push_back({0, 0, 1, 0, 3});
        m.options = D3DXMESH_32BIT;
        EXPECT_EQ(services->CreateMeshFromData(std::move(m), &o.mesh), D3D_OK);
        record::Log().Clear();
        std::vector<HRESULT> results;
        for (const Row& row : kRows) results.push_back(row.call(device, o));
        traced = record::Log().Calls().size();
        for (IUnknown* made : std::initializer_list<IUnknown*>{o.texture, o.mesh, o.pixelShader,
                                                               o.vertexShader, o.declaration}) {
            if (made) made->Release();
        }
        return results;
    }

    std::vector<std::uint32_t> Compile(const char* file, const char* source, const char* entry,
                                       const char* profile) {
        test::WriteFile(dir_.Path(file), source);
        ID3DXBuffer* code = nullptr;
        EXPECT_EQ(D3DXCompileShaderFromFileA(dir_.Path(file).c_str(), nullptr, nullptr, entry,
                                             profile, 0, &code, nullptr, nullptr),
                  D3D_OK);
        if (!code) return {};
        const auto* words = static_cast<const std::uint32_t*>(code->GetBufferPointer());
        std::vector<std::uint32_t> out(words, words + code->GetBufferSize() / 4);
        code->Release();
        return out;
    }

    test::TempDir dir_;
    const DWORD* pixelCode_ = nullptr;
    const DWORD* vertexCode_ = nullptr;
};

TEST_F(DevicesAgree, EveryCallGivesTheSameResultOnBothDevices) {
    const std::vector<std::uint32_t> pixel = Compile(
        "p.psh", "float4 ps_main() : COLOR0 { return float4(0, 1, 0, 1); }", "ps_main", "ps_2_0");
    const std::vector<std::uint32_t> vertex =
        Compile("v.vsh", "float4 vs_main(float4 p : POSITION) : POSITION { return p; }", "vs_main",
                "vs_1_1");
    ASSERT_FALSE(pixel.empty());
    ASSERT_FALSE(vertex.empty());
    pixelCode_ = reinterpret_cast<const DWORD*>(pixel.data());
    vertexCode_ = reinterpret_cast<const DWORD*>(vertex.data());

    platform::SetCallTrace(&record::Log());
    IDirect3DDevice9* gl = MakeDevice();
    ASSERT_NE(gl, nullptr);
    std::size_t glTraced = 0, recordTraced = 0;
    const std::vector<HRESULT> glResults = RunRows(gl, glTraced);
    auto* recording = new record::RecordDevice(test::ProgramPresentation(window_));
    const std::vector<HRESULT> recordResults = RunRows(recording, recordTraced);
    platform::SetCallTrace(nullptr);
    recording->Release();

    ASSERT_EQ(glResults.size(), std::size(kRows));
    ASSERT_EQ(recordResults.size(), std::size(kRows));
    int refused = 0;
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        EXPECT_EQ(glResults[i], recordResults[i]) << kRows[i].name;
        refused += FAILED(recordResults[i]);
    }
    // The table holds accepted and refused calls alike; every call was traced once.
    EXPECT_GT(refused, 20);
    EXPECT_LT(refused, static_cast<int>(std::size(kRows)) - 20);
    EXPECT_EQ(glTraced, std::size(kRows));
    EXPECT_EQ(recordTraced, glTraced);
}

}  // namespace
