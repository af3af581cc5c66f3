// Save: new addresses for the selected device, and the device's confirmation.
#include "ui/CConfigDlg.h"

#include "ui/CUdpAsySk.h"
#include "link/DeviceRecord.h"
#include "platform/GetTickCount.h"
#include "platform/toolkit/MessageBox.h"

namespace {

// The device-list entry of the saved device, found by its MAC text: the selected entry when
// it is one, otherwise the last one (where an earlier reply put it); LB_ERR when none is.
int SavedDeviceEntry(const CListBox& devices, const std::string& macText)
{
    std::string text;
    const int selected = devices.GetCurSel();
    if (selected != LB_ERR && devices.GetText(selected, text) != LB_ERR && text == macText)
        return selected;
    for (int i = devices.GetCount() - 1; i >= 0; --i) {
        if (devices.GetText(i, text) != LB_ERR && text == macText)
            return i;
    }
    return LB_ERR;
}

}  // namespace

void CConfigDlg::OnSave()
{
    if (!m_pUdpEndpoint) {
        AfxMessageBox("Please create socket first.");
        return;
    }
    const DWORD seed = GetTickCount();

    // The program's own selection sends no selection-change notification.
    if (m_ctlDeviceList.GetCount() == 1)
        m_ctlDeviceList.SetCurSel(0);
    const int selected = m_ctlDeviceList.GetCurSel();
    if (selected == LB_ERR)
        return;

    std::string record;
    m_ctlRecordList.GetText(selected, record);
    std::string macText;
    m_ctlDeviceList.GetText(selected, macText);

    DWORD ip = 0;
    DWORD mask = 0;
    DWORD gateway = 0;
    m_ctlIp.GetAddress(ip);
    m_ctlMask.GetAddress(mask);
    m_ctlGateway.GetAddress(gateway);

    // A port that failed validation can stand in the dialog.
    const UINT port = PortToSave(m_nPort, PortFieldOf(record).value_or(0));

    m_strEditedRecord = PatchRecordAddresses(record, ip, mask, gateway).value_or(record);
    m_strOutgoing = BuildSaveRequest(macText, ip, mask, gateway, port, m_nUseDhcp, seed);

    m_pUdpEndpoint->m_nSentCount = 0;
    m_pUdpEndpoint->m_strSendText = m_strOutgoing;
    m_pUdpEndpoint->m_nSendLength = static_cast<int>(kDatagramSize);
    m_pUdpEndpoint->m_nSendMode = 1;
    m_pUdpEndpoint->SendPending();
    m_strOutgoing.clear();

    UpdateData(FALSE);
}

void CConfigDlg::OnSaveReply()
{
    // No Save since start: there is no record to put in the device's place.
    if (m_strEditedRecord.empty())
        return;

    // Replies that come while "Save Complete!" is open wait for it to close, so a flood
    // cannot nest one modal loop inside another without end.
    if (m_bSaveCompleteOpen) {
        if (m_nWaitingSaveReplies < kMaxWaitingSaveReplies)
            ++m_nWaitingSaveReplies;
        return;
    }

    m_bSaveCompleteOpen = true;
    for (bool another = true; another;) {
        AfxMessageBox("Save Complete!");
        ReplaceSavedDevice();
        another = m_nWaitingSaveReplies > 0;
        if (another)
            --m_nWaitingSaveReplies;
    }
    m_bSaveCompleteOpen = false;
}

void CConfigDlg::ReplaceSavedDevice()
{
    // A reply names no device: removing whatever is selected now would drop another device
    // from the lists and list the saved one twice.
    const int saved = SavedDeviceEntry(m_ctlDeviceList, MacTextOf(m_strEditedRecord).value_or(""));
    if (saved != LB_ERR) {
        m_ctlRecordList.DeleteString(static_cast<UINT>(saved));
        m_ctlDeviceList.DeleteString(static_cast<UINT>(saved));
    }

    m_ctlRecordList.AddString(m_strEditedRecord.c_str());
    m_strCurrentRecord = m_strEditedRecord;
    ShowDeviceRecord(true);
    UpdateData(FALSE);

    m_ctlDeviceList.SetCurSel(m_ctlDeviceList.GetCount() - 1);
    OnSelchangeDeviceList();
}
