// tessaline-compile, the real binary: its exit codes and output on a good shader, one that warns
// (with and without --werror), one that does not compile, and a bad command line.
#include <gtest/gtest.h>

#include <filesystem>

#include <string>
#include <vector>

#include "tests/test_files.h"

#ifndef TESS_COMPILE
#error "TESS_COMPILE must name the tessaline-compile binary"
#endif

namespace {

struct Case {
    const char* what;
    const char* source;  // written to shader.hlsl
    std::vector<std::string> args;
    int code;
    std::vector<std::string> out, err;  // parts each must hold
    bool errEmpty;
};

TEST(CompileTool, ExitCodesAndTheFormsEditorsAndAuthorsRead) {
    constexpr char kGood[] =
        "float4 tint = {1, 0.5, 0.25, 1};\nrow_major float4x4 m;\nsampler2D s : register(s1);\n"
        "float4 main(float2 t : TEXCOORD0) : COLOR0 { return mul(tex2D(s, t) * tint, m); }\n";
    // A register type the profile does not have is ignored, with a warning.
    constexpr char kWarns[] = "int n : register(i2);\nfloat4 main() : COLOR0 { return n; }\n";
    constexpr char kBad[] = "float4 main() : COLOR0 {\n    return 1\n}\n";
    constexpr char kIncluding[] =
        "#include \"tint.fxh\"\nfloat4 main() : COLOR0 { return TINT; }\n";
    const Case cases[] = {
        {"good",
         kGood,
         {"-T", "ps_2_0", "-E", "main", "shader.hlsl"},
         0,
         {"ps_2_0 main (shader.hlsl): compiled", "tint", "float4   c0", "(1, 0.5, 0.25, 1)",
          "row_major float4x4", "sampler  s1", "slots: about"},
         {},
         true},
        {"a define",
         "float4 main() : COLOR0 { return VALUE; }",
         {"-T", "ps_2_0", "-E", "main", "-D", "VALUE=0.5", "shader.hlsl"},
         0,
         {"constants: none"},
         {},
         true},
        {"warns",
         kWarns,
         {"-T", "ps_2_0", "-E", "main", "shader.hlsl"},
         0,
         {"compiled"},
         {"shader.hlsl(1,1): warning"},
         false},
        {"warns, --werror",
         kWarns,
         {"-T", "ps_2_0", "-E", "main", "--werror", "shader.hlsl"},
         1,
         {},
         {"shader.hlsl(1,1): warning", "--werror: the compile warned"},
         false},
        {"bad",
         kBad,
         {"-T", "ps_2_0", "-E", "main", "shader.hlsl"},
         1,
         {},
         {"shader.hlsl(3,1): error"},
         false},
        {"no profile",
         kGood,
         {"-E", "main", "shader.hlsl"},
         2,
         {},
         {"-T PROFILE is needed"},
         false},
        {"no file",
         kGood,
         {"-T", "ps_2_0", "-E", "main", "none.hlsl"},
         2,
         {},
         {"none.hlsl:"},
         false},
        {"unknown option", kGood, {"--bogus"}, 2, {}, {"--bogus: unknown option"}, false},
        {"an include found in an -I folder",
         kIncluding,
         {"-T", "ps_2_0", "-E", "main", "-I", "inc", "shader.hlsl"},
         0,
         {"compiled"},
         {},
         true},
        {"an include not found",
         kIncluding,
         {"-T", "ps_2_0", "-E", "main", "shader.hlsl"},
         1,
         {},
         {"shader.hlsl(1,1): error", "tint.fxh"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        test::WriteFile(dir.Path("shader.hlsl"), c.source);
        std::filesystem::create_directory(dir.Path("inc"));
        test::WriteFile(dir.Path("inc/tint.fxh"), "#define TINT float4(1, 0, 0, 1)\n");
        const test::ProcessRun run = test::RunProcess(TESS_COMPILE, c.args, dir.path());
        EXPECT_EQ(run.code, c.code) << run.err;
        for (const std::string& part : c.out)
            EXPECT_NE(run.out.find(part), std::string::npos) << part << "\n" << run.out;
        for (const std::string& part : c.err)
            EXPECT_NE(run.err.find(part), std::string::npos) << part << "\n" << run.err;
        if (c.errEmpty) {
            EXPECT_EQ(run.err, "");
        }
        if (c.code != 0) {
            EXPECT_EQ(run.out, "");
        }
    }
}

}  // namespace
