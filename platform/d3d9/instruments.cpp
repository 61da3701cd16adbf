// The instruments' options and the constant settings (see instruments.h). A setting goes through
// the bound shader's constant table, so that its values take the table's conversions: a matrix
// row by row into its rows or columns, an array element by element, ints and BOOLs into their own
// registers, fewer values than the constant holds leaving the rest of its registers zero.
#include "platform/d3d9/instruments.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "platform/d3d9/resources.h"

namespace d3d9 {
namespace {

InstrumentOptions& Options() {
    static InstrumentOptions options;
    return options;
}

// The settings' problems said so far; each is said once while the options stand.
std::set<std::string>& Said() {
    static std::set<std::string> said;
    return said;
}

bool ReadFloat(const std::string& text, float& out) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    out = std::strtof(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(out);
}

bool ReadInt(const std::string& text, INT& out) {
    const char* begin = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
    const auto [ptr, ec] = std::from_chars(begin, text.data() + text.size(), out);
    return ec == std::errc() && ptr == text.data() + text.size() && begin != ptr;
}

bool ReadBool(const std::string& text, BOOL& out) {
    std::string lower;
    for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "true" || lower == "1") {
        out = TRUE;
    } else if (lower == "false" || lower == "0") {
        out = FALSE;
    } else {
        return false;
    }
    return true;
}

// The names of a table's constants that values can be set on, "a, b and c" ("none").
std::string ConstantNames(ID3DXConstantTable* table) {
    D3DXCONSTANTTABLE_DESC desc{};
    std::vector<std::string> names;
    if (table && table->GetDesc(&desc) == D3D_OK) {
        for (UINT i = 0; i < desc.Constants; ++i) {
            D3DXCONSTANT_DESC c{};
            UINT count = 1;
            const D3DXHANDLE handle = table->GetConstant(nullptr, i);
            if (handle && table->GetConstantDesc(handle, &c, &count) == D3D_OK &&
                c.RegisterSet != D3DXRS_SAMPLER)
                names.push_back(c.Name);
        }
    }
    if (names.empty()) return "none";
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i)
        list += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return list;
}

const char* TypeName(D3DXPARAMETER_TYPE type) {
    return type == D3DXPT_INT ? "an int" : type == D3DXPT_BOOL ? "a bool" : "a float";
}

// Sets `setting` on the constant `handle` of `table`; the empty string, or why it cannot.
std::string SetValues(IDirect3DDevice9* device, ID3DXConstantTable* table, D3DXHANDLE handle,
                      const ConstantSetting& setting) {
    D3DXCONSTANT_DESC c{};
    UINT count = 1;
    if (table->GetConstantDesc(handle, &c, &count) != D3D_OK)
        return "the constant table refused it";
    if (c.RegisterSet == D3DXRS_SAMPLER) return "'" + setting.name + "' is a sampler, not a value";
    const std::size_t holds =
        c.Class == D3DXPC_STRUCT ? c.Bytes / 4 : std::size_t{c.Rows} * c.Columns * c.Elements;
    if (setting.values.size() > holds)
        return std::to_string(setting.values.size()) + " values for '" + setting.name +
               "', which holds " + std::to_string(holds);
    const UINT n = static_cast<UINT>(setting.values.size());
    const D3DXPARAMETER_TYPE type = c.Class == D3DXPC_STRUCT ? D3DXPT_FLOAT : c.Type;
    std::vector<float> floats(n);
    std::vector<INT> ints(n);
    std::vector<BOOL> bools(n);
    for (UINT i = 0; i < n; ++i) {
        const std::string& v = setting.values[i];
        const bool ok = type == D3DXPT_INT    ? ReadInt(v, ints[i])
                        : type == D3DXPT_BOOL ? ReadBool(v, bools[i])
                                              : ReadFloat(v, floats[i]);
        if (!ok)
            return "'" + v + "' is not " + TypeName(type) + " for '" + setting.name + "'" +
                   (type == D3DXPT_BOOL ? " (true, false, 1 or 0)" : "");
    }
    HRESULT hr = D3D_OK;
    if (type == D3DXPT_INT) {
        hr = table->SetIntArray(device, handle, ints.data(), n);
    } else if (type == D3DXPT_BOOL) {
        hr = table->SetBoolArray(device, handle, bools.data(), n);
    } else {
        hr = table->SetFloatArray(device, handle, floats.data(), n);
    }
    return SUCCEEDED(hr) ? "" : "the constant table could not set it";
}

}  // namespace

std::string ReadConstantSetting(const std::string& text, ConstantSetting& out) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) return "not NAME=VALUE[,VALUE...]";
    ConstantSetting s;
    s.name = text.substr(0, equals);
    for (char c : s.name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.' && c != '[' &&
            c != ']')
            return "'" + s.name + "' is not a constant's name";
    }
    const std::string values = text.substr(equals + 1);
    if (values.empty()) return "no value for " + s.name;
    std::size_t at = 0;
    for (;;) {
        const std::size_t comma = values.find(',', at);
        std::string v =
            values.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        if (v.empty()) return "an empty value in " + values;
        s.values.push_back(std::move(v));
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    out = std::move(s);
    return {};
}

std::string FindingLine(const Finding& finding) {
    const char* level = finding.kind == Finding::Kind::Info      ? "(INFO)"
                        : finding.kind == Finding::Kind::Warning ? "(WARN)"
                                                                 : "(ERROR)";
    return std::string("Direct3D9: ") + level + " " + finding.text;
}

void SetInstruments(InstrumentOptions options) {
    Options() = std::move(options);
    Said().clear();
}

const InstrumentOptions& Instruments() {
    return Options();
}

void Report(const Finding& finding) {
    if (Options().report) {
        Options().report(finding);
    } else {
        std::fprintf(stderr, "%s\n", FindingLine(finding).c_str());
    }
}

void ApplyConstantSettings(IDirect3DDevice9* device, ShaderResource& bound, ShaderResource* other) {
    const std::vector<ConstantSetting>& settings = Options().constants;
    if (settings.empty()) return;
    const auto refuse = [&](const std::string& text) {
        if (Said().insert(text).second) Report({Finding::Kind::BadSetting, text});
    };
    ID3DXConstantTable* table = bound.Constants();
    for (const ConstantSetting& setting : settings) {
        const D3DXHANDLE handle =
            table ? table->GetConstantByName(nullptr, setting.name.c_str()) : nullptr;
        if (handle) {
            if (std::string why = SetValues(device, table, handle, setting); !why.empty())
                refuse("--set " + setting.name + ": " + why);
            continue;
        }
        ID3DXConstantTable* otherTable = other ? other->Constants() : nullptr;
        if (otherTable && otherTable->GetConstantByName(nullptr, setting.name.c_str())) continue;
        std::string text = "--set " + setting.name + ": the bound " + bound.Description() +
                           " has no constant '" + setting.name +
                           "' (its constants: " + ConstantNames(table) + ")";
        if (other) {
            text += ", nor has the bound " + other->Description() +
                    " (its constants: " + ConstantNames(otherTable) + ")";
        } else {
            text +=
                std::string("; no ") + (bound.Pixel() ? "vertex" : "pixel") + " shader is bound";
        }
        refuse(text);
    }
}

}  // namespace d3d9
