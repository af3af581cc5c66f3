// Dialog windows: the modal run and its end, destruction through the message map, control
// members attached and detached, and the window built from its template (names, states,
// fonts, placement in dialog units, tab order, initial focus).
#include "ToolkitTestDialog.h"

#include "platform/toolkit/CWinApp.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace toolkit_test;

namespace {

// Runs step once the dialog's modal loop shows its window.
void WhenShown(TestDialog& dialog, std::function<void()> step)
{
    QTimer::singleShot(0, [&dialog, step = std::move(step)] {
        ASSERT_TRUE(WaitUntil([&dialog] { return dialog.Window() && dialog.Window()->isVisible(); }));
        QApplication::setActiveWindow(dialog.Window());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.Window()));
        step();
    });
}

TEST(ModalDialog, RunsUntilEndDialogThenDestroysTheWindowThroughTheMap)
{
    TestDialog dialog;
    dialog.exchange = [&dialog](CDataExchange* pDX) { DDX_Control(pDX, kNameEdit, dialog.m_nameEdit); };
    CWnd* focusAtStart = nullptr;
    bool attached = false;
    bool sameTemporary = false;
    WhenShown(dialog, [&] {
        focusAtStart = CWnd::GetFocus();
        attached = dialog.GetDlgItem(kNameEdit) == &dialog.m_nameEdit && dialog.m_nameEdit.GetDlgCtrlID() == kNameEdit;
        sameTemporary = dialog.GetDlgItem(kCodeEdit) == dialog.GetDlgItem(kCodeEdit)
            && dialog.GetDlgItem(kCodeEdit)->GetDlgCtrlID() == kCodeEdit;
        EXPECT_EQ(dialog.destroyCount, 0);
        dialog.EndDialog(42);
    });

    EXPECT_EQ(dialog.DoModal(), 42);

    EXPECT_EQ(focusAtStart, &dialog.m_nameEdit) << "OnInitDialog returned TRUE: the first tab stop";
    EXPECT_TRUE(attached);
    EXPECT_TRUE(sameTemporary);
    EXPECT_EQ(dialog.destroyCount, 1);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dialog.m_nameEdit.GetSafeHwnd(), nullptr) << "the member detached with the window";
    EXPECT_EQ(dialog.GetDlgItem(kNameEdit), nullptr);

    // A second run builds a new window and attaches the member again.
    WhenShown(dialog, [&dialog] {
        EXPECT_EQ(dialog.GetDlgItem(kNameEdit), &dialog.m_nameEdit);
        dialog.OnCancel();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.destroyCount, 2);
}

TEST(ModalDialog, OnOkEndsOnlyWhenTheExchangeSucceeds)
{
    TestDialog dialog;
    UINT port = 0;
    dialog.exchange = [&port](CDataExchange* pDX) {
        DDX_Text(pDX, kPortEdit, port);
        DDV_MinMaxUInt(pDX, port, 1, 10);
    };
    MessageBoxRecorder boxes;
    boxes.Expect("1와(과) 10 사이의 정수를 입력하십시오.");
    WhenShown(dialog, [&dialog] {
        qobject_cast<QLineEdit*>(dialog.Control("portEdit"))->setText("11");
        dialog.OnOK();
        EXPECT_TRUE(dialog.Window()->isVisible()) << "a failed exchange keeps the dialog open";
        qobject_cast<QLineEdit*>(dialog.Control("portEdit"))->setText("7");
        dialog.OnOK();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(port, 7u);
}

TEST(ModalDialog, EndDialogDuringInitialisationEndsWithoutARun)
{
    TestDialog dialog;
    bool shown = false;
    QObject testScope;
    dialog.onInitDialog = [&] {
        dialog.EndDialog(IDCANCEL);
        QTimer::singleShot(0, &testScope, [&] { shown = true; });
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.destroyCount, 1);
    EXPECT_FALSE(shown) << "no event loop ran";
}

TEST(ModalDialog, MissingTemplateFails)
{
    TestDialog dialog(4242);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.Create(4242), FALSE);
    EXPECT_EQ(dialog.destroyCount, 0);
}

TEST(ModalDialog, OwnedDialogGoesWithItsOwner)
{
    TestDialog owner;
    ASSERT_TRUE(owner.Open());
    TestDialog owned(kBoxDialog, &owner);
    WhenShown(owned, [&owner] { owner.DestroyWindow(); });
    EXPECT_EQ(owned.DoModal(), -1) << "the run ended without EndDialog";
    EXPECT_EQ(owner.destroyCount, 1);
    EXPECT_EQ(owned.destroyCount, 1);
    EXPECT_EQ(owned.GetSafeHwnd(), nullptr);
}

TEST(ModalDialog, InitialFocusSetByTheDialogStays)
{
    TestDialog dialog;
    dialog.initDialogResult = false;
    dialog.onInitDialog = [&dialog] { dialog.GetDlgItem(kPortEdit)->SetFocus(); };
    QString focus;
    WhenShown(dialog, [&] {
        focus = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(focus, QStringLiteral("portEdit"));
}

class TemplateWindow : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Open()); }
    TestDialog dialog;
};

TEST_F(TemplateWindow, ControlsCarryNamesAndStates)
{
    QWidget* window = dialog.Window();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Toolkit test"));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "no sizing frame";

    QWidget* hidden = dialog.Control("hiddenEdit");
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_FALSE(hidden->isEnabled());
    EXPECT_EQ(dialog.GetDlgItem(kHiddenEdit)->IsWindowVisible(), FALSE);
    EXPECT_FALSE(dialog.Control("disabledButton")->isEnabled());
    EXPECT_TRUE(dialog.Control("goButton")->isVisible());

    auto* label = qobject_cast<QLabel*>(dialog.Control("mnemonicStatic"));
    EXPECT_EQ(label->text(), QStringLiteral("Name & more"));
    std::string text;
    dialog.GetDlgItem(kMnemonicStatic)->GetWindowText(text);
    EXPECT_EQ(text, "&Name && more");
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
}

TEST_F(TemplateWindow, GroupBoxLeavesTheMouseToTheControlsInIt)
{
    QWidget* window = dialog.Window();
    auto* group = qobject_cast<QGroupBox*>(dialog.Control("frameGroup"));
    ASSERT_NE(group, nullptr);
    QWidget* name = dialog.Control("nameEdit");
    EXPECT_EQ(window->childAt(name->geometry().center()), name);
    const QPoint insideFrameOnly = group->geometry().topLeft() + QPoint(group->width() - 3, group->height() / 2);
    ASSERT_TRUE(group->geometry().contains(insideFrameOnly));
    QWidget* hit = window->childAt(insideFrameOnly);
    EXPECT_TRUE(hit == nullptr || hit != group) << "the frame takes no mouse input";
}

TEST_F(TemplateWindow, TabWalksTheTabStopsInTemplateOrder)
{
    QWidget* name = dialog.Control("nameEdit");
    name->setFocus();
    QStringList order;
    for (int i = 0; i < 12; ++i) {
        QWidget* focus = QApplication::focusWidget();
        while (focus && focus->objectName().isEmpty())
            focus = focus->parentWidget();
        if (focus && focus->objectName().startsWith("field"))
            focus = focus->parentWidget();
        order << (focus ? focus->objectName() : QStringLiteral("?"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, (QStringList{"nameEdit", "codeEdit", "portEdit", "flagBox", "laterEdit", "itemList",
                                  "sortedList", "choiceBox", "addressBox", "otherAddress", "goButton", "notesEdit"}));
}

// The platform's dialog units: 4 horizontal units to the average character width and
// 8 vertical units to the character height of the dialog's font.
TEST_F(TemplateWindow, ControlsSitAtTheirDialogUnitRectangles)
{
    QWidget* window = dialog.Window();
    const QFontMetrics metrics(window->font());
    const int average = (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2;
    const int height = metrics.height();
    const auto units = [](int value, int base, int divisor) { return (value * base + divisor / 2) / divisor; };

    QWidget* name = dialog.Control("nameEdit");  // 70, 8, 60, 14
    EXPECT_EQ(name->x(), units(70, average, 4));
    EXPECT_EQ(name->y(), units(8, height, 8));
    EXPECT_EQ(name->width(), units(130, average, 4) - units(70, average, 4));
    EXPECT_EQ(name->height(), units(22, height, 8) - units(8, height, 8));
    EXPECT_EQ(window->width(), units(300, average, 4));
    EXPECT_EQ(window->height(), units(160, height, 8));
    // Fifteen characters of the monospaced face fill the 60 units of the box.
    EXPECT_NEAR(metrics.horizontalAdvance(QString(15, QLatin1Char('M'))), name->width(), 15);
}

// The taskbar style makes an ordinary top-level window, which the desktop lists; without it
// the window is a dialog, which a desktop may keep off its taskbar.
TEST(DialogWindowKind, ShownOnTheTaskbarOnlyWithTheTemplatesStyle)
{
    const std::pair<UINT, Qt::WindowType> cases[] = {
        {kControlsDialog, Qt::Window},
        {kBoxDialog, Qt::Dialog},
    };
    for (const auto& [id, kind] : cases) {
        TestDialog dialog(id);
        ASSERT_TRUE(dialog.Open());
        EXPECT_EQ(dialog.Window()->windowType(), kind) << "template " << id;
        EXPECT_TRUE(dialog.Window()->isWindow());
        EXPECT_FALSE(dialog.Window()->windowFlags() & Qt::WindowMinMaxButtonsHint) << "template " << id;
    }
}

struct FontCase {
    UINT dialog;
    const char* face;
    const char* standIn;
};

TEST(DialogFont, TemplateFaceOrItsInstalledStandIn)
{
    const FontCase cases[] = {
        {kControlsDialog, "Lucida Console", "DejaVu Sans Mono"},
        {kBoxDialog, "굴림", "Noto Sans CJK KR"},
    };
    for (const FontCase& c : cases) {
        TestDialog dialog(c.dialog);
        ASSERT_TRUE(dialog.Open());
        const QString face = QString::fromUtf8(c.face);
        const QString expected = QFontDatabase::hasFamily(face) ? face : QString::fromUtf8(c.standIn);
        EXPECT_EQ(QFontInfo(dialog.Window()->font()).family(), expected);
        EXPECT_EQ(QFontInfo(dialog.Window()->font()).pointSize(), 9);
    }
    TestDialog box(kBoxDialog);
    ASSERT_TRUE(box.Open());
    auto* label = qobject_cast<QLabel*>(box.Control("boxText"));
    EXPECT_EQ(label->text(), QStringLiteral("Tom & Jerry 정보")) << "no mnemonic processing";
    EXPECT_TRUE(QFontMetrics(label->font()).inFontUcs4(U'정'));
}

TEST(WindowWrappers, FocusVisibilityAndEnabledState)
{
    TestDialog dialog;
    dialog.exchange = [&dialog](CDataExchange* pDX) { DDX_Control(pDX, kNameEdit, dialog.m_nameEdit); };
    ASSERT_TRUE(dialog.Open());
    CWnd* code = dialog.GetDlgItem(kCodeEdit);
    dialog.m_nameEdit.SetFocus();
    EXPECT_EQ(code->SetFocus(), &dialog.m_nameEdit) << "returns the window that had the focus";
    EXPECT_EQ(CWnd::GetFocus(), code);

    CWnd* hidden = dialog.GetDlgItem(kHiddenEdit);
    EXPECT_EQ(hidden->ShowWindow(SW_SHOW), FALSE);
    EXPECT_EQ(hidden->IsWindowVisible(), TRUE);
    EXPECT_EQ(hidden->ShowWindow(SW_HIDE), TRUE);
    EXPECT_EQ(code->EnableWindow(FALSE), FALSE);
    EXPECT_EQ(code->IsWindowEnabled(), FALSE);

    RECT rect{};
    dialog.GetClientRect(&rect);
    EXPECT_EQ(rect.right, dialog.Window()->width());
    EXPECT_EQ(rect.bottom, dialog.Window()->height());
    dialog.SetWindowText("새 제목");
    std::string title;
    dialog.GetWindowText(title);
    EXPECT_EQ(title, "새 제목");
}

TEST(WindowWrappers, GetDlgItemFollowsControlsAndMembersThatComeAndGo)
{
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open());
    CWnd* temporary = dialog.GetDlgItem(kNameEdit);
    ASSERT_NE(temporary, nullptr);
    EXPECT_NE(temporary, &dialog.m_nameEdit);
    HWND control = temporary->m_hWnd;

    ASSERT_TRUE(dialog.m_nameEdit.Attach(control));
    EXPECT_EQ(dialog.GetDlgItem(kNameEdit), &dialog.m_nameEdit) << "a member attached after a look-up";
    dialog.m_nameEdit.Detach();
    CWnd* again = dialog.GetDlgItem(kNameEdit);
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, &dialog.m_nameEdit) << "a member detached after a look-up";
    EXPECT_EQ(again->m_hWnd, control);

    delete dialog.Control("nameEdit");
    EXPECT_EQ(dialog.GetDlgItem(kNameEdit), nullptr) << "a control deleted after a look-up";
}

} // namespace
