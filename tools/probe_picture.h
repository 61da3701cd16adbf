// The picture of a pixel probe that tessaline-snapshot writes beside a frame (shot-1-probe.png):
// the frame with each probed pixel ringed and numbered, and the reports beneath it, drawn with
// the D3DX font rasteriser.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/rgb_picture.h"

namespace snapshot {

// `reports[i]` is the text of the probe at `pixels[i]`, its lines ended by newlines. Lines too
// wide for the picture wrap. Where no font can be found the reports are left out.
RgbPicture ProbePicture(const RgbPicture& frame, const std::vector<std::pair<int, int>>& pixels,
                        const std::vector<std::string>& reports);

}  // namespace snapshot
