// The HLSL compiler behind D3DXCompileShaderFromFileA: reflection of valid shaders, the
// messages of bad ones, and a compiler that crashes or hangs.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "platform/d3dx/hlsl_compiler.h"
#include "platform/record/record_platform.h"
#include "tests/test_assets.h"
#include "tests/test_files.h"

namespace {

constexpr char kPixelShader[] = R"(
sampler2D coat : register(s1);
float4 tint = float4(1, 0.5, 0.25, 1);
float4x4 unused;
struct PS_IN {
    float2 uv : TEXCOORD0;
    float4 colour : COLOR0;
};
float4 ps_main(PS_IN i) : COLOR0 {
    return tex2D(coat, i.uv) * i.colour * tint;
}
)";

struct Compiled {
    HRESULT hr = E_FAIL;
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    ID3DXConstantTable* constants = nullptr;

    std::string ErrorText() const {
        return errors ? static_cast<const char*>(errors->GetBufferPointer()) : "";
    }
};

class Shaders : public ::testing::Test {
  protected:
    void SetUp() override { record::InstallRecordingPlatform(); }
    void TearDown() override {
        d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::None);
        d3dx::SetCompileTimeLimitForTests(10000);
    }

    Compiled Compile(const std::string& name, const std::string& source, const char* entry,
                     const char* profile) {
        if (!source.empty()) test::WriteFile(dir_.Path(name), source);
        Compiled c;
        c.hr = D3DXCompileShaderFromFileA(dir_.Path(name).c_str(), nullptr, nullptr, entry, profile,
                                          0, &c.code, &c.errors, &c.constants);
        return c;
    }

    test::TempDir dir_;
};

TEST_F(Shaders, APixelShaderCompilesWithItsSemanticsSamplersAndConstants) {
    const Compiled c = Compile("pixel.psh", kPixelShader, "ps_main", "ps_2_0");
    ASSERT_EQ(c.hr, D3D_OK) << c.ErrorText();
    ASSERT_NE(c.code, nullptr);
    EXPECT_EQ(c.errors, nullptr);
    const auto* words = static_cast<const DWORD*>(c.code->GetBufferPointer());
    EXPECT_EQ(words[0], 0xFFFF0200u);  // ps_2_0's version token
    const auto shader = d3dx::UnpackShader(words);
    ASSERT_TRUE(shader);
    EXPECT_EQ(shader->stage, d3dx::ShaderStage::Pixel);
    EXPECT_EQ(shader->entry, "ps_main");
    ASSERT_EQ(shader->inputs.size(), 2u);
    EXPECT_EQ(shader->inputs[0].semantic, "TEXCOORD");
    EXPECT_EQ(shader->inputs[0].index, 0u);
    EXPECT_EQ(shader->inputs[1].semantic, "COLOR");
    ASSERT_EQ(shader->outputs.size(), 1u);
    EXPECT_EQ(shader->outputs[0].semantic, "COLOR");
    ASSERT_EQ(shader->samplers.size(), 1u);
    EXPECT_EQ(shader->samplers[0].name, "coat");
    EXPECT_EQ(shader->samplers[0].reg, 1u);
    EXPECT_FALSE(shader->spirv.empty());

    // The constant table lists what the shader uses, with registers and the initialiser.
    ASSERT_NE(c.constants, nullptr);
    D3DXCONSTANTTABLE_DESC table;
    ASSERT_EQ(c.constants->GetDesc(&table), D3D_OK);
    EXPECT_EQ(table.Constants, 2u);
    D3DXCONSTANT_DESC desc;
    UINT count = 1;
    ASSERT_EQ(c.constants->GetConstantDesc(c.constants->GetConstantByName(nullptr, "tint"), &desc,
                                           &count),
              D3D_OK);
    EXPECT_EQ(desc.RegisterSet, D3DXRS_FLOAT4);
    EXPECT_EQ(desc.RegisterIndex, 0u);
    EXPECT_EQ(desc.RegisterCount, 1u);
    EXPECT_EQ(desc.Columns, 4u);
    ASSERT_NE(desc.DefaultValue, nullptr);
    const float* init = static_cast<const float*>(desc.DefaultValue);
    EXPECT_FLOAT_EQ(init[1], 0.5f);
    EXPECT_FLOAT_EQ(init[2], 0.25f);
    ASSERT_EQ(c.constants->GetConstantDesc(c.constants->GetConstantByName(nullptr, "coat"), &desc,
                                           &count),
              D3D_OK);
    EXPECT_EQ(desc.RegisterSet, D3DXRS_SAMPLER);
    EXPECT_EQ(desc.RegisterIndex, 1u);
    EXPECT_EQ(c.constants->GetConstantByName(nullptr, "unused"), nullptr);
}

TEST_F(Shaders, AVertexShaderCompilesWithItsSemantics) {
    const Compiled c = Compile("vertex.vsh", test::kTestVertexShader, "vs_main", "vs_1_1");
    ASSERT_EQ(c.hr, D3D_OK) << c.ErrorText();
    const auto* words = static_cast<const DWORD*>(c.code->GetBufferPointer());
    EXPECT_EQ(words[0], 0xFFFE0101u);
    const auto shader = d3dx::UnpackShader(words);
    ASSERT_TRUE(shader);
    EXPECT_EQ(shader->stage, d3dx::ShaderStage::Vertex);
    ASSERT_EQ(shader->inputs.size(), 2u);
    EXPECT_EQ(shader->inputs[0].semantic, "POSITION");
    EXPECT_EQ(shader->inputs[1].semantic, "TEXCOORD");
    // Outputs keep their semantics; a device makes POSITION the clip-space position.
    ASSERT_EQ(shader->outputs.size(), 2u);
    EXPECT_EQ(shader->outputs[0].semantic, "POSITION");
    EXPECT_EQ(shader->outputs[1].semantic, "TEXCOORD");
    D3DXCONSTANT_DESC desc;
    UINT count = 1;
    ASSERT_EQ(c.constants->GetConstantDesc(c.constants->GetConstant(nullptr, 0), &desc, &count),
              D3D_OK);
    EXPECT_STREQ(desc.Name, "worldViewProj");
    EXPECT_EQ(desc.RegisterCount, 4u);
    EXPECT_EQ(desc.Class, D3DXPC_MATRIX_COLUMNS);
}

struct FailureCase {
    const char* name;
    const char* file;
    const char* source;
    const char* entry;
    const char* profile;
    HRESULT hr;
    const char* message;
};

TEST_F(Shaders, BadShadersFailWithTheirMessages) {
    const FailureCase cases[] = {
        {"syntax error", "bad.psh", "float4 ps_main() : COLOR0 {\n  return 1\n}\n", "ps_main",
         "ps_2_0", E_FAIL, "bad.psh(3,"},
        {"unknown identifier", "unknown.psh", "float4 ps_main() : COLOR0 { return nothing; }",
         "ps_main", "ps_2_0", E_FAIL, "unknown.psh(1,"},
        {"wrong entry point", "entry.psh", "float4 ps_main() : COLOR0 { return 1; }", "main",
         "ps_2_0", E_FAIL, "entry point 'main' not found"},
        {"unsupported profile", "profile.psh", "float4 ps_main() : COLOR0 { return 1; }", "ps_main",
         "ps_1_4", E_FAIL, "unsupported profile"},
        {"missing file", "missing.psh", "", "ps_main", "ps_2_0", HresultOf(0x80070002u),
         "missing.psh(1,1): error: cannot open the file"},
    };
    for (const FailureCase& f : cases) {
        SCOPED_TRACE(f.name);
        testing::internal::CaptureStderr();
        const Compiled c = Compile(f.file, f.source, f.entry, f.profile);
        const std::string stderrText = testing::internal::GetCapturedStderr();
        EXPECT_EQ(c.hr, f.hr);
        EXPECT_EQ(c.code, nullptr);
        EXPECT_EQ(c.constants, nullptr);
        EXPECT_NE(c.ErrorText().find(f.message), std::string::npos) << c.ErrorText();
        EXPECT_NE(c.ErrorText().find("error"), std::string::npos);
        EXPECT_EQ(stderrText.rfind("HLSL: ", 0), 0u) << stderrText;
    }
}

TEST_F(Shaders, ACompilerThatCrashesOrHangsIsAFailedCompile) {
    d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::Crash);
    testing::internal::CaptureStderr();
    Compiled c = Compile("a.psh", kPixelShader, "ps_main", "ps_2_0");
    EXPECT_EQ(c.hr, E_FAIL);
    EXPECT_NE(c.ErrorText().find("crashed"), std::string::npos) << c.ErrorText();

    d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::Hang);
    d3dx::SetCompileTimeLimitForTests(300);
    const auto start = std::chrono::steady_clock::now();
    c = Compile("b.psh", kPixelShader, "ps_main", "ps_2_0");
    const auto took = std::chrono::steady_clock::now() - start;
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(c.hr, E_FAIL);
    EXPECT_NE(c.ErrorText().find("did not finish"), std::string::npos) << c.ErrorText();
    EXPECT_LT(took, std::chrono::seconds(5));

    // The harness compiles normally afterwards.
    d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::None);
    EXPECT_EQ(Compile("c.psh", kPixelShader, "ps_main", "ps_2_0").hr, D3D_OK);
}

TEST_F(Shaders, TheDeviceTakesCodeOnlyForItsOwnStage) {
    const Compiled ps = Compile("pixel.psh", kPixelShader, "ps_main", "ps_2_0");
    const Compiled vs = Compile("vertex.vsh", test::kTestVertexShader, "vs_main", "vs_1_1");
    ASSERT_EQ(ps.hr, D3D_OK);
    ASSERT_EQ(vs.hr, D3D_OK);
    IDirect3DDevice9* device = test::RecordingDevice();
    IDirect3DPixelShader9* pixel = nullptr;
    IDirect3DVertexShader9* vertex = nullptr;
    const auto* psCode = static_cast<const DWORD*>(ps.code->GetBufferPointer());
    const auto* vsCode = static_cast<const DWORD*>(vs.code->GetBufferPointer());
    EXPECT_EQ(device->CreatePixelShader(psCode, &pixel), D3D_OK);
    EXPECT_EQ(device->CreateVertexShader(vsCode, &vertex), D3D_OK);
    EXPECT_EQ(device->CreatePixelShader(vsCode, &pixel), D3DERR_INVALIDCALL);
    const DWORD garbage[8] = {0xFFFF0200, 1, 2, 3};
    EXPECT_EQ(device->CreatePixelShader(garbage, &pixel), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreatePixelShader(nullptr, &pixel), D3DERR_INVALIDCALL);
}

}  // namespace
