#pragma once
// The program's icon for the desktop's icon theme, made from the program's own images.

#include <QImage>

#include <array>

// The sizes, in pixels, the package installs into the hicolor theme.
inline constexpr std::array<int, 5> kThemeIconSizes{16, 32, 48, 128, 256};

// The icon at size x size: the largest of the program's images whose size divides it,
// each of its pixels made a square of whole pixels so that the drawing stays sharp. A null
// image when no image of the program divides the size.
QImage AppIconAt(int size);
