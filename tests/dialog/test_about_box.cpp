// The About box, opened from the main dialog's system menu.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "platform/toolkit/CWinApp.h"
#include "tests/support/Wait.h"
#include "ui/Resource.h"

namespace {

struct SeenAboutBox {
    bool seen = false;
    QString caption;
    QStringList labels;
    QString iconName;  // what a screen reader calls the program's image
};

// Once the About box is up, records what it shows and closes it with the key given. It
// polls from a timer instead of waiting, since the box's own modal loop runs beneath
// whatever opened it.
void CloseAboutBoxWhenOpen(SeenAboutBox& about, Qt::Key key)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &about, key] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        about.seen = true;
        about.caption = box->windowTitle();
        for (QLabel* label : box->findChildren<QLabel*>())
            if (!label->text().isEmpty())
                about.labels << label->text();
        if (QWidget* icon = box->findChild<QWidget*>(QStringLiteral("aboutIcon")))
            about.iconName = QAccessible::queryAccessibleInterface(icon)->text(QAccessible::Name);
        QApplication::setActiveWindow(box);
        QTest::keyClick(box, key);
    });
    poll->start(10);
}

TEST(AboutBox, OpensFromTheSystemMenuAndClosesWithEnter)
{
    DialogFixture fixture;
    SeenAboutBox about;

    QTimer::singleShot(0, [&about] {
        ASSERT_TRUE(WaitUntil([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; }));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        EXPECT_EQ(menu->objectName(), QStringLiteral("systemMenu"));
        QAction* aboutItem = nullptr;
        for (QAction* action : menu->actions())
            if (action->text() == QStringLiteral("Lanvista 정보(&A)..."))
                aboutItem = action;
        ASSERT_NE(aboutItem, nullptr);
        // The last separator and item are the program's own.
        EXPECT_EQ(menu->actions().last(), aboutItem);
        EXPECT_TRUE(menu->actions().at(menu->actions().size() - 2)->isSeparator());
        CloseAboutBoxWhenOpen(about, Qt::Key_Return);
        aboutItem->trigger();
        menu->close();
    });
    QTest::keyClick(fixture.window(), Qt::Key_Space, Qt::AltModifier);

    ASSERT_TRUE(WaitUntil([&about] { return about.seen && !QApplication::activeModalWidget(); }));
    EXPECT_EQ(about.caption, QStringLiteral("Lanvista 정보"));
    EXPECT_TRUE(about.labels.contains(QStringLiteral("Lanvista 버전 1.13")));
    // Enter and Esc are swallowed by the main dialog only; the main dialog is still open.
    EXPECT_TRUE(fixture.window()->isVisible());
}

TEST(AboutBox, ClosesWithEscape)
{
    DialogFixture fixture;
    SeenAboutBox about;
    CloseAboutBoxWhenOpen(about, Qt::Key_Escape);
    fixture.dialog().SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);

    EXPECT_TRUE(about.seen);
    EXPECT_EQ(about.iconName, QString::fromUtf8(AfxGetAppName()));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(fixture.window()->isVisible());
}

}  // namespace
