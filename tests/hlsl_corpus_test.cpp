// The HLSL corpus (tests/hlsl/*.hlsl): every case through D3DXCompileShaderFromFileA and, where
// it is to render, through the OpenGL device headless, against the outcome written in the case.
//
// A case is a shader file whose leading comment lines say what to do with it:
//   // kind: scope                      what it tests, for the counts by kind
//   // profile: ps_2_0 main             profile and entry point
//   // expect: renders | compiles | fails <text> | warns <text>
//                                    (the text may start with the number: "X3004: undeclared")
//   // pair: ps_2_0 ps_main             the other stage, compiled from the same file
//   // cull: none    // winding: counterclockwise    // colour: FF336699 (the vertex colour)
//   // set <name> <floats>              ID3DXConstantTable::SetFloatArray
//   // setvector <name> x y z w   // setmatrix <name> <16 floats, row by row>
//   // setint <name> n   // setbool <name> 0|1   // setdefaults
//   // register c3 x y z w   // register i0 a b c d   // register b1 1   (Set*ShaderConstant*)
//   // texture <stage> <w>x<h> <ARGB words, row by row>
//   // at <x> <y> <RRGGBB> [tolerance]    the expected colour of a pixel (alpha not compared)
// The quad covers the whole back buffer: clip-space corners at z 0.5 (identity transforms),
// normal (0, 0, -1), one vertex colour, texture coordinates (0, 0) at the top-left corner to
// (1, 1) at the bottom-right, so pixel (x, y) reads (x / 1000, y / 500) as Direct3D 9 puts
// pixel centres on whole coordinates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <utility>

#include "platform/d3dx/hlsl/compiler.h"
#include "tests/gl_fixture.h"

namespace {

struct Expected {
    int x = 0, y = 0;
    std::uint32_t rgb = 0;
    int tolerance = 2;
};

struct Case {
    std::string file, name, kind;
    std::string profile = "ps_2_0", entry = "main";
    std::string expect = "compiles", text;
    std::string pairProfile, pairEntry;
    bool cullNone = false, counterClockwise = false;
    std::uint32_t colour = 0xFF336699;
    std::vector<std::vector<std::string>> setters;  // in order
    std::vector<std::pair<int, std::vector<std::uint32_t>>> textures;
    std::vector<std::pair<UINT, UINT>> textureSizes;
    std::vector<Expected> pixels;
};

// gtest names a case by its file.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.file;
}

std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

Case ReadCase(const std::filesystem::path& path) {
    Case c;
    c.file = path.string();
    c.name = path.stem().string();
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("//", 0) != 0) break;
        std::string body = line.substr(2);
        std::vector<std::string> w = Words(body);
        if (w.empty()) continue;
        std::string key = w[0];
        const bool colon = key.back() == ':';
        if (colon) key.pop_back();
        const auto rest = [&] {
            const std::size_t at = body.find(w[0]) + w[0].size();
            std::string r = body.substr(at);
            while (!r.empty() && r.front() == ' ') r.erase(0, 1);
            return r;
        };
        if (key == "kind" && w.size() > 1) c.kind = w[1];
        if (key == "profile" && w.size() > 1) {
            c.profile = w[1];
            if (w.size() > 2) c.entry = w[2];
        }
        if (key == "pair" && w.size() > 2) {
            c.pairProfile = w[1];
            c.pairEntry = w[2];
        }
        if (key == "expect" && w.size() > 1) {
            c.expect = w[1];
            const std::string r = rest();
            c.text = r.size() > w[1].size() ? r.substr(w[1].size() + 1) : "";
        }
        if (key == "cull") c.cullNone = w.size() > 1 && w[1] == "none";
        if (key == "winding") c.counterClockwise = w.size() > 1 && w[1] == "counterclockwise";
        if (key == "colour" && w.size() > 1) c.colour = std::stoul(w[1], nullptr, 16);
        if (!colon &&
            (key == "set" || key == "setvector" || key == "setmatrix" || key == "setint" ||
             key == "setbool" || key == "setdefaults" || key == "register"))
            c.setters.push_back(w);
        if (!colon && key == "texture" && w.size() > 3) {
            const int stage = std::stoi(w[1]);
            const std::size_t x = w[2].find('x');
            const UINT width = static_cast<UINT>(std::stoul(w[2].substr(0, x)));
            const UINT height = static_cast<UINT>(std::stoul(w[2].substr(x + 1)));
            std::vector<std::uint32_t> texels;
            for (std::size_t i = 3; i < w.size(); ++i)
                texels.push_back(static_cast<std::uint32_t>(std::stoul(w[i], nullptr, 16)));
            c.textures.emplace_back(stage, texels);
            c.textureSizes.emplace_back(width, height);
        }
        if (!colon && key == "at" && w.size() >= 4) {
            Expected e;
            e.x = std::stoi(w[1]);
            e.y = std::stoi(w[2]);
            e.rgb = static_cast<std::uint32_t>(std::stoul(w[3], nullptr, 16)) & 0xFFFFFF;
            if (w.size() > 4) e.tolerance = std::stoi(w[4]);
            c.pixels.push_back(e);
        }
    }
    return c;
}

std::vector<Case> AllCases() {
    std::vector<Case> cases;
    const std::filesystem::path dir = std::filesystem::path(TESS_SOURCE_DIR) / "tests" / "hlsl";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() == ".hlsl") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    cases.reserve(files.size());
    for (const auto& f : files) cases.push_back(ReadCase(f));
    return cases;
}

// Outcomes by kind, printed once every case has run.
struct Tally {
    int valid = 0, compiled = 0, invalid = 0, refused = 0, renders = 0, rendered = 0;
};
std::map<std::string, Tally>& Tallies() {
    static std::map<std::string, Tally> tallies;
    return tallies;
}

class TallyPrinter : public ::testing::Environment {
  public:
    void TearDown() override {
        Tally all;
        std::printf(
            "\nHLSL corpus by kind: compiles as expected, refused as expected, renders "
            "as expected\n");
        for (const auto& [kind, t] : Tallies()) {
            std::printf("  %-10s %3d/%-3d  %3d/%-3d  %3d/%-3d\n", kind.c_str(), t.compiled, t.valid,
                        t.refused, t.invalid, t.rendered, t.renders);
            all.valid += t.valid;
            all.compiled += t.compiled;
            all.invalid += t.invalid;
            all.refused += t.refused;
            all.renders += t.renders;
            all.rendered += t.rendered;
        }
        std::printf("  %-10s %3d/%-3d  %3d/%-3d  %3d/%-3d\n", "all", all.compiled, all.valid,
                    all.refused, all.invalid, all.rendered, all.renders);
    }
};
const auto* const kPrinter = ::testing::AddGlobalTestEnvironment(new TallyPrinter);

// The messages without the file names before them, where an expected text is looked for.
std::string MessageTexts(const std::string& messages) {
    std::istringstream in(messages);
    std::string out;
    for (std::string line; std::getline(in, line);) {
        const std::size_t at = line.find("): ");
        out += (at == std::string::npos ? line : line.substr(at + 3)) + "\n";
    }
    return out;
}

// A compile's results, released with it.
struct Compiled {
    HRESULT hr = E_FAIL;
    ID3DXBuffer* code = nullptr;
    ID3DXConstantTable* table = nullptr;
    std::string messages;

    Compiled() = default;
    Compiled(Compiled&& other) noexcept { *this = std::move(other); }
    Compiled& operator=(Compiled&& other) noexcept {
        std::swap(hr, other.hr);
        std::swap(code, other.code);
        std::swap(table, other.table);
        std::swap(messages, other.messages);
        return *this;
    }
    ~Compiled() {
        if (code) code->Release();
        if (table) table->Release();
    }
};

Compiled Compile(const Case& c, const std::string& profile, const std::string& entry) {
    Compiled out;
    ID3DXBuffer* errors = nullptr;
    out.hr = D3DXCompileShaderFromFileA(c.file.c_str(), nullptr, nullptr, entry.c_str(),
                                        profile.c_str(), 0, &out.code, &errors, &out.table);
    if (errors) {
        out.messages = static_cast<const char*>(errors->GetBufferPointer());
        errors->Release();
    }
    return out;
}

class HlslCorpus : public test::Drawing, public ::testing::WithParamInterface<Case> {
  protected:
    // Binds the shader of this profile; false (with a failure) when the device refuses it.
    bool Bind(const Compiled& compiled, const std::string& profile) {
        const auto* words = static_cast<const DWORD*>(compiled.code->GetBufferPointer());
        if (profile[0] == 'p') {
            IDirect3DPixelShader9* shader = nullptr;
            EXPECT_EQ(device->CreatePixelShader(words, &shader), D3D_OK);
            if (!shader) return false;
            device->SetPixelShader(shader);
            shader->Release();
        } else {
            IDirect3DVertexShader9* shader = nullptr;
            EXPECT_EQ(device->CreateVertexShader(words, &shader), D3D_OK);
            if (!shader) return false;
            device->SetVertexShader(shader);
            shader->Release();
        }
        return true;
    }

    void SetConstants(const Case& c, const Compiled& main, const Compiled* pair) {
        for (const auto& w : c.setters) {
            std::vector<float> f;
            for (std::size_t i = 2; i < w.size(); ++i) f.push_back(std::stof(w[i]));
            if (w[0] == "register") {
                const char set = w[1][0];
                const UINT reg = static_cast<UINT>(std::stoul(w[1].substr(1)));
                const bool pixel = c.profile[0] == 'p';
                if (set == 'c') {
                    f.resize(4, 0.0f);
                    pixel ? device->SetPixelShaderConstantF(reg, f.data(), 1)
                          : device->SetVertexShaderConstantF(reg, f.data(), 1);
                } else if (set == 'i') {
                    int v[4] = {};
                    for (std::size_t i = 0; i < 4 && i < f.size(); ++i)
                        v[i] = static_cast<int>(f[i]);
                    pixel ? device->SetPixelShaderConstantI(reg, v, 1)
                          : device->SetVertexShaderConstantI(reg, v, 1);
                } else {
                    const BOOL b = !f.empty() && f[0] != 0;
                    pixel ? device->SetPixelShaderConstantB(reg, &b, 1)
                          : device->SetVertexShaderConstantB(reg, &b, 1);
                }
                continue;
            }
            // A constant of either shader, by name.
            for (ID3DXConstantTable* table : {main.table, pair ? pair->table : nullptr}) {
                if (!table) continue;
                if (w[0] == "setdefaults") {
                    EXPECT_EQ(table->SetDefaults(device), D3D_OK);
                    continue;
                }
                const D3DXHANDLE h = table->GetConstantByName(nullptr, w[1].c_str());
                if (!h) continue;
                HRESULT hr = D3D_OK;
                if (w[0] == "set")
                    hr = table->SetFloatArray(device, h, f.data(), static_cast<UINT>(f.size()));
                if (w[0] == "setint") hr = table->SetInt(device, h, static_cast<INT>(f.at(0)));
                if (w[0] == "setbool") hr = table->SetBool(device, h, f.at(0) != 0);
                if (w[0] == "setvector") {
                    f.resize(4, 0.0f);
                    const D3DXVECTOR4 v{f[0], f[1], f[2], f[3]};
                    hr = table->SetVector(device, h, &v);
                }
                if (w[0] == "setmatrix") {
                    f.resize(16, 0.0f);
                    D3DXMATRIX m;
                    std::memcpy(m.m, f.data(), sizeof m.m);
                    hr = table->SetMatrix(device, h, &m);
                }
                EXPECT_EQ(hr, D3D_OK) << w[0] << " " << w[1];
            }
        }
    }

    ID3DXMesh* FullScreenQuad(const Case& c) {
        const float p[4][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};
        const float t[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        std::vector<float> v;
        for (int i = 0; i < 4; ++i) {
            float colour;
            std::memcpy(&colour, &c.colour, 4);
            v.insert(v.end(), {p[i][0], p[i][1], 0.5f, 0, 0, -1, colour, t[i][0], t[i][1]});
        }
        return MakeMesh(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1, v,
                        c.counterClockwise ? test::kQuadCounterClockwise : test::kQuadClockwise,
                        {0, 0});
    }
};

TEST_P(HlslCorpus, MeetsItsExpectation) {
    const Case& c = GetParam();
    Tally& tally = Tallies()[c.kind];
    const bool valid = c.expect != "fails";
    (valid ? tally.valid : tally.invalid) += 1;
    if (c.expect == "renders") ++tally.renders;
    testing::internal::CaptureStderr();
    const Compiled main = Compile(c, c.profile, c.entry);
    const std::string stderrText = testing::internal::GetCapturedStderr();
    SCOPED_TRACE(c.file + "\n" + main.messages);

    if (!valid) {
        EXPECT_TRUE(FAILED(main.hr));
        EXPECT_EQ(main.code, nullptr);
        EXPECT_NE(main.messages.find(c.file + "("), std::string::npos) << "no file(line,col)";
        EXPECT_TRUE(std::regex_search(main.messages, std::regex(R"(: error( X\d{4})?: )")));
        // "(14," looks for a place; anything else for words of a message.
        const std::string& where =
            c.text.rfind('(', 0) == 0 ? main.messages : MessageTexts(main.messages);
        const bool said = where.find(c.text) != std::string::npos;
        EXPECT_TRUE(said) << "wanted: " << c.text;
        EXPECT_EQ(stderrText.find("HLSL: "), std::string::npos) << "said twice";
        if (FAILED(main.hr) && said) ++tally.refused;
        return;
    }
    ASSERT_EQ(main.hr, D3D_OK);
    if (c.expect == "warns") {
        EXPECT_TRUE(std::regex_search(main.messages, std::regex(R"(: warning( X\d{4})?: )")));
        EXPECT_NE(MessageTexts(main.messages).find(c.text), std::string::npos)
            << "wanted: " << c.text;
    }
    if (c.expect != "renders") {
        ++tally.compiled;
        return;
    }
    Compiled pair;
    if (!c.pairProfile.empty()) {
        pair = Compile(c, c.pairProfile, c.pairEntry);
        ASSERT_EQ(pair.hr, D3D_OK) << pair.messages;
    }
    ++tally.compiled;
    ASSERT_TRUE(Bind(main, c.profile));
    if (pair.code) {
        ASSERT_TRUE(Bind(pair, c.pairProfile));
    }
    SetConstants(c, main, pair.code ? &pair : nullptr);
    for (std::size_t i = 0; i < c.textures.size(); ++i) {
        IDirect3DTexture9* texture =
            MakeTexture(c.textureSizes[i].first, c.textureSizes[i].second, c.textures[i].second);
        device->SetTexture(static_cast<DWORD>(c.textures[i].first), texture);
    }
    if (c.cullNone) device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    Draw(FullScreenQuad(c));
    bool all = true;
    for (const Expected& e : c.pixels) {
        const std::uint32_t got = PixelAt(e.x, e.y) & 0xFFFFFF;
        const int distance = test::ColorDistance(got | 0xFF000000u, e.rgb | 0xFF000000u);
        EXPECT_LE(distance, e.tolerance) << "at (" << e.x << ", " << e.y << "): got "
                                         << test::Hex(got) << ", expected " << test::Hex(e.rgb);
        all = all && distance <= e.tolerance;
    }
    if (all && !c.pixels.empty()) ++tally.rendered;
}

INSTANTIATE_TEST_SUITE_P(Corpus, HlslCorpus, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             std::string name = param.param.name;
                             for (char& ch : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

}  // namespace
