// The DirectInput system mouse, read once per idle iteration into relative movement.
#pragma once

#include "platform/window_input.h"

struct MouseInput {
    float sensitivity = 0.0f;
    LONG deltaX = 0;
    LONG deltaY = 0;
    LONG deltaZ = 0;
    IDirectInput8* directInput = nullptr;
    DIMOUSESTATE state{};
};

extern MouseInput* mouseInput;
extern IDirectInputDevice8* mouseDevice;

void CreateMouseInput();
void SetUpMouse();
void PollMouse();
