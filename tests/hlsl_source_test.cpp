// The parts of the HLSL compiler that the corpus sees only through their effects: the source
// pass keeps every line where it was, its token reader and edits, glslang's log read into
// Direct3D 9 words, and the code container that carries a shader to the device.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/d3dx/hlsl/compiler.h"
#include "platform/d3dx/hlsl/shader_translate.h"
#include "platform/d3dx/hlsl/tokens.h"

namespace {

d3dx::ProfileInfo Profile(const char* name) {
    d3dx::ProfileInfo p;
    p.name = name;
    p.pixel = name[0] == 'p';
    p.major = static_cast<std::uint32_t>(name[3] - '0');
    p.minor = name[5] == 'a' ? 1 : name[5] == 'b' ? 2 : 0;
    return p;
}

int LineOf(const std::string& text, const std::string& marker) {
    const std::size_t at = text.find(marker);
    if (at == std::string::npos) return -1;
    return 1 +
           static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}

TEST(HlslTokens, DirectivesStartLinesAndBracketsFindTheirPartners) {
    const std::string source = "#define A 1\nfloat x = 1.5e-3f; // (\nf(a[b], { c }) # d\n(";
    const auto tokens = d3dx::Tokenize(source);
    ASSERT_GE(tokens.size(), 3u);
    EXPECT_EQ(tokens[0].kind, d3dx::TokenKind::Directive);
    EXPECT_EQ(tokens[0].text, "#define A 1");
    const auto find = [&](const std::string& text) {
        return static_cast<std::size_t>(
            std::find_if(tokens.begin(), tokens.end(),
                         [&](const d3dx::Token& t) { return t.text == text; }) -
            tokens.begin());
    };
    EXPECT_EQ(tokens[find("1.5e-3f")].kind, d3dx::TokenKind::Number);
    const std::size_t call = find("f") + 1;
    EXPECT_EQ(tokens[tokens[call].match].text, ")");
    EXPECT_EQ(tokens[tokens[find("[")].match].text, "]");
    EXPECT_EQ(tokens[find("#")].kind, d3dx::TokenKind::Punct);  // not at the start of a line
    EXPECT_EQ(tokens[find("c")].line, 3);
    // The last bracket has no partner: it matches the end.
    EXPECT_EQ(tokens[tokens.size() - 2].match, tokens.size() - 1);
}

TEST(HlslTokens, EditsKeepEveryLineAndTheFirstOfTwoOverlappingEdits) {
    const std::string source = "one\ntwo\nthree\nfour\n";
    d3dx::SourceEdits edits;
    edits.Remove(4, 14);         // "two\nthree\n": its two line breaks stay
    edits.Replace(8, 9, "TWO");  // inside the removal: dropped
    edits.Insert(4, "before ");  // at the removal's start: kept, before it
    edits.Insert(14, "x");
    EXPECT_EQ(edits.Apply(source), "one\nbefore \n\nxfour\n");
}

struct PassCase {
    const char* what;
    const char* profile;
    std::string source;
};

// Whatever the pass rewrites, the line after it is where it was.
TEST(HlslSourcePass, EveryRewriteKeepsTheLinesAfterIt) {
    const PassCase cases[] = {
        {"a technique", "ps_2_0",
         "technique T\n{\n pass P\n {\n  PixelShader = compile ps_2_0 main();\n }\n}\n"},
        {"an effect texture and a sampler_state", "ps_2_0",
         "texture t;\nsampler2D s = sampler_state\n{\n Texture = <t>;\n};\n"},
        {"a flat initialiser over lines", "ps_2_0",
         "static const float2 k[2] = {\n 0.25, 0.5,\n 0.75, 1 };\n"},
        {"a legacy loop variable and a bounded loop", "ps_3_0",
         "float4 f(float n) {\n float s = 0;\n for (int i = 0;\n i < n; i++)\n  s += 1;\n return "
         "s + i;\n}\n"},
        {"a prototype of the entry point", "ps_2_0", "float4 main(\n float2 uv : TEXCOORD0\n);\n"},
        {"a cbuffer", "ps_2_0", "cbuffer Values\n{\n float4 a;\n};\n"},
    };
    for (const PassCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string source =
            c.source + "float4 MARKER;\nfloat4 main() : COLOR { return 1; }\n";
        const d3dx::SourcePassResult pass = d3dx::RunSourcePass(source, "main", Profile(c.profile));
        EXPECT_TRUE(pass.problems.empty()) << pass.problems.front().text;
        EXPECT_EQ(LineOf(pass.source, "MARKER"), LineOf(source, "MARKER")) << pass.source;
        EXPECT_NE(pass.source, source);
    }
}

TEST(HlslSourcePass, ItLearnsTheGlobalsRegistersAndDefaults) {
    const std::string source =
        "float4 tint : register(c3) = float4(1, -0.5, 0, 1);\nbool on : register(b1);\n"
        "static float hidden = 2;\nsampler2D s : register(ps_3_0, s4);\nfloat2x2 m = { 1, 2, 3, 4 "
        "};\n"
        "float4 main() : COLOR { return tint; }\n";
    const d3dx::SourcePassResult pass = d3dx::RunSourcePass(source, "main", Profile("ps_3_0"));
    ASSERT_EQ(pass.globals.size(), 4u);  // the static one is no constant
    EXPECT_EQ(pass.globals[0].name, "tint");
    EXPECT_EQ(pass.globals[0].registerKind, 'c');
    EXPECT_EQ(pass.globals[0].registerIndex, 3);
    EXPECT_EQ(pass.globals[0].defaultValue, (std::vector<float>{1, -0.5f, 0, 1}));
    EXPECT_TRUE(pass.globals[1].isBool);
    EXPECT_EQ(pass.globals[1].registerKind, 'b');
    EXPECT_EQ(pass.globals[2].registerKind, 's');
    EXPECT_EQ(pass.globals[2].registerIndex, 4);
    EXPECT_EQ(pass.globals[3].defaultValue, (std::vector<float>{1, 2, 3, 4}));
    EXPECT_EQ(pass.entryLine, 6);
}

// A pixel shader's POSITION input that it never reads is fed nothing: no vertex output writes it.
TEST(HlslTranslation, AnUnreadPositionInputIsNoVarying) {
    d3dx::CompileRequest request;
    request.source =
        "struct V { float4 p : POSITION; float4 c : COLOR0; };\n"
        "float4 main(V v) : COLOR { return v.c; }\n";
    request.fileName = "unread.psh";
    request.entry = "main";
    request.profile = "ps_2_0";
    const d3dx::CompileResult result = d3dx::CompileHlsl(request);
    ASSERT_TRUE(result.ok) << result.errors;
    const auto shader = d3dx::UnpackShader(reinterpret_cast<const DWORD*>(result.code.data()));
    ASSERT_TRUE(shader);
    EXPECT_EQ(shader->glsl.find("in vec4 vS_POSITION"), std::string::npos) << shader->glsl;
    EXPECT_NE(shader->glsl.find("in vec4 vColor0"), std::string::npos) << shader->glsl;
}

struct WordingCase {
    const char* glslang;
    const char* reads;
};

TEST(HlslMessages, GlslangsTypeNamesReadAsHlslWritesThem) {
    const WordingCase cases[] = {
        {"'=' :  cannot convert from ' temp 4X3 matrix of float' to ' temp 2-component vector of "
         "float'",
         "'=': cannot convert from 'float4x3' to 'float2'"},
        {"'constructor' :  cannot convert parameter 3 from ' const float' to ' temp 3-component "
         "vector of int'",
         "'constructor': cannot convert parameter 3 from 'float' to 'int3'"},
        {"';' : Expected ", "syntax error: expected ';'"},
        {"'x' : unknown variable ", "'x': undeclared identifier"},
        {"'tess_lit' : no matching overloaded function found ",
         "'lit': no matching overloaded function found"},
        {"'' : function does not return a value: @main", "function 'main' does not return a value"},
        {"'assign' :  l-value required \"$Global\" (can't modify a uniform)",
         "global variables are implicitly constant and cannot be modified (declare the variable "
         "static)"},
    };
    for (const WordingCase& c : cases) EXPECT_EQ(d3dx::RewordMessage(c.glslang), c.reads);
}

TEST(HlslMessages, TheLogKeepsLinkErrorsAndDropsFollowOnErrors) {
    const std::string log =
        "ERROR: a.psh:3: ';' : Expected \n"
        "ERROR: a.psh:3: 'declaration' : Expected \n"
        "a.psh(3): error at column 9, HLSL parsing failed.\n"
        "ERROR: 2 compilation errors.  No code generated.\n"
        "ERROR: Linking fragment stage: No function definition (body) found: \n"
        "    helper(f1;\n"
        "    other(vf2;\n"
        "WARNING: a.psh:7: 'x' : something to note \n";
    const auto diagnostics = d3dx::ReadGlslangLog(log, 12);
    ASSERT_EQ(diagnostics.size(), 3u);
    EXPECT_EQ(d3dx::FormatDiagnostics({diagnostics[0]}, "a.psh"),
              "a.psh(3,9): error: syntax error: expected ';'\n");
    EXPECT_EQ(diagnostics[1].line, 12);
    EXPECT_EQ(diagnostics[1].text, "function declared but never defined: 'helper', 'other'");
    EXPECT_FALSE(diagnostics[2].error);
    EXPECT_EQ(diagnostics[2].line, 7);
}

TEST(ShaderContainer, ItCarriesTheTranslationAndRefusesWhatIsNotOne) {
    d3dx::ShaderReflection s;
    s.stage = d3dx::ShaderStage::Vertex;
    s.versionMajor = 3;
    s.entry = "vs_main";
    s.inputs.push_back({"p", "POSITION", 0, 0});
    d3dx::ConstantVar c;
    c.name = "m";
    c.registerIndex = 4;
    c.registerCount = 4;
    c.defaultValue = {1, 2};
    s.constants.push_back(c);
    c.name = "member";
    c.parent = 0;
    s.constants.push_back(c);
    s.glsl = "#version 330\nvoid main() {}\n";
    s.glslSamplers.push_back({"tessSampler0", 2});
    s.floatRegisters = 8;
    s.boolRegisters = 1;
    std::vector<std::uint32_t> code = d3dx::PackShader(s);
    EXPECT_EQ(code[0], 0xFFFE0300u);
    d3dx::TranslatedShader t;
    std::string error;
    ASSERT_TRUE(d3dx::ReadTranslatedShader(code.data(), d3dx::ShaderStage::Vertex, t, error));
    EXPECT_EQ(t.glsl, s.glsl);
    ASSERT_EQ(t.samplers.size(), 1u);
    EXPECT_EQ(t.samplers[0].reg, 2);
    EXPECT_EQ(t.floatRegisters, 8);
    EXPECT_EQ(t.boolRegisters, 1);
    ASSERT_EQ(t.constants.size(), 2u);
    EXPECT_EQ(t.constants[1].parent, 0);
    EXPECT_EQ(t.constants[0].defaultValue, (std::vector<float>{1, 2}));
    EXPECT_FALSE(d3dx::ReadTranslatedShader(code.data(), d3dx::ShaderStage::Pixel, t, error));

    // Cut short, a length that runs past the end, or a member before its struct: refused.
    std::vector<std::uint32_t> cut(code.begin(), code.end() - 3);
    cut[2] = static_cast<std::uint32_t>(cut.size());
    EXPECT_FALSE(d3dx::UnpackShader(cut.data()));
    std::vector<std::uint32_t> longer = code;
    longer[2] = static_cast<std::uint32_t>(code.size() + 100);
    longer.resize(code.size() + 100, 0xFFFFFFFFu);
    EXPECT_FALSE(d3dx::UnpackShader(longer.data()));
    s.constants[1].parent = 5;
    code = d3dx::PackShader(s);
    EXPECT_FALSE(d3dx::UnpackShader(code.data()));
}

}  // namespace
