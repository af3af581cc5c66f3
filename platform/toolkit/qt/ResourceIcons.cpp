#include "platform/toolkit/ResourceTable.h"

#include "platform/toolkit/IconPixels.h"
#include "platform/toolkit/qt/QtHandles.h"

#include <QImage>
#include <QPixmap>

#include <map>
#include <memory>
#include <vector>

namespace {

struct IconResource {
    std::vector<QImage> images;
    std::unique_ptr<HICON__> handle;
};

std::map<int, IconResource>& Icons()
{
    static std::map<int, IconResource> icons;
    return icons;
}

QImage ImageOf(const IconImage& image)
{
    const IconPixels pixels = PixelsOf(image);
    QImage result(pixels.size, pixels.size, QImage::Format_ARGB32);
    for (int y = 0; y < pixels.size; ++y) {
        for (int x = 0; x < pixels.size; ++x)
            result.setPixel(x, y, pixels.argb[static_cast<std::size_t>(y * pixels.size + x)]);
    }
    return result;
}

// Pixmaps need the GUI application, so an icon registered before it exists is built on
// first use.
void BuildIcon(IconResource& resource)
{
    if (!resource.handle || !resource.handle->icon.isNull())
        return;
    for (const QImage& image : resource.images)
        resource.handle->icon.addPixmap(QPixmap::fromImage(image));
}

} // namespace

void ResourceTable::AddIcon(int id, std::span<const IconImage> images)
{
    std::vector<QImage> converted;
    for (const IconImage& image : images)
        converted.push_back(ImageOf(image));
    IconResource& resource = Icons()[id];
    resource.images = std::move(converted);
    // A handle given out earlier stays valid and shows the new images.
    if (resource.handle)
        resource.handle->icon = QIcon();
    BuildIcon(resource);
}

HICON ResourceTable::LoadIcon(int id)
{
    const auto it = Icons().find(id);
    if (it == Icons().end())
        return nullptr;
    IconResource& resource = it->second;
    if (!resource.handle) {
        resource.handle = std::make_unique<HICON__>();
        BuildIcon(resource);
    }
    return resource.handle.get();
}
