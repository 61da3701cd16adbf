// The front end's instruments on the recording device: --set NAME=v,... through the bound
// shader's constant table into the registers the device receives, for each kind of constant,
// and what a setting no shader can take says; each debug layer finding on a minimal scene and
// none on the bundled assets' pixel shader; and the notes the trace gets beneath a refused call
// and a created shader.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/core/digest.h"
#include "platform/d3d9/instruments.h"
#include "platform/d3dx/hlsl/compiler.h"
#include "platform/record/call_log.h"
#include "platform/record/record_device.h"
#include "platform/record/record_platform.h"
#include "tests/presentation.h"

#ifndef TESS_SOURCE_DIR
#error "TESS_SOURCE_DIR must name the source tree"
#endif

namespace {

using d3d9::Finding;

std::vector<std::uint32_t> Compile(const std::string& source, const char* profile) {
    d3dx::CompileRequest request;
    request.source = source;
    request.fileName = "shader.hlsl";
    request.entry = "main";
    request.profile = profile;
    const d3dx::CompileResult result = d3dx::CompileHlsl(request);
    EXPECT_TRUE(result.ok) << result.errors;
    return result.code;
}

const DWORD* Words(const std::vector<std::uint32_t>& code) {
    return reinterpret_cast<const DWORD*>(code.data());
}

// A triangle with positions and `sets` texture coordinate sets.
ID3DXMesh* Triangle(IDirect3DDevice9* device, int sets) {
    d3dx::MeshData data;
    data.fvf = D3DFVF_XYZ | static_cast<DWORD>(sets) << 8;  // D3DFVF_TEX1, D3DFVF_TEX2
    data.stride = 12 + 8 * static_cast<UINT>(sets);
    data.vertexCount = 3;
    data.vertices.resize(std::size_t{data.stride} * 3);
    data.indices.assign({0, 1, 2});
    data.attributes.assign({0});
    data.table.push_back({0, 0, 1, 0, 3});
    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(static_cast<d3d9::Device*>(device)->CreateMeshFromData(std::move(data), &mesh),
              D3D_OK);
    return mesh;
}

class Instruments : public ::testing::Test {
  protected:
    void SetUp() override { record::InstallRecordingPlatform(); }
    void TearDown() override {
        for (IUnknown* object : kept_) object->Release();
        device_->Release();
        d3d9::SetInstruments({});
    }
    void Use(const std::vector<std::string>& settings, bool debug) {
        d3d9::InstrumentOptions options;
        for (const std::string& text : settings) {
            d3d9::ConstantSetting s;
            EXPECT_EQ(d3d9::ReadConstantSetting(text, s), "");
            options.constants.push_back(s);
        }
        options.debugLayer = debug;
        options.report = [this](const Finding& f) { findings_.push_back(f); };
        d3d9::SetInstruments(std::move(options));
    }
    template <typename T>
    T* Keep(T* object) {
        kept_.push_back(object);
        return object;
    }
    IDirect3DPixelShader9* Pixel(const std::string& source) {
        const std::vector<std::uint32_t> code = Compile(source, "ps_3_0");
        IDirect3DPixelShader9* shader = nullptr;
        EXPECT_EQ(device_->CreatePixelShader(Words(code), &shader), D3D_OK);
        return Keep(shader);
    }
    // The texts of the findings of `kind`.
    std::vector<std::string> Said(Finding::Kind kind) const {
        std::vector<std::string> out;
        for (const Finding& f : findings_) {
            if (f.kind == kind) out.push_back(f.text);
        }
        return out;
    }
    bool SaidSomething(Finding::Kind kind, const std::string& part) const {
        for (const std::string& text : Said(kind)) {
            if (text.find(part) != std::string::npos) return true;
        }
        return false;
    }

    d3d9::Device* device_ = new record::RecordDevice(test::ProgramPresentation(nullptr));
    std::vector<Finding> findings_;
    std::vector<IUnknown*> kept_;
};

// Every kind of constant, each read so that the compiler keeps it.
constexpr char kConstants[] = R"(
float f;
float4 v;
float4x4 m;
row_major float2x2 r;
float a[3];
int i;
bool b;
float4 main() : COLOR0 {
    float4 x = f * v + mul(float4(1, 2, 3, 4), m) + float4(mul(float2(1, 1), r), 0, 0);
    x += a[0] + a[1] + a[2];
    for (int k = 0; k < i; ++k) x *= 0.5;
    return b ? x : -x;
}
)";

// Where a setting lands: the constant's first register and what each register holds then.
struct SetCase {
    const char* setting;
    const char* name;
    D3DXREGISTER_SET set;
    std::vector<std::array<float, 4>> registers;  // from the constant's first register
};

TEST_F(Instruments, SetPutsEachKindOfConstantInItsRegistersAtEachBind) {
    const SetCase cases[] = {
        {"f=2.5", "f", D3DXRS_FLOAT4, {{2.5f, 0, 0, 0}}},
        {"v=1,2,3,4", "v", D3DXRS_FLOAT4, {{1, 2, 3, 4}}},
        // Given row by row; a column_major matrix keeps a column a register.
        {"m=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16",
         "m",
         D3DXRS_FLOAT4,
         {{1, 5, 9, 13}, {2, 6, 10, 14}, {3, 7, 11, 15}, {4, 8, 12, 16}}},
        {"r=1,2,3,4", "r", D3DXRS_FLOAT4, {{1, 2, 0, 0}, {3, 4, 0, 0}}},
        {"a=7,8,9", "a", D3DXRS_FLOAT4, {{7, 0, 0, 0}, {8, 0, 0, 0}, {9, 0, 0, 0}}},
        // An int read only as a loop count is kept in an int register, as fxc keeps it.
        {"i=-3", "i", D3DXRS_INT4, {{-3, 0, 0, 0}}},
        {"b=true", "b", D3DXRS_BOOL, {{1, 0, 0, 0}}},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(c.setting);
        Use({c.setting}, false);
        IDirect3DPixelShader9* shader = Pixel(kConstants);
        ID3DXConstantTable* table = static_cast<d3d9::PixelShader*>(shader)->Constants();
        D3DXCONSTANT_DESC desc{};
        UINT count = 1;
        ASSERT_EQ(table->GetConstantDesc(table->GetConstantByName(nullptr, c.name), &desc, &count),
                  D3D_OK);
        ASSERT_EQ(desc.RegisterSet, c.set);
        record::Log().Clear();
        ASSERT_EQ(device_->SetPixelShader(shader), D3D_OK);
        ASSERT_EQ(device_->SetPixelShader(shader), D3D_OK);
        const d3d9::StageConstants& k = device_->State().pixelConstants;
        for (std::size_t r = 0; r < c.registers.size(); ++r) {
            const UINT at = desc.RegisterIndex + static_cast<UINT>(r);
            for (int comp = 0; comp < (c.set == D3DXRS_BOOL ? 1 : 4); ++comp) {
                const float got = c.set == D3DXRS_FLOAT4 ? k.floats[at][comp]
                                  : c.set == D3DXRS_INT4 ? static_cast<float>(k.ints[at][comp])
                                                         : static_cast<float>(k.bools[at]);
                EXPECT_EQ(got, c.registers[r][comp]) << "register " << at << "." << comp;
            }
        }
        // Once for each bind: the table's setter, then the device call it makes.
        const char* api = c.set == D3DXRS_FLOAT4 ? "SetPixelShaderConstantF"
                          : c.set == D3DXRS_INT4 ? "SetPixelShaderConstantI"
                                                 : "SetPixelShaderConstantB";
        EXPECT_EQ(record::Only(record::Log().Calls(), {api}).size(), 2u);
        EXPECT_TRUE(findings_.empty()) << findings_.front().text;
    }
}

TEST_F(Instruments, ASettingNoBoundShaderCanTakeIsSaidOnceWithTheNamesItHas) {
    const std::pair<const char*, const char*> cases[] = {
        {"nope=1",
         "has no constant 'nope' (its constants: b, i, f, v, m, r and a); no vertex shader is "
         "bound"},
        {"v=1,2,3,4,5", "5 values for 'v', which holds 4"},
        {"i=1.5", "'1.5' is not an int for 'i'"},
        {"b=maybe", "'maybe' is not a bool for 'b'"},
        {"f=x", "'x' is not a float for 'f'"},
    };
    for (const auto& [setting, says] : cases) {
        SCOPED_TRACE(setting);
        findings_.clear();
        Use({setting}, false);
        IDirect3DPixelShader9* shader = Pixel(kConstants);
        device_->SetPixelShader(shader);
        device_->SetPixelShader(shader);
        ASSERT_EQ(Said(Finding::Kind::BadSetting).size(), 1u);
        EXPECT_NE(Said(Finding::Kind::BadSetting)[0].find(says), std::string::npos)
            << Said(Finding::Kind::BadSetting)[0];
    }
    // Malformed settings are refused before anything runs.
    d3d9::ConstantSetting s;
    for (const char* bad : {"v", "=1", "v=", "v=1,,2", "a b=1"})
        EXPECT_NE(d3d9::ReadConstantSetting(bad, s), "") << bad;
}

// Each finding on the smallest scene that shows it, and the same scene mended showing none.
struct FindingCase {
    const char* name;
    const char* pixelShader;  // ps_3_0, entry main; null: none bound
    int texCoordSets;         // of the mesh drawn
    bool setConstant, setTexture, vertexShaderMade;
    const char* says;  // a part of the one warning; null: none
};

TEST_F(Instruments, TheDebugLayerSaysEachProblemOnceInDirect3D9Words) {
    constexpr char kTint[] = "float4 tint; float4 main() : COLOR0 { return tint; }";
    constexpr char kSampler[] =
        "sampler2D detail; float4 main(float2 t : TEXCOORD0) : COLOR0 { return tex2D(detail, t); }";
    constexpr char kSecondSet[] =
        "float4 main(float2 t : TEXCOORD1) : COLOR0 { return float4(t, 0, 1); }";
    const FindingCase cases[] = {
        {"unset constant", kTint, 0, false, false, false,
         "reads constant 'tint' (c0) that nothing has set: it reads 0"},
        {"set constant", kTint, 0, true, false, false, nullptr},
        {"no texture", kSampler, 1, false, false, false,
         "samples s0 ('detail') with no texture set on stage 0"},
        {"a texture", kSampler, 1, false, true, false, nullptr},
        {"vertex shader never bound", nullptr, 1, false, false, true,
         "was created and never bound: the frame is drawn by the fixed-function vertex stage"},
        {"second set missing", kSecondSet, 1, false, false, false,
         "reads TEXCOORD1, which the fixed-function vertex stage does not produce"},
        {"second set there", kSecondSet, 2, false, false, false, nullptr},
    };
    for (const FindingCase& c : cases) {
        SCOPED_TRACE(c.name);
        findings_.clear();
        Use({}, true);
        if (c.vertexShaderMade) {
            const std::vector<std::uint32_t> code =
                Compile("float4 main(float4 p : POSITION) : POSITION { return p; }", "vs_2_0");
            IDirect3DVertexShader9* vs = nullptr;
            ASSERT_EQ(device_->CreateVertexShader(Words(code), &vs), D3D_OK);
            Keep(vs);
        }
        if (c.pixelShader) device_->SetPixelShader(Pixel(c.pixelShader));
        const float one[4] = {1, 1, 1, 1};
        if (c.setConstant) device_->SetPixelShaderConstantF(0, one, 1);
        IDirect3DTexture9* texture = nullptr;
        if (c.setTexture) {
            d3dx::TextureData data;
            data.width = data.height = 1;
            data.levels.push_back({0xFF, 0, 0, 0xFF});
            ASSERT_EQ(device_->CreateTextureFromData(std::move(data), &texture), D3D_OK);
        }
        device_->SetTexture(0, texture ? Keep(texture) : nullptr);
        ID3DXMesh* mesh = Keep(Triangle(device_, c.texCoordSets));
        for (int frame = 0; frame < 2; ++frame) {
            device_->BeginScene();
            mesh->DrawSubset(0);
            device_->EndScene();
            device_->Present(nullptr, nullptr, nullptr, nullptr);
        }
        const std::vector<std::string> warned = Said(Finding::Kind::Warning);
        if (!c.says) {
            EXPECT_TRUE(warned.empty()) << warned.front();
        } else {
            ASSERT_EQ(warned.size(), 1u) << "said " << warned.size() << " times";
            EXPECT_NE(warned[0].find(c.says), std::string::npos) << warned[0];
        }
        device_->SetPixelShader(nullptr);
        device_->SetTexture(0, nullptr);
    }
    // Every shader made said its slot estimate.
    EXPECT_TRUE(SaidSomething(Finding::Kind::Info, "ps_3_0: about "));
    EXPECT_TRUE(SaidSomething(Finding::Kind::Info, "instruction slots"));
}

TEST_F(Instruments, TheBundledPixelShaderDrawsWithoutAFinding) {
    std::ifstream in(TESS_SOURCE_DIR "/assets/pixel.psh");
    std::stringstream source;
    source << in.rdbuf();
    d3dx::CompileRequest request;
    request.source = source.str();
    request.fileName = "pixel.psh";
    request.entry = "ps_main";
    request.profile = "ps_2_0";
    const d3dx::CompileResult result = d3dx::CompileHlsl(request);
    ASSERT_TRUE(result.ok) << result.errors;
    Use({}, true);
    IDirect3DPixelShader9* shader = nullptr;
    ASSERT_EQ(device_->CreatePixelShader(Words(result.code), &shader), D3D_OK);
    device_->SetPixelShader(Keep(shader));
    d3dx::TextureData data;
    data.width = data.height = 1;
    data.levels.push_back({0xFF, 0, 0, 0xFF});
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTextureFromData(std::move(data), &texture), D3D_OK);
    device_->SetTexture(0, Keep(texture));
    ID3DXMesh* mesh = Keep(Triangle(device_, 1));
    device_->BeginScene();
    mesh->DrawSubset(0);
    device_->EndScene();
    device_->Present(nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(Said(Finding::Kind::Warning).empty()) << Said(Finding::Kind::Warning).front();
    EXPECT_EQ(Said(Finding::Kind::Info).size(), 1u);
}

// A trace that keeps the notes a person reads.
class NoteTrace : public platform::CallTrace {
  public:
    std::size_t Record(std::string api, std::vector<std::string> args,
                       std::string result) override {
        lines.push_back(platform::CallLine(api, args, result));
        return lines.size() - 1;
    }
    void SetResult(std::size_t, std::string) override {}
    void Note(const std::string& text) override { lines.push_back(platform::NoteLine(text)); }
    std::vector<std::string> lines;
};

TEST_F(Instruments, TheTraceNotesWhyACallIsRefusedAndWhatAShaderIs) {
    NoteTrace trace;
    platform::CallTrace* before = platform::GetCallTrace();
    platform::SetCallTrace(&trace);
    const float four[8] = {};
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(300), 1); },
         "render state 300 is none Direct3D 9 stores"},
        {[&] { device_->SetPixelShaderConstantF(223, four, 2); },
         "registers 223 to 224 are past the 224 float registers"},
        {[&] { device_->EndScene(); }, "no scene has begun: BeginScene first"},
        {[&] { device_->SetTexture(99, nullptr); }, "sampler 99 is none of 0 to 15"},
        {[&] { device_->SetTransform(D3DTS_VIEW, nullptr); }, "no matrix (NULL)"},
    };
    for (const auto& [call, reason] : cases) {
        trace.lines.clear();
        call();
        ASSERT_EQ(trace.lines.size(), 2u);
        EXPECT_EQ(trace.lines[1].rfind("    // D3DERR_INVALIDCALL: " + reason, 0), 0u)
            << trace.lines[0] << "\n"
            << trace.lines[1];
    }
    trace.lines.clear();
    const std::string source = "float4 main() : COLOR0 { return 1; }";
    const std::vector<std::uint32_t> code = Compile(source, "ps_2_0");
    IDirect3DPixelShader9* shader = nullptr;
    ASSERT_EQ(device_->CreatePixelShader(Words(code), &shader), D3D_OK);
    Keep(shader);
    platform::SetCallTrace(before);
    ASSERT_EQ(trace.lines.size(), 2u);
    EXPECT_EQ(trace.lines[1],
              "    // ps#" + platform::ObjectName(shader).substr(3) +
                  ": shader.hlsl, main, ps_2_0; source digest " +
                  platform::DigestText(platform::Digest64(source.data(), source.size())) +
                  ", code digest " +
                  platform::DigestText(platform::Digest64(code.data(), code.size() * 4)) + " (" +
                  std::to_string(code.size() * 4) + " bytes)");
}

}  // namespace
