// The DirectInput system mouse, read once per idle iteration into relative movement.
#pragma once

#include "platform/window_input.h"

// Starts with no movement and its sensitivity, so that a set-up that stops early leaves a mouse
// that reads as still.
struct MouseInput {
    float sensitivity = 0.0035f;
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
