#include "ContractDialog.h"

#include "platform/toolkit/DialogTemplate.h"
#include "platform/toolkit/ResourceTable.h"
#include "tests/support/DialogDriver.h"

#include <gtest/gtest.h>

namespace contract {
namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

const DialogControlTemplate kControls[] = {
    {ControlKind::Static, kNameLabel, "nameLabel", kNameLabelText, 6, 10, 40, 8, kChild | SS_LEFT | WS_GROUP, 0},
    {ControlKind::Edit, kNameEdit, "nameEdit", "", 50, 8, 80, 14, kEdit, 0},
    {ControlKind::Edit, kPortEdit, "portEdit", "", 50, 26, 40, 14, kEdit, 0},
    {ControlKind::PushButton, kGoButton, "goButton", kGoText, 140, 8, 60, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {ControlKind::ListBox, kItemList, "itemList", nullptr, 6, 44, 90, 50,
     kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0},
    {ControlKind::CheckBox, kFlagBox, "flagBox", "Flag", 140, 28, 50, 10, kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {ControlKind::Edit, kLaterEdit, "laterEdit", "", 110, 44, 60, 14, kEdit, 0},
    {ControlKind::Edit, kHiddenEdit, "hiddenEdit", "", 110, 62, 60, 14, WS_CHILD | WS_BORDER | WS_TABSTOP, 0},
    {ControlKind::PushButton, kOffButton, "offButton", "Off", 140, 80, 40, 14, kChild | WS_DISABLED | WS_TABSTOP, 0},
    {ControlKind::IpAddress, kAddressBox, "addressBox", nullptr, 6, 98, 100, 14, kChild | WS_TABSTOP, 0},
    {ControlKind::ComboBox, kChoiceBox, "choiceBox", nullptr, 110, 98, 60, 60,
     kChild | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN, 0},
};

const DialogTemplate kTemplate{
    static_cast<int>(kDialog),
    kCaption,
    0, 0, 210, 116,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
    WS_EX_APPWINDOW,
    "Lucida Console", 9,
    kControls,
};

} // namespace

void RegisterContractResources()
{
    ResourceTable::AddDialog(kTemplate);
}

BEGIN_MESSAGE_MAP(ContractDialog, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_DESTROY()
    ON_EN_UPDATE(kNameEdit, &ContractDialog::OnNameUpdate)
    ON_EN_CHANGE(kNameEdit, &ContractDialog::OnNameChange)
    ON_BN_CLICKED(kGoButton, &ContractDialog::OnGo)
    ON_LBN_SELCHANGE(kItemList, &ContractDialog::OnItemSelChange)
    ON_BN_CLICKED(kFlagBox, &ContractDialog::OnFlag)
END_MESSAGE_MAP()

ContractDialog::ContractDialog() : CDialog(kDialog)
{
    RegisterContractResources();
}

void ContractDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kNameEdit, m_nameEdit);
    DDX_Control(pDX, kItemList, m_itemList);
    DDX_Control(pDX, kFlagBox, m_flagBox);
    DDX_Control(pDX, kAddressBox, m_addressBox);
    DDX_Control(pDX, kChoiceBox, m_choiceBox);
    if (exchange)
        exchange(pDX);
}

BOOL ContractDialog::OnInitDialog()
{
    visibleDuringInit = IsWindowVisible() != FALSE;
    return CDialog::OnInitDialog();
}

BOOL ContractDialog::PreTranslateMessage(MSG* pMsg)
{
    filtered.push_back(*pMsg);
    if (consume && consume(*pMsg))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void ContractDialog::OnSysCommand(UINT nID, LPARAM lParam)
{
    sysCommands.push_back(nID);
    CDialog::OnSysCommand(nID, lParam);
}

void ContractDialog::OnDestroy()
{
    ++destroyCount;
    CDialog::OnDestroy();
}

void ContractDialog::OnNameUpdate()
{
    notifications.push_back({kNameEdit, EN_UPDATE});
}

void ContractDialog::OnNameChange()
{
    notifications.push_back({kNameEdit, EN_CHANGE});
}

void ContractDialog::OnGo()
{
    notifications.push_back({kGoButton, BN_CLICKED});
}

void ContractDialog::OnItemSelChange()
{
    notifications.push_back({kItemList, LBN_SELCHANGE});
}

void ContractDialog::OnFlag()
{
    notifications.push_back({kFlagBox, BN_CLICKED});
}

INT_PTR RunModal(ContractDialog& dialog, const std::function<void()>& steps)
{
    driver::RunSoon([&dialog, &steps] {
        if (driver::Activate(dialog))
            steps();
        else
            ADD_FAILURE() << "the dialog did not become the active window";
        if (dialog.m_hWnd != nullptr && dialog.GetModalResult() == -1)
            dialog.EndDialog(kEndedByTest);
    });
    return dialog.DoModal();
}

std::vector<UINT> CodesOf(const ContractDialog& dialog, int id)
{
    std::vector<UINT> codes;
    for (const Notification& n : dialog.notifications) {
        if (n.id == id)
            codes.push_back(n.code);
    }
    return codes;
}

} // namespace contract
