// A frame against a reference picture, as image-regression checks measure it: the colour
// distance of each pixel and the share of pixels whose distance is above a tolerance, with a
// difference picture that shows where they are.
#pragma once

#include "tools/rgb_picture.h"

namespace snapshot {

struct PictureDifference {
    long differing = 0;    // pixels whose distance is above the tolerance
    long total = 0;        // pixels compared
    double percent = 0.0;  // differing / total, in percent
    double largest = 0.0;  // the largest distance of any pixel
    RgbPicture picture;    // differing pixels red, other unequal ones yellow, the rest faded grey
};

// The Euclidean distance of two RGB colours in 0-255 levels: 0 to 441.67.
double ColourDistance(const unsigned char* a, const unsigned char* b);

// Both pictures must have the same size.
PictureDifference ComparePictures(const RgbPicture& frame, const RgbPicture& reference,
                                  double tolerance);

}  // namespace snapshot
