// The comparison behind tessaline-snapshot --compare.
#include "tools/picture_compare.h"

#include <algorithm>
#include <cmath>

namespace snapshot {

double ColourDistance(const unsigned char* a, const unsigned char* b) {
    double sum = 0.0;
    for (int c = 0; c < 3; ++c) {
        const double d = static_cast<double>(a[c]) - static_cast<double>(b[c]);
        sum += d * d;
    }
    return std::sqrt(sum);
}

PictureDifference ComparePictures(const RgbPicture& frame, const RgbPicture& reference,
                                  double tolerance) {
    PictureDifference result;
    result.total = static_cast<long>(frame.width) * frame.height;
    result.picture.width = frame.width;
    result.picture.height = frame.height;
    result.picture.rgb.resize(frame.rgb.size());
    for (long i = 0; i < result.total; ++i) {
        const unsigned char* a = &frame.rgb[3 * static_cast<std::size_t>(i)];
        const unsigned char* b = &reference.rgb[3 * static_cast<std::size_t>(i)];
        unsigned char* out = &result.picture.rgb[3 * static_cast<std::size_t>(i)];
        const double distance = ColourDistance(a, b);
        result.largest = std::max(result.largest, distance);
        if (distance > tolerance) {
            ++result.differing;
            out[0] = 255, out[1] = 0, out[2] = 0;
        } else if (distance > 0.0) {
            out[0] = 255, out[1] = 210, out[2] = 0;
        } else {
            // The reference's luma, faded three quarters of the way to white, so that the
            // marks stand out and the scene still shows where they are.
            const double luma = 0.299 * b[0] + 0.587 * b[1] + 0.114 * b[2];
            const auto grey = static_cast<unsigned char>(std::lround(191.25 + luma * 0.25));
            out[0] = out[1] = out[2] = grey;
        }
    }
    result.percent = result.total ? 100.0 * static_cast<double>(result.differing) /
                                        static_cast<double>(result.total)
                                  : 0.0;
    return result;
}

}  // namespace snapshot
