// The main dialog's extended styles: a window the desktop's taskbar shows, and the F/W Update
// group's title at the right end under a right-to-left layout.
#include <QApplication>

#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "platform/toolkit/qt/GroupBoxWidget.h"

namespace {

TEST(WindowStyles, TheMainDialogIsAnOrdinaryTopLevelWindow)
{
    DialogFixture fixture;
    EXPECT_EQ(fixture.window()->windowType(), Qt::Window);
    EXPECT_TRUE(fixture.window()->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(fixture.window()->windowFlags() & Qt::WindowMinMaxButtonsHint);
}

struct TitleCase {
    Qt::LayoutDirection direction;
    const char* group;
    bool titleRight;
};

const TitleCase kTitleCases[] = {
    {Qt::LeftToRight, "updateGroup", false},     {Qt::LeftToRight, "informationGroup", false},
    {Qt::LeftToRight, "macGroup", false},        {Qt::RightToLeft, "updateGroup", true},
    {Qt::RightToLeft, "informationGroup", false}, {Qt::RightToLeft, "macGroup", false},
};

// Restores the left-to-right layout whatever the test does.
struct LayoutDirection {
    explicit LayoutDirection(Qt::LayoutDirection direction) { QApplication::setLayoutDirection(direction); }
    ~LayoutDirection() { QApplication::setLayoutDirection(Qt::LeftToRight); }
};

TEST(WindowStyles, OnlyTheUpdateGroupsTitleAlignsRightAndOnlyRightToLeft)
{
    for (const TitleCase& c : kTitleCases) {
        SCOPED_TRACE(std::string(c.group) + (c.direction == Qt::RightToLeft ? ", right to left" : ", left to right"));
        LayoutDirection direction(c.direction);
        DialogFixture fixture;
        auto* group = fixture.widget<GroupBoxWidget>(c.group);
        ASSERT_NE(group, nullptr);
        const QRect title = group->TitleRect();
        ASSERT_FALSE(title.isEmpty());
        if (c.titleRight)
            EXPECT_GT(title.left(), group->width() / 2);
        else
            EXPECT_LT(title.right(), group->width() / 2);
    }
}

}  // namespace
