// The HLSL compiler behind D3DXCompileShaderFromFileA: reflection of valid shaders, the
// messages of bad ones, and a compiler that crashes, hangs or breaks its protocol in a worker
// process that inherits nothing from the harness.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <sstream>
#include <thread>
#include <tuple>
#include <utility>

#include "platform/d3dx/hlsl/compiler.h"
#include "platform/d3dx/isolated_process.h"
#include "platform/record/call_log.h"
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

// A compile's results, released with it.
struct Compiled {
    HRESULT hr = E_FAIL;
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    ID3DXConstantTable* constants = nullptr;

    Compiled() = default;
    Compiled(Compiled&& other) noexcept { *this = std::move(other); }
    Compiled& operator=(Compiled&& other) noexcept {
        std::swap(hr, other.hr);
        std::swap(code, other.code);
        std::swap(errors, other.errors);
        std::swap(constants, other.constants);
        return *this;
    }
    ~Compiled() {
        for (IUnknown* u : std::initializer_list<IUnknown*>{code, errors, constants})
            if (u) u->Release();
    }

    std::string ErrorText() const {
        return errors ? static_cast<const char*>(errors->GetBufferPointer()) : "";
    }
};

class Shaders : public ::testing::Test {
  protected:
    void SetUp() override { record::InstallRecordingPlatform(); }
    void TearDown() override {
        d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::None);
        d3dx::ResetCompileLimitsForTests();
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
    EXPECT_NE(shader->glsl.find("void main()"), std::string::npos);

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
         "missing.psh(1,1): error: cannot open"},
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
        // Said once: in the buffer asked for, else on stderr.
        EXPECT_EQ(stderrText, "");
        testing::internal::CaptureStderr();
        D3DXCompileShaderFromFileA(dir_.Path(f.file).c_str(), nullptr, nullptr, f.entry, f.profile,
                                   0, nullptr, nullptr, nullptr);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("HLSL: ", 0), 0u) << said;
        EXPECT_NE(said.find(f.message), std::string::npos) << said;
    }
}

TEST_F(Shaders, ACompilerThatCrashesOrHangsIsAFailedCompile) {
    d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::Crash);
    testing::internal::CaptureStderr();
    Compiled c = Compile("a.psh", kPixelShader, "ps_main", "ps_2_0");
    EXPECT_EQ(c.hr, E_FAIL);
    EXPECT_NE(c.ErrorText().find("crashed"), std::string::npos) << c.ErrorText();

    d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::Hang);
    d3dx::SetCompileLimitsForTests(300, 5, std::size_t{1} << 30);
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

// Ten levels of macros, each ten copies of the one below: 10^10 tokens once expanded.
std::string MacroBomb() {
    std::string source = "#define A0 x\n";
    for (int level = 1; level <= 10; ++level) {
        source += "#define A" + std::to_string(level);
        for (int copy = 0; copy < 10; ++copy) source += " A" + std::to_string(level - 1);
        source += "\n";
    }
    return source + "float4 ps_main() : COLOR0 { return A10; }\n";
}

TEST_F(Shaders, ACompileThatRunsAwayIsStoppedByItsLimitsAndSaysWhich) {
    testing::internal::CaptureStderr();
    d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::Spin);
    d3dx::SetCompileLimitsForTests(20000, 1, std::size_t{1} << 30);
    auto start = std::chrono::steady_clock::now();
    Compiled c = Compile("spin.psh", kPixelShader, "ps_main", "ps_2_0");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(c.hr, E_FAIL);
    EXPECT_NE(c.ErrorText().find("limit of 1 s of CPU time"), std::string::npos) << c.ErrorText();

    if (d3dx::MemoryLimitEnforced()) {
        d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::Allocate);
        d3dx::SetCompileLimitsForTests(20000, 20, std::size_t{64} << 20);
        c = Compile("hog.psh", kPixelShader, "ps_main", "ps_2_0");
        EXPECT_EQ(c.hr, E_FAIL);
        EXPECT_NE(c.ErrorText().find("memory limit of 64 MiB"), std::string::npos) << c.ErrorText();
    }

    // A preprocessor bomb runs into one limit or the other, well before the wall clock's.
    d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::None);
    d3dx::SetCompileLimitsForTests(30000, 2, std::size_t{256} << 20);
    start = std::chrono::steady_clock::now();
    c = Compile("bomb.psh", MacroBomb(), "ps_main", "ps_2_0");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
    EXPECT_EQ(c.hr, E_FAIL);
    const bool cpu = c.ErrorText().find("limit of 2 s of CPU time") != std::string::npos;
    const bool memory = c.ErrorText().find("memory limit of 256 MiB") != std::string::npos;
    EXPECT_TRUE(cpu || memory) << c.ErrorText();
    testing::internal::GetCapturedStderr();

    d3dx::ResetCompileLimitsForTests();
    EXPECT_EQ(Compile("fine.psh", kPixelShader, "ps_main", "ps_2_0").hr, D3D_OK);
}

// The children of a process, read from /proc.
std::vector<pid_t> ChildrenOf(pid_t parent) {
    std::vector<pid_t> children;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 2));
        char state = 0;
        pid_t ppid = 0;
        rest >> state >> ppid;
        if (ppid == parent) children.push_back(static_cast<pid_t>(std::stoi(name)));
    }
    return children;
}

bool Running(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    const std::size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

// The harness compiles once before it forks without exec, as a program that forks may: the
// child's compile must start its own worker, not wait on the parent's spawning thread.
TEST_F(Shaders, TheCompileChildDiesWithTheHarness) {
    test::WriteFile(dir_.Path("hang.psh"), kPixelShader);
    d3dx::CompileRequest first;
    first.source = kPixelShader;
    first.fileName = "first.psh";
    first.entry = "ps_main";
    first.profile = "ps_2_0";
    ASSERT_TRUE(d3dx::CompileInWorker(first).ok);
    const pid_t harness = fork();
    ASSERT_GE(harness, 0);
    if (harness == 0) {
        d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::Hang);
        d3dx::SetCompileLimitsForTests(60000, 60, std::size_t{1} << 30);
        d3dx::CompileRequest request;
        request.source = kPixelShader;
        request.fileName = "hang.psh";
        request.entry = "ps_main";
        request.profile = "ps_2_0";
        d3dx::CompileInWorker(request);
        _exit(0);
    }
    std::vector<pid_t> compile;
    for (int i = 0; i < 500 && compile.empty(); ++i) {
        compile = ChildrenOf(harness);
        if (compile.empty()) usleep(10000);
    }
    kill(harness, SIGKILL);
    waitpid(harness, nullptr, 0);
    ASSERT_EQ(compile.size(), 1u) << "the compile child never started";
    bool gone = false;
    for (int i = 0; i < 300 && !gone; ++i) {
        gone = !Running(compile[0]);
        if (!gone) usleep(10000);
    }
    if (!gone) kill(compile[0], SIGKILL);
    EXPECT_TRUE(gone) << "the compile child outlived the harness";
}

// A worker dies with the thread that started it (PR_SET_PDEATHSIG follows threads): a compile
// in a worker that another thread started ahead must still finish when that thread ends during
// the compile. The thread is let end while the compile waits for its include.
TEST_F(Shaders, ACompileOutlivesTheThreadThatStartedItsWorker) {
    const auto request = [](const char* source) {
        d3dx::CompileRequest r;
        r.fileName = "shader.psh";
        r.source = source;
        r.entry = "main";
        r.profile = "ps_2_0";
        return r;
    };
    std::promise<void> warmed, mayEnd;
    std::thread starter([&] {
        // Its compile leaves workers started ahead, by this thread.
        d3dx::CompileInWorker(request("float4 main() : COLOR0 { return 1; }"));
        warmed.set_value();
        mayEnd.get_future().wait();
    });
    warmed.get_future().wait();
    const auto opener = [&](const d3dx::IncludeAsk&) {
        mayEnd.set_value();
        starter.join();
        d3dx::IncludeAnswer answer;
        answer.ok = true;
        answer.id = 1;
        answer.shownName = "late.h";
        answer.bytes = "#define LATE float4(0, 1, 0, 1)\n";
        return answer;
    };
    const d3dx::CompileResult result = d3dx::CompileInWorker(
        request("#include \"late.h\"\nfloat4 main() : COLOR0 { return LATE; }"), opener);
    EXPECT_TRUE(result.ok) << result.errors;
    if (starter.joinable()) starter.join();
}

// The worker is started afresh, not forked: it holds none of the harness's descriptors (even
// one without close-on-exec) or environment, and has a process group of its own. Seen in the
// worker a compile leaves waiting for the next one.
TEST_F(Shaders, TheCompileWorkerIsAFreshProcessThatInheritsNothing) {
    const int leaked = open("/dev/null", O_RDONLY);  // no O_CLOEXEC
    ASSERT_GE(leaked, 3);
    setenv("TESSALINE_NOT_FOR_THE_WORKER", "1", 1);
    ASSERT_EQ(Compile("fresh.psh", kPixelShader, "ps_main", "ps_2_0").hr, D3D_OK);
    pid_t worker = -1;
    for (int i = 0; i < 500 && worker < 0; ++i) {
        for (const pid_t child : ChildrenOf(getpid())) {
            std::error_code error;
            const auto exe =
                std::filesystem::read_symlink("/proc/" + std::to_string(child) + "/exe", error);
            if (exe.filename() == "tessaline-compile-worker") worker = child;
        }
        if (worker < 0) usleep(10000);
    }
    close(leaked);
    unsetenv("TESSALINE_NOT_FOR_THE_WORKER");
    ASSERT_GT(worker, 0) << "no worker waits for the next compile";
    const std::string proc = "/proc/" + std::to_string(worker);
    std::vector<std::string> descriptors;
    for (const auto& fd : std::filesystem::directory_iterator(proc + "/fd"))
        descriptors.push_back(fd.path().filename());
    std::sort(descriptors.begin(), descriptors.end());
    EXPECT_EQ(descriptors, (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(std::filesystem::read_symlink(proc + "/fd/0").string().rfind("socket:", 0), 0u);
    EXPECT_EQ(std::filesystem::read_symlink(proc + "/fd/1"), "/dev/null");
    const std::string environment = test::ReadFile(proc + "/environ");
    EXPECT_EQ(environment.find("TESSALINE_NOT_FOR_THE_WORKER"), std::string::npos);
    EXPECT_EQ(environment.find("PATH="), std::string::npos) << "not even PATH";
    EXPECT_EQ(getpgid(worker), worker) << "a process group of its own";
}

TEST_F(Shaders, AWorkerThatBreaksTheProtocolIsAFailedCompile) {
    d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::Garbage);
    testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    const Compiled c = Compile("garbage.psh", kPixelShader, "ps_main", "ps_2_0");
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(c.hr, E_FAIL);
    EXPECT_NE(c.ErrorText().find("broke its protocol"), std::string::npos) << c.ErrorText();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5))
        << "not waited for";
}

TEST_F(Shaders, TheDefaultShadersCompileWithoutAWord) {
    for (const auto& [file, entry, profile] :
         {std::tuple{"vertex.vsh", "vs_main", "vs_1_1"}, {"pixel.psh", "ps_main", "ps_2_0"}}) {
        SCOPED_TRACE(file);
        Compiled c;
        const std::string path = std::string(TESS_SOURCE_DIR) + "/assets/" + file;
        c.hr = D3DXCompileShaderFromFileA(path.c_str(), nullptr, nullptr, entry, profile, 0,
                                          &c.code, &c.errors, &c.constants);
        EXPECT_EQ(c.hr, D3D_OK) << c.ErrorText();
        EXPECT_EQ(c.errors, nullptr) << c.ErrorText();
    }
}

constexpr char kConstants[] = R"(
struct Light { float x; float3 y; };
float a;
float b;
float2 c;
float4x3 m;
row_major float2x4 r;
float4 arr[3];
Light s;
bool flag;
float4 unused;
float scale = 0.5;
sampler2D tex : register(s2);
float4 main(float2 uv : TEXCOORD0) : COLOR {
    float4 v = float4(a, b, c) + m[1].xyzz + r[1] + arr[2] + s.y.xyzz * s.x + tex2D(tex, uv);
    return flag ? v * scale : v;
}
)";

struct DescCase {
    const char* name;
    D3DXREGISTER_SET set;
    UINT index, count;
    D3DXPARAMETER_CLASS parameterClass;
    D3DXPARAMETER_TYPE type;
    UINT rows, columns, elements, members, bytes;
};

// Each constant its own registers, in declaration order, as the real compiler packs them.
TEST_F(Shaders, TheConstantTableDescribesEachConstantInItsOwnRegisters) {
    const Compiled c = Compile("constants.psh", kConstants, "main", "ps_3_0");
    ASSERT_EQ(c.hr, D3D_OK) << c.ErrorText();
    const DescCase cases[] = {
        {"a", D3DXRS_FLOAT4, 0, 1, D3DXPC_SCALAR, D3DXPT_FLOAT, 1, 1, 1, 0, 4},
        {"b", D3DXRS_FLOAT4, 1, 1, D3DXPC_SCALAR, D3DXPT_FLOAT, 1, 1, 1, 0, 4},
        {"c", D3DXRS_FLOAT4, 2, 1, D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 2, 1, 0, 8},
        {"m", D3DXRS_FLOAT4, 3, 3, D3DXPC_MATRIX_COLUMNS, D3DXPT_FLOAT, 4, 3, 1, 0, 48},
        {"r", D3DXRS_FLOAT4, 6, 2, D3DXPC_MATRIX_ROWS, D3DXPT_FLOAT, 2, 4, 1, 0, 32},
        {"arr", D3DXRS_FLOAT4, 8, 3, D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 4, 3, 0, 48},
        {"s", D3DXRS_FLOAT4, 11, 2, D3DXPC_STRUCT, D3DXPT_VOID, 1, 2, 1, 2, 16},
        {"scale", D3DXRS_FLOAT4, 13, 1, D3DXPC_SCALAR, D3DXPT_FLOAT, 1, 1, 1, 0, 4},
        {"flag", D3DXRS_BOOL, 0, 1, D3DXPC_SCALAR, D3DXPT_BOOL, 1, 1, 1, 0, 4},
        {"tex", D3DXRS_SAMPLER, 2, 1, D3DXPC_OBJECT, D3DXPT_SAMPLER2D, 1, 1, 1, 0, 4},
        {"s.y", D3DXRS_FLOAT4, 12, 1, D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 3, 1, 0, 12},
        {"arr[2]", D3DXRS_FLOAT4, 10, 1, D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 4, 1, 0, 16},
    };
    for (const DescCase& d : cases) {
        SCOPED_TRACE(d.name);
        const D3DXHANDLE h = c.constants->GetConstantByName(nullptr, d.name);
        ASSERT_NE(h, nullptr);
        D3DXCONSTANT_DESC desc{};
        UINT count = 1;
        ASSERT_EQ(c.constants->GetConstantDesc(h, &desc, &count), D3D_OK);
        EXPECT_EQ(desc.RegisterSet, d.set);
        EXPECT_EQ(desc.RegisterIndex, d.index);
        EXPECT_EQ(desc.RegisterCount, d.count);
        EXPECT_EQ(desc.Class, d.parameterClass);
        EXPECT_EQ(desc.Type, d.type);
        EXPECT_EQ(desc.Rows, d.rows);
        EXPECT_EQ(desc.Columns, d.columns);
        EXPECT_EQ(desc.Elements, d.elements);
        EXPECT_EQ(desc.StructMembers, d.members);
        EXPECT_EQ(desc.Bytes, d.bytes);
    }
    D3DXCONSTANTTABLE_DESC table{};
    ASSERT_EQ(c.constants->GetDesc(&table), D3D_OK);
    EXPECT_EQ(table.Constants, 10u);  // the struct's members are not counted apart
    EXPECT_EQ(c.constants->GetConstantByName(nullptr, "unused"), nullptr);
    // Members and elements by handle, and a name where a handle is expected.
    const D3DXHANDLE light = c.constants->GetConstantByName(nullptr, "s");
    EXPECT_STREQ(c.constants->GetConstant(light, 1), "s.y");
    EXPECT_EQ(c.constants->GetConstantByName(light, "y"), c.constants->GetConstant(light, 1));
    EXPECT_EQ(c.constants->GetConstant(light, 2), nullptr);
    EXPECT_STREQ(c.constants->GetConstantElement("arr", 1), "arr[1]");
    EXPECT_EQ(c.constants->GetConstantElement("arr", 3), nullptr);
    EXPECT_EQ(c.constants->GetSamplerIndex("tex"), 2u);
    D3DXCONSTANT_DESC desc{};
    UINT count = 1;
    ASSERT_EQ(c.constants->GetConstantDesc("scale", &desc, &count), D3D_OK);
    ASSERT_NE(desc.DefaultValue, nullptr);
    EXPECT_FLOAT_EQ(*static_cast<const float*>(desc.DefaultValue), 0.5f);
}

struct PackingCase {
    const char* what;
    const char* profile;
    const char* source;  // the body of main, after the declarations
    const char* name;
    bool present;
    D3DXREGISTER_SET set;
    UINT index, count;
    D3DXPARAMETER_TYPE type;
};

// Which registers, how many and of which set, as the real compiler decides by use and profile.
TEST_F(Shaders, ConstantsArePackedByTheirUseAndTheProfile) {
    const PackingCase cases[] = {
        {"a 1D sampler keeps its type", "ps_2_0",
         "sampler1D ramp; float4 main(float u : TEXCOORD0) : COLOR { return tex1D(ramp, u); }",
         "ramp", true, D3DXRS_SAMPLER, 0, 1, D3DXPT_SAMPLER1D},
        {"a sampler never read takes no register", "ps_2_0",
         "sampler2D unused; sampler2D used;\n"
         "float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2D(used, uv); }",
         "unused", false, D3DXRS_SAMPLER, 0, 0, D3DXPT_SAMPLER2D},
        {"an array takes registers up to the last element read", "ps_2_0",
         "float4 k[8]; float4 after; float4 main() : COLOR { return k[2] + k[0] + after; }", "k",
         true, D3DXRS_FLOAT4, 0, 3, D3DXPT_FLOAT},
        {"the constant after it follows the last element read", "ps_2_0",
         "float4 k[8]; float4 after; float4 main() : COLOR { return k[2] + k[0] + after; }",
         "after", true, D3DXRS_FLOAT4, 3, 1, D3DXPT_FLOAT},
        {"an element past the last one read has no register", "ps_2_0",
         "float4 k[8]; float4 main() : COLOR { return k[2]; }", "k[5]", true, D3DXRS_FLOAT4, 5, 0,
         D3DXPT_FLOAT},
        {"an array read at a variable index is all there", "ps_3_0",
         "float4 k[8]; float i; float4 main() : COLOR { return k[1] + k[(int)i]; }", "k", true,
         D3DXRS_FLOAT4, 0, 8, D3DXPT_FLOAT},
        {"an int that counts a loop is an integer register", "ps_3_0",
         "int n; float4 main(float2 uv : TEXCOORD0) : COLOR {\n"
         " float4 s = 0; for (int j = 0; j < n; j++) s += uv.x; return s; }",
         "n", true, D3DXRS_INT4, 0, 1, D3DXPT_INT},
        {"an int in arithmetic is a float register", "ps_3_0",
         "int n; float4 main(float2 uv : TEXCOORD0) : COLOR {\n"
         " float4 s = 0; for (int j = 0; j < n; j++) s += uv.x; return s * n; }",
         "n", true, D3DXRS_FLOAT4, 0, 1, D3DXPT_INT},
        {"vs_2_0 counts loops in integer registers too", "vs_2_0",
         "int n; float4 main(float4 p : POSITION) : POSITION {\n"
         " for (int j = 0; j < n; j++) p.x += 0.1; return p; }",
         "n", true, D3DXRS_INT4, 0, 1, D3DXPT_INT},
        {"ps_2_0 has no BOOL registers", "ps_2_0",
         "bool b; float4 main() : COLOR { return b ? 1 : 0; }", "b", true, D3DXRS_FLOAT4, 0, 1,
         D3DXPT_BOOL},
        {"vs_1_1 has no BOOL registers", "vs_1_1",
         "bool b; float4 main(float4 p : POSITION) : POSITION { return b ? p : -p; }", "b", true,
         D3DXRS_FLOAT4, 0, 1, D3DXPT_BOOL},
        {"ps_2_a has BOOL registers", "ps_2_a",
         "bool b; float4 main() : COLOR { return b ? 1 : 0; }", "b", true, D3DXRS_BOOL, 0, 1,
         D3DXPT_BOOL},
    };
    for (const PackingCase& p : cases) {
        SCOPED_TRACE(p.what);
        const Compiled c = Compile("packing.psh", p.source, "main", p.profile);
        ASSERT_EQ(c.hr, D3D_OK) << c.ErrorText();
        const D3DXHANDLE h = c.constants->GetConstantByName(nullptr, p.name);
        ASSERT_EQ(h != nullptr, p.present);
        if (!h) continue;
        D3DXCONSTANT_DESC desc{};
        UINT count = 1;
        ASSERT_EQ(c.constants->GetConstantDesc(h, &desc, &count), D3D_OK);
        EXPECT_EQ(desc.RegisterSet, p.set);
        EXPECT_EQ(desc.RegisterIndex, p.index);
        EXPECT_EQ(desc.RegisterCount, p.count);
        EXPECT_EQ(desc.Type, p.type);
    }
}

struct NumberedCase {
    const char* source;
    const char* profile;
    const char* line;  // in the messages: after the file name where it starts with the place
};

// The real compiler's number and wording, where it has one for the message.
TEST_F(Shaders, MessagesCarryTheRealCompilersNumbers) {
    const NumberedCase cases[] = {
        {"float4 main() : COLOR { return foo; }", "ps_2_0",
         "(1,32): error X3004: undeclared identifier 'foo'"},
        {"float4 main() : COLOR { return 1 }", "ps_2_0", ": error X3000: syntax error"},
        {"float f(float a) { return a; } float4 main() : COLOR { return f(1, 2); }", "ps_2_0",
         ": error X3013: 'f': no matching overloaded function"},
        {"float4 main() : COLOR { return float4(1, 2); }", "ps_2_0",
         ": error X3014: incorrect number of arguments to numeric-type constructor"},
        {"float4 main() : COLOR { float3x3 m = float4(1, 1, 1, 1); return 1; }", "ps_2_0",
         ": error X3017: '=': cannot convert from 'float4' to 'float3x3'"},
        {"float4 main() : COLOR { float2 a = 1; return a.xyzw; }", "ps_2_0",
         ": error X3018: invalid subscript 'xyzw'"},
        {"float4 main() : COLOR { const float a = 1; a = 2; return a; }", "ps_2_0",
         ": error X3025: l-value specifies const object"},
        {"float f() { } float4 main() : COLOR { return f(); }", "ps_2_0",
         ": error X3080: function 'f' does not return a value"},
        {"float4 other() : COLOR { return 1; }", "ps_2_0",
         ": error X3501: entry point 'main' not found"},
        {"float4 main(float2 uv) : COLOR { return uv.x; }", "ps_2_0",
         ": error X3502: 'main': input 'uv' has no semantic"},
        {"float4 main() { return 1; }", "ps_2_0",
         ": error X3503: 'main': function return value missing semantics"},
        {"float4 main(float2 uv : TEXCOORD0) : COLOR { float4 s = 0;\n"
         " for (int i = 0; i < 2000; i++) s += uv.x; return s; }",
         "ps_2_0", ": error X3511: unable to unroll loop"},
        {"float4 main() : COLOR { return 1 / 0.0; }", "ps_2_0",
         ": warning X4008: floating point division by zero"},
        {"float4 main(float3 n : NORMAL) : COLOR { return n.x; }", "ps_2_0",
         ": error X4502: invalid ps_2_0 input semantic 'NORMAL0'"},
        {"float4 main(float2 uv : TEXCOORD0) : COLOR { return ddx(uv.x); }", "ps_2_0",
         ": error: 'ddx' (screen-space derivatives) needs ps_2_a"},  // no number known
    };
    for (const NumberedCase& n : cases) {
        SCOPED_TRACE(n.source);
        testing::internal::CaptureStderr();
        const Compiled c = Compile("numbered.psh", n.source, "main", n.profile);
        testing::internal::GetCapturedStderr();
        const std::string line = n.line[0] == '(' ? std::string("numbered.psh") + n.line : n.line;
        EXPECT_NE(c.ErrorText().find(line), std::string::npos) << c.ErrorText();
    }
}

// The registers each setter writes, read back from the recording device's calls.
std::vector<std::string> RegisterWrites(std::size_t from) {
    std::vector<std::string> out;
    const auto& calls = record::Log().Calls();
    for (std::size_t i = from; i < calls.size(); ++i) {
        const record::Call& call = calls[i];
        if (call.api.find("ShaderConstant") == std::string::npos) continue;
        std::string text = call.api.substr(call.api.rfind(':') + 1) + " " + call.args.at(0) + ":";
        for (float f : record::Numbers(call.args.at(1)))
            text += " " + std::to_string(f).substr(0, 5);
        out.push_back(text);
    }
    return out;
}

TEST_F(Shaders, TheConstantTableSettersWriteTheConstantsRegisters) {
    const Compiled c = Compile("constants.psh", kConstants, "main", "ps_3_0");
    ASSERT_EQ(c.hr, D3D_OK) << c.ErrorText();
    IDirect3DDevice9* device = test::RecordingDevice();
    ID3DXConstantTable* t = c.constants;
    Matrix4 m{};
    for (int i = 0; i < 16; ++i) m.m[i / 4][i % 4] = static_cast<float>(i + 1) / 16;
    const D3DXVECTOR4 v{0.25f, 0.5f, 0.75f, 1};
    const float list[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const float bytes[4] = {0.5f, 1, 2, 3};
    struct Step {
        const char* what;
        std::function<HRESULT()> call;
        std::vector<std::string> writes;
    };
    const Step steps[] = {
        {"SetFloat",
         [&] { return t->SetFloat(device, "b", 0.5f); },
         {"SetPixelShaderConstantF 1: 0.500 0.000 0.000 0.000"}},
        {"SetVector on a float2",
         [&] { return t->SetVector(device, "c", &v); },
         {"SetPixelShaderConstantF 2: 0.250 0.500 0.000 0.000"}},
        // A column_major 4 x 3 takes its three columns.
        {"SetMatrix",
         [&] { return t->SetMatrix(device, "m", &m); },
         {"SetPixelShaderConstantF 3: 0.062 0.312 0.562 0.812 0.125 0.375 0.625 0.875 0.187 "
          "0.437 0.687 0.937"}},
        {"SetMatrixTranspose",
         [&] { return t->SetMatrixTranspose(device, "m", &m); },
         {"SetPixelShaderConstantF 3: 0.062 0.125 0.187 0.250 0.312 0.375 0.437 0.500 0.562 "
          "0.625 0.687 0.750"}},
        // A row_major 2 x 4 takes its two rows.
        {"SetMatrix on row_major",
         [&] { return t->SetMatrix(device, "r", &m); },
         {"SetPixelShaderConstantF 6: 0.062 0.125 0.187 0.250 0.312 0.375 0.437 0.500"}},
        {"SetFloatArray",
         [&] { return t->SetFloatArray(device, "arr", list, 12); },
         {"SetPixelShaderConstantF 8: 1.000 2.000 3.000 4.000 5.000 6.000 7.000 8.000 9.000 "
          "10.00 11.00 12.00"}},
        {"SetFloatArray of part",
         [&] { return t->SetFloatArray(device, "arr", list, 5); },
         {"SetPixelShaderConstantF 8: 1.000 2.000 3.000 4.000 5.000 0.000 0.000 0.000"}},
        {"SetValue on a struct",
         [&] { return t->SetValue(device, "s", bytes, 16); },
         {"SetPixelShaderConstantF 11: 0.500 0.000 0.000 0.000 1.000 2.000 3.000 0.000"}},
        {"SetVector on an element",
         [&] { return t->SetVector(device, "arr[1]", &v); },
         {"SetPixelShaderConstantF 9: 0.250 0.500 0.750 1.000"}},
        {"SetBool",
         [&] { return t->SetBool(device, "flag", TRUE); },
         {"SetPixelShaderConstantB 0: 1.000"}},
        {"SetInt on a float",
         [&] { return t->SetInt(device, "a", 3); },
         {"SetPixelShaderConstantF 0: 3.000 0.000 0.000 0.000"}},
        {"SetDefaults",
         [&] { return t->SetDefaults(device); },
         {"SetPixelShaderConstantF 13: 0.500 0.000 0.000 0.000"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const std::size_t before = record::Log().Calls().size();
        EXPECT_EQ(step.call(), D3D_OK);
        EXPECT_EQ(RegisterWrites(before), step.writes);
    }
    // What no setter takes.
    EXPECT_EQ(t->SetFloat(device, "nothing", 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(t->SetFloat(device, "tex", 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(t->SetFloat(nullptr, "a", 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(t->SetValue(device, "a", bytes, 16), D3DERR_INVALIDCALL);
    device->Release();
}

TEST_F(Shaders, AVertexShadersTableWritesVertexShaderConstants) {
    const Compiled c = Compile("vertex.vsh", test::kTestVertexShader, "vs_main", "vs_1_1");
    ASSERT_EQ(c.hr, D3D_OK) << c.ErrorText();
    Matrix4 identity;
    D3DXMatrixIdentity(&identity);
    const std::size_t before = record::Log().Calls().size();
    IDirect3DDevice9* device = test::RecordingDevice();
    EXPECT_EQ(c.constants->SetMatrix(device, c.constants->GetConstant(nullptr, 0), &identity),
              D3D_OK);
    device->Release();
    const auto writes = RegisterWrites(before);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].rfind("SetVertexShaderConstantF 0: 1.000 0.000", 0), 0u) << writes[0];
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
    pixel->Release();
    vertex->Release();
    device->Release();
}

}  // namespace
