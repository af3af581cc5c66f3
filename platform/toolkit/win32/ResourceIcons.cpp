#include "platform/toolkit/ResourceTable.h"

#include "platform/toolkit/IconPixels.h"

#include <cstring>
#include <map>
#include <vector>

namespace {

// Icons stay for the process; one registered again gets a new handle, and a handle given
// out earlier keeps its images.
std::map<int, HICON>& Icons()
{
    static std::map<int, HICON> icons;
    return icons;
}

HICON IconFromPixels(const IconPixels& pixels)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = pixels.size;
    info.bmiHeader.biHeight = -pixels.size;  // top-down rows, as the pixels are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP color = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (color == nullptr)
        return nullptr;
    // 0xAARRGGBB in memory is the DIB's blue, green, red, alpha.
    std::memcpy(bits, pixels.argb.data(), pixels.argb.size() * sizeof(pixels.argb[0]));
    // With an alpha channel in the colour image the mask only has to exist.
    HBITMAP mask = ::CreateBitmap(pixels.size, pixels.size, 1, 1, nullptr);
    ICONINFO icon{TRUE, 0, 0, mask, color};
    HICON handle = ::CreateIconIndirect(&icon);
    ::DeleteObject(mask);
    ::DeleteObject(color);
    return handle;
}

} // namespace

void ResourceTable::AddIcon(int id, std::span<const IconImage> images)
{
    // Every image is checked; the one at the standard icon size, else the largest, is used.
    std::vector<IconPixels> converted;
    for (const IconImage& image : images)
        converted.push_back(PixelsOf(image));
    const IconPixels* chosen = nullptr;
    for (const IconPixels& pixels : converted) {
        if (chosen == nullptr || pixels.size == ::GetSystemMetrics(SM_CXICON)
            || (chosen->size != ::GetSystemMetrics(SM_CXICON) && pixels.size > chosen->size))
            chosen = &pixels;
    }
    Icons()[id] = chosen ? IconFromPixels(*chosen) : nullptr;
}

HICON ResourceTable::LoadIcon(int id)
{
    const auto it = Icons().find(id);
    return it == Icons().end() ? nullptr : it->second;
}
