// The fixed-function vertex stage on the OpenGL device, headless: normals, directional, point
// and spot lights, specular highlights and flat shading, each against the pixels Direct3D 9's
// lighting equations give, worked out by hand in the test. Every quad is lit per vertex at four
// corners that the light sees alike, so the whole quad takes one colour.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/gl_fixture.h"

namespace {

using test::Drawing;
using test::kBackground;
using test::kQuadClockwise;

constexpr int kTolerance = 2;

// The quad of test::Quad (corners (+-0.8, +-0.8) at z 0.5), every corner with the one normal.
std::vector<float> LitQuad(Vec3 normal, float z = 0.5f) {
    std::vector<float> v;
    const float p[4][2] = {{-0.8f, 0.8f}, {0.8f, 0.8f}, {0.8f, -0.8f}, {-0.8f, -0.8f}};
    for (const auto& q : p) v.insert(v.end(), {q[0], q[1], z, normal.x, normal.y, normal.z});
    return v;
}

std::uint32_t Grey(double level) {
    return test::Pack({1.0, level, level, level});
}

class Lighting : public Drawing {
  protected:
    void SetUp() override {
        Drawing::SetUp();
        device->SetRenderState(D3DRS_LIGHTING, TRUE);
    }
    void SetMaterial(D3DCOLORVALUE diffuse, D3DCOLORVALUE specular = {}, float power = 0) {
        D3DMATERIAL9 m{};
        m.Diffuse = diffuse;
        m.Specular = specular;
        m.Power = power;
        device->SetMaterial(&m);
    }
    void SetDirectional(Vec3 direction, D3DCOLORVALUE specular = {}) {
        D3DLIGHT9 light{};
        light.Type = D3DLIGHT_DIRECTIONAL;
        light.Diffuse = {1, 1, 1, 1};
        light.Specular = specular;
        light.Direction = direction;
        device->SetLight(0, &light);
        device->LightEnable(0, TRUE);
    }
    // Draws `mesh` afresh and reads the centre.
    std::uint32_t DrawnCentre(ID3DXMesh* mesh) {
        Clear();
        Draw(mesh);
        return PixelAt(500, 250);
    }
};

Matrix4 Scaling(float x, float y, float z) {
    Matrix4 m;
    D3DXMatrixIdentity(&m);
    m.m[0][0] = x, m.m[1][1] = y, m.m[2][2] = z;
    return m;
}

// Direct3D 9 transforms normals by the inverse transpose of world x view and, without
// NORMALIZENORMALS, keeps the length that gives them: a world scaled by 2 halves every normal
// and so the diffuse light. The light shines along +z, straight at the quad: L = (0, 0, -1);
// the material's diffuse is 0.4.
TEST_F(Lighting, NormalsFollowTheInverseTransposeOfWorldTimesView) {
    const float r = 1.0f / std::sqrt(2.0f);
    struct Case {
        const char* name;
        Matrix4 world, view;
        Vec3 normal;
        bool normalize;
        double expected;
    } cases[] = {
        // Through (2I)^-T = 0.5 I: (0, 0, -0.5); N.L = 0.5; 0.4 * 0.5 = 0.2.
        {"world scaled by 2", Scaling(2, 2, 2), Scaling(1, 1, 1), {0, 0, -1}, false, 0.2},
        // Normalised again: N.L = 1; 0.4.
        {"world scaled by 2, normalised",
         Scaling(2, 2, 2),
         Scaling(1, 1, 1),
         {0, 0, -1},
         true,
         0.4},
        // (0.5I)^-T = 2I: (0, 0, -2); N.L = 2; 0.4 * 2 = 0.8.
        {"world scaled by 0.5",
         Scaling(0.5f, 0.5f, 0.5f),
         Scaling(1, 1, 1),
         {0, 0, -1},
         false,
         0.8},
        // The view's part counts as the world's: (0, 0, -0.5) again.
        {"view scaled by 2", Scaling(1, 1, 1), Scaling(2, 2, 2), {0, 0, -1}, false, 0.2},
        // A stretch along x turns the normal away from it: (r, 0, -r) diag(0.5, 1, 1)
        // = (0.3536, 0, -0.7071), normalised (0.4472, 0, -0.8944); N.L = 0.8944; 0.3578. (By
        // world x view itself it would turn toward x: N.L = 0.4472.)
        {"world stretched along x",
         Scaling(2, 1, 1),
         Scaling(1, 1, 1),
         {r, 0, -r},
         true,
         0.4 * 0.894427},
    };
    SetMaterial({0.4f, 0.4f, 0.4f, 1});
    SetDirectional({0, 0, 1});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // At z 0.25, so that scaled by 2 it is still in front of the far plane.
        ID3DXMesh* mesh =
            MakeMesh(D3DFVF_XYZ | D3DFVF_NORMAL, LitQuad(c.normal, 0.25f), kQuadClockwise, {0, 0});
        device->SetTransform(D3DTS_WORLD, &c.world);
        device->SetTransform(D3DTS_VIEW, &c.view);
        device->SetRenderState(D3DRS_NORMALIZENORMALS, c.normalize);
        EXPECT_COLOR_NEAR(DrawnCentre(mesh), Grey(c.expected), kTolerance);
    }
}

// Lights and normals are lit in view space, so a change of the view alone must carry them there
// afresh: the world is lit as before. Each case draws with the identity view, then again after
// SetTransform(D3DTS_VIEW) alone.
TEST_F(Lighting, AChangeOfTheViewAloneMovesLightsAndNormals) {
    D3DLIGHT9 point{};
    point.Type = D3DLIGHT_POINT;
    point.Diffuse = {1, 1, 1, 1};
    point.Position = {0, 0, -0.5f};
    point.Range = 100;
    point.Attenuation0 = 1;
    D3DLIGHT9 directional{};
    directional.Type = D3DLIGHT_DIRECTIONAL;
    directional.Diffuse = {1, 1, 1, 1};
    directional.Direction = {0, 0, 1};
    Matrix4 moved = Scaling(1, 1, 1);
    moved.m[3][2] = 0.4f;
    struct Case {
        const char* name;
        D3DLIGHT9 light;
        float z;
        Matrix4 view;
        double before, after;
    } cases[] = {
        // Corners 1 in front of the light and 0.8 * sqrt 2 aside: N.L = 1 / sqrt(2.28), moved
        // or not (a light left where the old view put it would give 1.4 / 1.8).
        {"view moved along z, a point light", point, 0.5f, moved, 1 / std::sqrt(2.28),
         1 / std::sqrt(2.28)},
        // The normal through (2I)^-T halves: 1, then 0.5.
        {"view scaled by 2, a directional light", directional, 0.25f, Scaling(2, 2, 2), 1.0, 0.5},
    };
    SetMaterial({1, 1, 1, 1});
    const Matrix4 identity = Scaling(1, 1, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ID3DXMesh* mesh =
            MakeMesh(D3DFVF_XYZ | D3DFVF_NORMAL, LitQuad({0, 0, -1}, c.z), kQuadClockwise, {0, 0});
        device->SetTransform(D3DTS_VIEW, &identity);
        device->SetLight(0, &c.light);
        device->LightEnable(0, TRUE);
        EXPECT_COLOR_NEAR(DrawnCentre(mesh), Grey(c.before), kTolerance);
        device->SetTransform(D3DTS_VIEW, &c.view);
        EXPECT_COLOR_NEAR(DrawnCentre(mesh), Grey(c.after), kTolerance);
    }
}

// D3DRS_AMBIENT is an ARGB colour: each of its channels scales the material's ambient. No light
// is enabled, so the ambient term alone colours the quad.
TEST_F(Lighting, GlobalAmbientKeepsEachChannel) {
    ID3DXMesh* mesh =
        MakeMesh(D3DFVF_XYZ | D3DFVF_NORMAL, LitQuad({0, 0, -1}), kQuadClockwise, {0, 0});
    D3DMATERIAL9 m{};
    m.Ambient = {1, 1, 1, 1};
    device->SetMaterial(&m);
    device->SetRenderState(D3DRS_AMBIENT, 0xFF804020);
    EXPECT_COLOR_NEAR(DrawnCentre(mesh), 0xFF804020u, kTolerance);
}

// Directional light: no attenuation, L is minus the light's direction whatever the distance.
TEST_F(Lighting, ADirectionalLightShadesByTheAngleAlone) {
    ID3DXMesh* mesh =
        MakeMesh(D3DFVF_XYZ | D3DFVF_NORMAL, LitQuad({0, 0, -1}), kQuadClockwise, {0, 0});
    SetMaterial({1, 0.5f, 0.25f, 1});
    // Direction (0, -0.6, 0.8): L = (0, 0.6, -0.8), N.L = 0.8.
    SetDirectional({0, -0.6f, 0.8f});
    EXPECT_COLOR_NEAR(DrawnCentre(mesh), test::Pack({1, 0.8, 0.4, 0.2}), kTolerance);
    // Pointing away from the face: N.L < 0 lights nothing.
    SetDirectional({0, 0, -1});
    EXPECT_COLOR_NEAR(DrawnCentre(mesh), 0xFF000000u, kTolerance);
}

// Spot light 2 units in front of the quad's plane, along +z: each corner (+-0.8, +-0.8, 0.5) is
// d = sqrt(0.64 + 0.64 + 4) = 2.2978 away, rho = 2 / d = 0.8704 from the axis, N.L = 0.8704.
// Spot factor: 1 inside cos(Theta / 2), 0 outside cos(Phi / 2), else
// ((rho - cos(Phi / 2)) / (cos(Theta / 2) - cos(Phi / 2)))^Falloff.
TEST_F(Lighting, ASpotLightFallsOffBetweenItsInnerAndOuterCones) {
    ID3DXMesh* mesh =
        MakeMesh(D3DFVF_XYZ | D3DFVF_NORMAL, LitQuad({0, 0, -1}), kQuadClockwise, {0, 0});
    SetMaterial({1, 1, 1, 1});
    const double d = std::sqrt(0.64 + 0.64 + 4.0), rho = 2.0 / d;
    struct Case {
        const char* name;
        double cosInner, cosOuter;
        float falloff;
        double spot;
    } cases[] = {
        {"between the cones", 0.95, 0.80, 1.0f, (rho - 0.80) / (0.95 - 0.80)},
        {"between, falloff 2", 0.95, 0.80, 2.0f, std::pow((rho - 0.80) / (0.95 - 0.80), 2.0)},
        {"inside the inner cone", 0.85, 0.80, 1.0f, 1.0},
        {"outside the outer cone", 0.95, 0.90, 1.0f, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        D3DLIGHT9 spot{};
        spot.Type = D3DLIGHT_SPOT;
        spot.Diffuse = {1, 1, 1, 1};
        spot.Position = {0, 0, -1.5f};
        spot.Direction = {0, 0, 1};
        spot.Range = 100;
        spot.Attenuation0 = 1;
        spot.Falloff = c.falloff;
        spot.Theta = static_cast<float>(2 * std::acos(c.cosInner));
        spot.Phi = static_cast<float>(2 * std::acos(c.cosOuter));
        device->SetLight(0, &spot);
        device->LightEnable(0, TRUE);
        EXPECT_COLOR_NEAR(DrawnCentre(mesh), Grey(rho * c.spot), kTolerance);
    }
}

// A point light lights nothing past its range; the material's ambient takes the light's
// ambient (attenuated like the rest) and D3DRS_AMBIENT.
TEST_F(Lighting, APointLightsRangeAndAmbientTerm) {
    ID3DXMesh* mesh =
        MakeMesh(D3DFVF_XYZ | D3DFVF_NORMAL, LitQuad({0, 0, -1}), kQuadClockwise, {0, 0});
    D3DMATERIAL9 m{};
    m.Diffuse = {0.5f, 0.5f, 0.5f, 1};
    m.Ambient = {1, 0, 0, 1};
    device->SetMaterial(&m);
    device->SetRenderState(D3DRS_AMBIENT, 0xFF404040);  // 0.251
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = {1, 1, 1, 1};
    light.Ambient = {0.25f, 0.25f, 0.25f, 1};
    light.Position = {0, 0, -1.5f};
    light.Attenuation0 = 1;
    // Corners 2.2978 away: within a range of 3, N.L = 0.8704; red = ambient (0.251 + 0.25),
    // green and blue = 0.5 * 0.8704.
    light.Range = 3;
    device->SetLight(0, &light);
    device->LightEnable(0, TRUE);
    const double d = std::sqrt(0.64 + 0.64 + 4.0);
    EXPECT_COLOR_NEAR(
        DrawnCentre(mesh),
        test::Pack({1, 0x40 / 255.0 + 0.25 + 0.5 * 2.0 / d, 0.5 * 2.0 / d, 0.5 * 2.0 / d}),
        kTolerance);
    // Out of a range of 2: only D3DRS_AMBIENT.
    light.Range = 2;
    device->SetLight(0, &light);
    EXPECT_COLOR_NEAR(DrawnCentre(mesh), 0xFF400000u, kTolerance);
}

// Specular: Cs * Ls * (N.H)^P, added after the texture stages when SPECULARENABLE is set. The
// material's specular is (0.5, 0.25, 0), its power 10, its diffuse black.
TEST_F(Lighting, SpecularHighlightsFollowTheHalfwayVector) {
    ID3DXMesh* mesh =
        MakeMesh(D3DFVF_XYZ | D3DFVF_NORMAL, LitQuad({0, 0, -1}), kQuadClockwise, {0, 0});
    SetMaterial({0, 0, 0, 1}, {0.5f, 0.25f, 0, 1}, 10);
    const auto highlight = [](double nh) {
        const double s = std::pow(nh, 10.0);
        return test::Pack({1, 0.5 * s, 0.25 * s, 0});
    };
    // Off by default: nothing.
    SetDirectional({0, -0.6f, 0.8f}, {1, 1, 1, 1});
    EXPECT_COLOR_NEAR(DrawnCentre(mesh), 0xFF000000u, kTolerance);
    device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    // A distant viewer, down -z: H = norm(L + (0, 0, -1)) = norm(0, 0.6, -1.8); N.H = 0.9487.
    device->SetRenderState(D3DRS_LOCALVIEWER, FALSE);
    EXPECT_COLOR_NEAR(DrawnCentre(mesh), highlight(1.8 / std::sqrt(0.36 + 3.24)), kTolerance);
    // The viewer at the camera (the origin), light straight on: at each corner
    // V = norm(-0.8, -0.8, -0.5) (signs by corner), H = norm(L + V) with L = (0, 0, -1):
    // N.H = (1 + 0.5 / 1.2369) / |L + V|.
    SetDirectional({0, 0, 1}, {1, 1, 1, 1});
    device->SetRenderState(D3DRS_LOCALVIEWER, TRUE);
    const double v = std::sqrt(0.64 + 0.64 + 0.25);
    const double hx = 0.8 / v, hz = 1.0 + 0.5 / v;
    EXPECT_COLOR_NEAR(DrawnCentre(mesh), highlight(hz / std::sqrt(2 * hx * hx + hz * hz)),
                      kTolerance);
    // A face turned away from the light has none, though H leans toward its normal:
    // L = (0, 0.8, 0.6), N.L = -0.6; H = norm(L + (0, 0, -1)), N.H = 0.447 (0.22 at power 1).
    SetMaterial({0, 0, 0, 1}, {0.5f, 0.25f, 0, 1}, 1);
    SetDirectional({0, -0.8f, -0.6f}, {1, 1, 1, 1});
    device->SetRenderState(D3DRS_LOCALVIEWER, FALSE);
    EXPECT_COLOR_NEAR(DrawnCentre(mesh), 0xFF000000u, kTolerance);
}

// Flat shading gives each triangle its first vertex's colour, Direct3D 9's provoking vertex
// (OpenGL's default is the last). Corners: top left red, top right green, bottom right blue,
// bottom left white; the triangles (0, 1, 2) and (2, 3, 0).
TEST_F(Drawing, FlatShadingTakesEachTrianglesFirstVertexColour) {
    std::vector<float> v;
    const float p[4][2] = {{-0.8f, 0.8f}, {0.8f, 0.8f}, {0.8f, -0.8f}, {-0.8f, -0.8f}};
    const D3DCOLOR colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    for (int i = 0; i < 4; ++i) {
        float bits;
        std::memcpy(&bits, &colours[i], 4);
        v.insert(v.end(), {p[i][0], p[i][1], 0.5f, bits});
    }
    ID3DXMesh* mesh = MakeMesh(D3DFVF_XYZ | D3DFVF_DIFFUSE, v, {0, 1, 2, 2, 3, 0}, {0, 0});
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
    Draw(mesh);
    // Near the top right corner (triangle 0, 1, 2) and the bottom left one (2, 3, 0).
    EXPECT_EQ(PixelAt(800, 100), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(600, 80), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(200, 400), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(400, 420), 0xFF0000FFu);
    // Gouraud again: the colours blend.
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    Clear();
    Draw(mesh);
    EXPECT_NE(PixelAt(800, 100), 0xFFFF0000u);
    EXPECT_NE(PixelAt(200, 400), 0xFF0000FFu);
    EXPECT_NE(PixelAt(200, 400), kBackground);
}

}  // namespace
