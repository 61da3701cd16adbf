// The front end's instruments, beside the program's calls and never in them: shader constants set
// by name each time a shader is bound (--set NAME=v,...) and the debug layer (debug_layer.h).
// The programs choose them from their options before the device is made; with none chosen the
// front end makes only the program's calls and says nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/graphics_device.h"

namespace d3d9 {

class Device;
class ShaderResource;

// One --set: a constant's name (a member "s.m" or an element "a[2]" as the constant table names
// them) and its values as given, converted by the constant's own type when it is set.
struct ConstantSetting {
    std::string name;
    std::vector<std::string> values;
};

// Reads "NAME=v[,v...]"; returns the empty string or one line that says what is wrong.
std::string ReadConstantSetting(const std::string& text, ConstantSetting& out);

// What the instruments say, each thing once: a fact worth knowing (a shader's slot estimate),
// a problem a Direct3D 9 debug runtime would warn of, or a --set that cannot be applied.
struct Finding {
    enum class Kind { Info, Warning, BadSetting };
    Kind kind = Kind::Warning;
    std::string text;
};
// "Direct3D9: (WARN) text", as a debug runtime writes it ("(INFO)" for facts, "(ERROR)" for
// settings).
std::string FindingLine(const Finding& finding);

struct InstrumentOptions {
    std::vector<ConstantSetting> constants;
    bool debugLayer = false;
    // Where findings go; null: FindingLine on stderr.
    std::function<void(const Finding&)> report;
};

// For devices made from now on (and the one alive: the settings are read at each bind).
void SetInstruments(InstrumentOptions options);
const InstrumentOptions& Instruments();
void Report(const Finding& finding);

// Applies the settings whose constant `bound` has, through its constant table, on `device`;
// `other` is the bound shader of the other stage, or null. A setting neither has, or whose
// values its constant cannot take, is reported once as a BadSetting. Does nothing without
// settings.
void ApplyConstantSettings(IDirect3DDevice9* device, ShaderResource& bound, ShaderResource* other);

}  // namespace d3d9
