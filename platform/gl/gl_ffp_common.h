// What the fixed-function vertex and fragment stages (gl_ffp.cpp, gl_ffp_fragment.cpp) must
// agree on: which texture stages run and which texture coordinate sets pass between them.
#pragma once

#include <string>

#include "platform/gl/gl_ffp.h"
#include "platform/graphics_device.h"

namespace gl {

inline std::string N(int i) {
    return std::to_string(i);
}

// A stage with no texture whose first colour argument is its texture, read by its operation,
// acts as D3DTOP_DISABLE, as Direct3D 9's reference rasterizer defines it: it and every later
// stage pass the current colour and alpha through.
inline bool DisabledForWantOfTexture(const FfpStage& st) {
    return !st.hasTexture && (st.colorArg1 & D3DTA_SELECTMASK) == D3DTA_TEXTURE &&
           st.colorOp != D3DTOP_SELECTARG2;
}

// The stages that run: those before the first disabled one.
inline int StagesRun(const FfpKey& key) {
    int n = 0;
    while (n < kMaxStages && key.stages[n].colorOp != 0 &&
           key.stages[n].colorOp != D3DTOP_DISABLE && !DisabledForWantOfTexture(key.stages[n])) {
        ++n;
    }
    return n;
}

// The texture coordinate sets the vertex stage writes, a bit each: those a pixel shader reads,
// or those the running stages sample with.
inline unsigned TexCoordsWritten(const FfpKey& key) {
    if (key.pixelShader) return (1u << key.shaderTexCoords) - 1;
    unsigned sets = 0;
    for (int i = 0; i < StagesRun(key); ++i) {
        if (key.stages[i].hasTexture) sets |= 1u << (key.stages[i].texCoordIndex & 7);
    }
    return sets;
}

}  // namespace gl
