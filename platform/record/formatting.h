// Text forms of the window and input structures in the recorder's log, beside the device's
// (platform/d3d9/call_format.h, included here for the tests that read the log).
#pragma once

#include <string>

#include "platform/core/call_trace.h"
#include "platform/d3d9/call_format.h"
#include "platform/window_input.h"

std::string FmtValue(const DIMOUSESTATE& s);
