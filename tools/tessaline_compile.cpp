// tessaline-compile: compiles one HLSL file with the compiler the harness uses (the same compile,
// in the same isolated child, that D3DXCompileShaderFromFileA runs, without the compile cache)
// and prints what a shader author asks of it: the compiler's messages on stderr in the
// "file(line,col): error ...: message" form editors parse, and on stdout the constant table
// (name, register set, register, count, type, default) and the instruction slot estimate.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3d9/debug_layer.h"
#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/hlsl/compiler.h"
#include "platform/d3dx/hlsl/include_files.h"
#include "platform/d3dx/isolated_process.h"

namespace {

constexpr int kExitErrors = 1;
constexpr int kExitUsage = 2;
constexpr std::size_t kMaxSourceBytes = std::size_t{4} << 20;

const char kUsage[] =
    R"(usage: tessaline-compile -T PROFILE -E ENTRY [-D NAME[=VALUE]] [-I DIR] [--werror] FILE

Compiles the HLSL file FILE with the compiler Tessaline uses for D3DXCompileShaderFromFileA.
Its messages go to stderr, one line each, in the form editors and build tools parse
(FILE(LINE,COLUMN): error X3004: MESSAGE, with the real compiler's number where it has one); an
#include is found beside the file that includes it, then in each -I folder in order, then in
the current folder. For a shader that compiles, its constant table and
instruction slot estimate go to stdout.

Options:
  -T PROFILE     the profile: vs_1_1, vs_2_0, vs_2_a, vs_2_sw, vs_3_0, ps_2_0, ps_2_a,
                 ps_2_b, ps_2_sw or ps_3_0
  -E ENTRY       the entry point's name
  -D NAME[=VALUE]
                 define a macro (VALUE empty where not given); may be repeated
  -I DIR         a folder to search for #include files; may be repeated
  --werror       warnings fail the compile too
  --help         print this text and exit
  --version      print the version and exit

The constant table lists each constant (a struct's members as s.member) with its register set
(float4, int4, bool, sampler), its first register and register count, its type and the
default its initialiser gives (which, as in Direct3D 9, no device applies).

Exit codes:
  0              the shader compiled (its warnings, if any, printed)
  1              the compile failed, or --werror and it warned
  2              a bad command line, or FILE cannot be read

Example:
    tessaline-compile -T ps_2_0 -E ps_main -D TINT=1 pixel.psh
)";

struct Options {
    std::string profile, entry, file;
    std::vector<std::pair<std::string, std::string>> defines;
    std::vector<std::string> includeDirs;
    bool werror = false, help = false, version = false;
};

// The empty string, or one line saying what is wrong with the command line.
std::string Read(const std::vector<std::string>& args, Options& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
            return {};
        }
        if (a == "--version") {
            o.version = true;
            return {};
        }
        if (a == "--werror") {
            o.werror = true;
            continue;
        }
        if (a == "-T" || a == "-E" || a == "-D" || a == "-I") {
            if (i + 1 >= args.size() || args[i + 1].empty()) return a + ": needs a value";
            const std::string& v = args[++i];
            if (a == "-T") o.profile = v;
            if (a == "-E") o.entry = v;
            if (a == "-I") o.includeDirs.push_back(v);
            if (a == "-D") {
                const std::size_t eq = v.find('=');
                if (eq == 0) return "-D " + v + ": no macro name";
                o.defines.emplace_back(v.substr(0, eq),
                                       eq == std::string::npos ? "" : v.substr(eq + 1));
            }
            continue;
        }
        if (!a.empty() && a[0] == '-') return a + ": unknown option (see --help)";
        if (!o.file.empty()) return a + ": one FILE only (" + o.file + " is given)";
        o.file = a;
    }
    if (o.profile.empty()) return "-T PROFILE is needed";
    if (o.entry.empty()) return "-E ENTRY is needed";
    if (o.file.empty()) return "FILE is needed";
    return {};
}

const char* SetName(D3DXREGISTER_SET set) {
    switch (set) {
        case D3DXRS_BOOL:
            return "bool";
        case D3DXRS_INT4:
            return "int4";
        case D3DXRS_SAMPLER:
            return "sampler";
        default:
            return "float4";
    }
}

char RegisterLetter(D3DXREGISTER_SET set) {
    return set == D3DXRS_BOOL ? 'b' : set == D3DXRS_INT4 ? 'i' : set == D3DXRS_SAMPLER ? 's' : 'c';
}

std::string TypeName(const d3dx::ConstantVar& c) {
    std::string base;
    switch (c.type) {
        case D3DXPT_BOOL:
            base = "bool";
            break;
        case D3DXPT_INT:
            base = "int";
            break;
        case D3DXPT_SAMPLER1D:
            base = "sampler1D";
            break;
        case D3DXPT_SAMPLER3D:
            base = "sampler3D";
            break;
        case D3DXPT_SAMPLERCUBE:
            base = "samplerCUBE";
            break;
        case D3DXPT_SAMPLER:
        case D3DXPT_SAMPLER2D:
            base = "sampler2D";
            break;
        default:
            base = "float";
            break;
    }
    std::string type = base;
    if (c.parameterClass == D3DXPC_STRUCT) {
        type = "struct";
    } else if (c.parameterClass == D3DXPC_VECTOR) {
        type += std::to_string(c.columns);
    } else if (c.parameterClass == D3DXPC_MATRIX_ROWS ||
               c.parameterClass == D3DXPC_MATRIX_COLUMNS) {
        type = (c.parameterClass == D3DXPC_MATRIX_ROWS ? "row_major " : "") + type +
               std::to_string(c.rows) + "x" + std::to_string(c.columns);
    }
    if (c.elements > 1) type += "[" + std::to_string(c.elements) + "]";
    return type;
}

std::string Default(const d3dx::ConstantVar& c) {
    if (c.defaultValue.empty()) return "-";
    std::string out = "(";
    for (std::size_t i = 0; i < c.defaultValue.size(); ++i) {
        char v[32];
        std::snprintf(v, sizeof v, "%s%g", i ? ", " : "", static_cast<double>(c.defaultValue[i]));
        out += v;
    }
    return out + ")";
}

void PrintReport(const d3dx::ShaderReflection& shader) {
    std::printf("%s %s (%s): compiled\n", d3d9::ProfileName(shader).c_str(), shader.entry.c_str(),
                shader.sourceName.c_str());
    if (shader.constants.empty()) {
        std::printf("constants: none\n");
    } else {
        std::printf("constants:\n  %-24s %-8s %-9s %-5s %-22s %s\n", "name", "set", "register",
                    "count", "type", "default");
        std::vector<std::string> paths;
        for (const d3dx::ConstantVar& c : shader.constants) {
            const std::string path =
                c.parent >= 0 ? paths[static_cast<std::size_t>(c.parent)] + "." + c.name : c.name;
            paths.push_back(path);
            const std::string reg = RegisterLetter(c.registerSet) + std::to_string(c.registerIndex);
            std::printf("  %-24s %-8s %-9s %-5u %-22s %s\n", path.c_str(), SetName(c.registerSet),
                        reg.c_str(), c.registerCount, TypeName(c).c_str(), Default(c).c_str());
        }
    }
    std::printf("slots: %s\n", d3d9::SlotEstimateText(shader).c_str());
}

bool IsWarning(const std::string& line) {
    const std::size_t at = line.find("): ");
    return at != std::string::npos && line.compare(at + 3, 7, "warning") == 0;
}

int Refuse(const std::string& why) {
    std::fprintf(stderr, "tessaline-compile: %s\n", why.c_str());
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (std::string why = Read(std::vector<std::string>(argv + 1, argv + argc), options);
        !why.empty())
        return Refuse(why);
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tessaline-compile %s\n", TESS_VERSION);
        return 0;
    }
    d3dx::CompileRequest request;
    request.fileName = options.file;
    request.entry = options.entry;
    request.profile = options.profile;
    request.defines = options.defines;
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!d3dx::ReadFileBytes(options.file.c_str(), kMaxSourceBytes, bytes, error))
        return Refuse(options.file + ": " + error);
    request.source.assign(bytes.begin(), bytes.end());
    // Includes as D3DX finds them for a file, with the -I folders after the includer's own.
    d3dx::FileIncludes files(options.file, options.includeDirs);
    d3dx::IncludeServer includes(&files, options.file);
    const d3dx::CompileResult result = d3dx::CompileInWorker(request, includes.Opener());
    d3dx::FinishBackgroundWork();
    bool warned = false;
    std::size_t at = 0;
    for (std::size_t nl; (nl = result.errors.find('\n', at)) != std::string::npos; at = nl + 1) {
        const std::string line = result.errors.substr(at, nl - at);
        warned = warned || IsWarning(line);
        std::fprintf(stderr, "%s\n", line.c_str());
    }
    if (!result.ok) return kExitErrors;
    if (warned && options.werror) {
        std::fprintf(stderr, "tessaline-compile: --werror: the compile warned\n");
        return kExitErrors;
    }
    if (const auto shader = d3dx::UnpackShader(result.code.data())) PrintReport(*shader);
    return 0;
}
