// #include in the D3DX shader functions: found beside the file that includes it, then in the
// current folder, or through the caller's ID3DXInclude; a source in memory includes nothing
// without one; a cycle is an error; and every message names the file and line it is about.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/d3dx/hlsl/compile_cache.h"
#include "platform/record/record_platform.h"
#include "tests/test_files.h"

namespace {

const std::string kTail = "float4 ps_main() : COLOR0 { return COLOUR; }\n";
const std::string kGreen = "#define COLOUR float4(0, 1, 0, 1)\n";

// Serves files from a map and records what it was asked.
struct MapInclude : ID3DXInclude {
    std::map<std::string, std::string> files;
    struct Call {
        D3DXINCLUDE_TYPE type;
        std::string name;
        LPCVOID parent;
    };
    std::vector<Call> opened;
    std::vector<LPCVOID> given, closed;

    HRESULT Open(D3DXINCLUDE_TYPE type, LPCSTR name, LPCVOID parent, LPCVOID* data,
                 UINT* bytes) override {
        opened.push_back({type, name, parent});
        const auto found = files.find(name);
        if (found == files.end()) return E_FAIL;
        *data = found->second.data();
        *bytes = static_cast<UINT>(found->second.size());
        given.push_back(*data);
        return S_OK;
    }
    HRESULT Close(LPCVOID data) override {
        closed.push_back(data);
        return S_OK;
    }
};

enum class Via { File, Memory, PreprocessFile, PreprocessMemory };

struct Outcome {
    HRESULT hr = E_FAIL;
    std::string errors, text;
};

// Through the entry point `via`; a file source is shaders/a.psh.
Outcome Through(Via via, const std::string& root, const std::string& source,
                ID3DXInclude* handler) {
    ID3DXBuffer* out = nullptr;
    ID3DXBuffer* errors = nullptr;
    Outcome o;
    const std::string file = root + "/shaders/a.psh";
    if (via == Via::File || via == Via::PreprocessFile) test::WriteFile(file, source);
    const auto size = static_cast<UINT>(source.size());
    switch (via) {
        case Via::File:
            o.hr = D3DXCompileShaderFromFileA(file.c_str(), nullptr, handler, "ps_main", "ps_2_0",
                                              0, &out, &errors, nullptr);
            break;
        case Via::Memory:
            o.hr = D3DXCompileShader(source.data(), size, nullptr, handler, "ps_main", "ps_2_0", 0,
                                     &out, &errors, nullptr);
            break;
        case Via::PreprocessFile:
            o.hr = D3DXPreprocessShaderFromFileA(file.c_str(), nullptr, handler, &out, &errors);
            break;
        case Via::PreprocessMemory:
            o.hr = D3DXPreprocessShader(source.data(), size, nullptr, handler, &out, &errors);
            break;
    }
    if (errors) o.errors = static_cast<const char*>(errors->GetBufferPointer());
    if (out && (via == Via::PreprocessFile || via == Via::PreprocessMemory))
        o.text = static_cast<const char*>(out->GetBufferPointer());
    if (out) out->Release();
    if (errors) errors->Release();
    return o;
}

class ShaderIncludes : public ::testing::Test {
  protected:
    void SetUp() override {
        record::InstallRecordingPlatform();
        d3dx::UseCompileCache("");
        std::filesystem::create_directories(dir_.Path("shaders"));
        std::filesystem::create_directories(dir_.Path("work"));
        before_ = getcwd(nullptr, 0);
        // The current folder is not the shader's: "beside" and "current" differ.
        ASSERT_EQ(chdir(dir_.Path("work").c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(before_), 0);
        std::free(before_);
    }
    void Write(const std::map<std::string, std::string>& files) {
        for (const auto& [name, bytes] : files) {
            std::filesystem::create_directories(
                std::filesystem::path(dir_.Path(name)).parent_path());
            test::WriteFile(dir_.Path(name), bytes);
        }
    }
    test::TempDir dir_;
    char* before_ = nullptr;
};

TEST_F(ShaderIncludes, AreFoundAsD3DXFindsThemAndEveryMessageNamesItsFile) {
    struct Case {
        const char* what;
        Via via;
        std::string source;
        std::map<std::string, std::string> disk;    // under the test's folder
        std::map<std::string, std::string> served;  // by a handler, where there is one
        bool handler;
        HRESULT hr;
        std::vector<std::string> said;  // in the messages, or the preprocessed text
    };
    const std::string inc = "#include ";
    const Case cases[] = {
        {"beside the including file",
         Via::File,
         inc + "\"colour.fxh\"\n" + kTail,
         {{"shaders/colour.fxh", kGreen}, {"work/colour.fxh", "#error the current folder's\n"}},
         {},
         false,
         D3D_OK,
         {}},
        {"nested, beside the file that includes it",
         Via::File,
         inc + "\"sub/outer.fxh\"\n" + kTail,
         {{"shaders/sub/outer.fxh", inc + "\"inner.fxh\"\n"},
          {"shaders/sub/inner.fxh", kGreen},
          {"shaders/inner.fxh", "#error the source's neighbour\n"}},
         {},
         false,
         D3D_OK,
         {}},
        {"<name> beside the file too",
         Via::File,
         inc + "<colour.fxh>\n" + kTail,
         {{"shaders/colour.fxh", kGreen}},
         {},
         false,
         D3D_OK,
         {}},
        {"then the current folder",
         Via::File,
         inc + "\"here.fxh\"\n" + kTail,
         {{"work/here.fxh", kGreen}},
         {},
         false,
         D3D_OK,
         {}},
        {"named the Windows way",
         Via::File,
         inc + "\"SUB\\\\Colour.FXH\"\n" + kTail,
         {{"shaders/sub/colour.fxh", kGreen}},
         {},
         false,
         D3D_OK,
         {}},
        {"missing",
         Via::File,
         "float x;\n" + inc + "\"missing.fxh\"\n" + kTail,
         {},
         {},
         false,
         E_FAIL,
         {"a.psh(2,", "cannot open include file 'missing.fxh': not found beside"}},
        {"a cycle",
         Via::File,
         inc + "\"a.fxh\"\n" + kTail,
         {{"shaders/a.fxh", inc + "\"b.fxh\"\n"}, {"shaders/b.fxh", "\n" + inc + "\"a.fxh\"\n"}},
         {},
         false,
         E_FAIL,
         {"b.fxh(2,", "more than 32", "does a file include itself"}},
        {"a compile error in an included file",
         Via::File,
         inc + "\"colour.fxh\"\n" + kTail,
         {{"shaders/colour.fxh", kGreen + "\nfloat4 f() { return undefined_name; }\n"}},
         {},
         false,
         E_FAIL,
         {"colour.fxh(3,", "undefined_name"}},
        {"a preprocessor error in an included file",
         Via::File,
         "\n\n" + inc + "\"colour.fxh\"\n" + kTail,
         {{"shaders/colour.fxh", "\n#error stop\n"}},
         {},
         false,
         E_FAIL,
         {"colour.fxh(2,", "stop"}},
        {"a handler that succeeds",
         Via::Memory,
         inc + "\"outer.fxh\"\n" + kTail,
         {},
         {{"outer.fxh", inc + "<inner.fxh>\n"}, {"inner.fxh", kGreen}},
         true,
         D3D_OK,
         {}},
        {"a handler that fails",
         Via::Memory,
         "\n" + inc + "\"colour.fxh\"\n" + kTail,
         {},
         {},
         true,
         E_FAIL,
         {"memory(2,", "the ID3DXInclude handler failed (0x80004005)"}},
        {"a handler rather than the disk",
         Via::File,
         inc + "\"colour.fxh\"\n" + kTail,
         {{"shaders/colour.fxh", "#error the disk's\n"}},
         {{"colour.fxh", kGreen}},
         true,
         D3D_OK,
         {}},
        {"memory without a handler",
         Via::Memory,
         inc + "\"colour.fxh\"\n" + kTail,
         {},
         {},
         false,
         E_FAIL,
         {"memory(1,", "only through an ID3DXInclude"}},
        {"memory without a handler or an include",
         Via::Memory,
         kGreen + kTail,
         {},
         {},
         false,
         D3D_OK,
         {}},
        {"preprocessed from a file",
         Via::PreprocessFile,
         inc + "\"colour.fxh\"\n" + kTail,
         {{"shaders/colour.fxh", "float4 green = float4(0, 1, 0, 1);\n"}},
         {},
         false,
         D3D_OK,
         {"shaders/colour.fxh\"\n", "float4 green", "#line 2 \"" + dir_.Path("shaders/a.psh")}},
        {"preprocessed from memory",
         Via::PreprocessMemory,
         inc + "\"colour.fxh\"\n" + kTail,
         {},
         {{"colour.fxh", "float4 green;\n"}},
         true,
         D3D_OK,
         {"#line 1 \"colour.fxh\"\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(dir_.Path("shaders"));
        std::filesystem::create_directories(dir_.Path("shaders"));
        for (const auto& entry : std::filesystem::directory_iterator(dir_.Path("work")))
            std::filesystem::remove_all(entry.path());
        Write(c.disk);
        MapInclude handler;
        handler.files = c.served;
        const Outcome o = Through(c.via, dir_.path(), c.source, c.handler ? &handler : nullptr);
        EXPECT_EQ(o.hr, c.hr) << o.errors;
        for (const std::string& said : c.said)
            EXPECT_NE((o.errors + o.text).find(said), std::string::npos) << o.errors << o.text;
        EXPECT_EQ(handler.closed.size(), handler.given.size()) << "each opened file closed";
    }
}

TEST_F(ShaderIncludes, AHandlerIsAskedWithTheTypeAndTheIncludingFilesData) {
    MapInclude handler;
    handler.files = {
        {"outer.fxh", "#include \"inner.fxh\"\n"}, {"inner.fxh", kGreen}, {"sys.fxh", "\n"}};
    const std::string source = "#include \"outer.fxh\"\n#include <sys.fxh>\n" + kTail;
    ASSERT_EQ(Through(Via::Memory, dir_.path(), source, &handler).hr, D3D_OK);
    ASSERT_EQ(handler.opened.size(), 3u);
    EXPECT_EQ(handler.opened[0].type, D3DXINC_LOCAL);
    EXPECT_EQ(handler.opened[0].parent, nullptr);
    EXPECT_EQ(handler.opened[1].name, "inner.fxh");
    EXPECT_EQ(handler.opened[1].parent, handler.files["outer.fxh"].data());
    EXPECT_EQ(handler.opened[2].type, D3DXINC_SYSTEM);
    EXPECT_EQ(handler.opened[2].parent, nullptr);
    std::vector<LPCVOID> given = handler.given, closed = handler.closed;
    std::sort(given.begin(), given.end());
    std::sort(closed.begin(), closed.end());
    EXPECT_EQ(closed, given) << "every file closed once, after the compile";
}

}  // namespace
