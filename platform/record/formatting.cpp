#include "platform/record/formatting.h"

using platform::Fmt;

std::string FmtValue(const DIMOUSESTATE& s) {
    std::string out = "(" + Fmt(s.lX) + " " + Fmt(s.lY) + " " + Fmt(s.lZ);
    for (BYTE button : s.rgbButtons) out += " " + Fmt(button);
    return out + ")";
}
