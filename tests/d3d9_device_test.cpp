// The Direct3D 9 front end over a backend that only counts what reaches it: the results of
// refused calls, the references a device holds on what it binds, what releasing a device does
// to the objects the program still holds, what reaches the backend at a draw, and the trace.
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "platform/d3d9/device.h"
#include "platform/d3dx/hlsl/shader_container.h"
#include "platform/record/call_log.h"
#include "platform/record/record_platform.h"
#include "tests/presentation.h"
#include "tests/test_support.h"

namespace {

struct Counters {
    int liveObjects = 0;  // backend objects of textures and shaders
    bool deviceGone = false;
    int clears = 0, presents = 0, draws = 0;
    std::vector<d3d9::Changes> applied;             // one per ApplyState
    std::vector<const d3d9::BackendObject*> drawn;  // stage 0's texture object at each draw
};

class CountedObject final : public d3d9::BackendObject {
  public:
    explicit CountedObject(Counters& c) : c_(c) { ++c_.liveObjects; }
    ~CountedObject() override { --c_.liveObjects; }

  private:
    Counters& c_;
};

class FakeMesh final : public d3dx::MeshBase, public d3d9::DeviceChild {
  public:
    FakeMesh(d3d9::Device* device, d3dx::MeshData&& data)
        : MeshBase(device, std::move(data)), device_(device) {}
    HRESULT DrawSubset(DWORD AttribId) override {
        return device_ ? device_->DrawMeshSubset(*this, AttribId) : D3DERR_INVALIDCALL;
    }

  private:
    void DetachFromDevice() override { device_ = nullptr; }
    d3d9::Device* device_;
};

class FakeDevice final : public d3d9::Device, private d3d9::Backend {
  public:
    FakeDevice(Counters& counters, const D3DPRESENT_PARAMETERS& parameters)
        : Device(static_cast<d3d9::Backend&>(*this), parameters), c_(counters) {}
    ~FakeDevice() override {
        ReleaseAll();
        c_.deviceGone = true;
    }
    bool refuseShaders = false;

  private:
    void ClearBuffers(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override {
        ++c_.clears;
    }
    void PresentBackBuffer() override { ++c_.presents; }
    void ApplyState(const d3d9::DeviceState&, const d3d9::Changes& changes) override {
        c_.applied.push_back(changes);
    }
    void DrawSubset(d3dx::MeshBase&, DWORD) override {
        ++c_.draws;
        const d3d9::Texture* t = State().textures[0];
        c_.drawn.push_back(t ? t->Object() : nullptr);
    }
    std::unique_ptr<d3d9::BackendObject> CreateTextureObject(
        const std::shared_ptr<const d3dx::TextureData>&) override {
        return std::make_unique<CountedObject>(c_);
    }
    std::unique_ptr<d3d9::BackendObject> CreateShaderObject(const DWORD*,
                                                            d3d9::ShaderStage) override {
        if (refuseShaders) return nullptr;
        return std::make_unique<CountedObject>(c_);
    }
    ID3DXMesh* CreateMeshObject(d3dx::MeshData&& data) override {
        return new FakeMesh(this, std::move(data));
    }
    ID3DXFont* CreateFontObject(const d3dx::FontDesc&) override { return nullptr; }

    Counters& c_;
};

D3DPRESENT_PARAMETERS Parameters() {
    D3DPRESENT_PARAMETERS pp = test::ProgramPresentation(nullptr);
    pp.hDeviceWindow = nullptr;
    return pp;
}

IDirect3DTexture9* MakeTexture(d3d9::Device& device) {
    d3dx::TextureData data;
    data.width = data.height = 1;
    data.levels.push_back({0xFF, 0, 0, 0xFF});
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device.CreateTextureFromData(std::move(data), &texture), D3D_OK);
    return texture;
}

ID3DXMesh* MakeMesh(d3d9::Device& device) {
    d3dx::MeshData data;
    data.fvf = D3DFVF_XYZ;
    data.stride = 12;
    data.vertexCount = 3;
    data.vertices.resize(36);
    data.indices.assign({0, 1, 2});
    data.attributes.assign({0});
    data.table.push_back({0, 0, 1, 0, 3});
    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(device.CreateMeshFromData(std::move(data), &mesh), D3D_OK);
    return mesh;
}

// A compiled shader's container: the stage's version token and the tag are all the front end
// reads before its backend takes the code.
std::vector<std::uint32_t> ShaderCode(bool pixel) {
    d3dx::ShaderReflection shader;
    shader.stage = pixel ? d3dx::ShaderStage::Pixel : d3dx::ShaderStage::Vertex;
    shader.entry = "main";
    shader.glsl = "void main() {}";
    return d3dx::PackShader(shader);
}

class FrontEnd : public ::testing::Test {
  protected:
    void SetUp() override { record::InstallRecordingPlatform(); }
    Counters counters;
    FakeDevice* device = new FakeDevice(counters, Parameters());
    void TearDown() override {
        if (device) device->Release();
    }
};

struct RefusalCase {
    const char* name;
    std::function<HRESULT(IDirect3DDevice9*)> call;
    HRESULT expected;
};

TEST_F(FrontEnd, EachCallGivesDirect3D9sResult) {
    D3DLIGHT9 spot{};
    spot.Type = D3DLIGHT_SPOT;
    spot.Direction = {0, 0, 1};
    spot.Theta = 0.5f;
    spot.Phi = 0.25f;  // a cone narrower outside than inside
    D3DLIGHT9 directionless{};
    directionless.Type = D3DLIGHT_DIRECTIONAL;
    D3DLIGHT9 point{};
    point.Type = D3DLIGHT_POINT;
    point.Range = 10;
    D3DLIGHT9 unknownType = point;
    unknownType.Type = static_cast<D3DLIGHTTYPE>(4);
    Matrix4 identity;
    D3DXMatrixIdentity(&identity);
    const float floats[8] = {};
    // A declaration of the longest length with no end marker in it.
    std::array<D3DVERTEXELEMENT9, MAX_FVF_DECL_SIZE> noEnd;
    noEnd.fill({0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0});
    const D3DVERTEXELEMENT9 badType[2] = {{0, 0, 18, 0, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
    const std::vector<std::uint32_t> pixelCode = ShaderCode(true);
    const auto* code = reinterpret_cast<const DWORD*>(pixelCode.data());
    const DWORD garbage[4] = {0xFFFF0200, 0, 0, 0};
    const RECT rect{0, 0, 1, 1};
    IDirect3DVertexDeclaration9* decl = nullptr;
    IDirect3DPixelShader9* ps = nullptr;
    constexpr HRESULT kOk = D3D_OK, kBad = D3DERR_INVALIDCALL;
    using D = IDirect3DDevice9*;
    const RefusalCase cases[] = {
        // Render state numbers: 0 and 7 to 255 are stored, defined or not.
        {"render state 0", [](D d) { return d->SetRenderState(D3DRENDERSTATETYPE(0), 1); }, kOk},
        {"render state 1", [](D d) { return d->SetRenderState(D3DRENDERSTATETYPE(1), 1); }, kBad},
        {"render state 6", [](D d) { return d->SetRenderState(D3DRENDERSTATETYPE(6), 1); }, kBad},
        {"render state 7", [](D d) { return d->SetRenderState(D3DRS_ZENABLE, 1); }, kOk},
        {"render state 100", [](D d) { return d->SetRenderState(D3DRENDERSTATETYPE(100), 1); },
         kOk},
        {"render state 255", [](D d) { return d->SetRenderState(D3DRENDERSTATETYPE(255), 1); },
         kOk},
        {"render state 256", [](D d) { return d->SetRenderState(D3DRENDERSTATETYPE(256), 1); },
         kBad},
        {"render state 300", [](D d) { return d->SetRenderState(D3DRENDERSTATETYPE(300), 1); },
         kBad},
        // Texture stages 0 to 7, types up to D3DTSS_CONSTANT.
        {"stage 7", [](D d) { return d->SetTextureStageState(7, D3DTSS_CONSTANT, 1); }, kOk},
        {"stage 8", [](D d) { return d->SetTextureStageState(8, D3DTSS_COLOROP, 1); }, kBad},
        {"stage type 33",
         [](D d) { return d->SetTextureStageState(0, D3DTEXTURESTAGESTATETYPE(33), 1); }, kBad},
        // Samplers 0-15, the displacement map's 256 and the vertex samplers 257-260.
        {"sampler 15", [](D d) { return d->SetSamplerState(15, D3DSAMP_DMAPOFFSET, 1); }, kOk},
        {"sampler 16", [](D d) { return d->SetSamplerState(16, D3DSAMP_MINFILTER, 1); }, kBad},
        {"sampler 255", [](D d) { return d->SetSamplerState(255, D3DSAMP_MINFILTER, 1); }, kBad},
        {"sampler 256", [](D d) { return d->SetSamplerState(256, D3DSAMP_MINFILTER, 1); }, kOk},
        {"sampler 257", [](D d) { return d->SetSamplerState(257, D3DSAMP_MINFILTER, 1); }, kOk},
        {"sampler 260", [](D d) { return d->SetSamplerState(260, D3DSAMP_MINFILTER, 1); }, kOk},
        {"sampler 261", [](D d) { return d->SetSamplerState(261, D3DSAMP_MINFILTER, 1); }, kBad},
        {"sampler type 0", [](D d) { return d->SetSamplerState(0, D3DSAMPLERSTATETYPE(0), 1); },
         kBad},
        {"sampler type 14", [](D d) { return d->SetSamplerState(0, D3DSAMPLERSTATETYPE(14), 1); },
         kBad},
        {"texture on 16", [](D d) { return d->SetTexture(16, nullptr); }, kBad},
        {"texture on 257", [](D d) { return d->SetTexture(257, nullptr); }, kOk},
        {"texture on 260", [](D d) { return d->SetTexture(260, nullptr); }, kOk},
        {"texture on 261", [](D d) { return d->SetTexture(261, nullptr); }, kBad},
        // Transforms: a matrix is needed; numbers with no transform are accepted.
        {"no matrix", [](D d) { return d->SetTransform(D3DTS_VIEW, nullptr); }, kBad},
        {"transform 1", [&](D d) { return d->SetTransform(D3DTRANSFORMSTATETYPE(1), &identity); },
         kOk},
        {"world 255", [&](D d) { return d->SetTransform(D3DTS_WORLDMATRIX(255), &identity); }, kOk},
        // Lights.
        {"no light", [](D d) { return d->SetLight(0, nullptr); }, kBad},
        {"phi below theta", [&](D d) { return d->SetLight(0, &spot); }, kBad},
        {"no direction", [&](D d) { return d->SetLight(0, &directionless); }, kBad},
        {"unknown type", [&](D d) { return d->SetLight(0, &unknownType); }, kBad},
        {"light 100", [&](D d) { return d->SetLight(100, &point); }, kOk},
        {"enable light 9999", [](D d) { return d->LightEnable(9999, TRUE); }, kOk},
        {"no material", [](D d) { return d->SetMaterial(nullptr); }, kBad},
        // Clear and Present.
        {"clear nothing", [](D d) { return d->Clear(0, nullptr, 0, 0, 1, 0); }, kBad},
        {"clear unknown buffer", [](D d) { return d->Clear(0, nullptr, 8, 0, 1, 0); }, kBad},
        {"rectangles missing", [](D d) { return d->Clear(1, nullptr, 1, 0, 1, 0); }, kBad},
        {"stencil of D16", [](D d) { return d->Clear(0, nullptr, 4, 0, 1, 0); }, kBad},
        {"clear target and depth", [](D d) { return d->Clear(0, nullptr, 3, 0, 1, 0); }, kOk},
        {"present a rectangle", [&](D d) { return d->Present(&rect, nullptr, nullptr, nullptr); },
         kBad},
        {"present", [](D d) { return d->Present(nullptr, nullptr, nullptr, nullptr); }, kOk},
        // Declarations and shaders.
        {"no elements", [&](D d) { return d->CreateVertexDeclaration(nullptr, &decl); }, kBad},
        {"no end marker", [&](D d) { return d->CreateVertexDeclaration(noEnd.data(), &decl); },
         kBad},
        {"element type 18", [&](D d) { return d->CreateVertexDeclaration(badType, &decl); }, kBad},
        {"no shader code", [&](D d) { return d->CreatePixelShader(nullptr, &ps); }, kBad},
        {"code of the other stage",
         [&](D d) {
             IDirect3DVertexShader9* vs = nullptr;
             return d->CreateVertexShader(code, &vs);
         },
         kBad},
        {"code that is no container", [&](D d) { return d->CreatePixelShader(garbage, &ps); },
         kBad},
        {"pixel shader", [&](D d) { return d->CreatePixelShader(code, &ps); }, kOk},
        // Shader constant registers.
        {"vertex floats to 8192", [&](D d) { return d->SetVertexShaderConstantF(8190, floats, 2); },
         kOk},
        {"vertex floats past 8192",
         [&](D d) { return d->SetVertexShaderConstantF(8191, floats, 2); }, kBad},
        {"pixel floats past 224", [&](D d) { return d->SetPixelShaderConstantF(223, floats, 2); },
         kBad},
        {"ints past 16",
         [](D d) {
             const int ints[8] = {};
             return d->SetPixelShaderConstantI(15, ints, 2);
         },
         kBad},
        {"bools to 16",
         [](D d) {
             const BOOL bools[2] = {};
             return d->SetVertexShaderConstantB(14, bools, 2);
         },
         kOk},
        {"no values", [](D d) { return d->SetPixelShaderConstantF(0, nullptr, 1); }, kBad},
        {"start past the end", [&](D d) { return d->SetPixelShaderConstantF(225, floats, 0); },
         kBad},
        // Scenes.
        {"end without begin", [](D d) { return d->EndScene(); }, kBad},
        {"begin", [](D d) { return d->BeginScene(); }, kOk},
        {"begin twice", [](D d) { return d->BeginScene(); }, kBad},
        {"end", [](D d) { return d->EndScene(); }, kOk},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.call(device), c.expected);
    }
    // Refused calls reached nothing: the one clear and the one present that were accepted.
    EXPECT_EQ(counters.clears, 1);
    EXPECT_EQ(counters.presents, 1);
    if (ps) ps->Release();
}

TEST_F(FrontEnd, ARefusedCallChangesNoState) {
    const DWORD lighting = device->State().renderStates[D3DRS_LIGHTING];
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATETYPE(256 + D3DRS_LIGHTING), !lighting),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetSamplerState(16, D3DSAMP_MINFILTER, D3DTEXF_LINEAR), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->State().renderStates[D3DRS_LIGHTING], lighting);
    for (const DWORD* sampler : device->State().samplerStates)
        EXPECT_EQ(sampler[D3DSAMP_MINFILTER], static_cast<DWORD>(D3DTEXF_POINT));
}

TEST_F(FrontEnd, ABoundTextureLivesUntilItIsUnbound) {
    IDirect3DTexture9* texture = MakeTexture(*device);
    ID3DXMesh* mesh = MakeMesh(*device);
    ASSERT_EQ(device->SetTexture(0, texture), D3D_OK);
    const d3d9::BackendObject* object = device->State().textures[0]->Object();
    // The program's reference goes; the device's keeps the texture, which the draw still sees.
    EXPECT_EQ(texture->Release(), 1u);
    device->BeginScene();
    EXPECT_EQ(mesh->DrawSubset(0), D3D_OK);
    device->EndScene();
    ASSERT_EQ(counters.drawn.size(), 1u);
    EXPECT_EQ(counters.drawn[0], object);
    EXPECT_EQ(counters.liveObjects, 1);
    // Unbinding gives the last reference back.
    EXPECT_EQ(device->SetTexture(0, nullptr), D3D_OK);
    EXPECT_EQ(counters.liveObjects, 0);
    mesh->Release();
}

TEST_F(FrontEnd, BoundShadersAndDeclarationsLiveUntilTheyAreUnbound) {
    const std::vector<std::uint32_t> pixel = ShaderCode(true), vertex = ShaderCode(false);
    IDirect3DPixelShader9* ps = nullptr;
    IDirect3DVertexShader9* vs = nullptr;
    IDirect3DVertexDeclaration9* decl = nullptr;
    const D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                          D3DDECL_END()};
    ASSERT_EQ(device->CreatePixelShader(reinterpret_cast<const DWORD*>(pixel.data()), &ps), D3D_OK);
    ASSERT_EQ(device->CreateVertexShader(reinterpret_cast<const DWORD*>(vertex.data()), &vs),
              D3D_OK);
    ASSERT_EQ(device->CreateVertexDeclaration(elements, &decl), D3D_OK);
    EXPECT_EQ(counters.liveObjects, 2);
    device->SetPixelShader(ps);
    device->SetVertexShader(vs);
    device->SetVertexDeclaration(decl);
    // Binding again takes no second reference.
    device->SetPixelShader(ps);
    EXPECT_EQ(ps->AddRef(), 3u);
    EXPECT_EQ(ps->Release(), 2u);
    EXPECT_EQ(ps->Release(), 1u);
    EXPECT_EQ(vs->Release(), 1u);
    EXPECT_EQ(decl->Release(), 1u);
    EXPECT_EQ(device->State().pixelShader, ps);
    device->SetPixelShader(nullptr);
    EXPECT_EQ(counters.liveObjects, 1);
    device->SetVertexShader(nullptr);
    device->SetVertexDeclaration(nullptr);
    EXPECT_EQ(counters.liveObjects, 0);
}

// Direct3D 9's resources hold their device: the device goes with the last of the program's
// references, its own or an object's, and then releases what only its bindings still held.
TEST_F(FrontEnd, ObjectsHoldTheirDeviceAndTheDeviceHoldsOnlyWhatItBinds) {
    IDirect3DTexture9* bound = MakeTexture(*device);
    IDirect3DTexture9* held = MakeTexture(*device);
    ID3DXMesh* mesh = MakeMesh(*device);
    EXPECT_EQ(device->AddRef(), 5u);  // the program's, and one per object
    EXPECT_EQ(device->Release(), 4u);
    device->SetTexture(3, bound);
    device->SetTexture(4, held);
    // Released by the program, a bound texture lives on its binding and lets the device go.
    EXPECT_EQ(bound->Release(), 1u);
    EXPECT_EQ(device->AddRef(), 4u);
    EXPECT_EQ(device->Release(), 3u);
    // The program lets the device go: the objects it still holds keep it, whole.
    EXPECT_EQ(device->Release(), 2u);
    d3d9::Device* const alive = device;
    device = nullptr;
    EXPECT_FALSE(counters.deviceGone);
    EXPECT_EQ(counters.liveObjects, 2);
    IDirect3DDevice9* fromMesh = nullptr;
    ASSERT_EQ(mesh->GetDevice(&fromMesh), D3D_OK);
    EXPECT_EQ(fromMesh, static_cast<IDirect3DDevice9*>(alive));
    EXPECT_EQ(fromMesh->Release(), 2u);  // GetDevice added a reference
    alive->BeginScene();
    EXPECT_EQ(mesh->DrawSubset(0), D3D_OK);
    alive->EndScene();
    // The held texture is still bound: its binding keeps it, not the device.
    EXPECT_EQ(held->Release(), 1u);
    EXPECT_FALSE(counters.deviceGone);
    // The last holder goes, and the device with it, and its bindings' objects with the device.
    EXPECT_EQ(mesh->Release(), 0u);
    EXPECT_TRUE(counters.deviceGone);
    EXPECT_EQ(counters.liveObjects, 0);
}

TEST_F(FrontEnd, ObjectsMadeByAnotherDeviceAreRefused) {
    Counters otherCounters;
    auto* other = new FakeDevice(otherCounters, Parameters());
    IDirect3DTexture9* foreign = MakeTexture(*other);
    EXPECT_EQ(device->SetTexture(0, foreign), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->State().textures[0], nullptr);
    foreign->Release();
    other->Release();
}

TEST_F(FrontEnd, AnUnchangedStateReachesTheBackendOnlyOnceAtTheNextDraw) {
    ID3DXMesh* mesh = MakeMesh(*device);
    device->BeginScene();
    mesh->DrawSubset(0);  // the first draw takes the whole state
    ASSERT_EQ(counters.applied.size(), 1u);
    // Values the device already holds change nothing.
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device->SetTexture(0, nullptr);
    mesh->DrawSubset(0);
    EXPECT_EQ(counters.applied.size(), 1u);
    // A change reaches the backend once, saying what changed.
    device->SetRenderState(D3DRS_AMBIENT, 0xFF102030);
    device->SetRenderState(D3DRS_AMBIENT, 0xFF102030);
    device->SetSamplerState(257, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    Matrix4 view;
    D3DXMatrixTranslation(&view, 1, 2, 3);
    device->SetTransform(D3DTS_VIEW, &view);
    mesh->DrawSubset(0);
    mesh->DrawSubset(0);
    device->EndScene();
    ASSERT_EQ(counters.applied.size(), 2u);
    const d3d9::Changes& changes = counters.applied[1];
    EXPECT_EQ(changes.groups, d3d9::Changes::kRenderStates | d3d9::Changes::kSamplerStates |
                                  d3d9::Changes::kTransforms);
    EXPECT_EQ(changes.renderStates.count(), 1u);
    EXPECT_TRUE(changes.renderStates[D3DRS_AMBIENT]);
    EXPECT_EQ(changes.samplers, 1u << d3d9::SamplerSlot(257));
    EXPECT_EQ(changes.transforms, static_cast<std::uint32_t>(d3d9::Changes::kView));
    EXPECT_EQ(counters.draws, 4);
    mesh->Release();
}

TEST_F(FrontEnd, NothingIsDrawnOutsideAScene) {
    ID3DXMesh* mesh = MakeMesh(*device);
    EXPECT_EQ(mesh->DrawSubset(0), D3DERR_INVALIDCALL);
    EXPECT_EQ(counters.draws, 0);
    mesh->Release();
}

TEST_F(FrontEnd, TheFirstEightEnabledLightsLightTheSceneInTheOrderTheyWereEnabled) {
    // A light never set is made with the default light's values.
    device->LightEnable(42, TRUE);
    ASSERT_EQ(device->State().ActiveLightCount(), 1u);
    EXPECT_EQ(FmtValue(device->State().ActiveLight(0)), FmtValue(d3d9::DefaultLight()));
    for (DWORD i = 0; i < 9; ++i) device->LightEnable(i, TRUE);
    EXPECT_EQ(device->State().ActiveLightCount(), 8u);
    EXPECT_EQ(device->State().enabledLights[0], 42u);
    // Light 7 was the ninth enabled; disabling one before it lets it in.
    EXPECT_EQ(device->State().enabledLights[7], 6u);
    device->LightEnable(42, FALSE);
    ASSERT_EQ(device->State().ActiveLightCount(), 8u);
    EXPECT_EQ(device->State().enabledLights[7], 7u);
    // Setting an enabled light changes its values in place.
    D3DLIGHT9 red = d3d9::DefaultLight();
    red.Diffuse = {1, 0, 0, 1};
    device->SetLight(3, &red);
    EXPECT_EQ(FmtValue(device->State().ActiveLight(3).Diffuse), "(1 0 0 1)");
}

TEST_F(FrontEnd, ConstantRegistersKeepWhatWasSetAndCountOnlyChanges) {
    const d3d9::StageConstants& pixel = device->State().pixelConstants;
    const std::uint64_t start = pixel.generation;
    const float values[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(device->SetPixelShaderConstantF(222, values, 2), D3D_OK);
    EXPECT_EQ(pixel.floats[223][3], 8.0f);
    EXPECT_EQ(pixel.generation, start + 1);
    device->SetPixelShaderConstantF(222, values, 2);
    EXPECT_EQ(pixel.generation, start + 1);
    const BOOL bools[2] = {7, 0};
    device->SetPixelShaderConstantB(0, bools, 2);
    EXPECT_EQ(pixel.bools[0], TRUE);
    // The vertex stage's registers are its own.
    EXPECT_EQ(device->State().vertexConstants.floats[222][0], 0.0f);
}

TEST_F(FrontEnd, AShaderTheBackendCannotTakeIsNotCreated) {
    device->refuseShaders = true;
    const std::vector<std::uint32_t> code = ShaderCode(true);
    IDirect3DPixelShader9* ps = nullptr;
    EXPECT_EQ(device->CreatePixelShader(reinterpret_cast<const DWORD*>(code.data()), &ps),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(ps, nullptr);
}

TEST_F(FrontEnd, EveryCallIsTracedOnceWithItsArgumentsAndResult) {
    record::Log().Clear();
    device->SetRenderState(D3DRENDERSTATETYPE(300), 1);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);  // unchanged, still a call
    device->SetSamplerState(257, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    const float values[4] = {0.5f, 1, 2, 3};
    device->SetVertexShaderConstantF(4, values, 1);
    device->SetVertexShaderConstantF(8192, values, 1);
    device->BeginScene();
    device->BeginScene();
    EXPECT_EQ(record::Texts(record::Log().Calls()),
              (std::vector<std::string>{
                  "SetRenderState(300, 1) = -2005530516",
                  "SetRenderState(137, 0) = 0",
                  "SetRenderState(137, 0) = 0",
                  "SetSamplerState(257, 6, 2) = 0",
                  "SetVertexShaderConstantF(4, {0.5 1 2 3}, 1) = 0",
                  "SetVertexShaderConstantF(8192, values, 1) = -2005530516",
                  "BeginScene() = 0",
                  "BeginScene() = -2005530516",
              }));
}

struct CreationCase {
    const char* name;
    std::function<void(D3DPRESENT_PARAMETERS&, DWORD&, UINT&)> spoil;
    HRESULT expected;
};

TEST(Direct3D, CreateDeviceChecksItsArgumentsAsDirect3D9Does) {
    record::InstallRecordingPlatform();
    HWND window = test::ProgramSizedWindow("Creation");
    const CreationCase cases[] = {
        {"the program's device", [](auto&, auto&, auto&) {}, D3D_OK},
        {"no vertex processing", [](auto&, DWORD& f, auto&) { f = 0; }, D3DERR_INVALIDCALL},
        {"two kinds of processing", [](auto&, DWORD& f, auto&) { f |= 0x40; }, D3DERR_INVALIDCALL},
        {"a second adapter", [](auto&, auto&, UINT& a) { a = 1; }, D3DERR_INVALIDCALL},
        {"four back buffers", [](D3DPRESENT_PARAMETERS& p, auto&, auto&) { p.BackBufferCount = 4; },
         D3DERR_INVALIDCALL},
        {"multisampling with flips",
         [](D3DPRESENT_PARAMETERS& p, auto&, auto&) { p.SwapEffect = D3DSWAPEFFECT_FLIP; },
         D3DERR_INVALIDCALL},
        {"no window", [](D3DPRESENT_PARAMETERS& p, auto&, auto&) { p.hDeviceWindow = nullptr; },
         D3DERR_INVALIDCALL},
        {"full screen", [](D3DPRESENT_PARAMETERS& p, auto&, auto&) { p.Windowed = FALSE; },
         D3DERR_NOTAVAILABLE},
    };
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    EXPECT_EQ(Direct3DCreate9(31), nullptr);
    for (const CreationCase& c : cases) {
        SCOPED_TRACE(c.name);
        D3DPRESENT_PARAMETERS pp = test::ProgramPresentation(window, D3DMULTISAMPLE_NONMASKABLE, 2);
        DWORD flags = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
        UINT adapter = D3DADAPTER_DEFAULT;
        c.spoil(pp, flags, adapter);
        IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(&pp);
        EXPECT_EQ(d3d->CreateDevice(adapter, D3DDEVTYPE_HAL, nullptr, flags, &pp, &device),
                  c.expected);
        EXPECT_EQ(device != nullptr, c.expected == D3D_OK);  // cleared on failure
        if (device) device->Release();
    }
    d3d->Release();
}

}  // namespace
