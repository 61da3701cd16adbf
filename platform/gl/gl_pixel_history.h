// Pixel history: why a pixel of the last presented frame has its colour. While the device records
// frames it keeps each frame's clears and draws with the state each draw was made with; a probe
// replays that frame into a target of its own with a one-pixel scissor and reads the pixel back
// after each step:
//   whether a draw covers the pixel: an occlusion query with the depth test passing everything;
//   the depth test's verdict: an occlusion query with the draw's own depth test;
//   the colour it produced: the draw with blending off (its colour writes all on);
//   the colour after blending: the draw as it was made;
// and, for the last draw that wrote the pixel, the pixel shader's inputs by semantic (variants of
// its GLSL that write one input instead of the colour) and its output, into a 32-bit float target
// so that they come back as the shader saw them. The draw is replayed at the pixel's centre, one
// sample, whatever the back buffer's multisampling; the frame's own pixel is its resolved one.
// The replay changes nothing the program sees: not its state, not its back buffer.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d9/state.h"

namespace gl {

class GlMesh;

// What one replay pass keeps of a recorded draw and what it changes.
struct ReplayPass {
    unsigned framebuffer = 0;
    int x = 0, y = 0;
    bool depthAlways = false;      // the depth test passes every fragment
    bool keepDepthWrites = false;  // the draw's ZWRITEENABLE; else nothing writes depth
    bool keepBlend = false;        // the draw's blending; else none
    int colorMask = -1;  // -1: the draw's COLORWRITEENABLE; else these bits (RGBA 1 2 4 8)
};

// One step of a recorded frame.
struct FrameEvent {
    enum class Kind { Clear, Mesh, Text } kind = Kind::Mesh;
    // Clear.
    DWORD flags = 0;
    D3DCOLOR color = 0;
    float z = 1.0f;
    std::vector<D3DRECT> rects;
    // Mesh: the state it was drawn with (shared by the draws between two changes).
    std::shared_ptr<const d3d9::DeviceState> state;
    GlMesh* mesh = nullptr;
    DWORD attribute = 0;
    // Text: its string and a replay of its quads under a pass.
    std::string text;
    std::function<void(const ReplayPass&)> replayText;
};

struct RecordedFrame {
    std::vector<FrameEvent> events;
    std::uint64_t objectsGone = 0;  // the device's count when the frame began
    bool truncated = false;         // it had more events than are kept
};

// A shader value at the pixel: an input by semantic, or the output.
struct ShaderValue {
    std::string semantic;  // "TEXCOORD0", "COLOR0"
    int components = 4;
    float v[4] = {0, 0, 0, 0};
};

// One clear or draw of the frame that touched the pixel.
struct PixelEvent {
    enum class Kind { Clear, Mesh, Text } kind = Kind::Mesh;
    int draw = 0;        // the draw's number in the frame, from 1 (clears: 0)
    std::string what;    // "mesh#1 subset 0", "text \"rendering...\"", "Clear"
    std::string shader;  // "pixel shader ps#1 (pixel.psh, ps_main)", "fixed function"
    enum class Depth { Passed, Failed, Off } depth = Depth::Off;
    bool produced = false;     // a colour came out (the depth test passed)
    std::uint32_t colour = 0;  // ARGB it produced, blending off
    std::uint32_t after = 0;   // ARGB of the pixel after it
};

struct PixelHistory {
    bool ok = false;
    std::string why;  // when not ok
    int x = 0, y = 0;
    std::uint32_t frame = 0;     // ARGB of the presented frame's pixel
    std::uint32_t replayed = 0;  // ARGB the replay ended with
    std::vector<PixelEvent> events;
    int lastWriter = -1;  // index in events of the last draw that wrote the pixel
    // Its pixel stage's inputs and output (empty where it drew text).
    std::vector<ShaderValue> inputs;
    bool hasOutput = false;
    ShaderValue output;
    double milliseconds = 0;
};

// The report, one line a fact, for stderr and the snapshot tool; `labels` names objects
// ("mesh#1" -> "Tiger.x") where the caller knows them.
std::string FormatPixelHistory(const PixelHistory& history,
                               const std::map<std::string, std::string>& labels = {});
// One line for the overlay.
std::string PixelHistoryLine(const PixelHistory& history);
std::string ArgbText(std::uint32_t argb);

// The GLSL of a translated pixel shader changed to write `input` (a "tessIn..." variable) to
// its COLOR0 output instead of the colour; false where the text has neither.
bool InputVariant(std::string& glsl, const std::string& input, int* components);

}  // namespace gl
