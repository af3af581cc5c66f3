#include "platform/toolkit/ResourceTable.h"

#include "platform/toolkit/qt/QtHandles.h"

#include <QImage>
#include <QPixmap>

#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

struct IconResource {
    std::vector<QImage> images;
    std::unique_ptr<HICON__> handle;
};

std::map<int, DialogTemplate>& Dialogs()
{
    static std::map<int, DialogTemplate> dialogs;
    return dialogs;
}

std::map<UINT, std::string>& Strings()
{
    static std::map<UINT, std::string> strings;
    return strings;
}

std::map<int, IconResource>& Icons()
{
    static std::map<int, IconResource> icons;
    return icons;
}

QImage ImageOf(const IconImage& image)
{
    if (image.size <= 0 || image.rows == nullptr)
        throw std::invalid_argument("icon image without size or rows");
    QImage result(image.size, image.size, QImage::Format_ARGB32);
    for (int y = 0; y < image.size; ++y) {
        const char* row = image.rows[y];
        if (row == nullptr || std::strlen(row) != static_cast<std::size_t>(image.size))
            throw std::invalid_argument("icon row " + std::to_string(y) + " is not " + std::to_string(image.size) + " wide");
        for (int x = 0; x < image.size; ++x) {
            if (row[x] == '.') {
                result.setPixel(x, y, 0);
                continue;
            }
            const int index = row[x] - 'a';
            if (index < 0 || static_cast<std::size_t>(index) >= image.palette.size())
                throw std::invalid_argument(std::string("icon pixel '") + row[x] + "' has no palette entry");
            result.setPixel(x, y, image.palette[static_cast<std::size_t>(index)]);
        }
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

void ResourceTable::AddDialog(const DialogTemplate& dialog)
{
    Dialogs().insert_or_assign(dialog.id, dialog);
}

const DialogTemplate* ResourceTable::FindDialog(int id)
{
    const auto it = Dialogs().find(id);
    return it == Dialogs().end() ? nullptr : &it->second;
}

void ResourceTable::AddString(UINT id, const char* utf8)
{
    Strings().insert_or_assign(id, utf8 ? utf8 : "");
}

std::string ResourceTable::LoadString(UINT id)
{
    const auto it = Strings().find(id);
    return it == Strings().end() ? std::string() : it->second;
}

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

std::string AfxLoadString(UINT id)
{
    return ResourceTable::LoadString(id);
}
