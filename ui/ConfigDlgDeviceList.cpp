// The device list and its hidden record list, and the display of one device record.
#include "ui/CConfigDlg.h"

#include "link/Datagram.h"

void CConfigDlg::OnSearchReply(const std::string& text)
{
    // Too short to hold the fields that are shown; listing it would show another device's values.
    if (text.size() < kMinRecordLength)
        return;

    m_strCurrentRecord = text;
    m_ctlRecordList.AddString(text.c_str());
    ShowDeviceRecord(true);
    UpdateData(FALSE);
}

void CConfigDlg::ShowDeviceRecord(bool addToList)
{
    if (!addToList) {
        const int selected = m_ctlDeviceList.GetCurSel();
        if (selected == LB_ERR)
            return;
        m_ctlRecordList.GetText(selected, m_strCurrentRecord);
    }

    const std::string_view record = m_strCurrentRecord;
    if (record.size() < kMinRecordLength)
        return;

    if (addToList)
        m_ctlDeviceList.AddString(MacTextOf(record).value_or("").c_str());

    m_ctlIp.SetAddress(AddressFieldOf(record, kIpOffset).value_or(0));
    m_ctlMask.SetAddress(AddressFieldOf(record, kMaskOffset).value_or(0));
    m_ctlGateway.SetAddress(AddressFieldOf(record, kGatewayOffset).value_or(0));

    m_nPort = PortFieldOf(record).value_or(0);

    if (DhcpFlagOf(record).value_or(false)) {
        m_nUseDhcp = 1;
        m_ctlUseDhcp.SetCheck(1);
        ApplyAddressLock(true);
    } else {
        m_nUseDhcp = 0;
        m_ctlUseDhcp.SetCheck(0);
        ApplyAddressLock(false);
    }

    if (const auto version = VersionOf(record))
        m_strVersion = *version;

    UpdateData(FALSE);
}

void CConfigDlg::OnSelchangeDeviceList()
{
    UpdateData(TRUE);
    ShowDeviceRecord(false);
    UpdateData(FALSE);
}
