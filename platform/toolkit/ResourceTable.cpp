// The resource table's dialogs and strings, and the icon images' pixels: the same on every
// backend; each backend makes its own icons from the pixels (ResourceIcons.cpp).
#include "platform/toolkit/ResourceTable.h"

#include "platform/toolkit/IconPixels.h"

#include <cstring>
#include <map>
#include <stdexcept>

namespace {

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

} // namespace

IconPixels PixelsOf(const IconImage& image)
{
    if (image.size <= 0 || image.rows == nullptr)
        throw std::invalid_argument("icon image without size or rows");
    IconPixels pixels{image.size, {}};
    pixels.argb.reserve(static_cast<std::size_t>(image.size) * static_cast<std::size_t>(image.size));
    for (int y = 0; y < image.size; ++y) {
        const char* row = image.rows[y];
        if (row == nullptr || std::strlen(row) != static_cast<std::size_t>(image.size))
            throw std::invalid_argument("icon row " + std::to_string(y) + " is not " + std::to_string(image.size) + " wide");
        for (int x = 0; x < image.size; ++x) {
            if (row[x] == '.') {
                pixels.argb.push_back(0);
                continue;
            }
            const int index = row[x] - 'a';
            if (index < 0 || static_cast<std::size_t>(index) >= image.palette.size())
                throw std::invalid_argument(std::string("icon pixel '") + row[x] + "' has no palette entry");
            pixels.argb.push_back(image.palette[static_cast<std::size_t>(index)]);
        }
    }
    return pixels;
}

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

std::string AfxLoadString(UINT id)
{
    return ResourceTable::LoadString(id);
}
