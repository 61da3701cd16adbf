// The DirectInput system mouse, read once per idle iteration into relative movement.
#pragma once

#include "program/process_objects.h"

void CreateMouseInput();
void SetUpMouse();
void PollMouse();
