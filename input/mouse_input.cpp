#include "input/mouse_input.h"

MouseInput* mouseInput = nullptr;
IDirectInputDevice8* mouseDevice = nullptr;

void CreateMouseInput() {}
void SetUpMouse() {}
void PollMouse() {}
