// The default assets, made here and nowhere else: a low-poly tiger of ellipsoids and tubes with
// a striped coat, a pale muzzle and dark eyes; an undulating sandy sea floor; their textures as
// BMP files; the two shaders. Deterministic: the same output on every run, which a test checks
// against the committed files.
//
//   asset_generator ASSETS_DIR [TEST_DATA_DIR]
//   asset_generator --convert TEXT_X_FILE OUT_FILE bin|bin64|tzip|bzip
//
// With TEST_DATA_DIR it also writes the tiger in binary and compressed form there. --convert
// writes a text X file in another encoding, as an exporter would (the fuzzer's seeds are made so).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "tools/bmp_writer.h"
#include "tools/x_writer.h"

namespace {

constexpr float kPi = 3.14159265f;

using xfile::XMaterialDesc;
using xfile::XMeshDesc;

enum Material : std::uint32_t { kCoat = 0, kMuzzle = 1, kEyes = 2 };

// Adds parts to one mesh, each face with its material and each vertex with a colour.
class MeshBuilder {
  public:
    explicit MeshBuilder(XMeshDesc& mesh) : m_(mesh) {}

    // A grid of (rings + 1) x (segments + 1) vertices, closed around each ring; point(i, j)
    // gives the position and normal of ring i, segment j, and uv(i, j) its coordinates.
    void Surface(int rings, int segments, Material material, std::array<float, 4> colour,
                 const std::function<void(int, int, Vec3&, Vec3&)>& point,
                 const std::function<std::array<float, 2>(int, int)>& uv) {
        const auto base = static_cast<std::uint32_t>(m_.positions.size());
        for (int i = 0; i <= rings; ++i) {
            for (int j = 0; j <= segments; ++j) {
                Vec3 p, n;
                point(i, j, p, n);
                Add(p, n, uv(i, j), colour);
            }
        }
        const auto stride = static_cast<std::uint32_t>(segments + 1);
        for (int i = 0; i < rings; ++i) {
            for (int j = 0; j < segments; ++j) {
                const std::uint32_t a =
                    base + static_cast<std::uint32_t>(i) * stride + static_cast<std::uint32_t>(j);
                Face({a, a + 1, a + stride + 1, a + stride}, material);
            }
        }
    }

    void Ellipsoid(Vec3 c, Vec3 r, int rings, int segments, Material material,
                   std::array<float, 4> colour, float uRepeat = 1.0f) {
        Surface(
            rings, segments, material, colour,
            [&](int i, int j, Vec3& p, Vec3& n) {
                const float theta = kPi * static_cast<float>(i) / static_cast<float>(rings);
                const float phi = 2 * kPi * static_cast<float>(j) / static_cast<float>(segments);
                const Vec3 d{std::sin(theta) * std::cos(phi), std::cos(theta),
                             std::sin(theta) * std::sin(phi)};
                p = {c.x + r.x * d.x, c.y + r.y * d.y, c.z + r.z * d.z};
                n = Normalised({d.x / r.x, d.y / r.y, d.z / r.z});
            },
            [&](int i, int j) {
                return std::array<float, 2>{
                    uRepeat * static_cast<float>(j) / static_cast<float>(segments),
                    static_cast<float>(i) / static_cast<float>(rings)};
            });
    }

    // A tube through `path` points with the given radii, capped at its end.
    void Tube(const std::vector<Vec3>& path, const std::vector<float>& radii, int segments,
              Material material, std::array<float, 4> colour) {
        const int rings = static_cast<int>(path.size()) - 1;
        Surface(
            rings, segments, material, colour,
            [&](int i, int j, Vec3& p, Vec3& n) {
                const Vec3 a = path[static_cast<std::size_t>(std::max(0, i - 1))];
                const Vec3 b = path[static_cast<std::size_t>(std::min(rings, i + 1))];
                const Vec3 axis = Normalised({b.x - a.x, b.y - a.y, b.z - a.z});
                // Two directions across the axis; z is never along these tubes.
                const Vec3 side = Normalised(Cross(axis, {0, 0, 1}));
                const Vec3 other = Cross(side, axis);
                const float phi = 2 * kPi * static_cast<float>(j) / static_cast<float>(segments);
                n = {side.x * std::cos(phi) + other.x * std::sin(phi),
                     side.y * std::cos(phi) + other.y * std::sin(phi),
                     side.z * std::cos(phi) + other.z * std::sin(phi)};
                const Vec3 c = path[static_cast<std::size_t>(i)];
                const float r = radii[static_cast<std::size_t>(i)];
                p = {c.x + r * n.x, c.y + r * n.y, c.z + r * n.z};
            },
            [&](int i, int j) {
                return std::array<float, 2>{static_cast<float>(i) / static_cast<float>(rings),
                                            static_cast<float>(j) / static_cast<float>(segments)};
            });
        // The end cap: a fan around the last point.
        const Vec3 end = path.back();
        const Vec3 before = path[path.size() - 2];
        const Vec3 outward = Normalised({end.x - before.x, end.y - before.y, end.z - before.z});
        const auto centre = static_cast<std::uint32_t>(m_.positions.size());
        Add(end, outward, {1, 0.5f}, colour);
        const auto ring = centre - static_cast<std::uint32_t>(segments + 1);
        for (int j = 0; j < segments; ++j) {
            Face({centre, ring + static_cast<std::uint32_t>(j) + 1,
                  ring + static_cast<std::uint32_t>(j)},
                 material);
        }
    }

  private:
    static Vec3 Normalised(Vec3 v) {
        const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        return l > 0 ? Vec3{v.x / l, v.y / l, v.z / l} : Vec3{0, 1, 0};
    }
    static Vec3 Cross(Vec3 a, Vec3 b) {
        return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    }
    void Add(Vec3 p, Vec3 n, std::array<float, 2> uv, std::array<float, 4> colour) {
        const auto index = static_cast<std::uint32_t>(m_.positions.size());
        m_.positions.push_back(p);
        m_.normals.push_back(n);
        m_.texCoords.push_back(uv);
        m_.colors.push_back({index, colour});
    }
    void Face(std::vector<std::uint32_t> corners, Material material) {
        m_.normalFaces.push_back(corners);
        m_.faces.push_back(std::move(corners));
        m_.faceMaterials.push_back(material);
    }
    XMeshDesc& m_;
};

constexpr std::array<float, 4> kWhite{1, 1, 1, 1};
constexpr std::array<float, 4> kDark{0.08f, 0.06f, 0.05f, 1};

constexpr float kTigerScale = 1.3f;

// Head toward +x, standing on its feet at y = -0.9 before scaling; about 3.9 units from nose to
// tail tip.
xfile::XFileDesc Tiger() {
    XMeshDesc mesh;
    MeshBuilder b(mesh);
    b.Ellipsoid({0, 0, 0}, {1.1f, 0.42f, 0.42f}, 20, 32, kCoat, kWhite, 2.0f);     // body
    b.Ellipsoid({1.3f, 0.28f, 0}, {0.36f, 0.34f, 0.34f}, 16, 24, kCoat, kWhite);   // head
    b.Ellipsoid({1.6f, 0.16f, 0}, {0.22f, 0.16f, 0.2f}, 12, 16, kMuzzle, kWhite);  // muzzle
    for (float z : {-0.2f, 0.2f}) {
        b.Ellipsoid({1.22f, 0.6f, z}, {0.09f, 0.12f, 0.06f}, 8, 12, kCoat, kWhite);  // ears
        b.Ellipsoid({1.58f, 0.4f, z * 0.75f}, {0.045f, 0.05f, 0.045f}, 8, 12, kEyes, kDark);
    }
    b.Ellipsoid({1.81f, 0.2f, 0}, {0.05f, 0.04f, 0.07f}, 8, 12, kEyes, kDark);  // nose
    for (float x : {-0.75f, 0.7f}) {
        for (float z : {-0.24f, 0.24f}) {
            std::vector<Vec3> leg;
            std::vector<float> radii;
            for (int i = 0; i <= 6; ++i) {
                const float t = static_cast<float>(i) / 6;
                leg.push_back({x + 0.05f * t, -0.1f - 0.8f * t, z});
                radii.push_back(0.15f - 0.04f * t);
            }
            b.Tube(leg, radii, 14, kCoat, kWhite);
        }
    }
    std::vector<Vec3> tail;
    std::vector<float> radii;
    for (int i = 0; i <= 12; ++i) {
        const float t = static_cast<float>(i) / 12;
        tail.push_back({-1.0f - 0.95f * t, 0.1f + 0.55f * t * t, 0.15f * std::sin(3 * t)});
        radii.push_back(0.09f - 0.05f * t);
    }
    b.Tube(tail, radii, 10, kCoat, kWhite);
    // Drawn at this size the tiger fills about a third of the first frame's width.
    for (Vec3& p : mesh.positions) p = {p.x * kTigerScale, p.y * kTigerScale, p.z * kTigerScale};

    mesh.materialList = true;
    XMaterialDesc coat, muzzle, eyes;
    coat.name = "Coat";
    coat.faceColor = {1.0f, 0.62f, 0.25f, 1.0f};
    coat.power = 8;
    coat.specular = {0.2f, 0.2f, 0.2f};
    coat.texture = "tiger_coat.bmp";
    muzzle.name = "Muzzle";
    muzzle.faceColor = {0.95f, 0.92f, 0.85f, 1.0f};
    muzzle.texture = "tiger_muzzle.bmp";
    eyes.name = "Eyes";
    eyes.faceColor = {0.08f, 0.06f, 0.05f, 1.0f};
    eyes.power = 30;
    eyes.specular = {0.8f, 0.8f, 0.8f};
    mesh.materials = {coat, muzzle, eyes};

    xfile::XFileDesc spec;
    xfile::XFrameDesc frame;
    frame.name = "Tiger";
    frame.meshes.push_back(std::move(mesh));
    spec.frames.push_back(std::move(frame));
    return spec;
}

// Well below the model origin: placed at (0, 8.5, 3), the floor lies just under the tiger's feet.
xfile::XFileDesc SeaFloor() {
    constexpr int kX = 60, kZ = 40;
    constexpr float kMinX = -20, kMaxX = 20, kMinZ = -12, kMaxZ = 34, kBase = -10.0f;
    XMeshDesc mesh;
    const auto height = [](float x, float z) {
        return kBase + 0.12f * std::sin(0.7f * x + 0.3f * z) +
               0.08f * std::cos(0.45f * z - 0.2f * x);
    };
    for (int iz = 0; iz <= kZ; ++iz) {
        for (int ix = 0; ix <= kX; ++ix) {
            const float x = kMinX + (kMaxX - kMinX) * static_cast<float>(ix) / kX;
            const float z = kMinZ + (kMaxZ - kMinZ) * static_cast<float>(iz) / kZ;
            mesh.positions.push_back({x, height(x, z), z});
            // The surface's normal from its slopes.
            const float dx = 0.12f * 0.7f * std::cos(0.7f * x + 0.3f * z) +
                             0.08f * 0.2f * std::sin(0.45f * z - 0.2f * x);
            const float dz = 0.12f * 0.3f * std::cos(0.7f * x + 0.3f * z) -
                             0.08f * 0.45f * std::sin(0.45f * z - 0.2f * x);
            const float l = std::sqrt(dx * dx + 1 + dz * dz);
            mesh.normals.push_back({-dx / l, 1 / l, -dz / l});
            mesh.texCoords.push_back(
                {8.0f * static_cast<float>(ix) / kX, 6.0f * static_cast<float>(iz) / kZ});
        }
    }
    const std::uint32_t side = kX + 1;
    for (std::uint32_t z = 0; z < kZ; ++z) {
        for (std::uint32_t x = 0; x < kX; ++x) {
            const std::uint32_t i = z * side + x;
            mesh.faces.push_back({i, i + side, i + side + 1, i + 1});
        }
    }
    mesh.normalFaces = mesh.faces;
    mesh.materialList = true;
    mesh.faceMaterials.assign(mesh.faces.size(), 0);
    XMaterialDesc sand;
    sand.name = "Sand";
    sand.faceColor = {0.85f, 0.78f, 0.6f, 1.0f};
    sand.texture = "sand.bmp";
    mesh.materials = {sand};
    xfile::XFileDesc spec;
    spec.topMeshes.push_back(std::move(mesh));
    return spec;
}

// A deterministic hash to [0, 1) for texture grain.
float Noise(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65536.0f;
}

std::uint8_t Byte(float v) {
    return static_cast<std::uint8_t>(std::lround(std::fmax(0.0f, std::fmin(255.0f, v))));
}

// Orange fur with dark stripes across the body, paler toward the belly (the middle rows).
std::string CoatTexture() {
    return assets::WriteBmp(256, 128, [](int x, int y) {
        const float u = static_cast<float>(x) / 256, v = static_cast<float>(y) / 128;
        const float wobble =
            0.04f * std::sin(v * 2 * kPi * 3) + 0.02f * std::sin(v * 2 * kPi * 7 + 1);
        const float stripe = std::sin((u + wobble) * 2 * kPi * 9);
        const float belly = static_cast<float>(std::exp(-std::pow((v - 0.75f) / 0.12f, 2)));
        const float grain = 0.9f + 0.2f * Noise(x, y, 7);
        if (stripe > 0.72f && belly < 0.6f)
            return assets::Rgb{Byte(30 * grain), Byte(22 * grain), Byte(18 * grain)};
        const float r = (230 + 25 * belly) * grain, g = (125 + 110 * belly) * grain,
                    b = (35 + 180 * belly) * grain;
        return assets::Rgb{Byte(r), Byte(g), Byte(b)};
    });
}

std::string MuzzleTexture() {
    return assets::WriteBmp(64, 64, [](int x, int y) {
        const float grain = 0.94f + 0.08f * Noise(x, y, 11);
        return assets::Rgb{Byte(242 * grain), Byte(234 * grain), Byte(216 * grain)};
    });
}

std::string SandTexture() {
    return assets::WriteBmp(128, 128, [](int x, int y) {
        const float grain = Noise(x, y, 3);
        const int diagonal = x + y / 3;  // ripples slant across the rows
        const float ripple = 0.06f * std::sin(static_cast<float>(diagonal) * 2 * kPi / 32);
        const float shade = 0.86f + 0.18f * grain + ripple;
        return assets::Rgb{Byte(201 * shade), Byte(182 * shade), Byte(134 * shade)};
    });
}

constexpr char kVertexShader[] =
    R"(// The default vertex shader: compiled at start-up, while the frames are drawn with the
// fixed-function vertex stage.
float4x4 worldViewProjection;

struct VS_OUTPUT {
    float4 position : POSITION;
    float2 uv : TEXCOORD0;
};

VS_OUTPUT vs_main(float4 position : POSITION, float2 uv : TEXCOORD0) {
    VS_OUTPUT output;
    output.position = mul(position, worldViewProjection);
    output.uv = uv;
    return output;
}
)";

constexpr char kPixelShader[] =
    R"(// The default pixel shader: a warm tint and a soft vignette on the texture, so that U shows
// at a glance whether it is in use.
sampler2D diffuseMap : register(s0);

float4 ps_main(float2 uv : TEXCOORD0, float4 colour : COLOR0) : COLOR0 {
    float4 texel = tex2D(diffuseMap, uv) * colour;
    float2 centred = frac(uv) - 0.5;
    float vignette = saturate(1.0 - dot(centred, centred) * 2.2);
    float3 warm = texel.rgb * float3(1.2, 0.85, 0.55) * (0.45 + 0.55 * vignette);
    return float4(warm, texel.a);
}
)";

bool Write(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "asset_generator: cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

int Convert(const char* in, const char* out, const std::string& encoding) {
    const std::pair<const char*, xfile::XEncoding> kEncodings[] = {
        {"bin", xfile::XEncoding::Binary32},
        {"bin64", xfile::XEncoding::Binary64},
        {"tzip", xfile::XEncoding::TextZip},
        {"bzip", xfile::XEncoding::BinaryZip},
    };
    std::FILE* f = std::fopen(in, "rb");
    if (!f) {
        std::fprintf(stderr, "asset_generator: cannot read %s\n", in);
        return 1;
    }
    std::string text;
    char buf[65536];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
    std::fclose(f);
    for (const auto& [name, e] : kEncodings) {
        if (encoding == name) return Write(out, xfile::ConvertX(text, e)) ? 0 : 1;
    }
    std::fprintf(stderr, "asset_generator: unknown encoding %s\n", encoding.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--convert") return Convert(argv[2], argv[3], argv[4]);
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: asset_generator ASSETS_DIR [TEST_DATA_DIR]\n"
                     "       asset_generator --convert TEXT_X_FILE OUT_FILE bin|bin64|tzip|bzip\n");
        return 2;
    }
    const std::string dir = argv[1];
    const xfile::XFileDesc tiger = Tiger();
    bool ok = Write(dir + "/Tiger.x", xfile::WriteX(tiger, xfile::XEncoding::Text)) &&
              Write(dir + "/seafloor.x", xfile::WriteX(SeaFloor(), xfile::XEncoding::Text)) &&
              Write(dir + "/tiger_coat.bmp", CoatTexture()) &&
              Write(dir + "/tiger_muzzle.bmp", MuzzleTexture()) &&
              Write(dir + "/sand.bmp", SandTexture()) &&
              Write(dir + "/vertex.vsh", kVertexShader) && Write(dir + "/pixel.psh", kPixelShader);
    if (ok && argc >= 3) {
        const std::string data = argv[2];
        ok = Write(data + "/Tiger_bin.x", xfile::WriteX(tiger, xfile::XEncoding::Binary32)) &&
             Write(data + "/Tiger_tzip.x", xfile::WriteX(tiger, xfile::XEncoding::TextZip));
    }
    return ok ? 0 : 1;
}
