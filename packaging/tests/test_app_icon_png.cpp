// The icon theme's images against the program's icon as the toolkit shows it: the same
// pixels at the program's own sizes, whole-pixel enlargements of them above.
#include "packaging/icon/AppIconPng.h"

#include "platform/toolkit/qt/QtHandles.h"
#include "platform/toolkit/ResourceTable.h"
#include "ui/Resource.h"
#include "ui/Resources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

QImage ProgramIcon(int size)
{
    RegisterResources();
    const HICON icon = ResourceTable::LoadIcon(IDR_MAINFRAME);
    if (icon == nullptr)
        return {};
    return icon->icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(AppIconPng, TheProgramsOwnSizesAreItsImagesUnchanged)
{
    for (const int size : {16, 32}) {
        const QImage program = ProgramIcon(size);
        ASSERT_EQ(program.size(), QSize(size, size));
        EXPECT_EQ(AppIconAt(size), program) << size << " px";
    }
}

struct Enlargement {
    int size;
    int sourceSize;
};

class AppIconEnlargement : public testing::TestWithParam<Enlargement> {};

TEST_P(AppIconEnlargement, EachProgramPixelBecomesASquare)
{
    const auto [size, sourceSize] = GetParam();
    const QImage source = ProgramIcon(sourceSize);
    const QImage icon = AppIconAt(size);
    ASSERT_EQ(icon.size(), QSize(size, size));
    const int scale = size / sourceSize;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            ASSERT_EQ(icon.pixel(x, y), source.pixel(x / scale, y / scale)) << "at " << x << "," << y;
    }
}

// 48 is no multiple of 32, so it comes from the 16 px image.
INSTANTIATE_TEST_SUITE_P(ThemeSizes, AppIconEnlargement,
                         testing::Values(Enlargement{48, 16}, Enlargement{128, 32}, Enlargement{256, 32}),
                         [](const testing::TestParamInfo<Enlargement>& info) {
                             return std::to_string(info.param.size) + "px";
                         });

TEST(AppIconPng, NoImageForASizeNoProgramImageDivides)
{
    for (const int size : {24, 40, 0, -16})
        EXPECT_TRUE(AppIconAt(size).isNull()) << size;
}

}  // namespace
