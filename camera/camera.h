// The free-look camera: eye, target and up, kept in step with the device's view transform.
#pragma once

#include "platform/graphics_device.h"

class Camera {
  public:
    Camera();

    void SetEye(const Vec3& position);
    void SetUpVector(const Vec3& upVector);
    void Move(short amount);
    void Strafe(short amount);
    void Yaw();
    void Pitch();
    void UpdateView();

    // The viewing direction is always derived from the target; no angles are stored.
    Vec3 target;
    Matrix4 view;
    float speed;
    bool autoUpdate;
    Vec3 eye;
    Vec3 up;
};
