// D3DX math against values worked out by hand: row vectors, left-handed rotations, the order
// of products, and the degenerate inputs the camera can produce.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/graphics_device.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kDeg = 0.017453292f;

Vec3 Apply(const Matrix4& m, Vec3 v) {
    Vec3 out;
    D3DXVec3TransformCoord(&out, &v, &m);
    return out;
}

void ExpectNear(Vec3 actual, Vec3 expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void ExpectMatrixNear(const Matrix4& a, const Matrix4& b, float tolerance = 1e-6f) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(a.m[r][c], b.m[r][c], tolerance) << r << "," << c;
    }
}

Matrix4 RotX(float a) {
    Matrix4 m;
    D3DXMatrixRotationX(&m, a);
    return m;
}
Matrix4 RotY(float a) {
    Matrix4 m;
    D3DXMatrixRotationY(&m, a);
    return m;
}
Matrix4 RotZ(float a) {
    Matrix4 m;
    D3DXMatrixRotationZ(&m, a);
    return m;
}
Matrix4 Move(float x, float y, float z) {
    Matrix4 m;
    D3DXMatrixTranslation(&m, x, y, z);
    return m;
}
Matrix4 Mul(const Matrix4& a, const Matrix4& b) {
    Matrix4 m;
    D3DXMatrixMultiply(&m, &a, &b);
    return m;
}

TEST(D3DXMath, TranslationPutsTheOffsetInTheLastRow) {
    const Matrix4 m = Move(0.0f, 8.5f, 3.0f);
    const Matrix4 expected = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 8.5f, 3, 1}}};
    ExpectMatrixNear(m, expected, 0.0f);
}

struct RotationCase {
    const char* name;
    Matrix4 matrix;
    Vec3 in, out;
};

TEST(D3DXMath, PositiveAnglesTurnAsTheLeftHandedConventionSays) {
    const RotationCase cases[] = {
        {"Y turns +z toward +x", RotY(kPi / 2), {0, 0, 1}, {1, 0, 0}},
        {"Y turns +x toward -z", RotY(kPi / 2), {1, 0, 0}, {0, 0, -1}},
        {"X turns +y toward +z", RotX(kPi / 2), {0, 1, 0}, {0, 0, 1}},
        {"Z turns +x toward +y", RotZ(kPi / 2), {1, 0, 0}, {0, 1, 0}},
    };
    for (const RotationCase& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectNear(Apply(c.matrix, c.in), c.out);
    }
}

TEST(D3DXMath, MultiplyAppliesTheFirstArgumentFirst) {
    const Vec3 origin{0, 0, 0};
    ExpectNear(Apply(Mul(Move(1, 0, 0), RotY(kPi / 2)), origin), {0, 0, -1});
    ExpectNear(Apply(Mul(RotY(kPi / 2), Move(1, 0, 0)), origin), {1, 0, 0});
    // The output may alias an operand.
    Matrix4 m = Move(1, 2, 3);
    const Matrix4 r = RotZ(0.3f);
    const Matrix4 expected = Mul(m, r);
    D3DXMatrixMultiply(&m, &m, &r);
    ExpectMatrixNear(m, expected, 0.0f);
}

struct WorldCase {
    const char* name;
    Vec3 rotationDegrees, position, modelPoint, worldPoint;
};

// The world matrix of a mesh object: Y, then X, then Z rotation, then the translation.
TEST(D3DXMath, WorldMatrixOrderRotatesYThenXThenZThenTranslates) {
    const WorldCase cases[] = {
        {"Y acts before X", {90, 90, 0}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
        {"X acts before Z", {90, 0, 90}, {0, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {"translation acts last", {0, 90, 0}, {1, 2, 3}, {1, 0, 0}, {1, 2, 2}},
        {"450 degrees is 90", {0, 450, 0}, {0, 0, 0}, {0, 0, 1}, {1, 0, 0}},
    };
    for (const WorldCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Matrix4 world =
            Mul(Mul(Mul(RotY(c.rotationDegrees.y * kDeg), RotX(c.rotationDegrees.x * kDeg)),
                    RotZ(c.rotationDegrees.z * kDeg)),
                Move(c.position.x, c.position.y, c.position.z));
        ExpectNear(Apply(world, c.modelPoint), c.worldPoint);
    }
}

TEST(D3DXMath, RotationAxisNormalisesTheAxisItself) {
    Matrix4 scaled, unit;
    const Vec3 longY{0, 2, 0};
    D3DXMatrixRotationAxis(&scaled, &longY, 0.7f);
    ExpectMatrixNear(scaled, RotY(0.7f));

    const Vec3 diagonal{3, 3, 0}, unitDiagonal{0.70710678f, 0.70710678f, 0};
    D3DXMatrixRotationAxis(&scaled, &diagonal, 1.1f);
    D3DXMatrixRotationAxis(&unit, &unitDiagonal, 1.1f);
    ExpectMatrixNear(scaled, unit);
    // Half a turn about (1,1,0) swaps x and y.
    D3DXMatrixRotationAxis(&scaled, &diagonal, kPi);
    ExpectNear(Apply(scaled, {1, 0, 0}), {0, 1, 0});
}

TEST(D3DXMath, NormalizeGivesUnitVectorsAndKeepsZeroAtZero) {
    Vec3 out;
    const Vec3 v{3, 4, 0}, zero{0, 0, 0};
    ExpectNear(*D3DXVec3Normalize(&out, &v), {0.6f, 0.8f, 0});
    D3DXVec3Normalize(&out, &zero);
    EXPECT_EQ(out.x, 0.0f);
    EXPECT_EQ(out.y, 0.0f);
    EXPECT_EQ(out.z, 0.0f);
}

TEST(D3DXMath, PerspectiveMapsNearToZeroAndFarToOneAndDividesByW) {
    Matrix4 p;
    D3DXMatrixPerspectiveFovLH(&p, 0.7853982f, 2.0f, 1.0f, 500.0f);
    const float yScale = 1.0f / std::tan(0.7853982f / 2.0f);  // 2.4142137
    EXPECT_NEAR(p.m[1][1], 2.4142137f, 1e-6f);
    EXPECT_NEAR(p.m[0][0], yScale / 2.0f, 1e-6f);
    EXPECT_NEAR(p.m[2][2], 500.0f / 499.0f, 1e-6f);
    EXPECT_NEAR(p.m[3][2], -500.0f / 499.0f, 1e-6f);
    EXPECT_EQ(p.m[2][3], 1.0f);
    EXPECT_EQ(p.m[3][3], 0.0f);
    EXPECT_NEAR(Apply(p, {0, 0, 1}).z, 0.0f, 1e-6f);
    EXPECT_NEAR(Apply(p, {0, 0, 500}).z, 1.0f, 1e-6f);
    ExpectNear(Apply(p, {1, 1, 10}),
               {0.120710678f, 0.241421356f, (10.0f - 1.0f) * 500.0f / 499.0f / 10.0f});
}

TEST(D3DXMath, LookAtPutsTheTargetOnThePositiveZAxisOfTheView) {
    Matrix4 v;
    const Vec3 eye{0.5f, 0.5f, -3.5f}, at{0.5f, 0.5f, -2.5f}, up{0, 1, 0};
    D3DXMatrixLookAtLH(&v, &eye, &at, &up);
    const Matrix4 expected = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {-0.5f, -0.5f, 3.5f, 1}}};
    ExpectMatrixNear(v, expected, 0.0f);

    const Vec3 origin{0, 0, 0}, east{1, 0, 0};
    D3DXMatrixLookAtLH(&v, &origin, &east, &up);
    ExpectNear(Apply(v, {1, 0, 0}), {0, 0, 1});
    ExpectNear(Apply(v, {0, 0, 1}), {-1, 0, 0});  // north is to the left when facing east
    ExpectNear(Apply(v, {0, 1, 0}), {0, 1, 0});
}

}  // namespace
