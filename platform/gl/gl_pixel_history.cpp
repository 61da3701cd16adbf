// Pixel history's report and the shader variants a probe draws (see gl_pixel_history.h); the
// replay itself is gl_probe_replay.cpp.
#include "platform/gl/gl_pixel_history.h"

#include <cstdio>

namespace gl {
namespace {

std::string Float(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", static_cast<double>(v));
    return text;
}

std::string Value(const ShaderValue& value) {
    std::string out = "(";
    for (int i = 0; i < value.components; ++i) out += (i ? ", " : "") + Float(value.v[i]);
    return out + ")";
}

std::string Labelled(const std::string& what, const std::map<std::string, std::string>& labels) {
    // "mesh#1 subset 0" gets its file: "mesh#1 (Tiger.x) subset 0".
    const std::size_t space = what.find(' ');
    const auto it = labels.find(what.substr(0, space));
    if (it == labels.end()) return what;
    return it->first + " (" + it->second + ")" +
           (space == std::string::npos ? "" : what.substr(space));
}

const char* DepthText(PixelEvent::Depth depth) {
    switch (depth) {
        case PixelEvent::Depth::Passed:
            return "depth test passed";
        case PixelEvent::Depth::Failed:
            return "depth test FAILED";
        default:
            return "depth test off";
    }
}

}  // namespace

std::string ArgbText(std::uint32_t argb) {
    char text[40];
    std::snprintf(text, sizeof text, "#%08X (%u, %u, %u, %u)", argb, (argb >> 16) & 0xFF,
                  (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24);
    return text;
}

std::string FormatPixelHistory(const PixelHistory& h,
                               const std::map<std::string, std::string>& labels) {
    std::string out = "pixel (" + std::to_string(h.x) + ", " + std::to_string(h.y) + ")";
    if (!h.ok) return out + ": no history: " + h.why + "\n";
    out += ": final colour " + ArgbText(h.frame) + " (ARGB; red, green, blue, alpha)\n";
    if (h.replayed != h.frame)
        out += "  the replay at the pixel's centre ends with " + ArgbText(h.replayed) +
               ": the frame's pixel mixes its samples\n";
    for (std::size_t i = 0; i < h.events.size(); ++i) {
        const PixelEvent& e = h.events[i];
        if (e.kind == PixelEvent::Kind::Clear) {
            out += "  Clear: " + ArgbText(e.after) + "\n";
            continue;
        }
        out += "  draw " + std::to_string(e.draw) + ": " + Labelled(e.what, labels) + ", " +
               e.shader + ": " + DepthText(e.depth);
        if (e.produced) {
            out += ", produced " + ArgbText(e.colour) + ", after blending " + ArgbText(e.after);
        } else {
            out += ", nothing written";
        }
        out += static_cast<int>(i) == h.lastWriter ? "  <- last to write the pixel\n" : "\n";
    }
    if (h.lastWriter < 0) {
        out += "  no draw of the frame wrote the pixel\n";
    } else if (!h.inputs.empty() || h.hasOutput) {
        const PixelEvent& last = h.events[static_cast<std::size_t>(h.lastWriter)];
        out += "  draw " + std::to_string(last.draw) + "'s pixel stage at the pixel:\n";
        for (const ShaderValue& v : h.inputs)
            out += "    input  " + v.semantic + " = " + Value(v) + "\n";
        if (h.hasOutput) out += "    output " + h.output.semantic + " = " + Value(h.output) + "\n";
    }
    char cost[64];
    std::snprintf(cost, sizeof cost, "  (probe: %.1f ms)\n", h.milliseconds);
    return out + cost;
}

std::string PixelHistoryLine(const PixelHistory& h) {
    std::string line = "pixel (" + std::to_string(h.x) + ", " + std::to_string(h.y) + ")";
    if (!h.ok) return line + ": " + h.why;
    char colour[16];
    std::snprintf(colour, sizeof colour, "#%06X", h.frame & 0xFFFFFF);
    line += std::string(" ") + colour;
    int draws = 0;
    for (const PixelEvent& e : h.events) draws += e.kind != PixelEvent::Kind::Clear;
    line += ", " + std::to_string(draws) + (draws == 1 ? " draw" : " draws");
    if (h.lastWriter < 0) return line + ", none wrote it";
    const PixelEvent& last = h.events[static_cast<std::size_t>(h.lastWriter)];
    line += "; last: draw " + std::to_string(last.draw) + " " + last.what;
    for (const ShaderValue& v : h.inputs) line += " " + v.semantic + Value(v);
    if (h.hasOutput) line += " -> " + Value(h.output);
    return line;
}

bool InputVariant(std::string& glsl, const std::string& input, int* components) {
    // The translation declares each input a plain global ("vec2 tessInTEXCOORD0;") that main
    // fills from the varyings first, and COLOR0 the output at location 0.
    static const std::string kOutput = "layout(location = 0) out vec4 ";
    const std::size_t out = glsl.find(kOutput);
    const std::size_t outEnd = out == std::string::npos ? out : glsl.find(';', out);
    const std::size_t declared = glsl.find(" " + input + ";");
    const std::size_t mainEnd = glsl.rfind('}');
    if (outEnd == std::string::npos || declared == std::string::npos ||
        mainEnd == std::string::npos)
        return false;
    const std::size_t lineStart = glsl.rfind('\n', declared);
    const std::string type =
        glsl.substr(lineStart == std::string::npos ? 0 : lineStart + 1,
                    declared - (lineStart == std::string::npos ? 0 : lineStart + 1));
    int n = 0;
    std::string padding;
    if (type == "float" || type == "int" || type == "bool") {
        n = 1;
        padding = ", 0.0, 0.0, 0.0";
    } else if (type == "vec2" || type == "ivec2") {
        n = 2;
        padding = ", 0.0, 0.0";
    } else if (type == "vec3" || type == "ivec3") {
        n = 3;
        padding = ", 0.0";
    } else if (type == "vec4" || type == "ivec4") {
        n = 4;
    } else {
        return false;
    }
    const std::string output = glsl.substr(out + kOutput.size(), outEnd - out - kOutput.size());
    std::string value;
    if (n == 1) {
        value = "vec4(float(" + input + ")" + padding + ")";
    } else {
        const std::string v = type[0] == 'i' ? type.substr(1) + "(" + input + ")" : input;
        value = "vec4(" + v + padding + ")";
    }
    glsl.insert(mainEnd, "    " + output + " = " + value + ";\n");
    if (components) *components = n;
    return true;
}

}  // namespace gl
