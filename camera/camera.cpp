// The free-look camera. Every operation derives the viewing direction afresh from eye and
// target, holds each intermediate vector as 32-bit floats, and refreshes the view when
// autoUpdate is on. An operation whose direction or side vector has zero length (target on the
// eye, or looking along the up vector) changes nothing, so no NaN reaches the view transform.
#include "camera/camera.h"

#include "program/process_objects.h"

namespace {

Vec3 Sub(const Vec3& a, const Vec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 Add(const Vec3& a, const Vec3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 Scale(const Vec3& v, float s) {
    return {v.x * s, v.y * s, v.z * s};
}
Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
bool IsZero(const Vec3& v) {
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

Vec3 Normalized(const Vec3& v) {
    Vec3 out;
    D3DXVec3Normalize(&out, &v);
    return out;
}

Vec3 Rotated(const Vec3& v, const Vec3& axis, float angle) {
    Matrix4 rotation;
    D3DXMatrixRotationAxis(&rotation, &axis, angle);
    Vec3 out;
    D3DXVec3TransformCoord(&out, &v, &rotation);
    return out;
}

}  // namespace

// The target starts at the origin and up along +y, so that the view is defined before the
// scene set-up places the eye.
Camera::Camera()
    : target{0.0f, 0.0f, 0.0f},
      view{},
      speed(0.3f),
      autoUpdate(false),
      eye{0.0f, 0.0f, 0.0f},
      up{0.0f, 1.0f, 0.0f} {
    D3DXMatrixIdentity(&view);
}

void Camera::SetEye(const Vec3& position) {
    eye = position;
    if (autoUpdate) UpdateView();
}

void Camera::SetUpVector(const Vec3& upVector) {
    up = upVector;
    if (autoUpdate) UpdateView();
}

void Camera::Move(short amount) {
    const Vec3 dir = Normalized(Sub(target, eye));
    if (IsZero(dir)) return;
    const Vec3 step = Scale(Scale(dir, speed), static_cast<float>(amount));
    eye = Add(eye, step);
    target = Add(target, step);
    if (autoUpdate) UpdateView();
}

void Camera::Strafe(short amount) {
    const Vec3 dir = Normalized(Sub(target, eye));
    const Vec3 side = Normalized(Cross(dir, up));
    if (IsZero(side)) return;
    const Vec3 step = Scale(Scale(side, speed), static_cast<float>(amount));
    eye = Add(eye, step);
    target = Add(target, step);
    if (autoUpdate) UpdateView();
}

void Camera::Yaw() {
    const Vec3 dir = Normalized(Sub(target, eye));
    // Turns about the camera's local up, found from the world vertical, not from `up`.
    const Vec3 side = Normalized(Cross(dir, Vec3{0.0f, 1.0f, 0.0f}));
    if (IsZero(side)) return;
    const Vec3 axis = Cross(side, dir);
    const float angle = static_cast<float>(mouseInput->deltaX) * mouseInput->sensitivity;
    target = Add(eye, Rotated(dir, axis, angle));
    if (autoUpdate) UpdateView();
}

void Camera::Pitch() {
    const Vec3 dir = Normalized(Sub(target, eye));
    const Vec3 side = Normalized(Cross(dir, up));
    if (IsZero(side)) return;
    const float angle =
        static_cast<float>(static_cast<float>(mouseInput->deltaY) * mouseInput->sensitivity * -1.0);
    target = Add(eye, Rotated(dir, side, angle));
    if (autoUpdate) UpdateView();
}

void Camera::UpdateView() {
    D3DXMatrixLookAtLH(&view, &eye, &target, &up);
    if (device) device->SetTransform(D3DTS_VIEW, &view);
}
