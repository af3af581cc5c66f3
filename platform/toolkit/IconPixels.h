#pragma once
// An icon image of the resource table as pixels, for the backend to turn into its icon.

#include "platform/toolkit/ResourceTable.h"

#include <cstdint>
#include <vector>

struct IconPixels {
    int size;
    // size * size pixels, row by row, 0xAARRGGBB; transparent pixels are 0.
    std::vector<std::uint32_t> argb;
};

// Throws std::invalid_argument when the image's rows or palette indexes do not fit.
IconPixels PixelsOf(const IconImage& image);
