// The minimised main dialog paints its icon in the middle of its client area.
#include <QColor>
#include <QImage>
#include <QRegion>
#include <QWidget>

#include <gtest/gtest.h>

#include "DialogFixture.h"

namespace {

// What the window paints itself, without its controls on top: a minimised window shows no
// controls.
QImage OwnPainting(QWidget* window)
{
    QImage image(window->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    window->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

TEST(MinimisedIcon, IconIsDrawnCentred)
{
    DialogFixture fixture;
    QWidget* window = fixture.window();
    window->showMinimized();
    ASSERT_TRUE(fixture.dialog().IsIconic());

    const QImage image = OwnPainting(window);
    const int x = (image.width() - 32 + 1) / 2;
    const int y = (image.height() - 32 + 1) / 2;
    // Row 16 of the icon runs through the device's light-blue face; its corners are clear.
    EXPECT_EQ(QColor(image.pixel(x + 16, y + 16)), QColor(0x8F, 0xB4, 0xF0));
    EXPECT_EQ(QColor(image.pixel(x + 2, y + 27)), QColor(0x20, 0x20, 0x20));
    EXPECT_NE(QColor(image.pixel(x, y)), QColor(0x8F, 0xB4, 0xF0));
}

TEST(MinimisedIcon, NormalWindowPaintsNoIcon)
{
    DialogFixture fixture;
    ASSERT_FALSE(fixture.dialog().IsIconic());
    const QImage image = OwnPainting(fixture.window());
    const int x = (image.width() - 32 + 1) / 2;
    const int y = (image.height() - 32 + 1) / 2;
    EXPECT_NE(QColor(image.pixel(x + 16, y + 16)), QColor(0x8F, 0xB4, 0xF0));
}

}  // namespace
