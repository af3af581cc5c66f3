// The system menu and the ways out of a dialog: the popup with the platform's items and the
// program's, the close box, Alt+F4, Close, Esc and Enter, each reaching the message map and
// OnCancel or OnOK as on the platform.
#include "ToolkitTestDialog.h"

#include "platform/toolkit/CMenu.h"
#include "tests/support/Wait.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

using namespace toolkit_test;

namespace {

constexpr UINT kAboutCommand = 16;

class SystemMenu : public testing::Test {
protected:
    void SetUp() override
    {
        dialog.onInitDialog = [this] {
            CMenu* menu = dialog.GetSystemMenu(FALSE);
            menu->AppendMenu(MF_SEPARATOR);
            menu->AppendMenu(MF_STRING, kAboutCommand, "정보(&A)...");
        };
        ASSERT_TRUE(dialog.Open());
    }

    QMenu* OpenPopup()
    {
        if (!WaitUntil([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; }))
            return nullptr;
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }

    QAction* Item(QMenu* menu, const QString& text)
    {
        for (QAction* action : menu->actions()) {
            if (action->text() == text)
                return action;
        }
        ADD_FAILURE() << "no menu item " << text.toStdString();
        return nullptr;
    }

    // A point of the dialog that no control covers.
    QPoint Background()
    {
        QWidget* window = dialog.Window();
        for (int y = window->height() - 2; y > 0; y -= 3) {
            for (int x = window->width() - 2; x > 0; x -= 3) {
                QWidget* child = window->childAt(x, y);
                if (child == nullptr)
                    return QPoint(x, y);
            }
        }
        ADD_FAILURE() << "the dialog has no background left";
        return QPoint();
    }

    TestDialog dialog;
};

TEST_F(SystemMenu, HoldsThePlatformItemsThenTheProgramsOwn)
{
    CMenu* menu = dialog.GetSystemMenu(FALSE);
    ASSERT_EQ(menu->GetMenuItemCount(), 5);
    EXPECT_EQ(menu->GetMenuItemID(0), SC_MOVE);
    EXPECT_EQ(menu->GetMenuItemID(2), SC_CLOSE);
    EXPECT_EQ(menu->GetMenuItemID(3), 0u) << "a separator";
    EXPECT_EQ(menu->GetMenuItemID(4), kAboutCommand);
    std::string text;
    EXPECT_GT(menu->GetMenuString(kAboutCommand, text, MF_BYCOMMAND), 0);
    EXPECT_EQ(text, "정보(&A)...");
    menu->GetMenuString(2, text, MF_BYPOSITION);
    EXPECT_EQ(text, "&Close\tAlt+F4");

    QWidget* name = dialog.Control("nameEdit");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Space, Qt::AltModifier);
    QMenu* popup = OpenPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->objectName(), QStringLiteral("systemMenu"));
    QStringList shown;
    for (QAction* action : popup->actions())
        shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(shown, (QStringList{"&Move", "-", "&Close\tAlt+F4", "-", "정보(&A)..."}));
    EXPECT_TRUE(Text(name).isEmpty()) << "Alt+Space typed nothing";
    popup->close();

    EXPECT_EQ(dialog.GetSystemMenu(TRUE), nullptr);
    EXPECT_EQ(dialog.GetSystemMenu(FALSE)->GetMenuItemCount(), 3) << "reverted to the platform items";
}

TEST_F(SystemMenu, AppendedItemReachesOnSysCommand)
{
    QTest::mouseClick(dialog.Window(), Qt::RightButton, {}, Background());
    QMenu* popup = OpenPopup();
    ASSERT_NE(popup, nullptr);
    QAction* about = Item(popup, "정보(&A)...");
    ASSERT_NE(about, nullptr);
    about->trigger();
    popup->close();
    ASSERT_TRUE(WaitUntil([this] { return !dialog.sysCommands.empty(); }));
    EXPECT_EQ(dialog.sysCommands.front().first, kAboutCommand);
    EXPECT_EQ(dialog.cancelCount, 0);
    EXPECT_TRUE(dialog.Window()->isVisible());
}

TEST_F(SystemMenu, CloseItemGoesThroughOnSysCommandToOnCancel)
{
    QTest::mouseClick(dialog.Window(), Qt::RightButton, {}, Background());
    QMenu* popup = OpenPopup();
    ASSERT_NE(popup, nullptr);
    QAction* close = Item(popup, "&Close\tAlt+F4");
    ASSERT_NE(close, nullptr);
    close->trigger();
    popup->close();
    ASSERT_TRUE(WaitUntil([this] { return dialog.cancelCount == 1; }));
    ASSERT_EQ(dialog.sysCommands.size(), 1u);
    EXPECT_EQ(dialog.sysCommands.front().first, SC_CLOSE);
    EXPECT_EQ(dialog.GetModalResult(), IDCANCEL);
    EXPECT_FALSE(dialog.Window()->isVisible());
}

TEST_F(SystemMenu, CloseBoxAndAltF4GoToOnCancelAndCloseNothingThemselves)
{
    dialog.endOnCancel = false;
    EXPECT_FALSE(dialog.Window()->close()) << "the window manager's close request is refused";
    ASSERT_TRUE(WaitUntil([this] { return dialog.cancelCount == 1; }));
    QWidget* name = dialog.Control("nameEdit");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_F4, Qt::AltModifier);
    ASSERT_TRUE(WaitUntil([this] { return dialog.cancelCount == 2; }));
    EXPECT_EQ(dialog.sysCommands.size(), 2u);
    for (const auto& command : dialog.sysCommands)
        EXPECT_EQ(command.first, SC_CLOSE);
    EXPECT_TRUE(dialog.Window()->isVisible()) << "only the program ends the dialog";

    dialog.endOnCancel = true;
    dialog.Window()->close();
    ASSERT_TRUE(WaitUntil([this] { return !dialog.Window()->isVisible(); }));
}

TEST_F(SystemMenu, MinimiseAndRestoreCommands)
{
    dialog.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(dialog.IsIconic(), TRUE);
    dialog.SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(dialog.IsIconic(), FALSE);
}

TEST(DialogKeys, EscapeCancelsAndEnterGoesToTheDefaultCommand)
{
    {
        TestDialog dialog;
        ASSERT_TRUE(dialog.Open());
        QWidget* name = dialog.Control("nameEdit");
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Escape);
        EXPECT_EQ(dialog.cancelCount, 1);
        EXPECT_EQ(dialog.GetModalResult(), IDCANCEL);
    }
    {
        TestDialog dialog;
        ASSERT_TRUE(dialog.Open());
        QWidget* go = dialog.Control("goButton");
        go->setFocus();
        QTest::keyClick(go, Qt::Key_Return);
        EXPECT_EQ(dialog.notifications, (std::vector<Notification>{{kGoButton, BN_CLICKED}})) << "a focused button";
        EXPECT_EQ(dialog.okCount, 0);
        QWidget* name = dialog.Control("nameEdit");
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_EQ(dialog.okCount, 1) << "no default button: the OK command";
    }
    {
        TestDialog box(kBoxDialog);
        ASSERT_TRUE(box.Open());
        QWidget* edit = box.Control("boxEdit");
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(box.okCount, 1) << "the default button, id 1";
        EXPECT_EQ(box.GetModalResult(), IDOK);
    }
}

} // namespace

// Shift+F10 and the Menu key reach the system menu where a window manager keeps Alt+Space
// for its own menu; from an edit they open it instead of typing anything.
TEST_F(SystemMenu, ContextMenuKeysOpenItFromTheKeyboard)
{
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {{"Shift+F10", Qt::Key_F10, Qt::ShiftModifier}, {"Menu", Qt::Key_Menu, Qt::NoModifier}};
    QWidget* name = dialog.Control("nameEdit");
    for (const auto& key : keys) {
        SCOPED_TRACE(key.name);
        name->setFocus();
        QTest::keyClick(name, key.key, key.modifiers);
        QMenu* popup = OpenPopup();
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->objectName(), QStringLiteral("systemMenu"));
        ASSERT_NE(Item(popup, "정보(&A)..."), nullptr);
        popup->close();
        EXPECT_TRUE(Text(name).isEmpty());
    }
}

TEST_F(SystemMenu, OtherF10KeysDoNotOpenIt)
{
    QWidget* name = dialog.Control("nameEdit");
    name->setFocus();
    for (const Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::ControlModifier | Qt::ShiftModifier}) {
        QTest::keyClick(name, Qt::Key_F10, modifiers);
        EXPECT_FALSE(WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }, 200));
    }
}
