// MAC filter entry, the DHCP toggle and the key filter of the main dialog.
#include "ui/CConfigDlg.h"

#include "platform/toolkit/SingleByteText.h"
#include "ui/Resource.h"

namespace {

struct MacBox {
    int id;
    std::string CConfigDlg::*text;
    int nextFocus;      // on reaching two characters
    int previousFocus;  // on becoming empty; 0 for none
};

constexpr MacBox kMacBoxes[] = {
    {IDC_MAC1, &CConfigDlg::m_strMac1, IDC_MAC2, 0},
    {IDC_MAC2, &CConfigDlg::m_strMac2, IDC_MAC3, IDC_MAC1},
    {IDC_MAC3, &CConfigDlg::m_strMac3, IDC_MAC4, IDC_MAC2},
    {IDC_MAC4, &CConfigDlg::m_strMac4, IDC_MAC5, IDC_MAC3},
    {IDC_MAC5, &CConfigDlg::m_strMac5, IDC_MAC6, IDC_MAC4},
    {IDC_MAC6, &CConfigDlg::m_strMac6, IDC_SEARCH, IDC_MAC5},
};

constexpr int kEnterCode = 13;
constexpr int kEscapeCode = 27;

}  // namespace

void CConfigDlg::OnUpdateMac1() { OnUpdateMac(1); }
void CConfigDlg::OnUpdateMac2() { OnUpdateMac(2); }
void CConfigDlg::OnUpdateMac3() { OnUpdateMac(3); }
void CConfigDlg::OnUpdateMac4() { OnUpdateMac(4); }
void CConfigDlg::OnUpdateMac5() { OnUpdateMac(5); }
void CConfigDlg::OnUpdateMac6() { OnUpdateMac(6); }

void CConfigDlg::OnUpdateMac(int box)
{
    const MacBox& mac = kMacBoxes[box - 1];

    // The MAC strings come before every binding that can fail, so this one is current
    // whatever the result.
    UpdateData(TRUE);

    // Counted in characters, as the box's limit counts them, not in UTF-8 bytes.
    const std::size_t length = SingleByteText(this->*mac.text).size();
    bool refresh = box != 1;
    if (length == 2) {
        if (CWnd* next = GetDlgItem(mac.nextFocus))
            next->SetFocus();
        refresh = true;
    } else if (length == 0 && mac.previousFocus != 0) {
        if (CWnd* previous = GetDlgItem(mac.previousFocus))
            previous->SetFocus();
    }

    if (refresh)
        UpdateData(FALSE);
}

void CConfigDlg::OnMacClear()
{
    m_strMac1.clear();
    m_strMac2.clear();
    m_strMac3.clear();
    m_strMac4.clear();
    m_strMac5.clear();
    m_strMac6.clear();
    UpdateData(FALSE);
}

void CConfigDlg::ApplyAddressLock(bool dhcpOn)
{
    for (int id : {IDC_IP_LABEL, IDC_IP, IDC_MASK_LABEL, IDC_MASK, IDC_GATEWAY_LABEL, IDC_GATEWAY}) {
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(dhcpOn ? FALSE : TRUE);
    }
}

void CConfigDlg::OnUseDhcp()
{
    UpdateData(TRUE);
    if (m_ctlUseDhcp.GetCheck()) {
        m_nUseDhcp = 1;
        ApplyAddressLock(true);
    } else {
        m_nUseDhcp = 0;
        ApplyAddressLock(false);
    }
    UpdateData(FALSE);
}

BOOL CConfigDlg::PreTranslateMessage(MSG* pMsg)
{
    // Only the first parameter is looked at, whatever the message kind: Enter and Esc never
    // press a button or cancel the dialog here, and neither does a mouse message whose
    // key-state flags happen to add up to the same codes.
    if (pMsg->wParam == kEnterCode || pMsg->wParam == kEscapeCode)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}
