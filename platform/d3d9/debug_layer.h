// The front end's debug layer: what a Direct3D 9 debug runtime would warn of, said once each, in
// a Direct3D 9 programmer's words (instruments.h routes the lines). It watches the calls the
// program makes and changes none of them:
//   a constant the bound shader reads that nothing has set (it reads 0);
//   a sampler the bound shader reads with no texture set on its stage;
//   a vertex shader created and never bound while frames are drawn by the fixed-function
//   vertex stage;
//   a TEXCOORDn the pixel shader reads that the fixed-function vertex stage does not produce for
//   the mesh drawn (its vertices have no texture coordinate set n);
// and, as a fact rather than a warning, each created shader's instruction slot estimate against
// its profile's limits.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/d3d9/instruments.h"
#include "platform/d3d9/state.h"
#include "platform/d3dx/hlsl/shader_container.h"
#include "platform/d3dx/mesh_base.h"

namespace d3d9 {

class ShaderResource;

class DebugLayer {
  public:
    DebugLayer();
    static bool On() { return Instruments().debugLayer; }

    void ShaderCreated(const ShaderResource& shader);
    void ShaderBound(const ShaderResource& shader);
    // A successful Set*ShaderConstantF/I/B of `count` registers from `start`.
    void ConstantsSet(bool pixel, D3DXREGISTER_SET set, UINT start, UINT count);
    void Draw(const DeviceState& state, const d3dx::MeshBase& mesh);
    void Presented();

  private:
    // The registers of one stage that a call has set, whatever the values.
    struct Written {
        std::vector<bool> floats, ints, bools;
        std::vector<bool>& Of(D3DXREGISTER_SET set) {
            return set == D3DXRS_INT4 ? ints : set == D3DXRS_BOOL ? bools : floats;
        }
    };
    void Say(Finding::Kind kind, const std::string& text);
    void CheckShader(const ShaderResource& shader, const DeviceState& state);

    std::set<std::string> said_;
    Written vertex_, pixel_;
    // Every vertex shader created, by name: its description and whether it was ever bound.
    std::map<std::string, std::pair<std::string, bool>> vertexShaders_;
    bool fixedVertexStageDrew_ = false;  // in the frame being drawn
};

// "ps_2_0" from a shader's version.
std::string ProfileName(const d3dx::ShaderReflection& shader);
// The slot estimate in words: "about 9 arithmetic and 1 texture instruction slots of the 64 and
// 32 that ps_2_0 allows".
std::string SlotEstimateText(const d3dx::ShaderReflection& shader);

}  // namespace d3d9
