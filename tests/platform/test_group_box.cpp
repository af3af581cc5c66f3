// Group boxes drawn as the platform draws them: the frame's top line runs through the middle
// of the title, which interrupts it; the right-aligned extended style puts the title at the
// right end, under a right-to-left layout only.
#include "ToolkitTestDialog.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <algorithm>

#include <gtest/gtest.h>

using namespace toolkit_test;

namespace {

// What one group box looks like on the screen, read from its pixels.
struct GroupPicture {
    QImage image;
    QColor background;

    bool Ink(int x, int y) const { return image.pixelColor(x, y) != background; }

    // The first row from the top in which the frame's side at column x shows.
    int FrameRowAt(int x) const
    {
        for (int y = 0; y < image.height(); ++y)
            if (Ink(x, y))
                return y;
        return -1;
    }
};

GroupPicture Picture(const TestDialog& dialog, const char* name)
{
    QWidget* window = dialog.Window();
    QWidget* group = dialog.Control(name);
    const QImage whole = window->grab().toImage();
    const qreal ratio = whole.devicePixelRatio();
    const QRect area(group->geometry().topLeft() * ratio, group->geometry().size() * ratio);
    return GroupPicture{whole.copy(area), window->palette().color(QPalette::Window)};
}

// Restores the left-to-right layout whatever the test does.
struct LayoutDirection {
    explicit LayoutDirection(Qt::LayoutDirection direction) { QApplication::setLayoutDirection(direction); }
    ~LayoutDirection() { QApplication::setLayoutDirection(Qt::LeftToRight); }
};

struct TitleCase {
    const char* name;
    Qt::LayoutDirection direction;
    const char* group;
    bool titleRight;
};

const TitleCase kTitleCases[] = {
    {"plain group, left to right", Qt::LeftToRight, "leftGroup", false},
    {"right-aligned group, left to right", Qt::LeftToRight, "rightGroup", false},
    {"plain group, right to left", Qt::RightToLeft, "leftGroup", false},
    {"right-aligned group, right to left", Qt::RightToLeft, "rightGroup", true},
};

TEST(GroupBox, TitleSitsOnTheFrameLineAtItsEnd)
{
    for (const TitleCase& c : kTitleCases) {
        SCOPED_TRACE(c.name);
        LayoutDirection direction(c.direction);
        TestDialog dialog(kGroupsDialog);
        ASSERT_TRUE(dialog.Open());
        const GroupPicture picture = Picture(dialog, c.group);
        const int width = picture.image.width();

        // The frame's side away from the title shows where its top line runs.
        const int frameRow = picture.FrameRowAt(c.titleRight ? 1 : width - 2);
        ASSERT_GT(frameRow, 0) << "the frame starts at the very top: no room for the title's upper half";
        for (int x = 0; x < width; x += width - 1)
            EXPECT_TRUE(picture.Ink(x, frameRow)) << "the top line reaches the corner at " << x;

        // The title: what is drawn above the top line.
        int left = width;
        int right = -1;
        for (int y = 0; y < frameRow; ++y) {
            for (int x = 0; x < width; ++x) {
                if (picture.Ink(x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        ASSERT_LE(left, right) << "nothing drawn above the frame line";
        if (c.titleRight)
            EXPECT_GT(left, width / 2) << "the title is not at the right end";
        else
            EXPECT_LT(right, width / 2) << "the title is not at the left end";

        // The title reaches below the line, and the line stops on both sides of it.
        bool inkBelowTheLine = false;
        for (int x = left; x <= right; ++x)
            inkBelowTheLine = inkBelowTheLine || picture.Ink(x, frameRow + 2);
        EXPECT_TRUE(inkBelowTheLine) << "the title sits above the frame, not on its line";
        EXPECT_FALSE(picture.Ink(left - 1, frameRow)) << "the line runs into the title";
        EXPECT_FALSE(picture.Ink(right + 1, frameRow)) << "the line runs into the title";
    }
}

} // namespace
