#pragma once
// The version a simulated device runs after a firmware download: the first "Brimnet_v"
// followed by d.dd among the image's bytes, as the images of this family carry their name.

#include <QByteArray>

#include <optional>
#include <string>

/// "3.08" for an image holding "Brimnet_v3.08"; std::nullopt when it holds no such text.
std::optional<std::string> VersionInImage(const QByteArray& image);
