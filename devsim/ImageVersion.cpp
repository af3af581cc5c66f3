#include "devsim/ImageVersion.h"

#include <QByteArrayView>

#include <cctype>

std::optional<std::string> VersionInImage(const QByteArray& image)
{
    static constexpr QByteArrayView kMarker("Brimnet_v");
    const auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    for (qsizetype at = image.indexOf(kMarker); at >= 0; at = image.indexOf(kMarker, at + 1)) {
        const qsizetype v = at + kMarker.size();
        if (v + 4 <= image.size() && digit(image[v]) && image[v + 1] == '.' && digit(image[v + 2]) &&
            digit(image[v + 3]))
            return image.mid(v, 4).toStdString();
    }
    return std::nullopt;
}
