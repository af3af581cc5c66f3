#include "packaging/icon/AppIconPng.h"

#include "ui/ResourceTemplates.h"

#include <cstddef>

namespace {

// Reads an image as the toolkit does (see IconImage): a letter picks its palette entry, '.'
// is transparent.
QRgb PixelOf(const IconImage& image, int x, int y)
{
    const char letter = image.rows[y][x];
    return letter == '.' ? 0u : image.palette[static_cast<std::size_t>(letter - 'a')];
}

}  // namespace

QImage AppIconAt(int size)
{
    if (size <= 0)
        return {};
    const IconImage* source = nullptr;
    for (const IconImage& image : kAppIconImages) {
        if (size % image.size == 0 && (source == nullptr || image.size > source->size))
            source = &image;
    }
    if (source == nullptr)
        return {};

    const int scale = size / source->size;
    QImage result(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            result.setPixel(x, y, PixelOf(*source, x / scale, y / scale));
    }
    return result;
}
