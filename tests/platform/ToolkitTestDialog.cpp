#include "ToolkitTestDialog.h"

#include "platform/toolkit/DialogTemplate.h"
#include "platform/toolkit/ResourceTable.h"
#include "tests/support/Wait.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace toolkit_test {
namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

const DialogControlTemplate kControls[] = {
    {ControlKind::GroupBox, IDC_STATIC, "frameGroup", "Frame", 2, 2, 180, 120, kChild | BS_GROUPBOX, 0},
    {ControlKind::Static, kMnemonicStatic, "mnemonicStatic", "&Name && more", 6, 10, 60, 8, kChild | SS_LEFT, 0},
    {ControlKind::Edit, kNameEdit, "nameEdit", "", 70, 8, 60, 14, kEdit, 0},
    {ControlKind::Edit, kCodeEdit, "codeEdit", "", 70, 24, 20, 14, kEdit | ES_CENTER | ES_UPPERCASE, 0},
    {ControlKind::Edit, kPortEdit, "portEdit", "", 70, 40, 40, 14, kEdit, 0},
    {ControlKind::CheckBox, kFlagBox, "flagBox", "Flag", 70, 56, 50, 10, kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {ControlKind::Edit, kLaterEdit, "laterEdit", "", 70, 70, 60, 14, kEdit, 0},
    {ControlKind::ListBox, kItemList, "itemList", nullptr, 6, 88, 80, 40,
     kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0},
    {ControlKind::ListBox, kSortedList, "sortedList", nullptr, 90, 88, 80, 40,
     kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_SORT, 0},
    {ControlKind::ComboBox, kChoiceBox, "choiceBox", nullptr, 190, 8, 60, 60, kChild | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN, 0},
    {ControlKind::IpAddress, kAddressBox, "addressBox", nullptr, 190, 30, 100, 14, kChild | WS_TABSTOP, 0},
    {ControlKind::IpAddress, kOtherAddress, "otherAddress", nullptr, 190, 48, 100, 14, kChild | WS_TABSTOP, 0},
    {ControlKind::PushButton, kGoButton, "goButton", "Go", 190, 66, 50, 14, kChild | WS_TABSTOP, 0},
    {ControlKind::Edit, kHiddenEdit, "hiddenEdit", "", 190, 84, 50, 14, WS_CHILD | WS_DISABLED | WS_BORDER | WS_TABSTOP, 0},
    {ControlKind::Edit, kNotesEdit, "notesEdit", "", 190, 100, 100, 30,
     kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL, 0},
    {ControlKind::Edit, kReadOnlyEdit, "readOnlyEdit", "", 190, 134, 100, 14, kEdit | ES_READONLY, 0},
    {ControlKind::PushButton, kDisabledButton, "disabledButton", "Off", 250, 66, 40, 14, kChild | WS_DISABLED | WS_TABSTOP, 0},
};

const DialogTemplate kControlsTemplate{
    static_cast<int>(kControlsDialog),
    "Toolkit test",
    0, 0, 300, 160,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
    WS_EX_APPWINDOW,
    "Lucida Console", 9,
    kControls,
};

// A box like an About box: a default OK button and the Korean face.
const DialogControlTemplate kBoxControls[] = {
    {ControlKind::Static, IDC_STATIC, "boxText", "Tom & Jerry 정보", 40, 10, 119, 8, kChild | SS_NOPREFIX | WS_GROUP, 0},
    {ControlKind::PushButton, IDOK, "okButton", "확인", 178, 7, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0},
    {ControlKind::Edit, kNameEdit, "boxEdit", "", 40, 24, 60, 14, kEdit, 0},
};

const DialogTemplate kBoxTemplate{
    static_cast<int>(kBoxDialog),
    "상자",
    0, 0, 235, 55,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0,
    "굴림", 9,
    kBoxControls,
};

// Two group boxes alike but for the right-aligned extended style.
const DialogControlTemplate kGroupControls[] = {
    {ControlKind::GroupBox, IDC_STATIC, "leftGroup", "Left", 4, 4, 192, 24, kChild | BS_GROUPBOX, 0},
    {ControlKind::GroupBox, IDC_STATIC, "rightGroup", "Right", 4, 32, 192, 24, kChild | BS_GROUPBOX, WS_EX_RIGHT},
};

const DialogTemplate kGroupsTemplate{
    static_cast<int>(kGroupsDialog),
    "Groups",
    0, 0, 200, 60,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
    0,
    "Lucida Console", 9,
    kGroupControls,
};

} // namespace

void RegisterTestResources()
{
    ResourceTable::AddDialog(kControlsTemplate);
    ResourceTable::AddDialog(kBoxTemplate);
    ResourceTable::AddDialog(kGroupsTemplate);
}

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_DESTROY()
    ON_EN_UPDATE(kNameEdit, &TestDialog::OnNameUpdate)
    ON_EN_CHANGE(kNameEdit, &TestDialog::OnNameChange)
    ON_EN_UPDATE(kCodeEdit, &TestDialog::OnCodeUpdate)
    ON_EN_UPDATE(kPortEdit, &TestDialog::OnPortUpdate)
    ON_EN_CHANGE(kNotesEdit, &TestDialog::OnNotesChange)
    ON_LBN_SELCHANGE(kItemList, &TestDialog::OnItemSelChange)
    ON_LBN_SELCHANGE(kSortedList, &TestDialog::OnSortedSelChange)
    ON_BN_CLICKED(kGoButton, &TestDialog::OnGo)
    ON_BN_CLICKED(kFlagBox, &TestDialog::OnFlag)
END_MESSAGE_MAP()

TestDialog::TestDialog(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent), m_template(nIDTemplate)
{
    RegisterTestResources();
}

TestDialog::~TestDialog()
{
    DestroyWindow();
}

bool TestDialog::Open()
{
    if (!Create(m_template))
        return false;
    QWidget* window = Window();
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

QWidget* TestDialog::Window() const
{
    return reinterpret_cast<QWidget*>(m_hWnd);
}

QWidget* TestDialog::Control(const char* objectName) const
{
    QWidget* found = Window() ? Window()->findChild<QWidget*>(QString::fromLatin1(objectName)) : nullptr;
    EXPECT_NE(found, nullptr) << "no control " << objectName;
    return found;
}

void TestDialog::DoDataExchange(CDataExchange* pDX)
{
    if (exchange)
        exchange(pDX);
}

BOOL TestDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (onInitDialog)
        onInitDialog();
    return initDialogResult ? TRUE : FALSE;
}

BOOL TestDialog::PreTranslateMessage(MSG* pMsg)
{
    filtered.push_back(*pMsg);
    if (consume && consume(*pMsg))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void TestDialog::OnOK()
{
    ++okCount;
    CDialog::OnOK();
}

void TestDialog::OnCancel()
{
    ++cancelCount;
    if (endOnCancel)
        CDialog::OnCancel();
}

void TestDialog::OnSysCommand(UINT nID, LPARAM lParam)
{
    sysCommands.emplace_back(nID, lParam);
    CDialog::OnSysCommand(nID, lParam);
}

void TestDialog::OnDestroy()
{
    ++destroyCount;
    CDialog::OnDestroy();
}

void TestDialog::Record(int id, UINT code)
{
    notifications.push_back(Notification{id, code});
    if (onNotification)
        onNotification(notifications.back());
}

void TestDialog::OnNameUpdate() { Record(kNameEdit, EN_UPDATE); }
void TestDialog::OnNameChange() { Record(kNameEdit, EN_CHANGE); }
void TestDialog::OnCodeUpdate() { Record(kCodeEdit, EN_UPDATE); }
void TestDialog::OnPortUpdate() { Record(kPortEdit, EN_UPDATE); }
void TestDialog::OnNotesChange() { Record(kNotesEdit, EN_CHANGE); }
void TestDialog::OnItemSelChange() { Record(kItemList, LBN_SELCHANGE); }
void TestDialog::OnSortedSelChange() { Record(kSortedList, LBN_SELCHANGE); }
void TestDialog::OnGo() { Record(kGoButton, BN_CLICKED); }
void TestDialog::OnFlag() { Record(kFlagBox, BN_CLICKED); }

QString Text(const QWidget* edit)
{
    if (auto* line = qobject_cast<const QLineEdit*>(edit))
        return line->text();
    if (auto* multi = qobject_cast<const QPlainTextEdit*>(edit))
        return multi->toPlainText();
    return QString();
}

} // namespace toolkit_test
