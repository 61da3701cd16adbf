// tessaline's command line (see the header). The usage text is also the man page's source
// (packaging/help_to_man.cpp reads its layout).
#include "platform/sdl/command_line.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/core/environment_usage.h"
#include "platform/d3d9/instruments.h"

namespace sdl {

const char kUsage[] =
    R"(usage: tessaline [--dir DIR] [--watch] [--help] [--version]

Tessaline renders an HLSL vertex and pixel shader and two meshes from DirectX X files, with
their materials and textures, as Direct3D 9 would render them, in one 1000 x 500 window with a
free-look camera. It reads vertex.vsh, pixel.psh, Tiger.x, seafloor.x and the texture files
the meshes name from its current directory (see --dir). A file it cannot use is reported in a
message box and the program runs on without it. The bundled assets are installed in
share/tessaline under the install prefix (/usr/share/tessaline from the Debian package).

Options:
  --dir DIR      read the files from DIR instead of the current directory
  --watch        watch the four files and the textures the meshes name while the program
                 runs: a saved shader is compiled and swapped in, a saved mesh or texture is
                 reloaded in its place with its position and rotation kept; a file that fails
                 keeps its last good version, and its message shows in red on an overlay
                 line of its own and on stderr until it is mended; start-up message boxes
                 are answered OK at once, their words on stderr
  --set NAME=V[,V...]
                 set the constant NAME of the bound vertex or pixel shader through its
                 constant table each time the shader is bound, converted to its type
                 (float, int, bool; a vector, matrix or array takes several values, row by
                 row); a name neither bound shader has is said on stderr with the names they
                 have; may be repeated
  --help         print this text and exit
  --version      print the version and exit

Keys:
  W              move forward
  S              move back
  A              strafe left
  D              strafe right
  M              mouse look on or off (hides the cursor)
  SPACE          show or hide the text overlay
  RETURN         wireframe on or off
  R              rotate the meshes
  U              use the pixel shader or not
  Ctrl+click     the history of the pixel under the cursor: every clear and draw of the
                 frame that touched it, the depth test's verdict, the colour each produced
                 and left, and the last draw's pixel shader inputs and output; on stderr,
                 and in short in a line below the overlay (the program sees no such click)

Exit codes:
  0              the window was closed (or --help, --version)
  1              there is no display (DISPLAY or WAYLAND_DISPLAY) to show the window on
  2              a bad option, or a --dir that cannot be entered

)" TESS_ENVIRONMENT_USAGE R"(
Examples:
    tessaline --dir /usr/share/tessaline
    tessaline --dir my-shader --watch
    TESSALINE_DEBUG=1 tessaline --dir my-shader --set tint=1,0.5,0.5,1
)";

const char* const kProgramFiles[4] = {"vertex.vsh", "pixel.psh", "Tiger.x", "seafloor.x"};

namespace {

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string ReadCommandLine(const std::vector<std::string>& args, CommandLine& out) {
    CommandLine o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
            break;
        }
        if (arg == "--version") {
            o.version = true;
            break;
        }
        if (arg == "--watch") {
            o.watch = true;
        } else if (arg == "--set") {
            if (i + 1 >= args.size()) return "--set: needs a value";
            d3d9::ConstantSetting setting;
            if (std::string why = d3d9::ReadConstantSetting(args[i + 1], setting); !why.empty())
                return "--set " + args[i + 1] + ": " + why;
            o.constants.push_back(args[++i]);
        } else if (arg == "--dir") {
            if (i + 1 >= args.size()) return "--dir: needs a value";
            o.dir = args[++i];
            if (o.dir.empty()) return "--dir: an empty name";
            if (!IsDirectory(o.dir)) return "--dir " + o.dir + ": no such directory";
        } else {
            return arg + ": unknown option (see --help)";
        }
    }
    out = o;
    return {};
}

std::string ProgramCommandLine(const CommandLine& options) {
    return options.watch ? "--watch" : "";
}

bool HoldsProgramFiles(const std::string& dir) {
    for (const char* name : kProgramFiles) {
        if (access((dir + "/" + name).c_str(), F_OK) == 0) return true;
    }
    return false;
}

std::string BundledAssetsDir(const std::string& executable, const std::string& buildDir,
                             const std::string& sourceAssets, const std::string& binToData) {
    namespace fs = std::filesystem;
    // Normal form without a trailing separator, so that "/b/" and "/b/./" name "/b".
    const auto folder = [](const fs::path& p) {
        fs::path n = p.lexically_normal();
        return n.has_filename() || n == n.root_path() ? n : n.parent_path();
    };
    const fs::path bin = folder(fs::path(executable).parent_path());
    if (!buildDir.empty() && bin == folder(buildDir)) return sourceAssets;
    return folder(bin / binToData).string();
}

std::string BundledAssetsDir() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return BundledAssetsDir(error ? std::string() : self.string(), TESS_BUILD_DIR,
                            TESS_SOURCE_ASSETS, TESS_BIN_TO_DATA);
}

std::string MissingFilesHint(const std::string& dir, const std::string& assets,
                             const std::string& program) {
    std::string files;
    for (const char* name : kProgramFiles) files += std::string(files.empty() ? "" : ", ") + name;
    std::string line = program + ": none of " + files + " is in " + dir + "; ";
    if (HoldsProgramFiles(assets)) {
        line += "the bundled assets are in " + assets + ": run " + program + " --dir " + assets +
                ", or --dir DIR for a folder of your own";
    } else {
        line += "run " + program + " --dir DIR with a folder that holds them";
    }
    return line;
}

}  // namespace sdl
