// List box and combo box: the wrappers' operations, and LBN_SELCHANGE only for a
// selection the user makes.
#include "ToolkitTestDialog.h"

#include <QComboBox>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace toolkit_test;

namespace {

const std::vector<Notification> kOneSelChange = {{kItemList, LBN_SELCHANGE}};

class ListBox : public testing::Test {
protected:
    void SetUp() override
    {
        dialog.exchange = [this](CDataExchange* pDX) {
            DDX_Control(pDX, kItemList, dialog.m_itemList);
            DDX_Control(pDX, kSortedList, dialog.m_sortedList);
            DDX_Control(pDX, kChoiceBox, dialog.m_choiceBox);
        };
        dialog.onNotification = [this](const Notification&) { selectedInHandler.push_back(dialog.m_itemList.GetCurSel()); };
        ASSERT_TRUE(dialog.Open());
        widget = qobject_cast<QListWidget*>(dialog.Control("itemList"));
        ASSERT_NE(widget, nullptr);
        for (const char* entry : {"zero", "one", "two", "three"})
            dialog.m_itemList.AddString(entry);
        dialog.notifications.clear();
    }

    void ClickRow(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->item(row)).center());
    }

    std::string TextAt(CListBox& list, int index)
    {
        std::string text;
        list.GetText(index, text);
        return text;
    }

    TestDialog dialog;
    QListWidget* widget = nullptr;
    std::vector<int> selectedInHandler;
};

TEST_F(ListBox, ProgramChangesKeepOrderAndNotifyNothing)
{
    CListBox& list = dialog.m_itemList;
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list.AddString("four"), 4);
    EXPECT_EQ(TextAt(list, 4), "four");
    EXPECT_EQ(list.GetCurSel(), LB_ERR);

    EXPECT_EQ(list.SetCurSel(2), 2);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(list.SetCurSel(9), LB_ERR);
    EXPECT_EQ(list.GetCurSel(), 2) << "an index out of range changes nothing";

    EXPECT_EQ(list.DeleteString(0), 4) << "returns the entries left";
    EXPECT_EQ(list.GetCurSel(), 1) << "the selection stays on its entry";
    EXPECT_EQ(TextAt(list, 1), "two");
    EXPECT_EQ(list.DeleteString(1), 3);
    EXPECT_EQ(list.GetCurSel(), LB_ERR) << "deleting the selected entry leaves none selected";
    EXPECT_EQ(list.DeleteString(3), LB_ERR);

    list.SetCurSel(0);
    EXPECT_EQ(list.SetCurSel(-1), LB_ERR);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    std::string text = "unchanged";
    EXPECT_EQ(list.GetText(7, text), LB_ERR);

    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_TRUE(dialog.notifications.empty());
}

// As on the platform, each click on an entry and each navigation key notifies, also when
// the selection stays on the same entry.
TEST_F(ListBox, UserSelectingNotifiesOncePerClickOrKeyWithTheSelectionInPlace)
{
    ClickRow(widget, 2);
    EXPECT_EQ(dialog.notifications, kOneSelChange);
    EXPECT_EQ(selectedInHandler, std::vector<int>{2});

    dialog.notifications.clear();
    ClickRow(widget, 2);
    EXPECT_EQ(dialog.notifications, kOneSelChange) << "clicking the selected entry";

    dialog.notifications.clear();
    QTest::keyClick(widget, Qt::Key_Down);
    QTest::keyClick(widget, Qt::Key_Down);
    EXPECT_EQ(dialog.notifications.size(), 2u) << "Down, then Down on the last entry";
    EXPECT_EQ(selectedInHandler.back(), 3);

    dialog.notifications.clear();
    QTest::keyClick(widget, Qt::Key_O);
    EXPECT_EQ(dialog.notifications, kOneSelChange) << "typing the first letter of \"one\"";
    EXPECT_EQ(selectedInHandler.back(), 1);

    dialog.notifications.clear();
    QTest::keyClick(widget, Qt::Key_X);
    QTest::keyClick(widget, Qt::Key_Left);
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, QPoint(5, widget->viewport()->height() - 2));
    EXPECT_TRUE(dialog.notifications.empty()) << "no entry typed, no navigation, a click below the entries";
    EXPECT_EQ(dialog.m_itemList.GetCurSel(), 1);
}

TEST_F(ListBox, UserCannotClearTheSelection)
{
    ClickRow(widget, 1);
    ClickRow(widget, 1, Qt::ControlModifier);
    EXPECT_EQ(dialog.m_itemList.GetCurSel(), 1);
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, QPoint(5, widget->viewport()->height() - 2));
    EXPECT_EQ(dialog.m_itemList.GetCurSel(), 1) << "a click below the entries";
}

TEST_F(ListBox, SortedListInsertsInPlaceAndWithoutNotifyStyleStaysSilent)
{
    CListBox& sorted = dialog.m_sortedList;
    EXPECT_EQ(sorted.AddString("delta"), 0);
    EXPECT_EQ(sorted.AddString("Alpha"), 0);
    EXPECT_EQ(sorted.AddString("charlie"), 1);
    EXPECT_EQ(sorted.AddString("bravo"), 1);
    EXPECT_EQ(TextAt(sorted, 0), "Alpha");
    EXPECT_EQ(TextAt(sorted, 3), "delta");

    ClickRow(qobject_cast<QListWidget*>(dialog.Control("sortedList")), 2);
    EXPECT_EQ(sorted.GetCurSel(), 2);
    EXPECT_TRUE(dialog.notifications.empty());
}

TEST_F(ListBox, ComboBoxStartsUnselectedAndSelectsByIndex)
{
    CComboBox& combo = dialog.m_choiceBox;
    auto* widgetCombo = qobject_cast<QComboBox*>(dialog.Control("choiceBox"));
    EXPECT_TRUE(widgetCombo->isEditable());
    for (const char* entry : {"4800", "9600", "19200"})
        combo.AddString(entry);
    EXPECT_EQ(combo.GetCount(), 3);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);

    EXPECT_EQ(combo.SetCurSel(1), 1);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(widgetCombo->currentText(), QStringLiteral("9600"));
    std::string text;
    EXPECT_EQ(combo.GetLBText(2, text), 5);
    EXPECT_EQ(text, "19200");
    EXPECT_EQ(combo.GetLBText(3, text), CB_ERR);
    EXPECT_EQ(combo.SetCurSel(3), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(combo.SetCurSel(-1), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
}

} // namespace
