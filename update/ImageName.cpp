#include "update/ImageName.h"

#include <algorithm>
#include <cstdio>

bool IsFirmwareImagePath(const std::string& fullPath)
{
    if (fullPath.find("Brimnet_v") == std::string::npos)
        return false;
    return fullPath.find("bin") != std::string::npos;
}

unsigned LengthBeforeZero(std::span<const unsigned char> image)
{
    const auto zero = std::find(image.begin(), image.end(), static_cast<unsigned char>(0));
    return static_cast<unsigned>(zero - image.begin());
}

std::string FormatImageTrace(std::span<const unsigned char> image)
{
    // "%d" as the trace has always shown it; lengths are unsigned 32-bit counts.
    char text[64];
    std::snprintf(text, sizeof text, " Len: %d, %d", static_cast<int>(LengthBeforeZero(image)),
                  static_cast<int>(static_cast<unsigned>(image.size())));
    return text;
}
