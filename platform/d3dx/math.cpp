// D3DX vector and matrix math: row vectors, left-handed, results through the first argument.
// Every intermediate is a 32-bit float, as the platform computes it.
#include <cmath>

#include "platform/graphics_device.h"

namespace {

float Dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 Normalized(const Vec3& v) {
    Vec3 out;
    D3DXVec3Normalize(&out, &v);
    return out;
}

}  // namespace

Vec3* D3DXVec3Normalize(Vec3* pOut, const Vec3* pV) {
    const float length = std::sqrt(Dot(*pV, *pV));
    // A zero vector stays zero rather than turning into NaNs.
    if (length == 0.0f) {
        *pOut = {0.0f, 0.0f, 0.0f};
    } else {
        *pOut = {pV->x / length, pV->y / length, pV->z / length};
    }
    return pOut;
}

Vec3* D3DXVec3TransformCoord(Vec3* pOut, const Vec3* pV, const Matrix4* pM) {
    const auto& m = pM->m;
    const float w = pV->x * m[0][3] + pV->y * m[1][3] + pV->z * m[2][3] + m[3][3];
    const Vec3 v = *pV;
    pOut->x = (v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0] + m[3][0]) / w;
    pOut->y = (v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1] + m[3][1]) / w;
    pOut->z = (v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2] + m[3][2]) / w;
    return pOut;
}

Matrix4* D3DXMatrixIdentity(Matrix4* pOut) {
    *pOut = {};
    for (int i = 0; i < 4; ++i) pOut->m[i][i] = 1.0f;
    return pOut;
}

Matrix4* D3DXMatrixMultiply(Matrix4* pOut, const Matrix4* pM1, const Matrix4* pM2) {
    // Computed into a temporary so that pOut may alias either operand.
    Matrix4 r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = pM1->m[i][0] * pM2->m[0][j] + pM1->m[i][1] * pM2->m[1][j] +
                        pM1->m[i][2] * pM2->m[2][j] + pM1->m[i][3] * pM2->m[3][j];
        }
    }
    *pOut = r;
    return pOut;
}

Matrix4* D3DXMatrixTranslation(Matrix4* pOut, float x, float y, float z) {
    D3DXMatrixIdentity(pOut);
    pOut->m[3][0] = x;
    pOut->m[3][1] = y;
    pOut->m[3][2] = z;
    return pOut;
}

Matrix4* D3DXMatrixRotationX(Matrix4* pOut, float Angle) {
    const float s = std::sin(Angle), c = std::cos(Angle);
    D3DXMatrixIdentity(pOut);
    pOut->m[1][1] = c;
    pOut->m[1][2] = s;
    pOut->m[2][1] = -s;
    pOut->m[2][2] = c;
    return pOut;
}

Matrix4* D3DXMatrixRotationY(Matrix4* pOut, float Angle) {
    // A positive angle turns +z toward +x.
    const float s = std::sin(Angle), c = std::cos(Angle);
    D3DXMatrixIdentity(pOut);
    pOut->m[0][0] = c;
    pOut->m[0][2] = -s;
    pOut->m[2][0] = s;
    pOut->m[2][2] = c;
    return pOut;
}

Matrix4* D3DXMatrixRotationZ(Matrix4* pOut, float Angle) {
    const float s = std::sin(Angle), c = std::cos(Angle);
    D3DXMatrixIdentity(pOut);
    pOut->m[0][0] = c;
    pOut->m[0][1] = s;
    pOut->m[1][0] = -s;
    pOut->m[1][1] = c;
    return pOut;
}

Matrix4* D3DXMatrixRotationAxis(Matrix4* pOut, const Vec3* pV, float Angle) {
    const Vec3 n = Normalized(*pV);
    const float s = std::sin(Angle), c = std::cos(Angle), d = 1.0f - c;
    D3DXMatrixIdentity(pOut);
    pOut->m[0][0] = d * n.x * n.x + c;
    pOut->m[1][0] = d * n.x * n.y - s * n.z;
    pOut->m[2][0] = d * n.x * n.z + s * n.y;
    pOut->m[0][1] = d * n.y * n.x + s * n.z;
    pOut->m[1][1] = d * n.y * n.y + c;
    pOut->m[2][1] = d * n.y * n.z - s * n.x;
    pOut->m[0][2] = d * n.z * n.x - s * n.y;
    pOut->m[1][2] = d * n.z * n.y + s * n.x;
    pOut->m[2][2] = d * n.z * n.z + c;
    return pOut;
}

Matrix4* D3DXMatrixLookAtLH(Matrix4* pOut, const Vec3* pEye, const Vec3* pAt, const Vec3* pUp) {
    const Vec3 z = Normalized({pAt->x - pEye->x, pAt->y - pEye->y, pAt->z - pEye->z});
    const Vec3 x = Normalized(Cross(*pUp, z));
    const Vec3 y = Cross(z, x);
    *pOut = {{{x.x, y.x, z.x, 0.0f},
              {x.y, y.y, z.y, 0.0f},
              {x.z, y.z, z.z, 0.0f},
              {-Dot(x, *pEye), -Dot(y, *pEye), -Dot(z, *pEye), 1.0f}}};
    return pOut;
}

Matrix4* D3DXMatrixPerspectiveFovLH(Matrix4* pOut, float fovy, float Aspect, float zn, float zf) {
    // Depth maps to [0, 1]: z' = z * zf / (zf - zn) - zn * zf / (zf - zn), w' = z.
    const float yScale = 1.0f / std::tan(fovy / 2.0f);
    *pOut = {};
    pOut->m[0][0] = yScale / Aspect;
    pOut->m[1][1] = yScale;
    pOut->m[2][2] = zf / (zf - zn);
    pOut->m[2][3] = 1.0f;
    pOut->m[3][2] = -zn * zf / (zf - zn);
    return pOut;
}
